// The shell namespace as both shell views see it: item ID lists owned by value, and the few
// calls on the shell's folder objects that the tree and the list share.
#pragma once
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace ui {

// An item ID list owned by value: absolute for folders and nodes, relative for a list's rows.
class ItemIdList {
 public:
  ItemIdList() = default;
  explicit ItemIdList(LPITEMIDLIST owned) : p_(owned) {}  // takes ownership
  ItemIdList(const ItemIdList& other);
  ItemIdList(ItemIdList&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  ItemIdList& operator=(ItemIdList other) noexcept;
  ~ItemIdList();

  LPITEMIDLIST Get() const { return p_; }
  bool Empty() const { return p_ == nullptr; }
  // The desktop: the top of the namespace, an empty list.
  bool IsDesktop() const { return p_ && p_->mkid.cb == 0; }
  ItemIdList Parent() const;
  ItemIdList Child(LPCITEMIDLIST relative) const;
  bool operator==(const ItemIdList& other) const;
  // This list or one below it.
  bool Contains(const ItemIdList& other) const;

  static ItemIdList Desktop();
  // The folder a text names, as the shell parses it; empty when it names none, or when the text is
  // longer than the longest path the programs open (platform::kMaxPathLength).
  static ItemIdList FromPath(const std::string& path);

 private:
  LPITEMIDLIST p_ = nullptr;
};

// The shell's parsing name of an absolute item: the ordinary path of a file-system item, whole
// also where it is longer than MAX_PATH allows.
std::string ParsingName(const ItemIdList& item);

// ObjectTypes: the kinds of entries a view lists.
enum ShellObjectTypes : unsigned { kShellFolders = 1, kShellNonFolders = 2, kShellHidden = 4 };

namespace shell {

// Holds one reference of a shell object.
template <class T>
class Com {
 public:
  Com() = default;
  explicit Com(T* p) : p_(p) {}
  ~Com() {
    if (p_) p_->Release();
  }
  Com(const Com&) = delete;
  Com(Com&& other) noexcept : p_(other.Detach()) {}
  Com& operator=(Com&& other) noexcept {
    if (this != std::addressof(other)) {
      if (p_) p_->Release();
      p_ = other.Detach();
    }
    return *this;
  }
  T** operator&() { return &p_; }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  T* Detach() {
    T* p = p_;
    p_ = nullptr;
    return p;
  }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

Com<IShellFolder> DesktopFolder();
// The folder object of an absolute list; empty when the item is no folder.
Com<IShellFolder> BindFolder(const ItemIdList& folder);
std::wstring NameOf(IShellFolder* folder, LPCITEMIDLIST child, SHGDNF flags);
std::wstring FromStrRet(STRRET& str, LPCITEMIDLIST child);
// The enumeration flags for a view's ObjectTypes.
SHCONTF EnumFlags(unsigned objectTypes);
// A folder as the shell counts one: a zip-like item is a folder and a stream, and opens, sorts and
// filters as a file, as it does in the system's own browser.
bool IsShellFolder(IShellFolder* folder, LPCITEMIDLIST child);
// The file-system path of a folder, whole; empty for the shell's own folders.
std::string FileSystemPath(const ItemIdList& folder);

// Folders first, then the shell's own order of names for that folder.
template <class Item, class IsFolder, class IdOf>
void SortAsTheShell(IShellFolder* folder, std::vector<Item>& items, IsFolder isFolder, IdOf idOf) {
  std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
    if (isFolder(a) != isFolder(b)) return isFolder(a);
    HRESULT hr = folder->CompareIDs(0, idOf(a), idOf(b));
    return FAILED(hr) ? false : static_cast<short>(HRESULT_CODE(hr)) < 0;
  });
}

// Posted by a view when its window is made: the system's image lists are attached once it shows.
constexpr UINT kAttachIcons = WM_APP + 20;
HIMAGELIST SystemImages(bool small);
int IconOfId(LPCITEMIDLIST absolute, bool open = false);

}  // namespace shell

}  // namespace ui
