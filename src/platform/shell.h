// Starting other programs: the shell's verbs and a plain command line with a show state.
#pragma once
#include <windows.h>

#include <string>

namespace platform {

// ShellExecuteW; returns its result (above 32 on success). Empty texts are passed as null.
intptr_t ShellOpen(HWND owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& folder, int show);

// Starts a command line as a new process, as WinExec does but with Unicode text: the first
// (optionally quoted) word names the program. Returns 33 on success, else the system error code.
unsigned RunCommandLine(const std::string& commandLine, int show);

}  // namespace platform
