// The folder picker's controls and their links.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/display.h"
#include "support/fixtures.h"
#include "ui/application.h"
#include "ui/file_controls.h"
#include "ui/form.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFileBytes;

class PickerForm : public ui::Form {
 public:
  PickerForm() : Form("PickerForm") {
    drives.SetDirList(&folders);
    folders.SetFileList(&files);
    filter.SetFilter("All files (*.*)|*.*|Programs (*.exe)|*.exe|Texts (*.txt;*.ini)|*.txt;*.ini");
    filter.SetFileList(&files);
  }
  ui::DriveComboBox drives{this, "drives"};
  ui::DirectoryListBox folders{this, "folders"};
  ui::FileListBox files{this, "files"};
  ui::FilterComboBox filter{this, "filter"};
};

class FileControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryW(MAX_PATH, before_);
    for (const char* folder : {"Games", "Games\\Tarnholm", "Games\\Mods", "Games\\.hidden"})
      CreateDirectoryW(platform::Widen(temp / folder).c_str(), nullptr);
    SetFileAttributesW(platform::Widen(temp / "Games\\.hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (const char* file : {"Games\\b.exe", "Games\\A.txt", "Games\\tarn.ini"})
      WriteFileBytes(temp / file, "x");
  }
  void TearDown() override {
    SetCurrentDirectoryW(before_);  // the folder the list showed can go now
    ui::Application::Instance().Reset();
  }
  TempDir temp;

 private:
  wchar_t before_[MAX_PATH];
};

TEST_F(FileControlsTest, TheDirectoryListShowsThePathDownToItsFolderThenTheSubFolders) {
  PickerForm form;
  int changes = 0;
  form.folders.OnChange = [&](ui::Object*) { ++changes; };
  std::string games = temp / "Games";
  ASSERT_TRUE(form.folders.SetDirectory(games + "\\"));
  EXPECT_EQ(form.folders.Directory(), games);
  EXPECT_EQ(changes, 1);

  const auto& items = form.folders.Items();
  ASSERT_GE(items.size(), 4u);
  EXPECT_EQ(items[0].text, games.substr(0, 3));
  EXPECT_EQ(items[0].path, games.substr(0, 3));
  size_t current = static_cast<size_t>(form.folders.ItemIndex());
  EXPECT_EQ(items[current].text, "Games");
  EXPECT_EQ(items[current].path, games);
  EXPECT_TRUE(items[current].open);
  ASSERT_EQ(items.size(), current + 3) << "the hidden folder is left out";
  EXPECT_EQ(items[current + 1].text, "Mods");
  EXPECT_EQ(items[current + 2].text, "Tarnholm");
  EXPECT_EQ(items[current + 2].level, items[current].level + 1);
  EXPECT_FALSE(items[current + 2].open);

  form.folders.OpenItem(static_cast<int>(current + 2));
  EXPECT_EQ(form.folders.Directory(), games + "\\Tarnholm");
  EXPECT_EQ(changes, 2);
  form.folders.OpenItem(static_cast<int>(current));  // back up the path
  EXPECT_EQ(form.folders.Directory(), games);
  form.folders.SetDirectory(games);  // the same folder is no change
  EXPECT_EQ(changes, 3);

  EXPECT_FALSE(form.folders.SetDirectory(temp / "Missing"));
  EXPECT_EQ(form.folders.Directory(), games);
  EXPECT_EQ(changes, 3);
}

TEST_F(FileControlsTest, TheFileListFollowsTheFolderAndTheFilter) {
  PickerForm form;
  form.folders.SetDirectory(temp / "Games");
  EXPECT_EQ(form.files.Items(), (std::vector<std::string>{"A.txt", "b.exe", "tarn.ini"}));
  int changes = 0;
  form.filter.OnChange = [&](ui::Object*) { ++changes; };
  EXPECT_EQ(form.filter.Items(),
            (std::vector<std::string>{"All files (*.*)", "Programs (*.exe)", "Texts (*.txt;*.ini)"}));
  form.filter.SetItemIndex(1);
  EXPECT_EQ(form.files.Items(), std::vector<std::string>{"b.exe"});
  form.filter.SetItemIndex(2);
  EXPECT_EQ(form.files.Items(), (std::vector<std::string>{"A.txt", "tarn.ini"}));
  EXPECT_EQ(changes, 2);
  form.folders.SetDirectory(temp / "Games\\Mods");
  EXPECT_TRUE(form.files.Items().empty());
}

TEST_F(FileControlsTest, ADriveMovesTheListFirstAndADriveThatCannotBeEnteredChangesNothing) {
  PickerForm form;
  form.folders.SetDirectory("C:\\");
  EXPECT_EQ(form.drives.Drive(), 'c') << "the box shows the list's drive";
  char other = 0;
  for (char drive : form.drives.Drives())
    if (drive != 'c') other = drive;
  if (other) {
    std::string folderWhenBoxChanged;
    form.drives.OnChange = [&](ui::Object*) { folderWhenBoxChanged = form.folders.Directory(); };
    form.drives.SetDrive(static_cast<char>(std::toupper(other)));
    EXPECT_EQ(form.drives.Drive(), other);
    EXPECT_EQ(std::tolower(static_cast<unsigned char>(folderWhenBoxChanged[0])), other);
  }
  std::string folder = form.folders.Directory();
  char drive = form.drives.Drive();
  int changes = 0;
  form.drives.OnChange = [&](ui::Object*) { ++changes; };
  form.drives.SetDrive('q');  // no drive Q here
  EXPECT_EQ(form.drives.Drive(), drive);
  EXPECT_EQ(form.folders.Directory(), folder);
  EXPECT_EQ(changes, 0);
}

TEST_F(FileControlsTest, TheWindowsCarryTheItemsAndADoubleClickEntersAFolder) {
  SKIP_WITHOUT_DISPLAY();
  PickerForm form;
  form.SetClientSize(400, 300);
  form.folders.SetBounds(0, 30, 200, 200);
  form.files.SetBounds(200, 30, 200, 200);
  form.folders.SetDirectory(temp / "Games");
  form.Show();
  ASSERT_TRUE(form.HandleAllocated());
  HWND list = form.folders.Handle();
  int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  ASSERT_EQ(count, static_cast<int>(form.folders.Items().size()));
  wchar_t text[MAX_PATH];
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(platform::Narrow(text), "Tarnholm");
  EXPECT_EQ(SendMessageW(form.files.Handle(), LB_GETCOUNT, 0, 0), 3);

  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(count - 1), 0);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(form.folders.Directory(), temp / "Games\\Tarnholm");
  EXPECT_EQ(SendMessageW(form.files.Handle(), LB_GETCOUNT, 0, 0), 0);
}

}  // namespace
