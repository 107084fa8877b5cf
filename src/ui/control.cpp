#include "ui/control.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "platform/text.h"
#include "ui/application.h"
#include "ui/form.h"

namespace ui {
namespace {

constexpr wchar_t kProp[] = L"TarnholmControl";
// Below 1000 lie IDOK, IDCANCEL and the menu commands. A notification carries the id in 16 bits,
// and forms come and go all day: the ids go round within that range.
int NextId() {
  static int next = 1000;
  if (next > 0xFFFF) next = 1000;
  return next++;
}

int Dpi() {
  static int dpi = [] {
    HDC dc = GetDC(nullptr);
    int v = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return v > 0 ? v : 96;
  }();
  return dpi;
}

}  // namespace

int Scale(int v) { return MulDiv(v, Dpi(), 96); }
int Unscale(int v) { return MulDiv(v, 96, Dpi()); }

Color Resolve(Color c) { return (c & 0xFF000000) ? GetSysColor(static_cast<int>(c & 0xFF)) : c; }

HFONT FontHandle(const Font& f) {
  static std::vector<std::pair<Font, HFONT>> cache;
  for (const auto& [font, handle] : cache) {
    if (font.name == f.name && font.height == f.height && font.bold == f.bold &&
        font.italic == f.italic && font.underline == f.underline)
      return handle;
  }
  // Every text of the suite is Unicode; the Central European set keeps the Polish letters in the
  // bitmap faces that have no Unicode table.
  HFONT h = CreateFontW(f.height < 0 ? -Scale(-f.height) : Scale(f.height), 0, 0, 0,
                        f.bold ? FW_BOLD : FW_NORMAL, f.italic, f.underline, FALSE,
                        EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH, platform::Widen(f.name).c_str());
  cache.emplace_back(f, h);
  return h;
}

HBRUSH BrushFor(Color c) {
  static std::map<Color, HBRUSH> cache;
  auto it = cache.find(c);
  if (it != cache.end()) return it->second;
  HBRUSH b = CreateSolidBrush(Resolve(c));
  cache.emplace(c, b);
  return b;
}

const wchar_t* RegisterOwnClass(const wchar_t* name, HICON icon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = icon;
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
  return name;
}

Control::Control(Control* parent, std::string name) : Object(std::move(name)), parent_(parent) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  DestroyNative();
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

Form* Control::OwnerForm() {
  Control* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<Form*>(c);
}

void Control::SetBounds(int left, int top, int width, int height) {
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  PushBounds();
  if (align_ != Align::None) ParentRealign();
  if (resized) Realign();
}

void Control::SetBoundsInternal(int left, int top, int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  PushBounds();
  if (resized) Realign();
}

void Control::SetAlign(Align a) {
  align_ = a;
  ParentRealign();
}

void Control::Dock(Align a, int size) {
  if (a == Align::Left || a == Align::Right) SetWidth(size);
  if (a == Align::Top || a == Align::Bottom) SetHeight(size);
  SetAlign(a);
}

void Control::SetPadding(int p) {
  padding_ = p;
  Realign();
}

void Control::ParentRealign() {
  if (parent_) parent_->Realign();
}

void Control::Realign() {
  if (realigning_) return;
  realigning_ = true;
  int l = padding_, t = padding_, r = ClientWidth() - padding_, b = ClientHeight() - padding_;
  for (Align kind : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
    for (Control* c : children_) {
      if (c->align_ != kind || !c->visible_) continue;
      switch (kind) {
        case Align::Top:
          c->SetBoundsInternal(l, t, r - l, c->height_);
          t += c->height_;
          break;
        case Align::Bottom:
          c->SetBoundsInternal(l, b - c->height_, r - l, c->height_);
          b -= c->height_;
          break;
        case Align::Left:
          c->SetBoundsInternal(l, t, c->width_, b - t);
          l += c->width_;
          break;
        case Align::Right:
          c->SetBoundsInternal(r - c->width_, t, c->width_, b - t);
          r -= c->width_;
          break;
        case Align::Client:
          c->SetBoundsInternal(l, t, r - l, b - t);
          break;
        case Align::None:
          break;
      }
    }
  }
  realigning_ = false;
}

void Control::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (!v) GiveUpFocus();
  if (handle_)
    ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
  else if (v && parent_ && parent_->handle_)
    CreateLate();
  if (align_ == Align::None) return;
  ParentRealign();
  // The siblings that grow into the place of a hidden bar do not always paint all of it (the
  // status bar hidden at the foot of a maximised window left its picture): all is painted anew.
  if (parent_ && parent_->handle_)
    RedrawWindow(parent_->handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool Control::Showing() const { return visible_ && (!parent_ || parent_->Showing()); }

void Control::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  if (!v) GiveUpFocus();
  if (handle_) EnableWindow(handle_, v);
}

// The system's dialog keys look for the next control among the visible, enabled windows; from a
// focus inside a hidden or disabled one they never come back to it, and a key press (Space on a
// wizard page after the one left with the focus on its check box) searched for ever.
void Control::GiveUpFocus() {
  HWND focus = GetFocus();
  if (!handle_ || !focus || (focus != handle_ && !IsChild(handle_, focus))) return;
  HWND root = GetAncestor(handle_, GA_ROOT);
  if (root && root != handle_) SetFocus(root);
}

void Control::SetCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  CaptionChanged();
}

void Control::CaptionChanged() {
  if (handle_) {
    SetWindowTextW(handle_, platform::Widen(caption_).c_str());
    InvalidateRect(handle_, nullptr, TRUE);
  }
}

void Control::SetHint(const std::string& hint) {
  hint_ = hint;
  UpdateTooltip();
}

void Control::SetShowHint(bool v) {
  showHint_ = v;
  UpdateTooltip();
}

void Control::UpdateTooltip() {
  Form* form = OwnerForm();
  if (!handle_ || !form || !form->tooltip_) return;
  std::wstring text = platform::Widen(hint_);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = form->Handle();
  info.uId = reinterpret_cast<UINT_PTR>(handle_);
  info.lpszText = text.data();
  SendMessageW(form->tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (showHint_ && !hint_.empty())
    SendMessageW(form->tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

Color Control::BackColor() const {
  if (hasColor_) return color_;
  return parent_ ? parent_->BackColor() : kButtonFace;
}

void Control::SetColor(Color c) {
  hasColor_ = true;
  color_ = c;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

const Font& Control::GetFont() const {
  static const Font kDefault;
  if (hasFont_) return font_;
  return parent_ ? parent_->GetFont() : kDefault;
}

void Control::SetFont(const Font& f) {
  hasFont_ = true;
  font_ = f;
  FontChanged();
}

void Control::SetFontColor(Color c) {
  Font f = GetFont();
  f.color = c;
  SetFont(f);
}

void Control::SetFontBold(bool bold) {
  Font f = GetFont();
  f.bold = bold;
  SetFont(f);
}

void Control::FontChanged() {
  if (handle_) {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(GetFont())), TRUE);
    InvalidateRect(handle_, nullptr, TRUE);
  }
  for (Control* c : children_)
    if (!c->hasFont_) c->FontChanged();
}

void Control::Click() {
  if (!enabled_) return;
  Fire(OnClick);
}

void Control::Fire(const NotifyEvent& ev) {
  if (ev) Application::Instance().Guard([&] { ev(this); });
}

Control* Control::FromHandle(HWND h) {
  return h ? static_cast<Control*>(GetPropW(h, kProp)) : nullptr;
}

HWND Control::MakeWindow(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle) {
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_) style |= WS_VISIBLE;
  if (!enabled_) style |= WS_DISABLED;
  if (tabStop_) style |= WS_TABSTOP;
  HWND h = CreateWindowExW(exStyle, cls, platform::Widen(caption_).c_str(), style, Scale(left_),
                           Scale(top_), Scale(width_), Scale(height_), parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextId())),
                           GetModuleHandleW(nullptr), nullptr);
  if (h) Attach(h);
  return h;
}

void Control::Attach(HWND h) {
  handle_ = h;
  SetPropW(h, kProp, this);
  SetWindowSubclass(h, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(GetFont())), FALSE);
}

void Control::CreateNative(HWND parent) {
  if (handle_) return;
  if (!CreateWindowFor(parent)) return;  // no display: the control lives on as its model
  AfterCreate();
  UpdateTooltip();
  // Hidden children (a wizard's later pages) get their windows when first shown: a window shows
  // sooner when it creates only what it shows.
  for (Control* c : children_)
    if (c->visible_) c->CreateNative(handle_);
  // The last picture created ends above the earlier ones, as it was placed over them.
  for (auto it = children_.rbegin(); it != children_.rend(); ++it)
    if ((*it)->handle_ && (*it)->LiesUnder())
      SetWindowPos((*it)->handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::CreateLate() {
  // Made hidden and shown once whole: a window made visible inside a visible parent paints at
  // once, before it is attached to its control, in the system's colours.
  visible_ = false;
  CreateNative(parent_->handle_);
  visible_ = true;
  if (!handle_) return;
  // Into the place its creation order gives it, which is also the keyboard's tab order.
  HWND after = HWND_TOP;
  if (LiesUnder()) {
    after = HWND_BOTTOM;
  } else {
    for (Control* c : parent_->children_) {
      if (c == this) break;
      if (c->handle_ && !c->LiesUnder()) after = c->handle_;
    }
  }
  SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Control::DestroyNative() {
  if (!handle_) return;
  HWND h = handle_;
  handle_ = nullptr;
  RemoveWindowSubclass(h, SubclassProc, 1);
  RemovePropW(h, kProp);
  DestroyWindow(h);
}

void Control::PushBounds() {
  if (handle_)
    SetWindowPos(handle_, nullptr, Scale(left_), Scale(top_), Scale(width_), Scale(height_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::PaintBackground(HDC dc, const RECT& r) { FillRect(dc, &r, BrushFor(BackColor())); }

HBRUSH Control::CtlColor(HDC dc) {
  SetTextColor(dc, Resolve(GetFont().color));
  SetBkColor(dc, Resolve(BackColor()));
  return BrushFor(BackColor());
}

LRESULT Control::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (FillsBackground()) {
        RECT r;
        GetClientRect(handle_, &r);
        PaintBackground(reinterpret_cast<HDC>(wp), r);
        return 1;
      }
      break;
    case WM_COMMAND:
      if (lp) {
        LRESULT result = 0;
        if (Control* c = FromHandle(reinterpret_cast<HWND>(lp)); c && c->Notify(msg, wp, lp, result))
          return result;
      }
      break;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      LRESULT result = 0;
      if (Control* c = FromHandle(hdr->hwndFrom); c && c != this && c->Notify(msg, wp, lp, result))
        return result;
      break;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType != ODT_MENU)
        if (Control* c = FromHandle(dis->hwndItem); c && c->DrawItem(*dis)) return TRUE;
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (Control* c = FromHandle(reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(c->CtlColor(reinterpret_cast<HDC>(wp)));
      break;
    case WM_SETCURSOR:
      if (cursor_ != Cursor::Default && LOWORD(lp) == HTCLIENT &&
          reinterpret_cast<HWND>(wp) == handle_) {
        const wchar_t* id = cursor_ == Cursor::Hand   ? IDC_HAND
                            : cursor_ == Cursor::Help ? IDC_HELP
                                                      : IDC_SIZEALL;
        ::SetCursor(LoadCursorW(nullptr, id));
        return TRUE;
      }
      break;
  }
  return DefSubclassProc(handle_, msg, wp, lp);
}

LRESULT Control::DialogCodeWithEnter(WPARAM wp, LPARAM lp) {
  LRESULT code = Control::WndProc(WM_GETDLGCODE, wp, lp);
  if (auto* m = reinterpret_cast<MSG*>(lp); m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
    code |= DLGC_WANTMESSAGE;
  return code;
}

LRESULT CALLBACK Control::SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR data) {
  auto* self = reinterpret_cast<Control*>(data);
  Application::Busy busy;
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(h, SubclassProc, 1);
    RemovePropW(h, kProp);
    if (self->handle_ == h) self->handle_ = nullptr;
    return DefSubclassProc(h, msg, wp, lp);
  }
  return self->WndProc(msg, wp, lp);
}

}  // namespace ui
