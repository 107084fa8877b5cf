// The machine under Wine: its paths and its commands, for what only it can do (mount, chattr,
// reading the display).
#pragma once
#include <string>

namespace testing_support {

// The machine's own path of a file or folder that Wine shows under a Windows path; empty when
// there is none (not under Wine).
std::string UnixPath(const std::string& windowsPath);
// Runs a command of the machine under Wine in its shell (mount, chattr) and waits for its end;
// false when it could not run or failed. The command must not hold double quotes.
bool RunUnixCommand(const std::string& command);

}  // namespace testing_support
