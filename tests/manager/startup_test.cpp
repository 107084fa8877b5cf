// What the manager shows and keeps at start, against the registry and its settings file.
#include <windows.h>

#include <gtest/gtest.h>

#include "manager/path_form.h"
#include "manager_fixture.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "shared/products.h"

namespace {

constexpr char kMissingEnglish[] = "You do not have Tarnholm game on your PC.";
constexpr char kMissingPolish[] = "Na twoim PC nie ma gry Tarnholm.";

// ReadableOnly: everyone may only read the key, as a standard user may under HKEY_LOCAL_MACHINE.
enum class GameKey { None, ExistingFolder, ReadableOnly, MissingFolder, NotAString };

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
    case GameKey::ReadableOnly:
      CreateDirectoryA(gameFolder.c_str(), nullptr);
      registry.SetString("Software\\Korvel\\Tarnholm", "PATH", gameFolder);
      if (c.key == GameKey::ReadableOnly) registry.AllowOnlyReading("Software\\Korvel\\Tarnholm");
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

  bool gameFound = c.key == GameKey::ExistingFolder || c.key == GameKey::ReadableOnly;
  std::string shownFolder = gameFound                        ? gameFolder
                            : c.key == GameKey::MissingFolder ? missingFolder
                                                              : "";
  EXPECT_EQ(main.PathLabel.Caption(), shownFolder);
  EXPECT_EQ(main.ListViewPathLabel.Caption(), gameFound ? gameFolder : "");
  EXPECT_EQ(main.ShellListView1.Root(), gameFound ? gameFolder : "");
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
        StartupCase{"GameKeyOnlyReadable", nullptr, GameKey::ReadableOnly, {}, false, false},
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

// The game's key as a 32-bit installer leaves it, in the registry's 32-bit view, and as a 64-bit
// one does. The system keeps the views apart only in the machine's own key, so these cases lift
// the scratch registry and write there, and take away what they wrote.
struct ViewsCase {
  const char* name;
  bool in64, in32;
  const char* found;  // the folder of the view whose key the manager takes
};

class GameKeyViews : public ManagerTest, public ::testing::WithParamInterface<ViewsCase> {
 protected:
  void SetUp() override {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    for (REGSAM view : kViews)
      if (InView(view).OpenKey(shared::kGameKey, false)) GTEST_SKIP() << "this machine has the game";
    for (size_t i = 0; i < 2; ++i) hadKorvel_[i] = InView(kViews[i]).OpenKey(kKorvel, false);
    armed_ = true;
  }
  void TearDown() override {
    if (!armed_) return;
    for (size_t i = 0; i < 2; ++i) InView(kViews[i]).DeleteKey(hadKorvel_[i] ? shared::kGameKey : kKorvel);
  }
  static platform::Registry InView(REGSAM view) {
    return platform::Registry(HKEY_LOCAL_MACHINE, KEY_ALL_ACCESS | view);
  }
  // A game folder named after the view, recorded in that view's key.
  void WriteGameKey(REGSAM view, const std::string& name) {
    CreateDirectoryW(platform::Widen(temp / name).c_str(), nullptr);
    platform::Registry registry = InView(view);
    ASSERT_TRUE(registry.OpenKey(shared::kGameKey, true));
    registry.WriteString(shared::kGamePathValue, temp / name);
  }

  static constexpr REGSAM kViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
  static constexpr char kKorvel[] = "\\Software\\Korvel";
  bool hadKorvel_[2] = {};
  bool armed_ = false;
};

TEST_P(GameKeyViews, TheManagerFindsTheGameInEitherViewAndPrefersTheSixtyFourBitOne) {
  const ViewsCase& c = GetParam();
  if (c.in64) WriteGameKey(KEY_WOW64_64KEY, "Game64");
  if (c.in32) WriteGameKey(KEY_WOW64_32KEY, "Game32");
  manager::TAppForm1& main = Start();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{});
  EXPECT_EQ(main.PathLabel.Caption(), temp / c.found);
  EXPECT_EQ(main.ListViewPathLabel.Caption(), temp / c.found);
}

INSTANTIATE_TEST_SUITE_P(Manager, GameKeyViews,
                         ::testing::Values(ViewsCase{"Only32", false, true, "Game32"},
                                           ViewsCase{"Both", true, true, "Game64"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
