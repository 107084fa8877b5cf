#include "uninstaller/own_folder.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "platform/files.h"
#include "platform/text.h"

namespace uninstaller {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// One folder's name as the system keeps it: not "." or "..", no character that the system reads
// otherwise, and no trailing dot or blank, which it drops.
bool IsPlainName(std::string_view name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
      return false;
  return true;
}

}  // namespace

bool IsOwnFolder(const std::string& folder, std::string_view folderName,
                 const std::vector<std::string>& systemFolders) {
  if (folder.size() < 4 || !IsDriveLetter(folder[0]) || folder[1] != ':' || folder[2] != '\\')
    return false;
  std::string_view rest(folder);
  rest.remove_prefix(3);
  if (rest.back() == '\\') rest.remove_suffix(1);
  std::string_view last;
  for (size_t start = 0;; ) {
    size_t slash = rest.find('\\', start);
    last = rest.substr(start, slash == std::string_view::npos ? slash : slash - start);
    if (!IsPlainName(last)) return false;
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  if (!platform::EqualsIgnoreCase(last, folderName)) return false;
  std::string withBackslash = platform::WithTrailingBackslash(folder);
  for (const std::string& system : systemFolders)
    if (platform::EqualsIgnoreCase(withBackslash, system)) return false;
  return true;
}

std::vector<std::string> SystemFolders() {
  const KNOWNFOLDERID* ids[] = {
      &FOLDERID_Windows,          &FOLDERID_System,          &FOLDERID_SystemX86,
      &FOLDERID_ProgramFiles,     &FOLDERID_ProgramFilesX86, &FOLDERID_ProgramFilesCommon,
      &FOLDERID_ProgramFilesCommonX86, &FOLDERID_ProgramData, &FOLDERID_UserProfiles,
      &FOLDERID_Public,           &FOLDERID_Profile,         &FOLDERID_Desktop,
      &FOLDERID_Documents,        &FOLDERID_Downloads,       &FOLDERID_LocalAppData,
      &FOLDERID_RoamingAppData,   &FOLDERID_Fonts,           &FOLDERID_Startup,
  };
  std::vector<std::string> out;
  for (const KNOWNFOLDERID* id : ids) {
    PWSTR path = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(*id, KF_FLAG_DONT_VERIFY, nullptr, &path)))
      out.push_back(platform::WithTrailingBackslash(platform::Narrow(path)));
    CoTaskMemFree(path);
  }
  return out;
}

}  // namespace uninstaller
