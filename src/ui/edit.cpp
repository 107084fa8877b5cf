#include "ui/edit.h"

#include <algorithm>

#include "platform/text.h"

namespace ui {

Edit::Edit(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
  SetColor(kWindow);
}

void Edit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (Handle()) SendMessageW(Handle(), EM_SETREADONLY, v, 0);
}

HWND Edit::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, L"EDIT", EditStyle() | (readOnly_ ? ES_READONLY : 0), WS_EX_CLIENTEDGE);
  return h;
}

std::wstring Edit::WindowText() const {
  int n = GetWindowTextLengthW(Handle());
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(Handle(), text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}

void Edit::CaptionChanged() {
  // Only a text set by the program is pushed: writing back what the user typed would move the
  // caret to the start, reversing the next keystrokes, and lose the selection and undo.
  if (Handle() && !taking_) {
    std::wstring text = platform::Widen(Caption());
    if (WindowText() != text) {
      pushing_ = true;
      SetWindowTextW(Handle(), text.c_str());
      pushing_ = false;
    }
  }
  taking_ = false;  // what OnChange sets is the program's text
  Fire(OnChange);
}

bool Edit::Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE && !pushing_) {
    taking_ = true;
    SetCaption(platform::Narrow(WindowText()));  // OnChange follows
    taking_ = false;
    return true;
  }
  return false;
}

bool Edit::FilterKey(wchar_t& key) {
  if (OnKeyPress) Fire([&](Object* s) { OnKeyPress(s, key); });
  return key != 0;
}

LRESULT Edit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR) {
    wchar_t key = static_cast<wchar_t>(wp);
    if (!FilterKey(key)) return 0;
    wp = key;
  }
  return Control::WndProc(msg, wp, lp);
}

void Edit::Type(const std::string& utf8) {
  for (wchar_t ch : platform::Widen(utf8)) {
    wchar_t key = ch;
    if (!FilterKey(key)) continue;
    std::wstring text = platform::Widen(Caption());
    if (key == L'\b') {
      // A pair goes whole, as Windows' box takes it.
      size_t n = text.size() >= 2 && IS_SURROGATE_PAIR(text[text.size() - 2], text.back()) ? 2 : 1;
      text.erase(text.size() - std::min(n, text.size()));
    } else if (key >= 32) {
      text.push_back(key);
    }
    SetCaption(platform::Narrow(text));
  }
}

Memo::Memo(Control* parent, std::string name) : Edit(parent, std::move(name)) {}

std::vector<std::string> Memo::Lines() const {
  std::vector<std::string> lines;
  const std::string& text = Text();
  if (text.empty()) return lines;
  for (size_t start = 0;;) {
    size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

void Memo::AddLine(const std::string& line) {
  SetText(Text().empty() ? line : Text() + "\r\n" + line);
  if (Handle())
    SendMessageW(Handle(), EM_LINESCROLL, 0, SendMessageW(Handle(), EM_GETLINECOUNT, 0, 0));
}

}  // namespace ui
