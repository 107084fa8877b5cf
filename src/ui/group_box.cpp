#include "ui/group_box.h"

#include "platform/text.h"
#include "ui/text_ink.h"

namespace ui {
namespace {

// The title's left edge and the blank kept on either side of it, as the system box has them.
constexpr int kTitleLeft = 8;
constexpr int kTitleGap = 1;

}  // namespace

GroupBox::GroupBox(Control* parent, std::string name) : Control(parent, std::move(name)) {}

HWND GroupBox::CreateWindowFor(HWND parent) {
  return MakeWindow(parent, L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

void GroupBox::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  PaintBackground(dc, client);
  HGDIOBJ old = SelectObject(dc, FontHandle(GetFont()));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT frame = client;
  frame.top += metrics.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (!Caption().empty()) {
    std::wstring text = platform::Widen(Caption());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    // The line resumes where the letters end, which here may be short of the measured width.
    TextInk ink = MeasureInk(dc, FontHandle(GetFont()), text);
    if (ink.right > 0 && ink.right < size.cx) size.cx = ink.right;
    RECT title{Scale(kTitleLeft), 0, Scale(kTitleLeft) + size.cx, size.cy};
    RECT under{title.left - Scale(kTitleGap), title.top, title.right + Scale(kTitleGap), title.bottom};
    SetTextColor(dc, Resolve(GetFont().color));
    SetBkColor(dc, Resolve(BackColor()));
    ExtTextOutW(dc, title.left, title.top, ETO_OPAQUE | ETO_CLIPPED, &under, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
  }
  SelectObject(dc, old);
}

LRESULT GroupBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_SETTEXT:
    case WM_ENABLE: {
      // The system box paints its new title at once, in its own colours.
      LRESULT result = Control::WndProc(msg, wp, lp);
      InvalidateRect(Handle(), nullptr, TRUE);
      return result;
    }
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace ui
