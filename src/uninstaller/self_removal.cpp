#include "uninstaller/self_removal.h"

#include <windows.h>

#include <vector>

#include "platform/files.h"
#include "platform/oem_path.h"
#include "platform/save_file.h"
#include "platform/shell.h"
#include "platform/temp_folder.h"
#include "platform/text.h"
#include "platform/whole_file.h"

using platform::Widen;

namespace uninstaller {
namespace {

// Quoted, so that blanks and & ( ) stay part of the name; a batch expands % even inside quotes.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out + '"';
}

// The program's own file, opened as itself: a link on the way (a folder swapped for one while the
// program ran) leads elsewhere, and such a file is not taken. It is moved through this handle, so
// the file checked is the file moved.
class OwnFile {
 public:
  explicit OwnFile(const std::string& path)
      : handle_(CreateFileW(Widen(path).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr)) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle_ == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle_, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
      return;
    std::wstring asked(32768, L'\0');
    DWORD n = GetLongPathNameW(Widen(path).c_str(), asked.data(), static_cast<DWORD>(asked.size()));
    asked.resize(n < asked.size() ? n : 0);
    std::wstring resolved = platform::FinalPath(handle_);
    taken_ = !asked.empty() &&
             CompareStringOrdinal(asked.data(), static_cast<int>(asked.size()), resolved.data(),
                                  static_cast<int>(resolved.size()), TRUE) == CSTR_EQUAL;
  }
  ~OwnFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  OwnFile(const OwnFile&) = delete;

  // Within its volume only: a move to another would copy the file and delete it here.
  bool MoveTo(const std::string& path) {
    if (!taken_) return false;
    // As the system's own name of the path, which is taken whether or not the call converts a
    // drive-letter path first.
    std::wstring target = L"\\??\\" + Widen(path);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    target.copy(rename->FileName, target.size());
    return SetFileInformationByHandle(handle_, FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size())) != FALSE;
  }

 private:
  HANDLE handle_;
  bool taken_ = false;
};

}  // namespace

std::optional<std::string> SelfRemovalBatch(const std::string& exePath, int tries) {
  std::optional<std::string> path = platform::OemPath(exePath);
  if (!path) return std::nullopt;
  size_t slash = path->find_last_of('\\');
  std::string folder = path->substr(0, slash + 1), file = Quoted(*path);
  // "cd /d" also changes the drive, and while the interpreter stands in the folder, the folder
  // cannot be renamed. The pause is a ping, which every system's cmd has. A failed try says
  // nothing: the console may be that of whatever started the uninstaller. The folder goes if the
  // file was all it held; the batch deletes its own file last, and "exit" ends the interpreter
  // before it reads another line.
  return "@echo off\r\n"
         "set tries=0\r\n"
         ":kill\r\n"
         "cd /d " + Quoted(folder) + "\r\n"
         "del " + file + " 2>nul\r\n"
         "if not exist " + file + " goto done\r\n"
         "set /a tries+=1\r\n"
         "if %tries% geq " + std::to_string(tries) + " goto done\r\n"
         "ping -n 2 127.0.0.1 >nul\r\n"
         "goto kill\r\n"
         ":done\r\n"
         "cd ..\r\n"
         "rd " + Quoted(path->substr(0, slash)) + " 2>nul\r\n"
         "del \"%~f0\" & exit\r\n";
}

std::string BatchPath(const std::string& tempFolder, unsigned long processId) {
  std::string stem = tempFolder + kBatchFileStem + std::to_string(processId), name = stem;
  for (int n = 2; platform::FileExists(name + ".bat") || platform::DirectoryExists(name); ++n)
    name = stem + "-" + std::to_string(n);
  return name + ".bat";
}

void StartSelfRemoval(const std::string& exePath) {
  std::string temp = platform::TempDirectory();
  if (temp.empty()) return;
  std::string batchPath = BatchPath(temp, GetCurrentProcessId());
  std::string folder = batchPath.substr(0, batchPath.size() - 4) + "\\";
  if (!platform::CreateDir(folder)) return;
  OwnFile own(exePath);
  std::string moved = folder + exePath.substr(exePath.find_last_of('\\') + 1);
  if (!own.MoveTo(moved)) {
    platform::RemoveDir(folder);
    return;
  }
  std::optional<std::string> batch = SelfRemovalBatch(moved);
  if (batch) {
    try {
      platform::SaveFile(batchPath, *batch);
    } catch (...) {
      own.MoveTo(exePath);
      platform::RemoveDir(folder);
      throw;
    }
    platform::RunCommandLine("\"" + batchPath + "\"", SW_HIDE);
    return;
  }
  // No batch to delete it: the file goes back where the player expects it.
  own.MoveTo(exePath);
  platform::RemoveDir(folder);
}

}  // namespace uninstaller
