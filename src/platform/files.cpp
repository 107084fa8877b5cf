#include "platform/files.h"

#include <windows.h>

#include <vector>

#include "platform/text.h"

namespace platform {

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const std::string& path) { return CreateDirectoryW(Widen(path).c_str(), nullptr); }

bool RemoveDir(const std::string& path) { return RemoveDirectoryW(Widen(path).c_str()); }

bool DeleteFileAt(const std::string& path) { return DeleteFileW(Widen(path).c_str()); }

std::string ExePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return Narrow(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExeFolder() {
  std::string path = ExePath();
  return path.substr(0, path.find_last_of('\\') + 1);
}

static_assert(kMaxPathLength == MAX_PATH - 1);

bool PathFits(const std::string& path) { return Widen(path).size() <= kMaxPathLength; }

std::string WithTrailingBackslash(const std::string& path) {
  if (path.empty() || path.back() == '\\') return path;
  return path + '\\';
}

}  // namespace platform
