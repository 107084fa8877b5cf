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
  bool FillsBackground() const override { return true; }

 private:
  Bevel outer_ = Bevel::None;
  Bevel inner_ = Bevel::None;
};

// The window class of our own plain controls (panels, pictures).
const wchar_t* PlainWindowClass();

}  // namespace ui
