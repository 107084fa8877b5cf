// The game-folder prompt: asks for the game folder when the game's registry key names none.
#pragma once
#include "manager/dialog_form.h"

namespace manager {

class TSciezkaForm9 : public DialogForm {
 public:
  TSciezkaForm9() : DialogForm("SciezkaForm9", 295, 127) { SetStayOnTop(true); }
};

}  // namespace manager
