// The wizard's pages, its two buttons through both language switches, the language texts and the
// close question.
#include <functional>

#include "installer_fixture.h"
#include "support/fixtures.h"

namespace installer_tests {
namespace {

using WizardTest = InstallerTest;

TEST_F(WizardTest, NextLeadsThroughThePagesAndTheLicenceGatesIt) {
  Tick(false, false);
  form->AcceptCheckBox.SetChecked(true);  // a tick made earlier does not open the gate
  form->NextButton.Click();
  EXPECT_FALSE(form->Panel1.Visible());
  EXPECT_TRUE(form->Panel2.Visible());
  EXPECT_FALSE(form->NextButton.Enabled());

  form->NextButton.Click();  // disabled: nothing happens
  EXPECT_TRUE(form->Panel2.Visible());
  form->AcceptCheckBox.Click();
  EXPECT_FALSE(form->NextButton.Enabled());
  form->AcceptCheckBox.Click();
  EXPECT_TRUE(form->NextButton.Enabled());

  form->NextButton.Click();
  EXPECT_FALSE(form->Panel2.Visible());
  EXPECT_TRUE(form->Panel3.Visible());
  EXPECT_EQ(form->NextButton.Caption(), "Install");
  EXPECT_TRUE(form->NextButton.Enabled());
  EXPECT_EQ(form->CancelButton.Caption(), "Cancel");
  EXPECT_TRUE(dialogs.boxes.empty());
}

// The two buttons' captions after each step of a script, on each page and after an install.
TEST_F(WizardTest, TheSwitchesMapTheButtonCaptionsExactly) {
  struct Case {
    const char* name;
    std::function<void(WizardTest&)> setUp;  // runs in English
    const char* next[3];                     // at start, after Polish, after English again
    const char* cancel[3];
  };
  const Case cases[] = {
      {"products page", [](WizardTest&) {}, {"Next >", "Dalej >", "Next >"}, {"Cancel", "Anuluj", "Cancel"}},
      {"licence page", [](WizardTest& t) { t.form->NextButton.Click(); },
       {"Next >", "Dalej >", "Next >"}, {"Cancel", "Anuluj", "Cancel"}},
      {"folder page", [](WizardTest& t) { t.GoToFolderPage(); },
       {"Install", "Instaluj", "Install"}, {"Cancel", "Anuluj", "Cancel"}},
      {"after an installation",
       [](WizardTest& t) {
         t.Tick(false, false);
         t.GoToFolderPage();
         t.form->NextButton.Click();
       },
       {"Install", "Instaluj", "Install"}, {"Finish", "Skończ", "Finish"}},
      {"other captions stay",
       [](WizardTest& t) {
         t.form->NextButton.SetCaption("next >");
         t.form->CancelButton.SetCaption("Close");
       },
       {"next >", "next >", "next >"}, {"Close", "Close", "Close"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    c.setUp(*this);
    EXPECT_EQ(form->NextButton.Caption(), c.next[0]);
    EXPECT_EQ(form->CancelButton.Caption(), c.cancel[0]);
    form->Polski1.Click();
    EXPECT_EQ(form->NextButton.Caption(), c.next[1]);
    EXPECT_EQ(form->CancelButton.Caption(), c.cancel[1]);
    form->English1.Click();
    EXPECT_EQ(form->NextButton.Caption(), c.next[2]);
    EXPECT_EQ(form->CancelButton.Caption(), c.cancel[2]);
  }
}

TEST_F(WizardTest, PagesEnteredInPolishTakePolishCaptions) {
  Tick(false, false);
  form->Polski1.Click();
  GoToFolderPage();
  EXPECT_EQ(form->NextButton.Caption(), "Instaluj");
  form->NextButton.Click();
  EXPECT_EQ(form->CancelButton.Caption(), "Skończ");
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[0].text, "Zrobione!");
  EXPECT_EQ(dialogs.boxes[0].caption, "Informacja");
  EXPECT_EQ(dialogs.boxes[1].text, "Utworzyć skrót na pulpicie?");
  EXPECT_EQ(dialogs.boxes[1].caption, "Informacja");
}

TEST_F(WizardTest, TheLanguageSwitchRewritesEveryTranslatedText) {
  struct Text {
    std::function<std::string()> read;
    const char* english;
    const char* polish;
  };
  installer::TForm1& f = *form;
  const Text texts[] = {
      {[&] { return f.LangButton.Caption(); }, "English", "Polski"},
      {[&] { return f.Caption(); }, "Tarnholm Encyclopaedia - Installer v1.0",
       "Tarnholm Encyclopaedia - Instalator v1.0"},
      {[&] { return f.WindowButton.Hint(); }, "Full screen/Window", "Pełen ekran/Okno"},
      {[&] { return f.CloseButton.Hint(); }, "Close", "Zamknij"},
      {[&] { return f.TextLabel1.Caption(); },
       "This wizard will guide you through the installation of Tarnholm Encyclopaedia.",
       "Ten program przeprowadzi cię przez proces instalacji Tarnholm Encyclopaedia."},
      {[&] { return f.TextLabel2.Caption(); },
       "It is recommended that you delete all other versions before starting this Setup.",
       "Zalecane jest usunięcie innych wersji przed rozpoczęciem instalacji."},
      {[&] { return f.TextLabel3.Caption(); }, "Click Next to continue.", "Kliknij Dalej aby kontynuować."},
      {[&] { return f.InstallGroupBox1.Caption(); }, "Elements to the installation:", "Elementy do instalacji:"},
      {[&] { return f.LicenceLabel.Caption(); }, "Licence:", "Licencja:"},
      {[&] { return f.AcceptCheckBox.Caption(); }, "I accept the term of the licence agreement.",
       "Akceptuję warunki umowy licencyjnej."},
      {[&] { return f.OutputLabel.Caption(); }, "Install here:", "Instaluj tutaj:"},
      {[&] { return f.ProgressLabel.Caption(); }, "Progress:", "Postęp:"},
      {[&] { return f.ReadMeCheckBox.Caption(); }, "Open Readme.txt file", "Otwórz plik Readme.txt"},
      {[&] { return f.NewFolderButton.Caption(); }, "New Folder", "Nowy Folder"},
  };
  std::string title = f.TitleLabel.Caption(), product1 = f.InstallCheckBox1.Caption();
  for (const Text& t : texts) EXPECT_EQ(t.read(), t.english) << "at start";
  f.Polski1.Click();
  EXPECT_FALSE(f.Polski1.Enabled());
  EXPECT_TRUE(f.English1.Enabled());
  for (const Text& t : texts) EXPECT_EQ(t.read(), t.polish);
  EXPECT_EQ(f.TitleLabel.Caption(), title);
  EXPECT_EQ(f.InstallCheckBox1.Caption(), product1);
  EXPECT_EQ(ui::Application::Instance().Title(), "TH Encyclopaedia Installer");
  f.English1.Click();
  EXPECT_FALSE(f.English1.Enabled());
  EXPECT_TRUE(f.Polski1.Enabled());
  for (const Text& t : texts) EXPECT_EQ(t.read(), t.english);
}

TEST_F(WizardTest, EveryCloseAsksAndOnlyYesCloses) {
  struct Case {
    const char* name;
    std::function<void(WizardTest&)> close;
  };
  const Case closes[] = {
      {"Cancel", [](WizardTest& t) { t.form->CancelButton.Click(); }},
      {"CloseButton", [](WizardTest& t) { t.form->CloseButton.Click(); }},
      {"close request", [](WizardTest& t) { t.form->Close(); }},
  };
  for (const Case& c : closes) {
    SCOPED_TRACE(c.name);
    dialogs.boxes.clear();
    dialogs.Answer({IDNO});
    c.close(*this);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Confirm);
    EXPECT_EQ(dialogs.boxes[0].text, "Are you sure you want to quit the installation?");
    EXPECT_FALSE(ui::Application::Instance().Terminated());
  }
  // Finish asks the same, in the active language; Yes ends the program.
  Tick(false, false);
  GoToFolderPage();
  form->NextButton.Click();
  form->Polski1.Click();
  ASSERT_EQ(form->CancelButton.Caption(), "Skończ");
  dialogs.boxes.clear();
  dialogs.Answer({IDNO});
  form->CancelButton.Click();
  EXPECT_TRUE(form->Panel3.Visible());
  EXPECT_FALSE(ui::Application::Instance().Terminated());
  dialogs.Answer({IDYES});
  form->CancelButton.Click();
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"Na pewno zakończyć instalację?",
                                                       "Na pewno zakończyć instalację?"}));
  EXPECT_TRUE(ui::Application::Instance().Terminated());
}

TEST_F(WizardTest, AnInstallationWithNoProductStillSaysDoneAndAsks) {
  Tick(false, false);
  GoToFolderPage();
  form->NextButton.Click();  // Yes to the shortcut question: nothing to make
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[0].text, "Done!");
  EXPECT_EQ(dialogs.boxes[0].caption, "Information");
  EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_ICONINFORMATION | MB_OK));
  EXPECT_EQ(dialogs.boxes[1].text, "Create desktop shortcut?");
  EXPECT_EQ(dialogs.boxes[1].caption, "Information");
  EXPECT_EQ(dialogs.boxes[1].flags, static_cast<unsigned>(MB_ICONQUESTION | MB_YESNO));
  EXPECT_EQ(form->CancelButton.Caption(), "Finish");
  EXPECT_TRUE(form->Panel3.Visible());
  EXPECT_EQ(form->NextButton.Caption(), "Install");
  EXPECT_TRUE(form->NextButton.Enabled());
  form->NextButton.Click();  // a second press runs it all again
  EXPECT_EQ(dialogs.boxes.size(), 4u);
}

// A press while the installation runs does nothing; the language menu works meanwhile. A press
// after it has ended installs again.
TEST_F(WizardTest, ASecondPressWhileInstallingDoesNothing) {
  testing_support::ScratchRegistry registry;
  testing_support::TempDir temp;
  Tick(false, true);
  GoToFolderPage();
  form->DirEdit.SetText(temp.Path());
  const std::vector<std::string> done = {"Zrobione!", "Utworzyć skrót na pulpicie?"};
  dialogs.Answer({IDOK, IDNO});
  testing_support::AtNextMessages meanwhile([&] {
    form->NextButton.Click();
    form->Polski1.Click();
  });
  form->NextButton.Click();
  EXPECT_TRUE(meanwhile.Ran());
  EXPECT_EQ(dialogs.Texts(), done);
  EXPECT_FALSE(form->ChangeLabel.Visible()) << "the product folder was made once, by this press";
  EXPECT_EQ(form->CancelButton.Caption(), "Skończ");
  dialogs.boxes.clear();
  dialogs.Answer({IDOK, IDNO});
  form->NextButton.Click();
  EXPECT_EQ(dialogs.Texts(), done);
  EXPECT_TRUE(form->ChangeLabel.Visible());
}

}  // namespace
}  // namespace installer_tests
