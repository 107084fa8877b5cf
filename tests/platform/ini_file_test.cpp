#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/ini_file.h"
#include "platform/text.h"
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

namespace {

struct EditCase {
  const char* what;
  const char* before;  // nullptr: no file
  const char* after;
};

// Every other byte stays: comments, blank lines, other sections, order and line endings.
const EditCase kEdits[] = {
    {"the value alone changes in a CRLF file",
     "; tarn settings\r\n\r\n[Video]\r\nWidth=1024\r\n\r\n[Main]\r\nName=Kor\r\nLanguage=POL\r\n\r\n; end\r\n",
     "; tarn settings\r\n\r\n[Video]\r\nWidth=1024\r\n\r\n[Main]\r\nName=Kor\r\nLanguage=GER\r\n\r\n; end\r\n"},
    {"blanks around the names and the value stay",
     "[ main ]\n  LANGUAGE = pol  \n", "[ main ]\n  LANGUAGE = GER  \n"},
    {"a missing key goes after the section's last line, with the file's line ending",
     "[Main]\nName=Kor\n\n[Video]\nLanguage=ENG\n", "[Main]\nName=Kor\nLanguage=GER\n\n[Video]\nLanguage=ENG\n"},
    {"a missing section goes at the end, after a last line without a break",
     "[Video]\r\nWidth=1024", "[Video]\r\nWidth=1024\r\n[Main]\r\nLanguage=GER\r\n"},
    {"a commented-out key is not the key", "[Main]\r\n;Language=ENG\r\n",
     "[Main]\r\n;Language=ENG\r\nLanguage=GER\r\n"},
    {"a file with a UTF-8 mark keeps it and its Polish text",
     "\xEF\xBB\xBF[Main]\r\nGracz=\xC5\x81ucja\r\nLanguage=ENG\r\n",
     "\xEF\xBB\xBF[Main]\r\nGracz=\xC5\x81ucja\r\nLanguage=GER\r\n"},
    {"an 8-bit file keeps bytes that no text decodes", "[Main]\r\nX=\x81\x8D\xFF\r\nLanguage=\r\n",
     "[Main]\r\nX=\x81\x8D\xFF\r\nLanguage=GER\r\n"},
    {"a missing file is created with the section and the key", nullptr, "[Main]\r\nLanguage=GER\r\n"},
};

TEST(IniFile, AWriteChangesTheOneValueAndLeavesEveryOtherByte) {
  for (const EditCase& c : kEdits) {
    SCOPED_TRACE(c.what);
    TempDir temp;
    std::string path = temp / "tarn.ini";
    if (c.before) WriteFileBytes(path, c.before);
    IniFile(path).WriteString("Main", "Language", "GER");
    EXPECT_EQ(ReadFileBytes(path), c.after);
    EXPECT_EQ(IniFile(path).ReadString("Main", "Language", ""), "GER");
  }
}

TEST(IniFile, AValueIsReadWithoutItsBlanksAndQuotesFromTheFirstSectionOfItsName) {
  TempDir temp;
  std::string path = temp / "tarn.ini";
  WriteFileBytes(path, "[Video]\nLanguage=ENG\n[Main]\nName = \"Kor Vel\" \nLanguage=POL\n[Main]\nExtra=1\n");
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString("Main", "Name", ""), "Kor Vel");
  EXPECT_EQ(ini.ReadString("Main", "Language", ""), "POL");
  EXPECT_EQ(ini.ReadString("Main", "Sound", "none"), "none");
}

TEST(IniFile, AFileThatCannotBeReadIsNotWrittenOver) {
  TempDir temp;
  std::string path = temp / "tarn.ini";
  WriteFileBytes(path, "[Main]\r\nLanguage=POL\r\nName=Kor\r\n");
  // The game holds the file open and lets others write to it, but not read it.
  HANDLE game = CreateFileW(platform::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(game, INVALID_HANDLE_VALUE);
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString("Main", "Language", "none"), "none");
  try {
    ini.WriteString("Main", "Language", "GER");
    ADD_FAILURE() << "the write went ahead";
  } catch (const platform::Error& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
  }
  CloseHandle(game);
  EXPECT_EQ(ReadFileBytes(path), "[Main]\r\nLanguage=POL\r\nName=Kor\r\n");
}

TEST(IniFile, AUtf16FileStaysUtf16) {
  TempDir temp;
  std::string path = temp / "tarn.ini";
  std::wstring text = L"[Main]\r\nGracz=Łucja\r\n\r\nLanguage=ENG\r\n";
  std::string bytes = "\xFF\xFE";
  bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  WriteFileBytes(path, bytes);
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString("Main", "Gracz", ""), "Łucja");
  ini.WriteString("Main", "Language", "CZE");
  std::wstring after = L"[Main]\r\nGracz=Łucja\r\n\r\nLanguage=CZE\r\n";
  std::string expected = "\xFF\xFE";
  expected.append(reinterpret_cast<const char*>(after.data()), after.size() * 2);
  EXPECT_EQ(ReadFileBytes(path), expected);
}

}  // namespace
