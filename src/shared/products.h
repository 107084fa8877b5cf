// What the programs of the suite share: registry paths, value names, product and file names.
#pragma once
#include <string>

namespace shared {

// Registry paths below HKEY_LOCAL_MACHINE, as the registry accessor takes them (from the root).
inline constexpr char kSoftwareKey[] = "\\Software";
inline constexpr char kVendorKey[] = "\\Software\\Kelvora";
inline constexpr char kUninstallKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr char kGameKey[] = "\\Software\\Korvel\\Tarnholm";

// Value names; the registry matches them without regard to case.
inline constexpr char kPathValue[] = "Path";
inline constexpr char kVerValue[] = "Ver";
inline constexpr char kDisplayNameValue[] = "DisplayName";
inline constexpr char kUninstallStringValue[] = "UninstallString";
inline constexpr char kGamePathValue[] = "PATH";

// File names inside the product folders.
inline constexpr char kEncyclopaediaExe[] = "THENC.exe";
inline constexpr char kUpdaterExe[] = "THENCUpdater.exe";
inline constexpr char kReadmeFile[] = "readme.txt";
inline constexpr char kUninstallExe[] = "uninstall.exe";
inline constexpr char kManagerExe[] = "THManager.exe";
inline constexpr char kParleyExe[] = "Parley.exe";

// One installed product: its key under the vendor key, its uninstall entry, its folder under the
// chosen parent folder, and its version.
struct Product {
  const char* keyName;
  const char* entryName;
  const char* folderName;
  const char* version;

  std::string KeyPath() const { return std::string(kVendorKey) + "\\" + keyName; }
  std::string EntryPath() const { return std::string(kUninstallKey) + "\\" + entryName; }
};

inline constexpr Product kEncyclopaedia{"Tarnholm Encyclopaedia", "Tarnholm Encyclopaedia",
                                        "Tarnholm Encyclopaedia", "3.0"};
inline constexpr Product kManager{"ZO Ruruzuz", "Tarnholm Manager", "Tarnholm Manager", "1.0"};

}  // namespace shared
