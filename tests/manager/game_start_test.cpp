// The game starts, through the real process start, with the command line of each start mode.
#include <gtest/gtest.h>

#include <algorithm>

#include "manager/game_form.h"
#include "manager/ip_form.h"
#include "manager/res_form.h"
#include "manager_fixture.h"
#include "platform/files.h"
#include "support/window_driver.h"

namespace {

struct SwitchCase {
  ui::SpeedButton manager::TGameForm2::*button;
  const char* tail;
};

const SwitchCase kSwitches[] = {
    {&manager::TGameForm2::SpeedButton2, "\\Tarn.exe\" Log"},
    {&manager::TGameForm2::SpeedButton3, "\\Tarn.exe\" Skip"},
    {&manager::TGameForm2::SpeedButton4, "\\Tarn.exe\" Window"},
    {&manager::TGameForm2::SpeedButton5, "\\Tarn.exe\" Devmode"},
    {&manager::TGameForm2::SpeedButton6, "\\Tarn.exe\" /H"},
    {&manager::TGameForm2::SpeedButton8, "\\Tarn.exe\" Animatecreditwater"},
    {&manager::TGameForm2::SpeedButton10, "\\Tarn.exe\" NoListing"},
};

class GameStart : public ManagerTest {
 protected:
  manager::TGameForm2& OpenGameDialog(const std::string& gameFolder) {
    manager::TAppForm1& main = Start();
    main.PathLabel.SetCaption(gameFolder);
    dialogs.boxes.clear();
    main.SpeedButton1.Click();
    return *manager::Slots().GameForm2;
  }
};

TEST_F(GameStart, EverySwitchStartsTheGameWithItsCommandLineInAFolderWithBlanksAndPolishLetters) {
  std::string folder = temp.Path() + "Gra Tarnholm Łódź";
  InstallStubGame(folder);
  manager::TGameForm2& dialog = OpenGameDialog(folder);
  for (const SwitchCase& c : kSwitches) (dialog.*c.button).Click();
  // The games start one after another but run side by side, so their lines come in any order.
  std::vector<std::string> starts = GameStarts(folder, std::size(kSwitches)), expected;
  for (const SwitchCase& c : kSwitches) expected.push_back("\"" + folder + c.tail);
  std::sort(starts.begin(), starts.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(starts, expected);
  EXPECT_TRUE(dialog.Visible()) << "the dialog stays open";
}

TEST_F(GameStart, AGameFolderEndingInABackslashGivesADoubledSeparatorThatStillStarts) {
  std::string folder = temp.Path() + "game\\";
  InstallStubGame(folder);
  manager::TGameForm2& dialog = OpenGameDialog(folder);
  dialog.SpeedButton4.Click();
  EXPECT_EQ(GameStarts(folder, 1), std::vector<std::string>{"\"" + folder + "\\Tarn.exe\" Window"});
}

TEST_F(GameStart, TheDefaultStartOpensTheGameThroughTheShellWithoutASwitch) {
  std::string folder = temp.Path() + "Tarnholm Game";
  InstallStubGame(folder);
  OpenGameDialog(folder).SpeedButton1.Click();
  std::vector<std::string> starts = GameStarts(folder, 1);
  ASSERT_EQ(starts.size(), 1u);
  std::string line = starts[0];
  while (!line.empty() && (line.back() == ' ' || line.back() == '"')) line.pop_back();
  if (!line.empty() && line.front() == '"') line.erase(0, 1);
  EXPECT_EQ(line, folder + "\\Tarn.exe");
}

TEST_F(GameStart, WithoutAGameFolderEveryStartShowsTheMissingBoxAndStartsNothing) {
  manager::TGameForm2& dialog = OpenGameDialog("");
  dialog.SpeedButton1.Click();
  for (const SwitchCase& c : kSwitches) (dialog.*c.button).Click();
  EXPECT_EQ(dialogs.Texts(),
            std::vector<std::string>(1 + std::size(kSwitches), "You do not have Tarnholm game on your PC."));
  // The two buttons that open dialogs do not look at the game folder.
  dialog.SpeedButton7.Click();
  dialog.SpeedButton9.Click();
  EXPECT_TRUE(manager::Slots().IPForm3->Visible());
  EXPECT_TRUE(manager::Slots().ResForm4->Visible());
  EXPECT_EQ(dialogs.boxes.size(), 1 + std::size(kSwitches));
}

TEST_F(GameStart, TheDialogSpeaksTheActiveLanguageAndFollowsASwitchWhileOpen) {
  manager::TAppForm1& main = Start();
  main.Polski1Click(&main.Polski1);
  main.SpeedButton1.Click();
  manager::TGameForm2& dialog = *manager::Slots().GameForm2;
  EXPECT_EQ(dialog.Caption(), "Uruchom Grę Tarnholm");
  EXPECT_EQ(dialog.SpeedButton4.Caption(), "Włącz w Oknie");
  EXPECT_EQ(dialog.SpeedButton2.Caption(), "Direct X Log");
  EXPECT_EQ(dialog.SpeedButton5.Caption(), "Devmode");
  main.English1.Click();
  EXPECT_EQ(dialog.Caption(), "Start Tarnholm Game");
  EXPECT_EQ(dialog.SpeedButton9.Caption(), "Custom Resolution");
}

}  // namespace
