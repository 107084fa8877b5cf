#include "ui/shell_namespace.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "platform/files.h"
#include "platform/text.h"

namespace ui {

using platform::Narrow;
using platform::Widen;
using shell::Com;
using shell::DesktopFolder;
using shell::NameOf;

namespace shell {

Com<IShellFolder> DesktopFolder() {
  Com<IShellFolder> desktop;
  SHGetDesktopFolder(&desktop);
  return desktop;
}

Com<IShellFolder> BindFolder(const ItemIdList& folder) {
  Com<IShellFolder> desktop = DesktopFolder();
  if (!desktop || folder.IsDesktop()) return desktop;
  Com<IShellFolder> sf;
  if (FAILED(desktop->BindToObject(folder.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(&sf))))
    return {};
  return sf;
}

std::wstring FromStrRet(STRRET& str, LPCITEMIDLIST child) {
  wchar_t* text = nullptr;
  if (FAILED(StrRetToStrW(&str, child, &text)) || !text) return {};
  std::wstring out = text;
  CoTaskMemFree(text);
  return out;
}

std::wstring NameOf(IShellFolder* folder, LPCITEMIDLIST child, SHGDNF flags) {
  STRRET str{};
  if (FAILED(folder->GetDisplayNameOf(child, flags, &str))) return {};
  return FromStrRet(str, child);
}

SHCONTF EnumFlags(unsigned objectTypes) {
  SHCONTF flags = 0;
  if (objectTypes & kShellFolders) flags |= SHCONTF_FOLDERS;
  if (objectTypes & kShellNonFolders) flags |= SHCONTF_NONFOLDERS;
  if (objectTypes & kShellHidden) flags |= SHCONTF_INCLUDEHIDDEN;
  return flags;
}

bool IsShellFolder(IShellFolder* folder, LPCITEMIDLIST child) {
  SFGAOF attributes = SFGAO_FOLDER | SFGAO_STREAM;
  return SUCCEEDED(folder->GetAttributesOf(1, &child, &attributes)) && (attributes & SFGAO_FOLDER) &&
         !(attributes & SFGAO_STREAM);
}

std::string FileSystemPath(const ItemIdList& folder) {
  wchar_t path[MAX_PATH] = L"";
  if (!SHGetPathFromIDListW(folder.Get(), path)) return {};
  // A path that fills the buffer may have been cut there (see ParsingName).
  if (wcslen(path) >= platform::kMaxPathLength) return ParsingName(folder);
  return Narrow(path);
}

HIMAGELIST SystemImages(bool small) {
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
      L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON)));
}

int IconOfId(LPCITEMIDLIST absolute, bool open) {
  SHFILEINFOW info{};
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0));
  return info.iIcon;
}

}  // namespace shell

ItemIdList::ItemIdList(const ItemIdList& other) : p_(other.p_ ? ILClone(other.p_) : nullptr) {}

ItemIdList& ItemIdList::operator=(ItemIdList other) noexcept {
  std::swap(p_, other.p_);
  return *this;
}

ItemIdList::~ItemIdList() {
  if (p_) CoTaskMemFree(p_);
}

ItemIdList ItemIdList::Parent() const {
  ItemIdList parent(*this);
  if (parent.p_) ILRemoveLastID(parent.p_);
  return parent;
}

ItemIdList ItemIdList::Child(LPCITEMIDLIST relative) const { return ItemIdList(ILCombine(p_, relative)); }

bool ItemIdList::operator==(const ItemIdList& other) const {
  if (!p_ || !other.p_) return p_ == other.p_;
  return ILIsEqual(p_, other.p_);
}

bool ItemIdList::Contains(const ItemIdList& other) const {
  if (!p_ || !other.p_) return false;
  return *this == other || ILIsParent(p_, other.p_, FALSE);
}

ItemIdList ItemIdList::Desktop() {
  LPITEMIDLIST p = nullptr;
  SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &p);
  return ItemIdList(p);
}

ItemIdList ItemIdList::FromPath(const std::string& path) {
  if (path.empty()) return {};
  Com<IShellFolder> desktop = DesktopFolder();
  if (!desktop) return {};
  // The shell's parser takes neither doubled separators nor a trailing one, both of which the
  // platform's own path functions accept.
  std::wstring text = Widen(path);
  for (size_t i = text.size() - 1; i > 1; --i)
    if (text[i] == L'\\' && (text[i - 1] == L'\\' || i + 1 == text.size())) text.erase(i, 1);
  if (text.size() == 2 && text[1] == L':') text += L'\\';
  // The shell here parses a longer text to the folder where it cuts it.
  if (text.size() > platform::kMaxPathLength) return {};
  LPITEMIDLIST p = nullptr;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, text.data(), nullptr, &p, nullptr)) || !p)
    return {};
  ItemIdList id(p);
  // Only a folder can be shown.
  Com<IShellFolder> parent;
  LPCITEMIDLIST last = nullptr;
  if (FAILED(SHBindToParent(id.Get(), IID_IShellFolder, reinterpret_cast<void**>(&parent), &last)))
    return {};
  SFGAOF attributes = SFGAO_FOLDER;
  if (FAILED(parent->GetAttributesOf(1, &last, &attributes)) || !(attributes & SFGAO_FOLDER)) return {};
  return id;
}

std::string ParsingName(const ItemIdList& item) {
  if (item.Empty()) return {};
  Com<IShellFolder> desktop = DesktopFolder();
  if (!desktop) return {};
  std::wstring name = NameOf(desktop.Get(), item.Get(), SHGDN_FORPARSING);
  if (name.size() < platform::kMaxPathLength || item.IsDesktop()) return Narrow(name);
  // The shell here cuts a longer path at that length, without a word; the parent's path and the
  // item's own name give it whole.
  Com<IShellFolder> parent;
  LPCITEMIDLIST last = nullptr;
  if (FAILED(SHBindToParent(item.Get(), IID_IShellFolder, reinterpret_cast<void**>(&parent), &last)))
    return Narrow(name);
  std::wstring own = NameOf(parent.Get(), last, SHGDN_INFOLDER | SHGDN_FORPARSING);
  if (own.empty()) return Narrow(name);
  return platform::WithTrailingBackslash(ParsingName(item.Parent())) + Narrow(own);
}

}  // namespace ui
