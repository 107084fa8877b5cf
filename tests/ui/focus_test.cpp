// The keyboard focus in real windows: graphic buttons never take it, and a page that hides or is
// disabled gives it up, so that no key is left with a window the user no longer sees.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "support/display.h"
#include "support/window_driver.h"
#include "ui/application.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/panel.h"
#include "ui/speed_button.h"

namespace {

using namespace testing_support;

class FocusForm : public ui::Form {
 public:
  FocusForm() : Form("FocusForm") {
    SetCaption("Focus");
    SetClientSize(300, 200);
    page.SetBounds(0, 0, 300, 150);
    box.SetBounds(10, 10, 120, 20);
    box.SetCaption("Accept");
    edit.SetBounds(10, 40, 120, 21);
    button.SetBounds(10, 160, 75, 25);
    button.SetCaption("Next >");
    button.OnClick = [this](ui::Object*) { ++clicks; };
  }
  ui::Panel page{this, "page"};
  ui::CheckBox box{&page, "box"};
  ui::Edit edit{&page, "edit"};
  ui::SpeedButton button{this, "button"};
  int clicks = 0;
};

class FocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    form.Show();
    ASSERT_TRUE(form.HandleAllocated());
    SetForegroundWindow(form.Handle());
  }
  void TearDown() override { ui::Application::Instance().ProcessMessages(); }
  // At a third or two thirds of its width: two clicks at one spot in a row make a double click.
  void ClickButtonByMouse(int third) {
    RECT r;
    GetClientRect(form.button.Handle(), &r);
    ClickMouse(form.button.Handle(), r.right * third / 3, r.bottom / 2);
  }
  FocusForm form;
};

TEST_F(FocusTest, AClickOnAGraphicButtonLeavesTheFocusWhereItWasAndNoKeyPressesIt) {
  int third = 1;
  for (ui::Control* control : {static_cast<ui::Control*>(&form.edit), static_cast<ui::Control*>(&form.box)}) {
    SCOPED_TRACE(control->Name());
    int before = form.clicks;
    SetFocus(control->Handle());
    ClickButtonByMouse(third++);
    EXPECT_EQ(form.clicks, before + 1) << "the mouse presses it";
    EXPECT_EQ(GetFocus(), control->Handle());
    // Keys sent to the button itself, as if it had the focus, press nothing either.
    for (UINT key : {VK_SPACE, VK_RETURN}) PressKey(form.button.Handle(), key);
    EXPECT_EQ(form.clicks, before + 1);
  }
  // The focus given to it by the program goes back where it came from.
  SetFocus(form.edit.Handle());
  SetFocus(form.button.Handle());
  EXPECT_EQ(GetFocus(), form.edit.Handle());
  EXPECT_EQ(GetWindowLongPtrW(form.button.Handle(), GWL_STYLE) & WS_TABSTOP, 0) << "Tab passes it by";
}

TEST_F(FocusTest, APageThatHidesOrIsDisabledGivesUpTheFocus) {
  SetFocus(form.box.Handle());
  form.page.Hide();
  EXPECT_EQ(GetFocus(), form.Handle());
  form.page.Show();
  SetFocus(form.edit.Handle());
  form.page.SetEnabled(false);
  EXPECT_EQ(GetFocus(), form.Handle());
  form.page.SetEnabled(true);
  // The form's keys still reach it: Tab leads to the first control, Space ticks the box.
  PressKeyOnKeyboard(form.Handle(), VK_TAB);
  EXPECT_EQ(GetFocus(), form.box.Handle());
  PressKeyOnKeyboard(form.Handle(), VK_SPACE);
  EXPECT_TRUE(form.box.Checked());
}

// A key for a check box whose page was hidden behind the form library's back (the focus stayed
// there): the system's dialog keys, left to themselves, search for its next control for ever.
// Here the key goes nowhere and the window answers. A hang would hold this thread, so another one
// ends the test program with a failure.
TEST_F(FocusTest, AKeyWithTheFocusInAHiddenPageHangsNothing) {
  std::atomic<bool> done{false};
  std::thread watchdog([&] {
    for (int i = 0; i < 300 && !done; ++i) Sleep(100);
    if (!done) {
      std::fprintf(stderr, "FAILED: the window hung on a key for a control in a hidden page\n");
      std::fflush(stderr);
      ExitProcess(1);
    }
  });
  SetFocus(form.box.Handle());
  ShowWindow(form.page.Handle(), SW_HIDE);
  ASSERT_EQ(GetFocus(), form.box.Handle());
  PressKeyOnKeyboard(form.Handle(), VK_SPACE);
  done = true;
  watchdog.join();
  EXPECT_FALSE(form.box.Checked()) << "the hidden box was ticked";
  EXPECT_EQ(GetFocus(), form.Handle());
  ShowWindow(form.page.Handle(), SW_SHOW);
}

}  // namespace
