// Check box.
#pragma once
#include "ui/control.h"

namespace ui {

class CheckBox : public Control {
 public:
  CheckBox(Control* parent, std::string name);
  bool Checked() const { return checked_; }
  // A change of the tick runs OnClick, whether the user or the code made it.
  void SetChecked(bool v);
  void Click() override;  // toggles the tick

 protected:
  HWND CreateWindowFor(HWND parent) override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  bool checked_ = false;
};

}  // namespace ui
