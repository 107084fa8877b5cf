#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/ini_file.h"
#include "support/fixtures.h"

using platform::IniFile;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

TEST(IniFile, AMissingFileOrKeyReadsAsTheDefaultAndIsNotCreated) {
  TempDir temp;
  IniFile ini(temp / "settings.ini");
  EXPECT_EQ(ini.ReadString("Main", "Language", "none"), "none");
  EXPECT_EQ(ReadFileBytes(temp / "settings.ini"), "");
}

TEST(IniFile, AWriteReplacesOnlyItsKeyAndKeepsEveryOtherLine) {
  TempDir temp;
  WriteFileBytes(temp / "tarn.ini",
                 "; the game's own comment\r\n[Video]\r\nWidth=1024\r\n[Main]\r\nLanguage=ENG\r\nSound=1\r\n");
  IniFile ini(temp / "tarn.ini");
  EXPECT_EQ(ini.ReadString("main", "LANGUAGE", ""), "ENG") << "names are matched without regard to case";
  ini.WriteString("Main", "Language", "POL");
  std::string text = ReadFileBytes(temp / "tarn.ini");
  EXPECT_NE(text.find("; the game's own comment"), std::string::npos);
  EXPECT_NE(text.find("Width=1024"), std::string::npos);
  EXPECT_NE(text.find("Language=POL"), std::string::npos);
  EXPECT_NE(text.find("Sound=1"), std::string::npos);
  EXPECT_EQ(text.find("ENG"), std::string::npos);
}

TEST(IniFile, TheFirstWriteCreatesTheFileAndAWriteThatCannotHappenIsAnError) {
  TempDir temp;
  IniFile ini(temp / "thmanager.ini");
  ini.WriteString("Main", "Started", "Yes");
  EXPECT_EQ(IniFile(temp / "thmanager.ini").ReadString("Main", "Started", ""), "Yes");

  std::string nowhere = temp / "missing folder\\thmanager.ini";
  try {
    IniFile(nowhere).WriteString("Main", "Started", "Yes");
    FAIL();
  } catch (const platform::Error& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + nowhere);
  }
}

}  // namespace
