// The main window's browser of the game's files: the filter rule, browsing with the linked tree,
// the Folders jumps, the view items and the tree toggle.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "manager_fixture.h"
#include "platform/files.h"
#include "support/window_driver.h"
#include "ui/application.h"

using testing_support::WaitFor;
using testing_support::WriteFileBytes;

namespace {

std::vector<std::string> Listed(const manager::TAppForm1& main) {
  std::vector<std::string> names;
  for (const auto& item : main.ShellListView1.Items()) names.push_back(item.Name());
  std::sort(names.begin(), names.end());
  return names;
}

int EntryOf(const manager::TAppForm1& main, const std::string& description) {
  const auto& items = main.FilterComboBox1.Items();
  return static_cast<int>(std::find(items.begin(), items.end(), description) - items.begin());
}

struct FilterCase {
  const char* entry;
  std::vector<std::string> listed;
};

TEST_F(ManagerTest, TheFilterListsEachItemByItsExtensionAndEveryFolder) {
  std::string game = SetGameFolder();
  CreateDirectoryA((game + "\\tools.exe").c_str(), nullptr);
  for (const char* file : {"README.TXT", "notes.old.txt", "readme", "a.txt.bak", "page.html", "page.htm",
                           "terrain.01", "sky.0a", "long.012", "bare.0", "secret.dat"})
    WriteFileBytes(game + "\\" + file, "x");
  SetFileAttributesA((game + "\\secret.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
  manager::TAppForm1& main = Start();

  const FilterCase cases[] = {
      {"All files (*.*)",
       {"README.TXT", "a.txt.bak", "bare.0", "long.012", "notes.old.txt", "page.htm", "page.html", "readme",
        "secret.dat", "sky.0a", "terrain.01", "tools.exe"}},
      {"Text files (*.txt)", {"README.TXT", "notes.old.txt", "tools.exe"}},
      {"HTM files (*.htm)", {"page.htm", "tools.exe"}},
      {"HTML files (*.html)", {"page.html", "tools.exe"}},
      {"Executable files (*.exe)", {"tools.exe"}},
      // "?" stands for any one character.
      {"Color files (*.0*)", {"sky.0a", "terrain.01", "tools.exe"}},
      {"Data files (*.dat)", {"secret.dat", "tools.exe"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    main.FilterComboBox1.SetItemIndex(EntryOf(main, c.entry));
    std::vector<std::string> expected = c.listed;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listed(main), expected);
  }
  EXPECT_EQ(main.FilterComboBox1.Items().size(), 31u);
}

class Browser : public ManagerTest {
 protected:
  Browser() {
    game = SetGameFolder();
    for (const char* folder : {"Mods", "Mods\\Deep", "Textures", "Error_Logs"})
      CreateDirectoryA((game + "\\" + folder).c_str(), nullptr);
    for (const char* file : {"Tarn.exe", "tarn.ini", "Mods\\m.txt", "Mods\\m.thp"})
      WriteFileBytes(game + "\\" + file, "x");
  }
  std::string game;
};

TEST_F(Browser, BrowsingMovesTheTreeAndTheBrowsedFolderLabelAndKeepsTheFilter) {
  manager::TAppForm1& main = Start();
  ASSERT_NE(main.ShellTreeView1.RootNode(), nullptr);
  EXPECT_EQ(main.ShellTreeView1.Selected(), main.ShellTreeView1.RootNode());
  EXPECT_TRUE(main.ShellTreeView1.RootNode()->expanded);
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game);
  EXPECT_EQ(Listed(main), (std::vector<std::string>{"Error_Logs", "Mods", "Tarn.exe", "Textures", "tarn.ini"}));

  main.FilterComboBox1.SetItemIndex(EntryOf(main, "Text files (*.txt)"));
  main.ShellListView1.OpenItem(main.ShellListView1.IndexOf("Mods"));
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game + "\\Mods");
  EXPECT_EQ(main.ShellTreeView1.Path(), game + "\\Mods");
  EXPECT_EQ(Listed(main), (std::vector<std::string>{"Deep", "m.txt"})) << "the filter stays";

  main.BackButton.Click();
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game);
  main.BackButton.Click();
  EXPECT_EQ(main.ListViewPathLabel.Caption(), "") << "above the root";
  EXPECT_EQ(main.ShellListView1.Folder(), temp.Path().substr(0, temp.Path().size() - 1));
  main.ShellListView1.OpenItem(main.ShellListView1.IndexOf("Tarnholm Game"));
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game) << "opening the root again puts it back";

  for (int i = 0; i < 20; ++i) main.BackButton.Click();
  ASSERT_TRUE(main.ShellListView1.FolderId().IsDesktop());
  size_t shown = main.ShellListView1.Items().size();
  main.BackButton.Click();
  EXPECT_TRUE(main.ShellListView1.FolderId().IsDesktop()) << "Back at the desktop does nothing";
  EXPECT_EQ(main.ShellListView1.Items().size(), shown);
  EXPECT_EQ(main.ShellListView1.Root(), game);
}

TEST_F(Browser, FoldersJumpIntoPresentSubFoldersAndMissingOnesChangeNothing) {
  manager::TAppForm1& main = Start();
  main.Mods1.Click();
  EXPECT_EQ(main.ShellListView1.Root(), game + "\\Mods");
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game + "\\Mods");
  EXPECT_EQ(main.ShellTreeView1.RootNode()->text, "Mods");

  main.UserProfiles1.Click();  // the game has no such folder
  main.MissionsDisk21.Click();
  EXPECT_EQ(main.ShellListView1.Root(), game + "\\Mods");
  EXPECT_EQ(main.ShellListView1.Folder(), game + "\\Mods");
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game + "\\Mods");

  main.ErrorLog1.Click();
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game + "\\Error_Logs");
  main.GameFolder1.Click();
  EXPECT_EQ(main.ShellListView1.Root(), game);

  // A jump to the root's own folder after browsing away brings the list back to it.
  main.BackButton.Click();
  ASSERT_EQ(main.ListViewPathLabel.Caption(), "");
  main.GameFolder1.Click();
  EXPECT_EQ(main.ShellListView1.Folder(), game);
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ManagerTest, WithoutAGameFolderTheJumpsDoNothing) {
  // A folder at the top of the drive that a bare suffix would name.
  ASSERT_TRUE(CreateDirectoryA("C:\\Mods", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  manager::TAppForm1& main = Start();
  main.Mods1.Click();
  main.GameFolder1.Click();
  RemoveDirectoryA("C:\\Mods");
  EXPECT_EQ(main.ShellListView1.Root(), "");
  EXPECT_TRUE(main.ShellListView1.FolderId().IsDesktop());
  EXPECT_EQ(main.ListViewPathLabel.Caption(), "");
}

TEST_F(Browser, TheViewItemsAndTheTreeToggle) {
  manager::TAppForm1& main = Start();
  EXPECT_EQ(main.ShellListView1.GetViewStyle(), ui::ViewStyle::Report);
  const std::pair<ui::MenuItem*, ui::ViewStyle> views[] = {{&main.Icon1, ui::ViewStyle::Icon},
                                                           {&main.SmallIcon1, ui::ViewStyle::SmallIcon},
                                                           {&main.List1, ui::ViewStyle::List},
                                                           {&main.Report1, ui::ViewStyle::Report}};
  for (const auto& [item, style] : views) {
    item->Click();
    EXPECT_EQ(main.ShellListView1.GetViewStyle(), style);
  }
  EXPECT_GE(main.ShellListView1.Columns().size(), 2u) << "the shell's detail columns";

  EXPECT_FALSE(main.ShellTreeView1.Visible());
  EXPECT_FALSE(main.TreeViewOnOff1.Checked());
  main.TreeViewOnOff1.Click();
  EXPECT_TRUE(main.ShellTreeView1.Visible());
  EXPECT_TRUE(main.TreeViewOnOff1.Checked());
  main.TreeViewOnOff1.Click();
  EXPECT_FALSE(main.ShellTreeView1.Visible());
  EXPECT_FALSE(main.TreeViewOnOff1.Checked());
}

TEST_F(Browser, TheWatcherShowsChangesFromOutsideByTheSameFilter) {
  manager::TAppForm1& main = Start();
  main.FilterComboBox1.SetItemIndex(EntryOf(main, "Text files (*.txt)"));
  WriteFileBytes(game + "\\new.txt", "x");
  WriteFileBytes(game + "\\new.gmx", "x");
  ASSERT_TRUE(WaitFor([&] { return main.ShellListView1.IndexOf("new.txt") >= 0; }, 10000));
  EXPECT_LT(main.ShellListView1.IndexOf("new.gmx"), 0);
  DeleteFileA((game + "\\new.txt").c_str());
  EXPECT_TRUE(WaitFor([&] { return main.ShellListView1.IndexOf("new.txt") < 0; }, 10000));
}

TEST_F(Browser, AnInPlaceRenameRenamesTheFileOnDisk) {
  manager::TAppForm1& main = Start();
  ASSERT_TRUE(main.ShellListView1.Rename(main.ShellListView1.IndexOf("tarn.ini"), "tarn.old"));
  EXPECT_TRUE(platform::FileExists(game + "\\tarn.old"));
  EXPECT_FALSE(platform::FileExists(game + "\\tarn.ini"));
}

}  // namespace

namespace {

// What the user does with the keyboard, through the real windows.
TEST_F(Browser, KeysInTheRealWindowsFilterOpenGoBackAndRename) {
  manager::TAppForm1& main = Start();
  if (!main.ShellListView1.HandleAllocated()) GTEST_SKIP() << "no display";
  HWND list = main.ShellListView1.Handle();
  ASSERT_EQ(ListView_GetItemCount(list), 5);

  testing_support::PressKey(main.FilterComboBox1.Handle(), VK_DOWN);
  EXPECT_EQ(main.FilterComboBox1.Mask(), "*.exe");
  EXPECT_EQ(Listed(main), (std::vector<std::string>{"Error_Logs", "Mods", "Tarn.exe", "Textures"}));
  EXPECT_EQ(ListView_GetItemCount(list), 4);

  main.ShellListView1.Select(main.ShellListView1.IndexOf("Mods"));
  testing_support::PressKey(list, VK_RETURN);
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game + "\\Mods");
  EXPECT_EQ(ListView_GetItemCount(list), 1) << "only the folder Deep under *.exe";
  testing_support::PressKey(list, VK_BACK);
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game);

  SetFocus(list);
  HWND edit = ListView_EditLabel(list, main.ShellListView1.IndexOf("Tarn.exe"));
  ASSERT_NE(edit, nullptr);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  testing_support::TypeText(edit, "Tarn2.exe");
  testing_support::PressKey(edit, VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return platform::FileExists(game + "\\Tarn2.exe"); }, 10000));
  EXPECT_FALSE(platform::FileExists(game + "\\Tarn.exe"));
}

}  // namespace
