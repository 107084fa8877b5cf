// A list of rows, each with a check box. One row at a time is selected. The user toggles a row's
// check by clicking its box (which also selects the row) or with the space bar (on the selected
// row); OnClickCheck follows each such toggle. Checks set by the program raise no event.
#pragma once
#include <vector>

#include "ui/control.h"

namespace ui {

class CheckListBox : public Control {
 public:
  CheckListBox(Control* parent, std::string name);

  void SetItems(std::vector<std::string> items);
  const std::vector<std::string>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  bool Checked(int row) const;
  void SetChecked(int row, bool checked);
  // The selected row, -1 when none.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int row);
  // Row height in 96-dpi pixels.
  void SetItemHeight(int height);

  // What the user does: a click on a row's box, and the space bar.
  void ClickCheck(int row);
  void PressSpace();

  NotifyEvent OnClickCheck;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool DrawItem(const DRAWITEMSTRUCT& dis) override;

 private:
  void Toggle(int row);
  // The rows' texts into the list's window.
  void AddRows(HWND h) const;
  void RedrawRow(int row);
  int BoxSize() const;

  std::vector<std::string> items_;
  std::vector<bool> checked_;
  int itemIndex_ = -1;
  int itemHeight_ = 13;
};

}  // namespace ui
