// What the keyboard types into the manager's edit boxes.
#include <gtest/gtest.h>

#include <functional>

#include "manager/folder_form.h"
#include "manager/game_form.h"
#include "manager/ip_form.h"
#include "manager/res_form.h"
#include "manager/path_form.h"
#include "manager_fixture.h"
#include "support/display.h"

namespace {

using EditBoxes = ManagerTest;

// A character beyond the basic plane comes from the keyboard as two halves: each box takes it whole,
// the caret after it, or (a box that takes digits only) refuses both halves.
TEST_F(EditBoxes, EachTakesACharacterBeyondTheBasicPlaneWholeFromTheKeyboard) {
  SKIP_WITHOUT_DISPLAY();
  SetGameFolder();
  manager::TAppForm1& main = Start();
  main.NewFolder1.Click();
  main.SpeedButton1.Click();
  manager::Slots().GameForm2->SpeedButton7.Click();
  manager::Slots().GameForm2->SpeedButton9.Click();
  using manager::Slots;
  struct Case {
    const char* name;
    std::function<ui::Edit&()> box;
    const wchar_t* keys;
    const wchar_t* kept;
  };
  const Case cases[] = {
      {"new folder", [] () -> ui::Edit& { return Slots().FolderForm5->FolderNameEdit; }, L"x\U0001D11Ey",
       L"x\U0001D11Ey"},
      {"address", [] () -> ui::Edit& { return Slots().IPForm3->IPEdit1; }, L"10.\U0001D11E0.1", L"10.0.1"},
      {"width", [] () -> ui::Edit& { return Slots().ResForm4->WidthEdit1; }, L"80\U0001D11E0", L"800"},
      {"height", [] () -> ui::Edit& { return Slots().ResForm4->HeightEdit2; }, L"\U0001D11E600", L"600"},
      // The prompt stays on top of the others: it comes last.
      {"game folder",
       [] () -> ui::Edit& {
         manager::GameMissingPrompt();
         return Slots().SciezkaForm9->SciezkaEdit1;
       },
       L"C:\\Gry \U0001F3AE", L"C:\\Gry \U0001F3AE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui::Edit& box = c.box();
    ASSERT_TRUE(box.HandleAllocated());
    EXPECT_TRUE(testing_support::TypedAs(box.Handle(), c.keys, c.kept, &box));
  }
}

}  // namespace
