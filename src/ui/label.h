// A text label; by default it sizes itself to its text.
#pragma once
#include "ui/control.h"

namespace ui {

class Label : public Control {
 public:
  Label(Control* parent, std::string name, int left = 0, int top = 0, std::string caption = {});
  void SetAutoSize(bool v);
  void SetWordWrap(bool v);

  NotifyEvent OnMouseMove;
  NotifyEvent OnMouseLeave;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  void AfterCreate() override { AdjustSize(); }
  void CaptionChanged() override;
  void FontChanged() override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void AdjustSize();
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool tracking_ = false;
};

}  // namespace ui
