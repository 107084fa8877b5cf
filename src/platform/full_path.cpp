#include "platform/full_path.h"

#include <windows.h>

#include <vector>

#include "platform/text.h"

namespace platform {

std::string FullPath(const std::string& path) {
  std::wstring wpath = Widen(path);
  DWORD n = GetFullPathNameW(wpath.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::vector<wchar_t> buffer(n);
  n = GetFullPathNameW(wpath.c_str(), n, buffer.data(), nullptr);
  return Narrow(std::wstring_view(buffer.data(), n));
}

}  // namespace platform
