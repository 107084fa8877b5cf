#include "platform/shell.h"

#include <shellapi.h>

#include <utility>

#include "platform/text.h"

namespace platform {
namespace {
// The one handler of each kind that stands in for the system (empty: the system).
template <class Handler>
Handler& Installed() {
  static Handler handler;
  return handler;
}
}  // namespace

ShellHandler SetShellHandler(ShellHandler handler) {
  return std::exchange(Installed<ShellHandler>(), std::move(handler));
}

intptr_t ShellOpen(HWND owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& folder, int show) {
  if (const ShellHandler& handler = Installed<ShellHandler>())
    return handler({owner, verb, file, parameters, folder, show});
  std::wstring wverb = Widen(verb), wfile = Widen(file), wparams = Widen(parameters),
               wfolder = Widen(folder);
  HINSTANCE rc = ShellExecuteW(owner, verb.empty() ? nullptr : wverb.c_str(), wfile.c_str(),
                               parameters.empty() ? nullptr : wparams.c_str(),
                               folder.empty() ? nullptr : wfolder.c_str(), show);
  return reinterpret_cast<intptr_t>(rc);
}

CommandLineHandler SetCommandLineHandler(CommandLineHandler handler) {
  return std::exchange(Installed<CommandLineHandler>(), std::move(handler));
}

unsigned RunCommandLine(const std::string& commandLine, int show) {
  if (const CommandLineHandler& handler = Installed<CommandLineHandler>()) return handler(commandLine, show);
  std::wstring line = Widen(commandLine);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return GetLastError();
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 33;
}

}  // namespace platform
