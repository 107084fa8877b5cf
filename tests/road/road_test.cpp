// The road of one request, from installing to playing, through the real programs and their real
// windows, driven from outside as a person would use them, in a fresh Wine prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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
  ASSERT_EQ(WindowText(folder), "C:\\Games");
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
  // in a window.
  CreateDirectoryA(kGameFolder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(Widen(kBuild + "tests\\stub\\Tarn.exe").c_str(), Widen(kGameFolder + "\\Tarn.exe").c_str(), FALSE));
  std::wstring gameFolder = Widen(kGameFolder);
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Korvel\\Tarnholm", L"PATH", REG_SZ, gameFolder.c_str(),
                  static_cast<DWORD>((gameFolder.size() + 1) * sizeof(wchar_t)));
  {
    Process start("start.exe", "\"" + desktop + "THManager.lnk\"");
    HWND manager = WaitForWindow("Tarnholm Manager");
    ASSERT_NE(manager, nullptr) << "THManager.lnk did not bring up the manager";
    DWORD pid = 0;
    GetWindowThreadProcessId(manager, &pid);
    ClickButton(Control(manager, "Start Tarnholm Game"));
    HWND dialog = WaitForWindow("Start Tarnholm Game", pid);
    ASSERT_NE(dialog, nullptr);
    ClickButton(Control(dialog, "Load Into a Window"));
    std::string record = kGameFolder + "\\commandline.txt";
    EXPECT_TRUE(WaitFor([&] { return !ReadFileBytes(record).empty(); }));
    EXPECT_EQ(ReadFileBytes(record), "\"" + kGameFolder + "\\Tarn.exe\" Window\n");
    CloseWithYes(manager, "Are you sure you want to quit the program?", pid);
    EXPECT_TRUE(WaitUntilGone(manager));
  }

  // 4. The installed updater finds version 3.1 on the suite's server and downloads the package.
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

  // 5. The manager's uninstaller, started the way Windows starts it: through its entry.
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
