#include "ui/tree_colours.h"

namespace ui {
namespace {

// Part of the way from one colour to another, in percent.
COLORREF Between(COLORREF from, COLORREF to, int percent) {
  auto mix = [percent](int a, int b) { return static_cast<BYTE>(a + (b - a) * percent / 100); };
  return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
             mix(GetBValue(from), GetBValue(to)));
}

}  // namespace

LRESULT SelectedNodeColours(NMTVCUSTOMDRAW& draw, COLORREF back, COLORREF text) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !(draw.nmcd.uItemState & CDIS_SELECTED))
    return CDRF_DODEFAULT;
  if (GetFocus() == draw.nmcd.hdr.hwndFrom) {
    draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
  } else {
    draw.clrText = text;
    draw.clrTextBk = Between(back, text, 35);
  }
  return CDRF_NEWFONT;
}

}  // namespace ui
