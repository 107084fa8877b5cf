// The main window's language switch: what it writes, what it rewrites, in which order, and what a
// settings file that cannot be written leaves alone.
#include <gtest/gtest.h>

#include "manager/dialog_slots.h"
#include "manager/game_form.h"
#include "manager/ip_form.h"
#include "manager/lang_form.h"
#include "manager/res_form.h"
#include "manager_fixture.h"

namespace {

using manager::TAppForm1;

// The main window's translated texts, in the order the switch sets them.
struct Row {
  std::string (*read)(TAppForm1&);
  const char* english;
  const char* polish;
};

#define CAPTION(c) [](TAppForm1& f) { return f.c.Caption(); }
#define HINT(c) [](TAppForm1& f) { return f.c.Hint(); }

const Row kTexts[] = {
    {CAPTION(File1), "File", "Plik"},
    {CAPTION(Options1), "Options", "Opcje"},
    {CAPTION(Languages1), "Language", "Język"},
    {CAPTION(About1), "About", "O..."},
    {CAPTION(Links1), "Links", "Linki"},
    {CAPTION(Polski1), "Polski", "Polski"},
    {CAPTION(English1), "English", "English"},
    {CAPTION(Author1), "Author", "Autorze"},
    {CAPTION(Program1), "Program", "Programie"},
    {CAPTION(NewFolder1), "New Folder", "Nowy Folder"},
    {CAPTION(ViewStyle1), "View Style", "Rodzaj podglądu"},
    {CAPTION(Icon1), "Icon", "Ikony"},
    {CAPTION(List1), "List", "Lista"},
    {CAPTION(Report1), "Report", "Szczegóły"},
    {CAPTION(SmallIcon1), "Small Icon", "Małe Ikony"},
    {CAPTION(GameLanguage1), "Game Language", "Język Gry"},
    {CAPTION(TreeViewOnOff1), "Tree View On/Off", "Włącz/Wyłącz Podgląd Drzewa"},
    {CAPTION(Tools1), "Tools", "Narzędzia"},
    {CAPTION(Folders1), "Folders", "Foldery"},
    {CAPTION(Parley1), "Parley", "Czat z Gry"},
    {HINT(BackButton), "Back", "Wstecz"},
    {CAPTION(SpeedButton1), "Start Tarnholm Game", "Uruchom Grę Tarnholm"},
    {CAPTION(SpeedButton3), "Map Editor", "Edytor Map"},
    {CAPTION(SpeedButton4), "GM Editor", "Edytor GM"},
    {CAPTION(SpeedButton5), "GM View", "Podgląd GM"},
    {CAPTION(SpeedButton8), "THP Validator", "Walidator THP"},
    {CAPTION(SpeedButton11), "Tarn Dedicated", "Tarn Dedicated"},
    {CAPTION(SpeedButton12), "Title Creator", "Kreator Tytułów"},
    {CAPTION(SpeedButton13), "Mod Setup Compiler", "Kompilator Instalatorów Modów"},
    {CAPTION(SpeedButton14), "Uninstall Game", "Odinstaluj Grę"},
    {HINT(WindowButton), "Full screen/Window", "Pełen ekran/Okno"},
    {HINT(CloseButton), "Close", "Zamknij"},
    {HINT(MenuButton), "Main menu On/Off", "Włącz/wyłącz menu główne"},
};

// What no switch touches: names of tools, programs and sites, the window's caption, data.
const Row kUntouched[] = {
    {[](TAppForm1& f) { return f.Caption(); }, "Tarnholm Manager", "Tarnholm Manager"},
    {CAPTION(SpeedButton2), "Mod Launcher", "Mod Launcher"},
    {CAPTION(SpeedButton7), "ZirEvid", "ZirEvid"},
    {CAPTION(GameFolder1), "Tarnholm", "Tarnholm"},
    {CAPTION(THEncyclopaedia1), "TH Encyclopaedia", "TH Encyclopaedia"},
    {CAPTION(Kelvora1), "Kelvora", "Kelvora"},
    {CAPTION(YourIP1), "Your IP", "Your IP"},
};

#undef CAPTION
#undef HINT

constexpr char kNoticeEnglish[] = "Choose a tool on the left; the game folder is shown on the right.";
constexpr char kNoticePolish[] = "Wybierz narzędzie po lewej; folder gry widać po prawej.";

// Every translated text in one language, the untouched ones, the status bar and the menu items.
void ExpectLanguage(TAppForm1& main, bool polish) {
  for (const Row& row : kTexts) EXPECT_EQ(row.read(main), polish ? row.polish : row.english);
  for (const Row& row : kUntouched) EXPECT_EQ(row.read(main), row.english);
  EXPECT_EQ(main.StatusBar1.Text(), polish ? kNoticePolish : kNoticeEnglish);
  EXPECT_EQ(main.Polski1.Enabled(), !polish);
  EXPECT_EQ(main.English1.Enabled(), polish);
}

std::string LanguageLine(const std::string& settings) {
  size_t at = settings.find("Language=");
  if (at == std::string::npos) return "";
  size_t end = settings.find_first_of("\r\n", at);
  return settings.substr(at + 9, end == std::string::npos ? std::string::npos : end - at - 9);
}

enum Click { English, Polski };

struct SwitchCase {
  const char* name;
  const char* settings;  // nullptr: no settings file
  std::vector<Click> clicks;
};

class LanguageSwitch : public ManagerTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(LanguageSwitch, SavesEachChoiceAndShowsTheWholeWindowInIt) {
  const SwitchCase& c = GetParam();
  SetGameFolder();
  if (c.settings) WriteSettings(c.settings);
  TAppForm1& main = Start();
  for (Click click : c.clicks) {
    SCOPED_TRACE(click == Polski ? "Polski" : "English");
    (click == Polski ? main.Polski1 : main.English1).Click();
    EXPECT_NE(Settings().find("[Main]"), std::string::npos);
    EXPECT_EQ(LanguageLine(Settings()), click == Polski ? "Polski" : "English") << "every switch writes";
    if (c.settings && std::string(c.settings).find("Started=Yes") != std::string::npos) {
      EXPECT_NE(Settings().find("Started=Yes"), std::string::npos) << "the other key stays";
    }
    ExpectLanguage(main, click == Polski);
  }
  EXPECT_TRUE(dialogs.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Manager, LanguageSwitch,
    ::testing::Values(SwitchCase{"FirstPolishWithoutSettings", nullptr, {Polski}},
                      SwitchCase{"BackAndForth", nullptr, {Polski, English, Polski, English}},
                      SwitchCase{"FromSavedPolish", "[Main]\r\nLanguage=Polski\r\n", {English, Polski}},
                      SwitchCase{"KeepsTheOtherKeys", "[Main]\r\nStarted=Yes\r\n", {Polski, English}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ManagerTest, TheMenuSaysLanguagesUntilEnglishIsFirstApplied) {
  SetGameFolder();
  TAppForm1& main = Start();
  EXPECT_EQ(main.Languages1.Caption(), "Languages");
  main.Polski1.Click();
  main.English1.Click();
  EXPECT_EQ(main.Languages1.Caption(), "Language");
}

TEST_F(ManagerTest, StartingWithEnglishSavedWritesNothingAndShowsLanguage) {
  SetGameFolder();
  // Written by hand: any write would leave the file in the system's own layout.
  const std::string saved = "[Main]\r\nLanguage = English\r\n; kept as it is\r\n";
  WriteSettings(saved);
  TAppForm1& main = Start();
  EXPECT_EQ(Settings(), saved);
  ExpectLanguage(main, false);
  EXPECT_EQ(main.Languages1.Caption(), "Language");
}

TEST_F(ManagerTest, AnUnwritableSettingsFileStopsTheSwitchBeforeAnythingChanges) {
  SetGameFolder();
  TAppForm1& main = Start();
  main.SpeedButton1.Click();
  manager::TGameForm2& game = *manager::Slots().GameForm2;
  std::string gameCaption = game.Caption();
  // A folder in the file's place cannot be written, also for an administrator.
  ASSERT_TRUE(CreateDirectoryA(manager::SettingsFile().c_str(), nullptr));
  main.Polski1.Click();
  RemoveDirectoryA(manager::SettingsFile().c_str());
  ASSERT_EQ(dialogs.Texts(), std::vector<std::string>{"Unable to write to " + manager::SettingsFile()});
  EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(main.Languages1.Caption(), "Languages") << "nothing of the switch ran";
  for (const Row& row : kTexts) {
    if (row.read != kTexts[2].read) {
      EXPECT_EQ(row.read(main), row.english);
    }
  }
  EXPECT_TRUE(main.Polski1.Enabled());
  EXPECT_FALSE(main.English1.Enabled());
  EXPECT_EQ(game.Caption(), gameCaption);
  EXPECT_EQ(game.SpeedButton1.Caption(), "Default");

  // The file was let go: once it can be written, the same switch goes through.
  main.Polski1.Click();
  EXPECT_EQ(LanguageLine(Settings()), "Polski");
  ExpectLanguage(main, true);
  EXPECT_EQ(game.Caption(), "Uruchom Grę Tarnholm") << "an open game-start dialog changes at once";
}

TEST_F(ManagerTest, TheSettingsFileIsSwitchedInItsOwnEncodingOrNotAtAll) {
  using testing_support::Utf16File;
  SetGameFolder();
  WriteSettings(Utf16File(L"[Main]\r\nStarted=Yes\r\nLanguage=English\r\n", true));
  TAppForm1& main = Start();
  main.Polski1.Click();
  EXPECT_EQ(Settings(), Utf16File(L"[Main]\r\nStarted=Yes\r\nLanguage=Polski\r\n", true));
  EXPECT_TRUE(dialogs.boxes.empty());

  // One stray byte after the UTF-16 text: no 8-bit section is appended to it.
  const std::string odd = Utf16File(L"[Main]\r\nLanguage=Polski\r\n") + "x";
  WriteSettings(odd);
  main.English1.Click();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Unable to write to " + manager::SettingsFile()});
  EXPECT_EQ(Settings(), odd);
  ExpectLanguage(main, true);
}

TEST_F(ManagerTest, WithoutAGameTheMissingBoxInTheNewLanguageComesBeforeTheMainWindowChanges) {
  TAppForm1& main = Start();  // no game key: the English box and the prompt
  ASSERT_EQ(dialogs.Texts(), std::vector<std::string>{"You do not have Tarnholm game on your PC."});
  dialogs.boxes.clear();
  std::vector<std::string> captionsAtBox;
  dialogs.onBox = [&](const ui::BoxRequest&) {
    captionsAtBox = {main.File1.Caption(), main.SpeedButton1.Caption(), main.StatusBar1.Text()};
  };
  main.Polski1.Click();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Na twoim PC nie ma gry Tarnholm."});
  EXPECT_EQ(captionsAtBox, (std::vector<std::string>{"File", "Start Tarnholm Game", kNoticeEnglish}));
  ExpectLanguage(main, true);
}

TEST_F(ManagerTest, OpenJoinAndResolutionDialogsChangeAtOnce) {
  SetGameFolder();
  TAppForm1& main = Start();
  manager::OpenManagerDialog(manager::Slots().IPForm3);
  manager::OpenManagerDialog(manager::Slots().ResForm4);
  main.Polski1.Click();
  EXPECT_EQ(manager::Slots().IPForm3->Caption(), "Połącz z IP");
  EXPECT_EQ(manager::Slots().IPForm3->Label1.Caption(), "Wybierz IP:");
  EXPECT_EQ(manager::Slots().ResForm4->Caption(), "Rozdzielczość");
  EXPECT_EQ(manager::Slots().ResForm4->Label2.Caption(), "Wysokość:");
  main.English1.Click();
  EXPECT_EQ(manager::Slots().IPForm3->Caption(), "Connect to IP");
}

}  // namespace
