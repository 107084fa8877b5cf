// Main menu, popup menu and their items. Items are objects like controls; the native menu is built
// from them when a window shows it, and rebuilt once the message loop runs after items changed.
#pragma once
#include <windows.h>

#include <vector>

#include "ui/types.h"

namespace ui {

class Form;
class Menu;

class MenuItem : public Object {
 public:
  MenuItem(Menu* menu, std::string name, std::string caption);
  MenuItem(MenuItem* parent, std::string name, std::string caption);
  ~MenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c);
  bool IsSeparator() const { return caption_ == "-"; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  // The tick toggles by itself on each click.
  void SetAutoCheck(bool v) { autoCheck_ = v; }
  const std::vector<MenuItem*>& Items() const { return items_; }
  // A small picture before the caption; the window that shows the menu draws it.
  const Picture& GetPicture() const { return picture_; }
  void SetPicture(Picture p);
  static constexpr int kPictureSize = 16;

  NotifyEvent OnClick;
  // What a click of the user does; a disabled item does nothing.
  void Click();

  UINT Command() const { return id_; }
  static MenuItem* FromCommand(UINT id);

 private:
  friend class Menu;
  void Changed();
  Menu* menu_;
  std::vector<MenuItem*> items_;
  std::string caption_;
  bool enabled_ = true;
  bool checked_ = false;
  bool autoCheck_ = false;
  Picture picture_;
  UINT id_;
};

class Menu : public Object {
 public:
  explicit Menu(std::string name) : Object(std::move(name)) {}
  const std::vector<MenuItem*>& Items() const { return items_; }

 protected:
  friend class MenuItem;
  virtual void Changed() {}
  HMENU Build(bool popup) const;

 private:
  std::vector<MenuItem*> items_;
};

class MainMenu : public Menu {
 public:
  explicit MainMenu(std::string name) : Menu(std::move(name)) {}
  ~MainMenu() override;
  // The native menu bar for the form's window.
  HMENU NativeHandle(Form* form);
  void Detach();

 protected:
  void Changed() override;

 private:
  static void CALLBACK RebuildTimer(HWND, UINT, UINT_PTR id, DWORD);
  void Rebuild();
  void CancelRebuild();
  Form* form_ = nullptr;
  HMENU handle_ = nullptr;
  UINT_PTR rebuildTimer_ = 0;
};

class PopupMenu : public Menu {
 public:
  PopupMenu(Form* owner, std::string name) : Menu(std::move(name)), owner_(owner) {}
  // Opens the menu with its top-left corner at the screen point.
  void Popup(Point screen);
  Point LastPopupPoint() const { return lastPopup_; }

 private:
  Form* owner_;
  Point lastPopup_;
};

}  // namespace ui
