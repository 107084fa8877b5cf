#include "ui/speed_button.h"

#include "platform/text.h"

namespace ui {

SpeedButton::SpeedButton(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
}

void SpeedButton::SetGlyph(Picture p, int glyphWidth, bool glyphRight) {
  glyph_ = std::move(p);
  glyphWidth_ = glyphWidth;
  glyphRight_ = glyphRight;
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

HWND SpeedButton::CreateWindowFor(HWND parent) {
  return MakeWindow(parent, L"BUTTON", BS_OWNERDRAW | BS_NOTIFY);
}

bool SpeedButton::Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    Click();
    return true;
  }
  return false;
}

LRESULT SpeedButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&tme);
        InvalidateRect(Handle(), nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      hot_ = false;
      InvalidateRect(Handle(), nullptr, FALSE);
      break;
    case WM_ERASEBKGND:
      return 1;
  }
  return Control::WndProc(msg, wp, lp);
}

bool SpeedButton::DrawItem(const DRAWITEMSTRUCT& dis) {
  HDC dc = dis.hDC;
  RECT r = dis.rcItem;
  bool pressed = dis.itemState & ODS_SELECTED;
  bool disabled = dis.itemState & ODS_DISABLED;
  FillRect(dc, &r, BrushFor(BackColor()));
  if (!flat_) {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  } else if (pressed) {
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  } else if (hot_) {
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  }
  RECT content = r;
  InflateRect(&content, -2, -2);
  if (pressed) OffsetRect(&content, 1, 1);
  std::wstring text = platform::Widen(Caption());
  HGDIOBJ oldFont = SelectObject(dc, FontHandle(GetFont()));
  RECT textRect{0, 0, 0, 0};
  if (!text.empty()) DrawTextW(dc, text.c_str(), -1, &textRect, DT_CALCRECT | DT_SINGLELINE);
  bool withGlyph = static_cast<bool>(glyph_);
  int gw = withGlyph ? Scale(glyphWidth_) : 0, gap = (withGlyph && !text.empty()) ? Scale(4) : 0;
  // A caption that does not fit beside its picture is shown whole, without the picture.
  if (withGlyph && !text.empty() && gw + gap + textRect.right > content.right - content.left) {
    withGlyph = false;
    gw = gap = 0;
  }
  int total = gw + gap + textRect.right;
  int x = content.left + (content.right - content.left - total) / 2;
  if (withGlyph) {
    int gx = glyphRight_ ? x + textRect.right + gap : x;
    int gh = std::min<int>(content.bottom - content.top, gw);
    RECT g{gx, content.top + (content.bottom - content.top - gh) / 2, gx + gw, 0};
    g.bottom = g.top + gh;
    if (text.empty()) g = content;
    glyph_(dc, g);
  }
  if (!text.empty()) {
    RECT t{glyphRight_ ? x : x + gw + gap, content.top, 0, content.bottom};
    t.right = t.left + textRect.right;
    SetBkMode(dc, TRANSPARENT);
    Color fg = flat_ ? GetFont().color : kBlack;
    SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : Resolve(fg));
    DrawTextW(dc, text.c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  SelectObject(dc, oldFont);
  if (dis.itemState & ODS_FOCUS) {
    RECT f = r;
    InflateRect(&f, -3, -3);
    DrawFocusRect(dc, &f);
  }
  return true;
}

}  // namespace ui
