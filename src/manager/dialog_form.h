// The look every manager dialog shares: a tool window centred on the screen, black, white text.
#pragma once
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/speed_button.h"

namespace manager {

class DialogForm : public ui::Form {
 public:
  DialogForm(std::string name, int clientWidth, int clientHeight) : Form(std::move(name)) {
    SetBorderStyle(ui::BorderStyle::ToolWindow);
    SetClientSize(clientWidth, clientHeight);
    SetColor(ui::kBlack);
    SetFontColor(ui::kWhite);
  }
};

// Sets up a dialog's edit box in the row under its label: black text, empty, no length limit.
void SetUpDialogEdit(ui::Edit& edit, int left, int width);
// Sets up a dialog's button: 31 x 24, flat, a picture and no text, its hint shown.
void SetUpDialogButton(ui::SpeedButton& button, int left, int top, ui::Picture glyph, const char* hint);

}  // namespace manager
