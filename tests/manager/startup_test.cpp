// What the manager shows and keeps at start, against the registry and its settings file.
#include <gtest/gtest.h>

#include "manager/path_form.h"
#include "manager_fixture.h"

namespace {

constexpr char kMissingEnglish[] = "You do not have Tarnholm game on your PC.";
constexpr char kMissingPolish[] = "Na twoim PC nie ma gry Tarnholm.";

enum class GameKey { None, ExistingFolder, MissingFolder, NotAString };

struct StartupCase {
  const char* name;
  const char* settings;  // nullptr: no settings file
  GameKey key;
  std::vector<std::string> boxes;
  bool promptOpened;
  bool polishActive;
};

class Startup : public ManagerTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(Startup, ShowsWhatTheRegistryAndTheSettingsSay) {
  const StartupCase& c = GetParam();
  if (c.settings) WriteSettings(c.settings);
  std::string gameFolder = temp.Path() + "Tarnholm Game";
  std::string missingFolder = temp.Path() + "gone";
  switch (c.key) {
    case GameKey::None:
      break;
    case GameKey::ExistingFolder:
      CreateDirectoryA(gameFolder.c_str(), nullptr);
      registry.SetString("Software\\Korvel\\Tarnholm", "PATH", gameFolder);
      break;
    case GameKey::MissingFolder:
      registry.SetString("Software\\Korvel\\Tarnholm", "PATH", missingFolder);
      break;
    case GameKey::NotAString:
      registry.SetDword("Software\\Korvel\\Tarnholm", "PATH", 7);
      break;
  }
  manager::TSciezkaForm9* startPrompt = nullptr;
  dialogs.onBox = [&](const ui::BoxRequest&) {
    if (!startPrompt) startPrompt = manager::Slots().SciezkaForm9;
  };

  manager::TAppForm1& main = Start();

  std::vector<std::string> expected = c.boxes;
  for (auto& text : expected) {
    if (text == "<missing folder>") text = "Error setting path: \"" + missingFolder + "\"";
  }
  EXPECT_EQ(dialogs.Texts(), expected);
  for (const auto& box : dialogs.boxes) {
    if (box.text == kMissingEnglish || box.text == kMissingPolish) {
      EXPECT_EQ(box.caption, "");
      EXPECT_EQ(box.flags, static_cast<unsigned>(MB_ICONINFORMATION | MB_OK));
    } else {
      EXPECT_EQ(box.caption, "ZO Ruruzuz");
      EXPECT_EQ(box.flags, static_cast<unsigned>(MB_ICONERROR | MB_OK));
    }
  }
  manager::TSciezkaForm9* prompt = manager::Slots().SciezkaForm9;
  EXPECT_EQ(prompt->Visible(), c.promptOpened);
  if (c.promptOpened) {
    EXPECT_NE(prompt, startPrompt) << "the prompt is a fresh window";
  }

  std::string shownFolder = c.key == GameKey::ExistingFolder ? gameFolder
                            : c.key == GameKey::MissingFolder ? missingFolder
                                                              : "";
  EXPECT_EQ(main.PathLabel.Caption(), shownFolder);
  EXPECT_EQ(main.ListViewPathLabel.Caption(), c.key == GameKey::ExistingFolder ? gameFolder : "");
  EXPECT_EQ(main.ShellListView1.Root(), c.key == GameKey::ExistingFolder ? gameFolder : "");
  EXPECT_EQ(!main.Polski1.Enabled(), c.polishActive);
  EXPECT_EQ(!main.English1.Enabled(), !c.polishActive);
  EXPECT_EQ(main.File1.Caption(), c.polishActive ? "Plik" : "File");
  if (!c.settings) {
    EXPECT_FALSE(SettingsExist()) << "reading creates no settings file";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Manager, Startup,
    ::testing::Values(
        StartupCase{"NoGameKeyNoSettings", nullptr, GameKey::None, {kMissingEnglish}, true, false},
        StartupCase{"NoGameKeyPolishSaved", "[Main]\r\nLanguage=Polski\r\n", GameKey::None,
                    {kMissingEnglish, kMissingPolish}, true, true},
        StartupCase{"NoGameKeyEnglishSaved", "[Main]\r\nLanguage=English\r\n", GameKey::None,
                    {kMissingEnglish, kMissingEnglish}, true, false},
        StartupCase{"GameKeyWithFolder", "[Main]\r\nLanguage=Polski\r\n", GameKey::ExistingFolder, {},
                    false, true},
        StartupCase{"GameFolderGone", "[Main]\r\nLanguage=Polski\r\n", GameKey::MissingFolder,
                    {"<missing folder>"}, false, false},
        StartupCase{"GameKeyNotAString", "[Main]\r\nLanguage=Polski\r\n", GameKey::NotAString,
                    {"Invalid data type for 'PATH'"}, false, false},
        StartupCase{"LanguageInOtherCase", "[Main]\r\nLanguage=polski\r\n", GameKey::ExistingFolder,
                    {}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ManagerTest, TheStartNoticeComesOnceAndIsRecorded) {
  CreateDirectoryA((temp.Path() + "game").c_str(), nullptr);
  registry.SetString("Software\\Korvel\\Tarnholm", "PATH", temp.Path() + "game");
  WriteSettings("[Main]\r\nStarted=No\r\nLanguage=English\r\n");
  Start();
  ASSERT_EQ(dialogs.Texts(),
            std::vector<std::string>{"Recommended starting with game in version 1.10, or higher."});
  EXPECT_EQ(dialogs.boxes[0].caption, "Information");
  EXPECT_NE(Settings().find("Started=Yes"), std::string::npos);
  EXPECT_NE(Settings().find("Language=English"), std::string::npos);

  Stop();
  dialogs.boxes.clear();
  Start();
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ManagerTest, TheNoticeIsInPolishWhenPolishIsSavedAndRecordedEvenWithoutALanguage) {
  CreateDirectoryA((temp.Path() + "game").c_str(), nullptr);
  registry.SetString("Software\\Korvel\\Tarnholm", "PATH", temp.Path() + "game");
  WriteSettings("[Main]\r\nStarted=No\r\nLanguage=Polski\r\n");
  Start();
  ASSERT_EQ(dialogs.Texts(),
            std::vector<std::string>{"Zalecane uruchamianie z grą w wersji 1.10, lub wyżej."});
  EXPECT_EQ(dialogs.boxes[0].caption, "Informacja");

  Stop();
  dialogs.boxes.clear();
  WriteSettings("[Main]\r\nStarted=No\r\n");
  Start();
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_NE(Settings().find("Started=Yes"), std::string::npos);
}

}  // namespace
