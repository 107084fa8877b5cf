// Registry accessor with one current key. A path that starts with a backslash is taken from the
// root key; any other path from the current key when one is open, else from the root key.
// Keys are opened with the access the accessor was made with: a step that only reads asks for
// KEY_READ, which a standard user is granted under HKEY_LOCAL_MACHINE where full access is refused;
// a refused open reads as a missing key. A view flag in the access (KEY_WOW64_32KEY) applies to
// every open, create and delete.
#pragma once
#include <windows.h>

#include <string>

namespace platform {

class Registry {
 public:
  explicit Registry(HKEY root = HKEY_CURRENT_USER, REGSAM access = KEY_ALL_ACCESS);
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  void SetRootKey(HKEY root);
  HKEY RootKey() const { return root_; }
  HKEY CurrentKey() const { return current_; }

  // Opens (or, with canCreate, creates and opens) the key and makes it current; false on failure,
  // leaving the current key as it was.
  bool OpenKey(const std::string& path, bool canCreate);
  // Opens an existing key from the registry's 64-bit view or, when it is not there, from its 32-bit
  // view, where a 32-bit installer's keys lie on a 64-bit system.
  bool OpenKeyInEitherView(const std::string& path);
  // Creates the key if missing and closes it again; "Failed to create key %s" on failure.
  void CreateKey(const std::string& path);
  void CloseKey();
  // Deletes the key with everything under it; false when it could not be opened or deleted.
  bool DeleteKey(const std::string& path);

  bool ValueExists(const std::string& name) const;
  // A string value (REG_SZ or REG_EXPAND_SZ, taken unexpanded); empty when the value or the current
  // key is missing; "Invalid data type for '%s'" for a value of another type.
  std::string ReadString(const std::string& name) const;
  // Creates or replaces a REG_SZ value; "Failed to set data for '%s'" on failure or without a key.
  void WriteString(const std::string& name, const std::string& value);

 private:
  HKEY BaseFor(const std::string& path) const;
  bool Open(const std::string& path, bool canCreate, REGSAM access);
  HKEY root_;
  REGSAM access_;
  HKEY current_ = nullptr;
};

}  // namespace platform
