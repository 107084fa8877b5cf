#include "manager/dialog_form.h"

namespace manager {

void SetUpDialogEdit(ui::Edit& edit, int left, int width) {
  edit.SetBounds(left, 32, width, 21);
  edit.SetFontColor(ui::kBlack);
}

void SetUpDialogButton(ui::SpeedButton& button, int left, int top, ui::Picture glyph, const char* hint) {
  button.SetBounds(left, top, 31, 24);
  button.SetFlat(true);
  button.SetGlyph(std::move(glyph), 20);
  button.SetHint(hint);
  button.SetShowHint(true);
}

}  // namespace manager
