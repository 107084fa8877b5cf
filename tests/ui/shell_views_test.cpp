// The shell file list and folder tree on real folders.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <thread>

#include "platform/files.h"
#include "platform/text.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"
#include "support/window_driver.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/shell_views.h"

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

TEST_F(ShellViews, ReportViewTakesItsColumnsFromTheShellEveryTime) {
  form.list.SetRoot(Root());
  ASSERT_GE(form.list.Columns().size(), 2u);
  EXPECT_EQ(form.list.DetailText(form.list.IndexOf("b.txt"), 0), "b.txt");
  form.list.SetViewStyle(ui::ViewStyle::List);
  EXPECT_EQ(form.list.GetViewStyle(), ui::ViewStyle::List);
  form.list.Back();
  for (int i = 0; i < 20; ++i) form.list.Back();
  form.list.SetViewStyle(ui::ViewStyle::Report);
  std::vector<std::string> desktopColumns;
  for (const auto& c : form.list.Columns()) desktopColumns.push_back(c.title);
  EXPECT_FALSE(desktopColumns.empty());
}

TEST_F(ShellViews, TheWatcherShowsFilesMadeAndDeletedFromOutside) {
  form.list.SetAutoRefresh(true);
  form.list.SetRoot(Root());
  WriteFileBytes(temp / "new.gmx", "x");
  EXPECT_TRUE(WaitFor([&] { return form.list.IndexOf("new.gmx") >= 0; }, 10000));
  DeleteFileA((temp / "A.dat").c_str());
  EXPECT_TRUE(WaitFor([&] { return form.list.IndexOf("A.dat") < 0; }, 10000));
  EXPECT_GE(form.list.WatcherRefreshes(), 1);

  // It follows the list into a sub-folder and leaves the old folder alone.
  form.list.OpenItem(form.list.IndexOf("Mods"));
  int before = form.list.WatcherRefreshes();
  WriteFileBytes(temp / "outside.txt", "x");
  WriteFileBytes(temp / "Mods\\inside.txt", "x");
  EXPECT_TRUE(WaitFor([&] { return form.list.IndexOf("inside.txt") >= 0; }, 10000));
  Sleep(300);
  ui::Application::Instance().ProcessMessages();
  EXPECT_EQ(form.list.WatcherRefreshes(), before + 1);
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
  form.Show();
  if (!form.list.HandleAllocated()) GTEST_SKIP() << "no display";
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
  form.Show();
  if (!form.list.HandleAllocated()) GTEST_SKIP() << "no display for the shell's question";
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
