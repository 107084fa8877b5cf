#include "platform/save_file.h"

#include <windows.h>

#include "platform/error.h"
#include "platform/text.h"

namespace platform {
namespace {

[[noreturn]] void Fail(const char* what, const std::string& path, DWORD code) {
  throw Error(FormatText("%s \"%s\". %s", {what, path, SystemErrorText(code)}));
}

}  // namespace

void SaveFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("Cannot create file", path, GetLastError());
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  DWORD code = ok ? ERROR_SUCCESS : GetLastError();
  if (!CloseHandle(file) && ok) {
    ok = false;
    code = GetLastError();
  }
  if (!ok) Fail("Cannot write file", path, code);
}

}  // namespace platform
