// A file written all or nothing: the new bytes go to a new file beside it, written and flushed,
// which then takes its place in one step. The settings files and the installer's carried files
// are written so.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Every block of bytes written to a file here goes through this (WriteFile when none is set): it
// stores what it can, sets written and says whether the write succeeded. Tests put a disk that
// fills up in its place. Returns the previous writer.
using FileWriter = std::function<bool(HANDLE file, const char* data, DWORD size, DWORD* written)>;
FileWriter SetFileWriter(FileWriter writer);

// Writes every byte through the writer, in blocks, so that a disk that fills up stops the write
// where it is full.
bool WriteAll(HANDLE file, std::string_view bytes);

// Every file that a write deletes, and every access list that it puts back, goes through these
// (DeleteFileW, SetNamedSecurityInfoW when none is set); tests put refusals in their place. Each
// returns the previous one. The rights setter returns the system's error code, 0 when it set them.
using FileDeleter = std::function<bool(const std::wstring& path)>;
FileDeleter SetFileDeleter(FileDeleter deleter);
using RightsSetter = std::function<DWORD(const std::wstring& path, SECURITY_INFORMATION what, PACL dacl)>;
RightsSetter SetRightsSetter(RightsSetter setter);

// Deletes the file through the deleter; false, with the system's reason, when it stays.
bool RemoveFile(const std::wstring& path);

// The path that the system resolves for an open file or folder, every link on the way followed,
// in long names, as the programs keep paths: "C:\..." or "\\server\share\...", without the "\\?\"
// that the system puts before it. Empty when the system cannot say.
std::wstring FinalPath(HANDLE handle);
// The file that the path names, where a link in it leads: a write through a link writes the
// file it points to and keeps the link. The path itself when no such file exists; empty, with
// the system's reason in error, when the file exists but cannot be looked at.
std::wstring FinalPath(const std::wstring& path, DWORD& error);

// The bytes in a new file of their own, written and (unless told not to) flushed to the disk;
// removed again when this goes, unless it took another file's place (Placed).
class NewFileCopy {
 public:
  NewFileCopy() = default;
  NewFileCopy(const NewFileCopy&) = delete;
  NewFileCopy& operator=(const NewFileCopy&) = delete;
  ~NewFileCopy();
  // A new file whose name begins with prefix; false, with nothing left behind, when it cannot be
  // made (made false) or written (made true). error: the system's reason.
  bool Write(const std::wstring& prefix, std::string_view bytes, DWORD attributes, DWORD& error, bool& made,
             bool flush = true);
  const std::wstring& Path() const { return path_; }
  void Placed() { path_.clear(); }
  // Deletes the file unless it was placed; false while it stays.
  bool Discard();

 private:
  std::wstring path_;
};

// Why a whole-file write failed; the file is then as it was, but after Left, and nothing is left
// beside it, but the file named in left.
struct WriteFailure {
  enum Step {
    None,
    ReadOnly,  // the file is read-only, or a folder
    Create,   // the new file beside it could not be made
    Write,    // its bytes could not all be stored (a full disk)
    Replace,  // it could not take the file's place (the file in use, rights), or the file's rights
              // could not be put back after it, or the old file not be deleted: the old file went
              // back into its place
    Left,     // as Replace, but the old file could not go back either: it stays beside the file,
              // under the name in left, and the file holds the new bytes (or, where even they
              // could not take the place, nothing)
  } step = None;
  DWORD error = 0;  // the system's reason
  std::wstring left;  // a file beside the target that could not be deleted: the old file (Left)
                      // or a new one that the write made; empty when none stays
};

// Writes the bytes to the file at path (a final path, see FinalPath), which holds afterwards
// either all of them or, on false, exactly what it held before (but see Left). A file that exists
// keeps its hidden, system and not-indexed attributes and its access list; a read-only file is refused,
// as Windows refuses it (Wine as root would write it). The new file is flushed to the disk before
// it takes the place, so that not even a power cut between the two leaves an empty file; that
// costs large files dearly (a file of 64 MB takes several times as long), so flush may be false.
bool WriteWholeFile(const std::wstring& path, std::string_view bytes, WriteFailure& failure, bool flush = true);

}  // namespace platform
