#include "ui/dialogs.h"

#include <commdlg.h>

#include <algorithm>

#include <vector>

#include "platform/text.h"

namespace ui {
namespace {

DialogResponder* g_responder = nullptr;

// A dialog template built in memory: icon, question text and the two buttons. Sizes are fixed up
// in WM_INITDIALOG once the text has been measured.
class TemplateWriter {
 public:
  void Word(WORD w) { data_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const wchar_t* s) {
    do Word(*s);
    while (*s++);
  }
  void Align() {
    if (data_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls,
            const wchar_t* text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(x);
    Word(y);
    Word(cx);
    Word(cy);
    Word(id);
    Word(0xFFFF);
    Word(cls);
    Text(text);
    Word(0);
  }
  std::vector<WORD>& Data() { return data_; }

 private:
  std::vector<WORD> data_;
};

constexpr WORD kIconId = 100, kTextId = 101;

INT_PTR CALLBACK ConfirmProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      SendDlgItemMessageW(dlg, kIconId, STM_SETICON,
                          reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_QUESTION)), 0);
      const auto* text = reinterpret_cast<const wchar_t*>(lp);
      SetDlgItemTextW(dlg, kTextId, text);
      HWND label = GetDlgItem(dlg, kTextId);
      HDC dc = GetDC(label);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0)));
      RECT tr{0, 0, 400, 0};
      DrawTextW(dc, text, -1, &tr, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      SelectObject(dc, old);
      ReleaseDC(label, dc);
      RECT unit{4, 8, 50, 14};  // margins and button size in dialog units
      MapDialogRect(dlg, &unit);
      int margin = unit.left * 2, iconSize = GetSystemMetrics(SM_CXICON);
      int buttonW = unit.right, buttonH = unit.bottom, gap = unit.left;
      int textX = margin + iconSize + margin;
      int contentH = std::max<int>(iconSize, tr.bottom);
      int clientW = std::max<int>(textX + tr.right + margin, 2 * buttonW + gap + 2 * margin);
      int clientH = margin + contentH + margin + buttonH + margin;
      SetWindowPos(GetDlgItem(dlg, kIconId), nullptr, margin, margin, iconSize, iconSize, SWP_NOZORDER);
      SetWindowPos(label, nullptr, textX, margin + (contentH - tr.bottom) / 2, tr.right, tr.bottom,
                   SWP_NOZORDER);
      int bx = (clientW - (2 * buttonW + gap)) / 2, by = clientH - margin - buttonH;
      SetWindowPos(GetDlgItem(dlg, IDYES), nullptr, bx, by, buttonW, buttonH, SWP_NOZORDER);
      SetWindowPos(GetDlgItem(dlg, IDNO), nullptr, bx + buttonW + gap, by, buttonW, buttonH,
                   SWP_NOZORDER);
      RECT wr{0, 0, clientW, clientH};
      AdjustWindowRectEx(&wr, GetWindowLongW(dlg, GWL_STYLE), FALSE, GetWindowLongW(dlg, GWL_EXSTYLE));
      int w = wr.right - wr.left, h = wr.bottom - wr.top;
      SetWindowPos(dlg, HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                   (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, 0);
      MessageBeep(MB_ICONQUESTION);
      return TRUE;  // focus goes to the default button, Yes
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDYES:
          EndDialog(dlg, IDYES);
          return TRUE;
        case IDNO:
        case IDCANCEL:  // Escape and the close box answer No
          EndDialog(dlg, IDNO);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

int RealConfirm(HWND owner, const std::string& text) {
  TemplateWriter t;
  t.Dword(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);
  t.Word(4);  // items
  t.Word(0);
  t.Word(0);
  t.Word(200);
  t.Word(60);
  t.Word(0);  // no menu
  t.Word(0);  // default class
  t.Text(L"Confirm");
  t.Word(8);
  t.Text(L"MS Shell Dlg");
  t.Item(SS_ICON, 0, 0, 0, 0, kIconId, 0x0082, L"");
  t.Item(SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, kTextId, 0x0082, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, 0, 50, 14, IDYES, 0x0080, L"&Yes");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 50, 14, IDNO, 0x0080, L"&No");
  std::wstring wtext = platform::Widen(text);
  INT_PTR r = DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                      reinterpret_cast<LPCDLGTEMPLATEW>(t.Data().data()), owner,
                                      ConfirmProc, reinterpret_cast<LPARAM>(wtext.c_str()));
  return r == IDYES ? IDYES : IDNO;
}

}  // namespace

DialogResponder* SetDialogResponder(DialogResponder* responder) {
  DialogResponder* previous = g_responder;
  g_responder = responder;
  return previous;
}

int ShowBox(HWND owner, BoxKind kind, const std::string& text, const std::string& caption,
            unsigned flags) {
  if (g_responder) return g_responder->Box(BoxRequest{kind, text, caption, flags, owner});
  if (kind == BoxKind::Confirm) return RealConfirm(owner, text);
  return MessageBoxW(owner, platform::Widen(text).c_str(), platform::Widen(caption).c_str(), flags);
}

bool Confirm(const std::string& question) {
  HWND owner = GetActiveWindow();
  return ShowBox(owner, BoxKind::Confirm, question, "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool ShowSaveDialog(SaveRequest& request) {
  if (g_responder) return g_responder->Save(request);
  std::vector<wchar_t> file(32768, L'\0');
  std::wstring initial = platform::Widen(request.fileName);
  initial.copy(file.data(), std::min(initial.size(), file.size() - 1));
  // The filter's pairs are separated by "|" in our texts and by NULs in the system's.
  std::wstring filter = platform::Widen(request.filter);
  for (auto& ch : filter)
    if (ch == L'|') ch = L'\0';
  if (!filter.empty()) filter.append(2, L'\0');
  std::wstring ext = platform::Widen(request.defaultExt), title = platform::Widen(request.title);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = request.owner;
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
  if (!GetSaveFileNameW(&ofn)) return false;
  request.fileName = platform::Narrow(file.data());
  return true;
}

}  // namespace ui
