// The window: both builds' texts, the page flow, the language switch and the close question.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/text.h"
#include "support/display.h"
#include "support/screen.h"
#include "support/title_look.h"
#include "support/window_driver.h"
#include "ui/application.h"
#include "ui/text_ink.h"
#include "uninstaller_fixture.h"

using uninstaller::kEncyclopaediaUninstall;
using uninstaller::kManagerUninstall;
using uninstaller::TForm1;

namespace uninstaller_tests {
namespace {

using WindowTest = UninstallerTest;

TEST_F(WindowTest, EachBuildShowsItsOwnProduct) {
  struct Case {
    const uninstaller::UninstallProductData* data;
    const char* captionEnglish;
    const char* captionPolish;
    const char* title;
    const char* welcomeEnglish;
    const char* welcomePolish;
  };
  const Case cases[] = {
      {&kManagerUninstall, "Tarnholm Manager - Deinstaller v1.0",
       "Tarnholm Manager - Deinstalator v1.0", "Tarnholm Manager 1.0",
       "This wizard will guide you through the uninstallation of Tarnholm Manager.",
       "Ten program pomoże ci usunąć Tarnholm Manager."},
      {&kEncyclopaediaUninstall, "Tarnholm Encyclopaedia - Deinstaller v1.0",
       "Tarnholm Encyclopaedia - Deinstalator v1.0", "Tarnholm Encyclopaedia v3.0",
       "This wizard will guide you through the uninstallation of Tarnholm Encyclopaedia.",
       "Ten program pomoże ci usunąć Tarnholm Encyclopaedia."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    TForm1& form = MakeForm(*c.data);
    EXPECT_EQ(form.Caption(), c.captionEnglish);
    EXPECT_EQ(form.TitleLabel.Caption(), c.title);
    EXPECT_EQ(form.TextLabel1.Caption(), c.welcomeEnglish);
    form.Polski1.Click();
    EXPECT_EQ(form.Caption(), c.captionPolish);
    EXPECT_EQ(form.TitleLabel.Caption(), c.title) << "never translated";
    EXPECT_EQ(form.TextLabel1.Caption(), c.welcomePolish);
    form.English1.Click();
    EXPECT_EQ(form.Caption(), c.captionEnglish);
    EXPECT_EQ(form.TextLabel1.Caption(), c.welcomeEnglish);
    ui::Application::Instance().Reset();
  }
}

// The pages, the two wizard buttons and the boxes through both switches, before and after the
// removal. Steps run in order on one window.
TEST_F(WindowTest, PageFlowAndCaptionsFollowTheLanguage) {
  std::string folder = temp / "Tarnholm Manager\\";
  CreateDirectoryW(platform::Widen(folder).c_str(), nullptr);
  WriteRecords(registry, shared::kManager, folder);
  TForm1& form = MakeForm(kManagerUninstall);
  form.Show();
  enum Action { Start, Polish, English, Next };
  struct Step {
    Action action;
    bool welcomePage;
    const char* next;
    const char* cancel;
    const char* language;
    const char* box;  // the box that the step shows, if any
  };
  const char* finishedEnglish = "The uninstallation has finished. You may close this program.";
  const char* finishedPolish = "Deinstalacja zakończona pomyślnie. Można już zamknąć ten program.";
  const Step steps[] = {
      {Start, true, "Next >", "Cancel", "English", nullptr},
      {Polish, true, "Dalej >", "Anuluj", "Polski", nullptr},
      {Next, false, "Odinstaluj", "Anuluj", "Polski", nullptr},
      {English, false, "Uninstall", "Cancel", "English", nullptr},
      {Next, false, "Uninstall", "Finish", "English", finishedEnglish},
      {Polish, false, "Odinstaluj", "Skończ", "Polski", nullptr},
      {Next, false, "Odinstaluj", "Skończ", "Polski", finishedPolish},
      {English, false, "Uninstall", "Finish", "English", nullptr},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    const Step& s = steps[i];
    SCOPED_TRACE("step " + std::to_string(i));
    dialogs.boxes.clear();
    if (s.action == Polish) form.Polski1.Click();
    if (s.action == English) form.English1.Click();
    if (s.action == Next) form.NextButton.Click();
    EXPECT_EQ(form.Panel1.Visible(), s.welcomePage);
    EXPECT_EQ(form.Panel2.Visible(), !s.welcomePage);
    EXPECT_EQ(form.NextButton.Caption(), s.next);
    EXPECT_TRUE(form.NextButton.Enabled());
    EXPECT_EQ(form.CancelButton.Caption(), s.cancel);
    EXPECT_EQ(form.LangButton.Caption(), s.language);
    if (s.box) {
      ASSERT_EQ(dialogs.boxes.size(), 1u);
      EXPECT_EQ(dialogs.boxes[0].text, s.box);
      EXPECT_EQ(dialogs.boxes[0].caption, "");
      EXPECT_EQ(dialogs.boxes[0].flags, unsigned(MB_ICONINFORMATION | MB_OK));
      EXPECT_EQ(dialogs.boxes[0].owner, form.Handle());
    } else {
      EXPECT_TRUE(dialogs.boxes.empty());
    }
  }
}

TEST_F(WindowTest, LanguageSwitchRewritesTheTranslatedTexts) {
  TForm1& form = MakeForm(kManagerUninstall);
  EXPECT_EQ(form.WindowButton.Hint(), "Full Screen/Window") << "the design's own spelling";
  struct Text {
    const ui::Control* control;
    bool hint;
    const char* english;
    const char* polish;
  };
  const Text texts[] = {
      {&form.LangButton, false, "English", "Polski"},
      {&form.WindowButton, true, "Full screen/Window", "Pełen ekran/Okno"},
      {&form.CloseButton, true, "Close", "Zamknij"},
      {&form.TextLabel2, false,
       "It is recommended that you close applications before starting this uninstallation.",
       "Zalecane jest zamknięcie programów przed rozpoczęciem deinstalacji."},
      {&form.TextLabel3, false, "Click Next to continue.", "Kliknij Dalej aby kontynuować."},
      {&form.OutputLabel, false, "Path:", "Ścieżka:"},
      {&form.ProgressLabel, false, "Progress:", "Postęp:"},
      {&form.UninstallLabel1, false,
       "Click on the Uninstall button to begin the uninstallation process.",
       "Kliknij Odinstaluj aby rozpocząć proces usuwania."},
  };
  form.DirEdit.SetText("C:\\Gry\\");
  form.NameLabel1.SetCaption("C:\\Gry\\a.txt");
  for (bool polish : {true, false, true}) {
    SCOPED_TRACE(polish ? "Polish" : "English");
    (polish ? form.Polski1 : form.English1).Click();
    EXPECT_EQ(form.Polski1.Enabled(), !polish);
    EXPECT_EQ(form.English1.Enabled(), polish);
    for (const Text& t : texts) {
      SCOPED_TRACE(t.control->Name());
      EXPECT_EQ(t.hint ? t.control->Hint() : t.control->Caption(), polish ? t.polish : t.english);
    }
    EXPECT_EQ(form.DirEdit.Text(), "C:\\Gry\\");
    EXPECT_EQ(form.NameLabel1.Caption(), "C:\\Gry\\a.txt");
    EXPECT_EQ(form.Polski1.Caption(), "Polski");
    EXPECT_EQ(form.English1.Caption(), "English");
  }
}

// Every way of closing asks first; only a Yes after the removal leaves the batch behind.
TEST_F(WindowTest, CloseAsksAndWritesTheBatchOnlyAfterTheRemoval) {
  enum Way { CancelButton, CloseButton, TitleBar };
  struct Case {
    Way way;
    bool polish;
    bool removed;
    int answer;
  };
  const Case cases[] = {
      {CancelButton, false, false, IDNO}, {CancelButton, false, false, IDYES},
      {CloseButton, true, false, IDYES},  {TitleBar, false, true, IDNO},
      {CancelButton, false, true, IDYES}, {CloseButton, true, true, IDYES},
  };
  for (const Case& c : cases) {
    const char* ways[] = {"Cancel", "Close button", "title bar"};
    SCOPED_TRACE(ways[c.way] + std::string(c.polish ? " Polish" : " English") +
                 (c.removed ? " removed" : " not removed") + (c.answer == IDYES ? " Yes" : " No"));
    // Each close writes its batch into a temporary folder of its own.
    testing_support::TempDir caseTemp;
    EnvironmentOverride caseTmp("TMP", caseTemp.Path());
    TForm1& form = MakeForm(kManagerUninstall);
    form.Show();
    if (c.polish) form.Polski1.Click();
    form.NextButton.Click();
    if (c.removed) form.NextButton.Click();
    dialogs.boxes.clear();
    dialogs.Answer({c.answer});
    if (c.way == CancelButton) form.CancelButton.Click();
    if (c.way == CloseButton) form.CloseButton.Click();
    if (c.way == TitleBar) form.Close();
    ASSERT_EQ(dialogs.boxes.size(), 1u) << dialogs.boxes.back().text;
    EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Confirm);
    EXPECT_EQ(dialogs.boxes[0].caption, "Confirm");
    EXPECT_EQ(dialogs.boxes[0].text, c.polish
                                         ? "Na pewno zakończyć deinstalację?"
                                         : "Are you sure you want to quit the deinstallation?");
    bool closed = c.answer == IDYES;
    EXPECT_EQ(form.Visible(), !closed);
    EXPECT_EQ(ui::Application::Instance().Terminated(), closed);
    ui::Application::Instance().Reset();
    EXPECT_EQ(AwaitSelfRemoval(caseTemp.Path()), closed && c.removed);
  }
}

// Without a window: a shown menu would wait for the user.
TEST_F(WindowTest, WindowButtonTogglesFullScreenAndTheMenuOpensAboveTheButtons) {
  TForm1& form = MakeForm(kManagerUninstall);
  form.LangButton.Click();
  EXPECT_EQ(form.PopupMenu1.LastPopupPoint(), form.ClientToScreen({8, 375}));
  form.WindowButton.Click();
  EXPECT_EQ(form.GetBorderStyle(), ui::BorderStyle::None);
  EXPECT_EQ(form.GetWindowState(), ui::WindowState::Maximized);
  form.WindowButton.Click();
  EXPECT_EQ(form.GetBorderStyle(), ui::BorderStyle::Single);
  EXPECT_EQ(form.GetWindowState(), ui::WindowState::Normal);
}

// With no record the player types the folder: the keystrokes reach the field whole (a character
// beyond the basic plane comes as two) and the removal empties the folder typed.
TEST_F(WindowTest, ATypedFolderIsTheOneEmptied) {
  SKIP_WITHOUT_DISPLAY();
  std::string folder = temp / "Gra łódź \U0001F3AE\\Tarnholm Manager\\";
  CreateDirectoryW(platform::Widen(temp / "Gra łódź \U0001F3AE").c_str(), nullptr);
  CreateDirectoryW(platform::Widen(folder).c_str(), nullptr);
  testing_support::WriteFileBytes(folder + "THManager.exe", "MZ");
  TForm1& form = MakeForm(kManagerUninstall);
  form.Show();
  ASSERT_TRUE(form.HandleAllocated());
  form.NextButton.Click();
  testing_support::TypeText(form.DirEdit.Handle(), folder + "x\b");
  EXPECT_EQ(testing_support::WindowText(form.DirEdit.Handle()), folder);
  EXPECT_EQ(form.DirEdit.Text(), folder);
  dialogs.Answer({IDOK});
  form.NextButton.Click();
  EXPECT_FALSE(platform::FileExists(folder + "THManager.exe"));
}

using namespace testing_support;

// A window's place on the screen.
RECT ScreenRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

// The first and the last row of a window's part of the screen that hold a letter's ink.
std::pair<int, int> InkRows(HWND label) {
  RECT r = ScreenRect(label);
  ScreenPixels pixels = ScreenPixels::Settled(r);
  int first = -1, last = -1;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x)
      if (Dark(pixels.At(x, y))) {
        if (first < 0) first = r.top + y;
        last = r.top + y;
      }
  return {first, last};
}

// Opens the language menu of the real window and checks that both items show their flags.
void ExpectFlagsInLanguageMenu(HWND window, DWORD pid) {
  ClickButton(FindControl(window, "English"));
  ASSERT_TRUE(WaitFor([&] { return OpenMenus(pid).size() == 1; }));
  EXPECT_TRUE(WaitForColours(ScreenRect(OpenMenus(pid).front()), {RGB(200, 16, 46), RGB(220, 20, 60)}))
      << "the flags";
  PressKey(window, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return OpenMenus(pid).empty(); }));
}

// The real program on the display, in both builds and both languages: the title in bold with its
// underline ending with its letters, the welcome lines apart whatever their length, the folder
// box's right margin and its label shown whole.
TEST(RealUninstaller, ThePagesShowTheirTextsWholeAndApart) {
  SKIP_WITHOUT_DISPLAY();
  struct Case {
    const char* build;
    const char* caption;
    const char* title;
    bool polish;
    const char* lines[3];
  };
  const Case cases[] = {
      {"manager", "Tarnholm Manager - Deinstaller v1.0", "Tarnholm Manager 1.0", false,
       {"This wizard will guide you through the uninstallation of Tarnholm Manager.",
        "It is recommended that you close applications before starting this uninstallation.",
        "Click Next to continue."}},
      {"manager", "Tarnholm Manager - Deinstaller v1.0", "Tarnholm Manager 1.0", true,
       {"Ten program pomoże ci usunąć Tarnholm Manager.",
        "Zalecane jest zamknięcie programów przed rozpoczęciem deinstalacji.",
        "Kliknij Dalej aby kontynuować."}},
      {"encyclopaedia", "Tarnholm Encyclopaedia - Deinstaller v1.0", "Tarnholm Encyclopaedia v3.0", false,
       {"This wizard will guide you through the uninstallation of Tarnholm Encyclopaedia.",
        "It is recommended that you close applications before starting this uninstallation.",
        "Click Next to continue."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.build) + (c.polish ? " Polish" : " English"));
    testing_support::Process program(platform::ExeFolder() + "..\\bin\\" + c.build + "\\uninstall.exe");
    HWND window;
    ASSERT_TRUE(AwaitWindow(program, c.caption, window));
    RaiseOnDisplay(window);
    ASSERT_NO_FATAL_FAILURE(ExpectFlagsInLanguageMenu(window, program.Id()));
    if (c.polish) {
      ClickButton(FindControl(window, "English"));
      ASSERT_TRUE(WaitFor([&] { return OpenMenus(program.Id()).size() == 1; }));
      PressKey(window, VK_DOWN);  // Polski, the first item
      PressKey(window, VK_RETURN);
      ASSERT_TRUE(WaitFor([&] { return FindControl(window, "Dalej >") != nullptr; }));
    }

    HWND title = FindControl(window, c.title);
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(ShowsBoldUnderlined(title, c.title, {"Tahoma", -13}));

    // Between two lines at least a row's height stays blank, also under a line that wraps.
    std::pair<int, int> rows[3];
    for (int i = 0; i < 3; ++i) {
      HWND line = FindControl(window, c.lines[i]);
      ASSERT_NE(line, nullptr) << c.lines[i];
      rows[i] = InkRows(line);
    }
    for (int i = 1; i < 3; ++i) EXPECT_GE(rows[i].first - rows[i - 1].second, 15) << "above line " << i + 1;

    ClickButton(FindControl(window, c.polish ? "Dalej >" : "Next >"));
    ASSERT_TRUE(WaitFor([&] { return FindControl(window, c.polish ? "Odinstaluj" : "Uninstall") != nullptr; }));
    const char* path = c.polish ? "Ścieżka:" : "Path:";
    HWND label = FindControl(window, path);
    HWND edit = FindControlOfClass(window, "Edit");
    ASSERT_TRUE(label && edit);
    RECT box = ScreenRect(edit), labelRect = ScreenRect(label);
    // Every pixel of the label's letters shows before the box.
    HDC screen = GetDC(nullptr);
    ui::TextInk ink = ui::MeasureInk(screen, ui::FontHandle({"Tahoma", -11, true}), platform::Widen(path));
    ReleaseDC(nullptr, screen);
    RECT visible{labelRect.left, labelRect.top, std::min(labelRect.right, box.left), labelRect.bottom};
    ScreenPixels letters = ScreenPixels::Settled(visible);
    int shownInk = 0;
    for (int y = 0; y < letters.Height(); ++y)
      for (int x = 0; x < letters.Width(); ++x) shownInk += Dark(letters.At(x, y));
    EXPECT_EQ(shownInk, ink.pixels);
    EXPECT_LT(labelRect.left + ink.right, box.left);
    // Right of the box, up to the page's bevel, 9 columns of the page's white.
    RECT row = ScreenRect(GetParent(GetParent(edit)));
    int middle = (box.top + box.bottom) / 2;
    ScreenPixels across = ScreenPixels::Settled({row.left, middle, row.right, middle + 1});
    int margin = 0;
    while (margin < across.Width() && across.At(across.Width() - 1 - margin, 0) == RGB(255, 255, 255)) ++margin;
    EXPECT_EQ(margin, 9);

    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND confirm = WaitForWindow("Confirm", program.Id());
    ASSERT_NE(confirm, nullptr);
    ClickButton(FindControl(confirm, "&Yes"));
    EXPECT_TRUE(program.WaitForExit());
  }
}

}  // namespace
}  // namespace uninstaller_tests
