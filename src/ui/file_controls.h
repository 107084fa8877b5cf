// The classic folder picker: drive box, directory list, file list and file-type filter. They link
// up as a page wires them: a new drive moves the directory list, the directory list moves the
// file list (and shows its drive in the drive box), the filter sets the file list's mask.
#pragma once
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

class DriveComboBox;
class FileListBox;

// The folders from the drive's root down to the current folder, then the current folder's
// sub-folders. The current folder is also the process's current folder, so relative paths typed
// elsewhere resolve against what the list shows.
class DirectoryListBox : public Control {
 public:
  struct Item {
    std::string text;
    std::string path;
    int level = 0;
    bool open = false;  // on the way from the root to the current folder
  };

  // Starts at the process's current folder.
  DirectoryListBox(Control* parent, std::string name);

  // A drive's root with its backslash ("C:\"), any other folder without one ("C:\Games").
  const std::string& Directory() const { return directory_; }
  // Enters the folder; OnChange runs when the folder changed. False, with nothing changed, when
  // the folder cannot be entered.
  bool SetDirectory(const std::string& path);
  // The lower-case letter of the current folder's drive.
  char Drive() const;
  // Enters the drive's current folder.
  bool SetDrive(char letter);
  void SetFileList(FileListBox* list);

  const std::vector<Item>& Items() const { return items_; }
  int ItemIndex() const { return itemIndex_; }
  // What a double click (or Enter) on a row does: enters its folder.
  void OpenItem(int index);

  NotifyEvent OnChange;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool DrawItem(const DRAWITEMSTRUCT& dis) override;

 private:
  friend class DriveComboBox;
  void Fill();
  void PushItems();

  std::string directory_;
  std::vector<Item> items_;
  int itemIndex_ = -1;
  FileListBox* fileList_ = nullptr;
  DriveComboBox* driveCombo_ = nullptr;
};

// A drop-down list: its window holds the field and the list that drops below it.
class DropDownBox : public Control {
 protected:
  using Control::Control;
  HWND MakeDropDown(HWND parent, const std::vector<std::string>& items, int selected);
  void PushBounds() override;
};

// The drives of the computer, by their lower-case letters.
class DriveComboBox : public DropDownBox {
 public:
  DriveComboBox(Control* parent, std::string name);

  char Drive() const { return drive_; }
  // Selects a drive: the linked directory list enters it first, then OnChange runs. A drive that
  // cannot be entered leaves everything as it was.
  void SetDrive(char letter);
  void SetDirList(DirectoryListBox* list);
  const std::vector<char>& Drives() const { return letters_; }
  // Each drive as its letter, a colon and its volume name ("c: [System]").
  const std::vector<std::string>& Items() const;

  NotifyEvent OnChange;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  friend class DirectoryListBox;
  void ShowDrive(char letter);  // follows the directory list, without an event
  int DriveIndex() const;

  mutable std::vector<std::string> items_;
  std::vector<char> letters_;
  char drive_ = 0;
  DirectoryListBox* dirList_ = nullptr;
};

// The files of a folder that match a mask ("*.*", or several joined by ';').
class FileListBox : public Control {
 public:
  FileListBox(Control* parent, std::string name);

  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& folder);
  const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& mask);
  const std::vector<std::string>& Items() const { return items_; }

 protected:
  HWND CreateWindowFor(HWND parent) override;

 private:
  void Fill();

  std::string directory_;
  std::string mask_ = "*.*";
  std::vector<std::string> items_;
};

// File types for a file list, given as "description|mask|description|mask...".
class FilterComboBox : public DropDownBox {
 public:
  FilterComboBox(Control* parent, std::string name);

  void SetFilter(const std::string& filter);
  const std::vector<std::string>& Items() const { return descriptions_; }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  const std::string& Mask() const;
  void SetFileList(FileListBox* list);

  NotifyEvent OnChange;

 protected:
  HWND CreateWindowFor(HWND parent) override;
  bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  std::vector<std::string> descriptions_;
  std::vector<std::string> masks_;
  int itemIndex_ = -1;
  FileListBox* fileList_ = nullptr;
};

}  // namespace ui
