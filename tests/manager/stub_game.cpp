// A stand-in for the game and its tools. Appends the command line it was started with, as one UTF-8
// line, to commandline.txt beside it, and its own path to started.txt there.
#include <windows.h>

#include <string>

namespace {

void AppendLine(const std::wstring& file, const std::wstring& line) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), bytes,
                      nullptr, nullptr);
  utf8 += "\n";
  // Several stand-ins started at once append side by side; each line is one write at the end.
  HANDLE f = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written;
  WriteFile(f, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(f);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH * 2];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
  std::wstring path(self, n);
  std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
  // The path first: a test that waits for the command line then finds the path there too.
  AppendLine(folder + L"started.txt", path);
  AppendLine(folder + L"commandline.txt", GetCommandLineW());
  return 0;
}
