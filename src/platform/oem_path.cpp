#include "platform/oem_path.h"

#include <windows.h>

#include "platform/text.h"

namespace platform {
namespace {

// No best-fit lookalikes: "ż" must not quietly become "z".
std::optional<std::string> ExactOem(const std::wstring& text) {
  if (text.empty()) return std::string();
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, text.data(),
                              static_cast<int>(text.size()), nullptr, 0, nullptr, &lossy);
  if (n <= 0 || lossy) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                      out.data(), n, nullptr, &lossy);
  if (lossy) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> OemPath(const std::string& path) {
  std::wstring wide = Widen(path);
  if (auto exact = ExactOem(wide)) return exact;
  DWORD n = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (n == 0) return std::nullopt;
  std::wstring shortPath(n, L'\0');
  n = GetShortPathNameW(wide.c_str(), shortPath.data(), n);
  if (n == 0 || n >= shortPath.size()) return std::nullopt;
  shortPath.resize(n);
  return ExactOem(shortPath);
}

}  // namespace platform
