// The update window's handlers, with a server inside the test and scripted answers.
#include <gtest/gtest.h>

#include "support/http_server.h"
#include "platform/files.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "updater/update_form.h"
#include "support/wait.h"

using testing_support::HttpReply;
using testing_support::WaitFor;
using testing_support::ReadFileBytes;
using updater::TForm1;
using Lines = std::vector<std::string>;

namespace {

class UpdateFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = updater::CreateUpdaterWindow();
    form->UpdateHost = server.Host();
    server.Serve("/thenc.zip", Reply(package));
  }
  void TearDown() override {
    ui::Application::Instance().Reset();
    WaitFor([] { return updater::THTTPGetThread::Alive() == 0; });
    platform::DeleteFileAt(VersionFile());
  }

  static HttpReply Reply(std::string body) {
    HttpReply r;
    r.body = std::move(body);
    return r;
  }
  void Publish(const std::string& version) {
    server.Serve("/thencversion.ini", Reply("[update]\r\nversion=" + version + "\r\nurl=" +
                                            server.Url("/thenc.zip") + "\r\n"));
  }
  // Finds a newer version whose package drips in, and saves it as package.zip.
  void StartSlowUpdate(size_t dripBytes, DWORD pauseMs) {
    HttpReply slow = Reply(package);
    slow.dripBytes = dripBytes;
    slow.dripPauseMs = pauseMs;
    server.Serve("/thenc.zip", slow);
    Publish("3.1");
    dialogs.AnswerSave(dir / "package.zip");
    form->SpeedButton1.Click();
  }
  static std::string VersionFile() { return platform::ExeFolder() + "thencversion.ini"; }
  bool Idle() const { return !form->HTTPGet1.Busy() && !form->HTTPGet2.Busy(); }
  // Clicks "Find New Version" and waits until both downloads have ended.
  void FindNewVersion() {
    form->SpeedButton1.Click();
    ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  }
  int Requests(const std::string& target) const {
    int n = 0;
    for (const auto& r : server.Requests()) n += r.target == target;
    return n;
  }

  const std::string package = std::string(70000, 'p') + "end";
  testing_support::HttpServer server;
  testing_support::ScriptedDialogs dialogs;
  testing_support::TempDir dir;
  TForm1* form = nullptr;
};

TEST_F(UpdateFormTest, TheWindowStartsInEnglishWithTheHostBuiltIn) {
  TForm1 fresh;
  EXPECT_EQ(fresh.UpdateHost, updater::kUpdateHost);
  EXPECT_FALSE(fresh.English1.Enabled());
  EXPECT_TRUE(fresh.Polski1.Enabled());
  EXPECT_EQ(fresh.Caption(), "Program Update");
  EXPECT_EQ(fresh.SpeedButton1.Caption(), "Find New Version");
  EXPECT_EQ(fresh.WindowButton.Hint(), "Full Screen/Window");
  EXPECT_EQ(fresh.SaveDialog1.FileName, "thenc.zip");
  EXPECT_TRUE(fresh.Memo1.Lines().empty());
}

TEST_F(UpdateFormTest, ANewerVersionIsDownloadedIntoTheChosenFile) {
  Publish("3.1");
  dialogs.AnswerSave(dir / "package.zip");
  FindNewVersion();
  EXPECT_EQ(form->Memo1.Lines(),
            (Lines{"Downloading informations...", "Checking new version",
                   "You can download new program version", "File downloading",
                   "The program finished downloading the file"}));
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Message);
  EXPECT_EQ(dialogs.boxes[0].text, "Czy chcesz pobrać nową wersję programu?");
  EXPECT_EQ(dialogs.boxes[0].caption, "Informacja");
  EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
  ASSERT_EQ(dialogs.saves.size(), 1u);
  EXPECT_EQ(dialogs.saves[0].fileName, "thenc.zip");
  EXPECT_EQ(ReadFileBytes(dir / "package.zip"), package);
  EXPECT_EQ(form->ProgressBar1.Max(), static_cast<int>(package.size()));
  EXPECT_EQ(form->ProgressBar1.Position(), static_cast<int>(package.size()));
  EXPECT_FALSE(platform::FileExists(VersionFile()));
  EXPECT_EQ(server.Requests()[0].target, "/thencversion.ini");
}

TEST_F(UpdateFormTest, NoToTheQuestionEndsTheCheckAndRemovesTheVersionFile) {
  Publish("3.1");
  dialogs.Answer({IDNO});
  FindNewVersion();
  EXPECT_EQ(form->Memo1.Lines(), (Lines{"Downloading informations...", "Checking new version",
                                        "You can download new program version"}));
  EXPECT_TRUE(dialogs.saves.empty());
  EXPECT_EQ(Requests("/thenc.zip"), 0);
  EXPECT_FALSE(platform::FileExists(VersionFile()));
}

TEST_F(UpdateFormTest, OnlyAHigherMajorAndMinorPairCountsAsNewer) {
  struct Case {
    const char* version;
    const char* line;  // the line after "Checking new version"
  } cases[] = {
      {"3.0", "The new program version was not found"},
      {"1.0", "The new program version was not found"},
      {"2.5", "The new program version was not found"},
      {"3.05", "The new program version was not found"},
      {"3.1", "You can download new program version"},
      {"4.0", "You can download new program version"},
      {"4-0", "You can download new program version"},
      {"", "The version file could not be read"},
      {"x", "The version file could not be read"},
      {"3.", "The version file could not be read"},
      {"a.1", "The version file could not be read"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    form->Memo1.SetText("");
    dialogs.boxes.clear();
    dialogs.Answer({IDNO});
    Publish(c.version);
    FindNewVersion();
    EXPECT_EQ(form->Memo1.Lines(), (Lines{"Downloading informations...", "Checking new version", c.line}));
    bool newer = std::string(c.line) == "You can download new program version";
    EXPECT_EQ(dialogs.boxes.size(), newer ? 1u : 0u);
    EXPECT_FALSE(platform::FileExists(VersionFile()));
  }
}

TEST_F(UpdateFormTest, AVersionFileThatDoesNotArriveIsAnError) {
  FindNewVersion();  // nothing published: the server answers 404
  form->UpdateHost = "127.0.0.1:1";
  FindNewVersion();
  EXPECT_EQ(form->Memo1.Lines(), (Lines{"Downloading informations...", "Error",
                                        "Downloading informations...", "Error"}));
  EXPECT_TRUE(dialogs.boxes.empty());
}

// The user chose no file this time: nothing is fetched or logged and no earlier file is touched,
// whether a file was confirmed earlier in the run or not; the next check works.
TEST_F(UpdateFormTest, ACancelledSaveDialogDownloadsNothing) {
  const Lines asked{"Downloading informations...", "Checking new version",
                    "You can download new program version"};
  Publish("3.1");
  dialogs.AnswerSave(std::nullopt);
  FindNewVersion();
  EXPECT_EQ(form->Memo1.Lines(), asked);
  EXPECT_EQ(Requests("/thenc.zip"), 0);

  dialogs.AnswerSave(dir / "first.zip");
  FindNewVersion();
  EXPECT_EQ(form->Memo1.Lines().back(), "The program finished downloading the file");
  testing_support::WriteFileBytes(dir / "first.zip", "mine");
  form->Memo1.SetText("");
  dialogs.AnswerSave(std::nullopt);
  FindNewVersion();
  EXPECT_EQ(form->Memo1.Lines(), asked);
  EXPECT_EQ(ReadFileBytes(dir / "first.zip"), "mine");
  EXPECT_EQ(Requests("/thenc.zip"), 1);
  EXPECT_FALSE(platform::FileExists(VersionFile()));
  ASSERT_EQ(dialogs.saves.size(), 3u);
  EXPECT_EQ(dialogs.saves[2].fileName, dir / "first.zip") << "the last confirmed file is proposed";

  form->Memo1.SetText("");
  dialogs.AnswerSave(dir / "second.zip");
  FindNewVersion();
  EXPECT_EQ(form->Memo1.Lines().back(), "The program finished downloading the file");
  EXPECT_EQ(ReadFileBytes(dir / "second.zip"), package);
}

// The package may be saved under the version file's own name beside the program, and the check
// then no longer owns that file. Here the package's worker has made the file and written to it
// before the check's handler goes on after "File downloading".
TEST_F(UpdateFormTest, APackageSavedUnderTheVersionFilesNameStays) {
  Publish("3.1");
  dialogs.AnswerSave(VersionFile());
  form->Memo1.OnChange = [&](ui::Object*) {
    if (form->Memo1.Lines().back() != "File downloading") return;
    ASSERT_TRUE(WaitFor([&] {
      std::string kept = ReadFileBytes(VersionFile());
      return !kept.empty() && package.compare(0, kept.size(), kept) == 0;
    }));
  };
  FindNewVersion();
  EXPECT_EQ(form->Memo1.Lines().back(), "The program finished downloading the file");
  EXPECT_EQ(ReadFileBytes(VersionFile()), package);
}

// The window closes while the version file is on its way: what the check wrote of its file goes;
// a file of that name that it has not made (a package saved under it) stays.
TEST_F(UpdateFormTest, ClosingDuringTheCheckRemovesOnlyWhatTheCheckWrote) {
  HttpReply silent;
  silent.silent = true;
  HttpReply partial = Reply("[update]\r\nversion=3.1\r\n");
  partial.silentAfter = 10;
  struct Case {
    const char* name;
    HttpReply reply;
    size_t written;  // bytes of the version file before the window closes
    bool kept;
  } cases[] = {
      {"no answer yet", silent, 0, true},
      {"silent after 10 bytes", partial, 10, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::WriteFileBytes(VersionFile(), package);
    server.Serve("/thencversion.ini", c.reply);
    form = updater::CreateUpdaterWindow();
    form->UpdateHost = server.Host();
    form->HTTPGet1.Timeout = 500;
    size_t requests = server.Requests().size();
    form->SpeedButton1.Click();
    ASSERT_TRUE(WaitFor([&] {
      return server.Requests().size() > requests &&
             (c.written == 0 || ReadFileBytes(VersionFile()).size() == c.written);
    }));
    // As the program ends: the window goes with its components, then the workers finish.
    ui::Application::Instance().Reset();
    updater::FinishTransfers(60000);
    EXPECT_EQ(updater::THTTPGetThread::Alive(), 0);
    EXPECT_EQ(platform::FileExists(VersionFile()), c.kept);
    if (c.kept) {
      EXPECT_EQ(ReadFileBytes(VersionFile()), package);
    }
  }
}

// A package address that the updater does not speak gives the problem line, and nothing is
// fetched: the server sees only the version file's request.
TEST_F(UpdateFormTest, APackageAddressOfAnotherSchemeFetchesNothing) {
  for (std::string url : {"https://" + server.Host() + "/thenc.zip", server.Host() + "/thenc.zip"}) {
    SCOPED_TRACE(url);
    form->Memo1.SetText("");
    server.Serve("/thencversion.ini", Reply("[update]\r\nversion=3.1\r\nurl=" + url + "\r\n"));
    size_t requests = server.Requests().size();
    dialogs.AnswerSave(dir / "package.zip");
    FindNewVersion();
    EXPECT_EQ(form->Memo1.Lines(),
              (Lines{"Downloading informations...", "Checking new version",
                     "You can download new program version", "File downloading",
                     "Problem with file downloading"}));
    EXPECT_EQ(server.Requests().size() - requests, 1u);
    EXPECT_FALSE(platform::FileExists(dir / "package.zip"));
  }
}

TEST_F(UpdateFormTest, AClickWhileTheVersionFileIsComingOnlyWritesTheLineAgain) {
  HttpReply slow = Reply("[update]\r\nversion=3.0\r\n");
  slow.dripBytes = 4;
  slow.dripPauseMs = 20;
  server.Serve("/thencversion.ini", slow);
  form->SpeedButton1.Click();
  form->SpeedButton1.Click();
  ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  EXPECT_EQ(form->Memo1.Lines(),
            (Lines{"Downloading informations...", "Downloading informations...",
                   "Checking new version", "The new program version was not found"}));
  EXPECT_EQ(Requests("/thencversion.ini"), 1);
}

// A second Yes while the package is coming asks for no file, starts nothing and says so; the
// running download ends in its own file.
TEST_F(UpdateFormTest, ASecondYesWhileThePackageIsComingStartsNoSecondDownload) {
  struct Case {
    bool polish;
    Lines lines;
  } cases[] = {
      {false,
       {"Downloading informations...", "Checking new version", "You can download new program version",
        "File downloading", "Downloading informations...", "Checking new version",
        "You can download new program version", "The file is already being downloaded",
        "The program finished downloading the file"}},
      {true,
       {"Pobieranie informacji...", "Sprawdzanie, czy jest nowa wersja",
        "Możesz ściągnąć nową wersję programu", "Pobieranie pliku", "Pobieranie informacji...",
        "Sprawdzanie, czy jest nowa wersja", "Możesz ściągnąć nową wersję programu",
        "Plik jest już pobierany", "Program zakończył pobieranie pliku"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.polish ? "Polish" : "English");
    form->Memo1.SetText("");
    dialogs.saves.clear();
    if (c.polish) form->Polski1.Click();
    platform::DeleteFileAt(dir / "package.zip");
    StartSlowUpdate(1000, 50);
    ASSERT_TRUE(WaitFor([&] { return !form->HTTPGet1.Busy(); }));
    bool busyAtSecondYes = false;
    dialogs.onBox = [&](const ui::BoxRequest&) { busyAtSecondYes = form->HTTPGet2.Busy(); };
    form->SpeedButton1.Click();
    ASSERT_TRUE(WaitFor([&] { return Idle(); }));
    dialogs.onBox = nullptr;
    ASSERT_TRUE(busyAtSecondYes);
    EXPECT_EQ(form->Memo1.Lines(), c.lines);
    EXPECT_EQ(dialogs.saves.size(), 1u);
    EXPECT_EQ(ReadFileBytes(dir / "package.zip"), package);
  }
  EXPECT_EQ(Requests("/thenc.zip"), 2);
}

// A check that fails after it made its version file leaves none beside the program, also where a
// file of that name stood before; one that fails before it made its file leaves that file alone.
TEST_F(UpdateFormTest, AFailedCheckLeavesNoVersionFileOfItsOwn) {
  HttpReply chunked;
  chunked.raw =
      "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n9\r\n[update]\n\r\n0\r\n\r\n";
  HttpReply empty = Reply("");
  empty.length = "40";
  HttpReply stalled = Reply("[update]\r\nversion=3.1\r\n");
  stalled.silentAfter = 10;
  HttpReply gone = Reply("<html>gone</html>");
  gone.status = "404 Not Found";
  struct Case {
    const char* name;
    HttpReply reply;
    bool earlierFile;  // a file of that name stood there before the check
    bool kept;
  } cases[] = {
      {"chunked", chunked, false, false},
      {"announced but empty", empty, false, false},
      {"stalled", stalled, false, false},
      {"chunked over an earlier file", chunked, true, false},
      {"not found, beside an earlier file", gone, true, true},
  };
  form->HTTPGet1.Timeout = 500;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->Memo1.SetText("");
    if (c.earlierFile) testing_support::WriteFileBytes(VersionFile(), "earlier");
    server.Serve("/thencversion.ini", c.reply);
    FindNewVersion();
    EXPECT_EQ(form->Memo1.Lines(), (Lines{"Downloading informations...", "Error"}));
    EXPECT_EQ(platform::FileExists(VersionFile()), c.kept);
    if (c.kept) {
      EXPECT_EQ(ReadFileBytes(VersionFile()), "earlier");
    }
    platform::DeleteFileAt(VersionFile());
  }
}

TEST_F(UpdateFormTest, ClosingTheWindowDuringADownloadEndsItWithoutEvents) {
  StartSlowUpdate(1000, 10);
  ASSERT_TRUE(WaitFor([&] { return form->ProgressBar1.Position() > 0; }));
  size_t shown = static_cast<size_t>(form->ProgressBar1.Position());
  // As the program ends: the window goes with its components, then the workers finish.
  ui::Application::Instance().Reset();
  updater::FinishTransfers(60000);
  EXPECT_EQ(updater::THTTPGetThread::Alive(), 0);
  std::string kept = ReadFileBytes(dir / "package.zip");
  EXPECT_GE(kept.size(), shown);
  EXPECT_LT(kept.size(), package.size());
  EXPECT_EQ(kept, package.substr(0, kept.size()));
}

// A server that never answers ends the version check or the package download with its line once
// the time-out has passed, and the next check works.
TEST_F(UpdateFormTest, ASilentServerEndsTheCheckOrTheDownloadWithItsLine) {
  HttpReply silent;
  silent.silent = true;
  struct Case {
    const char* name;
    const char* target;  // the file that the server keeps silent about
    Lines lines;
  } cases[] = {
      {"version file", "/thencversion.ini", {"Downloading informations...", "Error"}},
      {"package", "/thenc.zip",
       {"Downloading informations...", "Checking new version", "You can download new program version",
        "File downloading", "Problem with file downloading"}},
  };
  form->HTTPGet1.Timeout = 500;
  form->HTTPGet2.Timeout = 500;
  dialogs.AnswerSave(dir / "package.zip");  // for the package's turn
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->Memo1.SetText("");
    Publish("3.1");
    server.Serve(c.target, silent);
    form->SpeedButton1.Click();
    // Far below the usual time-out: only the components' own one can end the wait in time.
    ASSERT_TRUE(WaitFor([&] { return Idle(); }, 15000));
    EXPECT_EQ(form->Memo1.Lines(), c.lines);

    form->Memo1.SetText("");
    Publish("3.0");
    FindNewVersion();
    EXPECT_EQ(form->Memo1.Lines(), (Lines{"Downloading informations...", "Checking new version",
                                          "The new program version was not found"}));
  }
}

// The texts that the language switch rewrites, in its order.
Lines SwitchedTexts(const TForm1& f) {
  return {f.SpeedButton1.Caption(), f.LangButton.Caption(), f.Label1.Caption(),
          f.WindowButton.Hint(),    f.CloseButton.Hint(),   f.Caption()};
}

TEST_F(UpdateFormTest, TheLanguageSwitchRewritesTheCaptionsAndLaterLines) {
  form->Polski1.Click();
  EXPECT_FALSE(form->Polski1.Enabled());
  EXPECT_TRUE(form->English1.Enabled());
  EXPECT_EQ(SwitchedTexts(*form), (Lines{"Szukaj nową wersję", "Polski", "Postęp:", "Pełen ekran/Okno",
                                         "Zamknij", "Update Programu"}));
  Publish("3.1");
  dialogs.Answer({IDNO});
  FindNewVersion();
  EXPECT_EQ(form->Memo1.Lines(), (Lines{"Pobieranie informacji...", "Sprawdzanie, czy jest nowa wersja",
                                        "Możesz ściągnąć nową wersję programu"}));
  EXPECT_EQ(dialogs.boxes.at(0).text, "Czy chcesz pobrać nową wersję programu?");

  form->English1.Click();
  EXPECT_FALSE(form->English1.Enabled());
  EXPECT_TRUE(form->Polski1.Enabled());
  EXPECT_EQ(SwitchedTexts(*form), (Lines{"Find New Version", "English", "Progress:", "Full screen/Window",
                                         "Close", "Program Update"}));
  EXPECT_EQ(form->Memo1.Lines()[0], "Pobieranie informacji...") << "written lines stay";
}

TEST_F(UpdateFormTest, TheCloseQuestionFollowsTheLanguage) {
  auto& app = ui::Application::Instance();
  dialogs.Answer({IDNO});
  form->CloseButton.Click();
  EXPECT_FALSE(app.Terminated());
  form->Polski1.Click();
  dialogs.Answer({IDYES});
  form->Close();
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(dialogs.Texts(),
            (Lines{"Are you sure you want to quit the program?", "Na pewno zakończyć program?"}));
  for (const auto& box : dialogs.boxes) {
    EXPECT_EQ(box.kind, ui::BoxKind::Confirm);
    EXPECT_EQ(box.caption, "Confirm");
  }
}

TEST_F(UpdateFormTest, WithoutAnActiveLanguageTheWindowClosesWithoutAsking) {
  form->English1.SetEnabled(true);
  form->Close();
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(UpdateFormTest, TheLanguageMenuDropsAboveTheButtonBar) {
  form->LangButton.Click();
  EXPECT_EQ(form->PopupMenu1.LastPopupPoint(), form->ClientToScreen({8, 375}));
}

TEST_F(UpdateFormTest, TheWindowButtonTogglesFullScreen) {
  form->WindowButton.Click();
  EXPECT_EQ(form->GetBorderStyle(), ui::BorderStyle::None);
  EXPECT_EQ(form->GetWindowState(), ui::WindowState::Maximized);
  form->WindowButton.Click();
  EXPECT_EQ(form->GetBorderStyle(), ui::BorderStyle::Single);
  EXPECT_EQ(form->GetWindowState(), ui::WindowState::Normal);
}

}  // namespace
