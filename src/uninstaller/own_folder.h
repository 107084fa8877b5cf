// Whether the folder that the uninstaller's record names can be its product's own: the
// uninstaller runs with administrator rights and deletes every file in that folder, so a stale or
// tampered record must not lead it into the system's folders or another program's.
#pragma once
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

}  // namespace uninstaller
