// How fast a carried file reaches the disk: the installer's write straight from the resource's
// memory (to a new file beside the old one, which it then replaces), beside the system copying
// the same bytes from one file over another in the same folder. The extraction should keep at
// least 0.8 of the copy's speed. The progress bar's fill before each file is left out.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/resources.h"
#include "platform/text.h"

namespace {

double Seconds(const std::function<void()>& fn) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  fn();
  QueryPerformanceCounter(&end);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Prints the figures and returns the median speed.
double Report(const char* what, std::vector<double> seconds, double megabytes) {
  std::sort(seconds.begin(), seconds.end());
  double median = megabytes / seconds[seconds.size() / 2];
  std::printf("%-44s %8.0f MB/s best, %8.0f MB/s median (%zu runs)\n", what, megabytes / seconds.front(), median,
              seconds.size());
  return median;
}

}  // namespace

int wmain() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"th-bench-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring extracted = folder + L"\\THENC.exe", copied = folder + L"\\copy.exe";

  platform::ResourceStream carried("CARRIED");
  double megabytes = static_cast<double>(carried.Size()) / (1024.0 * 1024.0);
  std::printf("carried resource: %.0f MB\n", megabytes);
  const int runs = 7;
  std::vector<double> extraction, copy;
  carried.SaveToFile(platform::Narrow(extracted));  // first touch of the resource's pages
  for (int i = 0; i < runs; ++i) {
    extraction.push_back(Seconds([&] { carried.SaveToFile(platform::Narrow(extracted)); }));
    copy.push_back(Seconds([&] { CopyFileW(extracted.c_str(), copied.c_str(), FALSE); }));
  }
  double extractionSpeed = Report("extraction (resource memory, then replace)", extraction, megabytes);
  double copySpeed = Report("plain copy of the same bytes (CopyFileW)", copy, megabytes);
  std::printf("extraction / copy (medians): %.2f (at least 0.80)\n", extractionSpeed / copySpeed);

  DeleteFileW(extracted.c_str());
  DeleteFileW(copied.c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}
