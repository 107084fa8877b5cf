#include "ui/shell_list_view.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <map>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"
#include "ui/application.h"
#include "ui/folder_watcher.h"

namespace ui {

using platform::Narrow;
using platform::Widen;
using namespace shell;

namespace {

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

}  // namespace

ShellListView::ShellListView(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
  SetColor(kWindow);
  Show(ItemIdList::Desktop());
}

ShellListView::~ShellListView() {
  if (watcher_) watcher_->Stop();
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
  if (id.Empty() || !platform::PathFits(ParsingName(id)))
    throw platform::Error("Error setting path: \"" + folder + "\"");
  root_ = root;
  if (tree_) tree_->SetRoot(id);
  Show(std::move(id));
}

bool ShellListView::BrowseTo(const ItemIdList& folder) {
  std::string path = ParsingName(folder);
  // The shell here would show the folder where it cuts such a path; Windows does not let a program
  // without long-path support use it at all.
  if (!platform::PathFits(path)) {
    if (tree_) tree_->Follow(folder_);
    if (OnFolderTooLong) OnFolderTooLong(this, path);
    return false;
  }
  if (tree_) tree_->Follow(folder);
  Show(folder);
  return true;
}

void ShellListView::Back() {
  if (folder_.IsDesktop()) return;
  BrowseTo(folder_.Parent());
}

void ShellListView::Show(ItemIdList folder) {
  Com<IShellFolder> sf = BindFolder(folder);
  if (!sf) throw platform::Error("Error setting path: \"" + ParsingName(folder) + "\"");
  shellFolder_ = std::move(sf);
  // The detail columns' source, asked for once per folder.
  folder2_ = {};
  details_ = {};
  if (FAILED(shellFolder_->QueryInterface(IID_IShellFolder2, reinterpret_cast<void**>(&folder2_))))
    shellFolder_->CreateViewObject(nullptr, IID_IShellDetails, reinterpret_cast<void**>(&details_));
  folder_ = std::move(folder);
  folderPath_ = FileSystemPath(folder_);
  selection_.clear();
  if (viewStyle_ == ViewStyle::Report) {
    BuildColumns();
    // The old rows go first: columns replaced under 10,000 rows cost a tenth of a second here.
    if (Handle() && ListView_GetItemCount(Handle()) > 0) ListView_SetItemCountEx(Handle(), 0, LVSICF_NOINVALIDATEALL);
    PushColumns();
  }
  Watch();
  std::vector<ShellItem> rows = ReadRows(shellFolder_.Get(), folderPath_, kObjectTypes, Handle());
  Fill(rows);
  PushItems();
}

void ShellListView::Refresh() {
  std::vector<ShellItem> rows = ReadRows(shellFolder_.Get(), folderPath_, kObjectTypes, Handle());
  ShowRows(rows);
}

void ShellListView::ShowRows(std::vector<ShellItem>& rows) {
  std::vector<std::string> selected;
  for (int i : Selection()) selected.push_back(items_[static_cast<size_t>(i)].name_);
  std::vector<std::string> folders = std::move(folderNames_);
  Fill(rows);
  PushItems();
  for (const auto& name : selected)
    if (int i = IndexOf(name); i >= 0) selection_.push_back(i);
  if (Handle())
    for (int i : selection_) ListView_SetItemState(Handle(), i, LVIS_SELECTED, LVIS_SELECTED);
  // A folder made or removed here shows in the tree too, so the tree can select it when opened.
  if (tree_ && folders != folderNames_) tree_->Reread(folder_);
}

void ShellListView::Fill(std::vector<ShellItem>& rows) {
  std::vector<ShellItem> kept;
  kept.reserve(rows.size());
  folderNames_.clear();
  for (ShellItem& item : rows) {
    if (item.folder_) folderNames_.push_back(item.name_);
    bool canAdd = true;
    if (OnAddFolder) OnAddFolder(this, item, canAdd);
    if (canAdd) kept.push_back(std::move(item));
  }
  // The rows shown before go back to the caller, to be freed where it likes.
  std::swap(items_, kept);
  rows = std::move(kept);
}

std::vector<ShellItem> ShellListView::ReadRows(IShellFolder* folder, const std::string& folderPath,
                                               unsigned objectTypes, HWND owner) {
  std::vector<ShellItem> rows;
  Com<IEnumIDList> list;
  if (folder->EnumObjects(owner, EnumFlags(objectTypes), &list) != S_OK || !list) return rows;
  std::string prefix = platform::WithTrailingBackslash(folderPath);
  LPITEMIDLIST batch[256];
  ULONG fetched = 0;
  for (;;) {
    HRESULT hr = list->Next(256, batch, &fetched);
    for (ULONG i = 0; i < fetched; ++i) {
      ShellItem item;
      item.id_ = ItemIdList(batch[i]);
      LPCITEMIDLIST child = batch[i];
      item.folder_ = IsShellFolder(folder, child);
      // A file-system item carries its find data: its name without asking the disk. The shell's
      // own items (the computer, the desktop's folders) carry none, or, here, an empty one.
      WIN32_FIND_DATAW fd;
      if (!folderPath.empty() && SUCCEEDED(SHGetDataFromIDListW(folder, child, SHGDFIL_FINDDATA, &fd, sizeof fd)) &&
          fd.cFileName[0]) {
        item.name_ = Narrow(fd.cFileName);
        item.path_ = prefix + item.name_;
        item.fileSystem_ = true;
      } else {
        item.name_ = Narrow(NameOf(folder, child, SHGDN_INFOLDER | SHGDN_FORPARSING));
        item.path_ = Narrow(NameOf(folder, child, SHGDN_FORPARSING));
      }
      rows.push_back(std::move(item));
    }
    if (hr != S_OK || fetched == 0) break;
  }
  SortAsTheShell(
      folder, rows, [](const ShellItem& i) { return i.folder_; }, [](const ShellItem& i) { return i.Id(); });
  return rows;
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

namespace {

// Why the shell refused a new name, in the system's words; empty when it gives no reason.
std::string RefusalReason(HRESULT hr, DWORD lastError, const std::wstring& name) {
  DWORD code = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : lastError;
  // Here the shell answers a name with a character no file name may hold as if the user had
  // cancelled, and tells nobody.
  if (code == ERROR_CANCELLED) code = 0;
  if (!code && name.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) code = ERROR_INVALID_NAME;
  return code ? platform::SystemErrorText(code) : std::string();
}

}  // namespace

bool ShellListView::Rename(int index, const std::string& newName) {
  if (index < 0 || index >= static_cast<int>(items_.size()) || newName.empty()) return false;
  const ShellItem& item = items_[static_cast<size_t>(index)];
  std::wstring name = Widen(newName);
  auto refuse = [&](const std::string& reason) {
    if (OnRenameRefused) OnRenameRefused(this, item.name_, newName, reason);
    return false;
  };
  // The shell would cut a name that does not fit into a path and rename the item to what is left;
  // an item whose own path is too long it would not find ("File not found").
  if (item.fileSystem_ &&
      (!platform::PathFits(item.path_) || !platform::PathFits(platform::WithTrailingBackslash(folderPath_) + newName)))
    return refuse(platform::SystemErrorText(ERROR_FILENAME_EXCED_RANGE));
  LPITEMIDLIST renamed = nullptr;
  SetLastError(0);
  // No owner window: the shell shows nothing of its own, and the user hears of a refusal once.
  HRESULT hr = shellFolder_->SetNameOf(nullptr, item.Id(), name.c_str(), SHGDN_INFOLDER, &renamed);
  DWORD lastError = GetLastError();
  if (renamed) CoTaskMemFree(renamed);
  if (FAILED(hr)) return refuse(RefusalReason(hr, lastError, name));
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
  IShellFolder2* folder2 = folder2_.Get();
  IShellDetails* details = details_.Get();
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
  IShellFolder2* folder2 = folder2_.Get();
  IShellDetails* details = details_.Get();
  SHELLDETAILS sd{};
  UINT c = static_cast<UINT>(columns_[static_cast<size_t>(column)].shellColumn);
  HRESULT hr = folder2    ? folder2->GetDetailsOf(item.Id(), c, &sd)
               : details ? details->GetDetailsOf(item.Id(), c, &sd)
                         : E_NOTIMPL;
  return SUCCEEDED(hr) ? Narrow(FromStrRet(sd.str, item.Id())) : std::string();
}

const std::wstring& ShellListView::DisplayName(const ShellItem& item) const {
  // Asked only for the rows on screen: the shell's display name costs a look into the registry.
  if (item.display_.empty()) item.display_ = NameOf(shellFolder_.Get(), item.Id(), SHGDN_INFOLDER);
  if (item.display_.empty()) item.display_ = Widen(item.name_);
  return item.display_;
}

int ShellListView::IconOf(const ShellItem& item) const {
  if (item.icon_ >= 0) return item.icon_;
  std::wstring name = Widen(item.name_);
  std::wstring ext = PathFindExtensionW(name.c_str());
  if (item.fileSystem_ && !OwnIcon(ext))
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
  // The folder is read again on the watcher's thread, with a folder object of its own; only the
  // finished rows come to the user-interface thread, so a large folder that keeps changing does not
  // hold the window.
  watcher_ = std::make_shared<FolderWatcher>(
      folderPath_, [this, folder = folder_, path = folderPath_, types = kObjectTypes]() -> std::function<void()> {
        auto rows = std::make_shared<std::vector<ShellItem>>();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (Com<IShellFolder> sf = BindFolder(folder)) *rows = ReadRows(sf.Get(), path, types, nullptr);
        CoUninitialize();
        // The rows shown before are left in *rows and freed on the watcher's thread.
        return [this, rows] { ShowRows(*rows); };
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
  // Setting the count costs here as much as a visit of every row; the rows on screen are asked
  // for anew anyway, so an unchanged count is left alone.
  int count = static_cast<int>(items_.size());
  if (ListView_GetItemCount(Handle()) != count) ListView_SetItemCountEx(Handle(), count, LVSICF_NOINVALIDATEALL);
  InvalidateRect(Handle(), nullptr, TRUE);
  FitColumns();
}

void ShellListView::FitColumns() {
  if (!Handle() || viewStyle_ != ViewStyle::Report) return;
  int count = Header_GetItemCount(ListView_GetHeader(Handle()));
  if (count != static_cast<int>(columns_.size())) return;
  RECT client;
  GetClientRect(Handle(), &client);
  HDC dc = GetDC(Handle());
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
  auto textWidth = [&](const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  // The list's margins around a cell's text, and a header's room for its sort mark.
  const int margin = Scale(16);
  int first = ListView_GetTopIndex(Handle());
  int last = std::min<int>(static_cast<int>(items_.size()), first + ListView_GetCountPerPage(Handle()) + 1);
  std::vector<ColumnRoom> rooms(static_cast<size_t>(count));
  for (int c = 0; c < count; ++c) {
    ColumnRoom& room = rooms[static_cast<size_t>(c)];
    room.present = ListView_GetColumnWidth(Handle(), c);  // the design's, or as the user left it
    room.title = textWidth(Widen(columns_[static_cast<size_t>(c)].title)) + margin;
    int w = 0;
    for (int i = first; i < last; ++i)
      w = std::max(w, textWidth(c == 0 ? DisplayName(items_[static_cast<size_t>(i)]) : Widen(DetailText(i, c))));
    room.texts = w + margin + (c == 0 ? GetSystemMetrics(SM_CXSMICON) : 0);
  }
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  std::vector<int> widths = ShareColumnRoom(rooms, client.right);
  for (int c = 0; c < count; ++c)
    if (ListView_GetColumnWidth(Handle(), c) != widths[static_cast<size_t>(c)])
      ListView_SetColumnWidth(Handle(), c, widths[static_cast<size_t>(c)]);
}

std::vector<int> ShareColumnRoom(const std::vector<ColumnRoom>& columns, int room) {
  std::vector<int> widths;
  auto total = [&] {
    int sum = 0;
    for (int w : widths) sum += w;
    return sum;
  };
  // Each column as wide as it is or as its texts, where that fits.
  for (const ColumnRoom& c : columns) widths.push_back(std::max({c.present, c.texts, c.title}));
  if (total() <= room) return widths;
  // Otherwise each as its texts need, the widest cut to a common width: short details stay whole,
  // and long names and types share what is left. A title stays whole in any case.
  auto fit = [&](int cap) {
    widths.clear();
    for (const ColumnRoom& c : columns) widths.push_back(std::max(c.title, std::min(c.texts, cap)));
    return total();
  };
  int widest = 0;
  for (const ColumnRoom& c : columns) widest = std::max(widest, c.texts);
  int low = 0, high = widest;  // fit(low) fits, or nothing does
  while (low < high) {
    int middle = (low + high + 1) / 2;
    if (fit(middle) <= room) low = middle;
    else high = middle - 1;
  }
  int left = room - fit(low);
  // What is left goes first to the columns cut at that width, a pixel each, then to the columns
  // that were wider than their texts (the name first).
  for (size_t c = 0; c < columns.size() && left > 0; ++c)
    if (columns[c].texts > widths[c]) {
      ++widths[c];
      --left;
    }
  for (size_t c = 0; c < columns.size() && left > 0; ++c) {
    int grow = std::min(left, std::max({columns[c].present, columns[c].texts, columns[c].title}) - widths[c]);
    if (grow > 0) {
      widths[c] += grow;
      left -= grow;
    }
  }
  return widths;
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
