// File-system queries the programs share.
#pragma once
#include <cstddef>
#include <string>

namespace platform {

// The longest path the programs open, make or name: MAX_PATH less its terminating null. Windows 10
// and 11 give a program that does not declare long-path support (ours do not) no more, and the
// shell here cuts a longer path at this length.
constexpr size_t kMaxPathLength = 259;
// Whether a path is no longer than that, counted in UTF-16 units as the system counts.
bool PathFits(const std::string& path);

bool FileExists(const std::string& path);       // a file, not a folder
bool DirectoryExists(const std::string& path);  // a folder
bool CreateDir(const std::string& path);        // one level
bool RemoveDir(const std::string& path);        // an empty folder
bool DeleteFileAt(const std::string& path);

std::string ExePath();    // the running program's full path
std::string ExeFolder();  // its folder, with the trailing backslash

// Appends a backslash unless the text already ends in one (an empty text stays empty).
std::string WithTrailingBackslash(const std::string& path);

}  // namespace platform
