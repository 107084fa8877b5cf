#include "ui/panel.h"

namespace ui {

const wchar_t* PlainWindowClass() {
  static const wchar_t* name = RegisterOwnClass(L"TarnholmPlain");
  return name;
}

Panel::Panel(Control* parent, std::string name) : Control(parent, std::move(name)) {}

void Panel::SetBevels(Bevel outer, Bevel inner) {
  outer_ = outer;
  inner_ = inner;
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

HWND Panel::CreateWindowFor(HWND parent) {
  return MakeWindow(parent, PlainWindowClass(), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

LRESULT Panel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      RECT r;
      GetClientRect(Handle(), &r);
      if (outer_ != Bevel::None) {
        DrawEdge(dc, &r, outer_ == Bevel::Raised ? BDR_RAISEDOUTER : BDR_SUNKENOUTER, BF_RECT);
        InflateRect(&r, -1, -1);
      }
      if (inner_ != Bevel::None)
        DrawEdge(dc, &r, inner_ == Bevel::Raised ? BDR_RAISEDINNER : BDR_SUNKENINNER, BF_RECT);
      EndPaint(Handle(), &ps);
      return 0;
    }
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace ui
