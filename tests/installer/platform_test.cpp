// The platform services that the installer adds: carried resources, file writing, disk space,
// number formatting and the shell link object.
#include <windows.h>

#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "platform/disk_space.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/number_format.h"
#include "platform/resources.h"
#include "platform/shell_link.h"
#include "platform/text.h"
#include "support/fixtures.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;

std::string ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const platform::Error& e) {
    return e.what();
  }
  return "<no error>";
}

TEST(ResourceStreamTest, AResourceIsSavedByteForByteAndAMissingOneIsNamed) {
  TempDir temp;
  platform::ResourceStream readme("README");
  ASSERT_GT(readme.Size(), 0u);
  readme.SaveToFile(temp / "readme.txt");
  EXPECT_TRUE(ReadFileBytes(temp / "readme.txt") ==
              std::string(static_cast<const char*>(readme.Data()), readme.Size()));
  platform::ResourceStream("readme").SaveToFile(temp / "again.txt");  // names ignore case
  EXPECT_EQ(ReadFileBytes(temp / "again.txt").size(), readme.Size());
  EXPECT_EQ(ErrorOf([] { platform::ResourceStream("THENCX"); }), "Resource THENCX not found");
}

TEST(ResourceStreamTest, FilesThatCannotBeCreatedOrFilledRaiseTheLibrarysErrorsAndStayAsTheyWere) {
  TempDir temp;
  platform::ResourceStream readme("README");
  std::string missing = temp / "No Such\\file.exe";
  EXPECT_EQ(ErrorOf([&] { readme.SaveToFile(missing); }),
            "Cannot create file \"" + missing + "\". " + platform::SystemErrorText(ERROR_PATH_NOT_FOUND));

  // A program running from the file holds it: the creation fails, and the message shows the
  // path in full even when it was given relative.
  testing_support::WriteFileBytes(temp / "THManager.exe", "running");
  HANDLE running = CreateFileW(platform::Widen(temp / "THManager.exe").c_str(), GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(platform::Widen(temp.Path()).c_str());
  std::string message = ErrorOf([&] { readme.SaveToFile("THManager.exe"); });
  SetCurrentDirectoryW(before);
  CloseHandle(running);
  EXPECT_EQ(message, "Cannot create file \"" + temp / "THManager.exe" + "\". " +
                         platform::SystemErrorText(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(ReadFileBytes(temp / "THManager.exe"), "running");
  EXPECT_EQ(testing_support::FolderNames(temp.Path()), std::vector<std::string>{"THManager.exe"});
}

TEST(DiskSpaceTest, DriveNumbersNameDrivesInEitherCase) {
  std::int64_t total = platform::DiskSize('C' - 64);
  ASSERT_GT(total, 0);
  EXPECT_EQ(platform::DiskSize(static_cast<unsigned char>('c' - 64)), total);
  std::int64_t free = platform::DiskFree('C' - 64);
  EXPECT_GE(free, 0);
  EXPECT_LE(free, total);
  EXPECT_GT(platform::DiskSize(0), 0) << "the current folder's drive";
  EXPECT_EQ(platform::DiskFree('Q' - 64), -1);
  EXPECT_EQ(platform::DiskSize('Q' - 64), -1);
  EXPECT_EQ(platform::DiskSize(static_cast<unsigned char>('1' - 64)), -1);
}

TEST(NumberFormatTest, NumbersAreGroupedPaddedAndNeverCut) {
  struct Case {
    double value;
    int width, decimals;
    const char* locale;
    const char* text;
  };
  const Case cases[] = {
      {100000000000.0, 12, 0, "en-US", "100,000,000,000"},
      {1234567.0, 12, 0, "en-US", "   1,234,567"},
      {-1.0, 12, 0, "en-US", "          -1"},
      {-1234.0, 0, 0, "en-US", "-1,234"},
      {0.0, 3, 0, "en-US", "  0"},
      {1234.5, 0, 2, "en-US", "1,234.50"},
      {1234567.0, 12, 0, "pl-PL", "   1\u00a0234\u00a0567"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(platform::FormatNumber(c.value, c.width, c.decimals, c.locale), c.text);
  }
}

TEST(ShellLinkTest, ALinkObjectThatCannotBeMadeNamesTheReasonAndTheClass) {
  // A thread that never initialised COM gets no link object.
  std::string message;
  std::thread([&] { message = ErrorOf([] { platform::ShellLink link; }); }).join();
  EXPECT_EQ(message, platform::SystemErrorText(static_cast<unsigned long>(CO_E_NOTINITIALIZED)) +
                         ", ClassID: {00021401-0000-0000-C000-000000000046}");
}

}  // namespace
