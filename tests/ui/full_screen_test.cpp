// The window button of the programs whose window changes only its frame and size (no bar shown or
// hidden): full screen and back, each time the window as shown is the window painted anew.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/files.h"
#include "support/display.h"
#include "support/screen.h"
#include "support/window_driver.h"

namespace {

using namespace testing_support;

// The button under the pointer shows a raised edge, which goes when the pointer's leave reaches it
// on the system's next tracking tick: its top left corner shows the black panel again.
bool ButtonLetGo(HWND window) {
  return WaitFor([&] {
    ScreenPixels corner(OnScreen(window, {2, 4, 3, 5}));
    return !corner.Empty() && corner.At(0, 0) == RGB(0, 0, 0);
  });
}

// The window as the program left it on the screen, and as it is once all of it is painted anew.
void ExpectShownAsPaintedAnew(HWND window, const char* mode) {
  SCOPED_TRACE(mode);
  ScreenPixels shown = ScreenPixels::Settled(ClientOnScreen(window));
  ASSERT_FALSE(shown.Empty());
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ScreenPixels repainted = ScreenPixels::Settled(ClientOnScreen(window));
  ASSERT_EQ(shown.Width(), repainted.Width());
  ASSERT_EQ(shown.Height(), repainted.Height());
  RECT changed = DifferingArea(shown, repainted);
  EXPECT_TRUE(shown == repainted) << "a repaint changed " << changed.left << "," << changed.top
                                  << " to " << changed.right << "," << changed.bottom;
}

TEST(FullScreen, TheWindowButtonLeavesEachWindowAsItsRepaintShowsIt) {
  SKIP_WITHOUT_DISPLAY();
  struct Case {
    const char* program;
    const char* caption;
  };
  const Case cases[] = {
      {"THInstaller.exe", "Tarnholm Encyclopaedia - Installer v1.0"},
      {"manager\\uninstall.exe", "Tarnholm Manager - Deinstaller v1.0"},
      {"THENCUpdater.exe", "Program Update"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    Process program(platform::ExeFolder() + "..\\bin\\" + c.program);
    HWND window;
    ASSERT_TRUE(AwaitWindow(program, c.caption, window));
    RaiseOnDisplay(window);
    const SIZE windowed = ClientSize(window);
    // The window button sits at the top left of every window; the pointer then rests on a blank
    // spot beside the logo, away from any button and its tooltip.
    const POINT button{9, 11}, aside{100, 300};
    MoveMouse(window, aside.x, aside.y);
    ASSERT_FALSE(ScreenPixels::Settled(ClientOnScreen(window)).Empty());  // the window is drawn

    ClickMouse(window, button.x, button.y);
    MoveMouse(window, aside.x, aside.y);
    ASSERT_TRUE(WaitFor([&] { return ClientSize(window).cx == GetSystemMetrics(SM_CXSCREEN); }));
    MoveMouse(window, aside.x, aside.y);
    ASSERT_TRUE(ButtonLetGo(window));
    ASSERT_NO_FATAL_FAILURE(ExpectShownAsPaintedAnew(window, "full screen"));

    ClickMouse(window, button.x, button.y);
    MoveMouse(window, aside.x, aside.y);
    ASSERT_TRUE(WaitFor([&] {
      SIZE now = ClientSize(window);
      return now.cx == windowed.cx && now.cy == windowed.cy;
    }));
    MoveMouse(window, aside.x, aside.y);
    ASSERT_TRUE(ButtonLetGo(window));
    ASSERT_NO_FATAL_FAILURE(ExpectShownAsPaintedAnew(window, "window"));

    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND confirm = nullptr;
    ASSERT_TRUE(AwaitWindow(program, "Confirm", confirm));
    ClickButton(GetDlgItem(confirm, IDYES));
    EXPECT_TRUE(program.WaitForExit());
  }
}

}  // namespace
