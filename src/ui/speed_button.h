// A button drawn by us: flat or raised, with an optional glyph beside or instead of its caption.
// A graphic button: the mouse presses it; it takes no keyboard focus, so a click leaves the focus
// where it was, and no key (Space, Enter) presses it.
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
  // Shows the button pushed in or out (the system button's own state, which it draws from).
  void ShowPushed(bool pushed);
  bool DrawItem(const DRAWITEMSTRUCT& dis) override;

 private:
  bool flat_ = false;
  bool hot_ = false;
  bool pressing_ = false;  // the left button went down on it and is held
  Picture glyph_;
  int glyphWidth_ = 16;
  bool glyphRight_ = false;
};

}  // namespace ui
