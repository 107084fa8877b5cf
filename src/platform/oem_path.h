// Paths as the command interpreter reads them in a batch file: 8-bit text in the OEM code page.
#pragma once
#include <optional>
#include <string>

namespace platform {

// The path in the OEM code page, letter for letter; where the page lacks a letter of it, the
// system's short form of the path. None when neither fits: a lookalike letter could name another
// folder.
std::optional<std::string> OemPath(const std::string& path);

}  // namespace platform
