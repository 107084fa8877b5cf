#include "ui/form.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/text.h"
#include "ui/application.h"
#include "ui/menu.h"

namespace ui {
namespace {

const wchar_t* FormClass() {
  static const wchar_t* name =
      RegisterOwnClass(L"TarnholmForm", LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
  return name;
}

}  // namespace

Form::Form(std::string name) : Control(nullptr, std::move(name)) {
  SetVisibleModel(false);
  SetColor(kButtonFace);
}

// The menu, a member of the derived form, is gone by now and has let go of the window itself.
Form::~Form() { Application::Instance().FormDestroyed(this); }

DWORD Form::Style() const {
  DWORD style = WS_CLIPCHILDREN;
  switch (border_) {
    case BorderStyle::None:
      style |= WS_POPUP;
      break;
    case BorderStyle::Single:
      style |= WS_CAPTION | WS_SYSMENU | (minimizeBox_ ? WS_MINIMIZEBOX : 0) |
               (maximizeBox_ ? WS_MAXIMIZEBOX : 0);
      break;
    case BorderStyle::ToolWindow:
      style |= WS_CAPTION | WS_SYSMENU;
      break;
    case BorderStyle::Sizeable:
      style |= WS_OVERLAPPEDWINDOW;
      break;
  }
  return style;
}

DWORD Form::ExStyle() const {
  DWORD ex = WS_EX_CONTROLPARENT;
  if (border_ == BorderStyle::ToolWindow) ex |= WS_EX_TOOLWINDOW;
  if (stayOnTop_) ex |= WS_EX_TOPMOST;
  return ex;
}

HWND Form::CreateWindowFor(HWND) {
  Form* main = Application::Instance().MainForm();
  HWND owner = (main && main != this) ? main->Handle() : nullptr;
  RECT r{0, 0, Scale(Width()), Scale(Height())};
  AdjustWindowRectEx(&r, Style(), menu_ != nullptr, ExStyle());
  // Every window of the suite opens centred on the screen.
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  HWND hwnd = CreateWindowExW(ExStyle(), FormClass(), platform::Widen(Caption()).c_str(), Style(), x, y,
                              w, h, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  Attach(hwnd);
  return hwnd;
}

void Form::AfterCreate() {
  if (menu_) ::SetMenu(Handle(), menu_->NativeHandle(this));
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  // The size that the window got (a menu bar, a frame) is the client size from now on.
  RECT rc;
  GetClientRect(Handle(), &rc);
  syncingSize_ = true;
  SetBoundsInternal(Left(), Top(), Unscale(rc.right), Unscale(rc.bottom));
  syncingSize_ = false;
  Realign();
}

void Form::PushBounds() {
  if (!Handle() || syncingSize_) return;
  RECT r{0, 0, Scale(Width()), Scale(Height())};
  AdjustWindowRectEx(&r, Style(), menu_ != nullptr, ExStyle());
  SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetBorderStyle(BorderStyle b) {
  border_ = b;
  ApplyStyle();
}

void Form::SetBorderIcons(bool minimize, bool maximize) {
  minimizeBox_ = minimize;
  maximizeBox_ = maximize;
  ApplyStyle();
}

void Form::ApplyStyle() {
  if (!Handle()) return;
  LONG_PTR keep = GetWindowLongPtrW(Handle(), GWL_STYLE) & (WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
  SetWindowLongPtrW(Handle(), GWL_STYLE, static_cast<LONG_PTR>(Style()) | keep);
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ExStyle());
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RepaintWhole();
}

void Form::RepaintWhole() {
  // A frame taken away or given back, and the size that follows, left parts of the old picture on
  // the screen (a second logo, a stale line, a banner drawn twice): all of it is painted anew.
  if (Handle() && IsWindowVisible(Handle()))
    RedrawWindow(Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Form::SetMenu(MainMenu* m) {
  if (m == menu_) return;
  if (menu_) menu_->Detach();
  menu_ = m;
  if (menu_ && Handle()) ::SetMenu(Handle(), menu_->NativeHandle(this));
}

void Form::SetVisible(bool v) {
  if (v == Visible()) return;
  SetVisibleModel(v);
  if (!v) {
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
    return;
  }
  if (!Handle()) CreateNative(nullptr);
  Fire(OnShow);
  if (Handle() && Visible())
    ShowWindow(Handle(), state_ == WindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
}

void Form::ShowCommand(int cmd) {
  state_ = cmd == SW_SHOWMAXIMIZED ? WindowState::Maximized : WindowState::Normal;
  if (!Handle()) return;
  ShowWindow(Handle(), cmd);
  RepaintWhole();
}

void Form::Close() {
  Application& app = Application::Instance();
  Application::Busy busy;  // a form that frees itself on close goes once this has returned
  bool canClose = true, asked = false;
  if (OnCloseQuery) {
    app.Guard([&] {
      OnCloseQuery(this, canClose);
      asked = true;
    });
    if (!asked) return;  // an error in the question keeps the window
  }
  if (!canClose) return;
  bool isMain = app.MainForm() == this;
  CloseAction action = isMain ? CloseAction::Free : CloseAction::Hide;
  if (OnClose) app.Guard([&] { OnClose(this, action); });
  if (action == CloseAction::None) return;
  Hide();
  if (isMain)
    app.Terminate();
  else if (action == CloseAction::Free)
    app.Release(this);
}

void Form::BringToFront() {
  if (!Handle()) return;
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Handle());
}

Point Form::ClientToScreen(Point p) const {
  if (!Handle()) return {Left() + p.x, Top() + p.y};
  POINT pt{Scale(p.x), Scale(p.y)};
  ::ClientToScreen(Handle(), &pt);
  return {pt.x, pt.y};
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_COMMAND:
      if (lp == 0 && HIWORD(wp) == 0) {
        if (MenuItem* item = MenuItem::FromCommand(LOWORD(wp))) {
          item->Click();
          return 0;
        }
      }
      break;
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) {
        syncingSize_ = true;
        SetBoundsInternal(Left(), Top(), Unscale(LOWORD(lp)), Unscale(HIWORD(lp)));
        syncingSize_ = false;
      }
      break;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mis->CtlType != ODT_MENU) break;
      MenuItem* item = MenuItem::FromCommand(static_cast<UINT>(mis->itemData));
      if (item && item->GetPicture()) {
        // A little room between the picture and the caption.
        mis->itemWidth = static_cast<UINT>(Scale(MenuItem::kPictureSize + 4));
        mis->itemHeight = static_cast<UINT>(Scale(MenuItem::kPictureSize));
        return TRUE;
      }
      break;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType != ODT_MENU) break;
      MenuItem* item = MenuItem::FromCommand(static_cast<UINT>(dis->itemData));
      if (item && item->GetPicture()) {
        RECT r = dis->rcItem;
        r.right = std::min<LONG>(r.right, r.left + Scale(MenuItem::kPictureSize));
        item->GetPicture()(dis->hDC, r);
        return TRUE;
      }
      break;
    }
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace ui
