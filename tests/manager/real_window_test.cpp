// THManager.exe itself, in its real window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/display.h"
#include "support/fixtures.h"
#include "support/screen.h"
#include "support/window_driver.h"
#include "ui/control.h"

using namespace testing_support;

namespace {

class RealManager : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
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
  HWND main;
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main));

  for (int answer : {IDNO, IDYES}) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND question;
    ASSERT_TRUE(AwaitWindow(manager, "Confirm", question));
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
  HWND main;
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main));
  ClickButton(FindControl(main, "Map Editor"));
  EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(game.Path() + "started.txt") == tool + "\n"; }));
}

// The game-language dialog of the running manager, opened from the Options menu, and its list.
struct LanguageDialog {
  HWND window = nullptr, list = nullptr;
};
testing::AssertionResult OpenGameLanguageDialog(const Process& manager, LanguageDialog& dialog) {
  HWND main;
  if (testing::AssertionResult came = AwaitWindow(manager, "Tarnholm Manager", main); !came) return came;
  ChooseFromMenu(main, 2, 0);  // Options, Game Language
  testing::AssertionResult came = AwaitWindow(manager, "Game Language", dialog.window);
  if (came) dialog.list = FindControlOfClass(dialog.window, "ListBox");
  return came;
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
  LanguageDialog dialog;
  ASSERT_TRUE(OpenGameLanguageDialog(manager, dialog));
  ASSERT_NE(dialog.list, nullptr);
  EXPECT_EQ(SendMessageW(dialog.list, LB_GETCOUNT, 0, 0), 9);
  EXPECT_NE(FindControl(dialog.window, "POL"), nullptr);

  TickAndEnter(dialog, 2);  // "German (Deutsch)"
  EXPECT_TRUE(WaitFor([&] { return FindControl(dialog.window, "GER") != nullptr; }));
  EXPECT_EQ(ReadFileBytes(tarnIni), "; game settings\r\n\r\n[Main]\r\nLanguage=GER\r\n");
}

// The game's settings file kept as a link to a file elsewhere, as players under Wine keep it.
TEST_F(RealManager, ASettingsFileThatIsALinkStaysOneAndItsFileTakesTheLanguage) {
  TempDir elsewhere;
  std::string link = game.Path() + "tarn.ini", target = elsewhere / "tarn.ini";
  WriteFileBytes(target, "[Main]\r\nLanguage=POL\r\n");
  ASSERT_TRUE(RunUnixCommand("ln -s '" + UnixPath(target) + "' '" + UnixPath(link) + "'"));
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  LanguageDialog dialog;
  ASSERT_TRUE(OpenGameLanguageDialog(manager, dialog));
  ASSERT_NE(dialog.list, nullptr);
  EXPECT_TRUE(WaitFor([&] { return FindControl(dialog.window, "POL") != nullptr; }));

  TickAndEnter(dialog, 2);  // "German (Deutsch)"
  EXPECT_TRUE(WaitFor([&] { return FindControl(dialog.window, "GER") != nullptr; }));
  EXPECT_TRUE(RunUnixCommand("test -L '" + UnixPath(link) + "'")) << "the link stays a link";
  EXPECT_EQ(ReadFileBytes(target), "[Main]\r\nLanguage=GER\r\n");
  EXPECT_EQ(FolderNames(elsewhere.Path()), std::vector<std::string>{"tarn.ini"});
  EXPECT_EQ(FolderNames(game.Path()), std::vector<std::string>{"tarn.ini"});
}

// Rows of the part in which some pixel of the rectangle has the colour.
int RowsWith(const ScreenPixels& pixels, const RECT& r, COLORREF colour) {
  int rows = 0;
  for (int y = r.top; y < r.bottom; ++y) rows += pixels.Count({r.left, y, r.right, y + 1}, colour) > 0;
  return rows;
}

// The about dialogs' titles in bold italic Tahoma, heavier than its regular italic, white on the
// dialog's black; the titles of their frames in white.
TEST_F(RealManager, TheAboutDialogsShowTheirTitlesBoldAndTheTitlesOfTheirFramesInWhite) {
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  HWND main;
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main));
  struct Dialog {
    int item;  // in the About menu
    const char* caption;
    int titleHeight;
  };
  for (const Dialog& d : {Dialog{0, "Author", 15}, Dialog{1, "Program", 13}}) {
    SCOPED_TRACE(d.caption);
    ChooseFromMenu(main, 4, d.item);
    HWND dialog;
    ASSERT_TRUE(AwaitWindow(manager, d.caption, dialog));
    RaiseOnDisplay(dialog);
    const std::string heading = "Tarnholm Manager";
    HWND label = FindControl(dialog, heading);
    ASSERT_NE(label, nullptr);
    ScreenPixels letters = ScreenPixels::Settled(ClientOnScreen(label));
    ASSERT_FALSE(letters.Empty());
    int ink = 0;
    for (int y = 0; y < letters.Height(); ++y)
      for (int x = 0; x < letters.Width(); ++x) ink += letters.At(x, y) != RGB(0, 0, 0);
    int regular = InkPixelsOf(ui::FontHandle({.name = "Tahoma", .height = -d.titleHeight, .italic = true}), heading);
    EXPECT_GE(ink * 100, regular * 125) << ink << " pixels of ink, the regular italic " << regular;

    HWND frame = FindControlOfClass(dialog, "Button");
    ASSERT_NE(frame, nullptr);
    RECT box;
    GetClientRect(frame, &box);
    ScreenPixels pixels = ScreenPixels::Settled(OnScreen(frame, box));
    ASSERT_FALSE(pixels.Empty());
    // The title stands from 8 pixels in, on the frame's top edge, one line of the form's font
    // high; the frame's own lines are one pixel high, a title's letters several.
    RECT title{10, 0, 60, 14};
    EXPECT_GE(RowsWith(pixels, title, RGB(255, 255, 255)), 5);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntilGone(dialog));
  }
}

// The colour most pixels of the part have, and the one second to it.
std::pair<COLORREF, COLORREF> TwoCommonestColours(const ScreenPixels& pixels) {
  std::map<COLORREF, int> counts;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x) ++counts[pixels.At(x, y)];
  std::vector<std::pair<int, COLORREF>> byCount;
  for (auto [colour, count] : counts) byCount.emplace_back(count, colour);
  std::sort(byCount.rbegin(), byCount.rend());
  if (byCount.empty()) return {};
  return {byCount[0].second, byCount[byCount.size() > 1 ? 1 : 0].second};
}

int Brightness(COLORREF c) { return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000; }

// The window that has the keyboard focus in the thread of another program's window.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{sizeof info};
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

// Gives the focus to another control of the tree's window by a click, then reads the colours of
// the tree's selected node on the screen.
void ExpectSelectedNodeReadable(HWND tree, HWND elsewhere, POINT click) {
  ClickMouse(elsewhere, click.x, click.y);
  ASSERT_TRUE(WaitFor([&] { return FocusOf(tree) == elsewhere; }));
  RECT node{};
  ASSERT_TRUE(WaitFor([&] { node = TreeViewSelectedRect(tree); return !IsRectEmpty(&node); }));
  ScreenPixels pixels = ScreenPixels::Settled(OnScreen(tree, node));
  ASSERT_FALSE(pixels.Empty());
  auto [back, text] = TwoCommonestColours(pixels);
  EXPECT_GE(std::abs(Brightness(back) - Brightness(text)), 100)
      << std::hex << "text " << text << " on " << back;
}

TEST_F(RealManager, TheTreesSelectedFolderStaysReadableWhileTheListHasTheFocus) {
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  HWND main;
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main));
  ChooseFromMenu(main, 0, 2);  // File, Tree View On/Off
  HWND tree = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (tree = FindControlOfClass(main, "SysTreeView32")) != nullptr; }));
  HWND list = FindControlOfClass(main, "SysListView32");
  RECT area;
  GetClientRect(list, &area);
  ExpectSelectedNodeReadable(tree, list, {area.right / 2, area.bottom - 10});  // below the rows
}

TEST_F(RealManager, ThePromptsSelectedFolderStaysReadableWhileTheFieldHasTheFocus) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Korvel");
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  const std::string missing = "You do not have Tarnholm game on your PC.";
  HWND box;
  ASSERT_TRUE(AwaitBox(manager, missing, box));
  ASSERT_TRUE(AnswerBox(missing, IDOK, manager.Id()));
  HWND prompt;
  ASSERT_TRUE(AwaitWindow(manager, "Enter the path", prompt));
  HWND tree = FindControlOfClass(prompt, "SysTreeView32");
  ASSERT_NE(tree, nullptr);
  RaiseOnDisplay(prompt);
  ExpectSelectedNodeReadable(tree, FindControlOfClass(prompt, "Edit"), {5, 5});
}

// A window's place in the client area of one of its ancestors.
RECT PlaceIn(HWND ancestor, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, ancestor, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(RealManager, FullScreenLaysTheWindowOutAnewAndLeavesNothingBehind) {
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  HWND main;
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main));
  HWND label = FindControl(main, game.Path());
  ASSERT_NE(label, nullptr);
  HWND bottomPanel = GetParent(label);
  // The banner: the one window of the top panel that is 55 pixels high, 12 from its top.
  HWND banner = nullptr;
  EnumChildWindows(main, [](HWND child, LPARAM found) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetAncestor(child, GA_ROOT), reinterpret_cast<POINT*>(&r), 2);
    if (r.top == 12 && r.bottom - r.top == 55) *reinterpret_cast<HWND*>(found) = child;
    return TRUE;
  }, reinterpret_cast<LPARAM>(&banner));
  ASSERT_NE(banner, nullptr);
  const SIZE windowed = ClientSize(main);
  const POINT aside{20, 600};  // a blank spot of the left panel, in both modes
  MoveMouse(main, aside.x, aside.y);
  ScreenPixels before = ScreenPixels::Settled(ClientOnScreen(main));

  ClickMouse(main, 9, 11);  // the window button
  ASSERT_TRUE(WaitFor([&] { return ClientSize(main).cx == GetSystemMetrics(SM_CXSCREEN); }));
  ASSERT_TRUE(WaitFor([&] { return PlaceIn(main, bottomPanel).bottom == GetSystemMetrics(SM_CYSCREEN); }));
  MoveMouse(main, aside.x, aside.y);
  ScreenPixels full = ScreenPixels::Settled(ClientOnScreen(main));
  ASSERT_FALSE(full.Empty());
  EXPECT_EQ(PlaceIn(main, banner).right - PlaceIn(main, banner).left, ClientSize(main).cx);
  // Above the bottom panel lies the foot of the left panel, black and empty: the labels the bar
  // had before it moved down are not left there.
  RECT foot{0, PlaceIn(main, bottomPanel).top - 40, 270, PlaceIn(main, label).top};
  EXPECT_EQ(full.Count(foot, RGB(0, 0, 0)), (foot.right - foot.left) * (foot.bottom - foot.top));

  ClickMouse(main, 9, 11);
  // The whole way back: the border, then the menu bar.
  ASSERT_TRUE(WaitFor([&] {
    SIZE now = ClientSize(main);
    return now.cx == windowed.cx && now.cy == windowed.cy;
  }));
  MoveMouse(main, aside.x, aside.y);
  ScreenPixels after = ScreenPixels::Settled(ClientOnScreen(main));
  // As it was, but for the window button, which the pointer has only just left.
  RECT changed = DifferingArea(before, after), button{2, 4, 17, 19}, outside;
  EXPECT_FALSE(SubtractRect(&outside, &changed, &button) && !IsRectEmpty(&outside))
      << "the window is back as it was, but for " << changed.left << "," << changed.top << " to "
      << changed.right << "," << changed.bottom;
}

TEST_F(RealManager, TheMenusShowTheirItemsPictures) {
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  HWND main;
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main));
  // Colours that only the pictures of these items have in their menu.
  struct Case {
    const char* items;
    int menu;           // its place in the menu bar
    int subMenuItem;    // -1, or the item whose sub-menu is opened
    std::vector<COLORREF> colours;
  };
  const Case cases[] = {
      {"New Folder", 0, -1, {RGB(40, 150, 60), RGB(232, 184, 64)}},
      {"Folders", 0, 1, {RGB(70, 82, 104), RGB(200, 205, 215), RGB(90, 140, 220), RGB(60, 170, 90),
                         RGB(230, 200, 140), RGB(220, 40, 40)}},
      {"Game Language", 2, -1, {RGB(70, 130, 220), RGB(120, 120, 120)}},
      {"English, Polski", 3, -1, {RGB(200, 16, 46), RGB(220, 20, 60)}},
      {"Author, Program", 4, -1, {RGB(90, 140, 220), RGB(50, 110, 210)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items);
    OpenMenu(main, c.menu, std::max(0, c.subMenuItem));
    if (c.subMenuItem >= 0) PressKey(main, VK_RIGHT);
    size_t menus = c.subMenuItem >= 0 ? 2 : 1;
    ASSERT_TRUE(WaitFor([&] { return OpenMenus(manager.Id()).size() == menus; }));
    RECT shown;
    GetWindowRect(OpenMenus(manager.Id()).back(), &shown);
    ScreenPixels pixels = ScreenPixels::Settled(shown);
    ASSERT_FALSE(pixels.Empty());
    RECT all{0, 0, pixels.Width(), pixels.Height()};
    for (COLORREF colour : c.colours) EXPECT_GT(pixels.Count(all, colour), 0) << std::hex << colour;
    for (size_t i = 0; i <= menus; ++i) PressKey(main, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return OpenMenus(manager.Id()).empty(); }));
  }
}

// Dark pixels inside a row's check box as the display shows it: the check mark, when it is ticked.
int CheckMarkPixels(HWND list, int row) {
  RECT item;
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  int box = item.bottom - item.top - 2;  // the box is square, one pixel inside the row
  RECT inside{item.left + 3, item.top + 3, item.left + box - 1, item.top + box - 1};
  ScreenPixels pixels(OnScreen(list, inside));
  if (pixels.Empty()) return -1;
  int dark = 0;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x) {
      COLORREF c = pixels.At(x, y);
      dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96;
    }
  return dark;
}

TEST_F(RealManager, ABigEndianUtf16SettingsFileIsTickedOnOpeningAndWrittenInItsOwnEncoding) {
  std::string tarnIni = game.Path() + "tarn.ini";
  WriteFileBytes(tarnIni, Utf16File(L"; game settings\r\n[Main]\r\nLanguage=POL\r\n", true));
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  LanguageDialog dialog;
  ASSERT_TRUE(OpenGameLanguageDialog(manager, dialog));
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
  HWND main;
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main));
  HWND list = FindControlOfClass(main, "SysListView32");
  ASSERT_NE(list, nullptr);
  auto count = [&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); };
  EXPECT_TRUE(WaitFor([&] { return count() == 3; }, 10000)) << count();

  WriteFileBytes(game / "new.gmx", "x");
  EXPECT_TRUE(WaitFor([&] { return count() == 4; }, 10000)) << "the watcher shows a file made outside";

  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND question;
  ASSERT_TRUE(AwaitWindow(manager, "Confirm", question));
  ClickButton(FindControl(question, "&Yes"));
  EXPECT_TRUE(manager.WaitForExit(10000)) << "the watcher thread keeps no process alive";
}

// Down by double clicks to a folder B whose path is 258 characters long, then into its folder
// Cgleboki: the manager says that the path is too long, and its label, list and tree stay with B,
// where New Folder makes nothing either; in B's parent it makes the folder the label names.
TEST_F(RealManager, AFolderWithATooLongPathIsNotOpenedAndNewFolderMakesNothingElsewhere) {
  std::string gameFolder = game.Path().substr(0, game.Path().size() - 1);
  std::string a = MakeFolderOfPathLength(gameFolder, gameFolder.size() + 121, 'a');
  std::string b = MakeFolderOfPathLength(a, 258, 'b');
  ASSERT_TRUE(CreateDirectoryW(platform::Widen(b + "\\Cgleboki").c_str(), nullptr));
  for (const char* file : {"\\Cgleboki\\one.gmx", "\\Cgleboki\\two.gmx"}) WriteFileBytes(b + file, "x");
  const std::string aName = a.substr(gameFolder.size() + 1), bName = b.substr(a.size() + 1);
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  HWND main;
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main));
  HWND list = FindControlOfClass(main, "SysListView32");
  ASSERT_NE(list, nullptr);
  ChooseFromMenu(main, 0, 2);  // File, Tree View On/Off
  ASSERT_TRUE(WaitFor([&] { return FindControlOfClass(main, "SysTreeView32") != nullptr; }));
  HWND tree = FindControlOfClass(main, "SysTreeView32");
  auto shows = [&](const std::vector<std::string>& rows) { return ListViewTexts(list) == rows; };

  ASSERT_TRUE(WaitFor([&] { return shows({aName}); }));
  ASSERT_TRUE(DoubleClickListItem(list, aName));
  ASSERT_TRUE(WaitFor([&] { return shows({bName}); }));
  ASSERT_TRUE(DoubleClickListItem(list, bName));
  ASSERT_TRUE(WaitFor([&] { return shows({"Cgleboki"}) && FindControl(main, b) != nullptr; }));

  ASSERT_TRUE(DoubleClickListItem(list, "Cgleboki"));
  EXPECT_TRUE(AnswerBox("I can not open the folder \"Cgleboki\". Its path is longer than 259 characters.", IDOK,
                        manager.Id()));
  EXPECT_NE(FindControl(main, b), nullptr) << "the label names B, whole";
  EXPECT_TRUE(shows({"Cgleboki"}));
  EXPECT_EQ(TreeViewSelectedText(tree), bName);

  // New Folder "Nowy" through the menu and the dialog; the box that answers is closed.
  auto newFolder = [&](const std::string& answer) {
    ChooseFromMenu(main, 0, 0);  // File, New Folder
    HWND dialog = WaitForWindow("Folder", manager.Id());
    ASSERT_NE(dialog, nullptr);
    TypeText(FindControlOfClass(dialog, "Edit"), "Nowy");
    ClickButton(FindControlOfClass(dialog, "Button"));
    EXPECT_TRUE(AnswerBox(answer, IDOK, manager.Id()));
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntilGone(dialog));
  };
  newFolder("I can not create the folder. " + platform::SystemErrorText(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_FALSE(platform::DirectoryExists(b + "\\Nowy"));
  EXPECT_FALSE(platform::DirectoryExists(b + "\\Cgleboki\\Nowy"));

  PressKey(list, VK_BACK);
  ASSERT_TRUE(WaitFor([&] { return shows({bName}) && FindControl(main, a) != nullptr; }));
  newFolder("Done!");
  EXPECT_TRUE(platform::DirectoryExists(a + "\\Nowy"));
  EXPECT_TRUE(WaitFor([&] { return shows({bName, "Nowy"}); }));
}

// Typed on the keyboard, a character beyond the basic plane comes as two halves: the box holds it
// whole with the caret after it, and the folder made has the name as typed.
TEST_F(RealManager, NewFolderMakesAFolderWithACharacterBeyondTheBasicPlaneTypedOnTheKeyboard) {
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  HWND main;
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main));
  HWND list = FindControlOfClass(main, "SysListView32");
  ASSERT_NE(list, nullptr);
  ChooseFromMenu(main, 0, 0);  // File, New Folder
  HWND dialog;
  ASSERT_TRUE(AwaitWindow(manager, "Folder", dialog));
  HWND box = FindControlOfClass(dialog, "Edit");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(TypedAs(box, L"x\U0001D11Ey", L"x\U0001D11Ey"));
  ClickButton(FindControlOfClass(dialog, "Button"));
  EXPECT_TRUE(AnswerBox("Done!", IDOK, manager.Id()));
  const std::string name = "x\U0001D11Ey";
  EXPECT_TRUE(platform::DirectoryExists(game / name));
  EXPECT_TRUE(WaitFor([&] { return ListViewTexts(list) == std::vector<std::string>{name}; }))
      << ::testing::PrintToString(ListViewTexts(list));
  EXPECT_EQ(WindowText(box), name) << "the box keeps the name";
}

// Whether a cell's text ends cut, in an ellipsis: the ink of its last columns is a row of dots.
bool EndsInEllipsis(const ScreenPixels& pixels, const RECT& cell) {
  int right = -1;
  for (int y = cell.top; y < cell.bottom; ++y)
    for (int x = cell.left; x < cell.right; ++x)
      if (Dark(pixels.At(x, y))) right = std::max(right, x);
  if (right < 0) return false;
  int top = cell.bottom, bottom = -1, runs = 0;
  for (int x = right - 6; x <= right; ++x) {
    bool inked = false;
    for (int y = cell.top; y < cell.bottom; ++y)
      if (x >= cell.left && Dark(pixels.At(x, y))) {
        inked = true;
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    bool before = x - 1 >= cell.left && x > right - 6 &&
                  [&] { for (int y = cell.top; y < cell.bottom; ++y) if (Dark(pixels.At(x - 1, y))) return true; return false; }();
    runs += inked && !before;
  }
  return bottom - top <= 1 && runs >= 2;
}

// The manager's file list in report view once it shows three rows: the places where its columns
// begin (and the last one ends), within the list's width, and its rows' and titles' pictures.
struct ShownList {
  HWND main = nullptr, list = nullptr, header = nullptr;
  std::vector<int> lefts;
  int columns = 0;
};
void AwaitFileList(const Process& manager, ShownList& shown) {
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", shown.main));
  shown.list = FindControlOfClass(shown.main, "SysListView32");
  ASSERT_NE(shown.list, nullptr);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(shown.list, LVM_GETITEMCOUNT, 0, 0) == 3; }));
  shown.header = reinterpret_cast<HWND>(SendMessageW(shown.list, LVM_GETHEADER, 0, 0));
  shown.columns = static_cast<int>(SendMessageW(shown.header, HDM_GETITEMCOUNT, 0, 0));
  ASSERT_GE(shown.columns, 4);
  shown.lefts = {0};
  for (int c = 0; c < shown.columns; ++c)
    shown.lefts.push_back(shown.lefts.back() + static_cast<int>(SendMessageW(shown.list, LVM_GETCOLUMNWIDTH, c, 0)));
  RECT area;
  GetClientRect(shown.list, &area);
  ASSERT_LE(shown.lefts.back(), area.right) << "the columns stand side by side within the list";
}

// Closes the manager's window and answers its question Yes.
void QuitManager(Process& manager, HWND main) {
  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND question = WaitForWindow("Confirm", manager.Id());
  ASSERT_NE(question, nullptr);
  ClickButton(FindControl(question, "&Yes"));
  EXPECT_TRUE(manager.WaitForExit());
}

// With room beside its columns, the file list shows each column's texts whole, its header's too.
TEST_F(RealManager, TheListsColumnsShowTheirWholeTextsWhereTheListHasRoom) {
  WriteFileBytes(game / "tarn.ini", "[Main]\r\nLanguage=POL\r\n");
  WriteFileBytes(game / "Tarn.exe", "x");
  CreateDirectoryW(platform::Widen(game / "Mods").c_str(), nullptr);
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  ShownList shown;
  ASSERT_NO_FATAL_FAILURE(AwaitFileList(manager, shown));
  const auto& [main, list, header, lefts, columns] = shown;
  ScreenPixels rows = ScreenPixels::Settled(ClientOnScreen(list));
  ScreenPixels titles = ScreenPixels::Settled(ClientOnScreen(header));
  ASSERT_FALSE(rows.Empty() || titles.Empty());
  for (int c = 1; c < columns; ++c) {
    SCOPED_TRACE("column " + std::to_string(c));
    EXPECT_FALSE(EndsInEllipsis(titles, {lefts[c] + 1, 0, lefts[c + 1] - 1, titles.Height()})) << "header";
    for (int row = 0; row < 3; ++row) {
      RECT item = ListViewItemRect(list, row);
      EXPECT_FALSE(EndsInEllipsis(rows, {lefts[c] + 1, item.top, lefts[c + 1] - 1, item.bottom})) << "row " << row;
    }
  }
  QuitManager(manager, main);
}

// Beside long names the list keeps the short details whole, the size, the date and time, the
// attributes, and every column's title: what room is left goes to the name and the type, which are
// cut only where they are wider than it.
TEST_F(RealManager, LongNamesLeaveTheDetailsAndTitlesWhole) {
  const std::string file = "Tarnholm_campaign_of_the_northern_marches_and_their_lost_heroes.thp";
  const std::string folder = "Saved_games_of_the_winter_siege_campaign";
  const std::string strange = "strange.verylongextensionname";
  ASSERT_EQ(file.size(), 67u);
  ASSERT_EQ(folder.size(), 40u);
  WriteFileBytes(game / file, "x");
  WriteFileBytes(game / strange, "xyz");
  CreateDirectoryW(platform::Widen(game / folder).c_str(), nullptr);
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  ShownList shown;
  ASSERT_NO_FATAL_FAILURE(AwaitFileList(manager, shown));
  const auto& [main, list, header, lefts, columns] = shown;
  std::vector<std::string> titles = ListViewColumnTitles(list);
  ASSERT_EQ(static_cast<int>(titles.size()), columns);
  std::vector<std::vector<std::string>> cells;
  for (int c = 0; c < columns; ++c) cells.push_back(ListViewTexts(list, c));
  // The type is the column that names the strange file's extension.
  int type = -1;
  for (int c = 1; c < columns; ++c)
    for (std::string text : cells[c]) {
      std::transform(text.begin(), text.end(), text.begin(), [](unsigned char ch) { return std::tolower(ch); });
      if (text.find("verylongextensionname") != std::string::npos) type = c;
    }
  ASSERT_GT(type, 0) << "a column names the type";
  RECT area;
  GetClientRect(list, &area);
  EXPECT_GE(lefts.back(), area.right - 2) << "the names and types take the room that is left";

  ScreenPixels rows = ScreenPixels::Settled(ClientOnScreen(list));
  ScreenPixels heads = ScreenPixels::Settled(ClientOnScreen(header));
  ASSERT_FALSE(rows.Empty() || heads.Empty());
  bool someCut = false;
  for (int c = 0; c < columns; ++c) {
    SCOPED_TRACE("column " + std::to_string(c) + " \"" + titles[c] + "\"");
    int width = lefts[c + 1] - lefts[c];
    EXPECT_FALSE(EndsInEllipsis(heads, {lefts[c] + 1, 0, lefts[c + 1] - 1, heads.Height()})) << "title";
    EXPECT_LT(ListViewStringWidth(list, titles[c]), width) << "title";
    int widest = ListViewStringWidth(list, titles[c]);
    for (int row = 0; row < 3; ++row) {
      SCOPED_TRACE("row " + std::to_string(row) + " \"" + cells[c][row] + "\"");
      RECT item = ListViewItemRect(list, row);
      int text = ListViewStringWidth(list, cells[c][row]);
      widest = std::max(widest, text);
      bool cut = EndsInEllipsis(rows, {std::max<int>(lefts[c], item.left) + 1, item.top, lefts[c + 1] - 1, item.bottom});
      if (c == 0 || c == type) {
        // Cut only where the text is wider than its cell's room.
        if (cut) {
          EXPECT_GT(text, lefts[c + 1] - std::max<int>(lefts[c], item.left) - 12) << "cut although it fits";
        }
        someCut |= cut;
      } else {
        EXPECT_FALSE(cut);
        EXPECT_LT(text, width);
      }
    }
    if (c != 0 && c != type) EXPECT_LE(width, widest + 20) << "a detail takes no more room than its texts";
  }
  EXPECT_TRUE(someCut) << "the fixture's names are longer than the list's room";
  QuitManager(manager, main);
}

// The status bar's own text, which a screen reader reads, is the one it shows, in either language.
TEST_F(RealManager, TheStatusBarsWindowTextFollowsTheLanguage) {
  // The switch saves the language beside the program; the other tests start without it.
  struct KeptFile {
    std::string path = platform::ExeFolder() + "..\\bin\\thmanager.ini";
    bool had = platform::FileExists(path);
    std::string bytes = had ? ReadFileBytes(path) : "";
    ~KeptFile() {
      if (had)
        WriteFileBytes(path, bytes);
      else
        DeleteFileW(platform::Widen(path).c_str());
    }
  } settings;
  Process manager(platform::ExeFolder() + "..\\bin\\THManager.exe");
  HWND main;
  ASSERT_TRUE(AwaitWindow(manager, "Tarnholm Manager", main));
  HWND status = FindControlOfClass(main, "msctls_statusbar32");
  ASSERT_NE(status, nullptr);
  // The menu's keys go to a program that has finished starting and waits for input.
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, manager.Id());
  ASSERT_NE(process, nullptr);
  WaitForInputIdle(process, 30000);
  CloseHandle(process);
  struct Step {
    int item;  // in the Languages menu
    const char* button;
    const char* text;
  };
  const Step steps[] = {
      {1, "Uruchom Grę Tarnholm", "Wybierz narzędzie po lewej; folder gry widać po prawej."},
      {0, "Start Tarnholm Game", "Choose a tool on the left; the game folder is shown on the right."},
  };
  for (const Step& s : steps) {
    ChooseFromMenu(main, 3, s.item);
    ASSERT_TRUE(WaitFor([&] { return FindControl(main, s.button) != nullptr; }));
    EXPECT_EQ(WindowText(status), s.text);
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND question = WaitForWindow("Confirm", manager.Id());
  ASSERT_NE(question, nullptr);
  ClickButton(FindControl(question, "&Yes"));
  EXPECT_TRUE(manager.WaitForExit());
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
