#include "manager/folder_form.h"

#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "platform/error.h"
#include "platform/files.h"
#include "ui/dialogs.h"
#include "ui/glyphs.h"

namespace manager {

TFolderForm5::TFolderForm5() : DialogForm("FolderForm5", 350, 68) {
  // "Folder" is the word in both languages.
  SetCaption("Folder");
  Label1.SetFontBold(true);
  FolderNameEdit.SetBounds(16, 32, 281, 21);
  FolderNameEdit.SetFontColor(ui::kBlack);
  NewFolderButton2.SetBounds(304, 30, 31, 24);
  NewFolderButton2.SetFlat(true);
  NewFolderButton2.SetGlyph(ui::glyphs::NewFolder(), 20);
  NewFolderButton2.SetHint("New Folder");
  NewFolderButton2.SetShowHint(true);
  NewFolderButton2.SetTabStop(false);
  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
  NewFolderButton2.OnClick = [this](ui::Object* s) { NewFolderButton2Click(s); };
}

// The texts are set at each showing; creation has nothing to translate.
void TFolderForm5::FormCreate(ui::Object*) {}

void TFolderForm5::FormShow(ui::Object*) {
  const shared::LanguageItems& lang = Slots().AppForm1->Lang;
  if (auto hint = lang.Pick("New Folder", "Nowy Folder")) NewFolderButton2.SetHint(*hint);
  if (auto label = lang.Pick("Name", "Nazwa")) Label1.SetCaption(*label);
}

void TFolderForm5::NewFolderButton2Click(ui::Object*) {
  ui::Label& browsed = Slots().AppForm1->ListViewPathLabel;
  if (browsed.Caption().empty()) {
    Say("No folder is being browsed, so there is nowhere to create the folder.",
        "Żaden folder nie jest przeglądany, więc nie ma gdzie utworzyć katalogu.", MB_ICONWARNING);
    return;
  }
  if (browsed.Caption().back() != '\\') browsed.SetCaption(browsed.Caption() + "\\");
  std::string path = browsed.Caption() + FolderNameEdit.Text();
  if (platform::DirectoryExists(path)) {
    Say("I can not create the folder. The folder name already exists!",
        "Nie mogę utworzyć katalogu. Nazwa katalogu już istnieje!", MB_ICONWARNING);
    return;
  }
  if (!platform::CreateDir(path)) {
    // A refusal is said as such, with the system's reason, never as "Done!".
    std::string reason = platform::SystemErrorText(GetLastError());
    Say("I can not create the folder.", "Nie mogę utworzyć katalogu.", MB_ICONWARNING, reason);
    return;
  }
  Say("Done!", "Zrobione!", MB_ICONINFORMATION);
}

void TFolderForm5::Say(std::string_view english, std::string_view polish, unsigned icon,
                       const std::string& reason) {
  auto text = Slots().AppForm1->Lang.Pick(english, polish);
  if (!text) return;
  if (!reason.empty()) *text += " " + reason;
  ui::ShowBox(Handle(), ui::BoxKind::Message, *text, "", icon | MB_OK);
}

}  // namespace manager
