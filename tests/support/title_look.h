// How a bold title shows on the display, beside the same text drawn by the test in the regular
// weight of its face.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ui/types.h"

namespace testing_support {

// A one-line title, dark on a light ground and underlined, as the label's window shows it: heavier
// than the regular weight (at least 125% of its ink), its letters as far apart (as many separate
// shapes above the underline), and its underline ending with the letters.
testing::AssertionResult ShowsBoldUnderlined(HWND label, const std::string& text, const ui::Font& regular);

}  // namespace testing_support
