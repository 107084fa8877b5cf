// Whether the folder that the uninstaller's record names can be its product's own: the
// uninstaller runs with administrator rights and deletes every file in that folder, so a stale or
// tampered record must not lead it into the system's folders or another program's.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace uninstaller {

// A drive letter, a colon and a backslash, then folders of plain names (no "." or "..", no empty
// name, no "/", no wild cards) of which the last is the product's folder name (matched without
// regard to case), with or without the trailing backslash; and not one of the system folders.
bool IsOwnFolder(const std::string& folder, std::string_view folderName,
                 const std::vector<std::string>& systemFolders);

// The system's own folders, each with its trailing backslash: Windows, System, the program-files
// folders, ProgramData, the profiles and the user's own folders.
std::vector<std::string> SystemFolders();

// The product's own folder as the removal empties it: checked, then held open from the check to
// the last file without delete sharing, so that it cannot be renamed or removed meanwhile; each
// file goes only while the recorded path still leads to the folder held, through no link.
class HeldFolder {
 public:
  enum class State {
    Held,     // checked and held: its files may go
    Missing,  // its own folder's name, on a fixed disk, but not there: nothing to delete
    Foreign,  // not the product's own folder, on another machine, or reached through a link
  };
  // The folder text, with or without its trailing backslash.
  HeldFolder(const std::string& folder, std::string_view folderName,
             const std::vector<std::string>& systemFolders);
  ~HeldFolder();
  HeldFolder(const HeldFolder&) = delete;
  HeldFolder& operator=(const HeldFolder&) = delete;

  State GetState() const { return state_; }
  // The folder with its trailing backslash.
  const std::string& Path() const { return path_; }
  // Deletes the file of this name directly in the folder, itself and never what it links to,
  // while the folder's path still leads to the folder held; a folder, a file in use or a
  // read-only file stays. False when nothing was deleted.
  bool DeleteEntry(const std::string& name) const;
  // Whether the recorded path still leads to the folder held, through no link.
  bool StillHeld() const;

 private:
  // Whether the held folder has a file under that name (the file of this index, where given),
  // looked up through its handle.
  bool HoldsFile(const std::wstring& name, const LARGE_INTEGER* index = nullptr) const;
  // Gives a file of another folder that a rename by name (Wine) took or brought under the name
  // `aside` its name `name` back there, through the recorded path while that leads behind a link.
  void NameBackElsewhere(HANDLE entry, const std::wstring& aside, const std::wstring& name) const;

  std::string path_;
  std::wstring finalPath_;  // the held folder's own path, as the system resolves it
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  BY_HANDLE_FILE_INFORMATION identity_{};
  State state_ = State::Foreign;
};

}  // namespace uninstaller
