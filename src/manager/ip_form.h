// The join-address dialog: starts the game joining a typed address.
#pragma once
#include "manager/dialog_form.h"

namespace manager {

class TIPForm3 : public DialogForm {
 public:
  TIPForm3() : DialogForm("IPForm3", 351, 69) { SetCaption("Connect to IP"); }
};

}  // namespace manager
