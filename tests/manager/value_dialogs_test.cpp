// The join-address and resolution dialogs: what may be typed, and the command lines they start.
#include <gtest/gtest.h>

#include "manager/game_form.h"
#include "manager/ip_form.h"
#include "manager/res_form.h"
#include "manager_fixture.h"
#include "platform/text.h"
#include "support/display.h"
#include "support/recorded_command_lines.h"
#include "support/window_driver.h"
#include "ui/application.h"

namespace {

class ValueDialogs : public ManagerTest {
 protected:
  // The main window with the game folder, and the game-start dialog open.
  void Open(const std::string& gameFolder) {
    manager::TAppForm1& main = Start();
    main.PathLabel.SetCaption(gameFolder);
    dialogs.boxes.clear();
    main.SpeedButton1.Click();
  }
  manager::TIPForm3& Join() {
    manager::Slots().GameForm2->SpeedButton7.Click();
    return *manager::Slots().IPForm3;
  }
  manager::TResForm4& Resolution() {
    manager::Slots().GameForm2->SpeedButton9.Click();
    return *manager::Slots().ResForm4;
  }
  const std::string folder = "C:\\Gry\\Tarnholm Łódź";
  testing_support::RecordedCommandLines started;
};

TEST_F(ValueDialogs, EachBoxTakesOnlyItsTypedCharacters) {
  Open(folder);
  manager::TIPForm3& join = Join();
  manager::TResForm4& res = Resolution();
  struct Case {
    ui::Edit& edit;
    const char* typed;
    const char* kept;
  };
  // Letters, blanks, colons, signs and codes 127 to 255 are refused; Backspace works.
  const std::string high = platform::Narrow(std::wstring{L'\x7F', L'\xC8', L'\xFF', L'ł'});
  const Case cases[] = {
      {join.IPEdit1, "192.168.0.1", "192.168.0.1"},
      {join.IPEdit1, "a1 :2-3+", "123"},
      {res.WidthEdit1, "10.24", "1024"},
      {res.WidthEdit1, "x7 -6:8", "768"},
      {res.HeightEdit2, "76899\b\b", "768"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    c.edit.SetText("");
    c.edit.Type(c.typed + high);
    EXPECT_EQ(c.edit.Text(), c.kept);
  }
}

TEST_F(ValueDialogs, TheButtonsStartTheGameWithTheValuesAsTheyStand) {
  Open(folder);
  manager::TIPForm3& join = Join();
  manager::TResForm4& res = Resolution();
  res.WidthEdit1.Type("1024");
  res.HeightEdit2.Type("768");
  res.EnterButton1.Click();
  res.WidthEdit1.SetText("00640");
  res.HeightEdit2.SetText("0");
  res.EnterButton1.Click();
  join.IPEdit1.Type("....");
  join.ConnectButton1.Click();
  join.IPEdit1.SetText("host:27015 -x");  // pasted: not filtered
  join.ConnectButton1.Click();
  const std::string exe = "\"" + folder + "\\Tarn.exe\" ";
  EXPECT_EQ(started.lines, (std::vector<std::string>{exe + "CustomRes 1024 768", exe + "CustomRes 00640 0",
                                                           exe + "/J 1 ....", exe + "/J 1 host:27015 -x"}));
  EXPECT_EQ(started.shows, std::vector<int>(4, SW_SHOWNORMAL));
  EXPECT_TRUE(join.Visible() && res.Visible()) << "the dialogs stay open";
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ValueDialogs, AnEmptyFieldStartsNothingAndShowsNothing) {
  Open(folder);
  manager::TIPForm3& join = Join();
  manager::TResForm4& res = Resolution();
  join.ConnectButton1.Click();
  res.EnterButton1.Click();
  res.WidthEdit1.Type("800");
  res.EnterButton1.Click();
  res.WidthEdit1.SetText("");
  res.HeightEdit2.Type("600");
  res.EnterButton1.Click();
  EXPECT_TRUE(started.lines.empty());
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ValueDialogs, WithoutAGameFolderTheButtonsShowTheMissingBoxWhateverTheFieldsHold) {
  Open("");
  manager::TIPForm3& join = Join();
  manager::TResForm4& res = Resolution();
  join.ConnectButton1.Click();
  res.EnterButton1.Click();
  join.IPEdit1.Type("10.0.0.1");
  res.WidthEdit1.Type("800");
  res.HeightEdit2.Type("600");
  join.ConnectButton1.Click();
  res.EnterButton1.Click();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(4, "You do not have Tarnholm game on your PC."));
  EXPECT_TRUE(started.lines.empty());
}

TEST_F(ValueDialogs, AReopenedDialogHasEmptyFieldsAndSpeaksTheActiveLanguage) {
  Open(folder);
  manager::TIPForm3* first = &Join();
  first->IPEdit1.Type("10.0.0.1");
  EXPECT_EQ(&Join(), first) << "an open dialog comes to the front as it is";
  EXPECT_EQ(first->IPEdit1.Text(), "10.0.0.1");
  first->Close();
  manager::Slots().AppForm1->Polski1.Click();
  manager::TIPForm3& join = Join();
  EXPECT_NE(&join, first);
  EXPECT_EQ(join.IPEdit1.Text(), "");
  EXPECT_EQ(join.Caption(), "Połącz z IP");
  EXPECT_EQ(join.Label1.Caption(), "Wybierz IP:");
  EXPECT_EQ(join.ConnectButton1.Hint(), "Połącz");
  manager::TResForm4& res = Resolution();
  EXPECT_EQ(res.Caption(), "Rozdzielczość");
  EXPECT_EQ(res.Label1.Caption(), "Szerokość:");
  EXPECT_EQ(res.Label2.Caption(), "Wysokość:");
  EXPECT_EQ(res.EnterButton1.Hint(), "Wprowadź");
}

TEST_F(ValueDialogs, TheRealWindowsFilterTypingPassPastingAndIgnoreEnter) {
  SKIP_WITHOUT_DISPLAY();
  Open(folder);
  manager::TIPForm3& join = Join();
  manager::TResForm4& res = Resolution();
  ASSERT_TRUE(join.IPEdit1.HandleAllocated());
  using testing_support::TypeText;
  TypeText(join.IPEdit1.Handle(), "1a0. 0:0-1");
  EXPECT_EQ(testing_support::WindowText(join.IPEdit1.Handle()), "10.001");
  TypeText(res.WidthEdit1.Handle(), "8.0-0");
  TypeText(res.HeightEdit2.Handle(), "6x00\b1");
  EXPECT_EQ(res.HeightEdit2.Text(), "601");
  for (HWND edit : {join.IPEdit1.Handle(), res.WidthEdit1.Handle()}) {
    SetFocus(edit);
    testing_support::PressKey(edit, VK_RETURN);
  }
  EXPECT_TRUE(started.lines.empty()) << "Enter starts nothing";

  // Pasted text arrives whole.
  ASSERT_TRUE(OpenClipboard(join.Handle()));
  EmptyClipboard();
  std::wstring pasted = L"server:1";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(memory), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  SendMessageW(join.IPEdit1.Handle(), WM_PASTE, 0, 0);

  testing_support::ClickButton(join.ConnectButton1.Handle());
  testing_support::ClickButton(res.EnterButton1.Handle());
  testing_support::WaitFor([&] {
    ui::Application::Instance().ProcessMessages();
    return started.lines.size() >= 2;
  });
  const std::string exe = "\"" + folder + "\\Tarn.exe\" ";
  EXPECT_EQ(started.lines, (std::vector<std::string>{exe + "/J 1 10.001server:1", exe + "CustomRes 800 601"}));
}

}  // namespace
