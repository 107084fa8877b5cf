// The resolution dialog: starts the game at a typed screen size.
#pragma once
#include "manager/dialog_form.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/speed_button.h"

namespace manager {

class TResForm4 : public DialogForm {
 public:
  TResForm4();

  ui::Label Label1{this, "Label1", 16, 16, "Width:"};
  ui::Label Label2{this, "Label2", 168, 16, "Height:"};
  ui::Edit WidthEdit1{this, "WidthEdit1"};
  ui::Edit HeightEdit2{this, "HeightEdit2"};
  ui::SpeedButton EnterButton1{this, "EnterButton1"};

  void FormCreate(ui::Object* Sender);
  void FormShow(ui::Object* Sender);
  void WidthEdit1KeyPress(ui::Object* Sender, wchar_t& Key);
  void HeightEdit2KeyPress(ui::Object* Sender, wchar_t& Key);
  void EnterButton1Click(ui::Object* Sender);
};

}  // namespace manager
