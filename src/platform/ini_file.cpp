#include "platform/ini_file.h"

#include <windows.h>

#include <optional>

#include "platform/error.h"
#include "platform/text.h"

namespace platform {
namespace {

// The file is handled as a string of code units: each byte of an 8-bit file becomes one unit of
// the same value, so that every byte that is not edited is written back exactly as it was read.
// Only names and values are decoded, by the file's own encoding.
enum class Encoding { Ansi, Utf8, Utf16 };

struct Text {
  std::wstring units;
  Encoding encoding = Encoding::Ansi;
};

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr char kUtf16Bom[] = "\xFF\xFE";

// The file's bytes; empty when it does not exist, nothing when it exists but cannot be read.
std::optional<std::string> ReadBytes(const std::string& path) {
  HANDLE f = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::string();
    return std::nullopt;
  }
  std::string bytes;
  char buffer[16384];
  DWORD n = 0;
  BOOL ok;
  while ((ok = ReadFile(f, buffer, sizeof buffer, &n, nullptr)) && n) bytes.append(buffer, n);
  CloseHandle(f);
  if (!ok) return std::nullopt;
  return bytes;
}

Text Decoded(const std::string& bytes) {
  Text text;
  if (bytes.rfind(kUtf16Bom, 0) == 0 && bytes.size() % 2 == 0) {
    text.encoding = Encoding::Utf16;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      text.units.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                                static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
  }
  size_t start = 0;
  if (bytes.rfind(kUtf8Bom, 0) == 0) {
    text.encoding = Encoding::Utf8;
    start = 3;
  }
  for (size_t i = start; i < bytes.size(); ++i) text.units.push_back(static_cast<unsigned char>(bytes[i]));
  return text;
}

std::string Bytes(const Text& text) {
  std::string bytes;
  if (text.encoding == Encoding::Utf16) {
    bytes = kUtf16Bom;
    for (wchar_t u : text.units) {
      bytes.push_back(static_cast<char>(u & 0xFF));
      bytes.push_back(static_cast<char>(u >> 8));
    }
    return bytes;
  }
  if (text.encoding == Encoding::Utf8) bytes = kUtf8Bom;
  for (wchar_t u : text.units) bytes.push_back(static_cast<char>(u));
  return bytes;
}

UINT CodePage(Encoding e) { return e == Encoding::Utf8 ? CP_UTF8 : CP_ACP; }

std::wstring Decode(std::wstring_view units, Encoding encoding) {
  if (encoding == Encoding::Utf16 || units.empty()) return std::wstring(units);
  std::string bytes(units.begin(), units.end());
  int n = MultiByteToWideChar(CodePage(encoding), 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CodePage(encoding), 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::wstring Encode(const std::string& utf8, Encoding encoding) {
  std::wstring wide = Widen(utf8);
  if (encoding == Encoding::Utf16 || wide.empty()) return wide;
  int n = WideCharToMultiByte(CodePage(encoding), 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CodePage(encoding), 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n,
                      nullptr, nullptr);
  std::wstring units;
  for (char c : bytes) units.push_back(static_cast<unsigned char>(c));
  return units;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// [begin, end) less the blanks at both ends.
void Trim(const std::wstring& s, size_t& begin, size_t& end) {
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
}

bool SameName(const Text& text, size_t begin, size_t end, const std::wstring& name) {
  std::wstring found = Decode(std::wstring_view(text.units).substr(begin, end - begin), text.encoding);
  return CompareStringOrdinal(found.data(), static_cast<int>(found.size()), name.data(),
                              static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
}

// Where a key and its section lie in the file, in code units.
struct Place {
  bool sectionFound = false;
  size_t sectionEnd = 0;  // after the section's last line that is not blank
  bool keyFound = false;
  size_t valueBegin = 0, valueEnd = 0;  // the value as written, quotes included
};

Place Find(const Text& text, const std::string& section, const std::string& key) {
  const std::wstring& s = text.units;
  std::wstring wsection = Widen(section), wkey = Widen(key);
  Place place;
  bool inSection = false;
  for (size_t start = 0; start < s.size();) {
    size_t next = s.find(L'\n', start);
    next = next == std::wstring::npos ? s.size() : next + 1;
    size_t end = next;
    while (end > start && (s[end - 1] == L'\n' || s[end - 1] == L'\r')) --end;
    size_t begin = start;
    Trim(s, begin, end);
    if (begin < end && s[begin] == L'[') {
      inSection = false;
      size_t close = s.find(L']', begin);
      size_t nameBegin = begin + 1, nameEnd = close == std::wstring::npos || close > end ? end : close;
      Trim(s, nameBegin, nameEnd);
      // Only the first section of that name takes new keys.
      if (!place.sectionFound && SameName(text, nameBegin, nameEnd, wsection)) {
        inSection = true;
        place.sectionFound = true;
        place.sectionEnd = next;
      }
    } else if (inSection && begin < end) {
      place.sectionEnd = next;
      size_t equals = s.find(L'=', begin);
      if (s[begin] != L';' && equals < end) {
        size_t nameBegin = begin, nameEnd = equals;
        Trim(s, nameBegin, nameEnd);
        if (SameName(text, nameBegin, nameEnd, wkey)) {
          place.keyFound = true;
          place.valueBegin = equals + 1;
          place.valueEnd = end;
          Trim(s, place.valueBegin, place.valueEnd);
          break;
        }
      }
    }
    start = next;
  }
  return place;
}

std::wstring NewLine(const std::wstring& s) {
  size_t lf = s.find(L'\n');
  return lf != std::wstring::npos && (lf == 0 || s[lf - 1] != L'\r') ? L"\n" : L"\r\n";
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  bool ok = f != INVALID_HANDLE_VALUE;
  DWORD written = 0;
  ok = ok && WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
       written == bytes.size() && SetEndOfFile(f);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  if (!ok) throw Error(FormatText("Unable to write to %s", {path}));
}

}  // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  std::optional<std::string> bytes = ReadBytes(path_);
  if (!bytes) return defaultValue;
  Text text = Decoded(*bytes);
  Place place = Find(text, section, key);
  if (!place.keyFound) return defaultValue;
  size_t begin = place.valueBegin, end = place.valueEnd;
  // A value in a pair of quotes is read without them.
  if (end - begin >= 2 && (text.units[begin] == L'"' || text.units[begin] == L'\'') &&
      text.units[end - 1] == text.units[begin]) {
    ++begin;
    --end;
  }
  return Narrow(Decode(std::wstring_view(text.units).substr(begin, end - begin), text.encoding));
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  // A file that exists but cannot be read is not written over with the one key.
  std::optional<std::string> bytes = ReadBytes(path_);
  if (!bytes) throw Error(FormatText("Unable to write to %s", {path_}));
  Text text = Decoded(*bytes);
  std::wstring& s = text.units;
  Place place = Find(text, section, key);
  std::wstring newLine = NewLine(s);
  if (place.keyFound) {
    s.replace(place.valueBegin, place.valueEnd - place.valueBegin, Encode(value, text.encoding));
  } else {
    std::wstring line = Encode(key, text.encoding) + L"=" + Encode(value, text.encoding) + newLine;
    if (!place.sectionFound) line = L"[" + Encode(section, text.encoding) + L"]" + newLine + line;
    size_t at = place.sectionFound ? place.sectionEnd : s.size();
    if (at > 0 && s[at - 1] != L'\n') line = newLine + line;
    s.insert(at, line);
  }
  WriteBytes(path_, Bytes(text));
}

}  // namespace platform
