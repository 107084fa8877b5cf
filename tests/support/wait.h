// Waiting in tests: for a condition, while this thread's messages and the workers' synchronised
// calls run. The limit only guards against a hang; it measures nothing.
#pragma once
#include <windows.h>

#include <functional>

namespace testing_support {

// False when the limit passed first.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 30000);

}  // namespace testing_support
