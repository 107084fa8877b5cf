#include "ui/speed_button.h"

#include <windowsx.h>

#include "platform/text.h"

namespace ui {
namespace {
constexpr UINT_PTR kLeaveTimer = 0x5B01;
}

SpeedButton::SpeedButton(Control* parent, std::string name) : Control(parent, std::move(name)) {}

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

void SpeedButton::ShowPushed(bool pushed) {
  if (Handle() && ((SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) != pushed)
    SendMessageW(Handle(), BM_SETSTATE, pushed, 0);
}

LRESULT SpeedButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  // The system button takes the focus on a press and clicks on Space: the press is followed here
  // instead, and the system button sees neither.
  switch (msg) {
    case WM_LBUTTONDOWN:
      pressing_ = true;
      SetCapture(Handle());
      ShowPushed(true);
      return 0;
    case WM_LBUTTONDBLCLK:
      return 0;  // the second click of a double click presses nothing, as before
    case WM_LBUTTONUP: {
      if (!pressing_) return 0;
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      RECT r;
      GetClientRect(Handle(), &r);
      bool inside = PtInRect(&r, p);
      pressing_ = false;
      ShowPushed(false);
      if (GetCapture() == Handle()) ReleaseCapture();
      // As the system button tells it, so the click comes through the parent's notification.
      if (inside && Enabled()) {
        HWND self = Handle();
        SendMessageW(GetParent(self), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(self), BN_CLICKED), reinterpret_cast<LPARAM>(self));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressing_ && reinterpret_cast<HWND>(lp) != Handle()) {
        pressing_ = false;
        ShowPushed(false);
      }
      return 0;
    case WM_SETFOCUS: {
      // Given the focus all the same (by a program): back to the control of its form that had it,
      // or to the form.
      HWND from = reinterpret_cast<HWND>(wp);
      HWND root = GetAncestor(Handle(), GA_ROOT);
      bool back = from && from != Handle() && IsWindow(from) && GetAncestor(from, GA_ROOT) == root &&
                  IsWindowVisible(from) && IsWindowEnabled(from);
      SetFocus(back ? from : root);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      return 0;
    case WM_MOUSEMOVE:
      if (pressing_) {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        RECT r;
        GetClientRect(Handle(), &r);
        ShowPushed(PtInRect(&r, p));
      }
      if (!hot_) {
        hot_ = true;
        // The pointer's leave is looked for on a timer: the system's leave notice did not come
        // when the window changed under the pointer (the window button's full screen), and the
        // button stayed raised.
        SetTimer(Handle(), kLeaveTimer, 100, nullptr);
        InvalidateRect(Handle(), nullptr, FALSE);
      }
      return 0;
    case WM_TIMER:
      if (wp != kLeaveTimer) break;
      if (POINT p; GetCursorPos(&p) && WindowFromPoint(p) != Handle()) {
        KillTimer(Handle(), kLeaveTimer);
        hot_ = false;
        InvalidateRect(Handle(), nullptr, FALSE);
      }
      return 0;
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
  return true;
}

}  // namespace ui
