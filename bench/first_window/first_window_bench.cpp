// How soon each program's first window shows: each program started ten times, the time from
// CreateProcess until a visible top-level window of the process, medians beside two one-window
// yardsticks (bare, and with the suite's resources and system DLLs; the second is the measure).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "shared/products.h"

namespace {

bool HasVisibleWindow(DWORD pid) {
  struct Search {
    DWORD pid;
    bool found;
  } search{pid, false};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner != s->pid || !IsWindowVisible(h)) return TRUE;
        s->found = true;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Milliseconds until the first window, or a negative figure when none came within 20 s.
double TimeToFirstWindow(const std::string& exe) {
  std::wstring line = L"\"" + platform::Widen(exe) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return -1;
  double ms = -1;
  for (;;) {
    QueryPerformanceCounter(&now);
    double elapsed = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                     static_cast<double>(frequency.QuadPart);
    if (HasVisibleWindow(pi.dwProcessId)) {
      ms = elapsed;
      break;
    }
    if (elapsed > 20000 || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
    Sleep(1);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

// The manager starts as a player's does: the game recorded where its own installer puts it, a
// folder of a few files, so that its first window is the main window with the list filled.
class RecordedGame {
 public:
  RecordedGame() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"first-window-game";
    CreateDirectoryW(folder_.c_str(), nullptr);
    for (const wchar_t* name : {L"\\Tarn.exe", L"\\tarn.ini", L"\\readme.txt"})
      CloseHandle(CreateFileW((folder_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    CreateDirectoryW((folder_ + L"\\Mods").c_str(), nullptr);
    std::wstring key = platform::Widen(shared::kGameKey + 1);
    existed_ = RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &key_) == ERROR_SUCCESS;
    if (existed_) {
      RegCloseKey(key_);
      return;
    }
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    std::wstring value = platform::Widen(shared::kGamePathValue);
    RegSetValueExW(key_, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(folder_.c_str()),
                   static_cast<DWORD>((folder_.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key_);
  }
  ~RecordedGame() {
    if (!existed_) RegDeleteTreeW(HKEY_LOCAL_MACHINE, platform::Widen(shared::kGameKey + 1).c_str());
    for (const wchar_t* name : {L"\\Tarn.exe", L"\\tarn.ini", L"\\readme.txt"}) DeleteFileW((folder_ + name).c_str());
    RemoveDirectoryW((folder_ + L"\\Mods").c_str());
    RemoveDirectoryW(folder_.c_str());
  }

 private:
  std::wstring folder_;
  HKEY key_ = nullptr;
  bool existed_ = false;
};

int wmain(int argc, wchar_t** argv) {
  int starts = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
  RecordedGame game;
  std::string bin = platform::ExeFolder() + "..\\bin\\", bench = platform::ExeFolder();
  const struct {
    const char* name;
    std::string exe;
  } programs[] = {
      {"bare one-window program", bench + "first_window_bare.exe"},
      {"one window, same DLLs", bench + "first_window_same_dlls.exe"},
      {"THInstaller", bin + "THInstaller.exe"},
      {"THManager", bin + "THManager.exe"},
      {"THENCUpdater", bin + "THENCUpdater.exe"},
      {"uninstall (manager)", bin + "manager\\uninstall.exe"},
  };
  std::printf("first window, median of %d starts (ms), ratio to the same-DLL one-window program\n",
              starts);
  // Round by round, so that a change in the machine's load falls on every program alike.
  std::vector<std::vector<double>> times(std::size(programs));
  for (const auto& p : programs) TimeToFirstWindow(p.exe);  // warm the file cache
  for (int i = 0; i < starts; ++i)
    for (size_t k = 0; k < std::size(programs); ++k)
      times[k].push_back(TimeToFirstWindow(programs[k].exe));
  double yardstick = 0;
  for (size_t k = 0; k < std::size(programs); ++k) {
    const auto& t = times[k];
    if (std::any_of(t.begin(), t.end(), [](double v) { return v < 0; })) {
      std::printf("%-26s no window within 20 s\n", programs[k].name);
      continue;
    }
    double median = Median(t);
    if (k == 1) yardstick = median;
    auto [lo, hi] = std::minmax_element(t.begin(), t.end());
    std::printf("%-26s %7.1f  (min %6.1f, max %6.1f)", programs[k].name, median, *lo, *hi);
    if (yardstick > 0) std::printf("  x%.2f", median / yardstick);
    std::printf("\n");
  }
  return 0;
}
