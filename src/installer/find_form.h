// The new-folder window: creates a folder under the folder that the wizard's DirEdit holds.
#pragma once
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/panel.h"
#include "ui/speed_button.h"

namespace installer {

class TForm1;

class TFindForm2 : public ui::Form {
 public:
  explicit TFindForm2(TForm1& wizard);
  ~TFindForm2() override;

  ui::Panel Panel1{this, "Panel1"};
  ui::Edit FolderNameEdit{&Panel1, "FolderNameEdit"};
  ui::SpeedButton NewFolderButton2{&Panel1, "NewFolderButton2"};

  void FormShow(ui::Object* Sender);
  void FormClose(ui::Object* Sender, ui::CloseAction& Action);
  void NewFolderButton2Click(ui::Object* Sender);

 private:
  TForm1& wizard_;
};

}  // namespace installer
