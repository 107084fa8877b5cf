// The game-folder prompt: a folder picked or typed becomes the game folder and the list's root.
#include <gtest/gtest.h>

#include "manager/path_form.h"
#include "manager_fixture.h"
#include "platform/text.h"
#include "support/display.h"
#include "support/window_driver.h"

namespace {

class Prompt : public ManagerTest {
 protected:
  // Starts without a game key, so the prompt opens.
  manager::TSciezkaForm9& Open() {
    main = &Start();
    dialogs.boxes.clear();
    return *manager::Slots().SciezkaForm9;
  }
  std::string Folder(const std::string& name) {
    std::string folder = temp.Path() + name;
    CreateDirectoryW(platform::Widen(folder).c_str(), nullptr);
    return folder;
  }
  manager::TAppForm1* main = nullptr;
};

TEST_F(Prompt, AFolderPickedInTheTreeFillsTheEditAndBecomesTheGameFolder) {
  std::string game = Folder("Picked Game");
  manager::TSciezkaForm9& prompt = Open();
  ASSERT_TRUE(prompt.Visible());
  EXPECT_EQ(prompt.SciezkaEdit1.Text(), "");
  prompt.SciezkaEdit1.SetText("typed");
  prompt.ShellTreeView1.Click(prompt.ShellTreeView1.NodeOf(ui::ItemIdList::FromPath(game)));
  EXPECT_EQ(prompt.SciezkaEdit1.Text(), game) << "the pick replaces what was typed";
  prompt.EnterButton1.Click();
  EXPECT_EQ(main->PathLabel.Caption(), game);
  EXPECT_EQ(main->ListViewPathLabel.Caption(), game);
  EXPECT_EQ(main->ShellListView1.Folder(), game);
  EXPECT_FALSE(prompt.Visible());
}

struct TypedCase {
  const char* name;
  std::string typed;  // "<temp>" stands for the test's folder
  std::string gameFolder;
  std::string root;
};

class TypedPath : public Prompt, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedPath, SetsTheGameFolderAsTypedAndTheRootAsTheListTakesIt) {
  std::string folder = Folder("game");
  auto expand = [&](std::string text) {
    if (auto at = text.find("<temp>"); at != std::string::npos) text.replace(at, 6, folder);
    return text;
  };
  manager::TSciezkaForm9& prompt = Open();
  prompt.SciezkaEdit1.SetText(expand(GetParam().typed));
  prompt.EnterButton1.Click();
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(main->PathLabel.Caption(), expand(GetParam().gameFolder));
  EXPECT_EQ(main->ShellListView1.Root(), expand(GetParam().root));
  EXPECT_EQ(main->ListViewPathLabel.Caption(), expand(GetParam().root));
  EXPECT_FALSE(prompt.Visible());
}

INSTANTIATE_TEST_SUITE_P(Manager, TypedPath,
                         ::testing::Values(TypedCase{"BareDrive", "C:", "C:", "C:\\"},
                                           TypedCase{"TrailingBackslash", "<temp>\\", "<temp>\\", "<temp>\\"},
                                           TypedCase{"PlainFolder", "<temp>", "<temp>", "<temp>"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Prompt, AnEmptyEditGivesTheInformationBoxInTheActiveLanguage) {
  manager::TSciezkaForm9& prompt = Open();
  prompt.EnterButton1.Click();
  main->Polski1.Click();
  prompt.EnterButton1.Click();
  ASSERT_EQ(dialogs.Texts(), (std::vector<std::string>{"Enter the path.", "Na twoim PC nie ma gry Tarnholm.",
                                                        "Podaj ścieżkę."}));
  EXPECT_EQ(dialogs.boxes[0].caption, "Information");
  EXPECT_EQ(dialogs.boxes[2].caption, "Informacja");
  EXPECT_EQ(dialogs.boxes[2].flags, static_cast<unsigned>(MB_ICONINFORMATION | MB_OK));
  EXPECT_TRUE(prompt.Visible());
  EXPECT_EQ(main->PathLabel.Caption(), "");
  EXPECT_EQ(prompt.Label1.Caption(), "Enter the path to the game:") << "the switch leaves the prompt alone";
}

TEST_F(Prompt, AnUnusableTextChangesNothingAndKeepsThePromptOpen) {
  std::string game = Folder("game");
  std::string mods = Folder("game\\Mods");
  manager::TSciezkaForm9& first = Open();
  first.SciezkaEdit1.SetText(game);
  first.EnterButton1.Click();
  main->ShellListView1.OpenItem(main->ShellListView1.IndexOf("Mods"));
  manager::GameMissingPrompt();
  manager::TSciezkaForm9& prompt = *manager::Slots().SciezkaForm9;
  ASSERT_NE(&prompt, &first);
  dialogs.boxes.clear();

  std::string missing = temp.Path() + "missing";
  prompt.SciezkaEdit1.SetText(missing);
  prompt.EnterButton1.Click();
  ASSERT_EQ(dialogs.Texts(), std::vector<std::string>{"Error setting path: \"" + missing + "\""});
  EXPECT_EQ(dialogs.boxes[0].caption, "ZO Ruruzuz");
  EXPECT_TRUE(prompt.Visible());
  EXPECT_EQ(main->PathLabel.Caption(), game) << "the game folder keeps what it held";
  // The list, the tree and the label stay in the folder browsed, under the old root.
  EXPECT_EQ(main->ShellListView1.Root(), game);
  EXPECT_EQ(main->ShellListView1.Folder(), mods);
  EXPECT_EQ(main->ShellTreeView1.Path(), mods);
  EXPECT_EQ(main->ListViewPathLabel.Caption(), mods);
}

TEST_F(Prompt, ClosedWithoutAPathTheGameFolderStaysEmpty) {
  manager::TSciezkaForm9& prompt = Open();
  prompt.SciezkaEdit1.SetText("C:\\");
  prompt.Close();
  EXPECT_FALSE(prompt.Visible());
  EXPECT_EQ(main->PathLabel.Caption(), "");
  EXPECT_EQ(main->ShellListView1.Root(), "");
}

TEST_F(Prompt, ItSpeaksEnglishAtStartEvenWhenPolishIsSaved) {
  WriteSettings("[Main]\r\nLanguage=Polski\r\n");
  manager::TSciezkaForm9& prompt = Open();
  EXPECT_FALSE(main->Polski1.Enabled());
  EXPECT_EQ(prompt.Label1.Caption(), "Enter the path to the game:");
  EXPECT_EQ(prompt.Caption(), "Enter the path");
  main->GameLanguage1.Click();  // any later prompt would be Polish; this one stays English
  EXPECT_EQ(prompt.Caption(), "Enter the path");
}

TEST_F(Prompt, ThroughItsWindowATypedPathIsTakenByTheButtonAndEnterDoesNothing) {
  SKIP_WITHOUT_DISPLAY();
  std::string game = Folder("Gra Łódź");
  manager::TSciezkaForm9& prompt = Open();
  ASSERT_TRUE(prompt.HandleAllocated());
  testing_support::TypeText(prompt.SciezkaEdit1.Handle(), game);
  EXPECT_EQ(prompt.SciezkaEdit1.Text(), game);
  testing_support::PressKey(prompt.SciezkaEdit1.Handle(), VK_RETURN);
  EXPECT_TRUE(prompt.Visible());
  EXPECT_EQ(main->PathLabel.Caption(), "");
  testing_support::ClickButton(prompt.EnterButton1.Handle());
  EXPECT_TRUE(testing_support::WaitFor([&] { return !prompt.Visible(); }, 10000))
      << ::testing::PrintToString(dialogs.Texts());
  EXPECT_EQ(main->PathLabel.Caption(), game);
  EXPECT_EQ(main->ShellListView1.Folder(), game);
}

}  // namespace
