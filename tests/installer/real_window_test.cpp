// The real THInstaller.exe: what it carries, and its window driven from outside as a user would.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include "payload_sources.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "support/display.h"
#include "support/fixtures.h"
#include "support/screen.h"
#include "support/title_look.h"
#include "support/window_driver.h"
#include "ui/control.h"

namespace {

using namespace testing_support;

std::string InstallerExe() { return platform::ExeFolder() + "..\\bin\\THInstaller.exe"; }

// A path of the build machine as Wine shows it: its root is drive Z.
std::string WinePath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

TEST(RealInstallerTest, CarriesTheFilesThisBuildMadeInBritishEnglish) {
  HMODULE module = LoadLibraryExW(platform::Widen(InstallerExe()).c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  ASSERT_EQ(std::size(kPayloadSources), 7u);
  for (const auto& [name, source] : kPayloadSources) {
    SCOPED_TRACE(name);
    platform::ResourceStream carried(name, module);
    std::string bytes(static_cast<const char*>(carried.Data()), carried.Size());
    std::string file = ReadFileBytes(WinePath(source));
    ASSERT_FALSE(file.empty()) << WinePath(source);
    EXPECT_TRUE(bytes == file);
    EXPECT_NE(FindResourceExW(module, MAKEINTRESOURCEW(10), platform::Widen(name).c_str(),
                              MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK)),
              nullptr);
  }
  FreeLibrary(module);
}

// Answers the close question that the click brings up; true when it came with this text.
bool AnswerCloseQuestion(HWND button, DWORD pid, const std::string& question, const char* answer) {
  ClickButton(button);
  HWND confirm = WaitForWindow("Confirm", pid);
  if (!confirm || !FindControl(confirm, question)) return false;
  ClickButton(FindControl(confirm, answer));
  return WaitUntilGone(confirm);
}

// From the first page through the licence, accepted, to the folder page: its Next button (now
// "Install") and its folder field, the one edit on that page. Buttons are pressed with `click`.
void ToFolderPage(HWND window, HWND& next, HWND& field, void (*click)(HWND) = ClickButton) {
  next = FindControl(window, "Next >");
  ASSERT_NE(next, nullptr);
  click(next);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(next); })) << "the licence page gates Next";
  HWND accept = FindControl(window, "I accept the term of the licence agreement.");
  ASSERT_NE(accept, nullptr);
  click(accept);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(next); }));
  click(next);
  ASSERT_TRUE(WaitFor([&] { return WindowText(next) == "Install"; }));
  field = FindControlOfClass(window, "Edit");
  ASSERT_NE(field, nullptr);
}

TEST(RealInstallerTest, TheWizardRunsFromOutsideAndClosesOnlyOnYes) {
  SKIP_WITHOUT_DISPLAY();
  Process installer(InstallerExe());
  ASSERT_TRUE(installer.Started());
  HWND window;
  ASSERT_TRUE(AwaitWindow(installer, "Tarnholm Encyclopaedia - Installer v1.0", window));

  HWND next = nullptr, field = nullptr;
  ASSERT_NO_FATAL_FAILURE(ToFolderPage(window, next, field));
  EXPECT_EQ(WindowText(field), "C:\\") << "the folder field once the window is up";
  // Typed over the proposed text; each keystroke reaches the disk labels.
  SendMessageW(field, EM_SETSEL, 0, -1);
  TypeText(field, "q:\\gry ółx\b");
  EXPECT_EQ(WindowText(field), "q:\\gry ół");
  EXPECT_TRUE(WaitFor([&] { return FindControl(window, "Free Space:           -1") != nullptr; }))
      << "typing reaches the disk labels";

  const std::string question = "Are you sure you want to quit the installation?";
  HWND cancel = FindControl(window, "Cancel");
  ASSERT_NE(cancel, nullptr);
  ASSERT_TRUE(AnswerCloseQuestion(cancel, installer.Id(), question, "&No"));
  EXPECT_TRUE(installer.Running());
  EXPECT_TRUE(IsWindowVisible(window));
  ASSERT_TRUE(AnswerCloseQuestion(cancel, installer.Id(), question, "&Yes"));
  EXPECT_TRUE(installer.WaitForExit());
}

// Two clicks on Install, the second while the installation runs: one installation, one "Done!".
// Both clicks wait in the program's queue before it handles the first, so the second comes while
// the first runs.
TEST(RealInstallerTest, ASecondClickWhileInstallingIsIgnored) {
  SKIP_WITHOUT_DISPLAY();
  const std::string key = "\\Software\\Kelvora\\ZO Ruruzuz",
                    entry = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnholm Manager";
  auto keyExists = [](const std::string& path) {
    return platform::Registry(HKEY_LOCAL_MACHINE, KEY_READ).OpenKey(path, false);
  };
  if (keyExists(key) || keyExists(entry)) GTEST_SKIP() << "this machine has the manager installed already";
  // What an installation leaves goes at the end: its records, the vendor key when it made it, and
  // a shortcut that a second installation might have made.
  wchar_t desktop[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
  struct Leftovers {
    const std::string &key, &entry;
    bool hadVendor;
    std::string shortcut;
    ~Leftovers() {
      platform::Registry cleanup(HKEY_LOCAL_MACHINE);
      cleanup.DeleteKey(key);
      cleanup.DeleteKey(entry);
      if (!hadVendor) cleanup.DeleteKey("\\Software\\Kelvora");
      if (!shortcut.empty()) DeleteFileW(platform::Widen(shortcut).c_str());
    }
  } leftovers{key, entry, keyExists("\\Software\\Kelvora"), platform::Narrow(desktop) + "\\THManager.lnk"};
  if (platform::FileExists(leftovers.shortcut)) leftovers.shortcut.clear();
  TempDir parent;
  {
    Process installer(InstallerExe());
    ASSERT_TRUE(installer.Started());
    HWND window;
    ASSERT_TRUE(AwaitWindow(installer, "Tarnholm Encyclopaedia - Installer v1.0", window));
    HWND encyclopaedia = FindControl(window, "Tarnholm Encyclopaedia 3.0");
    ASSERT_NE(encyclopaedia, nullptr);
    ClickButton(encyclopaedia);  // the manager alone: no readme to open
    HWND next = nullptr, field = nullptr;
    ASSERT_NO_FATAL_FAILURE(ToFolderPage(window, next, field));
    SendMessageW(field, EM_SETSEL, 0, -1);
    TypeText(field, parent.Path());
    ASSERT_EQ(WindowText(field), parent.Path());
    ClickButton(next);
    ClickButton(next);
    EXPECT_TRUE(AnswerBox("Done!", IDOK, installer.Id()));
    EXPECT_TRUE(AnswerBox("Create desktop shortcut?", IDNO, installer.Id()));
    HWND finish = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (finish = FindControl(window, "Finish")) != nullptr; }));
    EXPECT_EQ(CloseCountingBoxes(installer, finish, "Done!"), 0) << "a second installation ran";
  }
  EXPECT_TRUE(platform::FileExists(parent / "Tarnholm Manager\\THManager.exe"));
}

// The wizard's buttons are pressed by the mouse only. Next clicked by mouse leaves the focus where
// it was, on the licence page's check box, which hides with its page: on the folder page Space and
// Enter press nothing, the window still answers, and nothing is installed. The check boxes keep
// their keys.
TEST(RealInstallerTest, ButtonsClickedByMouseLeaveTheKeysToTheControls) {
  SKIP_WITHOUT_DISPLAY();
  Process installer(InstallerExe());
  HWND window;
  ASSERT_TRUE(AwaitWindow(installer, "Tarnholm Encyclopaedia - Installer v1.0", window));
  RaiseOnDisplay(window);
  HWND encyclopaedia = FindControl(window, "Tarnholm Encyclopaedia 3.0");
  HWND manager = FindControl(window, "Tarnholm Manager 1.0");
  ASSERT_TRUE(encyclopaedia && manager);
  auto ticked = [](HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; };
  // Neither product: a press that got through would only bring up "Done!".
  ClickMouseInMiddle(encyclopaedia);
  ASSERT_TRUE(WaitFor([&] { return !ticked(encyclopaedia); }));
  PressKeyOnKeyboard(window, VK_SPACE);
  ASSERT_TRUE(WaitFor([&] { return ticked(encyclopaedia); })) << "Space ticks the box with the focus";
  PressKeyOnKeyboard(window, VK_SPACE);
  ASSERT_TRUE(WaitFor([&] { return !ticked(encyclopaedia); }));
  ClickMouseInMiddle(manager);
  ASSERT_TRUE(WaitFor([&] { return !ticked(manager); }));

  HWND next = nullptr, field = nullptr;
  ASSERT_NO_FATAL_FAILURE(ToFolderPage(window, next, field, ClickMouseInMiddle));

  PressKeyOnKeyboard(window, VK_SPACE);
  PressKeyOnKeyboard(window, VK_RETURN);
  // Nothing ran: no "Done!" (nor the shortcut question that Enter on it would bring).
  ASSERT_TRUE(KeysHandledQuietly(installer, window, FindControl(window, "English")));
  EXPECT_NE(FindControl(window, "Cancel"), nullptr);
  ASSERT_TRUE(AnswerCloseQuestion(FindControl(window, "Cancel"), installer.Id(),
                                  "Are you sure you want to quit the installation?", "&Yes"));
  EXPECT_TRUE(installer.WaitForExit());
}

// The first page as the display shows it: the title in bold Tahoma, its letters apart, its
// underline ending with them, and the frame's line resuming where the frame's title ends.
TEST(RealInstallerTest, TheTitleIsBoldAndTheLinesEndWithTheirTexts) {
  SKIP_WITHOUT_DISPLAY();
  Process installer(InstallerExe());
  HWND window;
  ASSERT_TRUE(AwaitWindow(installer, "Tarnholm Encyclopaedia - Installer v1.0", window));
  RaiseOnDisplay(window);
  const std::string caption = "Tarnholm Encyclopaedia v3.0";
  HWND title = FindControl(window, caption);
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(ShowsBoldUnderlined(title, caption, {"Tahoma", -13}));

  HWND frame = FindControl(window, "Elements to the installation:");
  ASSERT_NE(frame, nullptr);
  ScreenPixels box = ScreenPixels::Settled(ClientOnScreen(frame));
  ASSERT_FALSE(box.Empty());
  // The frame's top line: the row with most of the frame's shadow colour.
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  int lineRow = 0;
  for (int y = 0; y < box.Height() / 2; ++y)
    if (box.Count({0, y, box.Width(), y + 1}, shadow) > box.Count({0, lineRow, box.Width(), lineRow + 1}, shadow))
      lineRow = y;
  int textRight = -1;
  for (int y = 0; y < lineRow * 2 + 2; ++y)
    for (int x = 0; x < box.Width(); ++x)
      if (Dark(box.At(x, y))) textRight = std::max(textRight, x);
  ASSERT_GT(textRight, 20);
  int lineResumes = textRight;
  while (lineResumes < box.Width() && box.At(lineResumes, lineRow) != shadow) ++lineResumes;
  EXPECT_LE(lineResumes - textRight, 4) << "the line resumes at " << lineResumes << ", the text ends at " << textRight;

  PostMessageW(window, WM_CLOSE, 0, 0);
  HWND confirm = WaitForWindow("Confirm", installer.Id());
  ASSERT_NE(confirm, nullptr);
  ClickButton(FindControl(confirm, "&Yes"));
  EXPECT_TRUE(installer.WaitForExit());
}

}  // namespace
