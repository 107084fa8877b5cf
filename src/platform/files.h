// File-system queries the programs share.
#pragma once
#include <string>

namespace platform {

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
