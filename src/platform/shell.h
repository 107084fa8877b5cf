// Starting other programs: the shell's verbs and a plain command line with a show state.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace platform {

// ShellExecuteW; returns its result (above 32 on success). Empty texts are passed as null.
intptr_t ShellOpen(HWND owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& folder, int show);

// What ShellOpen hands to the shell.
struct ShellRequest {
  HWND owner = nullptr;
  std::string verb, file, parameters, folder;
  int show = SW_SHOWNORMAL;
};
using ShellHandler = std::function<intptr_t(const ShellRequest&)>;
// Puts a handler in the shell's place, so that a test can see what would be opened without
// opening it (nullptr: the shell again). Returns the previous handler.
ShellHandler SetShellHandler(ShellHandler handler);

// Starts a command line as a new process, as WinExec does but with Unicode text: the first
// (optionally quoted) word names the program. Returns 33 on success, else the system error code.
unsigned RunCommandLine(const std::string& commandLine, int show);

using CommandLineHandler = std::function<unsigned(const std::string& commandLine, int show)>;
// Puts a handler in the place of the process start, as SetShellHandler does for the shell (nullptr:
// the system again). Returns the previous handler.
CommandLineHandler SetCommandLineHandler(CommandLineHandler handler);

}  // namespace platform
