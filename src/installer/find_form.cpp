#include "installer/find_form.h"

#include "installer/wizard_form.h"
#include "platform/error.h"
#include "platform/files.h"
#include "ui/dialogs.h"

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
  NewFolderButton2.OnClick = [this](ui::Object* s) { NewFolderButton2Click(s); };
}

void TFindForm2::FormShow(ui::Object*) {
  if (auto caption = wizard_.Lang.Pick("New Folder", "Nowy Folder")) NewFolderButton2.SetCaption(*caption);
}

void TFindForm2::NewFolderButton2Click(ui::Object*) {
  std::string parent = wizard_.DirEdit.Text();
  // With no parent folder there is nothing to create the folder in.
  if (parent.empty()) {
    Say("I can not create the folder.", "Nie mogę utworzyć katalogu.", MB_ICONWARNING);
    return;
  }
  if (parent.back() != '\\') wizard_.DirEdit.SetText(parent + "\\");
  std::string path = wizard_.DirEdit.Text() + FolderNameEdit.Text();
  if (platform::DirectoryExists(path)) {
    Say("I can not create the folder. The folder name already exists!",
                "Nie mogę utworzyć katalogu. Nazwa katalogu już istnieje!", MB_ICONWARNING);
    return;
  }
  if (!platform::CreateDir(path)) {
    // A failure is said as such, with the system's reason, never as "Done!".
    std::string reason = platform::SystemErrorText(GetLastError());
    Say("I can not create the folder.", "Nie mogę utworzyć katalogu.", MB_ICONWARNING, reason);
    return;
  }
  Say("Done!", "Zrobione!", MB_ICONINFORMATION);
}

void TFindForm2::Say(std::string_view english, std::string_view polish, unsigned icon,
                             const std::string& reason) {
  // The system's box, owned by this window, untitled.
  auto text = wizard_.Lang.Pick(english, polish);
  if (!text) return;
  if (!reason.empty()) *text += " " + reason;
  ui::ShowBox(Handle(), ui::BoxKind::Message, *text, "", icon | MB_OK);
}

}  // namespace installer
