#include "platform/text.h"

#include <windows.h>

namespace platform {

namespace {

bool IsHigh(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Where a lone surrogate (one half of a pair without the other) lies in the text, from `from` on;
// npos when none does.
size_t LoneSurrogate(std::wstring_view wide, size_t from) {
  for (size_t i = from; i < wide.size(); ++i) {
    if (IsHigh(wide[i]) && i + 1 < wide.size() && IsLow(wide[i + 1])) {
      ++i;
    } else if (IsHigh(wide[i]) || IsLow(wide[i])) {
      return i;
    }
  }
  return std::wstring_view::npos;
}

// Where the three bytes of a lone surrogate, as Narrow writes it, begin; npos when none do.
size_t EncodedSurrogate(std::string_view utf8, size_t from) {
  for (size_t i = from; i + 2 < utf8.size(); ++i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(utf8[k]); };
    if (byte(i) == 0xED && byte(i + 1) >= 0xA0 && byte(i + 1) <= 0xBF && (byte(i + 2) & 0xC0) == 0x80) return i;
  }
  return std::string_view::npos;
}

void AppendWide(std::wstring& out, std::string_view utf8) {
  if (utf8.empty()) return;
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  size_t at = out.size();
  out.resize(at + static_cast<size_t>(n));
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data() + at, n);
}

void AppendNarrow(std::string& out, std::wstring_view wide) {
  if (wide.empty()) return;
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                              nullptr);
  size_t at = out.size();
  out.resize(at + static_cast<size_t>(n));
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data() + at, n, nullptr,
                      nullptr);
}

}  // namespace

// A lone surrogate has no UTF-8: the system's conversion would put U+FFFD in its place, and the
// text would no longer name what it named (a half typed before its other half, a file's name). It
// is kept as the three bytes of its own code point, which Widen reads back.
std::wstring Widen(std::string_view utf8) {
  std::wstring out;
  size_t from = 0;
  for (size_t at; (at = EncodedSurrogate(utf8, from)) != std::string_view::npos; from = at + 3) {
    AppendWide(out, utf8.substr(from, at - from));
    out.push_back(static_cast<wchar_t>(0xD000 | (utf8[at + 1] & 0x3F) << 6 | (utf8[at + 2] & 0x3F)));
  }
  AppendWide(out, utf8.substr(from));
  return out;
}

std::string Narrow(std::wstring_view wide) {
  std::string out;
  size_t from = 0;
  for (size_t at; (at = LoneSurrogate(wide, from)) != std::wstring_view::npos; from = at + 1) {
    AppendNarrow(out, wide.substr(from, at - from));
    unsigned unit = wide[at];
    out += static_cast<char>(0xE0 | unit >> 12);
    out += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (unit & 0x3F));
  }
  AppendNarrow(out, wide.substr(from));
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
