// The tool buttons, the companion programs of the Tools menu and the web pages of the Links menu.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>

#include "manager/path_form.h"
#include "manager/web_addresses.h"
#include "manager_fixture.h"
#include "platform/text.h"
#include "support/recorded_shell.h"

namespace {

struct ToolCase {
  ui::SpeedButton manager::TAppForm1::*button;
  const char* path;
};

const ToolCase kTools[] = {
    {&manager::TAppForm1::SpeedButton2, "\\ModLauncher.exe"},
    {&manager::TAppForm1::SpeedButton3, "\\th_editor.exe"},
    {&manager::TAppForm1::SpeedButton4, "\\GM_Editor.exe"},
    {&manager::TAppForm1::SpeedButton5, "\\gm_view.exe"},
    {&manager::TAppForm1::SpeedButton6, "\\grndsec.exe"},
    {&manager::TAppForm1::SpeedButton7, "\\ZirEvid.exe"},
    {&manager::TAppForm1::SpeedButton8, "\\THP_Validator.exe"},
    {&manager::TAppForm1::SpeedButton9, "\\Pelcor.exe"},
    {&manager::TAppForm1::SpeedButton10, "\\Morvik.exe"},
    {&manager::TAppForm1::SpeedButton11, "\\TarnDedicated.exe"},
    {&manager::TAppForm1::SpeedButton12, "\\Utils\\TitleCreator\\Zadidud.exe"},
    {&manager::TAppForm1::SpeedButton13, "\\Utils\\PMSC\\Pellam_ModSetupCompiler.exe"},
    {&manager::TAppForm1::SpeedButton14, "\\Uninstall.exe"},
};

TEST_F(ManagerTest, EachToolButtonStartsItsToolInAGameFolderWithBlanksAndPolishLetters) {
  std::string game = temp.Path() + "Gra Tarnholm Łódź";
  for (const ToolCase& t : kTools) InstallStub(game + t.path);
  manager::TAppForm1& main = Start();
  main.PathLabel.SetCaption(game);
  for (const ToolCase& t : kTools) (main.*t.button).Click();
  // Eleven tools lie in the game folder itself, two each in a folder of their own below it.
  std::vector<std::string> started = StartedPaths(game, 11);
  for (const char* sub : {"\\Utils\\TitleCreator", "\\Utils\\PMSC"}) {
    std::vector<std::string> paths = StartedPaths(game + sub, 1);
    started.insert(started.end(), paths.begin(), paths.end());
  }
  std::vector<std::string> expected;
  for (const ToolCase& t : kTools) expected.push_back(game + t.path);
  std::sort(started.begin(), started.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(started, expected);
}

TEST_F(ManagerTest, WithoutAGameFolderEveryToolButtonPromptsForItAndStartsNothing) {
  testing_support::RecordedShell shell;
  manager::TAppForm1& main = Start();
  dialogs.boxes.clear();
  for (const ToolCase& t : kTools) (main.*t.button).Click();
  EXPECT_EQ(dialogs.Texts(),
            std::vector<std::string>(std::size(kTools), "You do not have Tarnholm game on your PC."));
  EXPECT_TRUE(manager::Slots().SciezkaForm9->Visible());
  EXPECT_TRUE(shell.requests.empty());
  // The menus keep working.
  main.Kelvora1.Click();
  EXPECT_EQ(shell.requests.size(), 1u);
}

TEST_F(ManagerTest, TheToolsShareTheirButtonsLookWithTheUninstallerStandingOut) {
  manager::TAppForm1& main = Start();
  for (const ToolCase& t : kTools) {
    const ui::SpeedButton& button = main.*t.button;
    SCOPED_TRACE(button.Name());
    EXPECT_EQ(button.Width(), 224);
    EXPECT_EQ(button.Height(), 24);
    EXPECT_TRUE(button.Flat());
    bool uninstall = &button == &main.SpeedButton14;
    EXPECT_EQ(button.GetCursor(), uninstall ? ui::Cursor::Help : ui::Cursor::Hand);
    EXPECT_EQ(button.GetFont().bold, uninstall);
    EXPECT_EQ(button.Parent()->Left(), 40);
  }
  EXPECT_EQ(main.SpeedButton13.Parent()->Top(), 424);
  EXPECT_EQ(main.SpeedButton14.Parent()->Top(), 463);
}

struct CompanionCase {
  ui::MenuItem manager::TAppForm1::*item;
  const char* key;
  const char* file;
};

const CompanionCase kCompanions[] = {
    {&manager::TAppForm1::THEncyclopaedia1, "Software\\Kelvora\\Tarnholm Encyclopaedia", "THENC.exe"},
    {&manager::TAppForm1::Parley1, "Software\\Kelvora\\ZO Ruruzuz", "Parley.exe"},
    {&manager::TAppForm1::THENCUpdater1, "Software\\Kelvora\\Tarnholm Encyclopaedia", "THENCUpdater.exe"},
};

TEST_F(ManagerTest, EachCompanionStartsFromTheFolderItsProductKeyRecords) {
  testing_support::RecordedShell shell;
  const std::map<std::string, std::string> folderOf = {
      {"Software\\Kelvora\\Tarnholm Encyclopaedia", "C:\\Gry\\Encyklopedia\\"},
      {"Software\\Kelvora\\ZO Ruruzuz", "C:\\Gry\\Menedżer\\"}};
  for (const auto& [key, folder] : folderOf) registry.SetString(key, "Path", folder);
  registry.AllowOnlyReading("Software\\Kelvora\\ZO Ruruzuz");
  manager::TAppForm1& main = Start();
  dialogs.boxes.clear();
  for (const CompanionCase& c : kCompanions) (main.*c.item).Click();
  ASSERT_EQ(shell.requests.size(), std::size(kCompanions));
  for (size_t i = 0; i < std::size(kCompanions); ++i) {
    SCOPED_TRACE(kCompanions[i].file);
    EXPECT_EQ(shell.requests[i].file, folderOf.at(kCompanions[i].key) + "\\" + kCompanions[i].file);
    EXPECT_EQ(shell.requests[i].verb, "open");
    EXPECT_EQ(shell.requests[i].show, SW_SHOW);
    EXPECT_EQ(shell.requests[i].owner, main.Handle());
  }
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ManagerTest, ACompanionInAFolderEndingInABackslashReallyStarts) {
  std::string folder = temp.Path() + "Menedżer\\";
  InstallStub(folder + "Parley.exe");
  registry.SetString("Software\\Kelvora\\ZO Ruruzuz", "Path", folder);
  Start().Parley1.Click();
  std::vector<std::string> started = StartedPaths(folder, 1);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], folder + "Parley.exe");
}

TEST_F(ManagerTest, AMissingProductKeyOrPathShowsTheCompanionBoxInTheActiveLanguage) {
  testing_support::RecordedShell shell;
  SetGameFolder();
  // Only the manager is installed: the encyclopaedia and its updater share the missing key.
  registry.SetString("Software\\Kelvora\\ZO Ruruzuz", "Path", "C:\\Gry\\Menedżer\\");
  manager::TAppForm1& main = Start();
  dialogs.boxes.clear();
  for (const CompanionCase& c : kCompanions) (main.*c.item).Click();
  ASSERT_EQ(shell.requests.size(), 1u);
  EXPECT_EQ(shell.requests[0].file, "C:\\Gry\\Menedżer\\\\Parley.exe");

  registry.SetString("Software\\Kelvora\\Tarnholm Encyclopaedia", "Ver", "3.0");  // a key without its path
  main.Polski1.Click();
  main.THENCUpdater1.Click();
  main.Polski1.SetEnabled(true);  // neither language active
  main.THEncyclopaedia1.Click();
  const std::string english = "This program is not installed on your PC.";
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{english, english,
                                                       "Ten program nie jest zainstalowany na twoim PC."}));
  for (const auto& box : dialogs.boxes) {
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.flags, static_cast<unsigned>(MB_ICONINFORMATION | MB_OK));
  }
  EXPECT_EQ(shell.requests.size(), 1u);
}

TEST_F(ManagerTest, EachLinkHandsItsAddressToTheShell) {
  testing_support::RecordedShell shell;
  manager::TAppForm1& main = Start();
  struct LinkCase {
    ui::MenuItem& item;
    const char* address;
  };
  const manager::WebAddresses& a = manager::kWebAddresses;
  const LinkCase links[] = {{main.Kelvora1, a.community}, {main.MasterServer1, a.masterServer},
                            {main.ModdingArchive1, a.moddingArchive}, {main.Ravelin1, a.support},
                            {main.Sentavo1, a.official}, {main.YourIP1, a.yourIp}};
  for (const LinkCase& l : links) l.item.Click();
  ASSERT_EQ(shell.requests.size(), std::size(links));
  for (size_t i = 0; i < std::size(links); ++i) {
    const platform::ShellRequest& r = shell.requests[i];
    SCOPED_TRACE(links[i].item.Name());
    EXPECT_EQ(r.file, links[i].address);
    EXPECT_EQ(r.file.rfind("http://", 0), 0u);
    // Only the forum's board has a path; the others are a host's home page.
    std::string rest = r.file.substr(r.file.find('/', 7) == std::string::npos ? r.file.size() : r.file.find('/', 7));
    EXPECT_EQ(rest, &links[i].item == &main.ModdingArchive1 ? "/viewforum.php?f=18" : "");
    EXPECT_EQ(r.verb, "open");
    EXPECT_EQ(r.parameters, "");
    EXPECT_EQ(r.folder, "");
    EXPECT_EQ(r.show, SW_SHOWNORMAL);
  }
}

}  // namespace
