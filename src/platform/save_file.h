// Writing a whole file at once.
#pragma once
#include <string>

namespace platform {

// Creates the file, or empties an existing one, and writes the bytes; "Cannot create file" or
// "Cannot write file" with the quoted path and the system's reason when a step fails.
void SaveFile(const std::string& path, const std::string& bytes);

}  // namespace platform
