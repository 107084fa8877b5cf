// The about-program dialog.
#pragma once
#include "manager/dialog_form.h"

namespace manager {

class TAbProgramForm8 : public DialogForm {
 public:
  TAbProgramForm8() : DialogForm("AbProgramForm8", 223, 230) { SetCaption("Program"); }
};

}  // namespace manager
