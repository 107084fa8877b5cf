#include "support/display.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/text.h"

namespace testing_support {

bool HaveDisplay() { return GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 1; }

namespace {

// The captions of the process's visible top-level windows.
std::vector<std::string> ShownCaptions(DWORD processId) {
  struct Search {
    DWORD pid;
    std::vector<std::string> captions;
  } search{processId, {}};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == s->pid && IsWindowVisible(h)) s->captions.push_back(WindowText(h));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.captions;
}

}  // namespace

testing::AssertionResult Came(const Process& program, const std::string& awaited, HWND window) {
  if (window) return testing::AssertionSuccess();
  testing::AssertionResult failure = testing::AssertionFailure();
  failure << program.Name() << " did not show " << awaited << "; " << program.Standing();
  if (program.Running()) {
    std::vector<std::string> shown = ShownCaptions(program.Id());
    failure << (shown.empty() ? " and shows no window" : " and shows");
    for (size_t i = 0; i < shown.size(); ++i) failure << (i ? ", \"" : " \"") << shown[i] << "\"";
  }
  return failure;
}

testing::AssertionResult AwaitWindow(const Process& program, const std::string& caption, HWND& found,
                                     DWORD timeoutMs) {
  found = WaitForWindow(caption, program.Id(), timeoutMs);
  return Came(program, "its window \"" + caption + "\"", found);
}

testing::AssertionResult AwaitBox(const Process& program, const std::string& text, HWND& found,
                                  DWORD timeoutMs) {
  found = WaitForBox(text, program.Id(), timeoutMs);
  return Came(program, "its box \"" + text + "\"", found);
}

namespace {

std::string CodeUnits(std::wstring_view text) {
  std::string out = "\"";
  for (wchar_t unit : text) {
    char hex[8];
    std::snprintf(hex, sizeof hex, unit < 0x80 && unit >= 0x20 ? "%c" : "\\x%04X", unit);
    out += hex;
  }
  return out + "\"";
}

std::wstring BoxText(HWND box) {
  // WM_GETTEXT: GetWindowTextW reads nothing from a box of another program.
  auto length = SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = SendMessageW(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got));
  return text;
}

}  // namespace

testing::AssertionResult TypedAs(HWND box, std::wstring_view keys, std::wstring_view kept,
                                 const ui::Edit* model) {
  if (!TypeOnKeyboard(box, keys)) return testing::AssertionFailure() << "the box did not get the focus";
  bool shown = WaitFor([&] { return BoxText(box) == kept; }, 10000);
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::wstring held = model ? platform::Widen(model->Text()) : std::wstring(kept);
  if (shown && start == kept.size() && end == start && held == kept) return testing::AssertionSuccess();
  testing::AssertionResult failure = testing::AssertionFailure();
  failure << "typed " << CodeUnits(keys) << ", the box shows " << CodeUnits(BoxText(box))
          << " with the caret at " << start << ".." << end;
  if (model) failure << ", its model holds " << CodeUnits(held);
  return failure << "; expected " << CodeUnits(kept) << " with the caret at " << kept.size();
}

testing::AssertionResult KeysHandledQuietly(const Process& program, HWND window, HWND menuButton) {
  ClickMouseInMiddle(menuButton);
  bool menu = WaitFor([&] { return OpenMenus(program.Id()).size() == 1; }, 10000);
  DWORD_PTR answer = 0;
  bool answers = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0;
  HWND box = WaitForTopLevel(program.Id(), 0, [](HWND h) {
    wchar_t name[16] = L"";
    GetClassNameW(h, name, 16);
    return std::wstring(name) == L"#32770";
  });
  if (box) return testing::AssertionFailure() << program.Name() << " shows the box \"" << WindowText(box) << "\"";
  if (!answers) return testing::AssertionFailure() << program.Name() << " does not answer; " << program.Standing();
  if (!menu) return testing::AssertionFailure() << program.Name() << " did not open its menu; " << program.Standing();
  PressKey(window, VK_ESCAPE);
  if (!WaitFor([&] { return OpenMenus(program.Id()).empty(); }))
    return testing::AssertionFailure() << program.Name() << " kept its menu open";
  return testing::AssertionSuccess();
}

}  // namespace testing_support
