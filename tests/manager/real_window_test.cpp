// THManager.exe itself, in its real window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "manager/app_form.h"
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

// The command of a main-window menu item in the program: the program numbers its menu items from
// 100 in the order it makes them, and the main window's are the first it makes.
UINT ProgramCommand(ui::MenuItem manager::TAppForm1::*item) {
  ui::MainMenu before{"before"};
  ui::MenuItem marker{&before, "marker", "marker"};
  manager::TAppForm1 probe;
  return 100 + (probe.*item).Command() - marker.Command() - 1;
}

// The game-language dialog of the running manager, opened from the Options menu, and its list;
// nullptr for both when there is no display.
struct LanguageDialog {
  HWND window = nullptr, list = nullptr;
};
LanguageDialog OpenGameLanguageDialog(const Process& manager) {
  HWND main = WaitForWindow("Tarnholm Manager", manager.Id());
  if (!main) return {};
  PostMessageW(main, WM_COMMAND, ProgramCommand(&manager::TAppForm1::GameLanguage1), 0);
  HWND dialog = WaitForWindow("Game Language", manager.Id());
  return {dialog, dialog ? FindControlOfClass(dialog, "ListBox") : nullptr};
}

// Ticks a row with a click on its box, then presses the Enter button.
void TickAndEnter(const LanguageDialog& dialog, int row) {
  RECT item;
  SendMessageW(dialog.list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  ClickMouse(dialog.list, item.left + 5, (item.top + item.bottom) / 2);
  // The click also selects the row: once it is selected, the tick is made.
  EXPECT_TRUE(WaitFor([&] { return SendMessageW(dialog.list, LB_GETCURSEL, 0, 0) == row; }));
  ClickButton(FindControlOfClass(dialog.window, "Button"));
}

TEST_F(RealManager, TheGameLanguageDialogTicksARowByMouseAndWritesItOnEnter) {
  std::string tarnIni = game.Path() + "tarn.ini";
  WriteFileBytes(tarnIni, "; game settings\r\n\r\n[Main]\r\nLanguage=POL\r\n");
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  LanguageDialog dialog = OpenGameLanguageDialog(manager);
  if (!dialog.window) GTEST_SKIP() << "no display";
  ASSERT_NE(dialog.list, nullptr);
  EXPECT_EQ(SendMessageW(dialog.list, LB_GETCOUNT, 0, 0), 9);
  EXPECT_NE(FindControl(dialog.window, "POL"), nullptr);

  TickAndEnter(dialog, 2);  // "German (Deutsch)"
  EXPECT_TRUE(WaitFor([&] { return FindControl(dialog.window, "GER") != nullptr; }));
  EXPECT_EQ(ReadFileBytes(tarnIni), "; game settings\r\n\r\n[Main]\r\nLanguage=GER\r\n");
}

// Dark pixels inside a row's check box as the display shows it: the check mark, when it is ticked.
int CheckMarkPixels(HWND list, int row) {
  RECT item;
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  int box = item.bottom - item.top - 2;  // the box is square, one pixel inside the row
  RECT inside{item.left + 3, item.top + 3, item.left + box - 1, item.top + box - 1};
  std::vector<COLORREF> pixels = ScreenPixels(list, inside);
  if (pixels.empty()) return -1;
  return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96;
  }));
}

TEST_F(RealManager, ABigEndianUtf16SettingsFileIsTickedOnOpeningAndWrittenInItsOwnEncoding) {
  std::string tarnIni = game.Path() + "tarn.ini";
  WriteFileBytes(tarnIni, Utf16File(L"; game settings\r\n[Main]\r\nLanguage=POL\r\n", true));
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  LanguageDialog dialog = OpenGameLanguageDialog(manager);
  if (!dialog.window) GTEST_SKIP() << "no display";
  ASSERT_NE(dialog.list, nullptr);
  EXPECT_TRUE(WaitFor([&] { return FindControl(dialog.window, "POL") != nullptr; }));
  constexpr int kFrench = 3, kPolish = 6;
  ASSERT_TRUE(WaitFor([&] { return CheckMarkPixels(dialog.list, kPolish) > 0; })) << "the Polish row is ticked";
  EXPECT_EQ(CheckMarkPixels(dialog.list, kFrench), 0);

  TickAndEnter(dialog, kFrench);
  EXPECT_TRUE(WaitFor([&] { return FindControl(dialog.window, "FRA") != nullptr; }));
  EXPECT_EQ(ReadFileBytes(tarnIni), Utf16File(L"; game settings\r\n[Main]\r\nLanguage=FRA\r\n", true));
  EXPECT_TRUE(WaitFor([&] { return CheckMarkPixels(dialog.list, kPolish) == 0; })) << "the Polish tick is gone";
  EXPECT_GT(CheckMarkPixels(dialog.list, kFrench), 0);
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
