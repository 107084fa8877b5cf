// Installations under Wine: product folders, carried files, registry records, the readme, and the
// failures that end a press.
#include <windows.h>

#include <algorithm>

#include "installer/payload.h"
#include "installer_fixture.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "support/fixtures.h"
#include "support/window_driver.h"

namespace installer_tests {
namespace {

using testing_support::ReadFileBytes;
using testing_support::ScratchRegistry;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

const char kEncyclopaediaKey[] = "\\Software\\Kelvora\\Tarnholm Encyclopaedia";
const char kManagerKey[] = "\\Software\\Kelvora\\ZO Ruruzuz";
const char kEncyclopaediaEntry[] =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnholm Encyclopaedia";
const char kManagerEntry[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnholm Manager";

std::string Carried(const char* resourceName) {
  platform::ResourceStream stream(resourceName);
  return std::string(static_cast<const char*>(stream.Data()), stream.Size());
}

// A value as another program reads it, in a spelling of its own.
std::string ReadValue(const std::string& key, const std::string& name) {
  platform::Registry registry(HKEY_LOCAL_MACHINE, KEY_READ);
  if (!registry.OpenKey(key, false)) return "<no key>";
  if (!registry.ValueExists(name)) return "<no value>";
  return registry.ReadString(name);
}

bool KeyExists(const std::string& key) {
  platform::Registry registry(HKEY_LOCAL_MACHINE, KEY_READ);
  return registry.OpenKey(key, false);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The system's own tools read the machine's real keys, so an installation for them writes there;
// this takes its records away at the end, and the vendor key too when the installation made it.
class MachineRecords {
 public:
  static constexpr const char* kKeys[] = {kEncyclopaediaKey, kManagerKey, kEncyclopaediaEntry,
                                          kManagerEntry};
  static bool AnyPresent() {
    for (const char* key : kKeys)
      if (KeyExists(key)) return true;
    return false;
  }
  ~MachineRecords() {
    platform::Registry cleanup(HKEY_LOCAL_MACHINE);
    for (const char* key : kKeys) cleanup.DeleteKey(key);
    if (!hadVendor_) cleanup.DeleteKey("\\Software\\Kelvora");
  }

 private:
  bool hadVendor_ = KeyExists("\\Software\\Kelvora");
};

// Ends the program that shows the window.
void EndProgramOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
  }
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(platform::Widen(folder + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = fd.cFileName;
    if (name != L"." && name != L"..") names.push_back(platform::Narrow(name));
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

void ExpectCarriedFiles(const std::string& folder, std::span<const installer::PayloadRow> rows) {
  for (const auto& row : rows)
    EXPECT_TRUE(ReadFileBytes(folder + row.fileName) == Carried(row.resourceName))
        << row.fileName << " differs from " << row.resourceName;
}

using InstallationTest = InstallerTest;

TEST_F(InstallationTest, BothProductsGoSideBySideWithTheirRecords) {
  ScratchRegistry registry;
  TempDir temp;
  Tick(true, true);
  InstallInto(WithoutBackslash(temp.Path()));

  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"Done!", "Create desktop shortcut?"}));
  EXPECT_EQ(form->DirEdit.Text(), temp.Path()) << "the backslash stays";
  std::string encyclopaedia = temp / "Tarnholm Encyclopaedia\\";
  std::string manager = temp / "Tarnholm Manager\\";
  EXPECT_EQ(form->THENCPathLabel1.Caption(), encyclopaedia);
  EXPECT_EQ(form->THManagerPathLabel1.Caption(), manager);
  EXPECT_EQ(FolderEntries(temp.Path()),
            (std::vector<std::string>{"Tarnholm Encyclopaedia", "Tarnholm Manager"}));
  EXPECT_EQ(FolderEntries(encyclopaedia),
            (std::vector<std::string>{"THENC.exe", "THENCUpdater.exe", "readme.txt", "uninstall.exe"}));
  EXPECT_EQ(FolderEntries(manager),
            (std::vector<std::string>{"Parley.exe", "THManager.exe", "uninstall.exe"}));
  ExpectCarriedFiles(encyclopaedia, installer::kEncyclopaediaRows);
  ExpectCarriedFiles(manager, installer::kManagerRows);

  EXPECT_EQ(ReadValue(kEncyclopaediaKey, "PATH"), encyclopaedia);
  EXPECT_EQ(ReadValue(kEncyclopaediaKey, "Ver"), "3.0");
  EXPECT_EQ(ReadValue(kManagerKey, "PATH"), manager);
  EXPECT_EQ(ReadValue(kManagerKey, "Ver"), "1.0");
  EXPECT_EQ(ReadValue(kEncyclopaediaEntry, "DisplayName"), "Tarnholm Encyclopaedia");
  EXPECT_EQ(ReadValue(kEncyclopaediaEntry, "UninstallString"), Quoted(encyclopaedia + "uninstall.exe"));
  EXPECT_EQ(ReadValue(kManagerEntry, "DisplayName"), "Tarnholm Manager");
  EXPECT_EQ(ReadValue(kManagerEntry, "UninstallString"), Quoted(manager + "uninstall.exe"));
  EXPECT_EQ(ReadValue("\\Software\\Kelvora\\Tarnholm Manager", "Path"), "<no key>");

  EXPECT_FALSE(form->ChangeLabel.Visible());
  EXPECT_EQ(form->ProgressBar1.Position(), 100);
  EXPECT_EQ(form->CancelButton.Caption(), "Finish");
}

TEST_F(InstallationTest, TheManagerAloneWritesOnlyItsOwnAndKeepsOtherValues) {
  ScratchRegistry registry;
  registry.SetString("Software\\Kelvora\\ZO Ruruzuz", "Started", "1");
  registry.SetString("Software\\Kelvora\\ZO Ruruzuz", "Path", "D:\\Old\\Tarnholm Manager\\");
  registry.SetString("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnholm Manager",
                     "Publisher", "Kelvora");
  TempDir temp;
  Tick(false, true);
  form->ReadMeCheckBox.SetChecked(true);  // the readme belongs to the encyclopaedia
  InstallInto(temp.Path());

  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"Done!", "Create desktop shortcut?"}));
  EXPECT_EQ(form->THENCPathLabel1.Caption(), "");
  EXPECT_EQ(FolderEntries(temp.Path()), std::vector<std::string>{"Tarnholm Manager"});
  EXPECT_EQ(ReadValue(kManagerKey, "Path"), temp / "Tarnholm Manager\\");
  EXPECT_EQ(ReadValue(kManagerKey, "Started"), "1");
  EXPECT_EQ(ReadValue(kManagerEntry, "Publisher"), "Kelvora");
  EXPECT_EQ(ReadValue(kManagerEntry, "DisplayName"), "Tarnholm Manager");
  EXPECT_FALSE(KeyExists(kEncyclopaediaKey));
  EXPECT_FALSE(KeyExists(kEncyclopaediaEntry));
}

TEST_F(InstallationTest, TheSystemListsBothProductsAsInstalled) {
  if (MachineRecords::AnyPresent()) GTEST_SKIP() << "this machine has the products installed already";
  MachineRecords records;
  TempDir temp;
  Tick(true, true);
  InstallInto(temp.Path());
  std::string list = testing_support::ProgramOutput("uninstaller.exe --list");

  EXPECT_NE(list.find("|||Tarnholm Encyclopaedia"), std::string::npos) << list;
  EXPECT_NE(list.find("|||Tarnholm Manager"), std::string::npos) << list;
}

// A command line started as the system starts an uninstall entry's value; ended at the end if it
// still runs.
class StartedCommand {
 public:
  explicit StartedCommand(const std::string& commandLine) {
    std::wstring line = platform::Widen(commandLine);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_))
      info_ = {};
  }
  ~StartedCommand() {
    if (!info_.hProcess) return;
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 10000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  StartedCommand(const StartedCommand&) = delete;
  DWORD Id() const { return info_.dwProcessId; }
  bool WaitForExit() { return info_.hProcess && WaitForSingleObject(info_.hProcess, 30000) == WAIT_OBJECT_0; }

 private:
  PROCESS_INFORMATION info_{};
};

// Unquoted, a command line's program name may end at any blank: for the entry
// ...\Games\Tarnholm Manager\uninstall.exe the system tries ...\Games\Tarnholm.exe first. A stand-in
// planted there records its command line when it runs; the unquoted value shows that it would.
TEST_F(InstallationTest, TheUninstallEntryStartsOurUninstallerNeverAProgramPlantedAboveIt) {
  if (MachineRecords::AnyPresent()) GTEST_SKIP() << "this machine has the products installed already";
  MachineRecords records;
  TempDir temp;
  std::string games = temp / "Games\\";
  ASSERT_TRUE(CreateDirectoryW(platform::Widen(games).c_str(), nullptr));
  Tick(false, true);
  InstallInto(games);
  std::string uninstaller = games + "Tarnholm Manager\\uninstall.exe";
  ASSERT_EQ(ReadValue(kManagerEntry, "UninstallString"), Quoted(uninstaller));
  ASSERT_TRUE(CopyFileW(platform::Widen(platform::ExeFolder() + "stub\\Tarn.exe").c_str(),
                        platform::Widen(games + "Tarnholm.exe").c_str(), FALSE));
  const std::string record = games + "commandline.txt";

  for (bool quoted : {true, false}) {
    std::string value = quoted ? Quoted(uninstaller) : uninstaller;
    platform::Registry entry(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(entry.OpenKey(kManagerEntry, false));
    entry.WriteString("UninstallString", value);
    // As the system starts the value itself, and as Wine's own list of installed programs does.
    for (std::string command : {value, std::string("uninstaller.exe --remove \"Tarnholm Manager\"")}) {
      SCOPED_TRACE(command + " with the value " + value);
      bool direct = command == value;
      StartedCommand started(command);
      if (quoted) {
        HWND window = testing_support::WaitForWindow("Tarnholm Manager - Deinstaller v1.0",
                                                     direct ? started.Id() : 0);
        EXPECT_NE(window, nullptr) << "our uninstaller did not start";
        EXPECT_FALSE(platform::FileExists(record)) << ReadFileBytes(record);
        if (window) EndProgramOf(window);
      } else {
        EXPECT_TRUE(testing_support::WaitFor([&] { return !ReadFileBytes(record).empty(); }))
            << "the planted program did not run";
        EXPECT_EQ(ReadFileBytes(record), value + "\n");
      }
      EXPECT_TRUE(started.WaitForExit());
      DeleteFileW(platform::Widen(record).c_str());
    }
  }
}

TEST_F(InstallationTest, AnExistingProductFolderIsReusedAndSaidSo) {
  ScratchRegistry registry;
  TempDir temp;
  std::string folder = temp / "Tarnholm Encyclopaedia\\";
  CreateDirectoryW(platform::Widen(folder).c_str(), nullptr);
  WriteFileBytes(folder + "THENC.exe", "an older encyclopaedia");
  WriteFileBytes(folder + "notes.txt", "the user's own notes");
  Tick(true, false);
  form->Polski1.Click();
  InstallInto(temp.Path());

  EXPECT_TRUE(form->ChangeLabel.Visible());
  EXPECT_EQ(form->ChangeLabel.Caption(), "Katalog programu został podmieniony w czasie instalacji.");
  ExpectCarriedFiles(folder, installer::kEncyclopaediaRows);
  EXPECT_EQ(ReadFileBytes(folder + "notes.txt"), "the user's own notes");
  form->English1.Click();
  EXPECT_EQ(form->ChangeLabel.Caption(), "Katalog programu został podmieniony w czasie instalacji.")
      << "the label keeps the language it was written in";
}

TEST_F(InstallationTest, AMissingParentFolderEndsThePressAtTheFirstFile) {
  ScratchRegistry registry;
  TempDir temp;
  std::string parent = temp / "Games";
  Tick(true, true);
  InstallInto(parent);

  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(dialogs.boxes[0].text, "Cannot create file \"" + parent +
                                       "\\Tarnholm Encyclopaedia\\THENC.exe\". " +
                                       platform::SystemErrorText(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(dialogs.boxes[0].caption, "TH Encyclopaedia Installer");
  EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_ICONERROR | MB_OK));
  EXPECT_FALSE(KeyExists("\\Software\\Kelvora"));
  EXPECT_FALSE(KeyExists(kEncyclopaediaEntry));
  EXPECT_EQ(form->CancelButton.Caption(), "Cancel");
  EXPECT_TRUE(form->Panel3.Visible());

  // Once the folder is there, the next press runs the whole sequence from its start.
  CreateDirectoryW(platform::Widen(parent).c_str(), nullptr);
  dialogs.boxes.clear();
  dialogs.Answer({IDOK, IDNO});
  form->NextButton.Click();
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"Done!", "Create desktop shortcut?"}));
  EXPECT_EQ(ReadValue(kManagerKey, "Path"), parent + "\\Tarnholm Manager\\");
  EXPECT_EQ(form->CancelButton.Caption(), "Finish");
}

// Room on a small disk (a tmpfs counts whole pages of 4 KB) for the carried files of these rows.
int KilobytesFor(std::span<const installer::PayloadRow> rows) {
  size_t kilobytes = 0;
  for (const auto& row : rows) kilobytes += (Carried(row.resourceName).size() + 4095) / 4096 * 4;
  return static_cast<int>(kilobytes);
}

// The disk fills up at the encyclopaedia's last file: no file stays cut, the files and the folder
// that the press made are gone, the error box says so, and nothing is recorded.
TEST_F(InstallationTest, AFullDiskInAnEmptyFolderLeavesNoFileAndNoFolder) {
  ScratchRegistry registry;
  testing_support::SmallDisk disk(KilobytesFor(installer::kEncyclopaediaRows.first(3)) + 32);
  if (!disk.Mounted()) GTEST_SKIP() << "this machine lets no test mount a small disk (needs root)";
  ASSERT_GT(Carried("THENCUNINSTALL").size(), 32u * 1024) << "the last file must not fit in the margin";
  Tick(true, true);
  InstallInto(disk / "");

  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Stream write error"});
  EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(FolderEntries(disk / ""), std::vector<std::string>{});
  EXPECT_FALSE(KeyExists("\\Software\\Kelvora"));
  EXPECT_FALSE(KeyExists(kEncyclopaediaEntry));
  EXPECT_EQ(form->CancelButton.Caption(), "Cancel");
}

// Over an earlier installation each file is the old one or the new one, whole; the folder and
// the user's own files stay.
TEST_F(InstallationTest, AFullDiskOverAnEarlierInstallationLeavesEachFileOldOrNewAndWhole) {
  ScratchRegistry registry;
  testing_support::SmallDisk disk(KilobytesFor(installer::kEncyclopaediaRows.first(1)) + 32);
  if (!disk.Mounted()) GTEST_SKIP() << "this machine lets no test mount a small disk (needs root)";
  std::string folder = disk / "Tarnholm Encyclopaedia\\";
  CreateDirectoryW(platform::Widen(folder).c_str(), nullptr);
  for (const auto& row : installer::kEncyclopaediaRows)
    WriteFileBytes(folder + row.fileName, std::string("an older ") + row.fileName);
  WriteFileBytes(folder + "notes.txt", "the user's own notes");
  Tick(true, false);
  InstallInto(disk / "");

  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Stream write error"});
  ExpectCarriedFiles(folder, installer::kEncyclopaediaRows.first(1));
  for (const auto& row : installer::kEncyclopaediaRows.subspan(1))
    EXPECT_TRUE(ReadFileBytes(folder + row.fileName) == std::string("an older ") + row.fileName)
        << row.fileName << " is not the older file, whole";
  EXPECT_EQ(ReadFileBytes(folder + "notes.txt"), "the user's own notes");
  EXPECT_EQ(FolderEntries(folder),
            (std::vector<std::string>{"THENC.exe", "THENCUpdater.exe", "notes.txt", "readme.txt", "uninstall.exe"}));
  EXPECT_FALSE(KeyExists(kEncyclopaediaKey));
  EXPECT_FALSE(KeyExists(kEncyclopaediaEntry));
}

TEST_F(InstallationTest, ARegistryRecordThatCannotBeWrittenEndsThePress) {
  ScratchRegistry registry;
  // No ordinary key can be made under a volatile one: the vendor key fails as on a machine where
  // the account may not write the software keys.
  HKEY software;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &software, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(software);
  TempDir temp;
  Tick(true, true);
  InstallInto(temp.Path());

  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(dialogs.boxes[0].text, "Failed to create key \\Software\\Kelvora");
  ExpectCarriedFiles(temp / "Tarnholm Encyclopaedia\\", installer::kEncyclopaediaRows);
  EXPECT_EQ(FolderEntries(temp.Path()), std::vector<std::string>{"Tarnholm Encyclopaedia"});
  EXPECT_FALSE(KeyExists(kEncyclopaediaEntry));
  EXPECT_EQ(form->CancelButton.Caption(), "Cancel");
}

TEST_F(InstallationTest, ARelativeFolderIsRecordedInFull) {
  ScratchRegistry registry;
  TempDir temp;
  CreateDirectoryW(platform::Widen(temp / "Games").c_str(), nullptr);
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(platform::Widen(temp.Path()).c_str());
  Tick(false, true);
  InstallInto("Games");
  SetCurrentDirectoryW(before);

  std::string folder = temp / "Games\\Tarnholm Manager\\";
  EXPECT_EQ(form->DirEdit.Text(), "Games\\");
  EXPECT_EQ(form->THManagerPathLabel1.Caption(), folder);
  EXPECT_EQ(ReadValue(kManagerKey, "Path"), folder);
  EXPECT_EQ(ReadValue(kManagerEntry, "UninstallString"), Quoted(folder + "uninstall.exe"));
  ExpectCarriedFiles(folder, installer::kManagerRows);
}

TEST_F(InstallationTest, TheReadmeOpensInNotepadAndTheInstallationGoesOn) {
  struct EndNotepad {
    ~EndNotepad() { testing_support::EndProgramsWithWindowsOfClass("Notepad"); }
  } endNotepad;
  ScratchRegistry registry;
  TempDir temp;
  Tick(true, true);
  form->ReadMeCheckBox.SetChecked(true);
  InstallInto(temp.Path());
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"Done!", "Create desktop shortcut?"}));
  EXPECT_TRUE(KeyExists(kManagerKey)) << "the manager set follows the readme";

  HWND notepad = testing_support::WaitForWindowOfClass("Notepad");
  ASSERT_NE(notepad, nullptr) << "Notepad shows the written readme";
  EXPECT_TRUE(testing_support::WaitFor(
      [&] { return testing_support::WindowText(notepad).rfind("readme.txt", 0) == 0; }))
      << testing_support::WindowText(notepad);
}

TEST_F(InstallationTest, AMissingReadmeIsSaidInTheActiveLanguage) {
  TempDir temp;
  form->THENCPathLabel1.SetCaption(temp.Path());
  form->OpenReadme();
  EXPECT_TRUE(dialogs.boxes.empty()) << "not ticked: nothing";
  form->ReadMeCheckBox.SetChecked(true);
  form->OpenReadme();
  form->Polski1.Click();
  form->OpenReadme();
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[0].text, "There are no readme file!");
  EXPECT_EQ(dialogs.boxes[0].caption, "TH Encyclopaedia Installer");
  EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_OK));
  EXPECT_EQ(dialogs.boxes[1].text, "Nie ma żadnego pliku readme!");
}

}  // namespace
}  // namespace installer_tests
