#include "support/window_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/text.h"
#include "ui/application.h"

using platform::Narrow;
using platform::Widen;

namespace testing_support {

Process::Process(const std::string& exe, const std::string& arguments, const std::string& folder)
    : name_(exe.substr(exe.find_last_of("\\/") + 1)) {
  std::wstring line = L"\"" + Widen(exe) + L"\"";
  if (!arguments.empty()) line += L" " + Widen(arguments);
  std::wstring dir = Widen(folder);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &si, &info_))
    info_ = {};
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 10000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool Process::WaitForExit(DWORD timeoutMs) {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool Process::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::string Process::Standing() const {
  if (!info_.hProcess) return "it did not start";
  if (Running()) return "it still runs";
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return "it ended with exit code " + std::to_string(code);
}

std::string ProgramOutput(const std::string& commandLine) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &sa, 0)) return {};
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = write;
  PROCESS_INFORMATION pi{};
  std::wstring line = Widen(commandLine);
  BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                nullptr, &si, &pi);
  CloseHandle(write);
  std::string out;
  char buffer[4096];
  DWORD n = 0;
  while (started && ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n) out.append(buffer, n);
  CloseHandle(read);
  if (started) {
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  return out;
}

std::string WindowText(HWND window) {
  // WM_GETTEXT, because GetWindowText does not read an edit box of another process.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied))
    return {};
  text.resize(copied);
  return Narrow(text);
}

HWND WaitForTopLevel(DWORD processId, DWORD timeoutMs, const std::function<bool(HWND)>& accept) {
  struct Search {
    DWORD pid;
    const std::function<bool(HWND)>* accept;
    HWND found;
  } search{processId, &accept, nullptr};
  WaitFor(
      [&] {
        EnumWindows(
            [](HWND h, LPARAM lp) -> BOOL {
              auto* s = reinterpret_cast<Search*>(lp);
              DWORD pid = 0;
              GetWindowThreadProcessId(h, &pid);
              if (!IsWindowVisible(h) || (s->pid && pid != s->pid) || !(*s->accept)(h)) return TRUE;
              s->found = h;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

HWND WaitForWindow(const std::string& caption, DWORD processId, DWORD timeoutMs) {
  return WaitForTopLevel(processId, timeoutMs, [&](HWND h) { return WindowText(h) == caption; });
}

namespace {

bool HasClass(HWND h, const std::wstring& className) {
  wchar_t cls[64] = L"";
  GetClassNameW(h, cls, 64);
  return lstrcmpiW(cls, className.c_str()) == 0;
}

}  // namespace

HWND WaitForWindowOfClass(const std::string& className, DWORD processId, DWORD timeoutMs) {
  std::wstring cls = Widen(className);
  return WaitForTopLevel(processId, timeoutMs, [&](HWND h) { return HasClass(h, cls); });
}

HWND WaitForBox(const std::string& text, DWORD processId, DWORD timeoutMs) {
  return WaitForTopLevel(processId, timeoutMs,
                         [&](HWND h) { return HasClass(h, L"#32770") && FindControl(h, text); });
}

bool AnswerBox(const std::string& text, int buttonId, DWORD processId, DWORD timeoutMs) {
  HWND box = WaitForBox(text, processId, timeoutMs);
  HWND button = box ? GetDlgItem(box, buttonId) : nullptr;
  if (!button) return false;
  ClickButton(button);
  return WaitUntilGone(box, timeoutMs);
}

HWND WaitForFileDialog(DWORD processId, DWORD timeoutMs) {
  return WaitForTopLevel(processId, timeoutMs, [&](HWND h) {
    return HasClass(h, L"#32770") && FindControlOfClass(h, "Edit");
  });
}

void EndProgramsWithWindowsOfClass(const std::string& className) {
  struct Search {
    std::wstring cls;
    std::vector<DWORD> pids;
  } search{Widen(className), {}};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (HasClass(h, s->cls) && pid != GetCurrentProcessId()) s->pids.push_back(pid);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  for (DWORD pid : search.pids) {
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 10000);
      CloseHandle(process);
    }
  }
}

HWND FindControl(HWND parent, const std::string& text) {
  struct Search {
    std::string text;
    HWND found;
  } search{text, nullptr};
  EnumChildWindows(
      parent,
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (WindowText(h) != s->text) return TRUE;
        s->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> ControlsOfClass(HWND parent, const std::string& className) {
  struct Search {
    std::wstring cls;
    std::vector<HWND> found;
  } search{Widen(className), {}};
  EnumChildWindows(
      parent,
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (HasClass(h, s->cls) && IsWindowVisible(h)) s->found.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindControlOfClass(HWND parent, const std::string& className) {
  std::vector<HWND> controls = ControlsOfClass(parent, className);
  return controls.empty() ? nullptr : controls.front();
}

void ClickButton(HWND button) {
  // Posted, because a click may open a box that waits for us.
  PostMessageW(button, BM_CLICK, 0, 0);
}

namespace {

bool InThisThread(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

}  // namespace

void TypeText(HWND control, const std::string& utf8) {
  for (wchar_t ch : Widen(utf8)) {
    if (InThisThread(control)) {
      PostMessageW(control, WM_CHAR, ch, 1);  // through the program's own loop
      ui::Application::Instance().ProcessMessages();
    } else {
      // Sent, not posted: nothing sent to wait for a posted message would be handled after it.
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(control, WM_CHAR, ch, 1, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
  }
}

void PressKey(HWND control, UINT virtualKey) {
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(control, WM_KEYDOWN, virtualKey, scan | 1);
  PostMessageW(control, WM_KEYUP, virtualKey, scan | 1 | (1LL << 30) | (1LL << 31));
  if (InThisThread(control)) ui::Application::Instance().ProcessMessages();
}

void OpenMenu(HWND window, int menu, int item) {
  LPARAM f10 = static_cast<LPARAM>(MapVirtualKeyW(VK_F10, MAPVK_VK_TO_VSC)) << 16 | 1;
  PostMessageW(window, WM_SYSKEYDOWN, VK_F10, f10);
  PostMessageW(window, WM_SYSKEYUP, VK_F10, f10 | 3LL << 30);
  for (int i = 0; i < menu; ++i) PressKey(window, VK_RIGHT);
  for (int i = 0; i <= item; ++i) PressKey(window, VK_DOWN);
}

void ChooseFromMenu(HWND window, int menu, int item) {
  OpenMenu(window, menu, item);
  PressKey(window, VK_RETURN);
}

std::vector<HWND> OpenMenus(DWORD processId) {
  struct Search {
    DWORD processId;
    std::vector<HWND> found;
  } search{processId, {}};
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == s.processId && IsWindowVisible(h) && HasClass(h, L"#32768")) s.found.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::reverse(search.found.begin(), search.found.end());  // a later menu lies above
  return search.found;
}

namespace {

void SendMouse(HWND window, int x, int y, std::initializer_list<DWORD> buttons) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  // Absolute coordinates run from 0 to 65535 across the primary screen.
  auto scale = [](LONG v, int metric) {
    return static_cast<LONG>(MulDiv(v, 65535, GetSystemMetrics(metric) - 1));
  };
  std::vector<INPUT> inputs;
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = scale(p.x, SM_CXSCREEN);
  move.mi.dy = scale(p.y, SM_CYSCREEN);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs.push_back(move);
  for (DWORD flag : buttons) {
    INPUT press = move;
    press.mi.dwFlags = flag | MOUSEEVENTF_ABSOLUTE;
    inputs.push_back(press);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (InThisThread(window)) ui::Application::Instance().ProcessMessages();
}

}  // namespace

void MoveMouse(HWND window, int x, int y) { SendMouse(window, x, y, {}); }

void ClickMouseInMiddle(HWND control) {
  RECT r;
  GetClientRect(control, &r);
  ClickMouse(control, r.right / 2, r.bottom / 2);
}

void PressKeyOnKeyboard(HWND window, UINT virtualKey) {
  INPUT keys[2]{};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = static_cast<WORD>(virtualKey);
    key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  if (InThisThread(window)) ui::Application::Instance().ProcessMessages();
}

void ClickMouse(HWND window, int x, int y) {
  SendMouse(window, x, y, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void DoubleClickMouse(HWND window, int x, int y) {
  SendMouse(window, x, y, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

bool TypeOnKeyboard(HWND control, std::wstring_view units) {
  // The keyboard types into the focused control of the foreground window; the click goes to the
  // window on top at its point.
  HWND root = GetAncestor(control, GA_ROOT);
  SetForegroundWindow(root);
  RaiseOnDisplay(root);
  DWORD thread = GetWindowThreadProcessId(control, nullptr);
  auto focused = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus == control;
  };
  // A click into a box that has the focus would move its caret, and a second one soon after the
  // first would select a word.
  if (!focused()) {
    RECT r{};
    GetClientRect(control, &r);
    ClickMouse(control, std::max<LONG>(r.right - 4, 0), r.bottom / 2);
    if (!WaitFor(focused)) return false;
  }
  std::vector<INPUT> keys;
  for (wchar_t unit : units)
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT key{};
      key.type = INPUT_KEYBOARD;
      key.ki.wScan = unit;
      key.ki.dwFlags = KEYEVENTF_UNICODE | up;
      keys.push_back(key);
    }
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  if (InThisThread(control)) ui::Application::Instance().ProcessMessages();
  return true;
}

namespace {

// A block of memory in the program that owns a window: the list view's messages carry pointers,
// which the system does not carry over between processes.
class MemoryOfWindowsProgram {
 public:
  MemoryOfWindowsProgram(HWND window, SIZE_T size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) block_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  }
  ~MemoryOfWindowsProgram() {
    if (block_) VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  MemoryOfWindowsProgram(const MemoryOfWindowsProgram&) = delete;
  char* Block() const { return block_; }
  bool Write(const void* at, const void* data, SIZE_T size) const {
    return WriteProcessMemory(process_, const_cast<void*>(at), data, size, nullptr);
  }
  bool Read(const void* at, void* data, SIZE_T size) const {
    return ReadProcessMemory(process_, at, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  char* block_ = nullptr;
};

}  // namespace

namespace {

// The texts that a control of another program copies, one for each index below the count, into
// the buffer that an item structure (of a list view, of a header) points to.
template <typename Item>
std::vector<std::string> CopiedTexts(HWND control, UINT msg, LRESULT count, Item item) {
  constexpr int kChars = MAX_PATH;
  MemoryOfWindowsProgram memory(control, sizeof(Item) + kChars * sizeof(wchar_t));
  if (!memory.Block()) return {};
  auto* remoteText = reinterpret_cast<wchar_t*>(memory.Block() + sizeof(Item));
  item.pszText = remoteText;
  item.cchTextMax = kChars;
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i) {
    wchar_t text[kChars] = L"";
    if (!memory.Write(memory.Block(), &item, sizeof item)) return {};
    SendMessageW(control, msg, i, reinterpret_cast<LPARAM>(memory.Block()));
    memory.Read(remoteText, text, sizeof text);
    text[kChars - 1] = 0;
    texts.push_back(Narrow(text));
  }
  return texts;
}

}  // namespace

std::vector<std::string> ListViewTexts(HWND list, int column) {
  LVITEMW item{};
  item.iSubItem = column;
  return CopiedTexts(list, LVM_GETITEMTEXTW, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), item);
}

std::vector<std::string> ListViewColumnTitles(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  if (!header) return {};
  HDITEMW item{};
  item.mask = HDI_TEXT;
  return CopiedTexts(header, HDM_GETITEMW, SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), item);
}

int ListViewStringWidth(HWND list, const std::string& text) {
  std::wstring wide = Widen(text);
  MemoryOfWindowsProgram memory(list, (wide.size() + 1) * sizeof(wchar_t));
  if (!memory.Block() || !memory.Write(memory.Block(), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)))
    return -1;
  return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(memory.Block())));
}

bool DoubleClickListItem(HWND list, const std::string& name) {
  std::vector<std::string> texts = ListViewTexts(list);
  auto found = std::find(texts.begin(), texts.end(), name);
  if (found == texts.end()) return false;
  RECT item = ListViewItemRect(list, static_cast<int>(found - texts.begin()));
  if (item.top >= item.bottom) return false;
  DoubleClickMouse(list, item.left + 4, (item.top + item.bottom) / 2);
  return true;
}

namespace {

// A message that fills a rectangle it is given (which says what to measure), sent to a window of
// another program; empty when it fails.
RECT RectangleFromProgram(HWND window, UINT msg, WPARAM wp, RECT rect) {
  MemoryOfWindowsProgram memory(window, sizeof rect);
  if (!memory.Block() || !memory.Write(memory.Block(), &rect, sizeof rect) ||
      !SendMessageW(window, msg, wp, reinterpret_cast<LPARAM>(memory.Block())) ||
      !memory.Read(memory.Block(), &rect, sizeof rect))
    return {};
  return rect;
}

}  // namespace

RECT ListViewItemRect(HWND list, int index) {
  return RectangleFromProgram(list, LVM_GETITEMRECT, index, {LVIR_LABEL, 0, 0, 0});
}

RECT TreeViewSelectedRect(HWND tree) {
  auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!node) return {};
  RECT rect{};
  *reinterpret_cast<HTREEITEM*>(&rect) = node;  // the message finds the node in the rectangle
  return RectangleFromProgram(tree, TVM_GETITEMRECT, TRUE, rect);
}

std::string TreeViewSelectedText(HWND tree) {
  auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!node) return {};
  constexpr int kChars = MAX_PATH;
  MemoryOfWindowsProgram memory(tree, sizeof(TVITEMW) + kChars * sizeof(wchar_t));
  if (!memory.Block()) return {};
  auto* remoteText = reinterpret_cast<wchar_t*>(memory.Block() + sizeof(TVITEMW));
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = node;
  item.pszText = remoteText;
  item.cchTextMax = kChars;
  wchar_t text[kChars] = L"";
  if (!memory.Write(memory.Block(), &item, sizeof item) ||
      !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory.Block())) ||
      !memory.Read(remoteText, text, sizeof text))
    return {};
  text[kChars - 1] = L'\0';
  return Narrow(text);
}

SIZE ClientSize(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

void RaiseOnDisplay(HWND window) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
  return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

int CloseCountingBoxes(const Process& program, HWND closeButton, const std::string& boxText) {
  ClickButton(closeButton);
  int boxes = 0;
  bool ended = WaitFor([&] {
    if (HWND box = WaitForBox(boxText, program.Id(), 0)) {
      ++boxes;
      ClickButton(GetDlgItem(box, IDOK));
      WaitUntilGone(box);
    }
    if (HWND confirm = WaitForWindow("Confirm", program.Id(), 0)) {
      if (HWND yes = FindControl(confirm, "&Yes")) ClickButton(yes);
      WaitUntilGone(confirm);
    }
    return !program.Running();
  }, 60000);
  return ended ? boxes : -1;
}

}  // namespace testing_support
