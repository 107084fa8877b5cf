// Waiting in the updater's tests: the user-interface thread runs the workers' synchronised calls
// while it waits. The limit only guards against a hang.
#pragma once
#include <windows.h>

#include <functional>

#include "ui/application.h"

namespace testing_support {

inline bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 60000) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > end) return false;
    ui::Application::Instance().ProcessMessages();
    if (!condition()) MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  return true;
}

}  // namespace testing_support
