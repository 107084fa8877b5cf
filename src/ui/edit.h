// Single-line edit box and multi-line memo. The text is the control's caption; OnChange runs for
// every change, typed by the user or set by code.
#pragma once
#include <vector>

#include "ui/control.h"

namespace ui {

class Edit : public Control {
 public:
  Edit(Control* parent, std::string name);
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& t) { SetCaption(t); }
  void SetReadOnly(bool v);
  bool ReadOnly() const { return readOnly_; }
  // What the keyboard does: each character passes OnKeyPress and, unless refused, is added
  // (Backspace removes the last character).
  void Type(const std::string& utf8);

  NotifyEvent OnChange;
  KeyPressEvent OnKeyPress;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  void CaptionChanged() override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual DWORD EditStyle() const { return ES_AUTOHSCROLL; }
  bool FilterKey(wchar_t& key);
  std::wstring WindowText() const;

 private:
  bool readOnly_ = false;
  bool pushing_ = false;
  bool taking_ = false;  // the window's text is being taken into the model
};

// Its lines are read from the text, which alone holds them, also after typing; lines are
// separated by CR LF, and an empty text holds no lines.
class Memo : public Edit {
 public:
  Memo(Control* parent, std::string name);
  std::vector<std::string> Lines() const;
  // Adds a line at the end and scrolls it into view.
  void AddLine(const std::string& line);

 protected:
  DWORD EditStyle() const override { return ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL; }
};

}  // namespace ui
