// A picture drawn in code.
#pragma once
#include "ui/control.h"

namespace ui {

class Image : public Control {
 public:
  Image(Control* parent, std::string name);
  void SetPicture(Picture p);

 protected:
  HWND CreateWindowFor(HWND parent) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool LiesUnder() const override { return true; }

 private:
  Picture picture_;
};

}  // namespace ui
