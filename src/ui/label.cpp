#include "ui/label.h"

#include "platform/text.h"

namespace ui {

Label::Label(Control* parent, std::string name, int left, int top, std::string caption)
    : Control(parent, std::move(name)) {
  SetBounds(left, top, 0, 0);
  SetCaption(caption);
}

void Label::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustSize();
}

void Label::SetWordWrap(bool v) { wordWrap_ = v; }

HWND Label::CreateWindowFor(HWND parent) {
  DWORD style = SS_NOTIFY | SS_NOPREFIX | (wordWrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP);
  return MakeWindow(parent, L"STATIC", style);
}

void Label::CaptionChanged() {
  Control::CaptionChanged();
  AdjustSize();
}

void Label::FontChanged() {
  Control::FontChanged();
  AdjustSize();
}

// Measures the text in the label's font; without a display the size stays as it was.
void Label::AdjustSize() {
  if (!autoSize_ || wordWrap_ || !Handle()) return;
  HDC dc = GetDC(Handle());
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, FontHandle(GetFont()));
  std::wstring text = platform::Widen(Caption());
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  SetBounds(Left(), Top(), text.empty() ? 0 : Unscale(r.right) + 1, Unscale(r.bottom));
}

bool Label::Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == STN_CLICKED) {
    Click();
    return true;
  }
  return false;
}

LRESULT Label::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Handle(), 0};
        tracking_ = TrackMouseEvent(&tme);
      }
      Fire(OnMouseMove);
      break;
    case WM_MOUSELEAVE:
      tracking_ = false;
      Fire(OnMouseLeave);
      break;
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace ui
