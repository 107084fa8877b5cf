#include "ui/shell_views.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <map>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"
#include "ui/application.h"
#include "ui/folder_watcher.h"
#include "ui/tree_colours.h"

namespace ui {
namespace {

using platform::Narrow;
using platform::Widen;

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

Com<IShellFolder> DesktopFolder() {
  Com<IShellFolder> desktop;
  SHGetDesktopFolder(&desktop);
  return Com<IShellFolder>(desktop.Detach());
}

// The folder object of an absolute list; nullptr when the item is no folder.
IShellFolder* BindFolder(const ItemIdList& folder) {
  Com<IShellFolder> desktop = DesktopFolder();
  if (!desktop) return nullptr;
  if (folder.IsDesktop()) return desktop.Detach();
  IShellFolder* sf = nullptr;
  if (FAILED(desktop->BindToObject(folder.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(&sf))))
    return nullptr;
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

// Folders first, then the shell's own order of names for that folder.
template <class Item, class IdOf>
void SortAsTheShell(IShellFolder* folder, std::vector<Item>& items, bool isFolder(const Item&), IdOf idOf) {
  std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
    if (isFolder(a) != isFolder(b)) return isFolder(a);
    HRESULT hr = folder->CompareIDs(0, idOf(a), idOf(b));
    return FAILED(hr) ? false : static_cast<short>(HRESULT_CODE(hr)) < 0;
  });
}

constexpr UINT kAttachIcons = WM_APP + 20;

HIMAGELIST SystemImages(bool small) {
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
      L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON)));
}

int IconOfId(LPCITEMIDLIST absolute, bool open = false) {
  SHFILEINFOW info{};
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0));
  return info.iIcon;
}

// Files whose icon lies in the file itself; every other file shows its type's icon, looked up
// once per extension, because the shell's lookup costs milliseconds per item.
bool OwnIcon(const std::wstring& ext) {
  for (const wchar_t* e : {L".exe", L".ico", L".lnk", L".cur", L".ani", L".url"})
    if (lstrcmpiW(ext.c_str(), e) == 0) return true;
  return false;
}

int TypeIcon(const std::wstring& ext, bool folder) {
  static std::map<std::wstring, int> cache;
  std::wstring key = folder ? L"\\" : ext;
  CharLowerW(key.data());
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  SHFILEINFOW info{};
  SHGetFileInfoW((L"x" + ext).c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info,
                 sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  cache.emplace(key, info.iIcon);
  return info.iIcon;
}

std::string FileSystemPath(const ItemIdList& folder) {
  wchar_t path[MAX_PATH * 4] = L"";
  if (!SHGetPathFromIDListW(folder.Get(), path)) return {};
  return Narrow(path);
}

}  // namespace

// ---- ItemIdList

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
  return desktop ? Narrow(NameOf(desktop.Get(), item.Get(), SHGDN_FORPARSING)) : std::string();
}

// ---- ShellTreeView

ShellTreeView::ShellTreeView(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
  SetRoot(ItemIdList::Desktop());
}

void ShellTreeView::SetRootPath(const std::string& path) {
  ItemIdList id = ItemIdList::FromPath(path);
  if (id.Empty()) throw platform::Error("Error setting path: \"" + path + "\"");
  SetRoot(id);
}

void ShellTreeView::SetRoot(const ItemIdList& folder) {
  auto node = std::make_unique<Node>();
  node->id = folder;
  Com<IShellFolder> desktop = DesktopFolder();
  if (desktop) node->text = Narrow(NameOf(desktop.Get(), folder.Get(), SHGDN_NORMAL));
  selected_ = nullptr;
  if (Handle()) {
    pushing_ = true;
    TreeView_DeleteAllItems(Handle());
    pushing_ = false;
  }
  root_ = std::move(node);
  if (Handle()) InsertNative(root_.get(), TVI_ROOT);
  Expand(root_.get());
  Select(root_.get());
  Fire(OnChange);
}

std::string ShellTreeView::Path() const { return selected_ ? ParsingName(selected_->id) : std::string(); }

const std::vector<std::unique_ptr<ShellTreeView::Node>>& ShellTreeView::Children(Node* node) {
  Load(node);
  return node->children;
}

void ShellTreeView::Load(Node* node) {
  if (node->loaded) return;
  node->loaded = true;
  Com<IShellFolder> folder(BindFolder(node->id));
  if (!folder) return;
  SHCONTF flags = SHCONTF_FOLDERS;
  if (objectTypes_ & kShellNonFolders) flags |= SHCONTF_NONFOLDERS;
  if (objectTypes_ & kShellHidden) flags |= SHCONTF_INCLUDEHIDDEN;
  Com<IEnumIDList> list;
  if (folder->EnumObjects(Handle(), flags, &list) != S_OK || !list) return;
  struct Child {
    ItemIdList relative;
    std::unique_ptr<Node> node;
  };
  std::vector<Child> children;
  LPITEMIDLIST child = nullptr;
  ULONG fetched = 0;
  while (list->Next(1, &child, &fetched) == S_OK && fetched == 1) {
    auto n = std::make_unique<Node>();
    n->id = node->id.Child(child);
    n->text = Narrow(NameOf(folder.Get(), child, SHGDN_INFOLDER));
    n->parent = node;
    children.push_back({ItemIdList(child), std::move(n)});
  }
  SortAsTheShell<Child>(
      folder.Get(), children, [](const Child&) { return true; },
      [](const Child& c) { return c.relative.Get(); });
  for (auto& c : children) {
    node->children.push_back(std::move(c.node));
    if (node->item) InsertNative(node->children.back().get(), node->item);
  }
  if (node->item && node->children.empty()) {
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = node->item;
    item.cChildren = 0;
    TreeView_SetItem(Handle(), &item);
  }
}

void ShellTreeView::Expand(Node* node) {
  Load(node);
  node->expanded = true;
  if (node->item) {
    pushing_ = true;
    TreeView_Expand(Handle(), node->item, TVE_EXPAND);
    pushing_ = false;
  }
}

ShellTreeView::Node* ShellTreeView::NodeOf(const ItemIdList& folder) {
  if (!root_ || !root_->id.Contains(folder)) return nullptr;
  Node* node = root_.get();
  while (!(node->id == folder)) {
    Node* next = nullptr;
    for (auto& c : Children(node))
      if (c->id.Contains(folder)) next = c.get();
    if (!next) return nullptr;
    Expand(node);
    node = next;
  }
  return node;
}

void ShellTreeView::Follow(const ItemIdList& folder) {
  Node* node = NodeOf(folder);
  if (node == selected_) return;
  Select(node);
  Fire(OnChange);
}

void ShellTreeView::Select(Node* node) {
  selected_ = node;
  PushSelection();
}

void ShellTreeView::PushSelection() {
  if (!Handle()) return;
  pushing_ = true;
  TreeView_SelectItem(Handle(), selected_ ? selected_->item : nullptr);
  if (selected_) TreeView_EnsureVisible(Handle(), selected_->item);
  pushing_ = false;
}

void ShellTreeView::Click(Node* node) {
  if (!node) return;
  Select(node);
  if (list_) list_->BrowseTo(node->id);
  Fire(OnChange);
}

HWND ShellTreeView::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS);
  if (!h) return nullptr;
  PostMessageW(h, kAttachIcons, 0, 0);  // as the list does
  TreeView_SetBkColor(h, Resolve(BackColor()));
  TreeView_SetTextColor(h, Resolve(GetFont().color));
  TreeView_SetIndent(h, Scale(19));
  if (root_) {
    InsertNative(root_.get(), TVI_ROOT);
    PushSelection();
  }
  return h;
}

void ShellTreeView::InsertNative(Node* node, HTREEITEM parent) {
  std::wstring text = Widen(node->text);
  TVINSERTSTRUCTW ins{};
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
  ins.item.pszText = text.data();
  ins.item.iImage = ins.item.iSelectedImage = I_IMAGECALLBACK;
  ins.item.cChildren = node->loaded ? (node->children.empty() ? 0 : 1) : 1;
  ins.item.lParam = reinterpret_cast<LPARAM>(node);
  node->item = TreeView_InsertItem(Handle(), &ins);
  for (auto& c : node->children) InsertNative(c.get(), node->item);
  if (node->expanded) {
    pushing_ = true;
    TreeView_Expand(Handle(), node->item, TVE_EXPAND);
    pushing_ = false;
  }
}

LRESULT ShellTreeView::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kAttachIcons) {
    TreeView_SetImageList(Handle(), SystemImages(true), TVSIL_NORMAL);
    return 0;
  }
  return Control::WndProc(msg, wp, lp);
}

bool ShellTreeView::Notify(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  auto* hdr = reinterpret_cast<NMHDR*>(lp);
  switch (hdr->code) {
    case TVN_GETDISPINFOW: {
      auto* di = reinterpret_cast<NMTVDISPINFOW*>(lp);
      auto* node = reinterpret_cast<Node*>(di->item.lParam);
      if (node && (di->item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE))) {
        di->item.iImage = IconOfId(node->id.Get());
        di->item.iSelectedImage = IconOfId(node->id.Get(), true);
        di->item.mask |= TVIF_DI_SETITEM;
      }
      result = 0;
      return true;
    }
    case TVN_ITEMEXPANDINGW: {
      auto* nm = reinterpret_cast<NMTREEVIEWW*>(lp);
      auto* node = reinterpret_cast<Node*>(nm->itemNew.lParam);
      if (node && !pushing_) {
        if (nm->action & TVE_EXPAND) {
          Application::Instance().Guard([&] { Load(node); });
          node->expanded = true;
        } else {
          node->expanded = false;
        }
      }
      result = FALSE;
      return true;
    }
    case NM_CUSTOMDRAW:
      result = SelectedNodeColours(*reinterpret_cast<NMTVCUSTOMDRAW*>(lp), Resolve(BackColor()),
                                   Resolve(GetFont().color));
      return true;
    case TVN_SELCHANGEDW: {
      auto* nm = reinterpret_cast<NMTREEVIEWW*>(lp);
      auto* node = reinterpret_cast<Node*>(nm->itemNew.lParam);
      if (!pushing_ && node && node != selected_) Application::Instance().Guard([&] { Click(node); });
      result = 0;
      return true;
    }
  }
  return false;
}

// ---- ShellListView

ShellListView::ShellListView(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
  SetColor(kWindow);
  Show(ItemIdList::Desktop());
}

ShellListView::~ShellListView() {
  if (watcher_) watcher_->Stop();
  if (shellFolder_) shellFolder_->Release();
}

void ShellListView::SetTreeView(ShellTreeView* tree) {
  tree_ = tree;
  if (tree_) tree_->SetShellListView(this);
}

std::string ShellListView::Folder() const { return ParsingName(folder_); }

namespace {
// A bare drive names the drive's root.
std::string RootText(const std::string& folder) {
  return folder.size() == 2 && folder[1] == ':' ? folder + '\\' : folder;
}
}  // namespace

bool ShellListView::IsRootText(const std::string& folder) const {
  return !root_.empty() && platform::EqualsIgnoreCase(RootText(folder), root_);
}

void ShellListView::ReturnToRoot() {
  if (!root_.empty()) BrowseTo(ItemIdList::FromPath(root_));
}

void ShellListView::SetRoot(const std::string& folder) {
  if (IsRootText(folder)) return;
  std::string root = RootText(folder);
  ItemIdList id = ItemIdList::FromPath(root);
  if (id.Empty()) throw platform::Error("Error setting path: \"" + folder + "\"");
  root_ = root;
  if (tree_) tree_->SetRoot(id);
  Show(std::move(id));
}

void ShellListView::BrowseTo(const ItemIdList& folder) {
  if (tree_) tree_->Follow(folder);
  Show(folder);
}

void ShellListView::Back() {
  if (folder_.IsDesktop()) return;
  BrowseTo(folder_.Parent());
}

void ShellListView::Show(ItemIdList folder) {
  IShellFolder* sf = BindFolder(folder);
  if (!sf) throw platform::Error("Error setting path: \"" + ParsingName(folder) + "\"");
  if (shellFolder_) shellFolder_->Release();
  shellFolder_ = sf;
  folder_ = std::move(folder);
  folderPath_ = FileSystemPath(folder_);
  selection_.clear();
  if (viewStyle_ == ViewStyle::Report) {
    BuildColumns();
    PushColumns();
  }
  Watch();
  Fill();
  PushItems();
}

void ShellListView::Refresh() {
  std::vector<std::string> selected;
  for (int i : Selection()) selected.push_back(items_[static_cast<size_t>(i)].name_);
  Fill();
  PushItems();
  for (const auto& name : selected)
    if (int i = IndexOf(name); i >= 0) selection_.push_back(i);
  if (Handle())
    for (int i : selection_) ListView_SetItemState(Handle(), i, LVIS_SELECTED, LVIS_SELECTED);
}

void ShellListView::Fill() {
  items_.clear();
  SHCONTF flags = 0;
  if (objectTypes_ & kShellFolders) flags |= SHCONTF_FOLDERS;
  if (objectTypes_ & kShellNonFolders) flags |= SHCONTF_NONFOLDERS;
  if (objectTypes_ & kShellHidden) flags |= SHCONTF_INCLUDEHIDDEN;
  Com<IEnumIDList> list;
  if (shellFolder_->EnumObjects(Handle(), flags, &list) != S_OK || !list) return;
  std::string prefix = platform::WithTrailingBackslash(folderPath_);
  LPITEMIDLIST batch[256];
  ULONG fetched = 0;
  for (;;) {
    HRESULT hr = list->Next(256, batch, &fetched);
    for (ULONG i = 0; i < fetched; ++i) {
      ShellItem item;
      item.id_ = ItemIdList(batch[i]);
      LPCITEMIDLIST child = batch[i];
      // A file-system item carries its find data: name and attributes without asking the disk.
      WIN32_FIND_DATAW fd;
      if (!folderPath_.empty() &&
          SUCCEEDED(SHGetDataFromIDListW(shellFolder_, child, SHGDFIL_FINDDATA, &fd, sizeof fd))) {
        item.name_ = Narrow(fd.cFileName);
        item.folder_ = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        item.path_ = prefix + item.name_;
      } else {
        item.name_ = Narrow(NameOf(shellFolder_, child, SHGDN_INFOLDER | SHGDN_FORPARSING));
        SFGAOF attributes = SFGAO_FOLDER;
        item.folder_ = SUCCEEDED(shellFolder_->GetAttributesOf(1, &child, &attributes)) &&
                       (attributes & SFGAO_FOLDER);
        item.path_ = Narrow(NameOf(shellFolder_, child, SHGDN_FORPARSING));
      }
      bool canAdd = true;
      if (OnAddFolder) OnAddFolder(this, item, canAdd);
      if (canAdd) items_.push_back(std::move(item));
    }
    if (hr != S_OK || fetched == 0) break;
  }
  SortAsTheShell<ShellItem>(
      shellFolder_, items_, [](const ShellItem& i) { return i.folder_; },
      [](const ShellItem& i) { return i.Id(); });
}

int ShellListView::IndexOf(const std::string& name) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (platform::EqualsIgnoreCase(items_[i].name_, name)) return static_cast<int>(i);
  return -1;
}

void ShellListView::OpenItem(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  const ShellItem& item = items_[static_cast<size_t>(index)];
  if (item.folder_) {
    BrowseTo(folder_.Child(item.Id()));
    return;
  }
  ItemIdList absolute = folder_.Child(item.Id());
  std::wstring file = Widen(item.path_);
  std::wstring folder = Widen(folderPath_);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_IDLIST;
  info.hwnd = Handle();
  info.lpIDList = absolute.Get();
  info.lpFile = folderPath_.empty() ? nullptr : file.c_str();
  info.lpDirectory = folderPath_.empty() ? nullptr : folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
}

void ShellListView::ShowProperties(int index) {
  if (index >= 0 && index < static_cast<int>(items_.size())) InvokeVerb({index}, "properties");
}

bool ShellListView::Rename(int index, const std::string& newName) {
  if (index < 0 || index >= static_cast<int>(items_.size()) || newName.empty()) return false;
  std::wstring name = Widen(newName);
  LPITEMIDLIST renamed = nullptr;
  HRESULT hr = shellFolder_->SetNameOf(Handle(), items_[static_cast<size_t>(index)].Id(), name.c_str(),
                                       SHGDN_INFOLDER, &renamed);
  if (renamed) CoTaskMemFree(renamed);
  if (FAILED(hr)) return false;
  Refresh();
  return true;
}

void ShellListView::InvokeVerb(const std::vector<int>& indexes, const std::string& verb) {
  std::vector<LPCITEMIDLIST> children;
  for (int i : indexes)
    if (i >= 0 && i < static_cast<int>(items_.size())) children.push_back(items_[static_cast<size_t>(i)].Id());
  if (children.empty()) return;
  Com<IContextMenu> menu;
  if (FAILED(shellFolder_->GetUIObjectOf(Handle(), static_cast<UINT>(children.size()), children.data(),
                                         IID_IContextMenu, nullptr, reinterpret_cast<void**>(&menu))))
    return;
  HMENU popup = CreatePopupMenu();
  menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_NORMAL);
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.hwnd = Handle();
  info.lpVerb = verb.c_str();
  info.nShow = SW_SHOWNORMAL;
  menu->InvokeCommand(&info);
  DestroyMenu(popup);
  Refresh();
}

void ShellListView::ContextMenu(POINT screen) {
  std::vector<LPCITEMIDLIST> children;
  for (int i : Selection()) children.push_back(items_[static_cast<size_t>(i)].Id());
  Com<IContextMenu> menu;
  HRESULT hr = children.empty()
                   ? shellFolder_->CreateViewObject(Handle(), IID_IContextMenu, reinterpret_cast<void**>(&menu))
                   : shellFolder_->GetUIObjectOf(Handle(), static_cast<UINT>(children.size()), children.data(),
                                                 IID_IContextMenu, nullptr, reinterpret_cast<void**>(&menu));
  if (FAILED(hr) || !menu) return;
  HMENU popup = CreatePopupMenu();
  constexpr UINT kFirst = 1;
  if (SUCCEEDED(menu->QueryContextMenu(popup, 0, kFirst, 0x7FFF, CMF_NORMAL | CMF_CANRENAME))) {
    UINT cmd = TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, Handle(), nullptr);
    if (cmd >= kFirst) {
      CMINVOKECOMMANDINFO info{};
      info.cbSize = sizeof info;
      info.hwnd = Handle();
      info.lpVerb = MAKEINTRESOURCEA(cmd - kFirst);
      info.nShow = SW_SHOWNORMAL;
      menu->InvokeCommand(&info);
      // A delete or a paste changes the folder; the list shows it at once.
      Refresh();
    }
  }
  DestroyMenu(popup);
}

void ShellListView::Select(int index) {
  selection_.clear();
  if (index >= 0 && index < static_cast<int>(items_.size())) selection_.push_back(index);
  if (!Handle()) return;
  ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (!selection_.empty()) {
    ListView_SetItemState(Handle(), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(Handle(), index, FALSE);
  }
}

std::vector<int> ShellListView::Selection() const {
  if (!Handle()) return selection_;
  std::vector<int> rows;
  for (int i = ListView_GetNextItem(Handle(), -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(Handle(), i, LVNI_SELECTED))
    if (i < static_cast<int>(items_.size())) rows.push_back(i);
  return rows;
}

void ShellListView::SetViewStyle(ViewStyle style) {
  if (style == viewStyle_ && style != ViewStyle::Report) return;
  viewStyle_ = style;
  if (style == ViewStyle::Report) {
    BuildColumns();
    PushColumns();
  }
  PushViewStyle();
}

void ShellListView::BuildColumns() {
  columns_.clear();
  Com<IShellFolder2> folder2;
  Com<IShellDetails> details;
  if (FAILED(shellFolder_->QueryInterface(IID_IShellFolder2, reinterpret_cast<void**>(&folder2))))
    shellFolder_->CreateViewObject(nullptr, IID_IShellDetails, reinterpret_cast<void**>(&details));
  for (UINT c = 0; c < 32 && (folder2 || details); ++c) {
    SHELLDETAILS sd{};
    HRESULT hr = folder2 ? folder2->GetDetailsOf(nullptr, c, &sd) : details->GetDetailsOf(nullptr, c, &sd);
    if (FAILED(hr)) break;
    SHCOLSTATEF state = 0;
    if (c > 0 && folder2 && SUCCEEDED(folder2->GetDefaultColumnState(c, &state)) &&
        !(state & SHCOLSTATE_ONBYDEFAULT))
      continue;
    Column column;
    column.title = Narrow(FromStrRet(sd.str, nullptr));
    column.width = std::max(c == 0 ? 200 : 60, sd.cxChar * 7);
    column.format = sd.fmt & LVCFMT_JUSTIFYMASK;
    column.shellColumn = static_cast<int>(c);
    columns_.push_back(column);
  }
  if (columns_.empty()) columns_.push_back({"Name", 200, LVCFMT_LEFT, 0});
}

std::string ShellListView::DetailText(int index, int column) const {
  if (index < 0 || index >= static_cast<int>(items_.size()) || column < 0 ||
      column >= static_cast<int>(columns_.size()))
    return {};
  const ShellItem& item = items_[static_cast<size_t>(index)];
  if (column == 0) return Narrow(DisplayName(item));
  Com<IShellFolder2> folder2;
  Com<IShellDetails> details;
  if (FAILED(shellFolder_->QueryInterface(IID_IShellFolder2, reinterpret_cast<void**>(&folder2))))
    shellFolder_->CreateViewObject(nullptr, IID_IShellDetails, reinterpret_cast<void**>(&details));
  SHELLDETAILS sd{};
  UINT c = static_cast<UINT>(columns_[static_cast<size_t>(column)].shellColumn);
  HRESULT hr = folder2    ? folder2->GetDetailsOf(item.Id(), c, &sd)
               : details ? details->GetDetailsOf(item.Id(), c, &sd)
                         : E_NOTIMPL;
  return SUCCEEDED(hr) ? Narrow(FromStrRet(sd.str, item.Id())) : std::string();
}

const std::wstring& ShellListView::DisplayName(const ShellItem& item) const {
  // Asked only for the rows on screen: the shell's display name costs a look into the registry.
  if (item.display_.empty()) item.display_ = NameOf(shellFolder_, item.Id(), SHGDN_INFOLDER);
  if (item.display_.empty()) item.display_ = Widen(item.name_);
  return item.display_;
}

int ShellListView::IconOf(const ShellItem& item) const {
  if (item.icon_ >= 0) return item.icon_;
  std::wstring name = Widen(item.name_);
  std::wstring ext = PathFindExtensionW(name.c_str());
  if (!folderPath_.empty() && !OwnIcon(ext))
    item.icon_ = TypeIcon(ext, item.folder_);
  else
    item.icon_ = IconOfId(folder_.Child(item.Id()).Get());
  return item.icon_;
}

void ShellListView::SetAutoRefresh(bool on) {
  autoRefresh_ = on;
  Watch();
}

void ShellListView::Watch() {
  if (watcher_) watcher_->Stop();
  watcher_.reset();
  if (!autoRefresh_ || folderPath_.empty()) return;
  watcher_ = std::make_shared<FolderWatcher>(folderPath_, [this] {
    ++watcherRefreshes_;
    Refresh();
  });
  watcher_->Start();
}

// ---- the native list: a virtual list that asks for texts and icons of the rows it shows only

HWND ShellListView::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, WC_LISTVIEWW,
                      LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_EDITLABELS, WS_EX_CLIENTEDGE);
  if (!h) return nullptr;
  ListView_SetExtendedListViewStyle(h, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  // The system's image lists cost a tenth of a second when first asked for: they are attached once
  // the window shows, before its first paint.
  PostMessageW(h, kAttachIcons, 0, 0);
  ListView_SetTextColor(h, Resolve(GetFont().color));
  PushViewStyle();
  PushColumns();
  PushItems();
  return h;
}

void ShellListView::PushViewStyle() {
  if (!Handle()) return;
  DWORD type = viewStyle_ == ViewStyle::Icon        ? LVS_ICON
               : viewStyle_ == ViewStyle::SmallIcon ? LVS_SMALLICON
               : viewStyle_ == ViewStyle::List      ? LVS_LIST
                                                    : LVS_REPORT;
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  SetWindowLongPtrW(Handle(), GWL_STYLE, (style & ~LVS_TYPEMASK) | type);
  ListView_Arrange(Handle(), LVA_DEFAULT);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void ShellListView::PushColumns() {
  if (!Handle()) return;
  HWND header = ListView_GetHeader(Handle());
  while (header && Header_GetItemCount(header) > 0) ListView_DeleteColumn(Handle(), 0);
  for (size_t i = 0; i < columns_.size(); ++i) {
    std::wstring title = Widen(columns_[i].title);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = i == 0 ? LVCFMT_LEFT : columns_[i].format;
    col.cx = Scale(columns_[i].width);
    col.pszText = title.data();
    ListView_InsertColumn(Handle(), static_cast<int>(i), &col);
  }
}

void ShellListView::PushItems() {
  if (!Handle()) return;
  // Row by row: a clear of all rows at once visits every row of a large folder.
  for (int i = ListView_GetNextItem(Handle(), -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(Handle(), i, LVNI_SELECTED))
    ListView_SetItemState(Handle(), i, 0, LVIS_SELECTED);
  if (int i = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED); i >= 0) ListView_SetItemState(Handle(), i, 0, LVIS_FOCUSED);
  ListView_SetItemCountEx(Handle(), static_cast<int>(items_.size()), 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool ShellListView::Notify(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  auto* hdr = reinterpret_cast<NMHDR*>(lp);
  Application& app = Application::Instance();
  switch (hdr->code) {
    case LVN_GETDISPINFOW: {
      auto* di = reinterpret_cast<NMLVDISPINFOW*>(lp);
      int i = di->item.iItem;
      if (i < 0 || i >= static_cast<int>(items_.size())) return true;
      const ShellItem& item = items_[static_cast<size_t>(i)];
      if ((di->item.mask & LVIF_TEXT) && di->item.pszText && di->item.cchTextMax > 0) {
        std::wstring text = di->item.iSubItem == 0 ? DisplayName(item) : Widen(DetailText(i, di->item.iSubItem));
        lstrcpynW(di->item.pszText, text.c_str(), di->item.cchTextMax);
      }
      if (di->item.mask & LVIF_IMAGE) di->item.iImage = IconOf(item);
      result = 0;
      return true;
    }
    case NM_DBLCLK: {
      int i = reinterpret_cast<NMITEMACTIVATE*>(lp)->iItem;
      if (i >= 0) app.Guard([&] { OpenItem(i); });
      return true;
    }
    case LVN_BEGINLABELEDITW: {
      int i = reinterpret_cast<NMLVDISPINFOW*>(lp)->item.iItem;
      SFGAOF attributes = SFGAO_CANRENAME;
      LPCITEMIDLIST child = i >= 0 && i < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(i)].Id() : nullptr;
      bool can = child && SUCCEEDED(shellFolder_->GetAttributesOf(1, &child, &attributes)) &&
                 (attributes & SFGAO_CANRENAME);
      result = can ? FALSE : TRUE;
      return true;
    }
    case LVN_ENDLABELEDITW: {
      auto* di = reinterpret_cast<NMLVDISPINFOW*>(lp);
      if (di->item.pszText) {
        std::string name = Narrow(di->item.pszText);
        int i = di->item.iItem;
        app.Guard([&] { Rename(i, name); });
      }
      result = FALSE;
      return true;
    }
  }
  return false;
}

LRESULT ShellListView::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  Application& app = Application::Instance();
  auto focused = [this] {
    int i = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED | LVNI_SELECTED);
    if (i < 0) i = ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
    return i;
  };
  switch (msg) {
    case kAttachIcons:
      ListView_SetImageList(Handle(), SystemImages(true), LVSIL_SMALL);
      ListView_SetImageList(Handle(), SystemImages(false), LVSIL_NORMAL);
      InvalidateRect(Handle(), nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE:
      return DialogCodeWithEnter(wp, lp);
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        int i = focused();
        app.Guard([&] { OpenItem(i); });
        return 0;
      }
      if (wp == VK_BACK) {
        app.Guard([&] { Back(); });
        return 0;
      }
      if (wp == VK_F5) {
        app.Guard([&] { Refresh(); });
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wp == VK_RETURN) {
        int i = focused();
        app.Guard([&] { ShowProperties(i); });
        return 0;
      }
      break;
    case WM_CONTEXTMENU: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (pt.x == -1 && pt.y == -1) {
        pt = {0, 0};
        ::ClientToScreen(Handle(), &pt);
      }
      app.Guard([&] { ContextMenu(pt); });
      return 0;
    }
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace ui
