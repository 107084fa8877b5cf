// Real windows in tests. A test skips only where it has no display at all; with one, a window
// that does not come is a failure that names the program and what was awaited.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/window_driver.h"
#include "ui/edit.h"

namespace testing_support {

// Whether the test has a display: DISPLAY is set. Without it this Wine makes no window at all.
bool HaveDisplay();

// At a test's start, or in its fixture's SetUp: skips where no window can be made.
#define SKIP_WITHOUT_DISPLAY()              \
  if (::testing_support::HaveDisplay()) {   \
  } else                                    \
    GTEST_SKIP() << "no display: DISPLAY is not set"

// The end of a wait for a window of a program that the test drives: success when it came;
// otherwise a failure naming the program, what was awaited, how the program stands and the
// windows it shows instead.
testing::AssertionResult Came(const Process& program, const std::string& awaited, HWND window);
// Waits for the program's visible top-level window with this caption, or for its message box that
// shows this text, into `found`: ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main)).
testing::AssertionResult AwaitWindow(const Process& program, const std::string& caption, HWND& found,
                                     DWORD timeoutMs = 30000);
testing::AssertionResult AwaitBox(const Process& program, const std::string& text, HWND& found,
                                  DWORD timeoutMs = 30000);

// Types the keys into an edit box through the keyboard (TypeOnKeyboard) and waits until its window
// holds `kept`: success when it does with the caret right after it and, for a box of the test's own
// windows, its model holds that text too; otherwise what each holds, in code units.
testing::AssertionResult TypedAs(HWND box, std::wstring_view keys, std::wstring_view kept,
                                 const ui::Edit* model = nullptr);

// After keys pressed on the keyboard: a click of the real mouse on the button that drops the
// window's menu, and the menu awaited, so that the keys before it have been handled (input comes in
// order; a message sent to the window would be handled before them). Success when the menu came,
// the window still answers and no box of the program is up; the menu is then closed.
testing::AssertionResult KeysHandledQuietly(const Process& program, HWND window, HWND menuButton);

}  // namespace testing_support
