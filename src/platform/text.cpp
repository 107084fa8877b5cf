#include "platform/text.h"

#include <windows.h>

namespace platform {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  auto arg = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && arg != args.end()) {
      out += *arg++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  std::wstring wa = Widen(a), wb = Widen(b);
  return CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(),
                              static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

namespace {

CodePages& ChosenCodePages() {
  static CodePages pages;
  return pages;
}

}  // namespace

CodePages SystemCodePages() {
  CodePages chosen = ChosenCodePages();
  return {chosen.ansi ? chosen.ansi : GetACP(), chosen.oem ? chosen.oem : GetOEMCP()};
}

CodePages SetCodePages(CodePages pages) {
  CodePages previous = ChosenCodePages();
  ChosenCodePages() = pages;
  return previous;
}

std::optional<std::string> ToCodePage(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return std::string();
  // UTF-8 takes no best-fit flag and no used-default flag: with either the call fails. It has a
  // letter for everything but a lone surrogate, which it refuses.
  bool utf8 = codePage == CP_UTF8;
  DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* usedDefault = utf8 ? nullptr : &defaulted;
  int size = static_cast<int>(text.size());
  int n = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, usedDefault);
  if (n <= 0 || defaulted) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  if (WideCharToMultiByte(codePage, flags, text.data(), size, out.data(), n, nullptr, usedDefault) != n ||
      defaulted)
    return std::nullopt;
  return out;
}

std::optional<std::wstring> FromCodePage(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return std::wstring();
  int size = static_cast<int>(bytes.size());
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring out(static_cast<size_t>(n), L'\0');
  if (MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), n) != n) return std::nullopt;
  return out;
}

}  // namespace platform
