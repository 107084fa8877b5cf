// The main window's own buttons, its dialogs' opening rule and the close question.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "manager/author_form.h"
#include "manager/folder_form.h"
#include "manager/game_form.h"
#include "manager/ip_form.h"
#include "manager/lang_form.h"
#include "manager/path_form.h"
#include "manager/program_form.h"
#include "manager/res_form.h"
#include "manager_fixture.h"
#include "support/display.h"
#include "support/footprint.h"
#include "ui/application.h"

namespace {

TEST_F(ManagerTest, ADialogIsBroughtBackWhileOpenAndMadeAfreshAfterAClose) {
  manager::TAppForm1& main = Start();
  manager::TGameForm2* startInstance = manager::Slots().GameForm2;
  EXPECT_FALSE(startInstance->Visible()) << "the instance made at start is never shown";
  main.SpeedButton1.Click();
  manager::TGameForm2* opened = manager::Slots().GameForm2;
  EXPECT_NE(opened, startInstance);
  EXPECT_TRUE(opened->Visible());

  main.SpeedButton1.Click();
  EXPECT_EQ(manager::Slots().GameForm2, opened);

  opened->Close();
  EXPECT_FALSE(opened->Visible());
  main.SpeedButton1.Click();
  EXPECT_NE(manager::Slots().GameForm2, opened);
  EXPECT_TRUE(manager::Slots().GameForm2->Visible());
}

// A dialog that an opening replaces goes with its windows, so a manager used all day does not
// creep towards the system's limit of user objects: each dialog opened and closed 500 times,
// counted by the system after every close.
TEST_F(ManagerTest, DialogsOpenedAndClosedAgainAndAgainHoldNoMoreWindowsOrMemory) {
  SKIP_WITHOUT_DISPLAY();
  SetGameFolder();
  manager::TAppForm1& main = Start();
  ASSERT_TRUE(main.HandleAllocated());
  manager::Windows& w = manager::Slots();
  struct Opener {
    const char* name;
    std::function<ui::Form*()> open;
  };
  const Opener openers[] = {
      {"game start", [&] { main.SpeedButton1.Click(); return w.GameForm2; }},
      {"join address", [&] { w.GameForm2->SpeedButton7.Click(); return w.IPForm3; }},
      {"resolution", [&] { w.GameForm2->SpeedButton9.Click(); return w.ResForm4; }},
      {"new folder", [&] { main.NewFolder1.Click(); return w.FolderForm5; }},
      {"game language", [&] { main.GameLanguage1.Click(); return w.LangForm6; }},
      {"author", [&] { main.Author1.Click(); return w.AuthorForm7; }},
      {"program", [&] { main.Program1.Click(); return w.AbProgramForm8; }},
      {"game folder", [&] { manager::OpenManagerDialog(w.SciezkaForm9); return w.SciezkaForm9; }},
  };
  constexpr int kOpeners = sizeof openers / sizeof openers[0];
  auto kept = testing_support::KeepsItsFootprint(500 * kOpeners, [&](int i) {
    const Opener& opener = openers[i % kOpeners];
    ui::Form* dialog = opener.open();
    ASSERT_TRUE(dialog->Visible()) << opener.name;
    ASSERT_NE(dialog->Handle(), nullptr) << opener.name;
    SendMessageW(dialog->Handle(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(dialog->Visible()) << opener.name;
  });
  EXPECT_TRUE(kept);
  EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.front().text;
}

TEST_F(ManagerTest, FullScreenHidesTheBarsAndTheWindowModeBringsThemBack) {
  manager::TAppForm1& main = Start();
  main.WindowButton.Click();
  EXPECT_EQ(main.GetBorderStyle(), ui::BorderStyle::None);
  EXPECT_EQ(main.GetWindowState(), ui::WindowState::Maximized);
  EXPECT_EQ(main.Menu(), nullptr);
  EXPECT_TRUE(main.MenuButton.Visible());
  EXPECT_FALSE(main.StatusBar1.Visible());
  EXPECT_EQ(main.Image2.Width(), main.TopPanel1.Width()) << "the banner spans the window";

  main.MenuButton.Click();
  EXPECT_EQ(main.Menu(), &main.MainMenu1);
  main.MenuButton.Click();
  EXPECT_EQ(main.Menu(), nullptr);

  main.WindowButton.Click();
  EXPECT_EQ(main.GetBorderStyle(), ui::BorderStyle::Single);
  EXPECT_EQ(main.GetWindowState(), ui::WindowState::Normal);
  EXPECT_EQ(main.Menu(), &main.MainMenu1) << "leaving full screen always brings the menu back";
  EXPECT_FALSE(main.MenuButton.Visible());
  EXPECT_TRUE(main.StatusBar1.Visible());
  EXPECT_EQ(main.Image2.Width(), 892);
  EXPECT_TRUE(dialogs.boxes.size() == 1) << "only the start's game-missing box; a toggle shows none";
}

// Every item under the menu bar, sub-menus' items included; separators left out.
void CollectItems(const ui::MenuItem& item, std::vector<const ui::MenuItem*>& items) {
  for (const ui::MenuItem* child : item.Items()) {
    if (!child->IsSeparator()) items.push_back(child);
    CollectItems(*child, items);
  }
}

TEST_F(ManagerTest, EveryMainMenuItemButTheFourViewStylesCarriesAPicture) {
  manager::TAppForm1& main = Start();
  std::vector<const ui::MenuItem*> items;
  for (const ui::MenuItem* menu : main.MainMenu1.Items()) CollectItems(*menu, items);
  ASSERT_EQ(items.size(), 28u);
  const std::vector<const ui::MenuItem*> views = {&main.Icon1, &main.List1, &main.Report1, &main.SmallIcon1};
  for (const ui::MenuItem* item : items) {
    bool view = std::find(views.begin(), views.end(), item) != views.end();
    EXPECT_EQ(static_cast<bool>(item->GetPicture()), !view) << item->Name();
  }
}

TEST_F(ManagerTest, TheCloseQuestionDecidesInTheActiveLanguage) {
  SetGameFolder();
  manager::TAppForm1& main = Start();
  dialogs.Answer({IDNO});
  main.CloseButton.Click();
  EXPECT_FALSE(ui::Application::Instance().Terminated());
  main.Polski1.Click();
  dialogs.Answer({IDYES});
  main.Close();
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[0].text, "Are you sure you want to quit the program?");
  EXPECT_EQ(dialogs.boxes[1].text, "Na pewno zakończyć program?");
  for (const auto& box : dialogs.boxes) {
    EXPECT_EQ(box.kind, ui::BoxKind::Confirm);
    EXPECT_EQ(box.caption, "Confirm");
  }
}

}  // namespace
