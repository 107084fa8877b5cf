// Relative paths resolved as the file functions resolve them.
#pragma once
#include <string>

namespace platform {

// The absolute form of a path, against the process's current folder; the path itself when the
// system cannot expand it.
std::string FullPath(const std::string& path);

}  // namespace platform
