#include "installer/find_form.h"

#include "installer/wizard_form.h"
#include "shared/new_folder.h"

namespace installer {

TFindForm2::TFindForm2(TForm1& wizard) : Form("FindForm2"), wizard_(wizard) {
  // "Folder" is the word in both languages.
  SetCaption("Folder");
  SetClientSize(300, 44);
  SetBorderStyle(ui::BorderStyle::ToolWindow);
  SetFont(wizard.GetFont());
  Panel1.SetAlign(ui::Align::Client);
  FolderNameEdit.SetBounds(8, 11, 180, 21);
  NewFolderButton2.SetBounds(196, 10, 96, 23);
  NewFolderButton2.SetCaption("New Folder");
  OnShow = [this](ui::Object* s) { FormShow(s); };
  OnClose = [this](ui::Object* s, ui::CloseAction& action) { FormClose(s, action); };
  NewFolderButton2.OnClick = [this](ui::Object* s) { NewFolderButton2Click(s); };
}

// The wizard's reference never outlives the window.
TFindForm2::~TFindForm2() {
  if (wizard_.FindForm2 == this) wizard_.FindForm2 = nullptr;
}

// Nothing looks at a closed window again: the next press makes a fresh one.
void TFindForm2::FormClose(ui::Object*, ui::CloseAction& Action) { Action = ui::CloseAction::Free; }

void TFindForm2::FormShow(ui::Object*) {
  if (auto caption = wizard_.Lang.Pick("New Folder", "Nowy Folder")) NewFolderButton2.SetCaption(*caption);
}

void TFindForm2::NewFolderButton2Click(ui::Object*) {
  // With no parent folder there is nothing to create the folder in.
  if (wizard_.DirEdit.Text().empty()) {
    shared::SayInLanguage(Handle(), wizard_.Lang, "I can not create the folder.", "Nie mogę utworzyć katalogu.",
                          MB_ICONWARNING);
    return;
  }
  shared::MakeNamedFolder(
      Handle(), wizard_.Lang, wizard_.DirEdit.Text(),
      [this](const std::string& folder) { wizard_.DirEdit.SetText(folder); }, FolderNameEdit.Text());
}

}  // namespace installer
