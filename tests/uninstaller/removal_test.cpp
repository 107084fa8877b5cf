// The removal step against real files and the real registry (a scratch root).
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "platform/files.h"
#include "platform/text.h"
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
