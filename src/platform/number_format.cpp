#include "platform/number_format.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

#include "platform/text.h"

namespace platform {
namespace {

std::wstring LocaleText(const wchar_t* locale, LCTYPE what, const wchar_t* fallback) {
  wchar_t buffer[16];
  return GetLocaleInfoEx(locale, what, buffer, 16) > 0 ? buffer : fallback;
}

}  // namespace

std::string FormatNumber(double value, int width, int decimals, const std::string& localeName) {
  std::wstring name = Widen(localeName);
  const wchar_t* locale = name.empty() ? LOCALE_NAME_USER_DEFAULT : name.c_str();
  // The system's own grouping is unreliable (it groups 100000000000 as 100000000,000 here), so
  // the grouping is given explicitly: threes, with the locale's separators.
  std::wstring thousand = LocaleText(locale, LOCALE_STHOUSAND, L",");
  std::wstring decimal = LocaleText(locale, LOCALE_SDECIMAL, L".");
  NUMBERFMTW format{};
  format.NumDigits = static_cast<UINT>(decimals);
  format.LeadingZero = 1;
  format.Grouping = 3;
  format.lpDecimalSep = decimal.data();
  format.lpThousandSep = thousand.data();
  format.NegativeOrder = 1;  // "-1"

  wchar_t digits[400];
  std::swprintf(digits, 400, L"%.*f", decimals, std::fabs(value));
  wchar_t out[500];
  int n = GetNumberFormatEx(locale, 0, digits, &format, out, 500);
  std::wstring text = n > 0 ? std::wstring(out) : std::wstring(digits);
  if (std::signbit(value) && value != 0) text.insert(0, L"-");
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), L' ');
  return Narrow(text);
}

}  // namespace platform
