// Text crosses the Win32 boundary here: UTF-8 inside the programs, UTF-16 for the wide API.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Each gives back the other's text unchanged, also a lone surrogate (half of a pair, as a keyboard
// types it before its other half, or in a file's name), which has no UTF-8 of its own and is kept
// as the three bytes of its code point. Text holding one is no valid UTF-8: ToCodePage refuses it.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// Replaces each "%s" in order; the rest of the pattern is copied unchanged.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// 8-bit text as the system reads it: in its ANSI code page (INI files) or its OEM code page
// (batch files). Either may be UTF-8 (65001), which holds every letter.
struct CodePages {
  unsigned ansi = 0, oem = 0;
};
CodePages SystemCodePages();
// Tests put other code pages in the system's place (0: the system's own); returns the previous.
CodePages SetCodePages(CodePages pages);

// The text in the code page, letter for letter; none when the page lacks one of its letters (a
// best-fit look-alike or a stand-in would be another text) or the conversion fails.
std::optional<std::string> ToCodePage(std::wstring_view text, unsigned codePage);
// The bytes read in the code page, as the system reads them; none when the conversion fails.
std::optional<std::wstring> FromCodePage(std::string_view bytes, unsigned codePage);

}  // namespace platform
