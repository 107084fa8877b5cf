// The self-removal batch: its lines, and the real command interpreter running it.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <optional>
#include <vector>

#include "platform/files.h"
#include "platform/save_file.h"
#include "platform/text.h"
#include "support/unix_side.h"
#include "support/window_driver.h"
#include "uninstaller/self_removal.h"
#include "uninstaller_fixture.h"

using platform::Widen;
using uninstaller::kManagerUninstall;
using uninstaller::TForm1;

namespace uninstaller_tests {
namespace {

// The batch for a file in a folder (with its trailing backslash), both as the batch writes them.
std::string Lines(const std::string& folder, const std::string& name) {
  std::string file = "\"" + folder + name + "\"";
  return "@echo off\r\n"
         "set tries=0\r\n"
         ":kill\r\n"
         "cd /d \"" + folder + "\"\r\n"
         "del " + file + " 2>nul\r\n"
         "if not exist " + file + " goto done\r\n"
         "set /a tries+=1\r\n"
         "if %tries% geq 300 goto done\r\n"
         "ping -n 2 127.0.0.1 >nul\r\n"
         "goto kill\r\n"
         ":done\r\n"
         "cd ..\r\n"
         "rd \"" + folder.substr(0, folder.size() - 1) + "\" 2>nul\r\n"
         "del \"%~f0\" & exit\r\n";
}

TEST(SelfRemovalBatch, NamesTheFolderAndFileQuotedInTheOemCodePage) {
  struct Case {
    const char* exe;
    std::string folder, name;
  };
  // "ü" is 0x81 in the OEM pages of both Western and Central European systems.
  const Case cases[] = {
      {"C:\\Games\\Tarnholm Manager\\uninstall.exe", "C:\\Games\\Tarnholm Manager\\",
       "uninstall.exe"},
      {"D:\\Gry & 100% Müller\\un install.exe", "D:\\Gry & 100%% M\x81ller\\", "un install.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exe);
    EXPECT_EQ(uninstaller::SelfRemovalBatch(c.exe), Lines(c.folder, c.name));
  }
}

// A pause of a batch that this process started: the interpreter's ping runs.
bool BatchPauses() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  std::vector<PROCESSENTRY32W> all;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    all.push_back(entry);
  CloseHandle(snapshot);
  for (const auto& ping : all) {
    if (_wcsicmp(ping.szExeFile, L"ping.exe") != 0) continue;
    for (const auto& batch : all)
      if (batch.th32ProcessID == ping.th32ParentProcessID &&
          batch.th32ParentProcessID == GetCurrentProcessId())
        return true;
  }
  return false;
}

using SelfRemovalTest = UninstallerTest;

TEST_F(SelfRemovalTest, ClosingAfterTheRemovalMovesTheProgramsOwnFileAsideForTheBatch) {
  TForm1& form = MakeForm(kManagerUninstall);
  form.NextButton.Click();
  form.NextButton.Click();
  {
    // While the stand-in runs the batch stays to be read.
    RunningImage running(StandInExe());
    ASSERT_TRUE(running.Mapped());
    form.CancelButton.Click();
    EXPECT_TRUE(ui::Application::Instance().Terminated());
    EXPECT_EQ(testing_support::ReadFileBytes(BatchPath()), Lines(AsideFolder(), "uninstall.exe"));
    EXPECT_FALSE(platform::FileExists(StandInExe())) << "moved while the program still runs";
    EXPECT_TRUE(platform::FileExists(AsideFolder() + "uninstall.exe"));
  }
  EXPECT_TRUE(AwaitSelfRemoval()) << "the batch was started too, and went with the file's folder";
}

// Each process has a batch of its own; a batch of the same name that still runs keeps its file.
TEST(SelfRemovalBatchPath, IsTheProcessesOwnAndNeverAnotherStillThere) {
  testing_support::TempDir temp;
  EXPECT_EQ(uninstaller::BatchPath(temp.Path(), 1234), temp / "datekill-1234.bat");
  EXPECT_EQ(uninstaller::BatchPath(temp.Path(), 99), temp / "datekill-99.bat");
  testing_support::WriteFileBytes(temp / "datekill-1234.bat", "running");
  testing_support::WriteFileBytes(temp / "datekill-1234-2.bat", "running");
  EXPECT_EQ(uninstaller::BatchPath(temp.Path(), 1234), temp / "datekill-1234-3.bat");
}

TEST_F(SelfRemovalTest, ABatchThatCannotBeWrittenIsReportedAndTheProgramStillEnds) {
  TForm1& form = MakeForm(kManagerUninstall);
  form.NextButton.Click();
  form.NextButton.Click();
  // A folder where the batch would go: the file cannot be made.
  ASSERT_TRUE(CreateDirectoryW(Widen(BatchPath()).c_str(), nullptr));
  dialogs.boxes.clear();
  form.CancelButton.Click();
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[1].kind, ui::BoxKind::Error);
  EXPECT_EQ(dialogs.boxes[1].text.rfind("Cannot create file \"" + BatchPath() + "\". ", 0), 0u)
      << dialogs.boxes[1].text;
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(platform::FileExists(StandInExe())) << "put back, with no batch to delete it";
  EXPECT_FALSE(platform::DirectoryExists(AsideFolder()));
}

// Where the file cannot be moved into a folder of its own in the temporary folder (none there, or
// one on another volume, where a move would be a copy) it stays where it is, and no batch runs.
TEST_F(SelfRemovalTest, WithoutAPlaceOnItsVolumeTheFileStaysAndNoBatchRuns) {
  testing_support::SmallDisk otherVolume(256);
  struct Case {
    const char* name;
    std::string tempFolder;
  };
  const Case cases[] = {
      {"a missing temporary folder", temp / "missing\\"},
      {"a temporary folder on another volume", otherVolume / ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.tempFolder == otherVolume / "" && !otherVolume.Mounted()) {
      ADD_FAILURE() << "the test machine mounts no small disk";
      continue;
    }
    EnvironmentOverride tmpForThisRun("TMP", c.tempFolder);
    TForm1& form = MakeForm(kManagerUninstall);
    form.NextButton.Click();
    form.NextButton.Click();
    dialogs.boxes.clear();
    form.CancelButton.Click();
    EXPECT_EQ(dialogs.boxes.size(), 1u) << "the close question only";
    EXPECT_TRUE(ui::Application::Instance().Terminated());
    EXPECT_TRUE(platform::FileExists(StandInExe()));
    EXPECT_EQ(testing_support::FolderNames(temp / "StandIn"), std::vector<std::string>{"uninstall.exe"});
    if (platform::DirectoryExists(c.tempFolder)) {
      EXPECT_EQ(testing_support::FolderNames(c.tempFolder), std::vector<std::string>{});
    }
    ui::Application::Instance().Reset();
  }
}

// Runs the batch as the uninstaller starts it, from a current folder on another drive, and
// waits for the file to go, moved into a folder of its own in the temporary folder, and that
// folder after it; the files beside it where it lay stay.
TEST_F(SelfRemovalTest, TheBatchDeletesTheFileOnceNothingHoldsIt) {
  struct Case {
    const char* folder;
    const char* exe;
    std::vector<std::string> beside;
    bool running;
  };
  const Case cases[] = {
      {"Tarnholm Manager", "uninstall.exe", {"THManager.exe"}, true},
      {"Gra & 100% Müller", "un install.exe", {"un", "install.exe"}, false},
      {"Zażółć gęślą jaźń", "uninstall.exe", {"Parley.exe"}, false},
  };
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(L"Z:\\"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    testing_support::TempDir batchFolder;
    EnvironmentOverride tmpForThisRun("TMP", batchFolder.Path());
    std::string folder = temp / c.folder + "\\", exe = folder + c.exe;
    std::string aside = AsideFolder(batchFolder.Path()) + c.exe;
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    testing_support::WriteFileBytes(exe, "MZ");
    for (const auto& name : c.beside) testing_support::WriteFileBytes(folder + name, "data");
    std::optional<RunningImage> running;
    if (c.running) running.emplace(exe);
    ASSERT_TRUE(!c.running || running->Mapped());
    uninstaller::StartSelfRemoval(exe);
    EXPECT_FALSE(platform::FileExists(exe));
    if (c.running) {
      // The batch has failed a try once it pauses before the next.
      EXPECT_TRUE(testing_support::WaitFor(BatchPauses));
      EXPECT_TRUE(platform::FileExists(aside));
      running.reset();
    }
    EXPECT_TRUE(testing_support::WaitFor([&] { return !platform::FileExists(aside); }, 60000));
    for (const auto& name : c.beside) EXPECT_TRUE(platform::FileExists(folder + name)) << name;
    EXPECT_TRUE(BatchesGone(batchFolder.Path())) << "the batch and the file's folder";
  }
  SetCurrentDirectoryW(previous);
}

// The program has ended and its batch waits for its next try; meanwhile the product's folder, or
// a folder above it, is put aside for a link to a decoy with a file of the same name. The batch
// deletes the program's own file all the same, and the decoy's stays.
TEST_F(SelfRemovalTest, AFolderSwappedAfterTheProgramEndedLeadsTheBatchNowhereElse) {
  for (bool above : {false, true}) {
    SCOPED_TRACE(above ? "the folder above it" : "the folder itself");
    testing_support::TempDir parent, batchFolder;
    EnvironmentOverride tmpForThisRun("TMP", batchFolder.Path());
    std::string games = parent / "Games\\", folder = games + "Tarnholm Manager\\";
    std::string decoys = parent / "DecoyGames\\", decoy = decoys + "Tarnholm Manager\\";
    for (const std::string& f : {games, folder, decoys, decoy}) CreateDirectoryW(Widen(f).c_str(), nullptr);
    testing_support::WriteFileBytes(decoy + "uninstall.exe", "decoy");
    std::optional<RunningImage> running(std::in_place, folder + "uninstall.exe");
    ASSERT_TRUE(running->Mapped());
    uninstaller::StartSelfRemoval(folder + "uninstall.exe");
    ASSERT_TRUE(testing_support::WaitFor(BatchPauses));
    running.reset();
    std::string from = above ? parent / "Games" : games + "Tarnholm Manager";
    // Put aside on the machine's side, as a user there would.
    std::string unixFrom = testing_support::UnixPath(from);
    ASSERT_FALSE(unixFrom.empty());
    ASSERT_TRUE(testing_support::RunUnixCommand("mv '" + unixFrom + "' '" + unixFrom + " (moved)'"));
    UnixLink link(above ? decoys : decoy, from);
    ASSERT_TRUE(link.Made()) << "links are made on the machine's side";
    EXPECT_TRUE(BatchesGone(batchFolder.Path()));
    EXPECT_EQ(testing_support::ReadFileBytes(decoy + "uninstall.exe"), "decoy");
    EXPECT_EQ(ListTree(batchFolder.Path()), std::vector<std::string>{}) << "the program's file went";
  }
}

// Wine lets the folder of a running program be put aside while it runs: at its close the path then
// leads through a link to a decoy's file, which is neither moved nor deleted; the program's own
// file stays where it was put, and no batch runs.
TEST_F(SelfRemovalTest, AFolderSwappedWhileTheProgramRunsLeavesTheDecoyAlone) {
  testing_support::TempDir parent, batchFolder;
  EnvironmentOverride tmpForThisRun("TMP", batchFolder.Path());
  std::string folder = parent / "Tarnholm Manager\\", decoy = parent / "Decoy\\";
  for (const std::string& f : {folder, decoy}) CreateDirectoryW(Widen(f).c_str(), nullptr);
  testing_support::WriteFileBytes(decoy + "uninstall.exe", "decoy");
  RunningImage running(folder + "uninstall.exe");
  ASSERT_TRUE(running.Mapped());
  std::string unixFolder = testing_support::UnixPath(parent / "Tarnholm Manager");
  ASSERT_FALSE(unixFolder.empty());
  ASSERT_TRUE(testing_support::RunUnixCommand("mv '" + unixFolder + "' '" + unixFolder + " (moved)'"));
  UnixLink link(decoy, parent / "Tarnholm Manager");
  ASSERT_TRUE(link.Made()) << "links are made on the machine's side";
  uninstaller::StartSelfRemoval(folder + "uninstall.exe");
  EXPECT_EQ(testing_support::ReadFileBytes(decoy + "uninstall.exe"), "decoy");
  EXPECT_EQ(ListTree(batchFolder.Path()), std::vector<std::string>{});
  EXPECT_TRUE(platform::FileExists(parent / "Tarnholm Manager (moved)\\uninstall.exe"));
}

TEST_F(SelfRemovalTest, TheBatchGivesUpOnAFileThatNeverComesFree) {
  std::string exe = temp / "uninstall.exe", batch = temp / "bounded.bat";
  testing_support::WriteFileBytes(exe, "MZ");
  HeldFile held(exe);
  platform::SaveFile(batch, *uninstaller::SelfRemovalBatch(exe, 2));
  // Run as the uninstaller's console would see it: every failed try stays silent.
  EXPECT_EQ(testing_support::ProgramOutput("cmd.exe /c \"" + batch + "\""), "");
  EXPECT_TRUE(platform::FileExists(exe));
  EXPECT_FALSE(platform::FileExists(batch)) << "it deletes itself also when it gives up";
}

}  // namespace
}  // namespace uninstaller_tests
