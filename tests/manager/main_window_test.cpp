// The main window's own buttons, its dialogs' opening rule, the language switch and the close
// question.
#include <gtest/gtest.h>

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
  EXPECT_TRUE(dialogs.boxes.size() == 1) << "only the start's game-missing box; a toggle shows none";
}

TEST_F(ManagerTest, ALanguageSwitchRewritesTheCaptionsAndSavesTheChoice) {
  manager::TAppForm1& main = Start();
  EXPECT_EQ(main.Languages1.Caption(), "Languages");
  main.Polski1.Click();
  EXPECT_FALSE(main.Polski1.Enabled());
  EXPECT_TRUE(main.English1.Enabled());
  EXPECT_EQ(main.SpeedButton1.Caption(), "Uruchom Grę Tarnholm");
  EXPECT_EQ(main.SpeedButton2.Caption(), "Mod Launcher");
  EXPECT_EQ(main.Tools1.Caption(), "Narzędzia");
  EXPECT_EQ(main.CloseButton.Hint(), "Zamknij");
  EXPECT_NE(Settings().find("Language=Polski"), std::string::npos);

  main.English1.Click();
  EXPECT_EQ(main.Languages1.Caption(), "Language");
  EXPECT_EQ(main.WindowButton.Hint(), "Full screen/Window");
  EXPECT_NE(Settings().find("Language=English"), std::string::npos);
}

TEST_F(ManagerTest, AnUnwritableSettingsFileStopsTheSwitchBeforeAnythingChanges) {
  SetGameFolder();
  manager::TAppForm1& main = Start();
  // A folder in the file's place cannot be written, also for an administrator.
  ASSERT_TRUE(CreateDirectoryA(manager::SettingsFile().c_str(), nullptr));
  main.Polski1.Click();
  RemoveDirectoryA(manager::SettingsFile().c_str());
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Unable to write to " + manager::SettingsFile()});
  EXPECT_FALSE(main.English1.Enabled());
  EXPECT_EQ(main.File1.Caption(), "File");
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
