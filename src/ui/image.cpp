#include "ui/image.h"

#include "ui/panel.h"

namespace ui {

Image::Image(Control* parent, std::string name) : Control(parent, std::move(name)) {}

void Image::SetPicture(Picture p) {
  picture_ = std::move(p);
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

HWND Image::CreateWindowFor(HWND parent) {
  return MakeWindow(parent, PlainWindowClass(), 0);
}

LRESULT Image::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      RECT r;
      GetClientRect(Handle(), &r);
      PaintBackground(dc, r);
      if (picture_) picture_(dc, r);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace ui
