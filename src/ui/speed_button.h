// A button drawn by us: flat or raised, with an optional glyph beside or instead of its caption.
#pragma once
#include "ui/control.h"

namespace ui {

class SpeedButton : public Control {
 public:
  SpeedButton(Control* parent, std::string name);
  void SetFlat(bool v) { flat_ = v; }
  bool Flat() const { return flat_; }
  void SetGlyph(Picture p, int glyphWidth = 16, bool glyphRight = false);

 protected:
  HWND CreateWindowFor(HWND parent) override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool DrawItem(const DRAWITEMSTRUCT& dis) override;

 private:
  bool flat_ = false;
  bool hot_ = false;
  Picture glyph_;
  int glyphWidth_ = 16;
  bool glyphRight_ = false;
};

}  // namespace ui
