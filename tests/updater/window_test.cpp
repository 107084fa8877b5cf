// The real THENCUpdater.exe on the display, driven from outside as a user would.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/window_driver.h"

using namespace testing_support;

namespace {

bool HaveDisplay() {
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (!probe) return false;
  DestroyWindow(probe);
  return true;
}

// Answers the close question with the given button and returns the question's text.
std::string AnswerCloseQuestion(HWND window, DWORD pid, const std::string& button) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  HWND box = WaitForWindow("Confirm", pid);
  if (!box) return "no question";
  std::string question;
  if (FindControl(box, "Are you sure you want to quit the program?"))
    question = "Are you sure you want to quit the program?";
  ClickButton(FindControl(box, button));
  WaitUntilGone(box);
  return question;
}

TEST(UpdaterWindow, ShowsItselfAndClosesOnlyAfterYes) {
  if (!HaveDisplay()) GTEST_SKIP() << "no display";
  Process updater(platform::ExeFolder() + "..\\bin\\THENCUpdater.exe");
  ASSERT_TRUE(updater.Started());
  HWND window = WaitForWindow("Program Update", updater.Id());
  ASSERT_NE(window, nullptr);
  EXPECT_NE(FindControl(window, "Find New Version"), nullptr);
  EXPECT_NE(FindControl(window, "English"), nullptr);

  EXPECT_EQ(AnswerCloseQuestion(window, updater.Id(), "&No"), "Are you sure you want to quit the program?");
  EXPECT_TRUE(updater.Running());
  EXPECT_TRUE(IsWindowVisible(window));

  EXPECT_EQ(AnswerCloseQuestion(window, updater.Id(), "&Yes"), "Are you sure you want to quit the program?");
  EXPECT_TRUE(updater.WaitForExit());
}

}  // namespace
