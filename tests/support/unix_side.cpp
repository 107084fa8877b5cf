#include "support/unix_side.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "platform/text.h"

using platform::Widen;

namespace testing_support {

std::string UnixPath(const std::string& windowsPath) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* unix = toUnix(Widen(windowsPath).c_str());
  if (!unix) return {};
  std::string path = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return path;
}

bool RunUnixCommand(const std::string& command) {
  // A program of the machine started from Wine cannot be waited for: it leaves its exit code in a
  // file, which is waited for instead.
  static LONG counter = 0;
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring doneFile = std::wstring(folder) + L"unix-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(InterlockedIncrement(&counter)) + L".done";
  std::string done = UnixPath(platform::Narrow(doneFile)), shell = UnixPath("Z:\\bin\\sh");
  if (done.empty() || shell != "/bin/sh") return false;
  std::wstring line = L"Z:\\bin\\sh -c \"(" + Widen(command) + L") >/dev/null 2>&1; echo $? >'" + Widen(done) +
                      L".part'; mv '" + Widen(done) + L".part' '" + Widen(done) + L"'\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  // For a program of the machine this Wine gives no process handle and leaves stray values in the
  // rest: closing them would close some other handle of this process (its standard output, say).
  if (pi.hProcess) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  for (int i = 0; i < 3000 && GetFileAttributesW(doneFile.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(10);
  std::string code;
  {
    std::ifstream in(doneFile.c_str(), std::ios::binary);
    code.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  DeleteFileW(doneFile.c_str());
  return code == "0\n";
}

}  // namespace testing_support
