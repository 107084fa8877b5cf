// THManager.exe itself, in its real window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "support/fixtures.h"
#include "support/window_driver.h"

using namespace testing_support;

namespace {

class RealManager : public ::testing::Test {
 protected:
  void SetUp() override {
    // The game's own key, as its installer writes it, so that no box comes at start.
    std::wstring folder = platform::Widen(game.Path());
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Korvel\\Tarnholm", L"PATH", REG_SZ, folder.c_str(),
                    static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  }
  void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Korvel"); }
  TempDir game;
};

TEST_F(RealManager, TheWindowAsksBeforeItCloses) {
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  ASSERT_TRUE(manager.Started());
  HWND main = WaitForWindow("Tarnholm Manager", manager.Id());
  if (!main) GTEST_SKIP() << "no display";

  for (int answer : {IDNO, IDYES}) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND question = WaitForWindow("Confirm", manager.Id());
    ASSERT_NE(question, nullptr);
    EXPECT_NE(FindControl(question, "Are you sure you want to quit the program?"), nullptr);
    ClickButton(FindControl(question, answer == IDYES ? "&Yes" : "&No"));
    ASSERT_TRUE(WaitUntilGone(question));
    if (answer == IDNO) {
      EXPECT_TRUE(manager.Running());
      EXPECT_TRUE(IsWindowVisible(main));
    }
  }
  EXPECT_TRUE(manager.WaitForExit());
}

TEST_F(RealManager, AToolButtonStartsItsTool) {
  std::string tool = game.Path() + "th_editor.exe";
  ASSERT_TRUE(CopyFileW(platform::Widen(platform::ExeFolder() + "stub\\Tarn.exe").c_str(),
                        platform::Widen(tool).c_str(), FALSE));
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  HWND main = WaitForWindow("Tarnholm Manager", manager.Id());
  if (!main) GTEST_SKIP() << "no display";
  ClickButton(FindControl(main, "Map Editor"));
  EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(game.Path() + "started.txt") == tool + "\n"; }));
}

TEST_F(RealManager, TheGameLanguageDialogTicksARowByMouseAndWritesItOnEnter) {
  std::string tarnIni = game.Path() + "tarn.ini";
  WriteFileBytes(tarnIni, "; game settings\r\n\r\n[Main]\r\nLanguage=POL\r\n");
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  HWND main = WaitForWindow("Tarnholm Manager", manager.Id());
  if (!main) GTEST_SKIP() << "no display";
  ChooseFromMenu(main, 2, 0);  // Options, Game Language
  HWND dialog = WaitForWindow("Game Language", manager.Id());
  ASSERT_NE(dialog, nullptr);
  HWND list = FindControlOfClass(dialog, "ListBox");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 9);
  EXPECT_NE(FindControl(dialog, "POL"), nullptr);

  RECT row;
  SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
  ClickMouse(list, row.left + 5, (row.top + row.bottom) / 2);  // the box of "German (Deutsch)"
  // The click also selects the row: once it is selected, the tick is made.
  EXPECT_TRUE(WaitFor([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == 2; }));
  ClickButton(FindControlOfClass(dialog, "Button"));
  EXPECT_TRUE(WaitFor([&] { return FindControl(dialog, "GER") != nullptr; }));
  EXPECT_EQ(ReadFileBytes(tarnIni), "; game settings\r\n\r\n[Main]\r\nLanguage=GER\r\n");
}

TEST_F(RealManager, TheListShowsTheGameFolderAndFollowsItUntilTheWindowCloses) {
  for (const char* file : {"Tarn.exe", "tarn.ini", "readme.txt"}) WriteFileBytes(game / file, "x");
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  ASSERT_TRUE(manager.Started());
  HWND main = WaitForWindow("Tarnholm Manager", manager.Id());
  if (!main) GTEST_SKIP() << "no display";
  HWND list = FindControlOfClass(main, "SysListView32");
  ASSERT_NE(list, nullptr);
  auto count = [&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); };
  EXPECT_TRUE(WaitFor([&] { return count() == 3; }, 10000)) << count();

  WriteFileBytes(game / "new.gmx", "x");
  EXPECT_TRUE(WaitFor([&] { return count() == 4; }, 10000)) << "the watcher shows a file made outside";

  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND question = WaitForWindow("Confirm", manager.Id());
  ASSERT_NE(question, nullptr);
  ClickButton(FindControl(question, "&Yes"));
  EXPECT_TRUE(manager.WaitForExit(10000)) << "the watcher thread keeps no process alive";
}

}  // namespace

namespace {

TEST(ManagerProgram, CarriesItsVersion) {
  std::wstring exe = platform::Widen(platform::ExeFolder() + "..\\bin\\THManager.exe");
  DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len));
  EXPECT_EQ(info->dwFileVersionMS, MAKELONG(1, 1));
  EXPECT_EQ(info->dwFileVersionLS, 0u);
  EXPECT_EQ(info->dwProductVersionMS, MAKELONG(1, 1));
}

}  // namespace
