// The game-language dialog and the game's settings file.
#include <gtest/gtest.h>

#include <optional>

#include "manager/lang_form.h"
#include "manager_fixture.h"
#include "platform/text.h"

using testing_support::ReadFileBytes;
using testing_support::Utf16File;
using testing_support::WriteFileBytes;

namespace {

constexpr int kGerman = 2, kFrench = 3, kPolish = 6;

class GameLanguage : public ManagerTest {
 protected:
  // Opens the dialog from the Options menu with the game's file holding the given text.
  manager::TLangForm6& Open(const char* tarnIni) {
    return tarnIni ? Open(std::string(tarnIni)) : Open(std::optional<std::string>());
  }
  manager::TLangForm6& Open(std::optional<std::string> tarnIni) {
    game = SetGameFolder();
    if (tarnIni)
      WriteFileBytes(TarnIni(), *tarnIni);
    else
      DeleteFileW(platform::Widen(TarnIni()).c_str());
    manager::TAppForm1& main = Start();
    main.GameLanguage1.Click();
    return *manager::Slots().LangForm6;
  }
  std::string TarnIni() const { return game + "\\tarn.ini"; }
  static std::vector<int> CheckedRows(const manager::TLangForm6& dialog) {
    std::vector<int> rows;
    for (int row = 0; row < dialog.CheckListBox1.Count(); ++row)
      if (dialog.CheckListBox1.Checked(row)) rows.push_back(row);
    return rows;
  }
  std::string game;
};

TEST_F(GameLanguage, ShowingTheDialogChecksTheRowOfTheCodeInTheFileCaseIncluded) {
  struct Case {
    const char* file;
    std::vector<int> checked;
    const char* label;
  };
  const Case cases[] = {
      {"[Main]\r\nLanguage=POL\r\n", {kPolish}, "POL"},
      {"[Main]\r\nLanguage=pol\r\n", {}, "pol"},
      {"[Main]\r\nLanguage=Klingon\r\n", {}, "Klingon"},
      {"[Video]\r\nLanguage=GER\r\n", {}, ""},
      {nullptr, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file ? c.file : "no file");
    manager::TLangForm6& dialog = Open(c.file);
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(CheckedRows(dialog), c.checked);
    EXPECT_EQ(dialog.LangLabel.Caption(), c.label);
    EXPECT_EQ(dialog.CheckListBox1.Items()[kPolish], "Polish (Polski)");
    EXPECT_TRUE(dialogs.boxes.empty());
    Stop();
  }
}

TEST_F(GameLanguage, TickingARowUnticksTheOtherAndEnterWritesOnlyThatValue) {
  const std::string before = "; Tarnholm\r\n\r\n[Video]\r\nWidth=1024\r\n\r\n[Main]\r\nLanguage=POL\r\nName=Kor\r\n";
  manager::TLangForm6& dialog = Open(before.c_str());
  dialog.CheckListBox1.ClickCheck(kGerman);
  EXPECT_EQ(CheckedRows(dialog), std::vector<int>{kGerman});
  dialog.EnterButton1.Click();
  EXPECT_EQ(dialog.LangLabel.Caption(), "GER");
  std::string after = before;
  after.replace(after.find("POL"), 3, "GER");
  EXPECT_EQ(ReadFileBytes(TarnIni()), after);
  EXPECT_TRUE(dialog.Visible()) << "the dialog stays open";
}

TEST_F(GameLanguage, UntickingTheOnlyRowLeavesTheFileAlone) {
  manager::TLangForm6& dialog = Open("[Main]\r\nLanguage=POL\r\n");
  dialog.CheckListBox1.ClickCheck(kPolish);
  EXPECT_TRUE(CheckedRows(dialog).empty());
  WriteFileBytes(TarnIni(), "[Main]\r\nLanguage=ITA\r\n");  // the game changed it meanwhile
  dialog.EnterButton1.Click();
  EXPECT_EQ(ReadFileBytes(TarnIni()), "[Main]\r\nLanguage=ITA\r\n");
  EXPECT_EQ(dialog.LangLabel.Caption(), "ITA") << "the label shows what the file holds";
}

TEST_F(GameLanguage, ASecondShowChecksTheFilesRowBesideTheTickedOneAndEnterWritesTheFirst) {
  manager::TLangForm6& dialog = Open("[Main]\r\nLanguage=POL\r\n");
  dialog.CheckListBox1.ClickCheck(kGerman);
  manager::Slots().AppForm1->Polski1.Click();  // the switch shows the dialog's texts again
  EXPECT_EQ(CheckedRows(dialog), (std::vector<int>{kGerman, kPolish}));
  EXPECT_EQ(dialog.Caption(), "Język Gry");
  EXPECT_EQ(dialog.Label1.Caption(), "Wybierz język gry:");
  EXPECT_EQ(dialog.EnterButton1.Hint(), "Wprowadź");
  EXPECT_EQ(dialog.CheckListBox1.Items()[kGerman], "German (Deutsch)");
  dialog.EnterButton1.Click();
  EXPECT_EQ(ReadFileBytes(TarnIni()), "[Main]\r\nLanguage=GER\r\n");
}

TEST_F(GameLanguage, TheSpaceBarTicksTheSelectedRowAndAMissingFileIsCreated) {
  manager::TLangForm6& dialog = Open(nullptr);
  dialog.CheckListBox1.SetItemIndex(0);
  dialog.CheckListBox1.PressSpace();
  dialog.EnterButton1.Click();
  EXPECT_EQ(ReadFileBytes(TarnIni()), "[Main]\r\nLanguage=ENG\r\n");
  EXPECT_EQ(dialog.LangLabel.Caption(), "ENG");
}

TEST_F(GameLanguage, AFileThatCannotBeWrittenShowsTheErrorAndKeepsTheLabel) {
  manager::TLangForm6& dialog = Open("[Main]\r\nLanguage=POL\r\n");
  // The game folder named in the registry is gone.
  manager::Slots().AppForm1->PathLabel.SetCaption(game + "\\gone");
  dialog.CheckListBox1.ClickCheck(kGerman);
  dialog.EnterButton1.Click();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Unable to write to " + game + "\\gone\\tarn.ini"});
  EXPECT_EQ(dialogs.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(dialog.LangLabel.Caption(), "POL");
  EXPECT_TRUE(dialog.Visible());
}

TEST_F(GameLanguage, WithoutAGameFolderShowAndEnterGiveTheMissingBoxAndTouchNothing) {
  manager::TAppForm1& main = Start();
  dialogs.boxes.clear();
  main.GameLanguage1.Click();
  manager::TLangForm6& dialog = *manager::Slots().LangForm6;
  dialog.CheckListBox1.ClickCheck(kGerman);
  dialog.EnterButton1.Click();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(2, "You do not have Tarnholm game on your PC."));
  EXPECT_EQ(dialog.LangLabel.Caption(), "");
  EXPECT_EQ(CheckedRows(dialog), std::vector<int>{kGerman});
}

// Each shape of the file is shown as the game reads it and written in its own encoding and line
// ends; one that cannot be is refused, and the label keeps what the game still reads.
TEST_F(GameLanguage, EachEncodingAndLineEndIsShownAsTheGameReadsItAndWrittenInItsOwnFormOrRefused) {
  struct Case {
    const char* what;
    std::string file;
    const char* shown;                  // what the game reads before the write
    std::optional<std::string> french;  // none: refused
  };
  const Case cases[] = {
      {"UTF-16 big-endian", Utf16File(L"[Main]\r\nLanguage=POL\r\n", true), "POL",
       Utf16File(L"[Main]\r\nLanguage=FRA\r\n", true)},
      {"CR-only line ends", "; Tarnholm\r[Main]\rLanguage=POL\rName=Kor\r", "POL",
       "; Tarnholm\r[Main]\rLanguage=FRA\rName=Kor\r"},
      {"UTF-16 with a stray last byte", Utf16File(L"[Main]\r\nLanguage=POL\r\n") + "x", "POL", std::nullopt},
      {"the key without \"=\", which the game reads as no value", "[Main]\r\nLanguage\r\nX=1\r\n", "",
       "[Main]\r\nLanguage=FRA\r\nX=1\r\n"},
      {"a header without \"]\" before the real section",
       "[Main\r\nLanguage=ENG\r\n[Main]\r\nLanguage=POL\r\n", "POL",
       "[Main\r\nLanguage=ENG\r\n[Main]\r\nLanguage=FRA\r\n"},
      {"a vertical tab before the key, which the game reads as blank", "[Main]\r\n\x0bLanguage=POL\r\n", "POL",
       "[Main]\r\n\x0bLanguage=FRA\r\n"},
      {"a form feed after the key", "[Main]\r\nLanguage\x0c=POL\r\n", "POL", "[Main]\r\nLanguage\x0c=FRA\r\n"},
      {"a Ctrl-Z after the key", "[Main]\r\nLanguage\x1a=POL\r\n", "POL", "[Main]\r\nLanguage\x1a=FRA\r\n"},
      {"a vertical tab in the section's brackets", "[\x0bMain]\r\nLanguage=POL\r\n", "POL",
       "[\x0bMain]\r\nLanguage=FRA\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialogs.boxes.clear();
    manager::TLangForm6& dialog = Open(c.file);
    EXPECT_EQ(CheckedRows(dialog), std::string(c.shown) == "POL" ? std::vector<int>{kPolish} : std::vector<int>{});
    EXPECT_EQ(dialog.LangLabel.Caption(), c.shown);
    dialog.CheckListBox1.ClickCheck(kFrench);
    dialog.EnterButton1.Click();
    if (c.french) {
      EXPECT_EQ(ReadFileBytes(TarnIni()), *c.french);
      EXPECT_EQ(dialog.LangLabel.Caption(), "FRA");
      EXPECT_TRUE(dialogs.boxes.empty());
    } else {
      EXPECT_EQ(ReadFileBytes(TarnIni()), c.file);
      EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Unable to write to " + TarnIni()});
      EXPECT_EQ(dialog.LangLabel.Caption(), c.shown) << "the game still reads it";
    }
    Stop();
  }
}

}  // namespace
