// 8-bit text in the system's code pages, which may be UTF-8.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "platform/oem_path.h"
#include "platform/text.h"
#include "support/fixtures.h"

namespace {

TEST(CodePage, TextConvertsLetterForLetterOrNotAtAll) {
  struct Case {
    unsigned codePage;
    const wchar_t* text;
    std::optional<std::string> bytes;  // none: refused
  };
  const Case cases[] = {
      {1250, L"\u0141ucja \u017C\u00F3\u0142w", "\xA3ucja \xBF\xF3\xB3w"},
      {1252, L"M\u00FCller", "M\xFCller"},
      {1252, L"\u0141ucja", std::nullopt},      // no "Ł" in the Western page
      {1252, L"\u017C", std::nullopt},          // nor a look-alike "z" for "ż"
      {852, L"\u017C\u00F3\u0142w", "\xBE\xA2\x88w"},
      {437, L"M\u00FCller", "M\x81ller"},
      {CP_UTF8, L"\u0141ucja", "\xC5\x81ucja"},  // the system's option of UTF-8 as its code page
      {CP_UTF8, L"\U0001D11E", "\xF0\x9D\x84\x9E"},
      {CP_UTF8, L"a\xD800", std::nullopt},       // a lone surrogate has no UTF-8
      {12345, L"ENG", std::nullopt},             // a code page the system cannot convert to
      {1252, L"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.codePage << " " << platform::Narrow(c.text));
    EXPECT_EQ(platform::ToCodePage(c.text, c.codePage), c.bytes);
  }
}

// Bytes are read as the system reads them, or not at all: a conversion that fails is no empty text.
TEST(CodePage, BytesReadInTheCodePageOrNotAtAll) {
  struct Case {
    unsigned codePage;
    const char* bytes;
    std::optional<std::wstring> text;  // none: refused
  };
  const Case cases[] = {
      {1250, "\xA3ucja", L"\u0141ucja"},
      {CP_UTF8, "\xC5\x81ucja", L"\u0141ucja"},
      {12345, "ENG", std::nullopt},  // a code page the system cannot convert from
      {12345, "", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.codePage << " " << c.bytes);
    EXPECT_EQ(platform::FromCodePage(c.bytes, c.codePage), c.text);
  }
}

// The uninstaller's batch names its own path in the OEM code page, whichever that is; on a
// system whose code page is UTF-8 the path is UTF-8, never none (the batch would not be made).
TEST(CodePage, AnOemPathIsExactOrTheShortPathOrNone) {
  testing_support::TempDir temp;
  std::string folder = temp / "\xC5\xBC\xC3\xB3\xC5\x82w", exe = folder + "\\uninstall.exe";  // "żółw"
  ASSERT_TRUE(CreateDirectoryW(platform::Widen(folder).c_str(), nullptr));
  testing_support::WriteFileBytes(exe, "x");
  wchar_t shortPath[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(platform::Widen(exe).c_str(), shortPath, MAX_PATH), 0u);
  std::optional<std::string> shortOem = platform::ToCodePage(shortPath, 437);
  ASSERT_TRUE(shortOem);
  struct Case {
    unsigned oem;
    std::string path;
    std::optional<std::string> batchText;
  };
  const Case cases[] = {
      {CP_UTF8, exe, exe},
      {852, exe, platform::ToCodePage(platform::Widen(exe), 852)},
      {437, exe, shortOem},                                          // no "ż" in 437: the short path
      {437, "C:\\Gry\\\xC5\xBC\\missing.exe", std::nullopt},        // and no short path either
      {12345, exe, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.oem << " " << c.path);
    platform::CodePages previous = platform::SetCodePages({0, c.oem});
    EXPECT_EQ(platform::OemPath(c.path), c.batchText);
    platform::SetCodePages(previous);
  }
}

}  // namespace
