// The real THENCUpdater.exe on the display, driven from outside as a user would.
#include <gtest/gtest.h>

#include <memory>

#include "support/http_server.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/fixtures.h"
#include "support/display.h"
#include "support/screen.h"
#include "support/window_driver.h"
#include "ui/control.h"
#include "ui/text_ink.h"

#include <commctrl.h>  // after windows.h

using namespace testing_support;

namespace {

std::string UpdaterExe() { return platform::ExeFolder() + "..\\bin\\THENCUpdater.exe"; }
// The version file beside the program.
std::string VersionFile() { return platform::ExeFolder() + "..\\bin\\thencversion.ini"; }

// Deletes the version file when a test ends, so that no later test finds it.
struct RemoveVersionFileAtEnd {
  ~RemoveVersionFileAtEnd() { platform::DeleteFileAt(VersionFile()); }
};

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

// The language menu shows a flag on each item; the Find New Version button shows its picture
// beside its caption in both languages: its ink reaches a picture's width further than the
// caption's own.
TEST(UpdaterWindow, TheButtonKeepsItsPictureAndTheLanguageMenuShowsFlags) {
  SKIP_WITHOUT_DISPLAY();
  Process updater(UpdaterExe());
  HWND window;
  ASSERT_TRUE(AwaitWindow(updater, "Program Update", window));
  RaiseOnDisplay(window);
  for (const char* caption : {"Find New Version", "Szukaj nową wersję"}) {
    SCOPED_TRACE(caption);
    bool polish = caption[0] == 'S';
    if (polish) {
      ClickButton(FindControl(window, "English"));  // the language button
      ASSERT_TRUE(WaitFor([&] { return OpenMenus(updater.Id()).size() == 1; }));
      RECT shown;
      GetWindowRect(OpenMenus(updater.Id()).front(), &shown);
      EXPECT_TRUE(WaitForColours(shown, {RGB(200, 16, 46), RGB(220, 20, 60)})) << "the flags";
      PressKey(window, VK_DOWN);
      PressKey(window, VK_DOWN);  // Polski, the second item
      PressKey(window, VK_RETURN);
      ASSERT_TRUE(WaitFor([&] { return OpenMenus(updater.Id()).empty(); }));
    }
    HWND button = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (button = FindControl(window, caption)) != nullptr; }));
    RECT face;
    GetClientRect(button, &face);
    InflateRect(&face, -3, -3);  // inside the button's frame
    ScreenPixels pixels = ScreenPixels::Settled(OnScreen(button, face));
    int left = pixels.Width(), right = -1;
    for (int y = 0; y < pixels.Height(); ++y)
      for (int x = 0; x < pixels.Width(); ++x)
        if (Dark(pixels.At(x, y))) left = std::min(left, x), right = std::max(right, x);
    HDC screen = GetDC(nullptr);
    int text = ui::MeasureInk(screen, ui::FontHandle(ui::Font{}), platform::Widen(caption)).right;
    ReleaseDC(nullptr, screen);
    EXPECT_GE(right - left + 1, text + 12) << "ink " << left << " to " << right << ", caption " << text;
  }
  EXPECT_NE(AnswerCloseQuestion(window, updater.Id(), "&Yes"), "no question");
  EXPECT_TRUE(updater.WaitForExit());
}

// The program against the test's server, which publishes a newer version and serves the package.
// The program asks its built-in host; the Internet client's proxy setting (here Wine's http_proxy
// variable, given to the program alone) leads the requests to the test's server.
struct UpdaterAgainstServer {
  explicit UpdaterAgainstServer(
      const HttpReply& package,
      const std::string& packageUrl = "http://updates.tarnholm.example/thenc.zip") {
    HttpReply version;
    version.body = "[update]\r\nversion=3.1\r\nurl=" + packageUrl + "\r\n";
    server.Serve("/thencversion.ini", version);
    server.Serve("/thenc.zip", package);
    SetEnvironmentVariableW(L"http_proxy", platform::Widen("http://" + server.Host()).c_str());
    updater = std::make_unique<Process>(UpdaterExe());
    SetEnvironmentVariableW(L"http_proxy", nullptr);
    window = WaitForWindow("Program Update", updater->Id());
  }

  // Whether the program's window came.
  testing::AssertionResult Shown() const { return Came(*updater, "its window \"Program Update\"", window); }

  // Presses "Find New Version", says Yes to the question and waits for the save dialog to show
  // its proposal (when given, this one); the dialog's file name field, or none.
  HWND OpenSaveDialog(const std::string& proposal = {}) {
    if (testing::AssertionResult shown = Shown(); !shown) {
      ADD_FAILURE() << shown.message();
      return nullptr;
    }
    ClickButton(FindControl(window, "Find New Version"));
    if (!AnswerBox("Czy chcesz pobrać nową wersję programu?", IDYES, updater->Id())) {
      ADD_FAILURE() << "the updater did not ask whether to download the new version";
      return nullptr;
    }
    HWND save = WaitForFileDialog(updater->Id());
    if (testing::AssertionResult came = Came(*updater, "its save dialog", save); !came) {
      ADD_FAILURE() << came.message();
      return nullptr;
    }
    HWND name = FindControlOfClass(save, "Edit");
    auto shown = [&] {
      return proposal.empty() ? !WindowText(name).empty() : WindowText(name) == proposal;
    };
    if (name && !WaitFor(shown)) ADD_FAILURE() << "the dialog proposes " << WindowText(name);
    return name;
  }
  // Saves the package as target, through the dialog that proposes "thenc.zip" when given.
  void StartDownload(const std::string& target, const std::string& proposal = "thenc.zip") {
    HWND name = OpenSaveDialog(proposal);
    ASSERT_NE(name, nullptr);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(platform::Widen(target).c_str()));
    ClickButton(GetDlgItem(GetAncestor(name, GA_ROOT), IDOK));
  }
  std::string Log() const { return WindowText(FindControlOfClass(window, "Edit")); }
  // Presses "Find New Version" once the server answers this for the version file.
  void FindNewVersion(const HttpReply& versionFile) {
    server.Serve("/thencversion.ini", versionFile);
    ClickButton(FindControl(window, "Find New Version"));
  }
  // Closes the window through its question, answered Yes, and expects the program to end.
  void Quit() {
    EXPECT_EQ(AnswerCloseQuestion(window, updater->Id(), "&Yes"),
              "Are you sure you want to quit the program?");
    EXPECT_TRUE(updater->WaitForExit());
  }
  // Requests for the package, whatever form of its address the proxy got.
  int PackageRequests() const {
    int n = 0;
    for (const auto& r : server.Requests()) n += r.target.find("/thenc.zip") != std::string::npos;
    return n;
  }

  HttpServer server;
  std::unique_ptr<Process> updater;
  HWND window = nullptr;
};

// The log's lines up to the question, and the whole road of a download.
const std::string kAsked =
    "Downloading informations...\r\nChecking new version\r\nYou can download new program version";
const std::string kRoad = kAsked + "\r\nFile downloading\r\nThe program finished downloading the file";

TEST(UpdaterWindow, DownloadsANewerPackageIntoTheFileTypedIntoTheSaveDialog) {
  SKIP_WITHOUT_DISPLAY();
  TempDir dir;
  HttpReply package;
  package.body = std::string(300000, 'z');
  UpdaterAgainstServer run(package);
  std::string target = dir / "pakiet łódź.zip";
  ASSERT_NO_FATAL_FAILURE(run.StartDownload(target));

  EXPECT_TRUE(WaitFor([&] { return run.Log() == kRoad; })) << run.Log();
  EXPECT_EQ(ReadFileBytes(target), package.body);
  EXPECT_FALSE(platform::FileExists(VersionFile()));

  run.Quit();
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

// A version check that ends without its version file leaves no part of it behind: the window
// closed while the file was coming, or a body in chunks, whose end cannot be trusted, failed it.
TEST(UpdaterWindow, AVersionCheckThatEndsWithoutItsFileLeavesNone) {
  SKIP_WITHOUT_DISPLAY();
  HttpReply partial;
  partial.body = "[update]\r\nversion=3.1\r\nurl=http://updates.tarnholm.example/thenc.zip\r\n";
  partial.silentAfter = 10;
  HttpReply chunked;
  chunked.raw = "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n9\r\n[update]\n\r\n0\r\n\r\n";
  struct Case {
    const char* name;
    HttpReply reply;
    bool closed;  // the window is closed once 10 bytes are in the file, else the check fails
  } cases[] = {{"closed while coming", partial, true}, {"failed", chunked, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RemoveVersionFileAtEnd remove;
    UpdaterAgainstServer run(HttpReply{});
    ASSERT_TRUE(run.Shown());
    run.FindNewVersion(c.reply);
    if (c.closed) {
      EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(VersionFile()).size() == 10; }));
      EXPECT_EQ(AnswerCloseQuestion(run.window, run.updater->Id(), "&Yes"),
                "Are you sure you want to quit the program?");
      EXPECT_TRUE(run.updater->WaitForExit(10000));
    } else {
      EXPECT_TRUE(WaitFor([&] { return run.Log() == "Downloading informations...\r\nError"; })) << run.Log();
    }
    EXPECT_FALSE(platform::FileExists(VersionFile()));
    if (!c.closed) run.Quit();
  }
}

// The dialog cancelled with Escape after an earlier download: nothing is fetched or logged, the
// earlier file stays as the user left it, and the next check downloads again.
TEST(UpdaterWindow, CancellingTheSaveDialogDownloadsNothing) {
  SKIP_WITHOUT_DISPLAY();
  TempDir dir;
  HttpReply package;
  package.body = std::string(300000, 'z');
  UpdaterAgainstServer run(package);
  std::string earlier = dir / "thenc.zip", later = dir / "later.zip";
  ASSERT_NO_FATAL_FAILURE(run.StartDownload(earlier));
  ASSERT_TRUE(WaitFor([&] { return run.Log() == kRoad; })) << run.Log();
  WriteFileBytes(earlier, "mine");

  HWND name = run.OpenSaveDialog();
  ASSERT_NE(name, nullptr);
  HWND save = GetAncestor(name, GA_ROOT);
  PressKey(name, VK_ESCAPE);
  ASSERT_TRUE(WaitUntilGone(save));

  ASSERT_NO_FATAL_FAILURE(run.StartDownload(later, {}));
  const std::string expected = kRoad + "\r\n" + kAsked + "\r\n" + kRoad;
  EXPECT_TRUE(WaitFor([&] { return run.Log() == expected; })) << run.Log();
  EXPECT_EQ(ReadFileBytes(earlier), "mine");
  EXPECT_EQ(ReadFileBytes(later), package.body);
  EXPECT_EQ(run.PackageRequests(), 2);

  run.Quit();
}

// The package saved under the version file's own name beside the program is kept: after its
// download, and after a later check that the window's close ends before the check made its file.
TEST(UpdaterWindow, APackageSavedUnderTheVersionFilesNameStays) {
  SKIP_WITHOUT_DISPLAY();
  HttpReply package;
  package.body = std::string(300000, 'z');
  UpdaterAgainstServer run(package);
  std::string versionFile = VersionFile();
  RemoveVersionFileAtEnd remove;
  ASSERT_NO_FATAL_FAILURE(run.StartDownload(versionFile));
  ASSERT_TRUE(WaitFor([&] { return run.Log() == kRoad; })) << run.Log();
  EXPECT_EQ(ReadFileBytes(versionFile), package.body);

  HttpReply silent;
  silent.silent = true;
  size_t requests = run.server.Requests().size();
  run.FindNewVersion(silent);
  EXPECT_TRUE(WaitFor([&] { return run.server.Requests().size() > requests; }));
  EXPECT_EQ(AnswerCloseQuestion(run.window, run.updater->Id(), "&Yes"),
            "Are you sure you want to quit the program?");
  EXPECT_TRUE(run.updater->WaitForExit(10000));
  EXPECT_EQ(ReadFileBytes(versionFile), package.body);
}

// A package address that the program does not speak (another scheme, or a host that no host name
// is): the problem line, and the server, proxy for every host, receives no request for it.
TEST(UpdaterWindow, APackageAddressItDoesNotSpeakFetchesNothing) {
  SKIP_WITHOUT_DISPLAY();
  HttpReply package;
  package.body = "package";
  for (const char* url :
       {"https://updates.tarnholm.example:8443/thenc.zip", "ftp://updates.tarnholm.example/thenc.zip",
        "file:///C:/thenc.zip", "updates.tarnholm.example/thenc.zip",
        "http://updates tarnholm.example/thenc.zip", "http://updates\ttarnholm.example/thenc.zip",
        "http://updates\x01tarnholm.example/thenc.zip", "http://player@updates.tarnholm.example/thenc.zip",
        "http://aktualizacje.łódź.example/thenc.zip"}) {
    SCOPED_TRACE(url);
    TempDir dir;
    UpdaterAgainstServer run(package, url);
    ASSERT_NO_FATAL_FAILURE(run.StartDownload(dir / "thenc.zip"));
    const std::string expected = kAsked + "\r\nFile downloading\r\nProblem with file downloading";
    EXPECT_TRUE(WaitFor([&] { return run.Log() == expected; })) << run.Log();
    EXPECT_EQ(run.server.Requests().size(), 1u) << "the version file's only";
    EXPECT_FALSE(platform::FileExists(dir / "thenc.zip"));
    run.Quit();
  }
}

// A second Yes while the package is coming: no save dialog, no second request, and the log says
// that the file is already coming; the running download ends in its own file.
TEST(UpdaterWindow, ASecondYesWhileThePackageIsComingAsksForNoFile) {
  SKIP_WITHOUT_DISPLAY();
  TempDir dir;
  HttpReply package;
  package.body = std::string(200000, 'q');
  package.dripBytes = 2000;
  package.dripPauseMs = 50;
  UpdaterAgainstServer run(package);
  std::string target = dir / "thenc.zip";
  ASSERT_NO_FATAL_FAILURE(run.StartDownload(target));
  const std::string started = kAsked + "\r\nFile downloading";
  ASSERT_TRUE(WaitFor([&] { return run.Log() == started; })) << run.Log();

  ClickButton(FindControl(run.window, "Find New Version"));
  ASSERT_TRUE(AnswerBox("Czy chcesz pobrać nową wersję programu?", IDYES, run.updater->Id()))
      << "the updater did not ask again";
  const std::string refused = started + "\r\n" + kAsked + "\r\nThe file is already being downloaded";
  EXPECT_TRUE(WaitFor([&] { return run.Log().rfind(refused, 0) == 0; })) << run.Log();
  EXPECT_EQ(WaitForFileDialog(run.updater->Id(), 0), nullptr) << "a second save dialog";
  EXPECT_TRUE(WaitFor([&] { return run.Log() == refused + "\r\nThe program finished downloading the file"; }))
      << run.Log();
  EXPECT_EQ(ReadFileBytes(target), package.body);
  EXPECT_EQ(run.PackageRequests(), 1);

  run.Quit();
}

}  // namespace
