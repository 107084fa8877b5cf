// A running program cannot delete its own file; a hidden batch in the temporary folder does it
// once the program has ended.
#pragma once
#include <optional>
#include <string>

namespace uninstaller {

inline constexpr char kBatchFileName[] = "datekill.bat";
// The batch tries about once a second and gives up after this many tries on a file that never
// comes free (read-only, refused), instead of looping forever.
inline constexpr int kBatchTries = 300;

// The batch that deletes the file at exePath once nothing holds it: OEM code page, CRLF lines.
// None when the path cannot be written in the OEM code page.
std::optional<std::string> SelfRemovalBatch(const std::string& exePath, int tries = kBatchTries);

// Writes the batch into the temporary folder and starts it hidden; platform::Error when the file
// cannot be written.
void StartSelfRemoval(const std::string& exePath);

}  // namespace uninstaller
