#include "support/wait.h"

#include "ui/application.h"

namespace testing_support {

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() > end) return false;
    ui::Application::Instance().ProcessMessages();
    // Wakes at the next message; another process's or a worker's progress is looked at again soon.
    if (!condition()) MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

}  // namespace testing_support
