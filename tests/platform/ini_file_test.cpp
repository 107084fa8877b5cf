#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/error.h"
#include "platform/ini_file.h"
#include "platform/temp_folder.h"
#include "platform/text.h"
#include "platform/whole_file.h"
#include "support/fixtures.h"

using platform::IniFile;
using testing_support::FolderNames;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::Utf16File;
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
  std::optional<std::string> before;  // none: no file
  std::optional<std::string> after;   // none: the write is refused and the file stays as it was
};

// Every other byte stays: comments, blank lines, other sections, order, line endings, encoding.
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
    {"UTF-8 without a mark keeps its bytes", "[Main]\r\nGracz=\xC5\x81ucja\r\n",
     "[Main]\r\nGracz=\xC5\x81ucja\r\nLanguage=GER\r\n"},
    {"an 8-bit file keeps bytes that no text decodes", "[Main]\r\nX=\x81\x8D\xFF\r\nLanguage=\r\n",
     "[Main]\r\nX=\x81\x8D\xFF\r\nLanguage=GER\r\n"},
    {"a missing file is created with the section and the key", std::nullopt, "[Main]\r\nLanguage=GER\r\n"},
    {"UTF-16 with the little-endian mark", Utf16File(L"[Main]\r\nGracz=\u0141ucja\r\nLanguage=POL\r\n"),
     Utf16File(L"[Main]\r\nGracz=\u0141ucja\r\nLanguage=GER\r\n")},
    {"UTF-16 with the big-endian mark stays big-endian", Utf16File(L"[Main]\r\nLanguage=POL\r\n", true),
     Utf16File(L"[Main]\r\nLanguage=GER\r\n", true)},
    {"a key added to a big-endian file", Utf16File(L"[Main]\nName=Kor\n[Video]\n", true),
     Utf16File(L"[Main]\nName=Kor\nLanguage=GER\n[Video]\n", true)},
    {"CR-only line ends: the value is found", "[Main]\rName=Kor\rLanguage=POL\r",
     "[Main]\rName=Kor\rLanguage=GER\r"},
    {"CR-only line ends: a new line ends in CR", "[Main]\rName=Kor\r[Video]\r",
     "[Main]\rName=Kor\rLanguage=GER\r[Video]\r"},
    {"a lone CR in a CRLF file ends a line, as for the system's reader",
     "[Main]\r\nName=Kor\rLanguage=POL\r\n", "[Main]\r\nName=Kor\rLanguage=GER\r\n"},
    {"UTF-16 of odd length cannot be written back as it is", Utf16File(L"[Main]\r\nLanguage=POL\r\n") + "x",
     std::nullopt},
    {"big-endian UTF-16 of odd length", Utf16File(L"[Video]\r\n", true) + "x", std::nullopt},
    {"8-bit text with zero bytes (UTF-16 without a mark)",
     std::string("[\0M\0a\0i\0n\0]\0\r\0\n\0", 16), std::nullopt},
    {"a key line without \"=\" is the key and gets its value", "[Main]\r\nLanguage\r\nX=1\r\n",
     "[Main]\r\nLanguage=GER\r\nX=1\r\n"},
    {"a header without \"]\" opens no section", "[Main\r\nLanguage=ENG\r\n[Main]\r\nLanguage=POL\r\n",
     "[Main\r\nLanguage=ENG\r\n[Main]\r\nLanguage=GER\r\n"},
    {"a header without \"]\" is a line of the section before it", "[Main]\r\n[Video\r\nLanguage=POL\r\n",
     "[Main]\r\n[Video\r\nLanguage=GER\r\n"},
    {"a vertical tab before the key is blank", "[Main]\r\n\x0bLanguage=POL\r\n", "[Main]\r\n\x0bLanguage=GER\r\n"},
    {"a form feed after the key is blank", "[Main]\r\nLanguage\x0c=POL\r\n", "[Main]\r\nLanguage\x0c=GER\r\n"},
    {"a Ctrl-Z after the key is blank", "[Main]\r\nLanguage\x1a=POL\r\n", "[Main]\r\nLanguage\x1a=GER\r\n"},
    {"a vertical tab in the section's brackets is blank", "[\x0bMain]\r\nLanguage=POL\r\n",
     "[\x0bMain]\r\nLanguage=GER\r\n"},
    {"each of them around the value and the line stays", "\x1a[Main\x0c]\r\n\t\x0cLanguage=\x0b\x1aPOL\x0c\t\x1a\r\n",
     "\x1a[Main\x0c]\r\n\t\x0cLanguage=\x0b\x1aGER\x0c\t\x1a\r\n"},
    {"in UTF-16 too", Utf16File(L"[\x0bMain]\r\n\x0cLanguage\x1a=\x0bPOL\r\n"),
     Utf16File(L"[\x0bMain]\r\n\x0cLanguage\x1a=\x0bGER\r\n")},
    {"a no-break space is no blank: that key is another", Utf16File(L"[Main]\r\n\u00a0Language=POL\r\n"),
     Utf16File(L"[Main]\r\n\u00a0Language=POL\r\nLanguage=GER\r\n")},
};

TEST(IniFile, AWriteChangesTheOneValueAndLeavesEveryOtherByteOrNone) {
  for (const EditCase& c : kEdits) {
    SCOPED_TRACE(c.what);
    TempDir temp;
    std::string path = temp / "tarn.ini";
    if (c.before) WriteFileBytes(path, *c.before);
    std::string error;
    try {
      IniFile(path).WriteString("Main", "Language", "GER");
    } catch (const platform::Error& e) {
      error = e.what();
    }
    if (c.after) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(ReadFileBytes(path), *c.after);
      EXPECT_EQ(IniFile(path).ReadString("Main", "Language", ""), "GER");
    } else {
      EXPECT_EQ(error, "Unable to write to " + path);
      EXPECT_EQ(ReadFileBytes(path), *c.before);
    }
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"tarn.ini"}) << "no file is left beside it";
  }
}

TEST(IniFile, AValueTheFilesCodePageCannotHoldIsNotWritten) {
  TempDir temp;
  std::string path = temp / "thmanager.ini";
  WriteFileBytes(path, "[Main]\r\nLanguage=English\r\n");
  // No 8-bit code page has the clef: the file would hold a stand-in that no reader takes back.
  // A system whose code page is UTF-8 reads it as written.
  const std::string clef = "\xF0\x9D\x84\x9E";
  if (GetACP() == CP_UTF8) {
    IniFile(path).WriteString("Main", "Language", clef);
    EXPECT_EQ(ReadFileBytes(path), "[Main]\r\nLanguage=" + clef + "\r\n");
  } else {
    EXPECT_THROW(IniFile(path).WriteString("Main", "Language", clef), platform::Error);
    EXPECT_EQ(ReadFileBytes(path), "[Main]\r\nLanguage=English\r\n");
  }
  WriteFileBytes(path, Utf16File(L"[Main]\r\n"));
  IniFile(path).WriteString("Main", "Language", clef);
  EXPECT_EQ(IniFile(path).ReadString("Main", "Language", ""), clef);
}

// Polish letters in an 8-bit file: in the system's ANSI code page where it has them (1250, or
// UTF-8), and read back so by the system's reader; refused where it has not (1252).
TEST(IniFile, AnEightBitFileTakesTheSystemsCodePageOrRefuses) {
  TempDir temp;
  std::string path = temp / "thmanager.ini";
  const std::string before = "[Main]\r\nGracz=Kor\r\n";
  WriteFileBytes(path, before);
  std::optional<std::string> bytes = platform::ToCodePage(L"\u0141ucja", GetACP());
  if (bytes) {
    IniFile(path).WriteString("Main", "Gracz", "\xC5\x81ucja");
    EXPECT_EQ(ReadFileBytes(path), "[Main]\r\nGracz=" + *bytes + "\r\n");
    wchar_t system[64];
    GetPrivateProfileStringW(L"Main", L"Gracz", L"", system, 64, platform::Widen(path).c_str());
    EXPECT_EQ(std::wstring(system), L"\u0141ucja");
  } else {
    EXPECT_THROW(IniFile(path).WriteString("Main", "Gracz", "\xC5\x81ucja"), platform::Error);
    EXPECT_EQ(ReadFileBytes(path), before);
  }
}

// A stand-in put into one of the platform's seams (code pages, deletions, rights) for a scope;
// the previous one goes back after it.
template <typename T>
class StandIn {
 public:
  StandIn(T (*set)(T), T value) : set_(set), previous_(set(std::move(value))) {}
  ~StandIn() { set_(std::move(previous_)); }
  StandIn(const StandIn&) = delete;

 private:
  T (*set_)(T);
  T previous_;
};
using CodePages = StandIn<platform::CodePages>;

TEST(IniFile, AConversionThatFailsIsARefusalNeverAnEmptyValue) {
  TempDir temp;
  std::string path = temp / "tarn.ini";
  WriteFileBytes(path, "[Main]\r\nLanguage=POL\r\n");
  CodePages unknown(platform::SetCodePages, {12345, 0});  // a code page that the system cannot convert to
  EXPECT_THROW(IniFile(path).WriteString("Main", "Language", "GER"), platform::Error);
  EXPECT_EQ(ReadFileBytes(path), "[Main]\r\nLanguage=POL\r\n");
}

TEST(IniFile, AnEightBitFileIsReadInTheSystemsCodePageUtf8Too) {
  TempDir temp;
  std::string path = temp / "thmanager.ini";
  WriteFileBytes(path, "[Main]\r\nGracz=\xC5\x81ucja\r\n");
  struct Case {
    unsigned ansi;
    const char* read;
  };
  for (Case c : {Case{CP_UTF8, "\xC5\x81ucja"}, Case{1250, "\xC4\xB9\xC2\x81ucja"}}) {
    SCOPED_TRACE(c.ansi);
    CodePages pages(platform::SetCodePages, {c.ansi, 0});
    EXPECT_EQ(IniFile(path).ReadString("Main", "Gracz", ""), c.read);
  }
}

// Each value is read as the system's own reader (the one the game uses) reads it.
TEST(IniFile, ReadsWhatTheSystemsReaderReads) {
  const std::string shapes[] = {
      "[Main]\r\nLanguage=POL\r\n",
      "[Main]\rLanguage=POL\r",
      "[Main]\nLanguage=POL",
      "[Main]\r\nA=1\rLanguage=POL\r\n",
      "[Main]\rA=1\nLanguage=POL\r",
      "\xEF\xBB\xBF[Main]\r\nLanguage=POL\r\n",
      Utf16File(L"[Main]\r\nLanguage=POL\r\n"),
      Utf16File(L"[Main]\r\nLanguage=POL\r\n", true),
      Utf16File(L"[Main]\r\nLanguage=POL\r\n") + "x",
      "[Main]\r\n;Language=ENG\r\n",
      "[ main ]\r\n language = \"POL\" \r\n",
      "[Main]\r\nLanguage=POL\r\nLanguage=GER\r\n[Main]\r\nLanguage=ITA\r\n",
      "[Main]\r\nLanguage\r\nX=1\r\nLanguage=FRA\r\n",
      "[Main]\r\n Language \r\n",
      "[Main\r\nLanguage=ENG\r\n[Main]\r\nLanguage=POL\r\n",
      "[Main]\r\n[Video\r\nLanguage=POL\r\n",
      "[\r\nLanguage=POL\r\n",
      "[Ma]in]\r\nLanguage=POL\r\n",
      "[Main]x\r\nLanguage=POL\r\n",
      "[Main]\r\n\x0bLanguage=POL\r\n",
      "[Main]\r\nLanguage\x0c=POL\r\n",
      "[Main]\r\nLanguage\x1a=POL\r\n",
      "[\x0bMain]\r\nLanguage=POL\r\n",
      "[Main\x1a]\r\nLanguage=POL\r\n",
      "\x0c[Main]\r\n\tLanguage=\x0b\x1a\"POL\"\x0c\x1a\r\n",
      "[Main]\r\n\x1cLanguage=POL\r\n",
      "[Main]\r\n\x85Language=POL\r\n",
      "[Main]\r\n\xa0Language=POL\r\n",
      Utf16File(L"[\x0bMain]\r\n\x1aLanguage\x0c=\x0bPOL\x1a\r\n"),
      Utf16File(L"[Main]\r\n\u00a0Language=POL\r\n"),
      Utf16File(L"[Main]\r\n\u3000Language=POL\r\n"),
  };
  TempDir temp;
  std::string path = temp / "tarn.ini";
  for (const std::string& shape : shapes) {
    SCOPED_TRACE(shape);
    WriteFileBytes(path, shape);
    wchar_t system[64];
    GetPrivateProfileStringW(L"Main", L"Language", L"none", system, 64, platform::Widen(path).c_str());
    EXPECT_EQ(IniFile(path).ReadString("Main", "Language", "none"), platform::Narrow(system));
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

namespace {

using testing_support::RunUnixCommand;
using testing_support::SmallDisk;
using testing_support::UnixPath;

// A disk that takes so many more bytes from the INI layer and is then full.
class FillingDisk {
 public:
  explicit FillingDisk(size_t room) : room_(room) {
    previous_ = platform::SetFileWriter([this](HANDLE f, const char* data, DWORD size, DWORD* written) {
      DWORD n = static_cast<DWORD>(std::min<size_t>(size, room_));
      *written = 0;
      if (n && !WriteFile(f, data, n, written, nullptr)) return false;
      room_ -= *written;
      if (*written == size) return true;
      SetLastError(ERROR_DISK_FULL);
      return false;
    });
  }
  ~FillingDisk() { platform::SetFileWriter(std::move(previous_)); }
  FillingDisk(const FillingDisk&) = delete;

 private:
  size_t room_;
  platform::FileWriter previous_;
};

// The file's access list as text.
std::string Rights(const std::string& path) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  PACL dacl = nullptr;
  if (GetNamedSecurityInfoW(platform::Widen(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, &dacl, nullptr, &sd) != ERROR_SUCCESS)
    return "none";
  LPWSTR text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorW(sd, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr);
  std::string rights = text ? platform::Narrow(text) : "none";
  LocalFree(text);
  LocalFree(sd);
  return rights;
}

// Gives everyone the right to write the file (as an installer that lets every user change the
// game's settings does), so that the list differs from a new file's.
void LetEveryoneWrite(const std::string& path) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;FA;;;SY)(A;;FA;;;BA)(A;;FRFW;;;WD)",
                                                                   SDDL_REVISION_1, &sd, nullptr));
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted);
  EXPECT_EQ(SetNamedSecurityInfoW(const_cast<LPWSTR>(platform::Widen(path).c_str()), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl, nullptr),
            static_cast<DWORD>(ERROR_SUCCESS));
  LocalFree(sd);
}

// A folder whose files may be written but in which no file may be made, deleted or renamed; as
// root that is an immutable folder (chattr +i). Nothing when the machine does not allow it.
class SealedFolder {
 public:
  explicit SealedFolder(const std::string& folder) : unix_(UnixPath(folder)) {
    sealed_ = !unix_.empty() && RunUnixCommand("chattr +i '" + unix_ + "'");
  }
  ~SealedFolder() {
    if (sealed_) RunUnixCommand("chattr -i '" + unix_ + "'");
  }
  SealedFolder(const SealedFolder&) = delete;
  bool Sealed() const { return sealed_; }

 private:
  std::string unix_;
  bool sealed_ = false;
};

const std::string kSettings = "[Main]\r\nName=Kor\r\n[Video]\r\nWidth=1024\r\n";
const std::string kWritten = "[Main]\r\nName=Kor\r\nLanguage=FRA\r\n[Video]\r\nWidth=1024\r\n";

std::string WriteError(const std::string& path) {
  try {
    IniFile(path).WriteString("Main", "Language", "FRA");
  } catch (const platform::Error& e) {
    return e.what();
  }
  return "";
}

TEST(IniFile, AWriteThatFailsHalfwayLeavesTheFileAsItWasAndNothingBeside) {
  TempDir temp;
  std::string path = temp / "tarn.ini";
  for (size_t room : {size_t{0}, size_t{10}, kWritten.size() - 1}) {
    SCOPED_TRACE(room);
    WriteFileBytes(path, kSettings);
    {
      FillingDisk disk(room);
      EXPECT_EQ(WriteError(path), "Unable to write to " + path);
    }
    EXPECT_EQ(ReadFileBytes(path), kSettings);
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"tarn.ini"});
  }
  FillingDisk roomy(kWritten.size());
  EXPECT_EQ(WriteError(path), "");
  EXPECT_EQ(ReadFileBytes(path), kWritten);
}

TEST(IniFile, AFullDiskLeavesTheFileAsItWasAndNothingBeside) {
  SmallDisk disk(64);
  if (!disk.Mounted()) GTEST_SKIP() << "this machine lets no test mount a small disk (needs root)";
  std::string path = disk / "tarn.ini";
  // 8 KB, two whole blocks of the disk: any line more needs a block that the disk no longer has.
  std::string settings = kSettings;
  while (settings.size() < 8192) settings += std::string(std::min<size_t>(62, 8192 - settings.size() - 2), ';') + "\r\n";
  ASSERT_EQ(settings.size(), 8192u);
  WriteFileBytes(path, settings);
  disk.Fill("filler");
  std::vector<std::string> names = FolderNames(disk / "");
  EXPECT_EQ(WriteError(path), "Unable to write to " + path);
  EXPECT_EQ(ReadFileBytes(path), settings) << "not cut, not half-written";
  EXPECT_EQ(FolderNames(disk / ""), names) << "no file is left beside it";
  DeleteFileW(platform::Widen(disk / "filler").c_str());
  EXPECT_EQ(WriteError(path), "");
  settings.insert(kSettings.find("[Video]"), "Language=FRA\r\n");
  EXPECT_EQ(ReadFileBytes(path), settings);
}

TEST(IniFile, AWriteKeepsTheHiddenAttributeAndTheRightsAndARefusedReadOnlyFileStays) {
  TempDir temp;
  std::string path = temp / "tarn.ini";
  WriteFileBytes(path, kSettings);
  LetEveryoneWrite(path);
  std::string rights = Rights(path);
  ASSERT_TRUE(SetFileAttributesW(platform::Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(WriteError(path), "");
  EXPECT_EQ(ReadFileBytes(path), kWritten);
  EXPECT_TRUE(GetFileAttributesW(platform::Widen(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Rights(path), rights);

  // Windows refuses to write a read-only file, also to an administrator; Wine as root would not.
  WriteFileBytes(path, kSettings);
  ASSERT_TRUE(SetFileAttributesW(platform::Widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(WriteError(path), "Unable to write to " + path);
  EXPECT_EQ(ReadFileBytes(path), kSettings);
  EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"tarn.ini"});
}

TEST(IniFile, AFileThatMayBeWrittenButNotReplacedIsWrittenInPlaceOnlyWhenTheWholeTextStood) {
  TempDir temp;
  std::string path = temp / "tarn.ini";
  WriteFileBytes(path, kSettings);
  ASSERT_TRUE(SetFileAttributesW(platform::Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
  SealedFolder sealed(temp.Path());
  if (!sealed.Sealed()) GTEST_SKIP() << "this machine lets no test seal a folder (chattr +i needs root)";
  ASSERT_FALSE(CopyFileW(platform::Widen(path).c_str(), platform::Widen(temp / "copy").c_str(), FALSE));

  // The copy in the temporary folder fails, then the growth of the file itself: both leave it.
  for (size_t room : {size_t{10}, kWritten.size() + 3}) {
    SCOPED_TRACE(room);
    FillingDisk disk(room);
    EXPECT_EQ(WriteError(path), "Unable to write to " + path);
    EXPECT_EQ(ReadFileBytes(path), kSettings);
  }
  EXPECT_EQ(WriteError(path), "");
  EXPECT_EQ(ReadFileBytes(path), kWritten);
  EXPECT_TRUE(GetFileAttributesW(platform::Widen(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"tarn.ini"});
  for (const std::string& name : FolderNames(platform::TempDirectory()))
    EXPECT_EQ(name.find("tarnholm-ini"), std::string::npos) << name << " is left in the temporary folder";
}

// A settings file that is a link, as players who run the game under Wine keep it: the link
// stays, the file it points to takes the text, all or nothing, and is never deleted.
TEST(IniFile, ALinkStaysALinkAndItsFileTakesTheWholeTextOrNone) {
  TempDir game, elsewhere;
  std::string link = game / "tarn.ini", target = elsewhere / "tarn.ini";
  WriteFileBytes(target, kSettings);
  if (UnixPath(link).empty() || !RunUnixCommand("ln -s '" + UnixPath(target) + "' '" + UnixPath(link) + "'"))
    GTEST_SKIP() << "this machine makes no links (not under Wine)";
  auto isLink = [&] { return RunUnixCommand("test -L '" + UnixPath(link) + "'"); };
  for (size_t room : {size_t{0}, size_t{10}}) {
    SCOPED_TRACE(room);
    FillingDisk disk(room);
    EXPECT_EQ(WriteError(link), "Unable to write to " + link);
    EXPECT_EQ(ReadFileBytes(target), kSettings);
  }
  EXPECT_EQ(WriteError(link), "");
  EXPECT_TRUE(isLink());
  EXPECT_EQ(ReadFileBytes(target), kWritten);
  EXPECT_EQ(IniFile(link).ReadString("Main", "Language", ""), "FRA");
  EXPECT_EQ(FolderNames(game.Path()), std::vector<std::string>{"tarn.ini"});
  EXPECT_EQ(FolderNames(elsewhere.Path()), std::vector<std::string>{"tarn.ini"});
}

// Each refused write leaves the file as it was and nothing beside it, however often it is tried.
TEST(IniFile, ARefusedWriteLeavesNothingBesideTheFile) {
  struct Holder {
    const char* what;
    DWORD access, sharing;  // how the game holds the file open; no access: an immutable file
  };
  const Holder holders[] = {
      {"held by the game with read sharing only", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ},
      {"held by the game with read and write sharing", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE},
      {"an immutable file", 0, 0},
  };
  for (const Holder& h : holders) {
    SCOPED_TRACE(h.what);
    TempDir temp;
    std::string path = temp / "tarn.ini";
    WriteFileBytes(path, kSettings);
    HANDLE game = INVALID_HANDLE_VALUE;
    std::string unixPath = UnixPath(path);
    if (h.access) {
      game = CreateFileW(platform::Widen(path).c_str(), h.access, h.sharing, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(game, INVALID_HANDLE_VALUE);
    } else if (unixPath.empty() || !RunUnixCommand("chattr +i '" + unixPath + "'")) {
      continue;  // this machine cannot make a file immutable (chattr +i needs root)
    }
    for (int press = 0; press < 3; ++press) EXPECT_EQ(WriteError(path), "Unable to write to " + path);
    if (h.access)
      CloseHandle(game);
    else
      RunUnixCommand("chattr -i '" + unixPath + "'");
    EXPECT_EQ(ReadFileBytes(path), kSettings);
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"tarn.ini"});
  }
}

// A value that the system's reader would give back otherwise (it strips quotes and blanks) is not
// reported written: the file is put back byte for byte, or not made at all.
TEST(IniFile, AWriteThatTheSystemsReaderWouldReadOtherwiseIsUndone) {
  for (const char* value : {"\"GER\"", " GER", "'GER'"}) {
    SCOPED_TRACE(value);
    TempDir temp;
    std::string kept = temp / "tarn.ini", missing = temp / "new.ini";
    WriteFileBytes(kept, kSettings);
    EXPECT_THROW(IniFile(kept).WriteString("Main", "Language", value), platform::Error);
    EXPECT_EQ(ReadFileBytes(kept), kSettings);
    EXPECT_THROW(IniFile(missing).WriteString("Main", "Language", value), platform::Error);
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"tarn.ini"});
  }
}

// A deleter that refuses to delete the files whose names end so, as a file that a virus scanner
// holds stays, after running the side step given.
platform::FileDeleter Refusing(std::wstring ending, std::function<void(const std::wstring&)> sideStep = {}) {
  return [=](const std::wstring& path) {
    if (path.size() < ending.size() || path.compare(path.size() - ending.size(), ending.size(), ending) != 0)
      return DeleteFileW(path.c_str()) != FALSE;
    if (sideStep) sideStep(path);
    SetLastError(ERROR_SHARING_VIOLATION);
    return false;
  };
}
using Deletions = StandIn<platform::FileDeleter>;

// The old file cannot be deleted after the replace: it goes back, and the write is refused with
// nothing beside the file. Where it cannot go back either, the write says so and names it.
TEST(IniFile, AnOldFileThatStaysAfterTheReplaceGoesBackOrIsNamed) {
  TempDir temp;
  std::string path = temp / "tarn.ini";
  WriteFileBytes(path, kSettings);
  {
    Deletions scanner(platform::SetFileDeleter, Refusing(L".old"));
    EXPECT_EQ(WriteError(path), "Unable to write to " + path);
  }
  EXPECT_EQ(ReadFileBytes(path), kSettings);
  EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"tarn.ini"});

  // The folder is sealed when the old file is to go, so that it cannot go back either.
  std::string folder = UnixPath(temp.Path()), left, error;
  bool sealed = false;
  {
    Deletions scanner(platform::SetFileDeleter, Refusing(L".old", [&](const std::wstring& old) {
                        left = platform::Narrow(old);
                        sealed = !folder.empty() && RunUnixCommand("chattr +i '" + folder + "'");
                      }));
    error = WriteError(path);
  }
  if (sealed) RunUnixCommand("chattr -i '" + folder + "'");
  if (!sealed) GTEST_SKIP() << "this machine lets no test seal a folder (chattr +i needs root)";
  EXPECT_EQ(error, "Unable to finish writing " + path + ": its old text stays in " + left);
  EXPECT_EQ(ReadFileBytes(path), kWritten);
  EXPECT_EQ(ReadFileBytes(left), kSettings);
  EXPECT_EQ(FolderNames(temp.Path()).size(), 2u);
}

// The new file beside it cannot be deleted after a write that failed: the write names it.
TEST(IniFile, ANewFileThatStaysAfterAFailedWriteIsNamed) {
  for (bool held : {false, true}) {
    SCOPED_TRACE(held ? "the game holds the file without delete sharing" : "the disk is full");
    TempDir temp;
    std::string path = temp / "tarn.ini", left, error;
    WriteFileBytes(path, kSettings);
    HANDLE game = held ? CreateFileW(platform::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr)
                       : INVALID_HANDLE_VALUE;
    {
      Deletions scanner(platform::SetFileDeleter,
                        Refusing(L".tmp", [&](const std::wstring& copy) { left = platform::Narrow(copy); }));
      std::optional<FillingDisk> disk;
      if (!held) disk.emplace(10);
      error = WriteError(path);
    }
    if (game != INVALID_HANDLE_VALUE) CloseHandle(game);
    ASSERT_FALSE(left.empty()) << "no new file was to go";
    EXPECT_EQ(error, "Unable to write to " + path + ", and " + left + " stays beside it");
    EXPECT_EQ(ReadFileBytes(path), kSettings);
    EXPECT_EQ(FolderNames(temp.Path()).size(), 2u);
    DeleteFileW(platform::Widen(left).c_str());
  }
}

// Rights that cannot be put back after the replace: the old file goes back, rights and all;
// where the system refused them for want of rights the text is then written in place, else the
// write is refused.
TEST(IniFile, RightsThatCannotBePutBackAreNeverChangedByAWrite) {
  struct Case {
    DWORD error;
    bool written;
  };
  for (Case c : {Case{ERROR_ACCESS_DENIED, true}, Case{ERROR_SHARING_VIOLATION, false}}) {
    SCOPED_TRACE(c.error);
    TempDir temp;
    std::string path = temp / "tarn.ini";
    WriteFileBytes(path, kSettings);
    LetEveryoneWrite(path);
    std::string rights = Rights(path), error;
    int tries = 0;
    {
      StandIn<platform::RightsSetter> refused(platform::SetRightsSetter,
                                              [&](const std::wstring&, SECURITY_INFORMATION, PACL) {
                                                ++tries;
                                                return c.error;
                                              });
      error = WriteError(path);
    }
    EXPECT_GT(tries, 0) << "the replace kept the rights: nothing was tried";
    EXPECT_EQ(Rights(path), rights);
    EXPECT_EQ(error, c.written ? "" : "Unable to write to " + path);
    EXPECT_EQ(ReadFileBytes(path), c.written ? kWritten : kSettings);
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"tarn.ini"});
  }
}

// A write that the system's reader would read otherwise is undone; where the undo fails, the
// write does not say that the file is as it was.
TEST(IniFile, AnUndoThatFailsIsSaid) {
  TempDir temp;
  std::string kept = temp / "tarn.ini", made = temp / "new.ini";
  auto writeError = [](const std::string& path) {
    try {
      IniFile(path).WriteString("Main", "Language", "\"GER\"");
    } catch (const platform::Error& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  auto notUndone = [](const std::string& path) {
    return "Unable to write to " + path + ", and the file could not be put back as it was";
  };
  // The disk is full once the new text stands.
  const std::string quoted = "[Main]\r\nName=Kor\r\nLanguage=\"GER\"\r\n[Video]\r\nWidth=1024\r\n";
  WriteFileBytes(kept, kSettings);
  {
    FillingDisk disk(quoted.size());
    EXPECT_EQ(writeError(kept), notUndone(kept));
  }
  EXPECT_EQ(ReadFileBytes(kept), quoted);
  // The file that the write made cannot be deleted.
  {
    Deletions scanner(platform::SetFileDeleter, Refusing(L"new.ini"));
    EXPECT_EQ(writeError(made), notUndone(made));
  }
  EXPECT_EQ(ReadFileBytes(made), "[Main]\r\nLanguage=\"GER\"\r\n");
  EXPECT_EQ(FolderNames(temp.Path()), (std::vector<std::string>{"new.ini", "tarn.ini"}));
}

}  // namespace

namespace {

// The resolved path is kept as the programs keep paths: full, in long names, without "\\?\",
// through a link the file that it points to; a missing file is its own path.
TEST(FinalPath, IsTheFullPathInLongNamesWithoutTheDevicePrefix) {
  TempDir temp, elsewhere;
  std::string folder = temp / "Tarnholm settings folder", file = folder + "\\tarn settings.ini";
  ASSERT_TRUE(CreateDirectoryW(platform::Widen(folder).c_str(), nullptr));
  WriteFileBytes(file, "x");
  wchar_t longFile[MAX_PATH], shortFile[MAX_PATH];
  ASSERT_GT(GetLongPathNameW(platform::Widen(file).c_str(), longFile, MAX_PATH), 0u);
  ASSERT_GT(GetShortPathNameW(platform::Widen(file).c_str(), shortFile, MAX_PATH), 0u);
  std::wstring longFolder = longFile;
  longFolder.erase(longFolder.rfind(L'\\'));
  DWORD error = 0;
  auto same = [](const std::wstring& a, const std::wstring& b) {
    return platform::EqualsIgnoreCase(platform::Narrow(a), platform::Narrow(b));
  };
  EXPECT_PRED2(same, platform::FinalPath(platform::Widen(file), error), longFile);
  EXPECT_PRED2(same, platform::FinalPath(shortFile, error), longFile);
  std::wstring missing = platform::Widen(temp / "missing.ini");
  EXPECT_EQ(platform::FinalPath(missing, error), missing);
  HANDLE held = CreateFileW(platform::Widen(folder).c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_PRED2(same, platform::FinalPath(held), longFolder);
  CloseHandle(held);

  std::string link = elsewhere / "tarn.ini";
  if (UnixPath(link).empty() || !RunUnixCommand("ln -s '" + UnixPath(file) + "' '" + UnixPath(link) + "'"))
    GTEST_SKIP() << "this machine makes no links (not under Wine)";
  EXPECT_PRED2(same, platform::FinalPath(platform::Widen(link), error), longFile);
}

}  // namespace
