// Group box: an etched frame with a title, around the controls placed in it.
#pragma once
#include "ui/control.h"

namespace ui {

class GroupBox : public Control {
 public:
  GroupBox(Control* parent, std::string name);

 protected:
  HWND CreateWindowFor(HWND parent) override;
  // Painted here, frame and title: the themed system box draws its title in the theme's colour,
  // whatever colour the form gives, and black on a black form is no title at all.
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
};

}  // namespace ui
