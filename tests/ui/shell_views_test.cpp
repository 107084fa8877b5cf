// The shell file list and folder tree on real folders.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <thread>

#include "platform/files.h"
#include "platform/text.h"
#include "support/display.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"
#include "support/window_driver.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/shell_list_view.h"

using testing_support::TempDir;
using testing_support::WaitFor;
using testing_support::WriteFileBytes;

namespace {

class BrowserForm : public ui::Form {
 public:
  BrowserForm() : Form("BrowserForm") {
    SetClientSize(600, 400);
    tree.SetBounds(0, 0, 200, 0);
    tree.SetAlign(ui::Align::Left);
    list.SetAlign(ui::Align::Client);
    list.SetTreeView(&tree);
  }
  ui::ShellTreeView tree{this, "tree"};
  ui::ShellListView list{this, "list"};
};

std::vector<std::string> Names(const ui::ShellListView& list) {
  std::vector<std::string> names;
  for (const auto& item : list.Items()) names.push_back(item.Name());
  return names;
}

const std::string kComputer = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

class ShellViews : public ::testing::Test {
 protected:
  ShellViews() {
    for (const char* folder : {"Mods", "Mods\\Deep", "Textures", "beta"})
      CreateDirectoryA((temp / folder).c_str(), nullptr);
    for (const char* file : {"b.txt", "A.dat", "c", "Mods\\m.thp"}) WriteFileBytes(temp / file, "x");
    WriteFileBytes(temp / "hidden.ini", "x");
    SetFileAttributesA((temp / "hidden.ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  std::string Root() const {
    std::string root = temp.Path();
    root.pop_back();
    return root;
  }
  TempDir temp;
  testing_support::ScriptedDialogs dialogs;
  BrowserForm form;
};

TEST_F(ShellViews, TheListShowsFoldersFirstThenFilesInTheShellsOrderHiddenOnesIncluded) {
  form.list.SetRoot(Root());
  EXPECT_EQ(Names(form.list), (std::vector<std::string>{"beta", "Mods", "Textures", "A.dat", "b.txt", "c",
                                                        "hidden.ini"}));
  EXPECT_TRUE(form.list.Items()[0].IsFolder());
  EXPECT_FALSE(form.list.Items()[3].IsFolder());
  EXPECT_EQ(form.list.Items()[1].PathName(), temp / "Mods");
  EXPECT_EQ(form.list.Root(), Root());
}

TEST_F(ShellViews, TheTreeHasOneExpandedTopNodeAndFollowsTheList) {
  std::vector<std::string> changes;
  form.tree.OnChange = [&](ui::Object*) { changes.push_back(form.tree.Path()); };
  form.list.SetRoot(Root());
  ASSERT_NE(form.tree.RootNode(), nullptr);
  EXPECT_TRUE(form.tree.RootNode()->expanded);
  EXPECT_EQ(form.tree.Selected(), form.tree.RootNode());
  EXPECT_EQ(form.tree.RootNode()->children.size(), 3u) << "folders only";
  EXPECT_EQ(changes, std::vector<std::string>{Root()});

  form.list.OpenItem(form.list.IndexOf("Mods"));
  EXPECT_EQ(form.list.Folder(), temp / "Mods");
  EXPECT_EQ(Names(form.list), (std::vector<std::string>{"Deep", "m.thp"}));
  EXPECT_EQ(form.tree.Path(), temp / "Mods");
  EXPECT_EQ(form.list.Root(), Root()) << "browsing keeps the root text";

  form.list.Back();
  form.list.Back();
  EXPECT_EQ(form.tree.Selected(), nullptr) << "outside the root no node is selected";
  EXPECT_EQ(form.tree.Path(), "");
  EXPECT_EQ(changes, (std::vector<std::string>{Root(), temp / "Mods", Root(), ""}));

  // Clicking a node: the list shows its folder.
  form.list.BrowseTo(ui::ItemIdList::FromPath(Root()));
  form.tree.Click(form.tree.RootNode()->children[2].get());
  EXPECT_EQ(form.list.Folder(), temp / "Textures");
  EXPECT_EQ(changes.back(), temp / "Textures");
}

TEST_F(ShellViews, BackClimbsToTheDesktopAndStopsThere) {
  form.list.SetRoot(Root());
  for (int i = 0; i < 20; ++i) form.list.Back();
  EXPECT_TRUE(form.list.FolderId().IsDesktop());
  size_t count = form.list.Items().size();
  form.list.Back();
  EXPECT_TRUE(form.list.FolderId().IsDesktop());
  EXPECT_EQ(form.list.Items().size(), count);
}

// The desktop's own folders (the computer, the documents, the trash, the root of the disk) are
// folders as the shell says, though their find data says nothing.
TEST_F(ShellViews, AtTheDesktopTheShellsFoldersComeFirstAndOpen) {
  wchar_t desktop[MAX_PATH] = L"";
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop), S_OK);
  const std::string file = platform::Narrow(desktop) + "\\a-desktop-note.txt";
  WriteFileBytes(file, "x");
  form.list.BrowseTo(ui::ItemIdList::Desktop());
  DeleteFileW(platform::Widen(file).c_str());
  const auto& items = form.list.Items();
  ASSERT_GE(items.size(), 5u);
  EXPECT_EQ(items.back().Name(), "a-desktop-note.txt");
  for (size_t i = 0; i + 1 < items.size(); ++i) EXPECT_TRUE(items[i].IsFolder()) << items[i].PathName();
  for (size_t i = 0; i + 1 < items.size(); ++i) {
    if (!platform::EqualsIgnoreCase(items[i].PathName(), kComputer)) continue;
    form.list.OpenItem(static_cast<int>(i));
    EXPECT_TRUE(platform::EqualsIgnoreCase(form.list.Folder(), kComputer));
    EXPECT_GE(form.list.IndexOf("C:\\"), 0) << "the drives";
    return;
  }
  ADD_FAILURE() << "the computer is not listed";
}

TEST_F(ShellViews, ARootThatNamesNoFolderIsRefusedAndTheListStaysWhereItWas) {
  form.list.SetRoot(Root());
  for (const std::string& bad : {temp / "missing", temp / "b.txt", std::string("Q:\\nowhere")}) {
    SCOPED_TRACE(bad);
    try {
      form.list.SetRoot(bad);
      ADD_FAILURE() << "accepted";
    } catch (const std::exception& e) {
      EXPECT_EQ(std::string(e.what()), "Error setting path: \"" + bad + "\"");
    }
    EXPECT_EQ(form.list.Root(), Root());
    EXPECT_EQ(form.list.Folder(), Root());
  }
}

TEST_F(ShellViews, ABareDriveBecomesItsRootAndAnEqualRootIsIgnored) {
  form.list.SetRoot("C:");
  EXPECT_EQ(form.list.Root(), "C:\\");
  EXPECT_EQ(form.list.Folder(), "C:\\");
  form.list.SetRoot(Root());
  form.list.OpenItem(form.list.IndexOf("Mods"));
  std::string upper = Root();
  CharUpperA(upper.data());
  form.list.SetRoot(upper);
  EXPECT_EQ(form.list.Folder(), temp / "Mods") << "a root equal to the current one, ignoring case, is ignored";
}

TEST_F(ShellViews, AnInPlaceRenameRenamesTheFileOnDisk) {
  form.list.SetRoot(Root());
  ASSERT_TRUE(form.list.Rename(form.list.IndexOf("b.txt"), "renamed.txt"));
  EXPECT_TRUE(platform::FileExists(temp / "renamed.txt"));
  EXPECT_FALSE(platform::FileExists(temp / "b.txt"));
  EXPECT_GE(form.list.IndexOf("renamed.txt"), 0);
  EXPECT_FALSE(form.list.Rename(form.list.IndexOf("renamed.txt"), "A.dat")) << "a name in use is refused";
  EXPECT_TRUE(platform::FileExists(temp / "renamed.txt"));
}

std::vector<std::string> Titles(const ui::ShellListView& list) {
  std::vector<std::string> titles;
  for (const auto& c : list.Columns()) titles.push_back(c.title);
  return titles;
}

// The column titles that the native list shows.
std::vector<std::string> HeaderTitles(const ui::ShellListView& list) {
  std::vector<std::string> titles;
  HWND header = ListView_GetHeader(list.Handle());
  for (int i = 0; i < Header_GetItemCount(header); ++i) {
    wchar_t text[128] = L"";
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    Header_GetItem(header, i, &item);
    titles.push_back(platform::Narrow(text));
  }
  return titles;
}

TEST_F(ShellViews, ReportViewTakesItsColumnsFromTheShellEveryTime) {
  form.Show();
  form.list.SetRoot(Root());
  std::vector<std::string> files = Titles(form.list);
  ASSERT_GE(files.size(), 2u);
  EXPECT_EQ(form.list.DetailText(form.list.IndexOf("b.txt"), 0), "b.txt");
  form.list.SetViewStyle(ui::ViewStyle::List);
  EXPECT_EQ(form.list.GetViewStyle(), ui::ViewStyle::List);
  // The computer's details (a drive's size and free space) are not a file's.
  form.list.SetRoot("C:");
  form.list.Back();
  ASSERT_TRUE(platform::EqualsIgnoreCase(ui::ParsingName(form.list.FolderId()), kComputer));
  EXPECT_EQ(Titles(form.list), files) << "another view style leaves the columns alone";
  form.list.SetViewStyle(ui::ViewStyle::Report);
  std::vector<std::string> computer = Titles(form.list);
  EXPECT_NE(computer, files);
  ASSERT_FALSE(computer.empty());
  if (form.list.HandleAllocated()) {
    EXPECT_EQ(HeaderTitles(form.list), computer);
  }
}

// How the report's columns share a list's width: {present width, texts, title} per column, the
// room, the widths.
struct ColumnShare {
  const char* what;
  std::vector<ui::ColumnRoom> columns;
  int room;
  std::vector<int> widths;
};

class ColumnShares : public ::testing::TestWithParam<ColumnShare> {};

TEST_P(ColumnShares, ShortDetailsAndTitlesStayWholeAndLongTextsShareTheRest) {
  const ColumnShare& c = GetParam();
  EXPECT_EQ(ui::ShareColumnRoom(c.columns, c.room), c.widths) << c.what;
}

// Name, size, type, modified, attributes.
INSTANTIATE_TEST_SUITE_P(
    Widths, ColumnShares,
    ::testing::Values(
        ColumnShare{"room for all: each as it is or as its texts",
                    {{200, 120, 40}, {70, 50, 40}, {70, 90, 40}, {70, 130, 70}, {70, 40, 80}}, 600,
                    {200, 70, 90, 130, 80}},
        ColumnShare{"the name gives up the width it does not use",
                    {{200, 120, 40}, {70, 50, 40}, {70, 90, 40}, {70, 130, 70}, {70, 40, 80}}, 500,
                    {150, 50, 90, 130, 80}},
        ColumnShare{"a long name and a long type share what the details leave",
                    {{200, 400, 40}, {70, 50, 40}, {70, 300, 40}, {70, 130, 70}, {70, 40, 80}}, 600,
                    {170, 50, 170, 130, 80}},
        ColumnShare{"a type shorter than the share stays whole, the name takes the rest",
                    {{200, 400, 40}, {70, 50, 40}, {70, 150, 40}, {70, 130, 70}, {70, 40, 80}}, 600,
                    {190, 50, 150, 130, 80}},
        ColumnShare{"a pixel over the share goes to the first cut column",
                    {{200, 400, 40}, {70, 50, 40}, {70, 300, 40}, {70, 130, 70}, {70, 40, 80}}, 601,
                    {171, 50, 170, 130, 80}},
        ColumnShare{"titles stay whole in a list too narrow for them",
                    {{200, 400, 40}, {70, 50, 40}, {70, 300, 40}, {70, 130, 70}, {70, 40, 80}}, 100,
                    {40, 40, 40, 70, 80}}));

TEST_F(ShellViews, TheWatcherShowsFilesMadeAndDeletedFromOutside) {
  form.list.SetAutoRefresh(true);
  form.list.SetRoot(Root());
  WriteFileBytes(temp / "new.gmx", "x");
  EXPECT_TRUE(WaitFor([&] { return form.list.IndexOf("new.gmx") >= 0; }, 10000));
  DeleteFileA((temp / "A.dat").c_str());
  EXPECT_TRUE(WaitFor([&] { return form.list.IndexOf("A.dat") < 0; }, 10000));

  // It follows the list into a sub-folder: a change in the old folder, made first, is not shown
  // once the change in the new one is.
  form.list.OpenItem(form.list.IndexOf("Mods"));
  WriteFileBytes(temp / "outside.txt", "x");
  WriteFileBytes(temp / "Mods\\inside.txt", "x");
  EXPECT_TRUE(WaitFor([&] { return form.list.IndexOf("inside.txt") >= 0; }, 10000));
  EXPECT_EQ(form.list.Folder(), temp / "Mods");
  EXPECT_LT(form.list.IndexOf("outside.txt"), 0);
}

// A folder made after the tree read its parent: opening it selects its node, from the model and
// with the watcher, which also shows it in the tree at once.
TEST_F(ShellViews, TheTreeSelectsAFolderMadeAfterItReadItsParent) {
  form.list.SetRoot(Root());
  ASSERT_EQ(form.tree.RootNode()->children.size(), 3u);
  // Browsed to straight away: the tree finds it by itself.
  CreateDirectoryA((temp / "Later").c_str(), nullptr);
  form.list.BrowseTo(ui::ItemIdList::FromPath(temp / "Later"));
  ASSERT_NE(form.tree.Selected(), nullptr);
  EXPECT_EQ(form.tree.Path(), temp / "Later");
  EXPECT_EQ(form.tree.RootNode()->children.size(), 4u);
  // Listed first: the list's refresh reads the tree's node of its folder again.
  form.list.BrowseTo(ui::ItemIdList::FromPath(Root()));
  CreateDirectoryA((temp / "Sibling").c_str(), nullptr);
  form.list.Refresh();
  EXPECT_EQ(form.tree.RootNode()->children.size(), 5u);
  form.list.OpenItem(form.list.IndexOf("Sibling"));
  EXPECT_EQ(form.tree.Path(), temp / "Sibling");

  form.Show();
  form.list.SetAutoRefresh(true);
  form.list.BrowseTo(ui::ItemIdList::FromPath(Root()));
  ui::ShellTreeView::Node* root = form.tree.RootNode();
  ui::ShellTreeView::Node* later = form.tree.NodeOf(ui::ItemIdList::FromPath(temp / "Later"));
  CreateDirectoryA((temp / "Outside").c_str(), nullptr);
  ASSERT_TRUE(WaitFor([&] { return root->children.size() == 6u; }, 10000)) << "the watcher reads the tree's node";
  if (form.tree.HandleAllocated()) {
    EXPECT_EQ(TreeView_GetCount(form.tree.Handle()), 7u) << "the root and its six folders";
  }
  form.list.OpenItem(form.list.IndexOf("Outside"));
  EXPECT_EQ(form.tree.Path(), temp / "Outside");
  EXPECT_EQ(form.tree.NodeOf(ui::ItemIdList::FromPath(temp / "Later")), later) << "a folder still there keeps its node";
}

}  // namespace

namespace {

TEST_F(ShellViews, OpeningAFileHandsItToTheShellsDefaultAction) {
  WriteFileBytes(temp / "mark.bat", "@echo off\r\necho done> \"%~dp0marker.txt\"\r\n");
  form.list.SetRoot(Root());
  form.list.OpenItem(form.list.IndexOf("mark.bat"));
  EXPECT_TRUE(WaitFor([&] { return platform::FileExists(temp / "marker.txt"); }, 20000));
  EXPECT_EQ(form.list.Folder(), Root()) << "a file opens nothing in the list";
}

}  // namespace

namespace {

TEST_F(ShellViews, F5InTheRealWindowReadsTheFolderAgain) {
  SKIP_WITHOUT_DISPLAY();
  form.Show();
  ASSERT_TRUE(form.list.HandleAllocated());
  form.list.SetRoot(Root());
  WriteFileBytes(temp / "later.txt", "x");
  ASSERT_LT(form.list.IndexOf("later.txt"), 0) << "no watcher here";
  testing_support::PressKey(form.list.Handle(), VK_F5);
  EXPECT_GE(form.list.IndexOf("later.txt"), 0);
  EXPECT_EQ(ListView_GetItemCount(form.list.Handle()), static_cast<int>(form.list.Items().size()));
}

}  // namespace

namespace {

TEST_F(ShellViews, ADeleteThroughTheShellsContextMenuRefreshesTheList) {
  SKIP_WITHOUT_DISPLAY();
  form.Show();
  ASSERT_TRUE(form.list.HandleAllocated());
  form.list.SetRoot(Root());
  // The shell asks before it deletes: its question (a dialog box, found by its class) is
  // answered Yes from another thread while this one waits in it.
  std::thread answer([] {
    HWND question = nullptr;
    for (int i = 0; i < 200 && !question; ++i) {
      EnumWindows(
          [](HWND h, LPARAM lp) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            wchar_t cls[16] = L"";
            GetClassNameW(h, cls, 16);
            if (pid != GetCurrentProcessId() || !IsWindowVisible(h) || lstrcmpW(cls, L"#32770") != 0) return TRUE;
            *reinterpret_cast<HWND*>(lp) = h;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&question));
      if (!question) Sleep(50);
    }
    if (question) PostMessageW(question, WM_COMMAND, IDYES, 0);
  });
  form.list.InvokeVerb({form.list.IndexOf("c")}, "delete");
  answer.join();
  EXPECT_FALSE(platform::FileExists(temp / "c"));
  EXPECT_LT(form.list.IndexOf("c"), 0);
}

}  // namespace

namespace {

struct LongPathCase {
  const char* name;
  size_t parentLength, childLength;
  bool opens;
};

class LongPath : public ShellViews, public ::testing::WithParamInterface<LongPathCase> {};

// A folder whose path is longer than the longest path the programs open is refused whole, from a
// row and from the tree, and the list, the tree and the path they give stay on the folder shown; at
// the limit it opens and is named whole.
TEST_P(LongPath, AFolderOpensUpToTheLimitAndIsRefusedBeyondIt) {
  const LongPathCase& c = GetParam();
  std::string parent = testing_support::MakeFolderOfPathLength(Root(), c.parentLength, 'p');
  std::string child = testing_support::MakeFolderOfPathLength(parent, c.childLength, 'c');
  const std::string childName = child.substr(parent.size() + 1);
  for (const char* file : {"\\one.txt", "\\two.txt"}) WriteFileBytes(child + file, "x");
  std::vector<std::string> refused;
  form.list.OnFolderTooLong = [&](ui::Object*, const std::string& path) { refused.push_back(path); };
  form.Show();
  form.list.SetRoot(Root());
  ASSERT_TRUE(form.list.BrowseTo(ui::ItemIdList::FromPath(parent)));
  ASSERT_EQ(form.tree.Path(), parent);
  ui::ShellTreeView::Node* parentNode = form.tree.Selected();

  form.list.OpenItem(form.list.IndexOf(childName));
  if (c.opens) {
    EXPECT_EQ(form.list.Folder(), child);
    EXPECT_EQ(form.tree.Path(), child);
    EXPECT_EQ(Names(form.list), (std::vector<std::string>{"one.txt", "two.txt"}));
    EXPECT_TRUE(refused.empty());
    form.list.SetRoot(child);
    EXPECT_EQ(form.list.Root(), child);
    return;
  }
  const std::vector<std::string> stays{childName};
  EXPECT_EQ(refused, std::vector<std::string>{child}) << "the whole path";
  EXPECT_EQ(form.list.Folder(), parent);
  EXPECT_EQ(form.tree.Path(), parent);
  EXPECT_EQ(Names(form.list), stays);

  // The tree shows the folder, nothing under it, and a click on it changes nothing either.
  const auto& children = form.tree.Children(parentNode);
  ASSERT_EQ(children.size(), 1u);
  ui::ShellTreeView::Node* childNode = children[0].get();
  EXPECT_TRUE(form.tree.Children(childNode).empty());
  int changes = 0;
  form.tree.OnChange = [&](ui::Object*) { ++changes; };
  form.tree.Click(childNode);
  EXPECT_EQ(refused.size(), 2u);
  EXPECT_EQ(form.tree.Selected(), parentNode);
  EXPECT_EQ(form.list.Folder(), parent);
  EXPECT_EQ(Names(form.list), stays);
  EXPECT_EQ(form.tree.Path(), parent) << changes << " change events";

  // The same click with the mouse, on the tree's window.
  if (form.tree.HandleAllocated()) {
    HWND tree = form.tree.Handle();
    form.tree.Expand(parentNode);
    RECT node{};
    *reinterpret_cast<HTREEITEM*>(&node) = childNode->item;
    ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&node)));
    testing_support::ClickMouse(tree, node.left + 4, (node.top + node.bottom) / 2);
    EXPECT_EQ(refused.size(), 3u);
    EXPECT_EQ(TreeView_GetSelection(tree), parentNode->item) << "the window's selection too";
    EXPECT_EQ(form.tree.Selected(), parentNode);
    EXPECT_EQ(form.list.Folder(), parent);
  }

  EXPECT_THROW(form.list.SetRoot(child), std::exception);
  EXPECT_EQ(form.list.Folder(), parent);
}

INSTANTIATE_TEST_SUITE_P(
    ShellViews, LongPath,
    ::testing::Values(LongPathCase{"AtTheLimit", 250, 259, true}, LongPathCase{"OneOverTheLimit", 250, 260, false},
                      // The shell here cuts the path at the separator before the name, and inside it.
                      LongPathCase{"CutAtTheSeparator", 258, 267, false},
                      LongPathCase{"CutInsideTheName", 219, 270, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
