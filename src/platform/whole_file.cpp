#include "platform/whole_file.h"

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace platform {
namespace {

FileWriter& Writer() {
  static FileWriter writer;
  return writer;
}

FileDeleter& Deleter() {
  static FileDeleter deleter;
  return deleter;
}

RightsSetter& Setter() {
  static RightsSetter setter;
  return setter;
}

// A name beside prefix that nothing has yet: "<prefix>.<process>-<n><suffix>".
std::wstring FreeName(const std::wstring& prefix, int n, const wchar_t* suffix) {
  return prefix + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) + suffix;
}

// The file's access list as text, and whether it stands on its own (not inherited).
struct Rights {
  std::wstring dacl;
  bool isProtected = false;
};

std::optional<Rights> RightsOf(const std::wstring& path) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                            nullptr, &sd) != ERROR_SUCCESS)
    return std::nullopt;
  Rights rights;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (GetSecurityDescriptorControl(sd, &control, &revision)) rights.isProtected = control & SE_DACL_PROTECTED;
  LPWSTR text = nullptr;
  if (ConvertSecurityDescriptorToStringSecurityDescriptorW(sd, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text,
                                                           nullptr)) {
    rights.dacl = text;
    LocalFree(text);
  }
  LocalFree(sd);
  return rights;
}

// The system's replace keeps the replaced file's access list on Windows; Wine's renames the new
// file into place with the new file's rights, so they are put back when they differ. The system's
// reason when they could not be; 0 when they are as before (or were not known before).
DWORD Restore(const std::wstring& path, const std::optional<Rights>& before) {
  std::optional<Rights> now = RightsOf(path);
  if (!before || before->dacl.empty() || (now && now->dacl == before->dacl)) return ERROR_SUCCESS;
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(before->dacl.c_str(), SDDL_REVISION_1, &sd, nullptr))
    return GetLastError();
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  DWORD error = ERROR_INVALID_SECURITY_DESCR;
  if (GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) && present) {
    SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION |
        (before->isProtected ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
    error = Setter() ? Setter()(path, what, dacl)
                     : SetNamedSecurityInfoW(const_cast<LPWSTR>(path.c_str()), SE_FILE_OBJECT, what, nullptr,
                                             nullptr, dacl, nullptr);
  }
  LocalFree(sd);
  return error;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The new file takes the place of the old one. The old one is first renamed to a backup name of
// our own, which is then deleted: without a backup name Wine's replace makes an empty temporary
// file beside the target and leaves it when the replace fails, one more at every failure, and it
// deletes that temporary file by a call that removes what a link points to.
bool ReplaceExisting(const std::wstring& path, NewFileCopy& copy, WriteFailure& failure) {
  std::wstring backup;
  for (int n = 0; backup.empty() || Exists(backup); ++n) {
    if (n == 100) {
      failure.error = ERROR_FILE_EXISTS;
      return false;
    }
    backup = FreeName(path, n, L".old");
  }
  std::optional<Rights> rights = RightsOf(path);
  if (ReplaceFileW(path.c_str(), copy.Path().c_str(), backup.c_str(), 0, nullptr, nullptr)) {
    copy.Placed();
    DWORD error = Restore(path, rights);
    if (!error && RemoveFile(backup)) return true;
    // Rights that changed, or an old file that stays beside: the old file goes back into its
    // place, rights and all, and the write is refused.
    failure.error = error ? error : GetLastError();
    if (MoveFileExW(backup.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return false;
    failure.step = WriteFailure::Left;
    failure.left = backup;
    return false;
  }
  failure.error = GetLastError();
  if (!Exists(path)) {
    // The old file went to the backup name and the new one could not follow: the old one goes
    // back. Where even that fails the new one takes the place, so that the file holds the new
    // text rather than none; the backup then stays, the only copy of the old text, and is named.
    if (Exists(backup) && MoveFileExW(backup.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return false;
    if (MoveFileExW(copy.Path().c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) copy.Placed();
    failure.step = WriteFailure::Left;
    failure.left = backup;
    return false;
  }
  // A copy of the old file, where the system made one.
  if (Exists(backup) && !RemoveFile(backup)) failure.left = backup;
  return false;
}

}  // namespace

FileWriter SetFileWriter(FileWriter writer) { return std::exchange(Writer(), std::move(writer)); }

FileDeleter SetFileDeleter(FileDeleter deleter) { return std::exchange(Deleter(), std::move(deleter)); }

RightsSetter SetRightsSetter(RightsSetter setter) { return std::exchange(Setter(), std::move(setter)); }

bool RemoveFile(const std::wstring& path) {
  return Deleter() ? Deleter()(path) : DeleteFileW(path.c_str()) != FALSE;
}

bool WriteAll(HANDLE f, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 20)), written = 0;
    bool ok = Writer() ? Writer()(f, bytes.data(), piece, &written)
                       : WriteFile(f, bytes.data(), piece, &written, nullptr) != FALSE;
    if (!ok || written == 0 || written > piece) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::wstring FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) return {};
    bool fits = n < path.size();
    path.resize(n);
    if (fits) break;
  }
  constexpr std::wstring_view device = L"\\\\?\\", network = L"\\\\?\\UNC\\";
  if (path.compare(0, network.size(), network) == 0)
    path.replace(0, network.size(), L"\\\\");
  else if (path.compare(0, device.size(), device) == 0)
    path.erase(0, device.size());
  // Anything but a full path (a volume without a drive letter) would be taken as relative.
  bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
  if (!drive && path.compare(0, 2, L"\\\\") != 0) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return {};
  }
  return path;
}

std::wstring FinalPath(const std::wstring& path, DWORD& error) {
  HANDLE f = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? path : std::wstring();
  }
  std::wstring final = FinalPath(f);
  error = final.empty() ? GetLastError() : 0;
  CloseHandle(f);
  return final;
}

NewFileCopy::~NewFileCopy() { Discard(); }

bool NewFileCopy::Discard() {
  if (!path_.empty() && RemoveFile(path_)) path_.clear();
  return path_.empty();
}

bool NewFileCopy::Write(const std::wstring& prefix, std::string_view bytes, DWORD attributes, DWORD& error,
                        bool& made, bool flush) {
  made = false;
  for (int n = 0; n < 100; ++n) {
    std::wstring path = FreeName(prefix, n, L".tmp");
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes | FILE_ATTRIBUTE_ARCHIVE,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) {
      error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      return false;
    }
    path_ = path;
    made = true;
    bool ok = WriteAll(f, bytes) && (!flush || FlushFileBuffers(f));
    error = GetLastError();
    CloseHandle(f);
    return ok;
  }
  return false;
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes, WriteFailure& failure, bool flush) {
  failure = {};
  WIN32_FILE_ATTRIBUTE_DATA before{};
  bool exists = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &before);
  // Windows refuses to write a read-only file; Wine, run as root, would not.
  if (exists && (before.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    failure = {WriteFailure::ReadOnly, ERROR_ACCESS_DENIED, {}};
    return false;
  }
  DWORD kept = exists ? before.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)
                      : 0;
  NewFileCopy copy;
  bool made = false;
  if (!copy.Write(path, bytes, kept, failure.error, made, flush)) {
    failure.step = made ? WriteFailure::Write : WriteFailure::Create;
  } else {
    failure.step = WriteFailure::Replace;
    bool placed = exists ? ReplaceExisting(path, copy, failure)
                         : MoveFileExW(copy.Path().c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
    if (placed) {
      copy.Placed();
      failure = {};
      return true;
    }
    if (!exists) failure.error = GetLastError();
  }
  // A new file that cannot be deleted stays beside the target: it is named.
  if (!copy.Discard() && failure.left.empty()) failure.left = copy.Path();
  return false;
}

}  // namespace platform
