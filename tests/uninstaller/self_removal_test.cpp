// The self-removal batch: its lines, and the real command interpreter running it.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

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
         "if not exist \"" + name + "\" goto :eof\r\n"
         "set /a tries+=1\r\n"
         "if %tries% geq 300 goto :eof\r\n"
         "ping -n 2 127.0.0.1 >nul\r\n"
         "goto kill\r\n";
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

using SelfRemovalTest = UninstallerTest;

TEST_F(SelfRemovalTest, ClosingAfterTheRemovalWritesTheBatchForTheProgramsOwnFile) {
  TForm1& form = MakeForm(kManagerUninstall);
  form.NextButton.Click();
  form.NextButton.Click();
  form.CancelButton.Click();
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  EXPECT_EQ(testing_support::ReadFileBytes(BatchPath()),
            Lines(temp / "StandIn\\", "uninstall.exe"));
  EXPECT_TRUE(AwaitSelfRemoval()) << "the batch was started too";
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
      dialogs.boxes[1].text.rfind("Cannot create file \"" + temp / "missing\\datekill.bat\". ", 0),
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
      Sleep(1500);  // let the batch fail a try or two first
      EXPECT_TRUE(platform::FileExists(exe));
      running.reset();
    }
    EXPECT_TRUE(testing_support::WaitFor([&] { return !platform::FileExists(exe); }, 60000));
    for (const auto& name : c.beside) EXPECT_TRUE(platform::FileExists(folder + name)) << name;
    RemoveFinishedBatch(batchFolder / uninstaller::kBatchFileName);
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
}

}  // namespace
}  // namespace uninstaller_tests
