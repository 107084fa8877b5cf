#include "ui/menu.h"

#include <algorithm>
#include <unordered_map>

#include "platform/text.h"
#include "ui/application.h"
#include "ui/form.h"

namespace ui {
namespace {

std::unordered_map<UINT, MenuItem*>& Commands() {
  static std::unordered_map<UINT, MenuItem*> map;
  return map;
}
UINT g_nextCommand = 100;  // IDOK and IDCANCEL stay free for dialog navigation

void AppendItems(HMENU menu, const std::vector<MenuItem*>& items);

void AppendItem(HMENU menu, const MenuItem& item, UINT id) {
  if (item.IsSeparator()) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  UINT flags = MF_STRING | (item.Enabled() ? MF_ENABLED : MF_GRAYED) |
               (item.Checked() ? MF_CHECKED : MF_UNCHECKED);
  std::wstring text = platform::Widen(item.Caption());
  if (!item.Items().empty()) {
    HMENU sub = CreatePopupMenu();
    AppendItems(sub, item.Items());
    AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
  } else {
    AppendMenuW(menu, flags, id, text.c_str());
  }
  if (item.GetPicture()) {
    // The window draws the picture when the menu asks (WM_MEASUREITEM, WM_DRAWITEM); the item's
    // data names it, since an item with a submenu has no command of its own.
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP | MIIM_DATA;
    info.hbmpItem = HBMMENU_CALLBACK;
    info.dwItemData = item.Command();
    SetMenuItemInfoW(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), TRUE, &info);
  }
}

}  // namespace

MenuItem::MenuItem(Menu* menu, std::string name, std::string caption)
    : Object(std::move(name)), menu_(menu), caption_(std::move(caption)), id_(g_nextCommand++) {
  menu_->items_.push_back(this);
  Commands()[id_] = this;
}

MenuItem::MenuItem(MenuItem* parent, std::string name, std::string caption)
    : Object(std::move(name)), menu_(parent->menu_), caption_(std::move(caption)),
      id_(g_nextCommand++) {
  parent->items_.push_back(this);
  Commands()[id_] = this;
}

MenuItem::~MenuItem() { Commands().erase(id_); }

MenuItem* MenuItem::FromCommand(UINT id) {
  auto it = Commands().find(id);
  return it == Commands().end() ? nullptr : it->second;
}

void MenuItem::SetCaption(const std::string& c) {
  if (c == caption_) return;
  caption_ = c;
  Changed();
}

void MenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed();
}

void MenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed();
}

void MenuItem::SetPicture(Picture p) {
  picture_ = std::move(p);
  Changed();
}

void MenuItem::Changed() { menu_->Changed(); }

void MenuItem::Click() {
  if (!enabled_ || IsSeparator()) return;
  if (autoCheck_) SetChecked(!checked_);
  if (OnClick) Application::Instance().Guard([&] { OnClick(this); });
}

namespace {
void AppendItems(HMENU menu, const std::vector<MenuItem*>& items) {
  for (const MenuItem* item : items) AppendItem(menu, *item, item->Command());
}
}  // namespace

HMENU Menu::Build(bool popup) const {
  HMENU menu = popup ? CreatePopupMenu() : CreateMenu();
  AppendItems(menu, items_);
  return menu;
}

MainMenu::~MainMenu() { Detach(); }

HMENU MainMenu::NativeHandle(Form* form) {
  if (!handle_) handle_ = Build(false);
  form_ = form;
  return handle_;
}

void MainMenu::Detach() {
  CancelRebuild();
  if (form_ && form_->Handle() && GetMenu(form_->Handle()) == handle_) ::SetMenu(form_->Handle(), nullptr);
  if (handle_) DestroyMenu(handle_);
  handle_ = nullptr;
  form_ = nullptr;
}

namespace {
std::unordered_map<UINT_PTR, MainMenu*>& PendingRebuilds() {
  static std::unordered_map<UINT_PTR, MainMenu*> map;
  return map;
}
}  // namespace

// A new bar costs the window a frame change (tens of milliseconds under Wine) and a language switch
// rewrites twenty captions: the changes of one handler make one bar, measured anew, as soon as the
// message loop runs again.
void MainMenu::Changed() {
  if (!handle_ || !form_ || !form_->Handle() || rebuildTimer_) return;
  rebuildTimer_ = SetTimer(nullptr, 0, 0, &MainMenu::RebuildTimer);
  if (rebuildTimer_)
    PendingRebuilds()[rebuildTimer_] = this;
  else
    Rebuild();
}

void CALLBACK MainMenu::RebuildTimer(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = PendingRebuilds().find(id);
  if (it == PendingRebuilds().end()) return;
  MainMenu* menu = it->second;
  menu->CancelRebuild();
  menu->Rebuild();
}

void MainMenu::CancelRebuild() {
  if (!rebuildTimer_) return;
  KillTimer(nullptr, rebuildTimer_);
  PendingRebuilds().erase(rebuildTimer_);
  rebuildTimer_ = 0;
}

void MainMenu::Rebuild() {
  if (!handle_ || !form_ || !form_->Handle()) return;
  HMENU old = handle_;
  handle_ = Build(false);
  ::SetMenu(form_->Handle(), handle_);  // measures and redraws the bar
  DestroyMenu(old);
}

void PopupMenu::Popup(Point screen) {
  lastPopup_ = screen;
  if (!owner_ || !owner_->Handle()) return;
  HMENU menu = Build(true);
  SetForegroundWindow(owner_->Handle());
  UINT cmd = static_cast<UINT>(TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD,
                                                screen.x, screen.y, owner_->Handle(), nullptr));
  DestroyMenu(menu);
  if (MenuItem* item = MenuItem::FromCommand(cmd)) item->Click();
}

}  // namespace ui
