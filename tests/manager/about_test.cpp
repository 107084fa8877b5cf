// The about dialogs: their texts and places by language, the link to the community site, and how
// they keep their language while open.
#include <gtest/gtest.h>

#include "manager/author_form.h"
#include "manager/program_form.h"
#include "manager/web_addresses.h"
#include "manager_fixture.h"
#include "support/display.h"
#include "support/recorded_shell.h"
#include "support/window_driver.h"

namespace {

struct AboutCase {
  const char* name;
  bool polish;
  // GroupBox1, Label1 to Label4, Label6; then the window's caption.
  std::vector<std::string> authorTexts;
  std::vector<int> authorLefts;  // Label7 to Label10
  // GroupBox1, Label2, Label4, Label11, Label15; then the window's caption.
  std::vector<std::string> programTexts;
  std::vector<int> programLefts;  // Label11, Label13, Label16
};

class AboutDialogs : public ManagerTest, public ::testing::WithParamInterface<AboutCase> {};

TEST_P(AboutDialogs, ShowTheirTextsAndPlacesInTheActiveLanguage) {
  const AboutCase& c = GetParam();
  SetGameFolder();
  manager::TAppForm1& main = Start();
  if (c.polish) main.Polski1.Click();

  main.Author1.Click();
  manager::TAuthorForm7& author = *manager::Slots().AuthorForm7;
  EXPECT_TRUE(author.Visible());
  EXPECT_EQ((std::vector<std::string>{author.GroupBox1.Caption(), author.Label1.Caption(),
                                      author.Label2.Caption(), author.Label3.Caption(),
                                      author.Label4.Caption(), author.Label6.Caption(), author.Caption()}),
            c.authorTexts);
  EXPECT_EQ((std::vector<int>{author.Label7.Left(), author.Label8.Left(), author.Label9.Left(),
                              author.Label10.Left()}),
            c.authorLefts);
  EXPECT_FALSE(author.Label9.Caption().empty()) << "the year is set when the dialog is made";
  EXPECT_FALSE(author.Label10.Caption().empty()) << "the address is set when the dialog is made";

  main.Program1.Click();
  manager::TAbProgramForm8& program = *manager::Slots().AbProgramForm8;
  EXPECT_TRUE(program.Visible());
  EXPECT_EQ((std::vector<std::string>{program.GroupBox1.Caption(), program.Label2.Caption(),
                                      program.Label4.Caption(), program.Label11.Caption(),
                                      program.Label15.Caption(), program.Caption()}),
            c.programTexts);
  EXPECT_EQ((std::vector<int>{program.Label11.Left(), program.Label13.Left(), program.Label16.Left()}),
            c.programLefts);
  EXPECT_EQ(program.Label3.Caption(), "1.1");
  EXPECT_EQ(program.Label5.Caption(), "11");
  EXPECT_FALSE(program.Label16.Caption().empty()) << "the contact is set when the dialog is made";
}

INSTANTIATE_TEST_SUITE_P(
    Manager, AboutDialogs,
    ::testing::Values(
        AboutCase{"English",
                  false,
                  {"About Author:", "Name:", "Nick:", "Birth:", "E-mail:", "Home site:", "Author"},
                  {50, 44, 46, 55},
                  {"About Program:", "Version:", "Build:", "License:", "For comments:", "Program"},
                  {55, 21, 97}},
        AboutCase{"Polish",
                  true,
                  {"O Autorze:", "Imię i nazwisko:", "Pseudonim:", "Rok urodzenia:", "E-mail:",
                   "Strona domowa:", "Autor"},
                  {107, 82, 101, 55},
                  {"O Programie:", "Wersja:", "Build:", "Licencja:", "Komentarze:", "Program"},
                  {57, 13, 89}}),
    [](const auto& info) { return std::string(info.param.name); });

class AuthorLink : public ManagerTest {
 protected:
  // The author dialog opened from the main window's menu, with the game in place.
  manager::TAuthorForm7& OpenAuthorDialog() {
    SetGameFolder();
    Start().Author1.Click();
    return *manager::Slots().AuthorForm7;
  }
  testing_support::RecordedShell shell;
};

TEST_F(ManagerTest, AnOpenAboutDialogKeepsItsLanguageAndFollowsTheNewOneWhenReopened) {
  SetGameFolder();
  manager::TAppForm1& main = Start();
  main.Author1.Click();
  main.Program1.Click();
  manager::TAuthorForm7* author = manager::Slots().AuthorForm7;
  manager::TAbProgramForm8* program = manager::Slots().AbProgramForm8;

  main.Polski1.Click();
  EXPECT_EQ(author->Caption(), "Author");
  EXPECT_EQ(author->GroupBox1.Caption(), "About Author:");
  EXPECT_EQ(author->Label7.Left(), 50);
  EXPECT_EQ(program->Label15.Caption(), "For comments:");
  EXPECT_EQ(program->Label16.Left(), 97);

  main.Author1.Click();
  EXPECT_EQ(manager::Slots().AuthorForm7, author) << "an open dialog only comes to the front";
  EXPECT_EQ(author->Caption(), "Author");

  author->Close();
  program->Close();
  main.Author1.Click();
  main.Program1.Click();
  EXPECT_EQ(manager::Slots().AuthorForm7->Caption(), "Autor");
  EXPECT_EQ(manager::Slots().AuthorForm7->GroupBox1.Caption(), "O Autorze:");
  EXPECT_EQ(manager::Slots().AbProgramForm8->Label15.Caption(), "Komentarze:");
  EXPECT_EQ(manager::Slots().AbProgramForm8->Label16.Left(), 89);
}

TEST_F(AuthorLink, TurnsRedUnderTheMouseAndWhiteAgainWhenItLeaves) {
  manager::TAuthorForm7& author = OpenAuthorDialog();
  EXPECT_EQ(author.Label11.GetFont().color, ui::kWhite);
  EXPECT_EQ(author.Label11.GetCursor(), ui::Cursor::Hand);
  author.Label11.OnMouseMove(&author.Label11);
  EXPECT_EQ(author.Label11.GetFont().color, ui::kRed);
  author.Label11.OnMouseLeave(&author.Label11);
  EXPECT_EQ(author.Label11.GetFont().color, ui::kWhite);

  author.Label11.OnMouseMove(&author.Label11);
  author.Close();
  manager::Slots().AppForm1->Author1.Click();
  EXPECT_EQ(manager::Slots().AuthorForm7->Label11.GetFont().color, ui::kWhite) << "a fresh dialog starts white";
}

TEST_F(AuthorLink, HandsTheCommunityAddressToTheShell) {
  manager::TAuthorForm7& author = OpenAuthorDialog();
  EXPECT_EQ(author.Label11.Caption(),
            "- " + std::string(manager::kWebAddresses.community).substr(std::string("http://").size()));
  author.Label11.Click();
  ASSERT_EQ(shell.requests.size(), 1u);
  const platform::ShellRequest& r = shell.requests[0];
  EXPECT_EQ(r.verb, "open");
  EXPECT_EQ(r.file, manager::kWebAddresses.community);
  EXPECT_EQ(r.parameters, "");
  EXPECT_EQ(r.folder, "");
  EXPECT_EQ(r.show, SW_SHOWNORMAL);
  EXPECT_EQ(r.owner, author.Handle());
}

// The same through the real window: the pointer moves over the link, away from it, and clicks it.
TEST_F(AuthorLink, TheRealMouseColoursItAndItsClickOpensTheCommunitySite) {
  SKIP_WITHOUT_DISPLAY();
  manager::TAuthorForm7& author = OpenAuthorDialog();
  ASSERT_TRUE(author.HandleAllocated());
  author.BringToFront();
  HWND link = author.Label11.Handle();
  RECT r;
  GetClientRect(link, &r);

  testing_support::MoveMouse(link, r.right / 2, r.bottom / 2);
  EXPECT_TRUE(testing_support::WaitFor([&] { return author.Label11.GetFont().color == ui::kRed; }));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  testing_support::MoveMouse(author.Image1.Handle(), 5, 5);
  EXPECT_TRUE(testing_support::WaitFor([&] { return author.Label11.GetFont().color == ui::kWhite; }));

  testing_support::ClickMouse(link, r.right / 2, r.bottom / 2);
  EXPECT_TRUE(testing_support::WaitFor([&] { return !shell.requests.empty(); }));
  ASSERT_EQ(shell.requests.size(), 1u);
  EXPECT_EQ(shell.requests[0].file, manager::kWebAddresses.community);
}

}  // namespace
