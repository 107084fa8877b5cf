#include "uninstaller/self_removal.h"

#include <windows.h>

#include "platform/oem_path.h"
#include "platform/save_file.h"
#include "platform/shell.h"
#include "platform/temp_folder.h"

namespace uninstaller {
namespace {

// Quoted, so that blanks and & ( ) stay part of the name; a batch expands % even inside quotes.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out + '"';
}

}  // namespace

std::optional<std::string> SelfRemovalBatch(const std::string& exePath, int tries) {
  std::optional<std::string> path = platform::OemPath(exePath);
  if (!path) return std::nullopt;
  size_t slash = path->find_last_of('\\') + 1;
  std::string folder = Quoted(path->substr(0, slash)), name = Quoted(path->substr(slash));
  // "cd /d" also changes the drive; the pause is a ping, which every system's cmd has. A failed
  // try says nothing: the console may be that of whatever started the uninstaller.
  return "@echo off\r\n"
         "set tries=0\r\n"
         ":kill\r\n"
         "cd /d " + folder + "\r\n"
         "del " + name + " 2>nul\r\n"
         "if not exist " + name + " goto :eof\r\n"
         "set /a tries+=1\r\n"
         "if %tries% geq " + std::to_string(tries) + " goto :eof\r\n"
         "ping -n 2 127.0.0.1 >nul\r\n"
         "goto kill\r\n";
}

void StartSelfRemoval(const std::string& exePath) {
  std::optional<std::string> batch = SelfRemovalBatch(exePath);
  if (!batch) return;
  std::string path = platform::TempDirectory() + kBatchFileName;
  platform::SaveFile(path, *batch);
  platform::RunCommandLine("\"" + path + "\"", SW_HIDE);
}

}  // namespace uninstaller
