// Text crosses the Win32 boundary here: UTF-8 inside the programs, UTF-16 for the wide API.
#pragma once
#include <string>
#include <string_view>

namespace platform {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// Replaces each "%s" in order; the rest of the pattern is copied unchanged.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace platform
