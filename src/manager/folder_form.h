// The new-folder dialog: creates a folder, under a typed name, in the folder the main window's
// file list is showing.
#pragma once
#include "manager/dialog_form.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/speed_button.h"

namespace manager {

class TFolderForm5 : public DialogForm {
 public:
  TFolderForm5();

  ui::Label Label1{this, "Label1", 16, 16, "Name:"};
  ui::Edit FolderNameEdit{this, "FolderNameEdit"};
  ui::SpeedButton NewFolderButton2{this, "NewFolderButton2"};

  // The language switch calls both on the current instance to re-translate it.
  void FormCreate(ui::Object* Sender);
  void FormShow(ui::Object* Sender);
  void NewFolderButton2Click(ui::Object* Sender);
};

}  // namespace manager
