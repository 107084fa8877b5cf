#include "ui/file_controls.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwctype>

#include "platform/files.h"
#include "platform/full_path.h"
#include "platform/text.h"
#include "ui/glyphs.h"

namespace ui {
namespace {

using platform::Narrow;
using platform::Widen;

// Extra height of a drop-down box's window: the list that drops below the field.
constexpr int kDropHeight = 180;

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  std::wstring wa = Widen(a), wb = Widen(b);
  return CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(),
                              static_cast<int>(wb.size()), TRUE) == CSTR_LESS_THAN;
}

// The names of a folder's entries: its sub-folders or its files, hidden ones left out, sorted.
std::vector<std::string> ListFolder(const std::string& folder, bool folders, const std::string& mask) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  std::wstring pattern = Widen(platform::WithTrailingBackslash(folder)) + L"*";
  std::wstring wmask = Widen(mask);
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = fd.cFileName;
    bool isFolder = fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    if (name == L"." || name == L".." || (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
    if (isFolder != folders) continue;
    if (!folders && !PathMatchSpecW(name.c_str(), wmask.c_str())) continue;
    names.push_back(Narrow(name));
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  return names;
}

// "C:\" keeps its backslash; every other folder loses a trailing one.
std::string NormalFolder(const std::string& path) {
  std::string full = platform::FullPath(path);
  while (full.size() > 3 && full.back() == '\\') full.pop_back();
  return full;
}

void FillNative(HWND h, bool combo, const std::vector<std::string>& items, int selected) {
  if (!h) return;
  SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  SendMessageW(h, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const auto& item : items)
    SendMessageW(h, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Widen(item).c_str()));
  SendMessageW(h, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  SendMessageW(h, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h, nullptr, TRUE);
}


std::string CurrentFolder() {
  wchar_t buffer[MAX_PATH * 4];
  DWORD n = GetCurrentDirectoryW(MAX_PATH * 4, buffer);
  return n ? Narrow(std::wstring_view(buffer, n)) : std::string("C:\\");
}

}  // namespace

// ---- DirectoryListBox

DirectoryListBox::DirectoryListBox(Control* parent, std::string name)
    : Control(parent, std::move(name)) {
  SetTabStop(true);
  SetColor(kWindow);
  directory_ = NormalFolder(CurrentFolder());
  Fill();
}

char DirectoryListBox::Drive() const {
  if (directory_.size() >= 2 && directory_[1] == ':')
    return static_cast<char>(std::tolower(static_cast<unsigned char>(directory_[0])));
  return 0;
}

bool DirectoryListBox::SetDirectory(const std::string& path) {
  std::string folder = NormalFolder(path);
  if (!SetCurrentDirectoryW(Widen(platform::WithTrailingBackslash(folder)).c_str())) return false;
  bool changed = folder != directory_;
  directory_ = folder;
  Fill();
  PushItems();
  if (fileList_) fileList_->SetDirectory(directory_);
  if (driveCombo_ && Drive()) driveCombo_->ShowDrive(Drive());
  if (changed) Fire(OnChange);
  return true;
}

bool DirectoryListBox::SetDrive(char letter) {
  // "x:" names the drive's current folder, as the system keeps one per drive.
  return SetDirectory(platform::FullPath(std::string{letter, ':'}));
}

void DirectoryListBox::SetFileList(FileListBox* list) {
  fileList_ = list;
  if (fileList_) fileList_->SetDirectory(directory_);
}

void DirectoryListBox::Fill() {
  items_.clear();
  std::string path;
  size_t start = 0;
  while (start < directory_.size()) {
    size_t end = directory_.find('\\', start);
    bool root = items_.empty();
    // The root keeps its backslash ("C:\"); the other parts are the folders' names.
    if (root && end != std::string::npos) ++end;
    std::string part = directory_.substr(start, end == std::string::npos ? end : end - start);
    path += (root || path.back() == '\\') ? part : "\\" + part;
    if (!part.empty()) items_.push_back({part, path, static_cast<int>(items_.size()), true});
    if (end == std::string::npos) break;
    start = root ? end : end + 1;
  }
  itemIndex_ = static_cast<int>(items_.size()) - 1;
  int level = static_cast<int>(items_.size());
  for (const auto& name : ListFolder(directory_, true, {}))
    items_.push_back({name, platform::WithTrailingBackslash(directory_) + name, level, false});
}

void DirectoryListBox::OpenItem(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  std::string path = items_[static_cast<size_t>(index)].path;
  SetDirectory(path);
}

HWND DirectoryListBox::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, L"LISTBOX",
                      LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
                      WS_EX_CLIENTEDGE);
  if (h) {
    SendMessageW(h, LB_SETITEMHEIGHT, 0, Scale(16));
    PushItems();
  }
  return h;
}

void DirectoryListBox::PushItems() {
  std::vector<std::string> texts;
  for (const auto& item : items_) texts.push_back(item.text);
  FillNative(Handle(), false, texts, itemIndex_);
}

bool DirectoryListBox::Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == LBN_SELCHANGE) {
    itemIndex_ = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
    return true;
  }
  if (msg == WM_COMMAND && HIWORD(wp) == LBN_DBLCLK) {
    OpenItem(static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0)));
    return true;
  }
  return false;
}

LRESULT DirectoryListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE:
      return DialogCodeWithEnter(wp, lp);
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        OpenItem(static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0)));
        return 0;
      }
      break;
  }
  return Control::WndProc(msg, wp, lp);
}

bool DirectoryListBox::DrawItem(const DRAWITEMSTRUCT& dis) {
  if (dis.itemID >= items_.size()) return true;
  const Item& item = items_[dis.itemID];
  HDC dc = dis.hDC;
  RECT r = dis.rcItem;
  bool selected = dis.itemState & ODS_SELECTED;
  FillRect(dc, &r, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : BrushFor(BackColor()));
  int x = r.left + Scale(2 + item.level * 10), h = r.bottom - r.top;
  RECT glyph{x, r.top + (h - Scale(11)) / 2, x + Scale(14), r.top + (h - Scale(11)) / 2 + Scale(11)};
  glyphs::Folder(item.open)(dc, glyph);
  RECT text{glyph.right + Scale(4), r.top, r.right, r.bottom};
  HGDIOBJ oldFont = SelectObject(dc, FontHandle(GetFont()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : Resolve(GetFont().color));
  DrawTextW(dc, Widen(item.text).c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  if (dis.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
  return true;
}

// ---- DropDownBox

HWND DropDownBox::MakeDropDown(HWND parent, const std::vector<std::string>& items, int selected) {
  HWND h = MakeWindow(parent, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL);
  if (h) {
    FillNative(h, true, items, selected);
    PushBounds();
  }
  return h;
}

void DropDownBox::PushBounds() {
  if (Handle())
    SetWindowPos(Handle(), nullptr, Scale(Left()), Scale(Top()), Scale(Width()),
                 Scale(Height() + kDropHeight), SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- DriveComboBox

DriveComboBox::DriveComboBox(Control* parent, std::string name) : DropDownBox(parent, std::move(name)) {
  SetTabStop(true);
  SetColor(kWindow);
  wchar_t roots[512];
  DWORD n = GetLogicalDriveStringsW(511, roots);
  for (const wchar_t* root = roots; root < roots + n && *root; root += wcslen(root) + 1)
    letters_.push_back(static_cast<char>(std::towlower(root[0])));
  std::string current = CurrentFolder();
  drive_ = current.size() >= 2 && current[1] == ':'
               ? static_cast<char>(std::tolower(static_cast<unsigned char>(current[0])))
               : (letters_.empty() ? 0 : letters_[0]);
}

const std::vector<std::string>& DriveComboBox::Items() const {
  // Volume names are asked for once, when first needed: each query may touch the medium.
  if (items_.size() == letters_.size()) return items_;
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  for (char letter : letters_) {
    std::string text{letter, ':'};
    std::wstring root{static_cast<wchar_t>(letter), L':', L'\\'};
    UINT type = GetDriveTypeW(root.c_str());
    wchar_t volume[MAX_PATH + 1] = L"";
    // A removable drive would spin up, or fail without a medium.
    if (type != DRIVE_REMOVABLE && type != DRIVE_CDROM &&
        GetVolumeInformationW(root.c_str(), volume, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
        volume[0])
      text += " [" + Narrow(volume) + "]";
    items_.push_back(text);
  }
  SetErrorMode(oldMode);
  return items_;
}

void DriveComboBox::SetDrive(char letter) {
  letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  if (letter == drive_) return;
  if (dirList_ && !dirList_->SetDrive(letter)) {
    ShowDrive(drive_);  // the list stays where it was, and so does the box
    return;
  }
  ShowDrive(letter);
  Fire(OnChange);
}

void DriveComboBox::SetDirList(DirectoryListBox* list) {
  dirList_ = list;
  if (dirList_) {
    dirList_->driveCombo_ = this;
    if (dirList_->Drive()) ShowDrive(dirList_->Drive());
  }
}

void DriveComboBox::ShowDrive(char letter) {
  drive_ = letter;
  if (Handle()) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(DriveIndex()), 0);
}

int DriveComboBox::DriveIndex() const {
  auto it = std::find(letters_.begin(), letters_.end(), drive_);
  return it == letters_.end() ? -1 : static_cast<int>(it - letters_.begin());
}

HWND DriveComboBox::CreateWindowFor(HWND parent) { return MakeDropDown(parent, Items(), DriveIndex()); }

bool DriveComboBox::Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == CBN_SELCHANGE) {
    auto index = SendMessageW(Handle(), CB_GETCURSEL, 0, 0);
    if (index >= 0 && index < static_cast<LRESULT>(letters_.size()))
      SetDrive(letters_[static_cast<size_t>(index)]);
    return true;
  }
  return false;
}

// ---- FileListBox

FileListBox::FileListBox(Control* parent, std::string name) : Control(parent, std::move(name)) {
  SetTabStop(true);
  SetColor(kWindow);
}

void FileListBox::SetDirectory(const std::string& folder) {
  directory_ = folder;
  Fill();
}

void FileListBox::SetMask(const std::string& mask) {
  mask_ = mask.empty() ? "*.*" : mask;
  Fill();
}

void FileListBox::Fill() {
  items_ = ListFolder(directory_, false, mask_);
  FillNative(Handle(), false, items_, -1);
}

HWND FileListBox::CreateWindowFor(HWND parent) {
  HWND h = MakeWindow(parent, L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
                      WS_EX_CLIENTEDGE);
  if (h) FillNative(h, false, items_, -1);
  return h;
}

// ---- FilterComboBox

FilterComboBox::FilterComboBox(Control* parent, std::string name)
    : DropDownBox(parent, std::move(name)) {
  SetTabStop(true);
  SetColor(kWindow);
  SetFilter("All files (*.*)|*.*");
}

void FilterComboBox::SetFilter(const std::string& filter) {
  descriptions_.clear();
  masks_.clear();
  size_t start = 0;
  std::vector<std::string> parts;
  for (;;) {
    size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? bar : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    descriptions_.push_back(parts[i]);
    masks_.push_back(parts[i + 1]);
  }
  itemIndex_ = descriptions_.empty() ? -1 : 0;
  FillNative(Handle(), true, descriptions_, itemIndex_);
  if (fileList_) fileList_->SetMask(Mask());
}

const std::string& FilterComboBox::Mask() const {
  static const std::string kAll = "*.*";
  return itemIndex_ < 0 ? kAll : masks_[static_cast<size_t>(itemIndex_)];
}

void FilterComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= static_cast<int>(masks_.size()) || index == itemIndex_) return;
  itemIndex_ = index;
  if (Handle()) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (fileList_) fileList_->SetMask(Mask());
  Fire(OnChange);
}

void FilterComboBox::SetFileList(FileListBox* list) {
  fileList_ = list;
  if (fileList_) fileList_->SetMask(Mask());
}

HWND FilterComboBox::CreateWindowFor(HWND parent) {
  return MakeDropDown(parent, descriptions_, itemIndex_);
}

bool FilterComboBox::Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == CBN_SELCHANGE) {
    SetItemIndex(static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0)));
    return true;
  }
  return false;
}

}  // namespace ui
