// The road of one request, from installing to playing, through the real programs and their real
// windows, driven from outside as a person would use them, in a fresh Wine prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "payload_sources.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/fixtures.h"
#include "support/http_server.h"
#include "support/window_driver.h"

using namespace testing_support;
using platform::Narrow;
using platform::Widen;

namespace {

const std::string kBuild = platform::ExeFolder() + "..\\";
const std::string kGames = "C:\\Games\\";
const std::string kEncyclopaediaFolder = kGames + "Tarnholm Encyclopaedia\\";
const std::string kManagerFolder = kGames + "Tarnholm Manager\\";
const std::string kGameFolder = "C:\\Tarnholm Game";
const std::string kGameSettings = "; Tarnholm\r\n[Main]\r\nLanguage=ENG\r\nResolution=1024x768\r\n";
// The uninstall entries' command lines: quoted, since the folders' names hold blanks.
const std::string kEncyclopaediaEntryValue = "\"" + kEncyclopaediaFolder + "uninstall.exe\"";
const std::string kManagerEntryValue = "\"" + kManagerFolder + "uninstall.exe\"";

// A path of the build machine as Wine shows it: its root is drive Z.
std::string WinePath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string CarriedSource(const std::string& resource) {
  for (const auto& [name, source] : kPayloadSources)
    if (resource == name) return WinePath(source);
  return {};
}

// The value as Wine's own reg.exe reports it; empty when reg finds none.
std::string RegValue(const std::string& key, const std::string& name) {
  std::string out = ProgramOutput("reg query \"HKLM\\" + key + "\" /v " + name);
  std::string marker = name + "    REG_SZ    ";
  size_t at = out.find(marker);
  if (at == std::string::npos) return {};
  size_t end = out.find_first_of("\r\n", at);
  return out.substr(at + marker.size(), end - at - marker.size());
}

std::string DesktopFolder() {
  wchar_t value[MAX_PATH] = L"";
  DWORD size = sizeof value;
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               L"Desktop", RRF_RT_REG_SZ, nullptr, value, &size);
  return Narrow(value);
}

// The one answer a box needs, once it shows the text.
void Answer(const std::string& text, int button, DWORD pid) {
  ASSERT_TRUE(AnswerBox(text, button, pid)) << "no box answered that says: " << text;
}

void CloseWithYes(HWND window, const std::string& question, DWORD pid) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  Answer(question, IDYES, pid);
}

HWND Control(HWND window, const std::string& text) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindControl(window, text)) != nullptr; });
  return found;
}

bool Ticked(HWND checkBox) { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Install() {
  CreateDirectoryA(kGames.c_str(), nullptr);
  Process installer(kBuild + "bin\\THInstaller.exe");
  DWORD pid = installer.Id();
  HWND wizard = WaitForWindow("Tarnholm Encyclopaedia - Installer v1.0", pid);
  ASSERT_NE(wizard, nullptr);
  for (const char* product : {"Tarnholm Encyclopaedia 3.0", "Tarnholm Manager 1.0"}) {
    HWND box = Control(wizard, product);
    ASSERT_NE(box, nullptr) << product;
    if (!Ticked(box)) ClickButton(box);
    ASSERT_TRUE(WaitFor([&] { return Ticked(box); })) << product;
  }
  HWND next = Control(wizard, "Next >");
  ClickButton(next);
  ClickButton(Control(wizard, "I accept the term of the licence agreement."));
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(next); }));
  ClickButton(next);
  ASSERT_TRUE(WaitFor([&] { return WindowText(next) == "Install"; }));
  HWND folder = FindControlOfClass(wizard, "Edit");
  ASSERT_NE(folder, nullptr);
  // Typed as a player types it: the proposed text selected, then keystrokes, one slip mended.
  SendMessageW(folder, EM_SETSEL, 0, -1);
  TypeText(folder, "C:\\Gamws\b\bes");
  ASSERT_TRUE(WaitFor([&] { return WindowText(folder) == "C:\\Games"; })) << WindowText(folder);
  ClickButton(next);

  // The readme opens in Notepad on the way.
  HWND notepad = WaitForWindowOfClass("Notepad");
  EXPECT_NE(notepad, nullptr) << "the readme did not open";
  EXPECT_TRUE(WaitFor([&] { return WindowText(notepad).rfind("readme.txt", 0) == 0; }))
      << WindowText(notepad);
  EndProgramsWithWindowsOfClass("Notepad");
  Answer("Done!", IDOK, pid);
  Answer("Create desktop shortcut?", IDYES, pid);
  HWND finish = Control(wizard, "Finish");
  ASSERT_NE(finish, nullptr);
  ClickButton(finish);
  Answer("Are you sure you want to quit the installation?", IDYES, pid);
  EXPECT_TRUE(installer.WaitForExit());
}

// The game as its own installer leaves it: the game (the stub that records its starts), one of its
// tools (the same stub), its settings file and a folder of mods in its folder, and the game's key
// naming that folder.
void InstallGame() {
  const std::string stub = kBuild + "tests\\stub\\Tarn.exe";
  CreateDirectoryA(kGameFolder.c_str(), nullptr);
  CreateDirectoryA((kGameFolder + "\\Mods").c_str(), nullptr);
  for (const char* program : {"\\Tarn.exe", "\\th_editor.exe"})
    ASSERT_TRUE(CopyFileW(Widen(stub).c_str(), Widen(kGameFolder + program).c_str(), FALSE)) << program;
  WriteFileBytes(kGameFolder + "\\tarn.ini", kGameSettings);
  WriteFileBytes(kGameFolder + "\\Mods\\Kampania.thp", "mod");
  std::wstring gameFolder = Widen(kGameFolder);
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Korvel\\Tarnholm", L"PATH", REG_SZ, gameFolder.c_str(),
                  static_cast<DWORD>((gameFolder.size() + 1) * sizeof(wchar_t)));
}

// The manager, started as a player starts it: from its desktop shortcut. Its process is known from
// its first window; should a step fail and leave it running, the road ends it.
class Manager {
 public:
  Manager() {
    Process start("start.exe", "\"" + platform::WithTrailingBackslash(DesktopFolder()) + "THManager.lnk\"");
    start.WaitForExit();
  }
  ~Manager() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
  }
  Manager(const Manager&) = delete;

  void Attach(HWND window) {
    if (process_) return;
    GetWindowThreadProcessId(window, &pid_);
    process_ = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid_);
  }
  DWORD Id() const { return pid_; }
  HWND MainWindow() {
    HWND main = WaitForWindow("Tarnholm Manager", pid_);
    if (main) Attach(main);
    return main;
  }
  // Closes the main window and answers the close question with Yes.
  void Quit(const std::string& question) {
    HWND main = WaitForWindow("Tarnholm Manager", pid_);
    ASSERT_NE(main, nullptr);
    CloseWithYes(main, question, pid_);
    EXPECT_EQ(WaitForSingleObject(process_, 30000), WAIT_OBJECT_0) << "the manager did not end";
  }

 private:
  DWORD pid_ = 0;
  HANDLE process_ = nullptr;
};

// The menus of the manager's bar, in their order.
enum MainMenuIndex { kFileMenu, kToolsMenu, kOptionsMenu, kLanguageMenu, kAboutMenu, kLinksMenu };

// Opens the game-start dialog with the main window's button; its caption is the button's.
HWND OpenGameStart(HWND main, const std::string& button, DWORD pid) {
  ClickButton(Control(main, button));
  return WaitForWindow(button, pid);
}

// What the stub game or tool recorded at its start, once it is there: its own path and its command
// line. The records are cleared for the next start.
struct StubStart {
  std::string path, commandLine;
};
StubStart RecordedStart() {
  const std::string pathRecord = kGameFolder + "\\started.txt", lineRecord = kGameFolder + "\\commandline.txt";
  StubStart start;
  // The stub writes its path first.
  WaitFor([&] { return !(start.commandLine = ReadFileBytes(lineRecord)).empty(); });
  start.path = ReadFileBytes(pathRecord);
  for (const std::string& record : {pathRecord, lineRecord}) DeleteFileW(Widen(record).c_str());
  return start;
}

std::string GameCommandLine(const std::string& tail) { return "\"" + kGameFolder + "\\Tarn.exe\" " + tail + "\n"; }

bool Lists(HWND list, const std::string& name) {
  std::vector<std::string> texts = ListViewTexts(list);
  return std::find(texts.begin(), texts.end(), name) != texts.end();
}

// The visible child controls of a window class in their order ("Edit": the fields of a dialog).
std::vector<HWND> ControlsOfClass(HWND parent, const std::string& className) {
  std::vector<HWND> found;
  std::wstring cls = Widen(className);
  for (HWND child = FindWindowExW(parent, nullptr, cls.c_str(), nullptr); child;
       child = FindWindowExW(parent, child, cls.c_str(), nullptr))
    if (IsWindowVisible(child)) found.push_back(child);
  return found;
}

std::string ProfileString(const std::string& file, const std::string& section, const std::string& key) {
  wchar_t value[256] = L"";
  GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", value, 256, Widen(file).c_str());
  return Narrow(value);
}

TEST(Road, FromInstallingToPlaying) {
  // 1. The installer: both products into C:\Games, shortcuts, finish.
  Install();
  if (HasFatalFailure()) return;

  // 2. From outside: the files, the records, the list of installed programs, the shortcuts.
  const struct {
    std::string file;
    const char* resource;
  } files[] = {
      {kEncyclopaediaFolder + "THENC.exe", "THENC"},
      {kEncyclopaediaFolder + "THENCUpdater.exe", "THENCUPDATER"},
      {kEncyclopaediaFolder + "readme.txt", "README"},
      {kEncyclopaediaFolder + "uninstall.exe", "THENCUNINSTALL"},
      {kManagerFolder + "THManager.exe", "THMANAGER"},
      {kManagerFolder + "Parley.exe", "PARLEY"},
      {kManagerFolder + "uninstall.exe", "THMUNINSTALL"},
  };
  for (const auto& f : files) {
    std::string made = ReadFileBytes(CarriedSource(f.resource));
    ASSERT_FALSE(made.empty()) << f.resource;
    EXPECT_TRUE(ReadFileBytes(f.file) == made) << f.file << " is not what the build made";
  }
  const std::string kelvora = "Software\\Kelvora\\", uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  EXPECT_EQ(RegValue(kelvora + "Tarnholm Encyclopaedia", "Path"), kEncyclopaediaFolder);
  EXPECT_EQ(RegValue(kelvora + "Tarnholm Encyclopaedia", "Ver"), "3.0");
  EXPECT_EQ(RegValue(kelvora + "ZO Ruruzuz", "Path"), kManagerFolder);
  EXPECT_EQ(RegValue(kelvora + "ZO Ruruzuz", "Ver"), "1.0");
  EXPECT_EQ(RegValue(uninstall + "Tarnholm Encyclopaedia", "DisplayName"), "Tarnholm Encyclopaedia");
  EXPECT_EQ(RegValue(uninstall + "Tarnholm Encyclopaedia", "UninstallString"), kEncyclopaediaEntryValue);
  EXPECT_EQ(RegValue(uninstall + "Tarnholm Manager", "DisplayName"), "Tarnholm Manager");
  EXPECT_EQ(RegValue(uninstall + "Tarnholm Manager", "UninstallString"), kManagerEntryValue);
  std::string installed = ProgramOutput("uninstaller --list");
  EXPECT_NE(installed.find("Tarnholm Encyclopaedia"), std::string::npos) << installed;
  EXPECT_NE(installed.find("Tarnholm Manager"), std::string::npos) << installed;
  std::string desktop = platform::WithTrailingBackslash(DesktopFolder());
  for (const char* link : {"THENC.lnk", "THENCUpdater.lnk", "THManager.lnk"})
    EXPECT_TRUE(platform::FileExists(desktop + link)) << link;

  // 3. The game, as its own installer leaves it; the manager from its desktop shortcut starts it
  // in a window, and the player switches the manager to Polish.
  InstallGame();
  if (HasFatalFailure()) return;
  {
    Manager manager;
    HWND main = manager.MainWindow();
    ASSERT_NE(main, nullptr) << "THManager.lnk did not bring up the manager";
    HWND gameStart = OpenGameStart(main, "Start Tarnholm Game", manager.Id());
    ASSERT_NE(gameStart, nullptr);
    ClickButton(Control(gameStart, "Load Into a Window"));
    EXPECT_EQ(RecordedStart().commandLine, GameCommandLine("Window"));

    ChooseFromMenu(main, kLanguageMenu, 1);  // Polski
    ASSERT_NE(Control(main, "Uruchom Grę Tarnholm"), nullptr) << "the main window is not in Polish";
    EXPECT_NE(FindControl(main, "Edytor Map"), nullptr);
    EXPECT_EQ(FindControl(main, "Start Tarnholm Game"), nullptr);
    EXPECT_NE(FindControl(gameStart, "Włącz w Oknie"), nullptr) << "the open game-start dialog stayed English";
    EXPECT_EQ(ProfileString(kManagerFolder + "thmanager.ini", "Main", "Language"), "Polski");
    manager.Quit("Na pewno zakończyć program?");
  }

  // 4. Started again, the manager speaks Polish at once. The player looks into the game's mods and
  // back, makes a folder, sets the game's language to German, starts a tool, and starts the game
  // without the logo videos and at a resolution of its own.
  {
    Manager manager;
    HWND main = manager.MainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_NE(Control(main, "Uruchom Grę Tarnholm"), nullptr) << "the saved language was not applied";
    DWORD pid = manager.Id();

    HWND list = FindControlOfClass(main, "SysListView32");
    ASSERT_NE(list, nullptr);
    auto showsGameFolder = [&] { return Lists(list, "Mods") && Lists(list, "tarn.ini"); };
    ASSERT_TRUE(WaitFor(showsGameFolder)) << "the game folder is not listed";
    ASSERT_TRUE(DoubleClickListItem(list, "Mods")) << "Mods is not listed";
    EXPECT_TRUE(WaitFor([&] { return ListViewTexts(list) == std::vector<std::string>{"Kampania.thp"}; }))
        << "the list did not open Mods";
    EXPECT_NE(Control(main, kGameFolder + "\\Mods"), nullptr) << "the browsed folder's label";
    HWND filter = FindControlOfClass(main, "ComboBox");
    ASSERT_NE(filter, nullptr);
    ClickButton(FindControlOfClass(GetParent(filter), "Button"));  // Back, beside the filter
    EXPECT_TRUE(WaitFor(showsGameFolder)) << "Back did not go back";

    ChooseFromMenu(main, kFileMenu, 0);  // Nowy Folder
    HWND newFolder = WaitForWindow("Folder", pid);
    ASSERT_NE(newFolder, nullptr);
    TypeText(FindControlOfClass(newFolder, "Edit"), "Mapy własne");
    ClickButton(FindControlOfClass(newFolder, "Button"));
    Answer("Zrobione!", IDOK, pid);
    EXPECT_TRUE(platform::DirectoryExists(kGameFolder + "\\Mapy własne"));
    EXPECT_TRUE(WaitFor([&] { return Lists(list, "Mapy własne"); })) << "the new folder is not listed";
    PostMessageW(newFolder, WM_CLOSE, 0, 0);

    ChooseFromMenu(main, kOptionsMenu, 0);  // Język Gry
    HWND gameLanguage = WaitForWindow("Język Gry", pid);
    ASSERT_NE(gameLanguage, nullptr);
    EXPECT_NE(Control(gameLanguage, "ENG"), nullptr) << "the dialog does not show what tarn.ini holds";
    HWND rows = FindControlOfClass(gameLanguage, "ListBox");
    ASSERT_NE(rows, nullptr);
    RECT german{};
    SendMessageW(rows, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&german));
    ClickMouse(rows, german.left + 5, (german.top + german.bottom) / 2);  // the box of "German (Deutsch)"
    // The click also selects the row: once it is selected, the tick is made.
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(rows, LB_GETCURSEL, 0, 0) == 2; }));
    ClickButton(FindControlOfClass(gameLanguage, "Button"));
    EXPECT_NE(Control(gameLanguage, "GER"), nullptr);
    EXPECT_EQ(ReadFileBytes(kGameFolder + "\\tarn.ini"),
              "; Tarnholm\r\n[Main]\r\nLanguage=GER\r\nResolution=1024x768\r\n");
    PostMessageW(gameLanguage, WM_CLOSE, 0, 0);

    ClickButton(Control(main, "Edytor Map"));
    EXPECT_EQ(RecordedStart().path, kGameFolder + "\\th_editor.exe\n");

    HWND gameStart = OpenGameStart(main, "Uruchom Grę Tarnholm", pid);
    ASSERT_NE(gameStart, nullptr);
    ClickButton(Control(gameStart, "Pomiń Filmiki Przy Logowaniu"));
    EXPECT_EQ(RecordedStart().commandLine, GameCommandLine("Skip"));
    ClickButton(Control(gameStart, "Niestandardowa Rozdzielczość"));
    HWND resolution = WaitForWindow("Rozdzielczość", pid);
    ASSERT_NE(resolution, nullptr);
    std::vector<HWND> size = ControlsOfClass(resolution, "Edit");
    ASSERT_EQ(size.size(), 2u);
    TypeText(size[0], "1280");
    TypeText(size[1], "72o0");  // a slip of the finger: the letter is refused
    EXPECT_TRUE(WaitFor([&] { return WindowText(size[1]) == "720"; })) << WindowText(size[1]);
    ClickButton(FindControlOfClass(resolution, "Button"));
    EXPECT_EQ(RecordedStart().commandLine, GameCommandLine("CustomRes 1280 720"));
    manager.Quit("Na pewno zakończyć program?");
  }

  // 5. The game's key is gone (the game's own uninstaller takes it). The manager says in English that
  // the game is missing and opens the prompt for its folder, then says it again in Polish, the
  // saved language; the player types the folder into the prompt and the game starts from there.
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Korvel");
  {
    Manager manager;
    HWND english = WaitForBox("You do not have Tarnholm game on your PC.");
    ASSERT_NE(english, nullptr) << "no English box on a missing game";
    manager.Attach(english);
    DWORD pid = manager.Id();
    ClickButton(GetDlgItem(english, IDOK));
    ASSERT_TRUE(WaitUntilGone(english));
    HWND polish = WaitForBox("Na twoim PC nie ma gry Tarnholm.", pid);
    ASSERT_NE(polish, nullptr) << "no Polish box after the English one";
    HWND prompt = WaitForWindow("Enter the path", pid);
    EXPECT_NE(prompt, nullptr) << "the prompt, in English, opens between the two boxes";
    ClickButton(GetDlgItem(polish, IDOK));
    ASSERT_TRUE(WaitUntilGone(polish));
    HWND main = manager.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_NE(Control(main, "Uruchom Grę Tarnholm"), nullptr);
    ASSERT_NE(prompt, nullptr);
    EXPECT_NE(FindControl(prompt, "Enter the path to the game:"), nullptr) << "the prompt keeps its English";
    TypeText(FindControlOfClass(prompt, "Edit"), kGameFolder);
    ClickButton(FindControlOfClass(prompt, "Button"));
    EXPECT_TRUE(WaitUntilGone(prompt));
    HWND gameStart = OpenGameStart(main, "Uruchom Grę Tarnholm", pid);
    ASSERT_NE(gameStart, nullptr);
    ClickButton(Control(gameStart, "Włącz w Oknie"));
    EXPECT_EQ(RecordedStart().commandLine, GameCommandLine("Window"));
    manager.Quit("Na pewno zakończyć program?");
  }

  // 6. The installed updater finds version 3.1 on the suite's server and downloads the package.
  {
    HttpServer server;
    HttpReply version;
    version.body = "[update]\r\nversion=3.1\r\nurl=http://updates.tarnholm.example/thenc.zip\r\n";
    server.Serve("/thencversion.ini", version);
    HttpReply package;
    for (int i = 0; i < 200000; ++i) package.body += static_cast<char>(i * 7919 % 251);
    server.Serve("/thenc.zip", package);
    // The server address is the build's; this machine reaches it through a proxy.
    SetEnvironmentVariableW(L"http_proxy", Widen("http://" + server.Host()).c_str());
    Process updater(kEncyclopaediaFolder + "THENCUpdater.exe");
    SetEnvironmentVariableW(L"http_proxy", nullptr);
    DWORD pid = updater.Id();
    HWND window = WaitForWindow("Program Update", pid);
    ASSERT_NE(window, nullptr);
    ClickButton(Control(window, "Find New Version"));
    Answer("Czy chcesz pobrać nową wersję programu?", IDYES, pid);
    HWND save = WaitForFileDialog(pid);
    ASSERT_NE(save, nullptr);
    HWND name = FindControlOfClass(save, "Edit");
    ASSERT_NE(name, nullptr);
    std::string target = kGames + "thenc.zip";
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(target).c_str()));
    ClickButton(GetDlgItem(save, IDOK));
    HWND log = FindControlOfClass(window, "Edit");
    const std::string lastLine = "The program finished downloading the file";
    EXPECT_TRUE(WaitFor([&] {
      std::string text = WindowText(log);
      return text.size() >= lastLine.size() && text.substr(text.size() - lastLine.size()) == lastLine;
    })) << WindowText(log);
    EXPECT_TRUE(ReadFileBytes(target) == package.body) << "the package did not arrive whole";
    CloseWithYes(window, "Are you sure you want to quit the program?", pid);
    EXPECT_TRUE(updater.WaitForExit());
  }

  // 7. The manager's uninstaller, started the way Windows starts it: through its entry.
  {
    Process remove("uninstaller.exe", "--remove \"Tarnholm Manager\"");
    HWND wizard = WaitForWindow("Tarnholm Manager - Deinstaller v1.0");
    ASSERT_NE(wizard, nullptr) << "the uninstall entry did not start the uninstaller";
    DWORD pid = 0;
    GetWindowThreadProcessId(wizard, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    HWND next = Control(wizard, "Next >");
    ClickButton(next);
    ASSERT_TRUE(WaitFor([&] { return WindowText(next) == "Uninstall"; }));
    ClickButton(next);
    Answer("The uninstallation has finished. You may close this program.", IDOK, pid);
    ClickButton(Control(wizard, "Finish"));
    Answer("Are you sure you want to quit the deinstallation?", IDYES, pid);
    EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
    CloseHandle(process);
    EXPECT_TRUE(WaitFor([&] { return !platform::FileExists(kManagerFolder + "uninstall.exe"); }, 60000))
        << "the uninstaller did not delete itself";
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(Widen(kManagerFolder + "*").c_str(), &entry);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "the folder itself stays";
    do EXPECT_TRUE(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) << Narrow(entry.cFileName) << " stayed";
    while (FindNextFileW(search, &entry));
    FindClose(search);
    EXPECT_EQ(RegValue(kelvora + "ZO Ruruzuz", "Path"), "");
    EXPECT_EQ(RegValue(uninstall + "Tarnholm Manager", "UninstallString"), "");
    EXPECT_EQ(RegValue(kelvora + "Tarnholm Encyclopaedia", "Path"), kEncyclopaediaFolder);
    EXPECT_EQ(RegValue(uninstall + "Tarnholm Encyclopaedia", "UninstallString"), kEncyclopaediaEntryValue);
  }
}

}  // namespace
