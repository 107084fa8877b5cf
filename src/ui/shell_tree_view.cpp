#include "ui/shell_tree_view.h"

#include <commctrl.h>

#include "platform/files.h"
#include "platform/text.h"
#include "ui/application.h"
#include "ui/shell_list_view.h"
#include "ui/tree_colours.h"

namespace ui {

using platform::Narrow;
using platform::Widen;
using namespace shell;

ShellTreeView::ShellTreeView(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
  SetRoot(ItemIdList::Desktop());
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
  if (Handle()) InsertNative(root_.get(), TVI_ROOT, TVI_LAST);
  Expand(root_.get());
  Select(root_.get());
  Fire(OnChange);
}

std::string ShellTreeView::Path() const { return selected_ ? ParsingName(selected_->id) : std::string(); }

const std::vector<std::unique_ptr<ShellTreeView::Node>>& ShellTreeView::Children(Node* node) {
  Load(node);
  return node->children;
}

std::vector<std::unique_ptr<ShellTreeView::Node>> ShellTreeView::ReadChildren(Node* node) {
  std::vector<std::unique_ptr<Node>> result;
  // A folder the list does not open shows nothing under it: the shell here would read the folder
  // where it cuts the path.
  if (!platform::PathFits(ParsingName(node->id))) return result;
  Com<IShellFolder> folder(BindFolder(node->id));
  if (!folder) return result;
  Com<IEnumIDList> list;
  if (folder->EnumObjects(Handle(), EnumFlags(kShellFolders), &list) != S_OK || !list) return result;
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
  SortAsTheShell(
      folder.Get(), children, [](const Child&) { return true; },
      [](const Child& c) { return c.relative.Get(); });
  for (auto& c : children) result.push_back(std::move(c.node));
  return result;
}

void ShellTreeView::Load(Node* node) {
  if (node->loaded) return;
  node->loaded = true;
  node->children = ReadChildren(node);
  for (auto& c : node->children)
    if (node->item) InsertNative(c.get(), node->item, TVI_LAST);
  PushHasChildren(node);
}

void ShellTreeView::PushHasChildren(Node* node) {
  if (!node->item) return;
  TVITEMW item{};
  item.mask = TVIF_CHILDREN;
  item.hItem = node->item;
  item.cChildren = node->children.empty() ? 0 : 1;
  TreeView_SetItem(Handle(), &item);
}

void ShellTreeView::Reread(Node* node) {
  if (!node->loaded) return;
  std::vector<std::unique_ptr<Node>> fresh = ReadChildren(node);
  std::vector<std::unique_ptr<Node>> old = std::move(node->children);
  node->children.clear();
  // A folder still there keeps its node, its sub-tree and its place in the window.
  for (auto& f : fresh) {
    auto same = std::find_if(old.begin(), old.end(), [&](const auto& o) { return o && o->id == f->id; });
    node->children.push_back(same != old.end() ? std::move(*same) : std::move(f));
  }
  for (auto& gone : old) {
    if (!gone) continue;
    for (Node* n = selected_; n; n = n->parent)
      if (n == gone.get()) selected_ = nullptr;
    if (gone->item) {
      pushing_ = true;
      TreeView_DeleteItem(Handle(), gone->item);
      pushing_ = false;
    }
  }
  if (node->item) {
    HTREEITEM after = TVI_FIRST;
    for (auto& c : node->children) {
      if (!c->item) InsertNative(c.get(), node->item, after);
      after = c->item;
    }
  }
  PushHasChildren(node);
}

void ShellTreeView::Reread(const ItemIdList& folder) {
  // Only a node already read: nothing is expanded for it.
  Node* node = root_ && root_->id.Contains(folder) ? root_.get() : nullptr;
  while (node && !(node->id == folder)) {
    Node* next = nullptr;
    for (auto& c : node->children)
      if (c->id.Contains(folder)) next = c.get();
    node = next;
  }
  if (node) Reread(node);
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
    auto childOnTheWay = [&]() -> Node* {
      for (auto& c : Children(node))
        if (c->id.Contains(folder)) return c.get();
      return nullptr;
    };
    Node* next = childOnTheWay();
    if (!next) {
      // A folder made since the node was read.
      Reread(node);
      next = childOnTheWay();
    }
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
  // A folder the list does not open: the list has put the selection back on its own folder.
  if (list_ && !list_->BrowseTo(node->id)) return;
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
    InsertNative(root_.get(), TVI_ROOT, TVI_LAST);
    PushSelection();
  }
  return h;
}

void ShellTreeView::InsertNative(Node* node, HTREEITEM parent, HTREEITEM after) {
  std::wstring text = Widen(node->text);
  TVINSERTSTRUCTW ins{};
  ins.hParent = parent;
  ins.hInsertAfter = after;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
  ins.item.pszText = text.data();
  ins.item.iImage = ins.item.iSelectedImage = I_IMAGECALLBACK;
  ins.item.cChildren = node->loaded ? (node->children.empty() ? 0 : 1) : 1;
  ins.item.lParam = reinterpret_cast<LPARAM>(node);
  node->item = TreeView_InsertItem(Handle(), &ins);
  for (auto& c : node->children) InsertNative(c.get(), node->item, TVI_LAST);
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

}  // namespace ui
