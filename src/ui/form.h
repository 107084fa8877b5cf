// A top-level window. A program's window is a class derived from Form whose constructor builds
// its components (the design) and binds its handlers; the creator then runs OnCreate.
#pragma once
#include "ui/control.h"

namespace ui {

class MainMenu;

enum class BorderStyle { None, Single, ToolWindow, Sizeable };
enum class WindowState { Normal, Maximized };

class Form : public Control {
 public:
  explicit Form(std::string name);
  ~Form() override;

  // The model keeps the client area's size as the form's width and height.
  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }

  BorderStyle GetBorderStyle() const { return border_; }
  void SetBorderStyle(BorderStyle b);
  // Title-bar buttons of a single or sizeable border.
  void SetBorderIcons(bool minimize, bool maximize);
  void SetStayOnTop(bool v) { stayOnTop_ = v; }
  WindowState GetWindowState() const { return state_; }

  MainMenu* Menu() const { return menu_; }
  void SetMenu(MainMenu* m);

  // Shows the form modeless; OnShow runs each time it becomes visible.
  void SetVisible(bool v) override;
  void Show() { SetVisible(true); }
  // The system's show commands used by the window buttons: SW_RESTORE, SW_SHOWMAXIMIZED.
  void ShowCommand(int cmd);
  // Asks OnCloseQuery, then runs OnClose; a closed form is hidden, the main form ends the program,
  // and a form whose OnClose chose CloseAction::Free is freed (Application::Release).
  void Close();
  void BringToFront();
  Point ClientToScreen(Point p) const;

  NotifyEvent OnCreate;
  NotifyEvent OnShow;
  CloseQueryEvent OnCloseQuery;
  CloseEvent OnClose;

  // Runs OnCreate; the creator calls it once the derived constructor has built the design.
  void DoCreate() { Fire(OnCreate); }

 protected:
  HWND CreateWindowFor(HWND parent) override;
  void AfterCreate() override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void PushBounds() override;
  bool FillsBackground() const override { return true; }

 private:
  DWORD Style() const;
  DWORD ExStyle() const;
  void ApplyStyle();
  void RepaintWhole();

  friend class Control;
  HWND tooltip_ = nullptr;
  BorderStyle border_ = BorderStyle::Single;
  bool minimizeBox_ = true;
  bool maximizeBox_ = false;
  bool stayOnTop_ = false;
  WindowState state_ = WindowState::Normal;
  MainMenu* menu_ = nullptr;
  bool syncingSize_ = false;
};

}  // namespace ui
