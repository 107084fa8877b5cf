// Photographs windows for the documentation: each tool shows a program's windows one by one, in
// both languages. The screen itself is read on the display's side (scripts/screenshots): for each
// window the tool writes <name>.rect with the window's place on the screen and waits until the
// picture <name>.png is there.
#pragma once
#include <windows.h>

#include <string>

#include "ui/dialogs.h"
#include "ui/form.h"

namespace screenshots {

// Answers every box with its first button, silently, while the windows are photographed.
class QuietDialogs : public ui::DialogResponder {
 public:
  QuietDialogs() { ui::SetDialogResponder(this); }
  ~QuietDialogs() override { ui::SetDialogResponder(nullptr); }
  int Box(const ui::BoxRequest& request) override;
  bool Save(ui::SaveRequest&) override { return false; }
};

// Shows the form if needed, lets it paint, and has its window (frame included) photographed as
// <folder>\<name>.png.
void Photograph(ui::Form& form, const std::string& folder, const std::string& name);

// Opens the form's main-menu entry (by its position in the menu bar) and has the window with the
// dropped menu photographed as <folder>\<name>.png; the menu is closed again.
void PhotographMenu(ui::Form& form, int entry, const std::string& folder, const std::string& name);

// The folder given on the command line, with its trailing backslash.
std::string OutputFolder();

}  // namespace screenshots
