#include "ui/shell_views.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace ui {
namespace {

struct Entry {
  std::wstring name;
  bool folder;
};

std::vector<Entry> ReadFolder(const std::string& folder) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAW fd;
  std::wstring pattern = platform::Widen(platform::WithTrailingBackslash(folder)) + L"*";
  HANDLE h = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return entries;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.folder != b.folder) return a.folder;
    return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE | SORT_DIGITSASNUMBERS,
                           a.name.c_str(), -1, b.name.c_str(), -1, nullptr, nullptr, 0) == CSTR_LESS_THAN;
  });
  return entries;
}

std::string DesktopFolder() {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path);
  return platform::Narrow(path);
}

HIMAGELIST SystemImages() {
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"C:\\", 0, &info, sizeof info,
                                                     SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

int IconIndex(const std::wstring& path, bool folder) {
  SHFILEINFOW info{};
  SHGetFileInfoW(path.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info,
                 sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
  return info.iIcon;
}

}  // namespace

ShellTreeView::ShellTreeView(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
}

HWND ShellTreeView::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, WC_TREEVIEWW, TVS_HASBUTTONS | TVS_SHOWSELALWAYS);
  if (h) {
    TreeView_SetImageList(h, SystemImages(), TVSIL_NORMAL);
    Fill();
  }
  return h;
}

void ShellTreeView::SetRoot(const std::string& folder) {
  root_ = folder;
  path_ = folder;
  Fill();
  Fire(OnChange);
}

void ShellTreeView::Fill() {
  if (!Handle()) return;
  TreeView_DeleteAllItems(Handle());
  std::string root = root_.empty() ? DesktopFolder() : root_;
  std::wstring text = platform::Widen(root);
  TVINSERTSTRUCTW ins{};
  ins.hParent = TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  ins.item.pszText = text.data();
  ins.item.iImage = ins.item.iSelectedImage = IconIndex(text, true);
  HTREEITEM top = TreeView_InsertItem(Handle(), &ins);
  for (const Entry& e : ReadFolder(root)) {
    if (!e.folder) continue;
    std::wstring name = e.name;
    TVINSERTSTRUCTW child{};
    child.hParent = top;
    child.hInsertAfter = TVI_LAST;
    child.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    child.item.pszText = name.data();
    child.item.iImage = child.item.iSelectedImage = IconIndex(name, true);
    TreeView_InsertItem(Handle(), &child);
  }
  TreeView_Expand(Handle(), top, TVE_EXPAND);
  TreeView_SelectItem(Handle(), top);
}

ShellListView::ShellListView(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
  SetColor(kWindow);
}

std::string ShellListView::Folder() const { return root_.empty() ? DesktopFolder() : root_; }

void ShellListView::SetRoot(const std::string& folder) {
  std::string root = folder;
  if (root.size() == 2 && root[1] == ':') root += '\\';
  if (!root_.empty() && platform::EqualsIgnoreCase(root, root_)) return;
  if (!platform::DirectoryExists(root))
    throw platform::Error("Error setting path: \"" + folder + "\"");
  root_ = root;
  if (tree_) tree_->SetRoot(root_);
  Fill();
}

HWND ShellListView::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                      WS_EX_CLIENTEDGE);
  if (!h) return nullptr;
  ListView_SetExtendedListViewStyle(h, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  ListView_SetImageList(h, SystemImages(), LVSIL_SMALL);
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.cx = Scale(360);
  col.pszText = const_cast<wchar_t*>(L"Name");
  ListView_InsertColumn(h, 0, &col);
  Fill();
  return h;
}

void ShellListView::Fill() {
  if (!Handle()) return;
  ListView_DeleteAllItems(Handle());
  std::string folder = Folder();
  int row = 0;
  for (const Entry& e : ReadFolder(folder)) {
    std::wstring name = e.name;
    std::wstring full = platform::Widen(platform::WithTrailingBackslash(folder)) + name;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row++;
    item.pszText = name.data();
    item.iImage = IconIndex(full, e.folder);
    ListView_InsertItem(Handle(), &item);
  }
}

}  // namespace ui
