// Numbers written for people, with the separators of the user's locale.
#pragma once
#include <string>

namespace platform {

// The "%<width>.<decimals>n" conversion: the value with the given decimals and the locale's
// thousands separator between groups of three digits, a leading hyphen-minus when negative,
// right-aligned with blanks to at least width characters (a longer number is written whole).
// localeName: a locale such as "pl-PL"; empty for the user's own.
std::string FormatNumber(double value, int width, int decimals, const std::string& localeName = {});

}  // namespace platform
