// What this process holds of the system, read through the system itself: its windows and its
// private memory. Tests of freeing compare these before and after. (This Wine answers
// GetGuiResources with 0, so the windows are counted one by one.)
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <functional>

namespace testing_support {

struct Footprint {
  int windows = 0;          // every window of this thread, top-level and child
  size_t privateBytes = 0;  // committed private memory
};

Footprint ProcessFootprint();

// Runs a few cycles to warm up, then `cycles` more (the argument counts them from 0); after each
// one this thread has as many windows as after the warm-up, and the memory has grown by no more
// than Wine's own keeping allows: about 2 KB for each top-level window made and destroyed
// (measured with bare windows), while a form that stayed would keep 20 KB and more.
::testing::AssertionResult KeepsItsFootprint(int cycles, const std::function<void(int)>& cycle);

}  // namespace testing_support
