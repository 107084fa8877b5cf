#include "installer/wizard_form.h"

#include "platform/disk_space.h"
#include "ui/application.h"
#include "ui/glyphs.h"

namespace installer {
namespace {

constexpr char kLicence[] =
    "TARNHOLM ENCYCLOPAEDIA AND TARNHOLM MANAGER - LICENCE\r\n"
    "\r\n"
    "1. These programs are free of charge. You may install them on any number of computers and "
    "give the unchanged installer to others.\r\n"
    "2. You may not sell the programs or pass them on as part of a product that is sold.\r\n"
    "3. The programs are provided \"as is\", without warranty of any kind. The authors are not "
    "liable for any damage that their use may cause.\r\n"
    "4. Tarnholm is a game of another maker; these programs neither change it nor are made or "
    "endorsed by its maker.\r\n"
    "\r\n"
    "LICENCJA\r\n"
    "\r\n"
    "1. Programy są bezpłatne. Możesz je zainstalować na dowolnej liczbie komputerów i przekazywać "
    "innym niezmieniony instalator.\r\n"
    "2. Nie wolno sprzedawać programów ani rozpowszechniać ich jako części sprzedawanego produktu.\r\n"
    "3. Programy są dostarczane w stanie, w jakim są, bez żadnej gwarancji. Autorzy nie odpowiadają "
    "za szkody wynikłe z ich używania.\r\n"
    "4. Tarnholm jest grą innego producenta; te programy jej nie zmieniają i nie pochodzą od niego.";

void WrappedLabel(ui::Label& label, int width, int height) {
  label.SetWordWrap(true);
  label.SetAutoSize(false);
  label.SetBounds(label.Left(), label.Top(), width, height);
}

}  // namespace

TForm1::TForm1() : WizardForm("Form1") {
  DiskFree = platform::DiskFree;
  DiskSize = platform::DiskSize;

  // Page 1.
  TopPanel1.Dock(ui::Align::Top, 170);
  ui::Font title = GetFont();
  title.height = -13;
  title.bold = true;
  title.underline = true;
  title.color = ui::kBlack;
  TitleLabel.SetFont(title);
  TitleLabel.SetCaption("Tarnholm Encyclopaedia v3.0");
  for (ui::Label* label : {&TextLabel1, &TextLabel2, &TextLabel3}) WrappedLabel(*label, 380, 32);
  BottomPanel1.Dock(ui::Align::Client);
  BottomTopPanel1.Dock(ui::Align::Top, 8);
  InstallGroupBox1.SetBounds(32, 12, 370, 84);
  InstallCheckBox1.SetBounds(16, 24, 330, 20);
  InstallCheckBox1.SetCaption("Tarnholm Encyclopaedia 3.0");
  InstallCheckBox1.SetChecked(true);
  InstallCheckBox2.SetBounds(16, 50, 330, 20);
  InstallCheckBox2.SetCaption("Tarnholm Manager 1.0");
  InstallCheckBox2.SetChecked(true);

  // Page 2.
  SetUpPage(Panel2, false);
  Panel2.SetPadding(9);
  TopPanel2.Dock(ui::Align::Top, 34);
  LicenceLabel.SetFontBold(true);
  BottomPanel2.Dock(ui::Align::Bottom, 34);
  AcceptCheckBox.SetBounds(0, 10, 400, 20);
  LicenceText.SetAlign(ui::Align::Client);
  LicenceText.SetReadOnly(true);
  LicenceText.SetText(kLicence);

  // Page 3.
  SetUpPage(Panel3, false);
  Panel3.SetPadding(2);
  TopPanel3.Dock(ui::Align::Top, 49);
  TopLeftPanel3.Dock(ui::Align::Left, 104);
  OutputLabel.SetFontBold(true);
  TopRightPanel3.Dock(ui::Align::Client);
  TopRightLeftPanel3.Dock(ui::Align::Client);
  DirEdit.Dock(ui::Align::Bottom, 21);
  TopRightRightPanel3.Dock(ui::Align::Right, 112);
  NewFolderButtonPanel.Dock(ui::Align::Bottom, 23);
  NewFolderButton.SetBounds(8, 0, 100, 23);
  NewFolderButton.SetGlyph(ui::glyphs::NewFolder(ui::kBlack), 16);
  BottomPanel3.Dock(ui::Align::Bottom, 66);
  BottomLeftPanel3.Dock(ui::Align::Client);
  ReadMeCheckBox.SetBounds(9, 8, 200, 20);
  ReadMeCheckBox.SetChecked(true);
  WrappedLabel(ChangeLabel, 200, 30);
  ChangeLabel.Hide();
  // The product folders are held here; the user needs no second copy of them on screen.
  THENCPathLabel1.Hide();
  THManagerPathLabel1.Hide();
  BottomRightPanel3.Dock(ui::Align::Right, 224);
  BottomRightTopPanel3.Dock(ui::Align::Top, 27);
  ProgressLabel.SetFontBold(true);
  ProgressBar1.SetBounds(74, 35, 144, 16);
  LeftPanel3.Dock(ui::Align::Left, 180);
  LeftTopPanel3.Dock(ui::Align::Client);
  LeftTopPanel3.SetPadding(6);
  DirectoryListBox1.SetAlign(ui::Align::Client);
  LeftBottomPanel3.Dock(ui::Align::Bottom, 30);
  DriveComboBox1.SetBounds(6, 3, 168, 21);
  RightPanel3.Dock(ui::Align::Client);
  RightTopPanel3.Dock(ui::Align::Client);
  RightTopPanel3.SetPadding(6);
  FileListBox1.SetAlign(ui::Align::Client);
  FilterComboBox1.Dock(ui::Align::Bottom, 21);
  RightBottomPanel3.Dock(ui::Align::Bottom, 58);
  DriveComboBox1.SetDirList(&DirectoryListBox1);
  DirectoryListBox1.SetFileList(&FileListBox1);
  FilterComboBox1.SetFileList(&FileListBox1);

  // The window starts in English (the chrome's buttons and menu say so already).
  SwitchLanguage(shared::Language::English);

  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
  OnCloseQuery = [this](ui::Object* s, bool& canClose) { FormCloseQuery(s, canClose); };
  NextButton.OnClick = [this](ui::Object* s) { NextButtonClick(s); };
  AcceptCheckBox.OnClick = [this](ui::Object* s) { AcceptCheckBoxClick(s); };
  Polski1.OnClick = [this](ui::Object* s) { Polski1Click(s); };
  English1.OnClick = [this](ui::Object* s) { English1Click(s); };
  DirEdit.OnChange = [this](ui::Object* s) { DiscEditChange(s); };
  DirectoryListBox1.OnChange = [this](ui::Object* s) { DirectoryListBox1Change(s); };
  DriveComboBox1.OnChange = [this](ui::Object* s) { DriveComboBox1Change(s); };
  NewFolderButton.OnClick = [this](ui::Object* s) { NewFolderButtonClick(s); };
}

void TForm1::NextButtonClick(ui::Object*) {
  if (Panel1.Visible()) {
    // The product ticks are not looked at: Next works with none ticked.
    Panel1.Hide();
    Panel2.Show();
    NextButton.SetEnabled(false);
  } else if (Panel2.Visible()) {
    if (auto caption = Lang.Pick("Install", "Instaluj")) NextButton.SetCaption(*caption);
    Panel2.Hide();
    Panel3.Show();
  } else if (Panel3.Visible()) {
    RunOnce([this] { Install(); });
  }
}

void TForm1::AcceptCheckBoxClick(ui::Object*) { NextButton.SetEnabled(AcceptCheckBox.Checked()); }

// The steps pump messages between files (a second press meanwhile is ignored); each step reads
// the ticks and the fields as they are when it starts.
void TForm1::Install() {
  if (InstallCheckBox1.Checked()) {
    CreateEncyclopaediaFolder();
    ExtractEncyclopaediaFiles();
    WriteEncyclopaediaKey();
    WriteEncyclopaediaUninstallEntry();
    OpenReadme();
  }
  if (InstallCheckBox2.Checked()) {
    CreateManagerFolder();
    ExtractManagerFiles();
    WriteManagerKey();
    WriteManagerUninstallEntry();
  }
  auto& app = ui::Application::Instance();
  if (auto done = Lang.Pick("Done!", "Zrobione!"))
    app.ShowMessageBox(*done, *Lang.Pick("Information", "Informacja"), MB_ICONINFORMATION | MB_OK);
  if (auto question = Lang.Pick("Create desktop shortcut?", "Utworzyć skrót na pulpicie?")) {
    if (app.ShowMessageBox(*question, *Lang.Pick("Information", "Informacja"),
                           MB_ICONQUESTION | MB_YESNO) == IDYES) {
      if (InstallCheckBox1.Checked()) {
        CreateEncyclopaediaShortcut();
        CreateUpdaterShortcut();
      }
      if (InstallCheckBox2.Checked()) CreateManagerShortcut();
    }
  }
  if (auto caption = Lang.Pick("Finish", "Skończ")) CancelButton.SetCaption(*caption);
}

void TForm1::Polski1Click(ui::Object*) { SwitchLanguage(shared::Language::Polish); }

void TForm1::English1Click(ui::Object*) { SwitchLanguage(shared::Language::English); }

void TForm1::SwitchLanguage(shared::Language language) {
  SwitchChrome(language, "Install", "Instaluj", "Tarnholm Encyclopaedia - Installer v1.0",
               "Tarnholm Encyclopaedia - Instalator v1.0");
  SetTexts(language);
  UpdateDiskSpaceLabels();
}

void TForm1::SetTexts(shared::Language language) {
  const shared::Texts text(language);
  TextLabel1.SetCaption(
      text("This wizard will guide you through the installation of Tarnholm Encyclopaedia.",
           "Ten program przeprowadzi cię przez proces instalacji Tarnholm Encyclopaedia."));
  TextLabel2.SetCaption(
      text("It is recommended that you delete all other versions before starting this Setup.",
           "Zalecane jest usunięcie innych wersji przed rozpoczęciem instalacji."));
  TextLabel3.SetCaption(text("Click Next to continue.", "Kliknij Dalej aby kontynuować."));
  InstallGroupBox1.SetCaption(text("Elements to the installation:", "Elementy do instalacji:"));
  LicenceLabel.SetCaption(text("Licence:", "Licencja:"));
  AcceptCheckBox.SetCaption(
      text("I accept the term of the licence agreement.", "Akceptuję warunki umowy licencyjnej."));
  OutputLabel.SetCaption(text("Install here:", "Instaluj tutaj:"));
  ProgressLabel.SetCaption(text("Progress:", "Postęp:"));
  ReadMeCheckBox.SetCaption(text("Open Readme.txt file", "Otwórz plik Readme.txt"));
  NewFolderButton.SetCaption(text("New Folder", "Nowy Folder"));
}

void TForm1::FormCloseQuery(ui::Object*, bool& CanClose) {
  AskToClose(CanClose, "Are you sure you want to quit the installation?",
             "Na pewno zakończyć instalację?");
}

}  // namespace installer
