#include "support/footprint.h"

#include <psapi.h>

namespace testing_support {

Footprint ProcessFootprint() {
  Footprint f;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND top, LPARAM lp) -> BOOL {
        auto* count = reinterpret_cast<int*>(lp);
        ++*count;
        EnumChildWindows(
            top,
            [](HWND, LPARAM inner) -> BOOL {
              ++*reinterpret_cast<int*>(inner);
              return TRUE;
            },
            lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f.windows));
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  // The commit charge, which Windows also reports as the private usage.
  if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
    f.privateBytes = memory.PagefileUsage;
  return f;
}

::testing::AssertionResult KeepsItsFootprint(int cycles, const std::function<void(int)>& cycle) {
  constexpr int kWarmUp = 20;
  constexpr size_t kWinePerCycle = 10 << 10, kTolerance = 1 << 20;
  for (int i = 0; i < kWarmUp; ++i) {
    cycle(i);
    if (::testing::Test::HasFatalFailure()) return ::testing::AssertionFailure() << "warm-up " << i;
  }
  const Footprint start = ProcessFootprint();
  for (int i = 0; i < cycles; ++i) {
    cycle(i);
    if (::testing::Test::HasFatalFailure()) return ::testing::AssertionFailure() << "cycle " << i;
    Footprint now = ProcessFootprint();
    if (now.windows != start.windows)
      return ::testing::AssertionFailure()
             << "cycle " << i << ": " << now.windows << " windows, " << start.windows << " before";
    size_t allowed = start.privateBytes + kTolerance + (i + 1) * kWinePerCycle;
    if (now.privateBytes > allowed)
      return ::testing::AssertionFailure() << "cycle " << i << ": " << now.privateBytes
                                           << " bytes, " << start.privateBytes << " before";
  }
  return ::testing::AssertionSuccess() << start.windows << " windows";
}

}  // namespace testing_support
