// The main window's own buttons, its dialogs' opening rule and the close question.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "manager/game_form.h"
#include "manager_fixture.h"
#include "ui/application.h"

namespace {

TEST_F(ManagerTest, ADialogIsBroughtBackWhileOpenAndMadeAfreshAfterAClose) {
  manager::TAppForm1& main = Start();
  manager::TGameForm2* startInstance = manager::Slots().GameForm2;
  main.SpeedButton1.Click();
  manager::TGameForm2* opened = manager::Slots().GameForm2;
  EXPECT_NE(opened, startInstance);
  EXPECT_TRUE(opened->Visible());
  EXPECT_FALSE(startInstance->Visible()) << "the instance made at start is never shown";

  main.SpeedButton1.Click();
  EXPECT_EQ(manager::Slots().GameForm2, opened);

  opened->Close();
  EXPECT_FALSE(opened->Visible());
  main.SpeedButton1.Click();
  EXPECT_NE(manager::Slots().GameForm2, opened);
  EXPECT_TRUE(manager::Slots().GameForm2->Visible());
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
