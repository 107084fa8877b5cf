// A running program cannot delete its own file; a hidden batch in the temporary folder does it
// once the program has ended.
#pragma once
#include <optional>
#include <string>

namespace uninstaller {

// The batch's name begins so; the process id follows, so that two uninstallers closing at once
// (a player removing both products) never write and run the same file.
inline constexpr char kBatchFileStem[] = "datekill-";
// The batch tries about once a second and gives up after this many tries on a file that never
// comes free (read-only, refused), instead of looping forever.
inline constexpr int kBatchTries = 300;

// The batch that deletes the file at exePath once nothing holds it, and then itself: OEM code
// page, CRLF lines. None when the path cannot be written in the OEM code page.
std::optional<std::string> SelfRemovalBatch(const std::string& exePath, int tries = kBatchTries);

// Where the batch of the process goes in this folder: kBatchFileStem, the process id and ".bat",
// or with a further number when a batch of that name still runs (an ended process's id, reused).
std::string BatchPath(const std::string& tempFolder, unsigned long processId);

// Writes the batch into the temporary folder and starts it hidden; platform::Error when the file
// cannot be written.
void StartSelfRemoval(const std::string& exePath);

}  // namespace uninstaller
