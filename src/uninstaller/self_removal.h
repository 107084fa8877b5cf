// A running program cannot delete its own file; a hidden batch in the temporary folder does it
// once the program has ended.
#pragma once
#include <optional>
#include <string>

namespace uninstaller {

// The batch's name begins so; the process id follows, so that two uninstallers closing at once
// (a player removing both products) never write and run the same file. The folder of the same
// name without ".bat" receives the program's file.
inline constexpr char kBatchFileStem[] = "datekill-";
// The batch tries about once a second and gives up after this many tries on a file that never
// comes free (read-only, refused), instead of looping forever.
inline constexpr int kBatchTries = 300;

// The batch that deletes the file at exePath once nothing holds it, then the file's folder if
// that is left empty, and then itself: OEM code page, CRLF lines. None when the path cannot be
// written in the OEM code page.
std::optional<std::string> SelfRemovalBatch(const std::string& exePath, int tries = kBatchTries);

// Where the batch of the process goes in this folder: kBatchFileStem, the process id and ".bat",
// or with a further number while a batch or folder of that name is still there (an ended
// process's id, reused).
std::string BatchPath(const std::string& tempFolder, unsigned long processId);

// While the program still runs, and its file so still lies where it was checked, moves that file
// into a new folder of its own in the temporary folder, then writes the batch beside that folder
// and starts it hidden: once the program has ended, whatever has become of the product's folder,
// the batch deletes nothing but the moved file. Where the file cannot be moved there (a temporary
// folder on another volume, none at all, a link on the file's way) it stays where it is and no
// batch is started. platform::Error when the batch cannot be written; the file is then put back.
void StartSelfRemoval(const std::string& exePath);

}  // namespace uninstaller
