// The check-list box: a check per row, toggled by a click on its box or the space bar.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/display.h"
#include "support/scripted_dialogs.h"
#include "support/window_driver.h"
#include "ui/application.h"
#include "ui/check_list_box.h"
#include "ui/form.h"

namespace {

class ListForm : public ui::Form {
 public:
  ListForm() : Form("ListForm") {
    SetClientSize(200, 120);
    list.SetBounds(10, 10, 180, 100);
    list.SetItems({"English", "Czech (Česky)", "Polish (Polski)"});
    list.OnClickCheck = [this](ui::Object*) {
      events.push_back({list.ItemIndex(), list.Checked(0), list.Checked(1), list.Checked(2)});
    };
  }
  struct Event {
    int selected;
    bool c0, c1, c2;
    bool operator==(const Event&) const = default;
  };
  ui::CheckListBox list{this, "list"};
  std::vector<Event> events;
};

class CheckListBoxTest : public ::testing::Test {
 protected:
  ListForm form;
  testing_support::ScriptedDialogs dialogs;
};

TEST_F(CheckListBoxTest, AClickOnABoxSelectsTheRowTogglesItAndThenReportsIt) {
  form.list.ClickCheck(1);
  form.list.ClickCheck(2);
  form.list.ClickCheck(2);
  using E = ListForm::Event;
  EXPECT_EQ(form.events, (std::vector<E>{{1, false, true, false}, {2, false, true, true}, {2, false, true, false}}));
}

TEST_F(CheckListBoxTest, TheSpaceBarTogglesTheSelectedRowAndNothingWithoutOne) {
  form.list.PressSpace();
  EXPECT_TRUE(form.events.empty());
  form.list.SetItemIndex(0);
  form.list.PressSpace();
  EXPECT_TRUE(form.list.Checked(0));
  EXPECT_EQ(form.events.size(), 1u);
}

TEST_F(CheckListBoxTest, ChecksSetByTheProgramRaiseNoEventAndADisabledListIgnoresTheUser) {
  form.list.SetChecked(2, true);
  EXPECT_TRUE(form.list.Checked(2));
  form.list.SetEnabled(false);
  form.list.ClickCheck(0);
  EXPECT_FALSE(form.list.Checked(0));
  EXPECT_TRUE(form.events.empty());
}

TEST_F(CheckListBoxTest, TheMouseAndTheKeyboardWorkTheRealWindow) {
  SKIP_WITHOUT_DISPLAY();
  form.Show();
  ASSERT_TRUE(form.list.HandleAllocated());
  HWND h = form.list.Handle();
  EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 3);
  wchar_t text[64] = L"";
  SendMessageW(h, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"Czech (Česky)");

  RECT row;
  SendMessageW(h, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  int middle = (row.top + row.bottom) / 2;
  // A click on the text selects the row only; a click on its box ticks it.
  testing_support::ClickMouse(h, row.left + ui::Scale(100), middle);
  EXPECT_EQ(form.list.ItemIndex(), 1);
  EXPECT_TRUE(form.events.empty());
  testing_support::ClickMouse(h, row.left + ui::Scale(5), middle);
  using E = ListForm::Event;
  EXPECT_EQ(form.events, (std::vector<E>{{1, false, true, false}}));

  // The arrow key moves the selection, the space bar toggles the row it is on.
  SetFocus(h);
  testing_support::PressKey(h, VK_DOWN);
  EXPECT_EQ(form.list.ItemIndex(), 2);
  testing_support::PressKey(h, VK_SPACE);
  EXPECT_EQ(form.events.back(), (E{2, false, true, true}));
  EXPECT_EQ(form.events.size(), 2u);
}

}  // namespace
