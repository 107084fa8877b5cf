// The main window's browser of the game's files: the filter rule, browsing with the linked tree,
// the Folders jumps, the view items and the tree toggle.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "manager/folder_form.h"
#include "manager_fixture.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/display.h"
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

const std::string kComputer = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

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

struct RenameCase {
  const char* name;
  std::string typed;
  bool polish;
};

class RefusedRename : public Browser, public ::testing::WithParamInterface<RenameCase> {};

// Typed in place, through the model and then through the real window: each refusal is told once,
// the row keeps its name and the disk stays as it was.
TEST_P(RefusedRename, IsToldAndTheRowKeepsItsName) {
  manager::TAppForm1& main = Start();
  if (GetParam().polish) main.Polski1.Click();
  const std::string typed = GetParam().typed;
  const std::string told = GetParam().polish ? "Nie mogę zmienić nazwy „Tarn.exe” na „" + typed + "”."
                                             : "I can not rename \"Tarn.exe\" to \"" + typed + "\".";
  auto expectRefused = [&] {
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text.substr(0, told.size()), told);
    EXPECT_GT(dialogs.boxes[0].text.size(), told.size()) << "with the system's reason";
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_ICONWARNING | MB_OK));
    EXPECT_GE(main.ShellListView1.IndexOf("Tarn.exe"), 0);
    EXPECT_EQ(testing_support::ReadFileBytes(game + "\\Tarn.exe"), "x");
    EXPECT_EQ(testing_support::ReadFileBytes(game + "\\tarn.ini"), "x");
    EXPECT_EQ(Listed(main), (std::vector<std::string>{"Error_Logs", "Mods", "Tarn.exe", "Textures", "tarn.ini"}));
    dialogs.boxes.clear();
  };
  EXPECT_FALSE(main.ShellListView1.Rename(main.ShellListView1.IndexOf("Tarn.exe"), typed));
  expectRefused();

  SKIP_WITHOUT_DISPLAY();  // the rest through the real window
  ASSERT_TRUE(main.ShellListView1.HandleAllocated());
  HWND list = main.ShellListView1.Handle();
  int row = main.ShellListView1.IndexOf("Tarn.exe");
  SetFocus(list);
  HWND edit = ListView_EditLabel(list, row);
  ASSERT_NE(edit, nullptr);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  testing_support::TypeText(edit, typed);
  testing_support::PressKey(edit, VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return !dialogs.boxes.empty(); }, 10000));
  expectRefused();
  EXPECT_EQ(testing_support::ListViewTexts(list)[static_cast<size_t>(row)], "Tarn.exe");
}

INSTANTIATE_TEST_SUITE_P(
    Manager, RefusedRename,
    ::testing::Values(RenameCase{"ACharacterNoNameMayHold", "a|b", false},
                      RenameCase{"ANameInUse", "tarn.ini", false},
                      RenameCase{"ANameInUseInPolish", "tarn.ini", true},
                      // Short enough for a name, too long for a path in this folder.
                      RenameCase{"ANameTooLongForThePath", std::string(240, 'n'), false}),
    [](const auto& info) { return std::string(info.param.name); });

struct TooLongCase {
  const char* name;
  bool polish;
  std::string told;
};

class TooLongFolder : public Browser, public ::testing::WithParamInterface<TooLongCase> {};

// A folder of B's, B's path 258 characters long: the folder is not opened, the user is told in the
// active language, and the label, the list, the tree and the next New Folder stay with B.
TEST_P(TooLongFolder, IsNotOpenedAndEverythingStaysWithTheFolderShown) {
  std::string a = testing_support::MakeFolderOfPathLength(game, game.size() + 121, 'a');
  std::string b = testing_support::MakeFolderOfPathLength(a, 258, 'b');
  ASSERT_TRUE(CreateDirectoryW(platform::Widen(b + "\\Cgleboki").c_str(), nullptr));
  for (const char* file : {"\\Cgleboki\\one.gmx", "\\Cgleboki\\two.gmx"}) WriteFileBytes(b + file, "x");
  manager::TAppForm1& main = Start();
  if (GetParam().polish) main.Polski1.Click();
  main.ShellListView1.OpenItem(main.ShellListView1.IndexOf(a.substr(game.size() + 1)));
  main.ShellListView1.OpenItem(main.ShellListView1.IndexOf(b.substr(a.size() + 1)));
  ASSERT_EQ(main.ListViewPathLabel.Caption(), b);
  dialogs.boxes.clear();

  main.ShellListView1.OpenItem(main.ShellListView1.IndexOf("Cgleboki"));
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, GetParam().told);
  EXPECT_EQ(dialogs.boxes[0].caption, "");
  EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_ICONWARNING | MB_OK));
  EXPECT_EQ(main.ListViewPathLabel.Caption(), b);
  EXPECT_EQ(main.ShellTreeView1.Path(), b);
  EXPECT_EQ(main.ShellListView1.Folder(), b);
  EXPECT_EQ(Listed(main), std::vector<std::string>{"Cgleboki"});

  // Nowhere but in B, and not there either: its path would be too long too.
  dialogs.boxes.clear();
  main.NewFolder1.Click();
  manager::TFolderForm5& dialog = *manager::Slots().FolderForm5;
  dialog.FolderNameEdit.SetText("Nowy");
  dialog.NewFolderButton2.Click();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  const std::string refused = GetParam().polish ? "Nie mogę utworzyć katalogu. " : "I can not create the folder. ";
  EXPECT_EQ(dialogs.boxes[0].text, refused + platform::SystemErrorText(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_FALSE(platform::DirectoryExists(b + "\\Nowy"));
  EXPECT_FALSE(platform::DirectoryExists(b + "\\Cgleboki\\Nowy"));
  EXPECT_EQ(main.ListViewPathLabel.Caption(), b + "\\");
}

INSTANTIATE_TEST_SUITE_P(
    Manager, TooLongFolder,
    ::testing::Values(
        TooLongCase{"English", false, "I can not open the folder \"Cgleboki\". Its path is longer than 259 characters."},
        TooLongCase{"Polish", true, "Nie mogę otworzyć katalogu „Cgleboki”. Jego ścieżka ma więcej niż 259 znaków."}),
    [](const auto& info) { return std::string(info.param.name); });

// Back from the drives to the desktop: the shell's own folders there are folders.
TEST_F(Browser, AtTheDesktopTheShellsFoldersSortFilterAndOpenAsFolders) {
  wchar_t desktop[MAX_PATH] = L"";
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop), S_OK);
  const std::string file = platform::Narrow(desktop) + "\\a-desktop-note.txt";
  WriteFileBytes(file, "x");
  struct Remove {
    std::string file;
    ~Remove() { DeleteFileW(platform::Widen(file).c_str()); }
  } remove{file};

  manager::TAppForm1& main = Start();
  main.FilterComboBox1.SetItemIndex(EntryOf(main, "Text files (*.txt)"));
  for (int i = 0; i < 20; ++i) main.BackButton.Click();
  ASSERT_TRUE(main.ShellListView1.FolderId().IsDesktop());
  const auto& items = main.ShellListView1.Items();
  // The test's registry holds none of the desktop's other shell folders.
  ASSERT_GE(items.size(), 2u) << "the computer and the note";
  EXPECT_EQ(items.back().Name(), "a-desktop-note.txt") << "after every folder";
  int computer = -1;
  for (size_t i = 0; i + 1 < items.size(); ++i) {
    SCOPED_TRACE(items[i].PathName());
    EXPECT_TRUE(items[i].IsFolder());
    if (platform::EqualsIgnoreCase(items[i].PathName(), kComputer)) computer = static_cast<int>(i);
  }
  ASSERT_GE(computer, 0) << "the computer stays under *.txt";

  SKIP_WITHOUT_DISPLAY();  // the rest through the real window
  ASSERT_TRUE(main.ShellListView1.HandleAllocated());
  HWND list = main.ShellListView1.Handle();
  // Each folder shows the shell's own picture of it, not a file's.
  ui::ItemIdList desktopId = ui::ItemIdList::Desktop();
  for (size_t i = 0; i + 1 < items.size(); ++i) {
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(desktopId.Child(items[i].Id()).Get()), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    LVITEMW row{};
    row.mask = LVIF_IMAGE;
    row.iItem = static_cast<int>(i);
    ListView_GetItem(list, &row);
    EXPECT_EQ(row.iImage, info.iIcon) << items[i].PathName();
  }
  RECT rect = testing_support::ListViewItemRect(list, computer);
  ASSERT_LT(rect.top, rect.bottom);
  testing_support::DoubleClickMouse(list, rect.left + 4, (rect.top + rect.bottom) / 2);
  EXPECT_TRUE(WaitFor([&] { return platform::EqualsIgnoreCase(main.ShellListView1.Folder(), kComputer); }, 10000))
      << main.ShellListView1.Folder();
}

// The main road: a folder made with New Folder, or from outside, opened with a double click; the
// label, the tree and the next New Folder work in it.
TEST_F(Browser, AFolderMadeAMomentAgoOpensAndTakesTheNextNewFolder) {
  SKIP_WITHOUT_DISPLAY();
  manager::TAppForm1& main = Start();
  ASSERT_TRUE(main.ShellListView1.HandleAllocated());
  main.TreeViewOnOff1.Click();
  HWND list = main.ShellListView1.Handle();
  auto newFolder = [&](const std::string& name) {
    dialogs.boxes.clear();
    PostMessageW(main.Handle(), WM_COMMAND, main.NewFolder1.Command(), 0);
    ASSERT_TRUE(WaitFor([&] { return manager::Slots().FolderForm5->Visible(); }, 10000));
    manager::TFolderForm5& dialog = *manager::Slots().FolderForm5;
    testing_support::TypeText(dialog.FolderNameEdit.Handle(), name);
    testing_support::ClickButton(dialog.NewFolderButton2.Handle());
    ASSERT_TRUE(WaitFor([&] { return !dialogs.boxes.empty(); }, 10000));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Done!"});
    dialog.Close();
  };
  auto open = [&](const std::string& name, const std::string& path) {
    ASSERT_TRUE(WaitFor([&] { return main.ShellListView1.IndexOf(name) >= 0; }, 10000)) << name;
    RECT rect = testing_support::ListViewItemRect(list, main.ShellListView1.IndexOf(name));
    ASSERT_LT(rect.top, rect.bottom);
    testing_support::DoubleClickMouse(list, rect.left + 4, (rect.top + rect.bottom) / 2);
    ASSERT_TRUE(WaitFor([&] { return main.ShellListView1.Folder() == path; }, 10000)) << name;
    EXPECT_EQ(main.ListViewPathLabel.Caption(), path);
    ASSERT_NE(main.ShellTreeView1.Selected(), nullptr);
    EXPECT_EQ(main.ShellTreeView1.Path(), path);
    HWND tree = main.ShellTreeView1.Handle();
    wchar_t text[MAX_PATH] = L"";
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    ASSERT_TRUE(TreeView_GetItem(tree, &item));
    EXPECT_EQ(platform::Narrow(text), name) << "the tree's window selects it";
  };

  newFolder("Maps");
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game + "\\");
  open("Maps", game + "\\Maps");
  newFolder("Inner");
  EXPECT_EQ(main.ListViewPathLabel.Caption(), game + "\\Maps\\");
  EXPECT_TRUE(platform::DirectoryExists(game + "\\Maps\\Inner"));

  ASSERT_TRUE(CreateDirectoryA((game + "\\Maps\\Outer").c_str(), nullptr));
  open("Outer", game + "\\Maps\\Outer");
  newFolder("Last");
  EXPECT_TRUE(platform::DirectoryExists(game + "\\Maps\\Outer\\Last"));
}

}  // namespace

namespace {

// What the user does with the keyboard, through the real windows.
TEST_F(Browser, KeysInTheRealWindowsFilterOpenGoBackAndRename) {
  SKIP_WITHOUT_DISPLAY();
  manager::TAppForm1& main = Start();
  ASSERT_TRUE(main.ShellListView1.HandleAllocated());
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
