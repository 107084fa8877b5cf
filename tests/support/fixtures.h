// Scratch places for tests: a registry root redirected to a scratch key, a temporary folder, and
// small file helpers. Everything is cleaned up when the object goes.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "support/unix_side.h"

namespace testing_support {

// Redirects a predefined root key (HKEY_LOCAL_MACHINE by default) of this process to a fresh
// scratch key, so that a test sees an empty machine and leaves nothing behind.
class ScratchRegistry {
 public:
  explicit ScratchRegistry(HKEY root = HKEY_LOCAL_MACHINE);
  ~ScratchRegistry();
  ScratchRegistry(const ScratchRegistry&) = delete;

  // Writes a value of any type below the redirected root ("Software\\Korvel\\Tarnholm").
  void SetString(const std::string& key, const std::string& name, const std::string& value);
  void SetDword(const std::string& key, const std::string& name, DWORD value);
  bool KeyExists(const std::string& key) const;
  // Empty when missing.
  std::string GetString(const std::string& key, const std::string& name) const;
  // Everyone may read the key (and delete it, so that the clean-up works) and nothing more, as a
  // standard user may under HKEY_LOCAL_MACHINE.
  void AllowOnlyReading(const std::string& key);

 private:
  HKEY root_;
  HKEY scratch_ = nullptr;
  std::wstring scratchPath_;
};

// A new empty folder under the temporary folder; removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  // The folder with its trailing backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Makes a folder under `parent` (a path without its trailing backslash) whose whole path is
// `length` characters long, its name that many `letter`s; returns the path.
std::string MakeFolderOfPathLength(const std::string& parent, size_t length, char letter);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void RemoveTree(const std::string& path);
// The text as the bytes of a UTF-16 file with its mark, in either byte order.
std::string Utf16File(std::wstring_view text, bool bigEndian = false);

// A small disk of its own (a tmpfs of the given size mounted on a new folder), where the test
// machine lets the test mount one; unmounted and removed at the end.
class SmallDisk {
 public:
  explicit SmallDisk(int kilobytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  bool Mounted() const { return mounted_; }
  std::string operator/(const std::string& name) const { return folder_ / name; }
  // Fills what is left of the disk with a file of this name.
  void Fill(const std::string& name);

 private:
  TempDir folder_;
  bool mounted_ = false;
};

// The names in a folder, "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& folder);

// Runs a function once, when this thread next processes its messages: a step that processes them
// as it goes (the installation, the removal) runs it at its first pause, as a user's click then.
class AtNextMessages {
 public:
  explicit AtNextMessages(std::function<void()> action);
  ~AtNextMessages();
  AtNextMessages(const AtNextMessages&) = delete;
  bool Ran() const { return ran_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  std::function<void()> action_;
  HWND window_ = nullptr;
  bool ran_ = false;
};

}  // namespace testing_support
