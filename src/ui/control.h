// The base of every visible control. The object holds its properties and events (the model); its
// native window is made when its form is first shown and from then on mirrors the properties.
// Everything a handler does therefore works, and is tested, with or without a window.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ui/types.h"

namespace ui {

class Form;

class Control : public Object {
 public:
  Control(Control* parent, std::string name);
  ~Control() override;

  Control* Parent() const { return parent_; }
  Form* OwnerForm();
  const std::vector<Control*>& Children() const { return children_; }

  // Geometry in 96-dpi pixels, relative to the parent's client area.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }

  Align GetAlign() const { return align_; }
  void SetAlign(Align a);
  // Aligns the control to a side of its parent with the given width (left, right) or height (top,
  // bottom), or lets it fill what is left (client).
  void Dock(Align a, int size = 0);
  // Space kept free inside the control's edges for aligned children.
  void SetPadding(int p);
  int Padding() const { return padding_; }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible together with every parent.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);

  Color BackColor() const;  // own colour, or the parent's when the control has none
  void SetColor(Color c);
  const Font& GetFont() const;  // own font, or the parent's when the control has none
  void SetFont(const Font& f);
  // Changes one aspect of the font, starting from what the control shows now.
  void SetFontColor(Color c);
  void SetFontBold(bool bold);
  Cursor GetCursor() const { return cursor_; }
  void SetCursor(Cursor c) { cursor_ = c; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }

  NotifyEvent OnClick;
  // What a click of the user does: controls that change state on a click change it first.
  virtual void Click();

  HWND Handle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  static Control* FromHandle(HWND h);

  // Lays the aligned children out again in the current client area.
  void Realign();

 protected:
  // Native side. CreateNative makes this control's window and then those of its children.
  virtual HWND CreateWindowFor(HWND parent) = 0;
  virtual void AfterCreate() {}
  // Pictures lie under the controls placed over them, whatever their creation order.
  virtual bool LiesUnder() const { return false; }
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  // The answer to WM_GETDLGCODE of a control whose Enter opens its item instead of pressing the
  // dialog's default button.
  LRESULT DialogCodeWithEnter(WPARAM wp, LPARAM lp);
  // A notification that the parent window received about this control (WM_COMMAND, WM_NOTIFY,
  // WM_DRAWITEM); true when handled, with the result to return.
  virtual bool Notify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }
  // Paints an owner-drawn control (WM_DRAWITEM from its parent); false when it draws nothing itself.
  virtual bool DrawItem(const DRAWITEMSTRUCT& dis) { return false; }
  // Colours for WM_CTLCOLOR*: returns the brush to paint the background.
  virtual HBRUSH CtlColor(HDC dc);
  virtual void CaptionChanged();
  virtual void FontChanged();
  virtual bool OwnsColor() const { return hasColor_; }
  // A window that the system does not paint (a form, a panel) fills its background with the
  // control's colour when it is erased.
  virtual bool FillsBackground() const { return false; }

  void SetVisibleModel(bool v) { visible_ = v; }
  // Takes the keyboard focus to the form when it lies in this control's window, which is about to
  // be hidden or disabled.
  void GiveUpFocus();
  HWND MakeWindow(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle = 0);
  void CreateNative(HWND parent);
  // Makes the window of a control shown for the first time inside a parent that has one.
  void CreateLate();
  void DestroyNative();
  virtual void PushBounds();
  void SetBoundsInternal(int left, int top, int width, int height);
  void ParentRealign();
  void UpdateTooltip();
  void PaintBackground(HDC dc, const RECT& r);

  // Runs an event handler; an error escaping it is shown in the standard error box.
  void Fire(const NotifyEvent& ev);

  static LRESULT CALLBACK SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR data);
  void Attach(HWND h);

  friend class Form;

 private:
  Control* parent_;
  std::vector<Control*> children_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Align align_ = Align::None;
  int padding_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  std::string hint_;
  bool showHint_ = false;
  bool hasColor_ = false;
  Color color_ = kButtonFace;
  bool hasFont_ = false;
  Font font_;
  Cursor cursor_ = Cursor::Default;
  bool tabStop_ = false;
  HWND handle_ = nullptr;
  bool realigning_ = false;
};

// Scaling from the 96-dpi design units of the model to the screen's pixels.
int Scale(int v);
int Unscale(int v);
HFONT FontHandle(const Font& f);
HBRUSH BrushFor(Color c);
// Registers a window class of our own, which paints nothing by itself (double clicks, the arrow
// cursor, the icon when given); returns the name.
const wchar_t* RegisterOwnClass(const wchar_t* name, HICON icon = nullptr);

}  // namespace ui
