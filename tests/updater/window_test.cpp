// The real THENCUpdater.exe on the display, driven from outside as a user would.
#include <gtest/gtest.h>

#include <memory>

#include "support/http_server.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/display.h"
#include "support/fixtures.h"
#include "support/window_driver.h"

#include <commctrl.h>  // after windows.h

using namespace testing_support;

namespace {

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
  SKIP_WITHOUT_DISPLAY();
  Process updater(UpdaterExe());
  ASSERT_TRUE(updater.Started());
  HWND window;
  ASSERT_TRUE(AwaitWindow(updater, "Program Update", window));
  EXPECT_NE(FindControl(window, "Find New Version"), nullptr);
  EXPECT_NE(FindControl(window, "English"), nullptr);

  EXPECT_EQ(AnswerCloseQuestion(window, updater.Id(), "&No"), "Are you sure you want to quit the program?");
  EXPECT_TRUE(updater.Running());
  EXPECT_TRUE(IsWindowVisible(window));

  EXPECT_EQ(AnswerCloseQuestion(window, updater.Id(), "&Yes"), "Are you sure you want to quit the program?");
  EXPECT_TRUE(updater.WaitForExit());
}

// The program against the test's server, which publishes a newer version and serves the package.
// The program asks its built-in host; the Internet client's proxy setting (here Wine's http_proxy
// variable, given to the program alone) leads the requests to the test's server.
struct UpdaterAgainstServer {
  explicit UpdaterAgainstServer(const HttpReply& package) {
    HttpReply version;
    version.body = "[update]\r\nversion=3.1\r\nurl=http://updates.tarnholm.example/thenc.zip\r\n";
    server.Serve("/thencversion.ini", version);
    server.Serve("/thenc.zip", package);
    SetEnvironmentVariableW(L"http_proxy", platform::Widen("http://" + server.Host()).c_str());
    updater = std::make_unique<Process>(UpdaterExe());
    SetEnvironmentVariableW(L"http_proxy", nullptr);
  }

  // Waits for the program's window.
  testing::AssertionResult Shown() { return AwaitWindow(*updater, "Program Update", window); }

  // Presses "Find New Version", says Yes to the question and saves the package as target.
  void StartDownload(const std::string& target) {
    ASSERT_TRUE(Shown());
    ClickButton(FindControl(window, "Find New Version"));
    ASSERT_TRUE(AnswerBox("Czy chcesz pobrać nową wersję programu?", IDYES, updater->Id()));
    HWND save = WaitForFileDialog(updater->Id());
    ASSERT_TRUE(Came(*updater, "its save dialog", save));
    HWND name = FindControlOfClass(save, "Edit");
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(WaitFor([&] { return WindowText(name) == "thenc.zip"; }));
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(platform::Widen(target).c_str()));
    ClickButton(GetDlgItem(save, IDOK));
  }

  HttpServer server;
  std::unique_ptr<Process> updater;
  HWND window = nullptr;
};

TEST(UpdaterWindow, DownloadsANewerPackageIntoTheFileTypedIntoTheSaveDialog) {
  SKIP_WITHOUT_DISPLAY();
  TempDir dir;
  HttpReply package;
  package.body = std::string(300000, 'z');
  UpdaterAgainstServer run(package);
  std::string target = dir / "pakiet łódź.zip";
  ASSERT_NO_FATAL_FAILURE(run.StartDownload(target));

  HWND log = FindControlOfClass(run.window, "Edit");
  const std::string road =
      "Downloading informations...\r\nChecking new version\r\nYou can download new program "
      "version\r\nFile downloading\r\nThe program finished downloading the file";
  EXPECT_TRUE(WaitFor([&] { return WindowText(log) == road; })) << WindowText(log);
  EXPECT_EQ(ReadFileBytes(target), package.body);
  EXPECT_FALSE(platform::FileExists(platform::ExeFolder() + "..\\bin\\thencversion.ini"));

  EXPECT_EQ(AnswerCloseQuestion(run.window, run.updater->Id(), "&Yes"),
            "Are you sure you want to quit the program?");
  EXPECT_TRUE(run.updater->WaitForExit());
}

// Closing the window during a download, whatever the server does: the program ends within a few
// seconds, and the file holds every byte that the progress bar had shown, the package's start.
TEST(UpdaterWindow, ClosingDuringADownloadEndsSoonAndKeepsWhatArrived) {
  SKIP_WITHOUT_DISPLAY();
  std::string body;
  for (int i = 0; body.size() < 1000000; ++i) body += std::to_string(i) + ",";
  HttpReply drip;
  drip.body = body;
  drip.dripBytes = 1000;
  drip.dripPauseMs = 10;
  HttpReply trickle;
  trickle.body = body.substr(0, 100000);
  trickle.dripBytes = 1;
  trickle.dripPauseMs = 1000;
  HttpReply stall;
  stall.body = body;
  stall.silentAfter = 50000;
  struct Case {
    const char* name;
    HttpReply package;
    int shownBeforeClose;
  } cases[] = {
      {"slow drip", drip, 20000},
      {"a byte a second", trickle, 2},
      {"quiet after 50000 bytes", stall, 50000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    UpdaterAgainstServer run(c.package);
    std::string target = dir / "thenc.zip";
    ASSERT_NO_FATAL_FAILURE(run.StartDownload(target));
    HWND bar = FindControlOfClass(run.window, "msctls_progress32");
    ASSERT_NE(bar, nullptr);
    int shown = 0;
    EXPECT_TRUE(WaitFor([&] {
      shown = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
      return shown >= c.shownBeforeClose;
    }));
    EXPECT_EQ(AnswerCloseQuestion(run.window, run.updater->Id(), "&Yes"),
              "Are you sure you want to quit the program?");
    // Generous: it only tells an end from a wait for the server's time-out or its body's end.
    EXPECT_TRUE(run.updater->WaitForExit(10000));
    std::string kept = ReadFileBytes(target);
    EXPECT_GE(kept.size(), static_cast<size_t>(shown));
    EXPECT_LT(kept.size(), c.package.body.size());
    EXPECT_TRUE(kept == c.package.body.substr(0, kept.size())) << kept.size() << " bytes kept";
  }
}

// Closing the window while the version file is still coming leaves no part of it behind.
TEST(UpdaterWindow, ClosingDuringTheVersionCheckLeavesNoVersionFile) {
  SKIP_WITHOUT_DISPLAY();
  UpdaterAgainstServer run(HttpReply{});
  ASSERT_TRUE(run.Shown());
  HttpReply partial;
  partial.body = "[update]\r\nversion=3.1\r\nurl=http://updates.tarnholm.example/thenc.zip\r\n";
  partial.silentAfter = 10;
  run.server.Serve("/thencversion.ini", partial);
  std::string versionFile = platform::ExeFolder() + "..\\bin\\thencversion.ini";
  ClickButton(FindControl(run.window, "Find New Version"));
  EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(versionFile).size() == 10; }));
  EXPECT_EQ(AnswerCloseQuestion(run.window, run.updater->Id(), "&Yes"),
            "Are you sure you want to quit the program?");
  EXPECT_TRUE(run.updater->WaitForExit(10000));
  EXPECT_FALSE(platform::FileExists(versionFile));
}

}  // namespace
