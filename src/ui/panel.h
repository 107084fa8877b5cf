// A container that paints its colour and optional bevels.
#pragma once
#include "ui/control.h"

namespace ui {

class Panel : public Control {
 public:
  Panel(Control* parent, std::string name);
  void SetBevels(Bevel outer, Bevel inner);

 protected:
  HWND CreateWindowFor(HWND parent) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  Bevel outer_ = Bevel::None;
  Bevel inner_ = Bevel::None;
};

// Registers (once) a window class of our own that paints nothing by itself.
const wchar_t* PlainWindowClass();

}  // namespace ui
