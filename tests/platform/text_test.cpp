// Text between the programs' UTF-8 and the wide Win32 calls.
#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"

namespace {

// Every UTF-16 text comes back from UTF-8 as it was, a lone surrogate too (a keyboard types a
// character beyond the basic plane as two halves, and a file's name may hold one), and a whole
// text's UTF-8 is the standard one.
TEST(Text, WideTextComesBackFromUtf8UnchangedAndWholeTextIsStandardUtf8) {
  struct Case {
    const char* name;
    std::wstring wide;
    std::string utf8;
  };
  const Case cases[] = {
      {"plain", L"Maps", "Maps"},
      {"Polish", L"Gry \u0142\u00F3d\u017A", "Gry \xC5\x82\xC3\xB3\x64\xC5\xBA"},
      {"pair", L"x\U0001D11Ey", "x\xF0\x9D\x84\x9Ey"},
      {"high half", L"x\xD834", "x\xED\xA0\xB4"},
      {"low half", L"\xDD1Ey", "\xED\xB4\x9Ey"},
      {"halves reversed", L"\xDD1E\xD834", "\xED\xB4\x9E\xED\xA0\xB4"},
      {"two high halves", L"\xD834\xD834\xDD1E", "\xED\xA0\xB4\xF0\x9D\x84\x9E"},
      {"half between letters", L"\u0142\xDBFF\u0107", "\xC5\x82\xED\xAF\xBF\xC4\x87"},
      {"empty", L"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(platform::Narrow(c.wide), c.utf8);
    EXPECT_EQ(platform::Widen(platform::Narrow(c.wide)), c.wide);
  }
}

}  // namespace
