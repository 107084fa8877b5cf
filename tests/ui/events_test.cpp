#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "platform/error.h"
#include "platform/text.h"
#include "support/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/speed_button.h"

using testing_support::ScriptedDialogs;

namespace {

class EventsTest : public ::testing::Test {
 protected:
  void TearDown() override { ui::Application::Instance().Reset(); }
  ScriptedDialogs dialogs;
};

class SampleForm : public ui::Form {
 public:
  SampleForm() : Form("SampleForm") {}
  ui::Edit edit{this, "edit"};
  ui::CheckBox check{this, "check"};
  ui::SpeedButton button{this, "button"};
  ui::MainMenu menu{"menu"};
  ui::MenuItem item{&menu, "item", "Item"};
};

TEST_F(EventsTest, EditRunsOnChangeForEveryRealChange) {
  SampleForm f;
  std::vector<std::string> seen;
  f.edit.OnChange = [&](ui::Object*) { seen.push_back(f.edit.Text()); };
  f.edit.SetText("c");
  f.edit.SetText("c");  // the same text is no change
  f.edit.Type("d\b:");
  EXPECT_EQ(seen, (std::vector<std::string>{"c", "cd", "c", "c:"}));
}

TEST_F(EventsTest, KeyPressCanRefuseATypedCharacter) {
  SampleForm f;
  f.edit.OnKeyPress = [](ui::Object*, wchar_t& key) {
    if (key != L'\b' && (key < L'0' || key > L'9')) key = 0;
  };
  f.edit.Type("1a2 ;\b3");
  EXPECT_EQ(f.edit.Text(), "13");
}

// A character beyond the basic plane comes as two halves, as from a keyboard: the filter sees each,
// and the text holds the character whole; a half typed alone stays as typed.
TEST_F(EventsTest, TypingTakesACharacterBeyondTheBasicPlaneWhole) {
  SampleForm f;
  std::wstring keys;
  f.edit.OnKeyPress = [&](ui::Object*, wchar_t& key) { keys += key; };
  f.edit.Type("x\U0001D11Ey");
  EXPECT_EQ(keys, L"x\xD834\xDD1Ey");
  EXPECT_EQ(f.edit.Text(), "x\U0001D11Ey");
  f.edit.SetText("");
  f.edit.Type(platform::Narrow(L"a\xD834"));
  EXPECT_EQ(platform::Widen(f.edit.Text()), L"a\xD834");
  f.edit.Type(platform::Narrow(L"\xDD1E"));
  EXPECT_EQ(f.edit.Text(), "a\U0001D11E") << "the other half makes it whole";
}

TEST_F(EventsTest, CheckBoxReportsEachChangeOfItsTickAndIgnoresClicksWhileDisabled) {
  SampleForm f;
  int clicks = 0;
  f.check.OnClick = [&](ui::Object*) { ++clicks; };
  f.check.Click();
  f.check.SetChecked(true);  // no change
  f.check.SetChecked(false);
  f.check.SetEnabled(false);
  f.check.Click();
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(f.check.Checked());
}

TEST_F(EventsTest, AnErrorInAHandlerShowsTheErrorBoxAndTheProgramGoesOn) {
  struct Case {
    const char* what;
    std::function<void()> fail;
    std::string text;
  };
  const Case cases[] = {
      {"library error", [] { throw platform::Error("Resource THENC not found"); },
       "Resource THENC not found"},
      {"standard error", [] { throw std::out_of_range("index 7 out of range"); }, "index 7 out of range"},
      {"an int", [] { throw 42; }, ui::Application::kUnknownError},
      {"a text", [] { throw "plain text"; }, ui::Application::kUnknownError},
  };
  ui::Application::Instance().SetTitle("Sample Title");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedDialogs boxes;
    SampleForm f;
    int after = 0;
    f.button.OnClick = [&](ui::Object*) {
      c.fail();
      ++after;
    };
    f.item.OnClick = [&](ui::Object*) { ++after; };
    f.button.Click();
    f.item.Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, ui::BoxKind::Error);
    EXPECT_EQ(boxes.boxes[0].text, c.text);
    EXPECT_EQ(boxes.boxes[0].caption, "Sample Title");
    EXPECT_EQ(boxes.boxes[0].flags, static_cast<unsigned>(MB_ICONERROR | MB_OK));
    EXPECT_EQ(after, 1);
  }
}

// A form that frees itself on close goes once the handler that closed it has returned, not
// under it; a form released while no handler runs goes at once.
TEST_F(EventsTest, AReleasedFormIsFreedOnceTheOutermostHandlerHasReturned) {
  struct Tracked : SampleForm {
    explicit Tracked(bool& gone) : gone_(gone) {}
    ~Tracked() override { gone_ = true; }
    bool& gone_;
  };
  auto& app = ui::Application::Instance();
  app.CreateForm<SampleForm>();  // the main form
  bool gone = false, goneInHandler = true;
  Tracked* form = app.CreateForm<Tracked>(gone);
  form->OnClose = [](ui::Object*, ui::CloseAction& action) { action = ui::CloseAction::Free; };
  form->button.OnClick = [&](ui::Object*) {
    form->Close();
    form->button.SetCaption("still here");
    goneInHandler = gone;
  };
  form->Show();
  form->button.Click();
  EXPECT_FALSE(goneInHandler);
  EXPECT_TRUE(gone);

  gone = false;
  form = app.CreateForm<Tracked>(gone);
  app.Release(form);
  EXPECT_TRUE(gone);
}

TEST_F(EventsTest, AMemosLinesAreItsTextAlsoAfterTyping) {
  SampleForm f;
  ui::Memo memo{&f, "memo"};
  EXPECT_TRUE(memo.Lines().empty());
  memo.AddLine("Checking new version");
  memo.AddLine("Łódź");
  EXPECT_EQ(memo.Text(), "Checking new version\r\nŁódź");
  memo.Type("!\b\b");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"Checking new version", "Łód"}));
  memo.SetText("one\r\n\r\nthree\r\n");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"one", "", "three", ""}));
  memo.AddLine("five");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"one", "", "three", "", "five"}));
}

TEST_F(EventsTest, MenuItemsTickThemselvesAndDisabledOnesDoNothing) {
  SampleForm f;
  int clicks = 0;
  f.item.OnClick = [&](ui::Object*) { ++clicks; };
  f.item.SetAutoCheck(true);
  f.item.Click();
  EXPECT_TRUE(f.item.Checked());
  f.item.Click();
  EXPECT_FALSE(f.item.Checked());
  f.item.SetEnabled(false);
  f.item.Click();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(ui::MenuItem::FromCommand(f.item.Command()), &f.item);
}

TEST_F(EventsTest, CloseAsksTheQuestionAndTheMainFormEndsTheProgram) {
  auto& app = ui::Application::Instance();
  auto* main = app.CreateForm<SampleForm>();
  auto* other = app.CreateForm<SampleForm>();
  ASSERT_EQ(app.MainForm(), main);
  bool answer = false;
  for (auto* f : {main, other}) {
    f->OnCloseQuery = [&](ui::Object*, bool& canClose) { canClose = answer; };
    f->Show();
  }
  main->Close();
  EXPECT_TRUE(main->Visible());
  EXPECT_FALSE(app.Terminated());
  answer = true;
  other->Close();
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(app.Terminated());
  main->Close();
  EXPECT_TRUE(app.Terminated());
}

TEST_F(EventsTest, OnCreateRunsOnceTheDesignIsBuiltAndOnShowAtEachShowing) {
  struct Counting : SampleForm {
    Counting() {
      OnCreate = [this](ui::Object*) { created.push_back(edit.Name()); };
      OnShow = [this](ui::Object*) { ++shown; };
    }
    std::vector<std::string> created;
    int shown = 0;
  };
  auto* f = ui::Application::Instance().CreateForm<Counting>();
  EXPECT_EQ(f->created, std::vector<std::string>{"edit"});
  f->Show();
  f->Show();
  f->Hide();
  f->Show();
  EXPECT_EQ(f->shown, 2);
}

}  // namespace
