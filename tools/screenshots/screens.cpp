// Photographs the windows of the shipped programs for the documentation, in both languages: the
// built executables themselves, started and worked from outside as a player works them (the tests'
// window driver), and the screen read on the display's side.
// Arguments: the folder for the pictures, the folder of the built programs.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "support/screen.h"
#include "support/window_driver.h"

using namespace testing_support;

namespace {

std::string g_out;
std::string g_bin;

const char* const kLanguages[] = {"en", "pl"};
bool Polish(const std::string& language) { return language == "pl"; }

// Photographs a part of the screen once what is shown there has stopped changing.
void Shoot(const RECT& r, const std::string& name) {
  ScreenPixels::Settled(r);
  std::string file = g_out + name + ".png";
  if (PhotographScreen(r, file))
    std::printf("%s\n", file.c_str());
  else
    std::fprintf(stderr, "no picture of %s\n", name.c_str());
}

// Every window is photographed active, as the player sees the window being worked.
void ShootWindow(HWND window, const std::string& name) {
  if (GetForegroundWindow() != window) {
    SetForegroundWindow(window);
    WaitFor([&] { return GetForegroundWindow() == window; }, 10000);
  }
  RECT r;
  GetWindowRect(window, &r);
  Shoot(r, name);
}

bool HasCaption(HWND h) { return (GetWindowLongW(h, GWL_STYLE) & WS_CAPTION) == WS_CAPTION; }

// The program's window with a title bar that is not one of the known ones.
HWND NewWindow(DWORD pid, const std::vector<HWND>& known = {}) {
  return WaitForTopLevel(pid, 30000, [&](HWND h) {
    return HasCaption(h) && std::find(known.begin(), known.end(), h) == known.end();
  });
}

HWND Control(HWND window, const std::string& text) {
  HWND h = nullptr;
  WaitFor([&] { return (h = FindControl(window, text)) != nullptr; }, 10000);
  if (!h) std::fprintf(stderr, "no control \"%s\"\n", text.c_str());
  return h;
}

void Close(HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  WaitUntilGone(window);
}

// The mouse away from every button, so that none is shown hot.
void MouseAside(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  SetCursorPos(r.right + 40, r.bottom + 40);
}

// A menu dropped from the window's bar, photographed with the window, and closed again.
void ShootMenu(HWND window, DWORD pid, int menu, const std::string& name) {
  OpenMenu(window, menu, 0);
  WaitFor([&] { return OpenMenus(pid).size() == 1; });
  std::vector<HWND> menus = OpenMenus(pid);
  RECT both, dropped{};
  GetWindowRect(window, &both);
  if (!menus.empty()) GetWindowRect(menus.front(), &dropped);
  UnionRect(&both, &both, &dropped);
  Shoot(both, name);
  PressKey(window, VK_ESCAPE);
  PressKey(window, VK_ESCAPE);
  WaitFor([&] { return OpenMenus(pid).empty(); });
}

// Chooses an item of a language button's menu with the keyboard.
void ChooseLanguage(HWND window, DWORD pid, const std::string& button, int item) {
  ClickButton(Control(window, button));
  WaitFor([&] { return OpenMenus(pid).size() == 1; });
  for (int i = 0; i <= item; ++i) PressKey(window, VK_DOWN);
  PressKey(window, VK_RETURN);
  WaitFor([&] { return OpenMenus(pid).empty(); });
}

void WriteText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileW(platform::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

void SetPath(const char* key, const std::string& path) {
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, "PATH", REG_SZ, path.c_str(), static_cast<DWORD>(path.size() + 1));
}

// ---- The manager

const std::string kGame = "C:\\Tarnholm";
const std::string kManagerFolder = "C:\\Tarnholm Manager\\";
constexpr char kGameKey[] = "Software\\Korvel\\Tarnholm";
enum { kFileMenu, kToolsMenu, kOptionsMenu, kLanguageMenu, kAboutMenu, kLinksMenu };

// A game folder as the game's own installer leaves it, so that the manager shows one; the game
// runs in Polish, so the game-language dialog shows a tick.
void MakeGame() {
  CreateDirectoryA(kGame.c_str(), nullptr);
  for (const char* folder : {"Disk2", "Error_Logs", "Mods", "Textures", "UserProfiles", "Utils"})
    CreateDirectoryA((kGame + "\\" + folder).c_str(), nullptr);
  for (const char* file : {"Tarn.exe", "GM_Editor.exe", "ModLauncher.exe", "th_editor.exe", "Uninstall.exe"})
    WriteText(kGame + "\\" + file, "");
  WriteText(kGame + "\\tarn.ini", "[Main]\r\nLanguage=POL\r\n");
  SetPath(kGameKey, kGame);
}

// Opens a dialog by what the action does, photographs it, and leaves it open.
HWND ShootDialog(HWND main, DWORD pid, void (*open)(HWND), const std::string& name) {
  std::vector<HWND> known = {main};
  open(main);
  HWND dialog = NewWindow(pid, known);
  if (dialog) ShootWindow(dialog, name);
  return dialog;
}

void ShootManager() {
  MakeGame();
  CreateDirectoryA(kManagerFolder.c_str(), nullptr);
  std::string exe = kManagerFolder + "THManager.exe";
  CopyFileW(platform::Widen(g_bin + "THManager.exe").c_str(), platform::Widen(exe).c_str(), FALSE);
  DeleteFileA((kManagerFolder + "thmanager.ini").c_str());
  Process manager(exe);
  DWORD pid = manager.Id();
  HWND main = WaitForWindow("Tarnholm Manager", pid);
  if (!main) return;
  for (std::string language : kLanguages) {
    if (Polish(language)) {
      ChooseFromMenu(main, kLanguageMenu, 1);
      Control(main, "Uruchom Grę Tarnholm");
    }
    MouseAside(main);
    ShootWindow(main, "manager-main-" + language);
    ShootMenu(main, pid, kFileMenu, "manager-menu-file-" + language);
    ShootMenu(main, pid, kToolsMenu, "manager-menu-tools-" + language);
    ShootMenu(main, pid, kLinksMenu, "manager-menu-links-" + language);

    Close(ShootDialog(main, pid, [](HWND m) { ChooseFromMenu(m, kOptionsMenu, 0); }, "manager-game-language-" + language));
    HWND game = Polish(language)
                    ? ShootDialog(main, pid, [](HWND m) { ClickButton(Control(m, "Uruchom Grę Tarnholm")); }, "manager-game-start-pl")
                    : ShootDialog(main, pid, [](HWND m) { ClickButton(Control(m, "Start Tarnholm Game")); }, "manager-game-start-en");
    std::vector<HWND> known = {main, game};
    ClickButton(Control(game, Polish(language) ? "Połącz z IP" : "Connect to IP"));
    if (HWND join = NewWindow(pid, known)) {
      TypeText(FindControlOfClass(join, "Edit"), "192.168.0.10");
      ShootWindow(join, "manager-join-" + language);
      Close(join);
    }
    ClickButton(Control(game, Polish(language) ? "Niestandardowa Rozdzielczość" : "Custom Resolution"));
    if (HWND resolution = NewWindow(pid, known)) {
      std::vector<HWND> edits = ControlsOfClass(resolution, "Edit");
      if (edits.size() == 2) {
        TypeText(edits[0], "1024");
        TypeText(edits[1], "768");
      }
      ShootWindow(resolution, "manager-resolution-" + language);
      Close(resolution);
    }
    Close(game);

    Close(ShootDialog(main, pid, [](HWND m) { ChooseFromMenu(m, kAboutMenu, 0); }, "manager-about-author-" + language));
    Close(ShootDialog(main, pid, [](HWND m) { ChooseFromMenu(m, kAboutMenu, 1); }, "manager-about-program-" + language));

    ChooseFromMenu(main, kFileMenu, 2);  // Tree View On/Off
    WaitFor([&] { return FindControlOfClass(main, "SysTreeView32") != nullptr; });
    MouseAside(main);
    ShootWindow(main, "manager-browser-tree-" + language);
    ChooseFromMenu(main, kFileMenu, 2);
    WaitFor([&] { return FindControlOfClass(main, "SysTreeView32") == nullptr; });

    std::vector<HWND> before = {main};
    ChooseFromMenu(main, kFileMenu, 0);  // New Folder
    if (HWND folder = NewWindow(pid, before)) {
      TypeText(FindControlOfClass(folder, "Edit"), "Maps");
      ShootWindow(folder, "manager-new-folder-" + language);
      Close(folder);
    }
  }
}

// The game-folder prompt comes when the manager finds no game. It opens in English at the start;
// with Polish saved, a tool pressed afterwards opens it in Polish.
void ShootPrompt() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Korvel");
  const std::string exe = kManagerFolder + "THManager.exe";
  for (std::string language : kLanguages) {
    WriteText(kManagerFolder + "thmanager.ini",
              Polish(language) ? "[Main]\r\nLanguage=Polski\r\n" : "[Main]\r\nLanguage=English\r\n");
    Process manager(exe);
    DWORD pid = manager.Id();
    const std::string missingEnglish = "You do not have Tarnholm game on your PC.";
    AnswerBox(missingEnglish, IDOK, pid);
    HWND prompt = WaitForWindow("Enter the path", pid);
    const std::string missing = Polish(language) ? "Na twoim PC nie ma gry Tarnholm." : missingEnglish;
    AnswerBox(missing, IDOK, pid);  // the saved language applied
    if (Polish(language)) {
      Close(prompt);
      HWND main = WaitForWindow("Tarnholm Manager", pid);
      ClickButton(Control(main, "Edytor Map"));
      AnswerBox(missing, IDOK, pid);
      prompt = WaitForWindow("Podaj ścieżkę", pid);
    }
    if (!prompt) continue;
    RaiseOnDisplay(prompt);
    ShootWindow(prompt, "manager-game-folder-" + language);
  }
  DeleteFileA((kManagerFolder + "thmanager.ini").c_str());
}

// ---- The installer, the updater and the uninstaller: their language menus hold Polski first
// (the updater's English first).

void ShootInstaller() {
  for (std::string language : kLanguages) {
    Process installer(g_bin + "THInstaller.exe");
    DWORD pid = installer.Id();
    HWND wizard = NewWindow(pid);
    if (!wizard) return;
    if (Polish(language)) ChooseLanguage(wizard, pid, "English", 0);
    const std::string next = Polish(language) ? "Dalej >" : "Next >";
    MouseAside(wizard);
    ShootWindow(wizard, "installer-1-products-" + language);
    ClickButton(Control(wizard, next));
    ClickButton(Control(wizard, Polish(language) ? "Akceptuję warunki umowy licencyjnej."
                                                 : "I accept the term of the licence agreement."));
    MouseAside(wizard);
    ShootWindow(wizard, "installer-2-licence-" + language);
    ClickButton(Control(wizard, next));
    Control(wizard, Polish(language) ? "Instaluj" : "Install");
    MouseAside(wizard);
    ShootWindow(wizard, "installer-3-folder-" + language);
    ClickButton(Control(wizard, Polish(language) ? "Nowy Folder" : "New Folder"));
    if (HWND folder = NewWindow(pid, {wizard})) ShootWindow(folder, "installer-new-folder-" + language);
  }
}

void ShootUpdater() {
  Process updater(g_bin + "THENCUpdater.exe");
  DWORD pid = updater.Id();
  HWND window = NewWindow(pid);
  if (!window) return;
  MouseAside(window);
  ShootWindow(window, "updater-en");
  ChooseLanguage(window, pid, "English", 1);
  MouseAside(window);
  ShootWindow(window, "updater-pl");
}

// Both pages of the manager's build, the welcome of the encyclopaedia's; the removal itself is
// never started.
void ShootUninstaller(const std::string& build, const char* key, const std::string& folder, const std::string& prefix,
                      bool bothPages) {
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, "Path", REG_SZ, folder.c_str(), static_cast<DWORD>(folder.size() + 1));
  for (std::string language : kLanguages) {
    Process uninstaller(g_bin + build + "\\uninstall.exe");
    DWORD pid = uninstaller.Id();
    HWND wizard = NewWindow(pid);
    if (!wizard) break;
    if (Polish(language)) ChooseLanguage(wizard, pid, "English", 0);
    MouseAside(wizard);
    ShootWindow(wizard, prefix + (bothPages ? "1-welcome-" : "") + language);
    if (!bothPages) continue;
    ClickButton(Control(wizard, Polish(language) ? "Dalej >" : "Next >"));
    Control(wizard, Polish(language) ? "Odinstaluj" : "Uninstall");
    MouseAside(wizard);
    ShootWindow(wizard, prefix + "2-removal-" + language);
  }
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: screens <pictures folder> <programs folder>\n");
    return 2;
  }
  g_out = platform::WithTrailingBackslash(platform::Narrow(argv[1]));
  g_bin = platform::WithTrailingBackslash(platform::Narrow(argv[2]));
  ShootInstaller();
  ShootManager();
  ShootPrompt();
  ShootUpdater();
  ShootUninstaller("manager", "Software\\Kelvora\\ZO Ruruzuz", "C:\\Games\\Tarnholm Manager\\", "uninstaller-", true);
  ShootUninstaller("encyclopaedia", "Software\\Kelvora\\Tarnholm Encyclopaedia", "C:\\Games\\Tarnholm Encyclopaedia\\",
                   "uninstaller-encyclopaedia-", false);
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Korvel");
  return 0;
}
