#include "manager/folder_form.h"

#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "shared/new_folder.h"
#include "ui/glyphs.h"

namespace manager {

TFolderForm5::TFolderForm5() : DialogForm("FolderForm5", 350, 68) {
  // "Folder" is the word in both languages.
  SetCaption("Folder");
  Label1.SetFontBold(true);
  SetUpDialogEdit(FolderNameEdit, 16, 281);
  SetUpDialogButton(NewFolderButton2, 304, 30, ui::glyphs::NewFolder(), "New Folder");
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
  TAppForm1& main = *Slots().AppForm1;
  ui::Label& browsed = main.ListViewPathLabel;
  if (browsed.Caption().empty()) {
    shared::SayInLanguage(Handle(), main.Lang,
                          "No folder is being browsed, so there is nowhere to create the folder.",
                          "Żaden folder nie jest przeglądany, więc nie ma gdzie utworzyć katalogu.", MB_ICONWARNING);
    return;
  }
  shared::MakeNamedFolder(
      Handle(), main.Lang, browsed.Caption(), [&](const std::string& folder) { browsed.SetCaption(folder); },
      FolderNameEdit.Text());
}

}  // namespace manager
