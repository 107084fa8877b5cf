// A text label; by default it sizes itself to its text.
#pragma once
#include "ui/control.h"

namespace ui {

class Label : public Control {
 public:
  Label(Control* parent, std::string name, int left = 0, int top = 0, std::string caption = {});
  void SetAutoSize(bool v);
  void SetWordWrap(bool v);
  // The height that the caption takes at the label's width, wrapped when the label wraps; the
  // label's own height where the text cannot be measured (no display).
  int TextHeight() const { return MeasureHeight(false); }
  // The height of one row of text in the label's font.
  int RowHeight() const { return MeasureHeight(true); }

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
  // Whether the label draws its text itself (below), and whether overstruck.
  bool DrawsItself();
  bool Overstruck();
  void PaintText(HDC dc);
  int MeasureHeight(bool oneRow) const;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool tracking_ = false;
  int overstruck_ = -1;  // not yet known for the caption and font
};

}  // namespace ui
