// A status bar with one text panel, along the bottom of its window.
#pragma once
#include "ui/control.h"

namespace ui {

class StatusBar : public Control {
 public:
  StatusBar(Control* parent, std::string name);
  // The one text panel.
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& t) { SetCaption(t); }

 protected:
  HWND CreateWindowFor(HWND parent) override;
  void CaptionChanged() override;
};

}  // namespace ui
