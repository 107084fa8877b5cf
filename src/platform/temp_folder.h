// The user's temporary folder.
#pragma once
#include <string>

namespace platform {

// The temporary folder with its trailing backslash; empty when the system reports none.
std::string TempDirectory();

}  // namespace platform
