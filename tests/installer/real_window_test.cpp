// The real THInstaller.exe: what it carries, and its window driven from outside as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include "payload_sources.h"
#include "platform/files.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "support/display.h"
#include "support/fixtures.h"
#include "support/window_driver.h"

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

TEST(RealInstallerTest, TheWizardRunsFromOutsideAndClosesOnlyOnYes) {
  SKIP_WITHOUT_DISPLAY();
  Process installer(InstallerExe());
  ASSERT_TRUE(installer.Started());
  HWND window;
  ASSERT_TRUE(AwaitWindow(installer, "Tarnholm Encyclopaedia - Installer v1.0", window));

  HWND next = FindControl(window, "Next >");
  ASSERT_NE(next, nullptr);
  ClickButton(next);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(next); })) << "the licence page gates Next";
  HWND accept = FindControl(window, "I accept the term of the licence agreement.");
  ASSERT_NE(accept, nullptr);
  ClickButton(accept);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(next); }));
  ClickButton(next);
  ASSERT_TRUE(WaitFor([&] { return WindowText(next) == "Install"; }));
  HWND field = FindControlOfClass(window, "Edit");  // the folder field: the one edit on page 3
  ASSERT_NE(field, nullptr);
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

}  // namespace
