// Shell folder tree: the folders under a root as nodes, read when first expanded. Linked with a
// shell list, the list roots it and its selection follows the list's folder.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/shell_namespace.h"

namespace ui {

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
  Node* RootNode() const { return root_.get(); }
  Node* Selected() const { return selected_; }
  // The parsing name of the selected node's folder; empty when none is selected.
  std::string Path() const;
  // The node's sub-folders, read when first asked for.
  const std::vector<std::unique_ptr<Node>>& Children(Node* node);
  void Expand(Node* node);
  // The node of a folder at or under the root, expanding the way to it (a node read before the
  // folder was made is read again); nullptr outside.
  Node* NodeOf(const ItemIdList& folder);
  // Reads the sub-folders of a folder's node again, when the node has read them; nodes of folders
  // still there stay as they are.
  void Reread(const ItemIdList& folder);
  // What a click of the user on a node does: the linked list shows its folder, then the change
  // event runs. A folder the list does not open leaves the selection on the list's folder.
  void Click(Node* node);
  void SetShellListView(ShellListView* list) { list_ = list; }

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
  std::vector<std::unique_ptr<Node>> ReadChildren(Node* node);
  void Load(Node* node);
  void Reread(Node* node);
  void PushHasChildren(Node* node);
  void InsertNative(Node* node, HTREEITEM parent, HTREEITEM after);
  void PushSelection();

  std::unique_ptr<Node> root_;
  Node* selected_ = nullptr;
  ShellListView* list_ = nullptr;
  bool pushing_ = false;
};

}  // namespace ui
