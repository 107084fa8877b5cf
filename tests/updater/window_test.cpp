// The real THENCUpdater.exe on the display, driven from outside as a user would.
#include <gtest/gtest.h>

#include "support/http_server.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/fixtures.h"
#include "support/window_driver.h"

using namespace testing_support;

namespace {

bool HaveDisplay() {
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (!probe) return false;
  DestroyWindow(probe);
  return true;
}

std::string UpdaterExe() { return platform::ExeFolder() + "..\\bin\\THENCUpdater.exe"; }

// Asks the window to close, answers the question with the button and returns the question.
std::string AnswerCloseQuestion(HWND window, DWORD pid, const std::string& button) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  HWND box = WaitForWindow("Confirm", pid);
  if (!box) return "no question";
  std::string question = "another question";
  if (FindControl(box, "Are you sure you want to quit the program?"))
    question = "Are you sure you want to quit the program?";
  ClickButton(FindControl(box, button));
  WaitUntilGone(box);
  return question;
}

TEST(UpdaterWindow, ShowsItselfAndClosesOnlyAfterYes) {
  if (!HaveDisplay()) GTEST_SKIP() << "no display";
  Process updater(UpdaterExe());
  ASSERT_TRUE(updater.Started());
  HWND window = WaitForWindow("Program Update", updater.Id());
  ASSERT_NE(window, nullptr);
  EXPECT_NE(FindControl(window, "Find New Version"), nullptr);
  EXPECT_NE(FindControl(window, "English"), nullptr);

  EXPECT_EQ(AnswerCloseQuestion(window, updater.Id(), "&No"), "Are you sure you want to quit the program?");
  EXPECT_TRUE(updater.Running());
  EXPECT_TRUE(IsWindowVisible(window));

  EXPECT_EQ(AnswerCloseQuestion(window, updater.Id(), "&Yes"), "Are you sure you want to quit the program?");
  EXPECT_TRUE(updater.WaitForExit());
}

// The program asks its built-in host; the Internet client's proxy setting (here Wine's
// http_proxy variable, given to the program alone) leads the requests to the test's server.
TEST(UpdaterWindow, DownloadsANewerPackageIntoTheFileTypedIntoTheSaveDialog) {
  if (!HaveDisplay()) GTEST_SKIP() << "no display";
  HttpServer server;
  TempDir dir;
  HttpReply version;
  version.body = "[update]\r\nversion=3.1\r\nurl=http://updates.tarnholm.example/thenc.zip\r\n";
  server.Serve("/thencversion.ini", version);
  HttpReply package;
  package.body = std::string(300000, 'z');
  server.Serve("/thenc.zip", package);

  SetEnvironmentVariableW(L"http_proxy", platform::Widen("http://" + server.Host()).c_str());
  Process updater(UpdaterExe());
  SetEnvironmentVariableW(L"http_proxy", nullptr);
  HWND window = WaitForWindow("Program Update", updater.Id());
  ASSERT_NE(window, nullptr);

  ClickButton(FindControl(window, "Find New Version"));
  ASSERT_TRUE(AnswerBox("Czy chcesz pobrać nową wersję programu?", IDYES, updater.Id()));

  HWND save = WaitForFileDialog(updater.Id());
  ASSERT_NE(save, nullptr);
  HWND name = FindControlOfClass(save, "Edit");
  ASSERT_NE(name, nullptr);
  EXPECT_TRUE(WaitFor([&] { return WindowText(name) == "thenc.zip"; }));
  std::string target = dir / "pakiet łódź.zip";
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(platform::Widen(target).c_str()));
  ClickButton(GetDlgItem(save, IDOK));

  HWND log = FindControlOfClass(window, "Edit");
  const std::string road =
      "Downloading informations...\r\nChecking new version\r\nYou can download new program "
      "version\r\nFile downloading\r\nThe program finished downloading the file";
  EXPECT_TRUE(WaitFor([&] { return WindowText(log) == road; })) << WindowText(log);
  EXPECT_EQ(ReadFileBytes(target), package.body);
  EXPECT_FALSE(platform::FileExists(platform::ExeFolder() + "..\\bin\\thencversion.ini"));

  EXPECT_EQ(AnswerCloseQuestion(window, updater.Id(), "&Yes"), "Are you sure you want to quit the program?");
  EXPECT_TRUE(updater.WaitForExit());
}

}  // namespace
