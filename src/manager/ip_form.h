// The join-address dialog: starts the game joining a typed address.
#pragma once
#include <string_view>

#include "manager/dialog_form.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/speed_button.h"

namespace manager {

class TIPForm3 : public DialogForm {
 public:
  TIPForm3();

  ui::Label Label1{this, "Label1", 16, 16, "Choose IP:"};
  ui::Edit IPEdit1{this, "IPEdit1"};
  ui::SpeedButton ConnectButton1{this, "ConnectButton1"};

  void FormCreate(ui::Object* Sender);
  void FormShow(ui::Object* Sender);
  void IPEdit1KeyPress(ui::Object* Sender, wchar_t& Key);
  void ConnectButton1Click(ui::Object* Sender);
};

// The key filter of the value boxes: control characters and digits pass, and the characters
// allowed besides; every other typed character is refused.
void AcceptDigits(wchar_t& key, std::wstring_view alsoAllowed = {});

}  // namespace manager
