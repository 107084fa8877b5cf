#include "platform/registry.h"

#include <vector>

#include "platform/error.h"
#include "platform/text.h"

namespace platform {
namespace {

std::wstring SubPath(const std::string& path) {
  std::string s = (!path.empty() && path[0] == '\\') ? path.substr(1) : path;
  return Widen(s);
}

LSTATUS DeleteTree(HKEY base, const std::wstring& sub, REGSAM view) {
  HKEY key = nullptr;
  LSTATUS rc = RegOpenKeyExW(base, sub.c_str(), 0, KEY_ALL_ACCESS | view, &key);
  if (rc != ERROR_SUCCESS) return rc;
  std::vector<std::wstring> children;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD len = 256;
    if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.emplace_back(name, len);
  }
  for (const auto& child : children) DeleteTree(key, child, view);
  RegCloseKey(key);
  return RegDeleteKeyExW(base, sub.c_str(), view, 0);
}

}  // namespace

Registry::Registry(HKEY root, REGSAM access) : root_(root), access_(access) {}

Registry::~Registry() { CloseKey(); }

void Registry::SetRootKey(HKEY root) {
  CloseKey();
  root_ = root;
}

HKEY Registry::BaseFor(const std::string& path) const {
  bool relative = path.empty() || path[0] != '\\';
  return (relative && current_) ? current_ : root_;
}

bool Registry::OpenKey(const std::string& path, bool canCreate) {
  return Open(path, canCreate, access_);
}

bool Registry::OpenKeyInEitherView(const std::string& path) {
  REGSAM rights = access_ & ~KEY_WOW64_RES;
  return Open(path, false, rights | KEY_WOW64_64KEY) || Open(path, false, rights | KEY_WOW64_32KEY);
}

bool Registry::Open(const std::string& path, bool canCreate, REGSAM access) {
  HKEY key = nullptr;
  LSTATUS rc = canCreate ? RegCreateKeyExW(BaseFor(path), SubPath(path).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr)
                         : RegOpenKeyExW(BaseFor(path), SubPath(path).c_str(), 0, access, &key);
  if (rc != ERROR_SUCCESS) return false;
  CloseKey();
  current_ = key;
  return true;
}

void Registry::CreateKey(const std::string& path) {
  HKEY key = nullptr;
  LSTATUS rc = RegCreateKeyExW(BaseFor(path), SubPath(path).c_str(), 0, nullptr,
                               REG_OPTION_NON_VOLATILE, access_, nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS) throw Error(FormatText("Failed to create key %s", {path}));
  RegCloseKey(key);
}

void Registry::CloseKey() {
  if (current_) {
    RegCloseKey(current_);
    current_ = nullptr;
  }
}

bool Registry::DeleteKey(const std::string& path) {
  return DeleteTree(BaseFor(path), SubPath(path), access_ & KEY_WOW64_RES) == ERROR_SUCCESS;
}

bool Registry::ValueExists(const std::string& name) const {
  if (!current_) return false;
  return RegQueryValueExW(current_, Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

std::string Registry::ReadString(const std::string& name) const {
  if (!current_) return {};
  std::wstring wname = Widen(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(current_, wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw Error(FormatText("Invalid data type for '%s'", {name}));
  std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
  DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (RegQueryValueExW(current_, wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                       &bytes) != ERROR_SUCCESS)
    return {};
  data.resize(bytes / sizeof(wchar_t));
  while (!data.empty() && data.back() == L'\0') data.pop_back();
  return Narrow(data);
}

void Registry::WriteString(const std::string& name, const std::string& value) {
  std::wstring wvalue = Widen(value);
  LSTATUS rc = current_ ? RegSetValueExW(current_, Widen(name).c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(wvalue.c_str()),
                                         static_cast<DWORD>((wvalue.size() + 1) * sizeof(wchar_t)))
                        : ERROR_INVALID_HANDLE;
  if (rc != ERROR_SUCCESS) throw Error(FormatText("Failed to set data for '%s'", {name}));
}

}  // namespace platform
