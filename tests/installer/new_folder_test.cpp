// The new-folder window: when a fresh one opens, and what its button does.
#include "installer_fixture.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/display.h"
#include "support/fixtures.h"
#include "support/footprint.h"
#include "support/window_driver.h"

namespace installer_tests {
namespace {

using NewFolderTest = InstallerTest;

TEST_F(NewFolderTest, APressOpensAFreshWindowUnlessOneIsShowing) {
  installer::TFindForm2* first = form->FindForm2;
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->Visible()) << "program start leaves its window hidden";
  // What a window shows tells a fresh one from an old one: their addresses may not, since a
  // fresh window may be made where a freed one stood.
  first->FolderNameEdit.SetText("made at start");

  form->NewFolderButton.Click();
  installer::TFindForm2* shown = form->FindForm2;
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->FolderNameEdit.Text(), "") << "a fresh window, not the one made at start";
  EXPECT_TRUE(shown->Visible());
  EXPECT_EQ(shown->NewFolderButton2.Caption(), "New Folder");
  shown->FolderNameEdit.SetText("Mods");

  form->NewFolderButton.Click();  // showing: brought to the front, nothing new
  EXPECT_EQ(form->FindForm2, shown);
  EXPECT_EQ(form->FindForm2->FolderNameEdit.Text(), "Mods");

  shown->Close();
  EXPECT_TRUE(!form->FindForm2 || !form->FindForm2->Visible());
  form->Polski1.Click();
  form->NewFolderButton.Click();
  ASSERT_NE(form->FindForm2, nullptr);
  EXPECT_TRUE(form->FindForm2->Visible());
  EXPECT_EQ(form->FindForm2->FolderNameEdit.Text(), "") << "a fresh window, not the closed one";
  EXPECT_EQ(form->FindForm2->NewFolderButton2.Caption(), "Nowy Folder");
  // A switch does not reach a window that is showing; the next one takes the language.
  form->English1.Click();
  EXPECT_EQ(form->FindForm2->NewFolderButton2.Caption(), "Nowy Folder");
  EXPECT_TRUE(dialogs.boxes.empty());
}

// A closed window frees itself with its windows at once, counted by the system after every close.
TEST_F(NewFolderTest, AWindowOpenedAndClosedAgainAndAgainHoldsNoMoreWindows) {
  SKIP_WITHOUT_DISPLAY();
  GoToFolderPage();
  form->Show();
  ASSERT_TRUE(form->HandleAllocated());
  const int before = testing_support::ProcessFootprint().windows;
  auto kept = testing_support::KeepsItsFootprint(500, [&](int) {
    form->NewFolderButton.Click();
    ASSERT_TRUE(form->FindForm2 && form->FindForm2->Visible());
    form->FindForm2->FolderNameEdit.SetText("Mods");
    SendMessageW(form->FindForm2->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(testing_support::ProcessFootprint().windows, before) << "nothing of it stays";
  });
  EXPECT_TRUE(kept);
  form->NewFolderButton.Click();
  EXPECT_EQ(form->FindForm2->FolderNameEdit.Text(), "");
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(NewFolderTest, TheButtonCreatesOneLevelUnderTheFieldsFolder) {
  testing_support::TempDir temp;
  CreateDirectoryW(platform::Widen(temp / "Existing").c_str(), nullptr);
  struct Case {
    const char* name;
    std::string field;  // DirEdit before the press
    const char* folder;  // FolderNameEdit
    bool polish;
    std::string expectField;
    std::string text;  // the box; empty: none
    unsigned icon;
    std::string created;  // a folder that must exist afterwards; empty: nothing is made
  };
  std::string parent = WithoutBackslash(temp.Path());
  std::string missing = platform::SystemErrorText(ERROR_PATH_NOT_FOUND);
  const Case cases[] = {
      {"new", parent, "Mods", false, temp.Path(), "Done!", MB_ICONINFORMATION, temp / "Mods"},
      {"new in Polish", temp.Path(), "Mapy", true, temp.Path(), "Zrobione!", MB_ICONINFORMATION,
       temp / "Mapy"},
      {"existing", parent, "Existing", false, temp.Path(),
       "I can not create the folder. The folder name already exists!", MB_ICONWARNING, {}},
      {"existing in Polish", parent, "Existing", true, temp.Path(),
       "Nie mogę utworzyć katalogu. Nazwa katalogu już istnieje!", MB_ICONWARNING, {}},
      {"empty name names the parent", parent, "", false, temp.Path(),
       "I can not create the folder. The folder name already exists!", MB_ICONWARNING, {}},
      {"empty name, parent missing", temp / "Fresh", "", false, temp / "Fresh\\", "Done!",
       MB_ICONINFORMATION, temp / "Fresh"},
      // Not reported as done: the failure, with the system's reason.
      {"missing parent", temp / "No\\Such", "Mods", false, temp / "No\\Such\\",
       "I can not create the folder. " + missing, MB_ICONWARNING, {}},
      {"missing parent in Polish", temp / "No\\Such", "Mods", true, temp / "No\\Such\\",
       "Nie mogę utworzyć katalogu. " + missing, MB_ICONWARNING, {}},
      {"no parent folder at all", "", "Mods", false, "", "I can not create the folder.", MB_ICONWARNING,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.polish) form->Polski1.Click();
    form->NewFolderButton.Click();
    installer::TFindForm2& window = *form->FindForm2;
    window.FolderNameEdit.SetText(c.folder);
    form->DirEdit.SetText(c.field);
    const std::vector<std::string> namesBefore = testing_support::FolderNames(temp.Path());
    dialogs.boxes.clear();
    window.NewFolderButton2.Click();
    EXPECT_EQ(form->DirEdit.Text(), c.expectField);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, c.text);
    EXPECT_EQ(dialogs.boxes[0].caption, "");
    EXPECT_EQ(dialogs.boxes[0].flags, c.icon | MB_OK);
    EXPECT_EQ(dialogs.boxes[0].owner, window.Handle());
    if (!c.created.empty()) {
      EXPECT_TRUE(platform::DirectoryExists(c.created));
    } else {
      // Not under the field's folder, nor where a name without a folder would go: the top of
      // the drive or beside the program.
      EXPECT_EQ(testing_support::FolderNames(temp.Path()), namesBefore);
      EXPECT_FALSE(*c.folder && platform::DirectoryExists(std::string("\\") + c.folder));
      EXPECT_FALSE(*c.folder && platform::DirectoryExists(c.folder));
    }
    // The window stays open with its name.
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.FolderNameEdit.Text(), c.folder);
    window.Close();
    if (c.polish) form->English1.Click();
  }
}

// Keystrokes into the real windows: the folder field and the new folder's name arrive whole, and
// the folder made is the one typed.
TEST_F(NewFolderTest, TypedFolderAndNameMakeTheFolderTyped) {
  SKIP_WITHOUT_DISPLAY();
  testing_support::TempDir temp;
  GoToFolderPage();
  form->Show();
  ASSERT_TRUE(form->HandleAllocated());
  HWND field = form->DirEdit.Handle();
  SendMessageW(field, EM_SETSEL, 0, -1);
  std::string typed = temp / "Gry łódź";
  testing_support::TypeText(field, typed + "x\b");
  EXPECT_EQ(testing_support::WindowText(field), typed);
  EXPECT_EQ(form->DirEdit.Text(), typed);
  ASSERT_TRUE(CreateDirectoryW(platform::Widen(typed).c_str(), nullptr));

  form->NewFolderButton.Click();
  installer::TFindForm2* window = form->FindForm2;
  ASSERT_NE(window->FolderNameEdit.Handle(), nullptr);
  testing_support::TypeText(window->FolderNameEdit.Handle(), "Mody żółwia!\b");
  EXPECT_EQ(testing_support::WindowText(window->FolderNameEdit.Handle()), "Mody żółwia");
  EXPECT_EQ(window->FolderNameEdit.Text(), "Mody żółwia");
  testing_support::ClickButton(window->NewFolderButton2.Handle());
  EXPECT_TRUE(testing_support::WaitFor([&] { return !dialogs.boxes.empty(); }));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Done!"});
  EXPECT_TRUE(platform::DirectoryExists(typed + "\\Mody żółwia"));
}

// From the keyboard a character beyond the basic plane comes as two halves: the folder field and the
// name box each take it whole, the caret after it, and the folder made has the name typed.
TEST_F(NewFolderTest, CharactersBeyondTheBasicPlaneTypedOnTheKeyboardMakeTheFolderTyped) {
  SKIP_WITHOUT_DISPLAY();
  testing_support::TempDir temp;
  GoToFolderPage();
  form->Show();
  ASSERT_TRUE(form->HandleAllocated());
  form->DirEdit.SetText(temp.Path());
  const std::wstring parent = platform::Widen(temp.Path()) + L"Gry \U0001F3AE";
  EXPECT_TRUE(testing_support::TypedAs(form->DirEdit.Handle(), L"Gry \U0001F3AE", parent, &form->DirEdit));
  ASSERT_TRUE(CreateDirectoryW(parent.c_str(), nullptr));

  form->NewFolderButton.Click();
  installer::TFindForm2* window = form->FindForm2;
  ASSERT_NE(window->FolderNameEdit.Handle(), nullptr);
  EXPECT_TRUE(testing_support::TypedAs(window->FolderNameEdit.Handle(), L"x\U0001D11Ey", L"x\U0001D11Ey",
                                       &window->FolderNameEdit));
  testing_support::ClickButton(window->NewFolderButton2.Handle());
  EXPECT_TRUE(testing_support::WaitFor([&] { return !dialogs.boxes.empty(); }));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Done!"});
  EXPECT_TRUE(platform::DirectoryExists(platform::Narrow(parent + L"\\x\U0001D11Ey")));
}

}  // namespace
}  // namespace installer_tests
