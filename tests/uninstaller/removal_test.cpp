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

class RemovalTest : public UninstallerTest {
 protected:
  // Records the folder as the manager's, shows the manager build's window and runs its removal.
  TForm1& RunRemoval(const std::string& folder) {
    WriteRecords(registry, shared::kManager, folder);
    TForm1& form = MakeForm(kManagerUninstall);
    form.Show();
    form.NextButton.Click();
    form.NextButton.Click();
    return form;
  }
};

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
      {"folder text without its backslash", &kManagerUninstall,
       {{"THManager.exe", File}, {"Parley.exe", File}, {"uninstall.exe", Held}},
       Case::NoTrailingBackslash, 3, 3, {"uninstall.exe"}, finished, MB_ICONINFORMATION},
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

// The names of the files directly in a folder, sorted.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> out;
  for (platform::DirectorySearch search(folder + "*"); search.Found(); search.Next())
    if (!search.IsFolder()) out.push_back(search.Name());
  std::sort(out.begin(), out.end());
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

  // Its own folder, in other letter case and without the trailing backslash, is emptied as before.
  for (std::string record : {own, parent / "TARNHOLM MANAGER"}) {
    SCOPED_TRACE(record);
    for (const char* file : {"THManager.exe", "Parley.exe"})
      testing_support::WriteFileBytes(own + file, "data");
    WriteRecords(registry, shared::kManager, record);
    TForm1& form = MakeForm(kManagerUninstall);
    form.Show();
    form.NextButton.Click();
    form.NextButton.Click();
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{"The uninstallation has finished. You may close this program."});
    EXPECT_EQ(FilesIn(own), std::vector<std::string>{});
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

const char* const kProductFiles[] = {"THManager.exe", "Parley.exe", "notes.txt"};

void MakeFolderWithFiles(const std::string& folder) {
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  for (const char* file : kProductFiles) testing_support::WriteFileBytes(folder + file, "data");
}

void MakeFolder(const std::string& folder) { CreateDirectoryW(Widen(folder).c_str(), nullptr); }

// A record that reaches a folder through a link, or on another machine, deletes nothing there
// nor any record, and says so as for any other folder that is not its own.
TEST_F(RemovalTest, AFolderReachedThroughALinkOrOnAnotherMachineIsRefused) {
  testing_support::TempDir parent;
  std::string real = parent / "Real\\Tarnholm Manager\\", victim = parent / "Victim\\";
  MakeFolder(parent / "Real");
  MakeFolder(parent / "Games");
  UnixLink folderLink(victim, parent / "Games\\Tarnholm Manager");
  UnixLink aboveLink(parent / "Real", parent / "Linked");
  ASSERT_TRUE(folderLink.Made() && aboveLink.Made()) << "links are made on the machine's side";
  NetworkFolder remote;
  EXPECT_TRUE(remote.Declared()) << "Wine's drive settings declare a network drive";
  struct Case {
    const char* name;
    std::string record;
    std::string watched;  // the folder that the record reaches, whose files must stay
  };
  std::vector<Case> cases = {
      {"the folder a link to another", parent / "Games\\Tarnholm Manager\\", victim},
      {"the same without the trailing backslash", parent / "Games\\Tarnholm Manager", victim},
      {"a folder above it a link", parent / "Linked\\Tarnholm Manager\\", real},
  };
  if (remote.Declared())
    cases.push_back({"on a network drive", remote / "Tarnholm Manager\\", remote / "Tarnholm Manager\\"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeFolderWithFiles(c.watched);
    WriteRecords(registry, shared::kManager, c.record);
    TForm1& form = MakeForm(kManagerUninstall);
    form.Show();
    form.NextButton.Click();
    form.NextButton.Click();
    EXPECT_EQ(FilesIn(c.watched), (std::vector<std::string>{"Parley.exe", "THManager.exe", "notes.txt"}));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{
                                   "The uninstaller's record does not name its own folder, so nothing was deleted."});
    EXPECT_TRUE(registry.KeyExists(KeyPath(shared::kManager)));
    EXPECT_TRUE(registry.KeyExists(EntryPath(shared::kManager)));
    EXPECT_EQ(form.CancelButton.Caption(), "Cancel");
    dialogs.boxes.clear();
    ui::Application::Instance().Reset();
  }
}

// A link inside the folder is never followed: what it points to stays.
TEST_F(RemovalTest, LinksInsideTheFolderAreNotFollowed) {
  testing_support::TempDir parent;
  std::string folder = parent / "Tarnholm Manager\\", victim = parent / "Victim\\";
  MakeFolder(folder);
  MakeFolder(victim);
  testing_support::WriteFileBytes(folder + "THManager.exe", "data");
  testing_support::WriteFileBytes(victim + "saves.dat", "saves");
  testing_support::WriteFileBytes(victim + "chat.exe", "theirs");
  UnixLink folderLink(victim, folder + "Maps");
  UnixLink fileLink(victim + "chat.exe", folder + "Parley.exe");
  ASSERT_TRUE(folderLink.Made() && fileLink.Made()) << "links are made on the machine's side";
  RunRemoval(folder);
  EXPECT_EQ(testing_support::ReadFileBytes(victim + "chat.exe"), "theirs");
  EXPECT_EQ(testing_support::ReadFileBytes(victim + "saves.dat"), "saves");
  EXPECT_FALSE(platform::FileExists(folder + "THManager.exe"));
  EXPECT_NE(GetFileAttributesW(Widen(folder + "Maps").c_str()), INVALID_FILE_ATTRIBUTES)
      << "a link to a folder stays, as a folder does";
  // The link to a file would go as a link on Windows; this Wine follows every file link it
  // deletes, so here it stays (DESIGN.md).
  EXPECT_EQ(dialogs.Texts(),
            std::vector<std::string>{"The uninstallation has finished. You may close this program."});
  EXPECT_FALSE(registry.KeyExists(KeyPath(shared::kManager)));
}

// A product folder in Games and, in Elsewhere, a folder of the same name, where a link put in
// Games' place would lead.
struct SwapScene {
  SwapScene() {
    for (const std::string& f : {games, folder, elsewhere, victim}) MakeFolder(f);
  }
  testing_support::TempDir parent;
  std::string games = parent / "Games\\", folder = games + "Tarnholm Manager\\";
  std::string elsewhere = parent / "Elsewhere\\", victim = elsewhere + "Tarnholm Manager\\";
};

// Between the check and the last file neither the folder nor one above it can be put aside for a
// link to another folder with files of the same names.
TEST_F(RemovalTest, TheFolderCannotBeSwappedForALinkWhileItIsEmptied) {
  for (bool above : {false, true}) {
    SCOPED_TRACE(above ? "the folder above it" : "the folder itself");
    SwapScene scene;
    testing_support::TempDir& parent = scene.parent;
    const std::string &games = scene.games, &folder = scene.folder;
    const std::string &elsewhere = scene.elsewhere, &victim = scene.victim;
    MakeFolderWithFiles(folder);
    MakeFolderWithFiles(victim);
    WriteRecords(registry, shared::kManager, folder);
    TForm1& form = MakeForm(kManagerUninstall);
    form.Show();
    form.NextButton.Click();
    std::unique_ptr<UnixLink> link;
    bool moved = false;
    testing_support::AtNextMessages swap([&] {
      std::string from = above ? parent / "Games" : games + "Tarnholm Manager";
      moved = MoveFileW(Widen(from).c_str(), Widen(above ? parent / "Moved" : games + "Moved").c_str());
      if (moved) link = std::make_unique<UnixLink>(above ? elsewhere : victim, from);
    });
    form.NextButton.Click();
    EXPECT_TRUE(swap.Ran());
    if (!above) {
      EXPECT_FALSE(moved) << "the folder is held while it is emptied";
    }
    EXPECT_TRUE(!moved || link->Made());
    EXPECT_EQ(FilesIn(victim), (std::vector<std::string>{"Parley.exe", "THManager.exe", "notes.txt"}));
    link.reset();
    dialogs.boxes.clear();
    ui::Application::Instance().Reset();
  }
}

// While the removal runs the folder stops being the one checked: its text is set to a folder that
// is not the product's own, or to its own name where there is none, or a folder above it is
// renamed. The deletion stops there, says so in the active language, and keeps both records and
// the Cancel button, so that the player can run it again.
TEST_F(RemovalTest, ARemovalThatStopsEarlySaysSoAndKeepsTheRecords) {
  const std::string stoppedEnglish =
      "The uninstallation has stopped because its folder is no longer the one checked, so some "
      "files may remain. You may run it again.";
  const std::string stoppedPolish =
      "Deinstalacja została przerwana, bo jej folder nie jest już tym sprawdzonym, więc część "
      "plików mogła pozostać. Można ją uruchomić ponownie.";
  enum Change { AnotherFolder, MissingOwnFolder, FolderAboveRenamed };
  struct Case {
    const char* name;
    Change change;
    bool polish;
    const std::string& box;
    const char* cancel;
  };
  const Case cases[] = {
      {"text set to another folder", AnotherFolder, false, stoppedEnglish, "Cancel"},
      {"text set to another folder, Polish", AnotherFolder, true, stoppedPolish, "Anuluj"},
      {"text set to its own name where there is none", MissingOwnFolder, false, stoppedEnglish,
       "Cancel"},
      {"folder above renamed", FolderAboveRenamed, false, stoppedEnglish, "Cancel"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TempDir parent;
    std::string games = parent / "Games\\", folder = games + "Tarnholm Manager\\";
    MakeFolder(games);
    MakeFolderWithFiles(folder);
    for (int i = 0; i < 20; ++i) testing_support::WriteFileBytes(folder + "map" + std::to_string(i) + ".dat", "map");
    WriteRecords(registry, shared::kManager, folder);
    TForm1& form = MakeForm(kManagerUninstall);
    form.Show();
    if (c.polish) form.Polski1.Click();
    form.NextButton.Click();
    std::string now = folder;
    testing_support::AtNextMessages change([&] {
      if (c.change == AnotherFolder) form.DirEdit.SetText(parent / "Other\\");
      if (c.change == MissingOwnFolder) form.DirEdit.SetText(parent / "Missing\\Tarnholm Manager\\");
      if (c.change == FolderAboveRenamed &&
          MoveFileW(Widen(parent / "Games").c_str(), Widen(parent / "Renamed").c_str()))
        now = parent / "Renamed\\Tarnholm Manager\\";
    });
    form.NextButton.Click();
    EXPECT_TRUE(change.Ran());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.box});
    ASSERT_FALSE(dialogs.boxes.empty());
    EXPECT_EQ(dialogs.boxes[0].flags, MB_ICONWARNING | MB_OK);
    EXPECT_FALSE(ListTree(now).empty()) << "stopped before the last file";
    EXPECT_EQ(registry.GetString(KeyPath(shared::kManager), "Path"), folder);
    EXPECT_TRUE(registry.KeyExists(EntryPath(shared::kManager)));
    EXPECT_EQ(form.CancelButton.Caption(), c.cancel);
    EXPECT_EQ(form.NameLabel1.Caption(), "");
    dialogs.boxes.clear();
    ui::Application::Instance().Reset();
  }
}

// A file that another program still reads goes when that program lets it go, and Windows then
// deletes the file that the uninstaller opened. Wine deletes, at that moment, whatever file its
// name leads to: with a folder above put aside for a link meanwhile, the file of that name behind
// the link, even one that is another name of the product's own file (a hard link), went with it.
TEST_F(RemovalTest, AFileDeletedWhileOpenElsewhereNeverTakesAFileBehindALinkWithIt) {
  for (bool hardLink : {false, true}) {
    SCOPED_TRACE(hardLink ? "another name of the same file" : "a file of the same name");
    SwapScene scene;
    testing_support::TempDir& parent = scene.parent;
    const std::string &folder = scene.folder;
    const std::string &elsewhere = scene.elsewhere, &victim = scene.victim;
    testing_support::WriteFileBytes(folder + "THManager.exe", "data");
    if (hardLink)
      ASSERT_TRUE(CreateHardLinkW(Widen(victim + "THManager.exe").c_str(),
                                  Widen(folder + "THManager.exe").c_str(), nullptr));
    else
      testing_support::WriteFileBytes(victim + "THManager.exe", "theirs");
    HANDLE reader = CreateFileW(Widen(folder + "THManager.exe").c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    RunRemoval(folder);
    std::string moved = parent / "Moved";
    ASSERT_TRUE(MoveFileW(Widen(parent / "Games").c_str(), Widen(moved).c_str()));
    {
      UnixLink link(elsewhere, parent / "Games");
      ASSERT_TRUE(link.Made()) << "links are made on the machine's side";
      CloseHandle(reader);
      EXPECT_EQ(testing_support::ReadFileBytes(victim + "THManager.exe"), hardLink ? "data" : "theirs");
      EXPECT_EQ(FilesIn(victim), std::vector<std::string>{"THManager.exe"});
    }
    MoveFileW(Widen(moved).c_str(), Widen(parent / "Games").c_str());
    dialogs.boxes.clear();
    ui::Application::Instance().Reset();
  }
}

// A file that the system will not delete, a program's image in use, keeps its own name.
TEST_F(RemovalTest, AFileTheSystemWillNotDeleteKeepsItsName) {
  std::string folder = temp / "Tarnholm Manager\\";
  MakeFolder(folder);
  wchar_t self[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  ASSERT_TRUE(CopyFileW(self, Widen(folder + "Parley.exe").c_str(), FALSE));
  testing_support::WriteFileBytes(folder + "readme.txt", "text");
  HMODULE image = LoadLibraryExW(Widen(folder + "Parley.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(image, nullptr);
  RunRemoval(folder);
  EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"Parley.exe"});
  FreeLibrary(image);
}

// A press while the removal runs does nothing, while the window stays live: the language menu,
// the window button, Cancel with its question. A press after it has ended runs it again.
TEST_F(RemovalTest, ASecondPressWhileTheRemovalRunsDoesNothing) {
  std::string folder = temp / "Tarnholm Manager\\";
  MakeFolderWithFiles(folder);
  testing_support::WriteFileBytes(folder + "uninstall.exe", "MZ");
  HeldFile running(folder + "uninstall.exe");
  WriteRecords(registry, shared::kManager, folder);
  TForm1& form = MakeForm(kManagerUninstall);
  form.Show();
  form.NextButton.Click();
  dialogs.Answer({IDNO});
  testing_support::AtNextMessages meanwhile([&] {
    form.NextButton.Click();
    form.Polski1.Click();
    form.WindowButton.Click();
    form.CancelButton.Click();
  });
  form.NextButton.Click();
  EXPECT_TRUE(meanwhile.Ran());
  const std::string finished = "Deinstalacja zakończona pomyślnie. Można już zamknąć ten program.";
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"Na pewno zakończyć deinstalację?", finished}));
  EXPECT_FALSE(ui::Application::Instance().Terminated());
  EXPECT_EQ(form.GetBorderStyle(), ui::BorderStyle::None);
  EXPECT_EQ(form.CancelButton.Caption(), "Skończ");
  EXPECT_EQ(ListTree(folder), std::vector<std::string>{"uninstall.exe"});
  EXPECT_EQ(form.ProgressBar1.Max(), 4);
  EXPECT_EQ(form.ProgressBar1.Position(), 4);
  dialogs.boxes.clear();
  form.NextButton.Click();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{finished});
  EXPECT_EQ(form.ProgressBar1.Max(), 1);
}

}  // namespace
}  // namespace uninstaller_tests
