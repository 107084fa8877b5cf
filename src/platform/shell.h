// Starting other programs: the shell's verbs and a plain command line with a show state. A test
// can put a starter of its own in the system's place, to see every start without starting anything.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace platform {

struct ShellOpenRequest {
  HWND owner = nullptr;
  std::string verb;
  std::string file;
  std::string parameters;
  std::string folder;
  int show = SW_SHOWNORMAL;
};

class Starter {
 public:
  virtual ~Starter() = default;
  virtual intptr_t ShellOpen(const ShellOpenRequest& request) = 0;
  virtual unsigned RunCommandLine(const std::string& commandLine, int show) = 0;
};

// Installs a starter (nullptr: the system's own); returns the previous one.
Starter* SetStarter(Starter* starter);

// ShellExecuteW; returns its result (above 32 on success). Empty texts are passed as null.
intptr_t ShellOpen(HWND owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& folder, int show);

// Starts a command line as a new process, as WinExec does but with Unicode text: the first
// (optionally quoted) word names the program. Returns 33 on success, else the system error code.
unsigned RunCommandLine(const std::string& commandLine, int show);

}  // namespace platform
