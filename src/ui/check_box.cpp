#include "ui/check_box.h"

namespace ui {

CheckBox::CheckBox(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
}

void CheckBox::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (Handle()) SendMessageW(Handle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  Fire(OnClick);
}

void CheckBox::Click() {
  if (Enabled()) SetChecked(!checked_);
}

HWND CheckBox::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, L"BUTTON", BS_CHECKBOX | BS_MULTILINE);
  if (h) SendMessageW(h, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
  return h;
}

bool CheckBox::Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    Click();
    return true;
  }
  return false;
}

}  // namespace ui
