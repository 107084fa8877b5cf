// The rights each built program asks Windows for, read from the manifest inside the executable: the
// installer and both uninstallers write and delete under HKEY_LOCAL_MACHINE and need an
// administrator; the manager and the updater run as the user.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "platform/text.h"

namespace {

// The level of the manifest's requestedExecutionLevel, or what went wrong on the way to it.
std::string ExecutionLevel(const std::string& exe) {
  HMODULE module = LoadLibraryExW(platform::Widen(exe).c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return "<cannot load>";
  std::string manifest;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    manifest.assign(bytes, SizeofResource(module, found));
  }
  FreeLibrary(module);
  if (manifest.empty()) return "<no manifest>";
  size_t element = manifest.find("<requestedExecutionLevel ");
  if (element == std::string::npos) return "<no execution level>";
  const std::string attribute = "level=\"";
  size_t start = manifest.find(attribute, element);
  if (start == std::string::npos) return "<no level>";
  start += attribute.size();
  return manifest.substr(start, manifest.find('"', start) - start);
}

TEST(ManifestTest, TheProgramsThatChangeTheMachineAskForAnAdministrator) {
  const struct {
    const char* exe;
    const char* level;
  } programs[] = {
      {"THInstaller.exe", "requireAdministrator"},
      {"manager\\uninstall.exe", "requireAdministrator"},
      {"encyclopaedia\\uninstall.exe", "requireAdministrator"},
      {"THManager.exe", "asInvoker"},
      {"THENCUpdater.exe", "asInvoker"},
  };
  for (const auto& program : programs)
    EXPECT_EQ(ExecutionLevel(platform::ExeFolder() + "..\\bin\\" + program.exe), program.level)
        << program.exe;
}

}  // namespace
