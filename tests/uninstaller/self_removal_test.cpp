// The self-removal batch: its lines, and the real command interpreter running it.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <optional>
#include <vector>

#include "platform/files.h"
#include "platform/save_file.h"
#include "platform/text.h"
#include "support/window_driver.h"
#include "uninstaller/self_removal.h"
#include "uninstaller_fixture.h"

using platform::Widen;
using uninstaller::kManagerUninstall;
using uninstaller::TForm1;

namespace uninstaller_tests {
namespace {

std::string Lines(const std::string& folder, const std::string& name) {
  return "@echo off\r\n"
         "set tries=0\r\n"
         ":kill\r\n"
         "cd /d \"" + folder + "\"\r\n"
         "del \"" + name + "\" 2>nul\r\n"
         "if not exist \"" + name + "\" goto done\r\n"
         "set /a tries+=1\r\n"
         "if %tries% geq 300 goto done\r\n"
         "ping -n 2 127.0.0.1 >nul\r\n"
         "goto kill\r\n"
         ":done\r\n"
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

TEST_F(SelfRemovalTest, ClosingAfterTheRemovalWritesTheBatchForTheProgramsOwnFile) {
  TForm1& form = MakeForm(kManagerUninstall);
  form.NextButton.Click();
  form.NextButton.Click();
  {
    // While the stand-in is held the batch stays to be read.
    HeldFile running(StandInExe());
    form.CancelButton.Click();
    EXPECT_TRUE(ui::Application::Instance().Terminated());
    EXPECT_EQ(testing_support::ReadFileBytes(BatchPath()),
              Lines(temp / "StandIn\\", "uninstall.exe"));
  }
  EXPECT_TRUE(AwaitSelfRemoval()) << "the batch was started too, and went";
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
  EnvironmentOverride missing("TMP", temp / "missing\\");
  TForm1& form = MakeForm(kManagerUninstall);
  form.NextButton.Click();
  form.NextButton.Click();
  dialogs.boxes.clear();
  form.CancelButton.Click();
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[1].kind, ui::BoxKind::Error);
  EXPECT_EQ(
      dialogs.boxes[1].text.rfind("Cannot create file \"" + BatchPath(temp / "missing\\") + "\". ", 0),
      0u)
      << dialogs.boxes[1].text;
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  EXPECT_FALSE(form.Visible());
}

// Runs the batch as the uninstaller starts it, from a current folder on another drive, and
// waits for the file to go; the files beside it stay.
TEST_F(SelfRemovalTest, TheBatchDeletesTheFileOnceNothingHoldsIt) {
  struct Case {
    const char* folder;
    const char* exe;
    std::vector<std::string> beside;
    bool held;
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
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    testing_support::WriteFileBytes(exe, "MZ");
    for (const auto& name : c.beside) testing_support::WriteFileBytes(folder + name, "data");
    std::optional<HeldFile> running;
    if (c.held) running.emplace(exe);
    uninstaller::StartSelfRemoval(exe);
    if (c.held) {
      // The batch has failed a try once it pauses before the next.
      EXPECT_TRUE(testing_support::WaitFor(BatchPauses));
      EXPECT_TRUE(platform::FileExists(exe));
      running.reset();
    }
    EXPECT_TRUE(testing_support::WaitFor([&] { return !platform::FileExists(exe); }, 60000));
    for (const auto& name : c.beside) EXPECT_TRUE(platform::FileExists(folder + name)) << name;
    EXPECT_TRUE(BatchesGone(batchFolder.Path()));
  }
  SetCurrentDirectoryW(previous);
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
