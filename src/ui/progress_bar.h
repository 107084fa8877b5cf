// Progress bar with a range and a position.
#pragma once
#include "ui/control.h"

namespace ui {

class ProgressBar : public Control {
 public:
  ProgressBar(Control* parent, std::string name);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int v);
  void SetMax(int v);
  void SetPosition(int v);

 protected:
  HWND CreateWindowFor(HWND parent) override;

 private:
  void Push();
  int min_ = 0, max_ = 100, position_ = 0;
};

}  // namespace ui
