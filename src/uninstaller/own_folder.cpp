#include "uninstaller/own_folder.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>

#include "platform/files.h"
#include "platform/text.h"
#include "platform/whole_file.h"

using platform::FinalPath;
using platform::Widen;

namespace uninstaller {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// One folder's name as the system keeps it: not "." or "..", no character that the system reads
// otherwise, and no trailing dot or blank, which it drops.
bool IsPlainName(std::string_view name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
      return false;
  return true;
}

bool SamePath(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

// The folder itself, a link as the link, never what it links to.
HANDLE OpenFolder(const std::wstring& path, DWORD share) {
  return CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, share, nullptr,
                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                     nullptr);
}

// A file directly inside the folder of an open handle, opened through that handle, so that no
// link put on the way since can lead elsewhere; a link inside is opened as itself.
HANDLE OpenInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access) {
  UNICODE_STRING text{static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                      static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                      const_cast<PWSTR>(name.c_str())};
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK status{};
  HANDLE file = INVALID_HANDLE_VALUE;
  if (!NT_SUCCESS(NtOpenFile(&file, access, &attributes, &status,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             FILE_OPEN_REPARSE_POINT | FILE_NON_DIRECTORY_FILE)))
    return INVALID_HANDLE_VALUE;
  return file;
}

// Renames an open file to a name inside the folder of the handle `folder`, or to a full path
// (\??\C:\...) without it; an existing file of that name stays.
bool RenameTo(HANDLE file, HANDLE folder, const std::wstring& name) {
  std::vector<char> buffer(offsetof(FILE_RENAME_INFORMATION, FileName) + name.size() * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
  rename->ReplaceIfExists = FALSE;
  rename->RootDirectory = folder;
  rename->FileNameLength = static_cast<ULONG>(name.size() * sizeof(wchar_t));
  std::copy(name.begin(), name.end(), rename->FileName);
  IO_STATUS_BLOCK status{};
  return NT_SUCCESS(NtSetInformationFile(file, &status, rename, static_cast<ULONG>(buffer.size()),
                                         FileRenameInformation));
}

bool MarkForDeletion(HANDLE file, bool mark) {
  FILE_DISPOSITION_INFO disposition{mark};
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// The file's number on its volume, asked of the handle alone: Wine answers GetFileInformationByHandle
// for the volume by the file's name, which it may have lost.
bool FileIndex(HANDLE file, LARGE_INTEGER& index) {
  FILE_INTERNAL_INFORMATION info{};
  IO_STATUS_BLOCK status{};
  if (!NT_SUCCESS(NtQueryInformationFile(file, &status, &info, sizeof info, FileInternalInformation)))
    return false;
  index = info.IndexNumber;
  return true;
}

// Gives an open file the name `name` in the folder where it now is; false when the system cannot
// say where that is.
bool NameBack(HANDLE file, const std::wstring& name) {
  std::wstring now = FinalPath(file);
  size_t slash = now.rfind(L'\\');
  if (slash == std::wstring::npos) return false;
  return SamePath(std::wstring_view(now).substr(slash + 1), name) ||
         RenameTo(file, nullptr, L"\\??\\" + now.substr(0, slash + 1) + name);
}

// A name of this run's own for a file on its way out: nothing else in the folder carries it.
std::wstring AsideName() {
  static LONG counter = 0;
  return L"~uninstall-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(InterlockedIncrement(&counter)) + L".tmp";
}

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// The folder without its trailing backslash.
std::wstring Bare(const std::string& path) { return Widen(path.substr(0, path.size() - 1)); }

}  // namespace

bool IsOwnFolder(const std::string& folder, std::string_view folderName,
                 const std::vector<std::string>& systemFolders) {
  if (folder.size() < 4 || !IsDriveLetter(folder[0]) || folder[1] != ':' || folder[2] != '\\')
    return false;
  std::string_view rest(folder);
  rest.remove_prefix(3);
  if (rest.back() == '\\') rest.remove_suffix(1);
  std::string_view last;
  for (size_t start = 0;; ) {
    size_t slash = rest.find('\\', start);
    last = rest.substr(start, slash == std::string_view::npos ? slash : slash - start);
    if (!IsPlainName(last)) return false;
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  if (!platform::EqualsIgnoreCase(last, folderName)) return false;
  std::string withBackslash = platform::WithTrailingBackslash(folder);
  for (const std::string& system : systemFolders)
    if (platform::EqualsIgnoreCase(withBackslash, system)) return false;
  return true;
}

std::vector<std::string> SystemFolders() {
  const KNOWNFOLDERID* ids[] = {
      &FOLDERID_Windows,          &FOLDERID_System,          &FOLDERID_SystemX86,
      &FOLDERID_ProgramFiles,     &FOLDERID_ProgramFilesX86, &FOLDERID_ProgramFilesCommon,
      &FOLDERID_ProgramFilesCommonX86, &FOLDERID_ProgramData, &FOLDERID_UserProfiles,
      &FOLDERID_Public,           &FOLDERID_Profile,         &FOLDERID_Desktop,
      &FOLDERID_Documents,        &FOLDERID_Downloads,       &FOLDERID_LocalAppData,
      &FOLDERID_RoamingAppData,   &FOLDERID_Fonts,           &FOLDERID_Startup,
  };
  std::vector<std::string> out;
  for (const KNOWNFOLDERID* id : ids) {
    PWSTR path = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(*id, KF_FLAG_DONT_VERIFY, nullptr, &path)))
      out.push_back(platform::WithTrailingBackslash(platform::Narrow(path)));
    CoTaskMemFree(path);
  }
  return out;
}

HeldFolder::HeldFolder(const std::string& folder, std::string_view folderName,
                       const std::vector<std::string>& systemFolders) {
  if (!IsOwnFolder(folder, folderName, systemFolders)) return;
  path_ = platform::WithTrailingBackslash(folder);
  // A folder of another machine can be changed there, whatever is checked here.
  if (GetDriveTypeW(Widen(path_.substr(0, 3)).c_str()) != DRIVE_FIXED) return;
  // No folder on the way is a link (a symbolic link or a junction), the folder itself included;
  // asked without the trailing backslash, which would answer for the link's target.
  for (size_t slash = path_.find('\\', 3); slash != std::string::npos;
       slash = path_.find('\\', slash + 1)) {
    DWORD attributes = GetFileAttributesW(Widen(path_.substr(0, slash)).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      if (IsMissing(GetLastError())) state_ = State::Missing;
      return;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      return;
  }
  std::wstring bare = Bare(path_);
  handle_ = OpenFolder(bare, FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (handle_ == INVALID_HANDLE_VALUE) {
    if (IsMissing(GetLastError())) state_ = State::Missing;
    return;
  }
  // Held from here on. What was opened must be the folder that the path names, with no link on
  // the way, even if one was put there since the walk above: its resolved path is the record's.
  std::wstring longPath(32768, L'\0');
  DWORD n = GetLongPathNameW(bare.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
  longPath.resize(n > 0 && n < longPath.size() ? n : 0);
  finalPath_ = FinalPath(handle_);
  if (!GetFileInformationByHandle(handle_, &identity_) ||
      (identity_.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
      !(identity_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || finalPath_.empty() ||
      !SamePath(finalPath_, longPath.empty() ? bare : longPath))
    return;
  state_ = State::Held;
}

HeldFolder::~HeldFolder() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool HeldFolder::StillHeld() const {
  if (state_ != State::Held) return false;
  HANDLE now = OpenFolder(Bare(path_), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  if (now == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  bool same = GetFileInformationByHandle(now, &info) && SameFile(info, identity_) &&
              !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
              SamePath(FinalPath(now), finalPath_);
  CloseHandle(now);
  return same;
}

bool HeldFolder::HoldsFile(const std::wstring& name, const LARGE_INTEGER* index) const {
  HANDLE found = OpenInFolder(handle_, name, FILE_READ_ATTRIBUTES);
  if (found == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER now{};
  bool same = !index || (FileIndex(found, now) && now.QuadPart == index->QuadPart);
  CloseHandle(found);
  return same;
}

void HeldFolder::NameBackElsewhere(HANDLE entry, const std::wstring& aside,
                                   const std::wstring& name) const {
  // Through the recorded path, which leads behind the link only while it is there: the folder held
  // still has a file of that name. Wine calls a rename onto another name of the same file done
  // without doing it, so our name must have gone from here.
  const std::wstring recorded = L"\\??\\" + Widen(path_) + name;
  auto sentBack = [&](HANDLE file) { return RenameTo(file, nullptr, recorded) && !HoldsFile(aside); };
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (sentBack(entry)) return;
    // Where Wine lost the handle's name, the file is looked for under ours, by the recorded path.
    HANDLE found = CreateFileW((Widen(path_) + aside).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (found != INVALID_HANDLE_VALUE) {
      std::wstring now = FinalPath(found);
      size_t slash = now.rfind(L'\\');
      bool back = slash != std::wstring::npos &&
                  (SamePath(std::wstring_view(now).substr(0, slash), finalPath_) ? sentBack(found)
                                                                                 : NameBack(found, name));
      CloseHandle(found);
      if (back) return;
    }
    Sleep(1);
  }
}

bool HeldFolder::DeleteEntry(const std::string& name) const {
  if (!StillHeld()) return false;
  const std::wstring wideName = Widen(name);
  // Opened as itself: a link inside is the link. Without delete sharing from its other users (a
  // running program) the open fails and the file stays.
  HANDLE entry = CreateFileW(Widen(path_ + name).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (entry == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  LARGE_INTEGER index{};
  // A link that the system follows all the same resolves outside the folder, and stays. A file
  // that the system will not delete (a program running from it) is not renamed either: the
  // deletion is asked for and taken back.
  if (!GetFileInformationByHandle(entry, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) ||
      !SamePath(FinalPath(entry), finalPath_ + L"\\" + wideName) || !FileIndex(entry, index) ||
      !MarkForDeletion(entry, true) || !MarkForDeletion(entry, false)) {
    CloseHandle(entry);
    return false;
  }
  // Windows deletes the file of the handle. Wine deletes, when the handle closes, whatever file
  // the name it was opened by leads to then: a folder above put aside for a link meanwhile (it
  // cannot be held) takes the deletion to a file of that name behind the link. So the file first
  // gets a name of our own, through its handle, must be found under it through the held folder's
  // handle, and only then goes: the name looked up at the close is one that nothing else carries.
  const std::wstring aside = AsideName();
  bool renamed = RenameTo(entry, handle_, aside);
  bool marked = false;
  // Also when Wine says that the rename failed: it renames first and then looks up the new name.
  // The file must have left its old name: another name of it (a hard link) that came in from
  // elsewhere does not count.
  if (HoldsFile(aside, &index) && !HoldsFile(wideName, &index)) {
    marked = MarkForDeletion(entry, true);
    if (!marked) RenameTo(entry, handle_, wideName);
  } else if (renamed || FinalPath(entry).empty()) {
    // Wine renames by name too: a link on the way took the rename to a file of that name behind
    // it, or brought that file here. It gets its name back where it came from.
    if (!NameBack(entry, wideName) || HoldsFile(aside)) NameBackElsewhere(entry, aside, wideName);
  }
  CloseHandle(entry);
  if (!marked) return false;
  // The other way round, Wine's deletion at the close may have looked for our name behind a link
  // and left the file here: it goes again, found through the held folder.
  for (int attempt = 0; attempt < 10; ++attempt) {
    HANDLE left = OpenInFolder(handle_, aside, DELETE | FILE_READ_ATTRIBUTES);
    if (left == INVALID_HANDLE_VALUE) return true;
    LARGE_INTEGER now{};
    if (FileIndex(left, now) && now.QuadPart == index.QuadPart) MarkForDeletion(left, true);
    CloseHandle(left);
  }
  return !HoldsFile(aside, &index);
}

}  // namespace uninstaller
