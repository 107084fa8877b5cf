#include "ui/progress_bar.h"

#include <commctrl.h>

namespace ui {

ProgressBar::ProgressBar(Control* parent, std::string name) : Control(parent, std::move(name)) {}

void ProgressBar::SetMin(int v) {
  min_ = v;
  Push();
}

void ProgressBar::SetMax(int v) {
  max_ = v;
  Push();
}

void ProgressBar::SetPosition(int v) {
  position_ = v;
  if (Handle()) SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void ProgressBar::Push() {
  if (!Handle()) return;
  SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

HWND ProgressBar::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, PROGRESS_CLASSW, PBS_SMOOTH);
  if (h) Push();
  return h;
}

}  // namespace ui
