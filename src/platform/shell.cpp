#include "platform/shell.h"

#include <shellapi.h>

#include "platform/text.h"

namespace platform {
namespace {
ShellHandler& Handler() {
  static ShellHandler handler;
  return handler;
}
}  // namespace

ShellHandler SetShellHandler(ShellHandler handler) {
  ShellHandler previous = std::move(Handler());
  Handler() = std::move(handler);
  return previous;
}

intptr_t ShellOpen(HWND owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& folder, int show) {
  if (Handler()) return Handler()({owner, verb, file, parameters, folder, show});
  std::wstring wverb = Widen(verb), wfile = Widen(file), wparams = Widen(parameters),
               wfolder = Widen(folder);
  HINSTANCE rc = ShellExecuteW(owner, verb.empty() ? nullptr : wverb.c_str(), wfile.c_str(),
                               parameters.empty() ? nullptr : wparams.c_str(),
                               folder.empty() ? nullptr : wfolder.c_str(), show);
  return reinterpret_cast<intptr_t>(rc);
}

namespace {
CommandLineHandler& LineHandler() {
  static CommandLineHandler handler;
  return handler;
}
}  // namespace

CommandLineHandler SetCommandLineHandler(CommandLineHandler handler) {
  CommandLineHandler previous = std::move(LineHandler());
  LineHandler() = std::move(handler);
  return previous;
}

unsigned RunCommandLine(const std::string& commandLine, int show) {
  if (LineHandler()) return LineHandler()(commandLine, show);
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
