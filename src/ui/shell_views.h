// Shell folder tree and shell file list over the file system. The list can be linked to a tree;
// setting the list's root roots the tree there too.
#pragma once
#include <string>

#include "ui/control.h"

namespace ui {

class ShellTreeView : public Control {
 public:
  ShellTreeView(Control* parent, std::string name);
  // The folder of the selected node; empty when none is selected.
  const std::string& Path() const { return path_; }
  void SetRoot(const std::string& folder);
  NotifyEvent OnChange;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  void Fill();

 private:
  std::string root_;
  std::string path_;
};

class ShellListView : public Control {
 public:
  ShellListView(Control* parent, std::string name);
  void SetTreeView(ShellTreeView* tree) { tree_ = tree; }
  // The root as the list holds it; empty while it shows the desktop.
  const std::string& Root() const { return root_; }
  // Roots the list at a folder ("C:" becomes "C:\"); a root equal to the current one, ignoring
  // case, changes nothing. A path that names no folder raises "Error setting path: "<path>"".
  void SetRoot(const std::string& folder);
  // The folder whose entries the list shows.
  std::string Folder() const;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  void Fill();

 private:
  std::string root_;
  ShellTreeView* tree_ = nullptr;
};

}  // namespace ui
