#include "uninstaller/self_removal.h"

#include <windows.h>

#include "platform/files.h"
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
  // try says nothing: the console may be that of whatever started the uninstaller. The batch
  // deletes its own file last, and "exit" ends the interpreter before it reads another line.
  return "@echo off\r\n"
         "set tries=0\r\n"
         ":kill\r\n"
         "cd /d " + folder + "\r\n"
         "del " + name + " 2>nul\r\n"
         "if not exist " + name + " goto done\r\n"
         "set /a tries+=1\r\n"
         "if %tries% geq " + std::to_string(tries) + " goto done\r\n"
         "ping -n 2 127.0.0.1 >nul\r\n"
         "goto kill\r\n"
         ":done\r\n"
         "del \"%~f0\" & exit\r\n";
}

std::string BatchPath(const std::string& tempFolder, unsigned long processId) {
  std::string stem = tempFolder + kBatchFileStem + std::to_string(processId);
  std::string path = stem + ".bat";
  for (int n = 2; platform::FileExists(path); ++n) path = stem + "-" + std::to_string(n) + ".bat";
  return path;
}

void StartSelfRemoval(const std::string& exePath) {
  std::optional<std::string> batch = SelfRemovalBatch(exePath);
  if (!batch) return;
  std::string path = BatchPath(platform::TempDirectory(), GetCurrentProcessId());
  platform::SaveFile(path, *batch);
  platform::RunCommandLine("\"" + path + "\"", SW_HIDE);
}

}  // namespace uninstaller
