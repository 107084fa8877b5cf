#include "platform/temp_folder.h"

#include <windows.h>

#include "platform/files.h"
#include "platform/text.h"

namespace platform {

std::string TempDirectory() {
  DWORD length = GetTempPathW(0, nullptr);
  if (length < 1) return {};
  std::wstring path(length, L'\0');
  length = GetTempPathW(length, path.data());
  path.resize(length < path.size() ? length : 0);
  return WithTrailingBackslash(Narrow(path));
}

}  // namespace platform
