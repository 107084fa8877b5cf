// Shell folder tree and shell file list. Both work on the shell namespace: a folder is an item ID
// list, so the computer and the desktop are folders like any other, and names, order, icons,
// detail columns, renaming and the context menu come from the shell's folder objects. Linked, the
// list roots the tree where it is rooted and the tree's selection follows the list's folder.
#pragma once
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

class FolderWatcher;

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
  // The folder a text names, as the shell parses it; empty when it names none.
  static ItemIdList FromPath(const std::string& path);

 private:
  LPITEMIDLIST p_ = nullptr;
};

// The shell's parsing name of an absolute item: the ordinary path of a file-system item.
std::string ParsingName(const ItemIdList& item);

// ObjectTypes: the kinds of entries a view lists.
enum ShellObjectTypes : unsigned { kShellFolders = 1, kShellNonFolders = 2, kShellHidden = 4 };

class ShellListView;

class ShellTreeView : public Control {
 public:
  struct Node {
    ItemIdList id;  // absolute
    std::string text;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
    bool loaded = false;
    bool expanded = false;
    HTREEITEM item = nullptr;
  };

  ShellTreeView(Control* parent, std::string name);

  // Drops every node and shows the folder as the one top node, expanded and selected; the change
  // event follows.
  void SetRoot(const ItemIdList& folder);
  void SetRootPath(const std::string& path);
  Node* RootNode() const { return root_.get(); }
  Node* Selected() const { return selected_; }
  // The parsing name of the selected node's folder; empty when none is selected.
  std::string Path() const;
  // The node's sub-folders, read when first asked for.
  const std::vector<std::unique_ptr<Node>>& Children(Node* node);
  void Expand(Node* node);
  // The node of a folder at or under the root, expanding the way to it; nullptr outside.
  Node* NodeOf(const ItemIdList& folder);
  // What a click of the user on a node does: the linked list shows its folder, then the change
  // event runs.
  void Click(Node* node);
  void SetShellListView(ShellListView* list) { list_ = list; }
  void SetObjectTypes(unsigned types) { objectTypes_ = types; }

  NotifyEvent OnChange;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  friend class ShellListView;
  // Moves the selection to the folder's node (none outside the root); the change event runs when
  // the selection changed.
  void Follow(const ItemIdList& folder);
  void Select(Node* node);
  void Load(Node* node);
  void InsertNative(Node* node, HTREEITEM parent);
  void PushSelection();

  std::unique_ptr<Node> root_;
  Node* selected_ = nullptr;
  ShellListView* list_ = nullptr;
  unsigned objectTypes_ = kShellFolders;
  bool pushing_ = false;
};

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
  mutable std::wstring display_;
  mutable int icon_ = -1;
};

enum class ViewStyle { Icon, SmallIcon, List, Report };

class ShellListView : public Control {
 public:
  using AddFolderEvent = std::function<void(Object* sender, const ShellItem& folder, bool& canAdd)>;
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
  // case, changes nothing. A text that names no folder raises "Error setting path: "<text>"".
  void SetRoot(const std::string& folder);
  // Whether setting this root would be ignored as equal to the current one.
  bool IsRootText(const std::string& folder) const;
  // Shows the root's folder again after browsing away from it.
  void ReturnToRoot();
  // The folder whose entries the list shows, and its parsing name.
  const ItemIdList& FolderId() const { return folder_; }
  std::string Folder() const;
  // Shows another folder; the root text stays.
  void BrowseTo(const ItemIdList& folder);
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
  // Passes a new name to the shell, as an in-place edit does; true when the shell took it.
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

  void SetObjectTypes(unsigned types) { objectTypes_ = types; }
  // Watches the shown folder (not its sub-folders) and refreshes on each reported change.
  void SetAutoRefresh(bool on);
  bool AutoRefresh() const { return autoRefresh_; }
  // How many refreshes the watcher has caused.
  int WatcherRefreshes() const { return watcherRefreshes_; }

  AddFolderEvent OnAddFolder;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Show(ItemIdList folder);
  void Fill();
  void BuildColumns();
  void PushColumns();
  void PushItems();
  void PushViewStyle();
  void Watch();
  void ContextMenu(POINT screen);
  const std::wstring& DisplayName(const ShellItem& item) const;
  int IconOf(const ShellItem& item) const;

  std::string root_;
  ItemIdList folder_ = ItemIdList::Desktop();
  std::string folderPath_;  // file-system path of the folder; empty for the shell's own folders
  IShellFolder* shellFolder_ = nullptr;
  std::vector<ShellItem> items_;
  std::vector<int> selection_;
  std::vector<Column> columns_;
  ViewStyle viewStyle_ = ViewStyle::Report;
  unsigned objectTypes_ = kShellFolders | kShellNonFolders | kShellHidden;
  ShellTreeView* tree_ = nullptr;
  bool autoRefresh_ = false;
  std::shared_ptr<FolderWatcher> watcher_;
  int watcherRefreshes_ = 0;
};

}  // namespace ui
