// The same model drives real windows when there is a display.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/display.h"
#include "support/scripted_dialogs.h"
#include "support/wait.h"
#include "support/window_driver.h"
#include "ui/application.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/panel.h"

namespace {

class NativeForm : public ui::Form {
 public:
  NativeForm() : Form("NativeForm") {
    SetCaption("Zażółć gęślą jaźń");
    SetClientSize(300, 200);
    SetMenu(&menu);
    panel.SetAlign(ui::Align::Client);
    edit.SetBounds(10, 10, 100, 21);
    memo.SetBounds(10, 70, 200, 60);
    label.SetCaption("Ćma");
  }
  ui::Panel panel{this, "panel"};
  ui::Edit edit{&panel, "edit"};
  ui::Label label{&panel, "label", 10, 40};
  ui::Memo memo{&panel, "memo"};
  ui::MainMenu menu{"menu"};
  ui::MenuItem file{&menu, "file", "File"};
  ui::MenuItem open{&file, "open", "Open"};
};

std::wstring WindowText(HWND h) {
  wchar_t buffer[256] = L"";
  GetWindowTextW(h, buffer, 256);
  return buffer;
}

class NativeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    form.Show();
    ASSERT_TRUE(form.HandleAllocated());
  }
  NativeForm form;
  testing_support::ScriptedDialogs dialogs;
};

TEST_F(NativeTest, TheWindowMirrorsTheModelInUnicode) {
  EXPECT_EQ(WindowText(form.Handle()), L"Zażółć gęślą jaźń");
  EXPECT_TRUE(IsWindowVisible(form.edit.Handle()));
  RECT rc;
  GetClientRect(form.Handle(), &rc);
  EXPECT_EQ(rc.right, ui::Scale(300));
  EXPECT_EQ(rc.bottom, ui::Scale(200));
  EXPECT_GT(form.label.Width(), 0) << "a label sizes itself to its text";
  form.edit.SetText("Łódź");
  EXPECT_EQ(WindowText(form.edit.Handle()), L"Łódź");
}

TEST_F(NativeTest, TextTypedIntoTheWindowReachesTheModel) {
  int changes = 0;
  form.edit.OnChange = [&](ui::Object*) { ++changes; };
  SetWindowTextW(form.edit.Handle(), L"Kraków");
  EXPECT_EQ(form.edit.Text(), "Kraków");
  EXPECT_EQ(changes, 1);
}

TEST_F(NativeTest, TypedTextArrivesWholeInEveryKindOfEditBox) {
  // The filter sees typed characters only: digits are refused, "ą" becomes "Ą".
  auto filter = [](ui::Object*, wchar_t& key) {
    if (key >= L'0' && key <= L'9') key = 0;
    if (key == L'ą') key = L'Ą';
  };
  for (ui::Edit* edit : {&form.edit, static_cast<ui::Edit*>(&form.memo)}) {
    SCOPED_TRACE(edit->Name());
    edit->OnKeyPress = filter;
    edit->SetText("");
    testing_support::TypeText(edit->Handle(), "C:\\Gamess\b1 Żółwią");
    EXPECT_EQ(WindowText(edit->Handle()), L"C:\\Games ŻółwiĄ");
    EXPECT_EQ(edit->Text(), "C:\\Games ŻółwiĄ");
    // A text set by the program still reaches the window, and typing goes on after it.
    edit->SetText("Łódź");
    SendMessageW(edit->Handle(), EM_SETSEL, 4, 4);
    testing_support::TypeText(edit->Handle(), "!");
    EXPECT_EQ(WindowText(edit->Handle()), L"Łódź!");
    EXPECT_EQ(edit->Text(), "Łódź!");
  }
  // Set in one go, the text is not filtered.
  SetWindowTextW(form.edit.Handle(), L"12");
  EXPECT_EQ(form.edit.Text(), "12");
}

// Keys as a keyboard sends them: a character beyond the basic plane as two halves, one after the
// other. The box keeps each half where it was typed, the caret after it, and the model follows.
TEST_F(NativeTest, TheKeyboardTypesACharacterBeyondTheBasicPlaneWholeIntoEveryKindOfEditBox) {
  for (ui::Edit* edit : {&form.edit, static_cast<ui::Edit*>(&form.memo)}) {
    SCOPED_TRACE(edit->Name());
    std::vector<std::string> seen;
    edit->OnChange = [&](ui::Object*) { seen.push_back(edit->Text()); };
    EXPECT_TRUE(testing_support::TypedAs(edit->Handle(), L"x\U0001D11Ey", L"x\U0001D11Ey", edit));
    EXPECT_EQ(seen.back(), "x\U0001D11Ey");
    EXPECT_TRUE(testing_support::TypedAs(edit->Handle(), L"\xD834", L"x\U0001D11Ey\xD834", edit))
        << "a half alone stays as typed";
    EXPECT_TRUE(testing_support::TypedAs(edit->Handle(), L"\xDD1Ez", L"x\U0001D11Ey\U0001D11Ez", edit))
        << "its other half makes it whole";
    // Backspace: Windows' box takes a pair whole, Wine's takes its last half and leaves the first
    // alone in the box. Either way the model holds what the box holds, half and all.
    for (int press = 0; press < 2; ++press) {
      std::wstring before = WindowText(edit->Handle());
      testing_support::PressKeyOnKeyboard(GetAncestor(edit->Handle(), GA_ROOT), VK_BACK);
      EXPECT_TRUE(testing_support::WaitFor([&] { return WindowText(edit->Handle()).size() < before.size(); }));
      EXPECT_EQ(platform::Widen(edit->Text()), WindowText(edit->Handle()));
    }
    edit->SetText("x\U0001D11E");
    edit->Type("\b");
    EXPECT_EQ(edit->Text(), "x") << "the model's Backspace takes a pair whole, as Windows' box does";
    edit->OnChange = nullptr;
  }
}

TEST(NativeLateTest, AHiddenPageGetsItsWindowsWhenShownInCreationOrder) {
  SKIP_WITHOUT_DISPLAY();
  NativeForm form;
  ui::Panel page{&form.panel, "page"};
  ui::Edit first{&page, "first"}, second{&page, "second"};
  ui::Edit after{&form.panel, "after"};
  page.SetBounds(10, 140, 200, 30);
  page.Hide();
  form.Show();
  ASSERT_TRUE(form.HandleAllocated());
  EXPECT_EQ(page.Handle(), nullptr) << "nothing made for what is not shown";
  EXPECT_EQ(first.Handle(), nullptr);
  first.SetText("Łódź");
  page.Show();
  ASSERT_NE(first.Handle(), nullptr);
  ASSERT_NE(second.Handle(), nullptr);
  EXPECT_EQ(WindowText(first.Handle()), L"Łódź");
  EXPECT_TRUE(IsWindowVisible(second.Handle()));
  // The page sits where it was created: after the memo, before the edit created after it.
  EXPECT_EQ(GetWindow(form.memo.Handle(), GW_HWNDNEXT), page.Handle());
  EXPECT_EQ(GetWindow(page.Handle(), GW_HWNDNEXT), after.Handle());
  EXPECT_EQ(GetWindow(first.Handle(), GW_HWNDNEXT), second.Handle());
}

TEST_F(NativeTest, AMemosLinesFollowWhatIsTypedIntoItsWindow) {
  form.memo.AddLine("Log");
  form.memo.AddLine("");
  SendMessageW(form.memo.Handle(), EM_SETSEL, 5, 5);
  testing_support::TypeText(form.memo.Handle(), "Łódź");
  EXPECT_EQ(WindowText(form.memo.Handle()), L"Log\r\nŁódź");
  EXPECT_EQ(form.memo.Lines(), (std::vector<std::string>{"Log", "Łódź"}));
}

TEST_F(NativeTest, AMenuCommandFromTheWindowClicksTheItem) {
  int clicks = 0;
  form.open.OnClick = [&](ui::Object*) { ++clicks; };
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(form.open.Command(), 0), 0);
  EXPECT_EQ(clicks, 1);
}

// A menu command reaches the handler through the window procedure, which nothing may unwind.
TEST_F(NativeTest, AHandlerThatThrowsAnythingShowsTheErrorBoxAndTheWindowGoesOn) {
  int clicks = 0;
  form.open.OnClick = [&](ui::Object*) {
    if (++clicks == 1) throw 42;
  };
  UINT command = GetMenuItemID(GetSubMenu(GetMenu(form.Handle()), 0), 0);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(dialogs.boxes[0].text, ui::Application::kUnknownError);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST_F(NativeTest, ChangedMenuItemsReachTheBarMeasuredAnewOnceTheMessageLoopRuns) {
  HWND window = form.Handle();
  auto text = [](HMENU menu) {
    wchar_t buffer[64] = L"";
    GetMenuStringW(menu, 0, buffer, 64, MF_BYPOSITION);
    return std::wstring(buffer);
  };
  auto width = [&] {
    RECT r{};
    GetMenuItemRect(window, GetMenu(window), 0, &r);
    return r.right - r.left;
  };
  int before = width();
  form.file.SetCaption("Plik i więcej");
  form.open.SetCaption("Otwórz");
  form.open.SetEnabled(false);
  ASSERT_TRUE(testing_support::WaitFor([&] { return text(GetMenu(window)) == L"Plik i więcej"; }));
  HMENU file = GetSubMenu(GetMenu(window), 0);
  EXPECT_EQ(text(file), L"Otwórz");
  EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_GT(width(), before);
}

TEST_F(NativeTest, TheCloseBoxRunsTheCloseQuestion) {
  int asked = 0;
  form.OnCloseQuery = [&](ui::Object*, bool& canClose) {
    ++asked;
    canClose = false;
  };
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(IsWindow(form.Handle()));
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

}  // namespace
