// The resolution dialog: starts the game at a typed screen size.
#pragma once
#include "manager/dialog_form.h"

namespace manager {

class TResForm4 : public DialogForm {
 public:
  TResForm4() : DialogForm("ResForm4", 349, 67) { SetCaption("Resolution"); }
};

}  // namespace manager
