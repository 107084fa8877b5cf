#include "support/display.h"

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

}  // namespace testing_support
