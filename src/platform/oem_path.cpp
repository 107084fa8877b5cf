#include "platform/oem_path.h"

#include <windows.h>

#include "platform/text.h"

namespace platform {

std::optional<std::string> OemPath(const std::string& path) {
  // Letter for letter, no best-fit look-alike: "ż" must not quietly become "z".
  unsigned oem = SystemCodePages().oem;
  std::wstring wide = Widen(path);
  if (auto exact = ToCodePage(wide, oem)) return exact;
  DWORD n = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (n == 0) return std::nullopt;
  std::wstring shortPath(n, L'\0');
  n = GetShortPathNameW(wide.c_str(), shortPath.data(), n);
  if (n == 0 || n >= shortPath.size()) return std::nullopt;
  shortPath.resize(n);
  return ToCodePage(shortPath, oem);
}

}  // namespace platform
