#include "ui/check_list_box.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/text.h"

namespace ui {

CheckListBox::CheckListBox(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
  SetColor(kWindow);
}

void CheckListBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  checked_.assign(items_.size(), false);
  itemIndex_ = -1;
  if (!Handle()) return;
  SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
  AddRows(Handle());
}

void CheckListBox::AddRows(HWND h) const {
  for (const auto& item : items_)
    SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(item).c_str()));
}

bool CheckListBox::Checked(int row) const {
  return row >= 0 && row < Count() && checked_[static_cast<size_t>(row)];
}

void CheckListBox::SetChecked(int row, bool checked) {
  if (row < 0 || row >= Count()) return;
  checked_[static_cast<size_t>(row)] = checked;
  RedrawRow(row);
}

void CheckListBox::SetItemIndex(int row) {
  itemIndex_ = row >= 0 && row < Count() ? row : -1;
  if (Handle()) SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void CheckListBox::SetItemHeight(int height) {
  itemHeight_ = height;
  if (Handle()) SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, Scale(height));
}

void CheckListBox::ClickCheck(int row) {
  if (!Enabled() || row < 0 || row >= Count()) return;
  SetItemIndex(row);
  Toggle(row);
}

void CheckListBox::PressSpace() {
  if (Enabled() && itemIndex_ >= 0) Toggle(itemIndex_);
}

void CheckListBox::Toggle(int row) {
  checked_[static_cast<size_t>(row)] = !checked_[static_cast<size_t>(row)];
  RedrawRow(row);
  Fire(OnClickCheck);
}

void CheckListBox::RedrawRow(int row) {
  RECT r;
  if (Handle() && SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                               reinterpret_cast<LPARAM>(&r)) != LB_ERR)
    InvalidateRect(Handle(), &r, TRUE);
}

int CheckListBox::BoxSize() const { return Scale(itemHeight_ - 2); }

HWND CheckListBox::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, L"LISTBOX",
                      LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
                      WS_EX_CLIENTEDGE);
  if (!h) return h;
  SendMessageW(h, LB_SETITEMHEIGHT, 0, Scale(itemHeight_));
  AddRows(h);
  SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  return h;
}

bool CheckListBox::Notify(UINT msg, WPARAM wp, LPARAM, LRESULT&) {
  if (msg == WM_COMMAND && HIWORD(wp) == LBN_SELCHANGE) {
    itemIndex_ = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
    return true;
  }
  return false;
}

LRESULT CheckListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      LRESULT result = Control::WndProc(msg, wp, lp);  // the list selects the row
      LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lp);
      if (!HIWORD(hit) && GET_X_LPARAM(lp) < Scale(2) + BoxSize()) ClickCheck(LOWORD(hit));
      return result;
    }
    case WM_KEYDOWN:
      if (wp == VK_SPACE) {
        PressSpace();
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == L' ') return 0;  // no search for a row beginning with a blank
      break;
  }
  return Control::WndProc(msg, wp, lp);
}

bool CheckListBox::DrawItem(const DRAWITEMSTRUCT& dis) {
  if (dis.itemID >= items_.size()) return true;
  HDC dc = dis.hDC;
  RECT r = dis.rcItem;
  bool selected = dis.itemState & ODS_SELECTED;
  FillRect(dc, &r, BrushFor(BackColor()));
  int box = BoxSize();
  RECT check{r.left + Scale(1), r.top + (r.bottom - r.top - box) / 2, 0, 0};
  check.right = check.left + box;
  check.bottom = check.top + box;
  DrawFrameControl(dc, &check, DFC_BUTTON,
                   DFCS_BUTTONCHECK | DFCS_FLAT | (checked_[dis.itemID] ? DFCS_CHECKED : 0));
  RECT text{check.right + Scale(3), r.top, r.right, r.bottom};
  std::wstring caption = platform::Widen(items_[dis.itemID]);
  HGDIOBJ oldFont = SelectObject(dc, FontHandle(GetFont()));
  RECT extent = text;
  DrawTextW(dc, caption.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  text.right = std::min(r.right, extent.right + Scale(2));
  if (selected) FillRect(dc, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : Resolve(GetFont().color));
  RECT inner = text;
  inner.left += Scale(1);
  DrawTextW(dc, caption.c_str(), -1, &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  if (dis.itemState & ODS_FOCUS) DrawFocusRect(dc, &text);
  return true;
}

}  // namespace ui
