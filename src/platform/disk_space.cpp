#include "platform/disk_space.h"

#include <windows.h>

#include <string>

namespace platform {
namespace {

bool Query(unsigned char drive, ULARGE_INTEGER& available, ULARGE_INTEGER& total) {
  ULARGE_INTEGER free;
  if (drive == 0) return GetDiskFreeSpaceExW(nullptr, &available, &total, &free);
  std::wstring root{static_cast<wchar_t>((drive + 64) & 0xFF), L':', L'\\'};
  // A drive without a medium must not bring up the system's "insert a disk" box.
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
  BOOL ok = GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free);
  SetErrorMode(old);
  return ok;
}

}  // namespace

std::int64_t DiskFree(unsigned char drive) {
  ULARGE_INTEGER available, total;
  return Query(drive, available, total) ? static_cast<std::int64_t>(available.QuadPart) : -1;
}

std::int64_t DiskSize(unsigned char drive) {
  ULARGE_INTEGER available, total;
  return Query(drive, available, total) ? static_cast<std::int64_t>(total.QuadPart) : -1;
}

}  // namespace platform
