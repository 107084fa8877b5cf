#include "uninstaller/uninstall_form.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "platform/directory_search.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "uninstaller/own_folder.h"
#include "uninstaller/self_removal.h"

namespace uninstaller {
namespace {

constexpr char kFinishEnglish[] = "Finish";
constexpr char kFinishPolish[] = "Skończ";

}  // namespace

TForm1::TForm1(const UninstallProductData& data)
    : WizardForm("Form1"), ExecutablePath(platform::ExePath()), data_(data) {
  SetCaption(data_.captionEnglish);

  ui::Font titleFont = Panel1.GetFont();
  titleFont.height = -13;
  titleFont.bold = true;
  titleFont.underline = true;
  TitleLabel.SetFont(titleFont);
  TitleLabel.SetCaption(data_.title);
  TextLabel1.SetCaption(data_.welcomeEnglish);
  TextLabel2.SetCaption(
      "It is recommended that you close applications before starting this uninstallation.");
  TextLabel3.SetCaption("Click Next to continue.");

  Lang.ShowFlags();

  SetUpPage(Panel2, false);
  Panel2.SetPadding(1);  // the aligned rows sit inside the page's bevel
  TopPanel3.Dock(ui::Align::Top, 49);
  // Room for the bold "Ścieżka:" before the box, and the box's margin of 9 on the right.
  TopLeftPanel3.Dock(ui::Align::Left, 72);
  OutputLabel.SetCaption("Path:");
  OutputLabel.SetFontBold(true);
  TopRightMarginPanel3.Dock(ui::Align::Right, 9);
  TopRightPanel3.SetAlign(ui::Align::Client);
  DirEdit.Dock(ui::Align::Bottom, 21);
  UninstallLabel1.SetCaption("Click on the Uninstall button to begin the uninstallation process.");
  BottomPanel3.Dock(ui::Align::Bottom, 66);
  BottomLeftPanel3.SetAlign(ui::Align::Client);
  BottomRightPanel3.Dock(ui::Align::Right, 224);
  BottomRightTopPanel3.SetAlign(ui::Align::Top);
  ProgressLabel.SetCaption("Progress:");
  ProgressLabel.SetFontBold(true);
  ProgressBar1.SetBounds(67, 35, 150, 16);
  // The longer lines wrap inside the page where a wider font would cut them off.
  for (ui::Label* label : {&TextLabel1, &TextLabel2, &TextLabel3, &UninstallLabel1}) {
    label->SetWordWrap(true);
    label->SetBounds(label->Left(), label->Top(), Panel1.ClientWidth() - label->Left() - 8, 28);
  }
  PlaceWelcomeLines();

  NextButton.OnClick = [this](ui::Object* s) { NextButtonClick(s); };
  Polski1.OnClick = [this](ui::Object* s) { Polski1Click(s); };
  English1.OnClick = [this](ui::Object* s) { English1Click(s); };
  OnCloseQuery = [this](ui::Object* s, bool& canClose) { FormCloseQuery(s, canClose); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
  OnClose = [this](ui::Object* s, ui::CloseAction& action) { FormClose(s, action); };
}

void TForm1::NextButtonClick(ui::Object*) {
  if (Panel1.Visible()) {
    Panel1.Hide();
    Panel2.Show();
    if (auto caption = Lang.Pick("Uninstall", "Odinstaluj")) NextButton.SetCaption(*caption);
    return;
  }
  if (Panel2.Visible()) RunOnce([this] { Remove(); });
}

void TForm1::Remove() {
  if (DirEdit.Text().empty()) {
    ShowPageBox("There are no game files!", "Nie ma żadnych plików gry!", MB_ICONWARNING);
  } else if (Removal removal = DeleteFolderFiles(); removal == Removal::Refused) {
    // A stale or tampered record: nothing is deleted, neither files nor records, so the
    // uninstaller stays to be run again once the folder is right.
    ShowPageBox("The uninstaller's record does not name its own folder, so nothing was deleted.",
                "Zapis deinstalatora nie wskazuje jego własnego folderu, więc niczego nie usunięto.",
                MB_ICONWARNING);
    return;
  } else if (removal == Removal::Stopped) {
    // Files may remain: the records stay too, so that the uninstaller can be run again.
    ShowPageBox("The uninstallation has stopped because its folder is no longer the one checked, "
                "so some files may remain. You may run it again.",
                "Deinstalacja została przerwana, bo jej folder nie jest już tym sprawdzonym, więc "
                "część plików mogła pozostać. Można ją uruchomić ponownie.",
                MB_ICONWARNING);
    return;
  } else {
    ShowPageBox("The uninstallation has finished. You may close this program.",
                "Deinstalacja zakończona pomyślnie. Można już zamknąć ten program.",
                MB_ICONINFORMATION);
  }
  // The records go also when there was no folder to empty.
  DeleteRegistryKeys();
  if (auto caption = Lang.Pick(kFinishEnglish, kFinishPolish)) CancelButton.SetCaption(*caption);
}

void TForm1::ShowPageBox(const std::string& english, const std::string& polish, unsigned icon) {
  if (auto text = Lang.Pick(english, polish))
    ui::ShowBox(Handle(), ui::BoxKind::Message, *text, "", icon | MB_OK);
}

void TForm1::Polski1Click(ui::Object*) { SwitchTexts(true); }

void TForm1::English1Click(ui::Object*) { SwitchTexts(false); }

void TForm1::SwitchTexts(bool polish) {
  shared::Language language = polish ? shared::Language::Polish : shared::Language::English;
  SwitchChrome(language, "Uninstall", "Odinstaluj", data_.captionEnglish, data_.captionPolish);
  const shared::Texts text(language);
  TextLabel1.SetCaption(text(data_.welcomeEnglish, data_.welcomePolish));
  TextLabel2.SetCaption(
      text("It is recommended that you close applications before starting this uninstallation.",
           "Zalecane jest zamknięcie programów przed rozpoczęciem deinstalacji."));
  TextLabel3.SetCaption(text("Click Next to continue.", "Kliknij Dalej aby kontynuować."));
  PlaceWelcomeLines();
  OutputLabel.SetCaption(text("Path:", "Ścieżka:"));
  ProgressLabel.SetCaption(text("Progress:", "Postęp:"));
  UninstallLabel1.SetCaption(
      text("Click on the Uninstall button to begin the uninstallation process.",
           "Kliknij Odinstaluj aby rozpocząć proces usuwania."));
}

void TForm1::PlaceWelcomeLines() {
  // The design's places hold for lines of one row; each further row of a line moves the lines
  // below it down by a row, so that the gaps between them stay.
  struct Line {
    ui::Label& label;
    int top;
  };
  const Line lines[] = {{TextLabel1, 70}, {TextLabel2, 105}, {TextLabel3, 137}};
  int shift = 0;
  for (const Line& line : lines) {
    int height = line.label.TextHeight(), row = line.label.RowHeight();
    line.label.SetBounds(line.label.Left(), line.top + shift, line.label.Width(), std::max(height, 28));
    if (row > 0 && height > row) shift += height - row;
  }
}

void TForm1::FormCloseQuery(ui::Object*, bool& CanClose) {
  AskToClose(CanClose, "Are you sure you want to quit the deinstallation?",
             "Na pewno zakończyć deinstalację?");
}

void TForm1::FormShow(ui::Object*) {
  platform::Registry registry(HKEY_LOCAL_MACHINE, KEY_READ);
  registry.OpenKey(data_.product.KeyPath(), false);
  DirEdit.SetText(registry.ReadString(shared::kPathValue));
}

TForm1::Removal TForm1::DeleteFolderFiles() {
  const std::vector<std::string> systemFolders = SystemFolders();
  auto held = std::make_unique<HeldFolder>(DirEdit.Text(), data_.product.folderName, systemFolders);
  if (held->GetState() == HeldFolder::State::Foreign) return Removal::Refused;
  const std::string pattern = held->Path() + "*.*";
  int count = 0;
  for (platform::DirectorySearch search(pattern); search.Found(); search.Next())
    if (!search.IsDotEntry()) ++count;
  ProgressBar1.SetMax(count);

  Removal removal = Removal::Finished;
  int handled = 0;
  for (platform::DirectorySearch search(pattern); search.Found(); search.Next()) {
    // The folder text, read for every entry: an edit made meanwhile applies to the rest once its
    // folder passes the same checks, and one that does not ends the deletion.
    const std::string& text = DirEdit.Text();
    if (!platform::EqualsIgnoreCase(platform::WithTrailingBackslash(text), held->Path())) {
      held = std::make_unique<HeldFolder>(text, data_.product.folderName, systemFolders);
      if (held->GetState() != HeldFolder::State::Held) {
        removal = Removal::Stopped;
        break;
      }
    }
    NameLabel1.SetCaption(held->Path() + search.Name());
    // Folders, read-only files and files in use (this program among them) stay; a folder that
    // can no longer be reached as the one held (one above it renamed) ends the deletion.
    if (!search.IsDotEntry() && !held->DeleteEntry(search.Name()) && !held->StillHeld()) {
      removal = Removal::Stopped;
      break;
    }
    Sleep(10);
    if (!search.IsDotEntry()) ++handled;
    ProgressBar1.SetPosition(handled);
    ui::Application::Instance().ProcessMessages();
  }
  NameLabel1.SetCaption("");
  return removal;
}

void TForm1::DeleteRegistryKeys() {
  platform::Registry registry(HKEY_LOCAL_MACHINE);
  // A parent that cannot be opened leaves nothing to delete.
  if (registry.OpenKey(shared::kVendorKey, false)) registry.DeleteKey(data_.product.keyName);
  registry.CloseKey();
  if (registry.OpenKey(shared::kUninstallKey, false)) registry.DeleteKey(data_.product.entryName);
  registry.CloseKey();
}

void TForm1::FormClose(ui::Object*, ui::CloseAction&) {
  const std::string& cancel = CancelButton.Caption();
  if (cancel != kFinishEnglish && cancel != kFinishPolish) return;
  // The message loop ends once this close has finished.
  PostMessageW(Handle(), WM_QUIT, 0, 0);
  StartSelfRemoval(ExecutablePath);
}

TForm1* CreateUninstallerWindow(const UninstallProductData& data) {
  auto& app = ui::Application::Instance();
  app.SetTitle(kTitle);
  return app.CreateForm<TForm1>(data);
}

}  // namespace uninstaller
