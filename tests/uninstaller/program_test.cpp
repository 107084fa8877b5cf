// The real programs, installed into a product folder recorded in the machine registry, driven
// through their windows from outside until they have removed everything, themselves included.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/display.h"
#include "support/fixtures.h"
#include "support/unix_side.h"
#include "support/window_driver.h"
#include "uninstaller/product_data.h"
#include "uninstaller_fixture.h"

using platform::Widen;
using namespace testing_support;

namespace uninstaller_tests {
namespace {

bool KeyExists(const std::string& path) {
  platform::Registry registry(HKEY_LOCAL_MACHINE, KEY_READ);
  return registry.OpenKey(path, false);
}

// The product's records in the test prefix's own machine registry, which the program reads;
// whatever is left of them goes at the end, with the vendor key if the test made it.
class MachineRecords {
 public:
  MachineRecords(const shared::Product& product, const std::string& folder)
      : product_(product), hadVendorKey_(KeyExists(shared::kVendorKey)) {
    platform::Registry registry(HKEY_LOCAL_MACHINE);
    registry.OpenKey(product.KeyPath(), true);
    registry.WriteString(shared::kPathValue, folder);
    registry.WriteString(shared::kVerValue, product.version);
    registry.OpenKey(product.EntryPath(), true);
    registry.WriteString(shared::kDisplayNameValue, product.entryName);
    registry.WriteString(shared::kUninstallStringValue, folder + shared::kUninstallExe);
  }
  ~MachineRecords() {
    platform::Registry registry(HKEY_LOCAL_MACHINE);
    registry.DeleteKey(product_.KeyPath());
    registry.DeleteKey(product_.EntryPath());
    if (!hadVendorKey_) registry.DeleteKey(shared::kVendorKey);
  }
  MachineRecords(const MachineRecords&) = delete;

 private:
  const shared::Product& product_;
  bool hadVendorKey_;
};

// Presses a button of the window once it carries this text.
void Press(HWND window, const std::string& text) {
  HWND button = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (button = FindControl(window, text)) != nullptr; })) << text;
  ClickButton(button);
}

// A product folder with its files and the uninstaller of its build, as the installer leaves it.
std::string Install(const std::string& parent, const uninstaller::UninstallProductData& data,
                    const char* build, const std::vector<std::string>& files) {
  std::string folder = parent + data.product.folderName + "\\";
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  for (const auto& name : files) WriteFileBytes(folder + name, "data");
  std::string built = platform::ExeFolder() + "..\\bin\\" + build + "\\uninstall.exe";
  EXPECT_TRUE(CopyFileW(Widen(built).c_str(), Widen(folder + shared::kUninstallExe).c_str(), TRUE))
      << built;
  return folder;
}

// Runs the removal through the program's window and asks it to close: into `confirm` the close
// question, whose Yes ends the program.
testing::AssertionResult RemoveAndAskToClose(Process& program, const uninstaller::UninstallProductData& data,
                                             HWND& confirm) {
  HWND window;
  if (testing::AssertionResult came = AwaitWindow(program, data.captionEnglish, window); !came) return came;
  Press(window, "Next >");
  Press(window, "Uninstall");
  const std::string finished = "The uninstallation has finished. You may close this program.";
  HWND box;
  if (testing::AssertionResult came = AwaitBox(program, finished, box); !came) return came;
  Press(box, "OK");
  Press(window, "Finish");
  testing::AssertionResult came = AwaitWindow(program, "Confirm", confirm);
  if (came) {
    EXPECT_NE(FindControl(confirm, "Are you sure you want to quit the deinstallation?"), nullptr);
  }
  return came;
}

TEST(UninstallProgram, RemovesTheProductAndThenItsOwnFile) {
  SKIP_WITHOUT_DISPLAY();
  struct Case {
    const char* build;
    const uninstaller::UninstallProductData* data;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {"manager", &uninstaller::kManagerUninstall, {"THManager.exe", "Parley.exe"}},
      {"encyclopaedia",
       &uninstaller::kEncyclopaediaUninstall,
       {"THENC.exe", "THENCUpdater.exe", "readme.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.build);
    const shared::Product& product = c.data->product;
    TempDir parent;
    EnvironmentOverride tmp("TMP", parent.Path());  // the program's batch goes there too
    std::string folder = Install(parent.Path(), *c.data, c.build, c.files);
    std::string exe = folder + shared::kUninstallExe;
    MachineRecords records(product, folder);

    {
      // Started from the test's own folder, on another drive than the product folder.
      Process program(exe);
      ASSERT_TRUE(program.Started());
      HWND confirm;
      ASSERT_TRUE(RemoveAndAskToClose(program, *c.data, confirm));
      Press(confirm, "&Yes");
      EXPECT_TRUE(program.WaitForExit(30000));
    }

    EXPECT_TRUE(WaitFor([&] { return !platform::FileExists(exe); }, 60000)) << "the batch left it";
    EXPECT_EQ(ListTree(folder), std::vector<std::string>{});
    EXPECT_FALSE(KeyExists(product.KeyPath()));
    EXPECT_FALSE(KeyExists(product.EntryPath()));
    EXPECT_TRUE(KeyExists(shared::kVendorKey));
    EXPECT_TRUE(BatchesGone(parent.Path()));
  }
}

// A player removes both products and closes both uninstallers at once: each batch is its own, so
// both executables go, and then both batches.
TEST(UninstallProgram, BothUninstallersClosedTogetherRemoveThemselves) {
  SKIP_WITHOUT_DISPLAY();
  TempDir parent;
  EnvironmentOverride tmp("TMP", parent.Path());
  std::string manager = Install(parent.Path(), uninstaller::kManagerUninstall, "manager", {"Parley.exe"});
  std::string encyclopaedia =
      Install(parent.Path(), uninstaller::kEncyclopaediaUninstall, "encyclopaedia", {"THENC.exe"});
  MachineRecords managerRecords(shared::kManager, manager);
  MachineRecords encyclopaediaRecords(shared::kEncyclopaedia, encyclopaedia);
  {
    Process first(manager + shared::kUninstallExe), second(encyclopaedia + shared::kUninstallExe);
    HWND firstConfirm, secondConfirm;
    ASSERT_TRUE(RemoveAndAskToClose(first, uninstaller::kManagerUninstall, firstConfirm));
    ASSERT_TRUE(RemoveAndAskToClose(second, uninstaller::kEncyclopaediaUninstall, secondConfirm));
    HWND firstYes = FindControl(firstConfirm, "&Yes"), secondYes = FindControl(secondConfirm, "&Yes");
    ASSERT_NE(firstYes, nullptr);
    ASSERT_NE(secondYes, nullptr);
    ClickButton(firstYes);
    ClickButton(secondYes);
    EXPECT_TRUE(first.WaitForExit(30000));
    EXPECT_TRUE(second.WaitForExit(30000));
  }
  for (const std::string& folder : {manager, encyclopaedia}) {
    SCOPED_TRACE(folder);
    EXPECT_TRUE(WaitFor([&] { return ListTree(folder).empty(); }, 60000)) << "the batch left it";
  }
  EXPECT_TRUE(BatchesGone(parent.Path()));
}

// The uninstaller has closed; as soon as its process has ended, its folder, or the folder above
// it, is put aside on the machine's side and a link to a decoy with an uninstaller of its own put
// in its place. The batch deletes the program's own file all the same, and the decoy's stays.
TEST(UninstallProgram, AFolderSwappedAfterItEndedLeadsItsBatchNowhereElse) {
  SKIP_WITHOUT_DISPLAY();
  constexpr int kRuns = 10;
  for (int run = 0; run < kRuns; ++run) {
    bool above = run % 2 == 1;
    SCOPED_TRACE("run " + std::to_string(run) + (above ? ", the folder above it" : ", the folder itself"));
    TempDir parent;
    std::string temp = parent / "Temp\\", games = parent / "Games\\", decoys = parent / "DecoyGames\\";
    for (const std::string& f : {temp, games, decoys}) CreateDirectoryW(Widen(f).c_str(), nullptr);
    EnvironmentOverride tmp("TMP", temp);
    std::string folder = Install(games, uninstaller::kManagerUninstall, "manager", {"Parley.exe"});
    std::string decoy = Install(decoys, uninstaller::kManagerUninstall, "manager", {"Parley.exe"});
    MachineRecords records(shared::kManager, folder);
    {
      Process program(folder + shared::kUninstallExe);
      ASSERT_TRUE(program.Started());
      HWND confirm;
      ASSERT_TRUE(RemoveAndAskToClose(program, uninstaller::kManagerUninstall, confirm));
      Press(confirm, "&Yes");
      ASSERT_TRUE(program.WaitForExit(30000));
    }
    std::string from = above ? parent / "Games" : games + "Tarnholm Manager";
    std::string unixFrom = UnixPath(from);
    ASSERT_FALSE(unixFrom.empty());
    ASSERT_TRUE(RunUnixCommand("mv '" + unixFrom + "' '" + unixFrom + " (moved)'"));
    UnixLink link(above ? decoys : decoys + "Tarnholm Manager", from);
    ASSERT_TRUE(link.Made()) << "links are made on the machine's side";
    EXPECT_TRUE(BatchesGone(temp));
    EXPECT_EQ(ListTree(decoy), (std::vector<std::string>{"Parley.exe", "uninstall.exe"}));
    EXPECT_EQ(ListTree(temp), std::vector<std::string>{}) << "the program's own file went";
    std::string moved = above ? parent / "Games (moved)\\Tarnholm Manager\\" : games + "Tarnholm Manager (moved)\\";
    EXPECT_EQ(ListTree(moved), std::vector<std::string>{});
  }
}

// While the removal of a large folder runs, a letter typed into the folder box makes its text
// name no folder of the product's: the removal stops, says so, and keeps both records and the
// program's own file, which stays to be run again.
TEST(UninstallProgram, ARemovalStoppedByAnEditSaysSoAndKeepsTheRecords) {
  SKIP_WITHOUT_DISPLAY();
  TempDir parent;
  EnvironmentOverride tmp("TMP", parent.Path());
  std::vector<std::string> files;
  for (int i = 0; i < 400; ++i) files.push_back("map" + std::to_string(i) + ".dat");
  std::string folder = Install(parent.Path(), uninstaller::kManagerUninstall, "manager", files);
  MachineRecords records(shared::kManager, folder);
  const std::string stopped =
      "The uninstallation has stopped because its folder is no longer the one checked, so some "
      "files may remain. You may run it again.";
  {
    Process program(folder + shared::kUninstallExe);
    HWND window;
    ASSERT_TRUE(AwaitWindow(program, uninstaller::kManagerUninstall.captionEnglish, window));
    Press(window, "Next >");
    Press(window, "Uninstall");
    // The removal runs once the label names a file of the folder.
    ASSERT_TRUE(WaitFor([&] {
      for (HWND label : ControlsOfClass(window, "Static"))
        if (WindowText(label).rfind(folder + "map", 0) == 0) return true;
      return false;
    }));
    HWND edit = FindControlOfClass(window, "Edit");
    ASSERT_NE(edit, nullptr);
    TypeText(edit, "x");
    EXPECT_TRUE(AnswerBox(stopped, IDOK, program.Id()));
    EXPECT_TRUE(KeyExists(shared::kManager.KeyPath()));
    EXPECT_TRUE(KeyExists(shared::kManager.EntryPath()));
    HWND cancel = FindControl(window, "Cancel");
    ASSERT_NE(cancel, nullptr) << "nothing to remove itself after";
    EXPECT_EQ(CloseCountingBoxes(program, cancel, "The uninstallation has finished. You may close this program."), 0);
  }
  EXPECT_GT(ListTree(folder).size(), 1u) << "files remain";
  EXPECT_TRUE(platform::FileExists(folder + shared::kUninstallExe));
  EXPECT_TRUE(BatchesGone(parent.Path())) << "no batch was written";
}

// A record that reaches its folder through a link, or on another machine, deletes nothing there
// nor any record; the program says so, and closes without removing itself.
TEST(UninstallProgram, RefusesAFolderReachedThroughALinkOrOnAnotherMachine) {
  SKIP_WITHOUT_DISPLAY();
  TempDir parent;
  EnvironmentOverride tmp("TMP", parent.Path());
  CreateDirectoryW(Widen(parent / "Games").c_str(), nullptr);
  CreateDirectoryW(Widen(parent / "Runner").c_str(), nullptr);
  std::string exe = Install(parent / "Runner\\", uninstaller::kManagerUninstall, "manager", {}) +
                    shared::kUninstallExe;
  std::string victim = parent / "Victim\\";
  UnixLink link(victim, parent / "Games\\Tarnholm Manager");
  ASSERT_TRUE(link.Made()) << "links are made on the machine's side";
  NetworkFolder remote;
  ASSERT_TRUE(remote.Declared()) << "Wine's drive settings declare a network drive";
  struct Case {
    const char* name;
    std::string record, watched;
  };
  const Case cases[] = {
      {"a link to another folder", parent / "Games\\Tarnholm Manager\\", victim},
      {"a network drive", remote / "Tarnholm Manager\\", remote / "Tarnholm Manager\\"},
  };
  const std::vector<std::string> files = {"Parley.exe", "THManager.exe", "notes.txt"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CreateDirectoryW(Widen(c.watched).c_str(), nullptr);
    for (const auto& name : files) WriteFileBytes(c.watched + name, "data");
    MachineRecords records(shared::kManager, c.record);
    Process program(exe);
    ASSERT_TRUE(program.Started());
    HWND window;
    ASSERT_TRUE(AwaitWindow(program, uninstaller::kManagerUninstall.captionEnglish, window));
    Press(window, "Next >");
    Press(window, "Uninstall");
    EXPECT_TRUE(AnswerBox("The uninstaller's record does not name its own folder, so nothing was deleted.",
                          IDOK, program.Id()));
    EXPECT_EQ(ListTree(c.watched), files);
    EXPECT_TRUE(KeyExists(shared::kManager.KeyPath()));
    EXPECT_TRUE(KeyExists(shared::kManager.EntryPath()));
    HWND cancel = FindControl(window, "Cancel");
    ASSERT_NE(cancel, nullptr) << "nothing to remove itself after";
    EXPECT_EQ(CloseCountingBoxes(program, cancel, "The uninstallation has finished. You may close this program."), 0);
  }
  EXPECT_TRUE(platform::FileExists(exe));
}

// Two clicks on Uninstall, the second while the removal runs: one removal, one box. Both clicks
// wait in the program's queue before it handles the first, so the second comes while it runs.
TEST(UninstallProgram, ASecondClickWhileTheRemovalRunsIsIgnored) {
  SKIP_WITHOUT_DISPLAY();
  TempDir parent;
  EnvironmentOverride tmp("TMP", parent.Path());
  std::string folder = Install(parent.Path(), uninstaller::kManagerUninstall, "manager",
                               {"THManager.exe", "Parley.exe"});
  MachineRecords records(shared::kManager, folder);
  const std::string finished = "The uninstallation has finished. You may close this program.";
  {
    Process program(folder + shared::kUninstallExe);
    HWND window;
    ASSERT_TRUE(AwaitWindow(program, uninstaller::kManagerUninstall.captionEnglish, window));
    Press(window, "Next >");
    HWND uninstall = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (uninstall = FindControl(window, "Uninstall")) != nullptr; }));
    ClickButton(uninstall);
    ClickButton(uninstall);
    EXPECT_TRUE(AnswerBox(finished, IDOK, program.Id()));
    HWND finish = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (finish = FindControl(window, "Finish")) != nullptr; }));
    EXPECT_EQ(CloseCountingBoxes(program, finish, finished), 0) << "a second removal ran";
  }
  EXPECT_TRUE(WaitFor([&] { return ListTree(folder).empty(); }, 60000)) << "the batch left it";
  EXPECT_TRUE(BatchesGone(parent.Path()));
}

// Next clicked by the real mouse leaves the focus where it was, off the wizard's buttons: Space
// and Enter then remove nothing, and the window still answers.
TEST(UninstallProgram, KeysAfterAClickOnNextRemoveNothing) {
  SKIP_WITHOUT_DISPLAY();
  TempDir parent;
  EnvironmentOverride tmp("TMP", parent.Path());
  std::string folder = Install(parent.Path(), uninstaller::kManagerUninstall, "manager", {"Parley.exe"});
  MachineRecords records(shared::kManager, folder);
  const std::vector<std::string> files = ListTree(folder);
  ASSERT_EQ(files.size(), 2u);
  Process program(folder + shared::kUninstallExe);
  HWND window;
  ASSERT_TRUE(AwaitWindow(program, uninstaller::kManagerUninstall.captionEnglish, window));
  RaiseOnDisplay(window);
  HWND next = FindControl(window, "Next >");
  ASSERT_NE(next, nullptr);
  ClickMouseInMiddle(next);
  ASSERT_TRUE(WaitFor([&] { return WindowText(next) == "Uninstall"; }));
  PressKeyOnKeyboard(window, VK_SPACE);
  PressKeyOnKeyboard(window, VK_RETURN);
  ASSERT_TRUE(KeysHandledQuietly(program, window, FindControl(window, "English")));
  EXPECT_EQ(ListTree(folder), files);
  EXPECT_TRUE(KeyExists(shared::kManager.KeyPath()));
  HWND cancel = FindControl(window, "Cancel");
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(CloseCountingBoxes(program, cancel, "The uninstallation has finished. You may close this program."), 0);
}

}  // namespace
}  // namespace uninstaller_tests
