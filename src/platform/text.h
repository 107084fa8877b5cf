// Text crosses the Win32 boundary here: UTF-8 inside the programs, UTF-16 for the wide API,
// and 8-bit code pages only where another program reads the bytes (batch files).
#pragma once
#include <string>
#include <string_view>

namespace platform {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// UTF-8 to an 8-bit code page (CP_ACP, CP_OEMCP or a number); characters the page lacks become '?'.
std::string ToCodePage(std::string_view utf8, unsigned codePage);

// Replaces each "%s" in order; the rest of the pattern is copied unchanged.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace platform
