// Drives real programs from outside, as a user would: starts a program, finds its windows by
// caption and its controls by their text, clicks them, and waits for the program to end. Waits
// have generous limits that only guard against hangs; they measure nothing.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "support/wait.h"

namespace testing_support {

class Process {
 public:
  // Starts the program with the command line's tail, in the given folder (default: its own).
  explicit Process(const std::string& exe, const std::string& arguments = {},
                   const std::string& folder = {});
  ~Process();  // ends the program if it still runs
  Process(const Process&) = delete;
  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  bool WaitForExit(DWORD timeoutMs = 30000);
  bool Running() const;
  // The program's file name ("THManager.exe"), and how it stands: running, or ended with its
  // exit code; for a test's failure message.
  const std::string& Name() const { return name_; }
  std::string Standing() const;

 private:
  PROCESS_INFORMATION info_{};
  std::string name_;
};

// Runs a console program to its end and returns what it printed.
std::string ProgramOutput(const std::string& commandLine);

// The first visible top-level window (of the process, when given) that the condition accepts.
HWND WaitForTopLevel(DWORD processId, DWORD timeoutMs, const std::function<bool(HWND)>& accept);
// A visible top-level window with exactly this caption (of the process, when given).
HWND WaitForWindow(const std::string& caption, DWORD processId = 0, DWORD timeoutMs = 30000);
// A visible top-level window of this window class (of the process, when given). Wine's own
// windows (Notepad, the file dialogs) are found so: their captions are translated.
HWND WaitForWindowOfClass(const std::string& className, DWORD processId = 0,
                          DWORD timeoutMs = 30000);
// A visible message box (of the process, when given) that shows this text.
HWND WaitForBox(const std::string& text, DWORD processId = 0, DWORD timeoutMs = 30000);
// Waits for the box that shows this text, presses its button (IDOK, IDYES, IDNO: the buttons'
// captions are translated) and waits until the box is gone; false when any step failed.
bool AnswerBox(const std::string& text, int buttonId, DWORD processId = 0, DWORD timeoutMs = 30000);
// The process's save or open dialog: a dialog with a file name field (Edit).
HWND WaitForFileDialog(DWORD processId, DWORD timeoutMs = 30000);
// Ends every program that shows a top-level window of this class (Notepad opened by a test).
void EndProgramsWithWindowsOfClass(const std::string& className);
// A descendant control whose text is exactly this text; nullptr when there is none.
HWND FindControl(HWND parent, const std::string& text);
// The visible descendant controls of a window class ("Edit"), in their order; the first of them.
std::vector<HWND> ControlsOfClass(HWND parent, const std::string& className);
HWND FindControlOfClass(HWND parent, const std::string& className);
// Clicks a button (also one drawn by the program) as the mouse would.
void ClickButton(HWND button);
// Types into a control as the keyboard does once a key is translated: one WM_CHAR per UTF-16 unit
// ("\b" is Backspace), each handled before the next and all of them before this returns. The
// control need not have the focus.
void TypeText(HWND control, const std::string& utf8);
// Clicks into a control near its right end unless it has the focus, as a user does before typing
// (in an edit box the caret goes after its text), and types there through the system's input
// queue: each UTF-16 unit as the key that a keyboard's input method sends for a character
// (VK_PACKET, translated into one WM_CHAR), so a character beyond the basic plane comes as its two
// halves, as on Windows; a lone half types only that half. False when the control did not get the
// focus. A test waits for what the keys do.
bool TypeOnKeyboard(HWND control, std::wstring_view units);
// Presses and releases a key (VK_RETURN, VK_F5, ...) on a control, as the keyboard does.
void PressKey(HWND control, UINT virtualKey);
// Works a window's menu bar with the keyboard, as a player without a mouse does: F10 selects the
// bar's first menu, Right moves along the bar, Down opens the menu on its first item and moves down
// the items (separators are skipped). OpenMenu stops on the item; ChooseFromMenu also presses Enter.
// The keys go through the program's queue: a test waits for what they do. A menu of another
// program cannot be read from here.
void OpenMenu(HWND window, int menu, int item);
void ChooseFromMenu(HWND window, int menu, int item);
// The visible menus of the process (window class "#32768"), the one opened first first.
std::vector<HWND> OpenMenus(DWORD processId);
// Moves the mouse pointer to a point of a window (client coordinates in screen pixels), or clicks
// its left button there, through the system's input queue as the user's hand does.
// Keys and the mouse go through the program's message loop (menus, keyboard navigation). In the
// test's own thread they are handled when these return; another program may still have them in its
// queue, so a test waits for what they do.
void MoveMouse(HWND window, int x, int y);
// Presses and releases a key on the keyboard, through the system's input queue as the user's hand
// does: it goes to the focus of the foreground window (the window that a mouse click made active).
void PressKeyOnKeyboard(HWND window, UINT virtualKey);
void ClickMouse(HWND window, int x, int y);
void DoubleClickMouse(HWND window, int x, int y);
// A click of the left button in the middle of a control, as the user's hand clicks a button.
void ClickMouseInMiddle(HWND control);
// What a list view (SysListView32) of another program shows: its items' texts in their order, and
// the label's place of one item in the list's client coordinates (empty when there is none).
std::vector<std::string> ListViewTexts(HWND list, int column = 0);
RECT ListViewItemRect(HWND list, int index);
// The titles of such a list's columns, and how wide the list measures a text in its own font.
std::vector<std::string> ListViewColumnTitles(HWND list);
int ListViewStringWidth(HWND list, const std::string& text);
// Opens an item of such a list with a double click on its name, as a user does; false when the
// list shows no item of that name.
bool DoubleClickListItem(HWND list, const std::string& name);
// The place of the text of a tree view's (SysTreeView32) selected node, in its client coordinates
// (empty when none is selected).
RECT TreeViewSelectedRect(HWND tree);
// The text of a tree view's selected node (empty when none is selected).
std::string TreeViewSelectedText(HWND tree);
std::string WindowText(HWND window);
// The size of a window's client area.
SIZE ClientSize(HWND window);
// Puts a window on top of the display, where Wine's own order has it: without a window manager a
// window shown before its owner (the manager's game-folder prompt at the start) stays below the
// owner on the display, though Wine, as Windows, keeps it above.
void RaiseOnDisplay(HWND window);
// Waits until the window is gone or hidden.
bool WaitUntilGone(HWND window, DWORD timeoutMs = 30000);
// Clicks the button that closes the program and answers its close question ("Confirm") Yes until
// the program has ended; each box with this text that comes up meanwhile is answered OK and
// counted. The count, or -1 when the program did not end.
int CloseCountingBoxes(const Process& program, HWND closeButton, const std::string& boxText);

}  // namespace testing_support
