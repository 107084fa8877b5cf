// Free and total space of a drive, by drive number: 0 is the drive of the process's current
// folder, any other number n the drive whose letter has the code n + 64 (1 = A, 3 = C; the lower
// case letters work as well).
#pragma once
#include <cstdint>

namespace platform {

// Bytes available to the user running the program; -1 when the drive cannot be queried.
std::int64_t DiskFree(unsigned char drive);
// The drive's size in bytes; -1 when it cannot be queried.
std::int64_t DiskSize(unsigned char drive);

}  // namespace platform
