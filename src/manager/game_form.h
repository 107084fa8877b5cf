// The game-start dialog: ten buttons, eight of which start the game, each in its own way.
#pragma once
#include "manager/dialog_form.h"
#include "ui/image.h"
#include "ui/panel.h"
#include "ui/speed_button.h"

namespace manager {

class TGameForm2 : public DialogForm {
 public:
  TGameForm2();

  ui::Panel BtnPanel1{this, "BtnPanel1"};
  ui::SpeedButton SpeedButton1{&BtnPanel1, "SpeedButton1"};
  ui::Panel BtnPanel2{this, "BtnPanel2"};
  ui::SpeedButton SpeedButton2{&BtnPanel2, "SpeedButton2"};
  ui::Panel BtnPanel3{this, "BtnPanel3"};
  ui::SpeedButton SpeedButton3{&BtnPanel3, "SpeedButton3"};
  ui::Panel BtnPanel4{this, "BtnPanel4"};
  ui::SpeedButton SpeedButton4{&BtnPanel4, "SpeedButton4"};
  ui::Panel BtnPanel5{this, "BtnPanel5"};
  ui::SpeedButton SpeedButton5{&BtnPanel5, "SpeedButton5"};
  ui::Panel BtnPanel6{this, "BtnPanel6"};
  ui::SpeedButton SpeedButton6{&BtnPanel6, "SpeedButton6"};
  ui::Panel BtnPanel7{this, "BtnPanel7"};
  ui::SpeedButton SpeedButton7{&BtnPanel7, "SpeedButton7"};
  ui::Panel BtnPanel8{this, "BtnPanel8"};
  ui::SpeedButton SpeedButton8{&BtnPanel8, "SpeedButton8"};
  ui::Panel BtnPanel9{this, "BtnPanel9"};
  ui::SpeedButton SpeedButton9{&BtnPanel9, "SpeedButton9"};
  ui::Panel BtnPanel10{this, "BtnPanel10"};
  ui::SpeedButton SpeedButton10{&BtnPanel10, "SpeedButton10"};
  ui::Image Image2{this, "Image2"};

  void FormCreate(ui::Object* Sender);
  void FormShow(ui::Object* Sender);
  void SpeedButton1Click(ui::Object* Sender);
  void SpeedButton2Click(ui::Object* Sender);
  void SpeedButton3Click(ui::Object* Sender);
  void SpeedButton4Click(ui::Object* Sender);
  void SpeedButton5Click(ui::Object* Sender);
  void SpeedButton6Click(ui::Object* Sender);
  void SpeedButton7Click(ui::Object* Sender);
  void SpeedButton8Click(ui::Object* Sender);
  void SpeedButton9Click(ui::Object* Sender);
  void SpeedButton10Click(ui::Object* Sender);

 private:
  // The start with a switch: nothing but the game-missing box while the game folder is empty.
  void StartWithSwitch(std::string_view tail);
};

}  // namespace manager
