// Shell file list: the entries of one folder of the shell namespace, with the shell's names, order,
// icons, detail columns, renaming and context menu; a virtual list that asks for the texts and
// icons of the rows on screen only. With AutoRefresh it watches the folder it shows.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/shell_namespace.h"
#include "ui/shell_tree_view.h"

namespace ui {

class FolderWatcher;

// One entry of a folder as the list holds it.
class ShellItem {
 public:
  const std::string& Name() const { return name_; }  // its name in the folder, as on disk
  const std::string& PathName() const { return path_; }  // the full parsing path
  bool IsFolder() const { return folder_; }
  LPCITEMIDLIST Id() const { return id_.Get(); }

 private:
  friend class ShellListView;
  ItemIdList id_;  // relative to the list's folder
  std::string name_;
  std::string path_;
  bool folder_ = false;
  bool fileSystem_ = false;  // named by its find data
  mutable std::wstring display_;
  mutable int icon_ = -1;
};

enum class ViewStyle { Icon, SmallIcon, List, Report };

// What a report column would take, in pixels: its present width (the design's, or the user's), its
// widest text on screen and its title, each with the list's margins.
struct ColumnRoom {
  int present = 0;
  int texts = 0;
  int title = 0;
};
// The columns' widths in a list of the given width: each as wide as its present width and its
// texts where all fit; otherwise the widest texts are cut to one common width, so that the short ones (sizes,
// dates, attributes) stay whole and the long ones (names, types) share what is left. Titles stay
// whole.
std::vector<int> ShareColumnRoom(const std::vector<ColumnRoom>& columns, int room);

class ShellListView : public Control {
 public:
  using AddFolderEvent = std::function<void(Object* sender, const ShellItem& folder, bool& canAdd)>;
  // A new name the shell refused for the item `name`, with the system's reason (may be empty).
  using RenameRefusedEvent = std::function<void(Object* sender, const std::string& name,
                                                const std::string& newName, const std::string& reason)>;
  // A folder the list does not open because its path is too long; its whole path.
  using FolderTooLongEvent = std::function<void(Object* sender, const std::string& path)>;
  struct Column {
    std::string title;
    int width = 0;
    int format = LVCFMT_LEFT;
    int shellColumn = 0;
  };

  ShellListView(Control* parent, std::string name);
  ~ShellListView() override;

  // Links the tree both ways: the list roots it and it follows the list.
  void SetTreeView(ShellTreeView* tree);
  // The root as the list holds it; empty while it shows its design root, the desktop.
  const std::string& Root() const { return root_; }
  // Roots the list at a folder ("C:" becomes "C:\"); a root equal to the current one, ignoring
  // case, changes nothing. A text that names no folder, or is longer than the longest path the
  // programs open, raises "Error setting path: "<text>"".
  void SetRoot(const std::string& folder);
  // Whether setting this root would be ignored as equal to the current one.
  bool IsRootText(const std::string& folder) const;
  // Shows the root's folder again after browsing away from it.
  void ReturnToRoot();
  // The folder whose entries the list shows, and its parsing name.
  const ItemIdList& FolderId() const { return folder_; }
  std::string Folder() const;
  // Shows another folder; the root text stays. A folder whose path is longer than the longest path
  // the programs open (platform::kMaxPathLength) is not opened: the list and its tree stay on the
  // folder shown, OnFolderTooLong is raised, and the answer is false.
  bool BrowseTo(const ItemIdList& folder);
  // The parent of the shown folder; nothing at the desktop.
  void Back();
  // Reads the shown folder again.
  void Refresh();

  const std::vector<ShellItem>& Items() const { return items_; }
  int IndexOf(const std::string& name) const;  // -1 when not listed
  // Double-click or Enter: a folder opens, anything else goes to the shell's default action.
  void OpenItem(int index);
  // Alt+Enter: the shell's properties of the item.
  void ShowProperties(int index);
  // Passes a new name to the shell, as an in-place edit does; true when the shell took it. A
  // refusal (also of a name too long for the folder's path, or of an item whose own path is too
  // long) raises OnRenameRefused.
  bool Rename(int index, const std::string& newName);
  // Runs a command of the shell's context menu of the items ("delete", "copy"), then refreshes.
  void InvokeVerb(const std::vector<int>& indexes, const std::string& verb);
  void Select(int index);
  std::vector<int> Selection() const;

  ViewStyle GetViewStyle() const { return viewStyle_; }
  // Report rebuilds the detail columns from the shell, also when it is shown already.
  void SetViewStyle(ViewStyle style);
  const std::vector<Column>& Columns() const { return columns_; }
  std::string DetailText(int index, int column) const;

  // Watches the shown folder (not its sub-folders) and refreshes on each reported change.
  void SetAutoRefresh(bool on);
  bool AutoRefresh() const { return autoRefresh_; }
  AddFolderEvent OnAddFolder;
  RenameRefusedEvent OnRenameRefused;
  FolderTooLongEvent OnFolderTooLong;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Show(ItemIdList folder);
  // The entries of a folder, sorted as the shell sorts them, on any thread: the folder object
  // must be that thread's.
  static std::vector<ShellItem> ReadRows(IShellFolder* folder, const std::string& folderPath, unsigned objectTypes,
                                         HWND owner);
  // Lists the rows that OnAddFolder takes; the rows listed before are left in `rows`.
  void Fill(std::vector<ShellItem>& rows);
  // Fill, keeping the selection by name, and the tree's node when the folders changed.
  void ShowRows(std::vector<ShellItem>& rows);
  void BuildColumns();
  void PushColumns();
  void PushItems();
  // Widens the detail columns that cut the texts of the rows on screen, as far as the list has
  // room beside its columns.
  void FitColumns();
  void PushViewStyle();
  void Watch();
  void ContextMenu(POINT screen);
  const std::wstring& DisplayName(const ShellItem& item) const;
  int IconOf(const ShellItem& item) const;

  std::string root_;
  ItemIdList folder_ = ItemIdList::Desktop();
  std::string folderPath_;  // file-system path of the folder; empty for the shell's own folders
  shell::Com<IShellFolder> shellFolder_;
  shell::Com<IShellFolder2> folder2_;
  shell::Com<IShellDetails> details_;
  std::vector<ShellItem> items_;
  std::vector<std::string> folderNames_;  // of the last read, listed or not
  std::vector<int> selection_;
  std::vector<Column> columns_;
  ViewStyle viewStyle_ = ViewStyle::Report;
  static constexpr unsigned kObjectTypes = kShellFolders | kShellNonFolders | kShellHidden;
  ShellTreeView* tree_ = nullptr;
  bool autoRefresh_ = false;
  std::shared_ptr<FolderWatcher> watcher_;
};

}  // namespace ui
