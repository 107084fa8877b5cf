// The look every manager dialog shares: a tool window centred on the screen, black, white text.
#pragma once
#include "ui/form.h"

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

}  // namespace manager
