#include "platform/ini_file.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/error.h"
#include "platform/temp_folder.h"
#include "platform/text.h"
#include "platform/whole_file.h"

namespace platform {
namespace {

// The file is handled as a string of code units: each byte of an 8-bit file becomes one unit of
// the same value, so that every byte that is not edited is written back exactly as it was read.
// Only names and values are decoded, by the file's own encoding. The encoding is found as the
// system's reader finds it: a UTF-8 mark, a UTF-16 mark of either byte order, or else 8-bit text
// in the ANSI code page (which is also how a UTF-8 file without a mark is read).
enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct Text {
  std::wstring units;
  Encoding encoding = Encoding::Ansi;
  // False when writing the text back would not give the file's other bytes unchanged, or when
  // the system's reader would not find what was written.
  bool editable = true;
};

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool StartsWith(const std::string& bytes, std::string_view prefix) { return bytes.rfind(prefix, 0) == 0; }

bool IsUtf16(Encoding e) { return e == Encoding::Utf16Le || e == Encoding::Utf16Be; }

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
  auto byte = [&](size_t i) { return static_cast<wchar_t>(static_cast<unsigned char>(bytes[i])); };
  if (StartsWith(bytes, kUtf8Bom)) {
    text.encoding = Encoding::Utf8;
  } else if (StartsWith(bytes, kUtf16LeBom) || StartsWith(bytes, kUtf16BeBom)) {
    text.encoding = bytes[0] == '\xFF' ? Encoding::Utf16Le : Encoding::Utf16Be;
    int low = text.encoding == Encoding::Utf16Le ? 0 : 1;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      text.units.push_back(static_cast<wchar_t>(byte(i + low) | byte(i + 1 - low) << 8));
    // The system's reader takes a stray last byte as a character of its own; written back as
    // UTF-16 it would be lost or changed, so such a file is read but not written.
    if (bytes.size() % 2) {
      text.units.push_back(byte(bytes.size() - 1));
      text.editable = false;
    }
    return text;
  }
  for (size_t i = text.encoding == Encoding::Utf8 ? kUtf8Bom.size() : 0; i < bytes.size(); ++i) {
    // A zero byte in 8-bit text is UTF-16 without a mark or not text at all: 8-bit lines added to
    // it would be a second encoding in one file.
    if (!bytes[i]) text.editable = false;
    text.units.push_back(byte(i));
  }
  return text;
}

std::string Bytes(const Text& text) {
  bool le = text.encoding == Encoding::Utf16Le, be = text.encoding == Encoding::Utf16Be;
  std::string bytes(le ? kUtf16LeBom : be ? kUtf16BeBom : text.encoding == Encoding::Utf8 ? kUtf8Bom : "");
  for (wchar_t u : text.units) {
    char low = static_cast<char>(u & 0xFF), high = static_cast<char>(u >> 8);
    if (be) bytes.push_back(high);
    bytes.push_back(low);
    if (le) bytes.push_back(high);
  }
  return bytes;
}

// An 8-bit file is read in the system's ANSI code page, which may be UTF-8.
unsigned CodePage(Encoding e) { return e == Encoding::Utf8 ? CP_UTF8 : SystemCodePages().ansi; }

// The text of the file's code units; nothing when the conversion fails.
std::optional<std::wstring> Decode(std::wstring_view units, Encoding encoding) {
  if (IsUtf16(encoding)) return std::wstring(units);
  return FromCodePage(std::string(units.begin(), units.end()), CodePage(encoding));
}

// The text in the file's code units; nothing when the file's code page has no letter for one of
// its characters (the reader would find a stand-in, not the text) or the conversion fails.
std::optional<std::wstring> Encode(const std::string& utf8, Encoding encoding) {
  std::wstring wide = Widen(utf8);
  if (IsUtf16(encoding)) return wide;
  std::optional<std::string> bytes = ToCodePage(wide, CodePage(encoding));
  if (!bytes) return std::nullopt;
  return std::wstring(bytes->begin(), bytes->end());
}

// What the system's reader strips around names, section names and values: blank, tab, vertical
// tab, form feed and Ctrl-Z, in every encoding; no other space of Unicode.
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f' || c == L'\x1a'; }

// [begin, end) less the blanks at both ends.
void Trim(const std::wstring& s, size_t& begin, size_t& end) {
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
}

// Whether the name in [begin, end) is the name; unknown when it cannot be decoded.
std::optional<bool> SameName(const Text& text, size_t begin, size_t end, const std::wstring& name) {
  std::optional<std::wstring> found = Decode(std::wstring_view(text.units).substr(begin, end - begin), text.encoding);
  if (!found) return std::nullopt;
  return CompareStringOrdinal(found->data(), static_cast<int>(found->size()), name.data(),
                              static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
}

// The line that begins at start: where its text ends and where the next line begins. The
// system's reader ends a line at CR, at LF and at CR LF, also when a file mixes them.
void LineAt(const std::wstring& s, size_t start, size_t& end, size_t& next) {
  end = s.find_first_of(L"\r\n", start);
  if (end == std::wstring::npos) {
    end = next = s.size();
    return;
  }
  next = end + (s[end] == L'\r' && end + 1 < s.size() && s[end + 1] == L'\n' ? 2 : 1);
}

// The file's own line break (the first one in it); CR LF in a file without one.
std::wstring NewLine(const std::wstring& s) {
  size_t end, next;
  LineAt(s, 0, end, next);
  return end < s.size() ? s.substr(end, next - end) : L"\r\n";
}

// Where a key and its section lie in the file, in code units.
struct Place {
  bool sectionFound = false;
  size_t sectionEnd = 0;  // after the section's last line that is not blank
  bool keyFound = false;
  bool hasValue = false;  // the key's line holds a "="
  size_t valueBegin = 0, valueEnd = 0;  // the value as written, quotes included
  bool undecodable = false;  // a name on the way could not be decoded: where the key is, is unknown
};

Place Find(const Text& text, const std::string& section, const std::string& key) {
  const std::wstring& s = text.units;
  std::wstring wsection = Widen(section), wkey = Widen(key);
  Place place;
  bool inSection = false;
  for (size_t start = 0, end, next; start < s.size(); start = next) {
    LineAt(s, start, end, next);
    size_t begin = start;
    Trim(s, begin, end);
    // A section's name ends at the line's last "]"; a line without one is no header at all, but
    // a line of the section it stands in, as for the system's reader.
    size_t close = begin < end && s[begin] == L'[' ? s.rfind(L']', end - 1) : std::wstring::npos;
    if (close != std::wstring::npos && close > begin) {
      inSection = false;
      size_t nameBegin = begin + 1, nameEnd = close;
      Trim(s, nameBegin, nameEnd);
      // Only the first section of that name takes new keys.
      std::optional<bool> same = place.sectionFound ? false : SameName(text, nameBegin, nameEnd, wsection);
      if (!same) {
        place.undecodable = true;
        break;
      }
      if (*same) {
        inSection = true;
        place.sectionFound = true;
        place.sectionEnd = next;
      }
    } else if (inSection && begin < end) {
      place.sectionEnd = next;
      if (s[begin] == L';') continue;
      // A key line without "=" is the key with no value: the reader gives the default for it
      // and never looks further, so a write gives that line its value.
      size_t equals = s.find(L'=', begin);
      size_t nameBegin = begin, nameEnd = equals < end ? equals : end;
      Trim(s, nameBegin, nameEnd);
      std::optional<bool> same = SameName(text, nameBegin, nameEnd, wkey);
      if (!same) {
        place.undecodable = true;
        break;
      }
      if (*same) {
        place.keyFound = true;
        place.hasValue = equals < end;
        place.valueBegin = place.hasValue ? equals + 1 : nameEnd;
        place.valueEnd = place.hasValue ? end : nameEnd;
        Trim(s, place.valueBegin, place.valueEnd);
        break;
      }
    }
  }
  return place;
}

// The text with the key set to the value; nothing when the file cannot be edited faithfully.
std::optional<std::string> Edited(Text text, const std::string& section, const std::string& key,
                                  const std::string& value) {
  std::optional<std::wstring> wsection = Encode(section, text.encoding), wkey = Encode(key, text.encoding),
                              wvalue = Encode(value, text.encoding);
  if (!text.editable || !wsection || !wkey || !wvalue) return std::nullopt;
  std::wstring& s = text.units;
  Place place = Find(text, section, key);
  if (place.undecodable) return std::nullopt;
  if (place.keyFound) {
    s.replace(place.valueBegin, place.valueEnd - place.valueBegin, place.hasValue ? *wvalue : L"=" + *wvalue);
  } else {
    std::wstring newLine = NewLine(s);
    std::wstring line = *wkey + L"=" + *wvalue + newLine;
    if (!place.sectionFound) line = L"[" + *wsection + L"]" + newLine + line;
    size_t at = place.sectionFound ? place.sectionEnd : s.size();
    if (at > 0 && s[at - 1] != L'\n' && s[at - 1] != L'\r') line = newLine + line;
    s.insert(at, line);
  }
  return Bytes(text);
}

bool SeekTo(HANDLE f, size_t at) {
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(at);
  return SetFilePointerEx(f, distance, nullptr, FILE_BEGIN);
}

bool CutAt(HANDLE f, size_t at) { return SeekTo(f, at) && SetEndOfFile(f); }

// Writes the new bytes over the old ones in the file itself, for a file that may be written but
// not replaced. The bytes past the old end go first: where the disk is full that is where the
// write stops, and cutting the file back to its old length leaves it as it was. What then
// remains to write lies within the file's old length and needs no new room.
bool WriteInPlace(const std::wstring& path, const std::string& bytes, const std::string& old) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(f, &size) && static_cast<size_t>(size.QuadPart) == old.size();
  if (ok && bytes.size() > old.size()) {
    ok = SeekTo(f, old.size()) && WriteAll(f, std::string_view(bytes).substr(old.size())) && FlushFileBuffers(f);
    if (!ok) CutAt(f, old.size());
  }
  if (ok) {
    ok = SeekTo(f, 0) && WriteAll(f, std::string_view(bytes).substr(0, std::min(bytes.size(), old.size()))) &&
         CutAt(f, bytes.size()) && FlushFileBuffers(f);
    if (!ok && SeekTo(f, 0) && WriteAll(f, old)) CutAt(f, old.size());
  }
  CloseHandle(f);
  return ok;
}

// The file holds the bytes afterwards (no failure), or exactly what it held before, or (Left)
// the bytes or none, with its old bytes in the file named; a file named in left stays beside it.
// A link is kept: the file it points to is written.
WriteFailure Replace(const std::string& target, const std::string& bytes, const std::string& old) {
  DWORD error = 0;
  std::wstring path = FinalPath(Widen(target), error);
  WriteFailure failure{WriteFailure::Create, error, {}};
  if (path.empty() || WriteWholeFile(path, bytes, failure)) return failure;
  bool exists = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!failure.left.empty() || !exists ||
      (failure.error != ERROR_ACCESS_DENIED && failure.error != ERROR_UNABLE_TO_REMOVE_REPLACED))
    return failure;
  // Rights that let the file be written but not deleted or renamed: written in place, now that
  // the whole new text stands on the disk.
  WriteFailure inPlace{WriteFailure::Write, failure.error, {}};
  if (failure.step == WriteFailure::Replace) return WriteInPlace(path, bytes, old) ? WriteFailure() : inPlace;
  // A folder that lets its files be written but not new files be made: the whole new text goes
  // to the temporary folder first, then into the file in place.
  if (failure.step != WriteFailure::Create) return failure;
  NewFileCopy elsewhere;
  std::string temp = TempDirectory();
  bool made = false;
  return !temp.empty() && elsewhere.Write(Widen(temp + "tarnholm-ini"), bytes, 0, error, made) &&
                 WriteInPlace(path, bytes, old)
             ? WriteFailure()
             : inPlace;
}

// The value as the system's own reader gives it, empty when the key is missing.
std::string SystemReads(const std::string& path, const std::string& section, const std::string& key) {
  std::wstring wpath = Widen(path), wsection = Widen(section), wkey = Widen(key);
  for (DWORD size = 256;; size *= 4) {
    std::wstring value(size, L'\0');
    DWORD n = GetPrivateProfileStringW(wsection.c_str(), wkey.c_str(), L"", value.data(), size, wpath.c_str());
    if (n + 1 < size || size > (1u << 24)) return Narrow(value.substr(0, n));
  }
}

}  // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  std::optional<std::string> bytes = ReadBytes(path_);
  if (!bytes) return defaultValue;
  Text text = Decoded(*bytes);
  Place place = Find(text, section, key);
  if (place.undecodable || !place.hasValue) return defaultValue;
  size_t begin = place.valueBegin, end = place.valueEnd;
  // A value in a pair of quotes is read without them.
  if (end - begin >= 2 && (text.units[begin] == L'"' || text.units[begin] == L'\'') &&
      text.units[end - 1] == text.units[begin]) {
    ++begin;
    --end;
  }
  std::optional<std::wstring> value = Decode(std::wstring_view(text.units).substr(begin, end - begin), text.encoding);
  return value ? Narrow(*value) : defaultValue;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Error refused(FormatText("Unable to write to %s", {path_}));
  // A file that exists but cannot be read is not written over with the one key.
  bool existed = GetFileAttributesW(Widen(path_).c_str()) != INVALID_FILE_ATTRIBUTES;
  std::optional<std::string> bytes = ReadBytes(path_);
  std::optional<std::string> edited;
  if (bytes) edited = Edited(Decoded(*bytes), section, key, value);
  if (!edited) throw refused;
  WriteFailure failure = Replace(path_, *edited, *bytes);
  if (failure.step == WriteFailure::Left)
    throw Error(FormatText("Unable to finish writing %s: its old text stays in %s", {path_, Narrow(failure.left)}));
  if (!failure.left.empty())
    throw Error(FormatText("Unable to write to %s, and %s stays beside it", {path_, Narrow(failure.left)}));
  if (failure.step != WriteFailure::None) throw refused;
  // The game reads the file with the system's reader: a write that it would not read back as
  // written is undone rather than reported done.
  if (SystemReads(path_, section, key) == value) return;
  DWORD error = 0;
  bool undone = existed ? Replace(path_, *bytes, *edited).step == WriteFailure::None
                        : RemoveFile(FinalPath(Widen(path_), error));
  if (undone) throw refused;
  throw Error(FormatText("Unable to write to %s, and the file could not be put back as it was", {path_}));
}

}  // namespace platform
