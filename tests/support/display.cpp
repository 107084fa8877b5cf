#include "support/display.h"

#include <string>
#include <vector>

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
