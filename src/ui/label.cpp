#include "ui/label.h"

#include <algorithm>

#include "platform/text.h"
#include "ui/text_ink.h"

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
  overstruck_ = -1;
  Control::CaptionChanged();
  AdjustSize();
}

void Label::FontChanged() {
  overstruck_ = -1;
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
  int width = Unscale(r.right) + 1;
  // Letters drawn overstruck may stand out past the measure (an italic's last letter).
  if (Overstruck()) {
    Font plain = GetFont();
    plain.underline = false;
    HDC screen = GetDC(Handle());
    width = std::max(width, Unscale(MeasureInk(screen, FontHandle(plain), text, true).right) + 1);
    ReleaseDC(Handle(), screen);
  }
  SetBounds(Left(), Top(), text.empty() ? 0 : width, Unscale(r.bottom));
}

int Label::MeasureHeight(bool oneRow) const {
  HDC dc = GetDC(Handle());
  if (!dc) return Height();
  HGDIOBJ old = SelectObject(dc, FontHandle(GetFont()));
  std::wstring text = oneRow ? L"X" : platform::Widen(Caption());
  RECT r{0, 0, Scale(Width()), 0};
  UINT format = DT_CALCRECT | DT_NOPREFIX | (wordWrap_ && !oneRow ? DT_WORDBREAK : DT_SINGLELINE);
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &r, format);
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  return Unscale(r.bottom);
}

bool Label::Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == STN_CLICKED) {
    Click();
    return true;
  }
  return false;
}

// A one-line label draws its text itself where the system would draw it wrong here: an underlined
// one (a page's title) ends its underline where the letters end, and a bold one whose face draws
// its bold no heavier than its regular weight (Tahoma at 13 pixels and more here) is drawn as the
// system makes the bold of a face that has none (DrawOverstruck).
bool Label::DrawsItself() { return !wordWrap_ && (GetFont().underline || Overstruck()); }

bool Label::Overstruck() {
  if (overstruck_ < 0) {
    Font plain = GetFont();
    plain.underline = false;
    if (wordWrap_ || !plain.bold || Caption().empty() || !Handle()) return false;
    HDC dc = GetDC(Handle());
    if (!dc) return false;
    std::wstring text = platform::Widen(Caption());
    Font regular = plain;
    regular.bold = false;
    overstruck_ = MeasureInk(dc, FontHandle(plain), text).pixels <= MeasureInk(dc, FontHandle(regular), text).pixels;
    ReleaseDC(Handle(), dc);
  }
  return overstruck_ > 0;
}

void Label::PaintText(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  PaintBackground(dc, client);
  Font plain = GetFont();
  plain.underline = false;
  HFONT font = FontHandle(plain);
  std::wstring text = platform::Widen(Caption());
  bool overstruck = Overstruck();
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, Resolve(plain.color));
  SetBkMode(dc, TRANSPARENT);
  if (overstruck)
    DrawOverstruck(dc, 0, 0, text);
  else
    TextOutW(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
  if (GetFont().underline) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    int thickness = std::max(1, static_cast<int>(metrics.tmHeight / 16));
    RECT line{0, metrics.tmAscent + 1, MeasureInk(dc, font, text, overstruck).right,
              metrics.tmAscent + 1 + thickness};
    FillRect(dc, &line, BrushFor(plain.color));
  }
  SelectObject(dc, old);
}

LRESULT Label::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      if (DrawsItself()) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        PaintText(dc);
        EndPaint(Handle(), &ps);
        return 0;
      }
      break;
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
