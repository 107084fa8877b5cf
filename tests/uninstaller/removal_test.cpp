// The removal step against real files and the real registry (a scratch root).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/directory_search.h"
#include "platform/files.h"
#include "platform/text.h"
#include "uninstaller/own_folder.h"
#include "uninstaller_fixture.h"

using platform::Widen;
using uninstaller::kEncyclopaediaUninstall;
using uninstaller::kManagerUninstall;
using uninstaller::TForm1;

namespace uninstaller_tests {
namespace {

enum Kind { File, ReadOnly, Held, Folder };

struct Entry {
  const char* name;
  Kind kind;
};

using RemovalTest = UninstallerTest;

TEST_F(RemovalTest, DeletesTheFilesDirectlyInTheFolderAndBothRecords) {
  const char* finished = "The uninstallation has finished. You may close this program.";
  struct Case {
    const char* name;
    const uninstaller::UninstallProductData* data;
    std::vector<Entry> entries;
    enum { Recorded, NoTrailingBackslash, NoPathValue } folderText;
    int max, position;
    std::vector<std::string> left;
    const char* box;
    unsigned icon;
  };
  const Case cases[] = {
      {"manager set, uninstaller running", &kManagerUninstall,
       {{"THManager.exe", File}, {"Parley.exe", File}, {"uninstall.exe", Held}}, Case::Recorded,
       3, 3, {"uninstall.exe"}, finished, MB_ICONINFORMATION},
      {"encyclopaedia set, uninstaller running", &kEncyclopaediaUninstall,
       {{"THENC.exe", File}, {"THENCUpdater.exe", File}, {"readme.txt", File},
        {"uninstall.exe", Held}},
       Case::Recorded, 4, 4, {"uninstall.exe"}, finished, MB_ICONINFORMATION},
      {"subfolder counted and kept", &kManagerUninstall,
       {{"THManager.exe", File}, {"Maps", Folder}}, Case::Recorded, 2, 2,
       {"Maps", "Maps\\inner.map"}, finished, MB_ICONINFORMATION},
      {"read-only file counted and kept", &kManagerUninstall,
       {{"Parley.exe", ReadOnly}, {"THManager.exe", File}}, Case::Recorded, 2, 2, {"Parley.exe"},
       finished, MB_ICONINFORMATION},
      // The search then lists the product folder itself, from its parent.
      {"folder text without its backslash", &kManagerUninstall,
       {{"THManager.exe", File}, {"Parley.exe", File}}, Case::NoTrailingBackslash, 1, 1,
       {"Parley.exe", "THManager.exe"}, finished, MB_ICONINFORMATION},
      {"no folder recorded", &kManagerUninstall, {{"THManager.exe", File}}, Case::NoPathValue, 100,
       0, {"THManager.exe"}, "There are no game files!", MB_ICONWARNING},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software");  // the scratch root, afresh for each case
    testing_support::TempDir parent;
    std::string folder = parent / c.data->product.folderName + "\\";
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    std::vector<std::unique_ptr<HeldFile>> held;
    for (const Entry& e : c.entries) {
      std::string path = folder + e.name;
      if (e.kind == Folder) {
        CreateDirectoryW(Widen(path).c_str(), nullptr);
        testing_support::WriteFileBytes(path + "\\inner.map", "map");
        continue;
      }
      testing_support::WriteFileBytes(path, "data");
      if (e.kind == ReadOnly) SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
      if (e.kind == Held) held.push_back(std::make_unique<HeldFile>(path));
    }
    // Both products are installed; only this build's records go.
    for (const shared::Product* p : {&shared::kManager, &shared::kEncyclopaedia})
      WriteRecords(registry, *p, parent / p->folderName + "\\");
    const shared::Product& own = c.data->product;
    const shared::Product& other =
        c.data == &kManagerUninstall ? shared::kEncyclopaedia : shared::kManager;
    if (c.folderText == Case::NoTrailingBackslash)
      registry.SetString(KeyPath(own), "Path", folder.substr(0, folder.size() - 1));
    if (c.folderText == Case::NoPathValue)
      RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, Widen(KeyPath(own)).c_str(), L"Path");

    TForm1& form = MakeForm(*c.data);
    form.Show();
    form.NextButton.Click();
    form.NextButton.Click();

    EXPECT_EQ(form.ProgressBar1.Max(), c.max);
    EXPECT_EQ(form.ProgressBar1.Position(), c.position);
    EXPECT_EQ(form.NameLabel1.Caption(), "");
    EXPECT_EQ(ListTree(folder), c.left);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, c.box);
    EXPECT_EQ(dialogs.boxes[0].flags, c.icon | MB_OK);
    EXPECT_FALSE(registry.KeyExists(KeyPath(own)));
    EXPECT_FALSE(registry.KeyExists(EntryPath(own)));
    EXPECT_TRUE(registry.KeyExists("Software\\Kelvora"));
    EXPECT_EQ(registry.GetString(KeyPath(other), "Path"), parent / other.folderName + "\\");
    EXPECT_TRUE(registry.KeyExists(EntryPath(other)));
    EXPECT_EQ(form.CancelButton.Caption(), "Finish");
    dialogs.boxes.clear();
    ui::Application::Instance().Reset();
  }
}

// The names of the files directly in a folder.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> out;
  for (platform::DirectorySearch search(folder + "*"); search.Found(); search.Next())
    if (!search.IsFolder()) out.push_back(search.Name());
  return out;
}

std::string WindowsFolder() {
  wchar_t path[MAX_PATH];
  UINT n = GetWindowsDirectoryW(path, MAX_PATH);
  return platform::WithTrailingBackslash(platform::Narrow({path, n}));
}

// A stale or tampered record: the uninstaller deletes nothing, neither files nor records, and says
// so; its own folder, however written, goes as before.
TEST_F(RemovalTest, ARecordThatDoesNotNameItsOwnFolderDeletesNothing) {
  const char* notOwn = "The uninstaller's record does not name its own folder, so nothing was deleted.";
  testing_support::TempDir parent;
  std::string own = parent / "Tarnholm Manager\\", victim = parent / "Victim\\",
              other = parent / "Tarnholm Encyclopaedia\\";
  std::string slashed = parent.Path();
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  CreateDirectoryW(Widen(parent / "Games").c_str(), nullptr);
  struct Case {
    const char* name;
    std::string record;
    std::string watched;  // the folder whose files must stay
    bool polish = false;
  };
  const Case cases[] = {
      {"the Windows folder", WindowsFolder(), WindowsFolder()},
      {"the drive's root", "C:\\", "C:\\"},
      {"a relative folder", "Victim\\", victim},
      {"a climb out of a relative folder", "..\\Victim\\", victim},
      {"a climb out of the product folder", parent / "Games\\Tarnholm Manager\\..\\..\\Victim\\", victim},
      {"a climb into the product folder", parent / "Games\\..\\Tarnholm Manager\\", own},
      {"forward slashes", slashed + "Victim/", victim},
      {"forward slashes to its own folder", slashed + "Tarnholm Manager/", own},
      {"a device path", "\\\\?\\" + victim, victim},
      {"a device path to its own folder", "\\\\?\\" + own, own},
      {"a network path", "\\\\localhost\\C$\\Tarnholm Manager\\", own},
      {"the other product's folder", other, other},
      {"the other product's folder, in Polish", other, other, true},
  };
  // The root holds no file of its own in a fresh prefix.
  const std::string rootFile = "C:\\th-removal-test.txt";
  testing_support::WriteFileBytes(rootFile, "data");
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  // A relative record would lead into the Victim folder, from either of these.
  CreateDirectoryW(Widen(parent / "Sub").c_str(), nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const std::string& folder : {own, victim, other}) {
      CreateDirectoryW(Widen(folder).c_str(), nullptr);
      for (const char* file : {"THManager.exe", "Parley.exe", "notes.txt"})
        testing_support::WriteFileBytes(folder + file, "data");
    }
    SetCurrentDirectoryW(Widen(c.record.rfind("..", 0) == 0 ? parent / "Sub" : parent.Path()).c_str());
    std::vector<std::string> before = FilesIn(c.watched);
    ASSERT_FALSE(before.empty());
    WriteRecords(registry, shared::kManager, c.record);
    TForm1& form = MakeForm(kManagerUninstall);
    form.Show();
    if (c.polish) form.Polski1.Click();
    form.NextButton.Click();
    form.NextButton.Click();
    EXPECT_EQ(FilesIn(c.watched), before);
    EXPECT_EQ(FilesIn(own).size(), 3u);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              c.polish ? "Zapis deinstalatora nie wskazuje jego własnego folderu, więc niczego nie usunięto."
                       : notOwn);
    EXPECT_EQ(dialogs.boxes[0].flags, MB_ICONWARNING | MB_OK);
    EXPECT_TRUE(registry.KeyExists(KeyPath(shared::kManager)));
    EXPECT_TRUE(registry.KeyExists(EntryPath(shared::kManager)));
    EXPECT_EQ(form.CancelButton.Caption(), c.polish ? "Anuluj" : "Cancel") << "nothing to remove itself after";
    dialogs.boxes.clear();
    ui::Application::Instance().Reset();
  }
  SetCurrentDirectoryW(previous);
  platform::DeleteFileAt(rootFile);

  // Its own folder, in other letter case and without the trailing backslash, goes as before.
  for (std::string record : {own, parent / "TARNHOLM MANAGER"}) {
    SCOPED_TRACE(record);
    testing_support::WriteFileBytes(own + "THManager.exe", "data");
    WriteRecords(registry, shared::kManager, record);
    TForm1& form = MakeForm(kManagerUninstall);
    form.Show();
    form.NextButton.Click();
    form.NextButton.Click();
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{"The uninstallation has finished. You may close this program."});
    if (record == own) {
      EXPECT_EQ(FilesIn(own), std::vector<std::string>{});
    }
    EXPECT_FALSE(registry.KeyExists(KeyPath(shared::kManager)));
    dialogs.boxes.clear();
    ui::Application::Instance().Reset();
  }
}

TEST(OwnFolder, OnlyTheProductsOwnFolderOutsideTheSystemsFolders) {
  const std::vector<std::string> system = {"C:\\Windows\\", "C:\\Program Files\\",
                                           "D:\\Redirected\\Tarnholm Manager\\"};
  struct Case {
    const char* folder;
    bool own;
  } cases[] = {
      {"C:\\Tarnholm Manager\\", true},
      {"C:\\Program Files\\Tarnholm Manager\\", true},
      {"c:\\GAMES\\tarnholm manager", true},
      {"C:\\Gry łódź\\Tarnholm Manager\\", true},
      {"D:\\Redirected\\Tarnholm Manager\\", false},
      {"d:\\redirected\\tarnholm manager", false},
      {"C:\\Windows\\", false},
      {"C:\\", false},
      {"C:", false},
      {"", false},
      {"C:Tarnholm Manager\\", false},
      {"\\Tarnholm Manager\\", false},
      {"Tarnholm Manager\\", false},
      {"C:\\Games\\\\Tarnholm Manager\\", false},
      {"C:\\Games\\Tarnholm Manager\\\\", false},
      {"C:\\Games\\.\\Tarnholm Manager\\", false},
      {"C:\\Games\\Tarnholm Manager.\\", false},
      {"C:\\Games\\Tarnholm Manager \\", false},
      {"C:\\Games\\*\\Tarnholm Manager\\", false},
      {"C:\\Games\\Tarnholm Manager:stream\\", false},
      {"C:\\Games\\Tarnholm Manager2\\", false},
      {"C:\\Tarnholm Encyclopaedia\\", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(uninstaller::IsOwnFolder(c.folder, "Tarnholm Manager", system), c.own);
  }
  std::vector<std::string> real = uninstaller::SystemFolders();
  EXPECT_NE(std::find(real.begin(), real.end(), WindowsFolder()), real.end());
}

TEST_F(RemovalTest, ASecondPressFindsWhatTheFirstLeft) {
  std::string folder = temp / "Tarnholm Manager\\";
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  for (const char* name : {"THManager.exe", "Parley.exe", "uninstall.exe"})
    testing_support::WriteFileBytes(folder + name, "data");
  HeldFile running(folder + "uninstall.exe");
  WriteRecords(registry, shared::kManager, folder);
  TForm1& form = MakeForm(kManagerUninstall);
  form.Show();
  form.NextButton.Click();
  form.NextButton.Click();
  form.NextButton.Click();
  EXPECT_EQ(form.ProgressBar1.Max(), 1);
  EXPECT_EQ(form.ProgressBar1.Position(), 1);
  EXPECT_EQ(ListTree(folder), std::vector<std::string>{"uninstall.exe"});
  EXPECT_EQ(
      dialogs.Texts(),
      std::vector<std::string>(2, "The uninstallation has finished. You may close this program."));
}

TEST_F(RemovalTest, APathValueOfAnotherTypeIsReportedAndLeavesTheFolderEmpty) {
  registry.SetDword(KeyPath(shared::kManager), "Path", 1);
  TForm1& form = MakeForm(kManagerUninstall);
  form.Show();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(dialogs.boxes[0].text, "Invalid data type for 'Path'");
  EXPECT_EQ(form.DirEdit.Text(), "");
}

// Without the vendor key and the uninstall key there is nothing to delete, least of all keys of
// the same names elsewhere.
TEST_F(RemovalTest, MissingParentKeysLeaveEverythingElseAlone) {
  registry.SetString("ZO Ruruzuz", "Kept", "1");
  registry.SetString("Tarnholm Manager", "Kept", "1");
  TForm1& form = MakeForm(kManagerUninstall);
  form.NextButton.Click();
  form.NextButton.Click();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"There are no game files!"});
  EXPECT_TRUE(registry.KeyExists("ZO Ruruzuz"));
  EXPECT_TRUE(registry.KeyExists("Tarnholm Manager"));
}

}  // namespace
}  // namespace uninstaller_tests
