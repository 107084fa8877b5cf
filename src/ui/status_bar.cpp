#include "ui/status_bar.h"

#include <commctrl.h>

#include "platform/text.h"

namespace ui {

StatusBar::StatusBar(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetBounds(0, 0, 0, 19);
  SetAlign(Align::Bottom);
}

HWND StatusBar::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER);
  if (h) {
    SendMessageW(h, SB_SIMPLE, TRUE, 0);
    CaptionChanged();
  }
  return h;
}

// The window's own text (what a screen reader reads) follows the shown one.
void StatusBar::CaptionChanged() {
  Control::CaptionChanged();
  if (Handle())
    SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID,
                 reinterpret_cast<LPARAM>(platform::Widen(Caption()).c_str()));
}

}  // namespace ui
