// The folder page: the field, its pickers and the disk-space labels.
#include <windows.h>

#include <map>

#include "installer_fixture.h"
#include "platform/text.h"
#include "support/fixtures.h"

namespace installer_tests {
namespace {

// The user's thousands separator, as the labels must use it.
std::string Separator() {
  wchar_t sep[8] = L",";
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, sep, 8);
  return platform::Narrow(sep);
}

// Digits with "," where the locale puts its separator.
std::string Localised(std::string text) {
  std::string out;
  for (char c : text) out += c == ',' ? Separator() : std::string(1, c);
  return out;
}

class FolderPageTest : public InstallerTest {
 protected:
  // Figures per drive number; any other drive cannot be queried.
  void FakeDisks(std::map<unsigned char, std::pair<std::int64_t, std::int64_t>> disks) {
    disks_ = std::move(disks);
    form->DiskFree = [this](unsigned char d) {
      asked.push_back(d);
      return disks_.count(d) ? disks_[d].first : -1;
    };
    form->DiskSize = [this](unsigned char d) { return disks_.count(d) ? disks_[d].second : -1; };
  }
  std::vector<std::string> Labels() const {
    return {form->FreeSpaceLabel.Caption(), form->TotalSpaceLabel.Caption(),
            form->ProportionalLabel.Caption()};
  }
  std::vector<unsigned char> asked;

 private:
  std::map<unsigned char, std::pair<std::int64_t, std::int64_t>> disks_;
};

TEST_F(FolderPageTest, DiskLabelsFollowTheFirstCharacterOfTheField) {
  struct Case {
    const char* field;
    bool polish;
    unsigned char drive;  // the drive number asked for
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {"d:\\games", false, 36,
       {"Free Space:    1,234,567", "Total Space:   10,000,000", "88% Percent usage."}},
      {"D:\\games", false, 4,
       {"Free Space:    7,654,321", "Total Space:   20,000,000", "62% Percent usage."}},
      {"\\\\server\\share", false, 28,
       {"Free Space:           -1", "Total Space:           -1", "0% Percent usage."}},
      {"1games", false, 241,
       {"Free Space:           -1", "Total Space:           -1", "0% Percent usage."}},
      {"Łódź", false, 255,
       {"Free Space:           -1", "Total Space:           -1", "0% Percent usage."}},
      {"@", false, 0, {"Free Space:            0", "Total Space:          100", "100% Percent usage."}},
      {"e:", false, 37,
       {"Free Space:            0", "Total Space: 100,000,000,000", "100% Percent usage."}},
      {"f", false, 38, {"Free Space:           99", "Total Space:          200", "50% Percent usage."}},
      {"g", false, 39, {"Free Space:           97", "Total Space:          200", "52% Percent usage."}},
      {"h", false, 40, {"Free Space:           10", "Total Space:            0", "0% Percent usage."}},
      {"d:\\games", true, 36,
       {"Wolna przestrzeń:    1,234,567", "Całkowita przestrzeń:   10,000,000",
        "88% Użycie procentowe."}},
      {"\\\\server", true, 28,
       {"Wolna przestrzeń:           -1", "Całkowita przestrzeń:           -1",
        "0% Użycie procentowe."}},
  };
  FakeDisks({{36, {1234567, 10000000}},
             {4, {7654321, 20000000}},
             {0, {0, 100}},
             {37, {0, 100000000000}},
             {38, {99, 200}},  // 50.5 %, to the even 50
             {39, {97, 200}},  // 51.5 %, to the even 52
             {40, {10, 0}}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    if (c.polish) form->Polski1.Click();
    asked.clear();
    form->DirEdit.SetText(c.field);
    ASSERT_EQ(asked, std::vector<unsigned char>{c.drive});
    std::vector<std::string> expected;
    for (const auto& label : c.labels) expected.push_back(Localised(label));
    EXPECT_EQ(Labels(), expected);
    if (c.polish) form->English1.Click();
  }
}

TEST_F(FolderPageTest, LabelsFollowEveryKeystrokeAndEveryLanguageSwitch) {
  FakeDisks({{36, {500, 1000}}, {3, {250, 1000}}});
  form->DirEdit.SetText("");
  asked.clear();
  form->DirEdit.Type("d:\\g\b");
  EXPECT_EQ(asked.size(), 5u);
  form->Polski1.Click();
  EXPECT_EQ(form->FreeSpaceLabel.Caption(), "Wolna przestrzeń:          500");
  EXPECT_EQ(form->ProportionalLabel.Caption(), "50% Użycie procentowe.");
  // An empty field names no drive: the labels keep what they showed.
  form->DirEdit.SetText("");
  EXPECT_EQ(form->ProportionalLabel.Caption(), "50% Użycie procentowe.");
  EXPECT_EQ(asked.size(), 6u);
}

TEST_F(FolderPageTest, TheRealDrivesAreQueried) {
  form->DirEdit.SetText("C:\\");
  std::string free = form->FreeSpaceLabel.Caption(), total = form->TotalSpaceLabel.Caption();
  EXPECT_EQ(free.rfind("Free Space: ", 0), 0u) << free;
  EXPECT_EQ(free.find("-1"), std::string::npos) << free;
  EXPECT_EQ(total.find("-1"), std::string::npos) << total;
  std::string share = form->ProportionalLabel.Caption();
  int percent = std::stoi(share);
  EXPECT_GE(percent, 0);
  EXPECT_LE(percent, 100);
  EXPECT_EQ(share, std::to_string(percent) + "% Percent usage.");
  // No drive Q in this prefix.
  form->DirEdit.SetText("q:\\");
  EXPECT_EQ(form->FreeSpaceLabel.Caption(), "Free Space:           -1");
}

TEST_F(FolderPageTest, TheFieldStartsWithCThenTheShownFolderCarriesOn) {
  EXPECT_EQ(form->DirEdit.Text(), "c");
  EXPECT_NE(form->FreeSpaceLabel.Caption().find("Free Space:"), std::string::npos)
      << "drive C's figures before the first show";
  FakeDisks({});
  form->Show();
  EXPECT_EQ(form->DirectoryListBox1.Directory(), "C:\\");
  EXPECT_EQ(form->DirEdit.Text(), "C:\\");
  EXPECT_FALSE(asked.empty());

  testing_support::TempDir temp;
  CreateDirectoryW(platform::Widen(temp / "Games").c_str(), nullptr);
  ASSERT_TRUE(form->DirectoryListBox1.SetDirectory(temp / "Games"));
  EXPECT_EQ(form->DirEdit.Text(), WithoutBackslash(temp / "Games"));
  // A relative name resolves against the folder that the list shows.
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_EQ(WithoutBackslash(platform::Narrow(current)), WithoutBackslash(temp / "Games"));
  form->DirectoryListBox1.SetDirectory("C:\\");
}

TEST_F(FolderPageTest, ANewDriveMovesTheListIntoTheFieldBeforeTheBoxReportsIt) {
  char other = 0;
  for (char drive : form->DriveComboBox1.Drives())
    if (drive != form->DriveComboBox1.Drive()) other = drive;
  if (!other) GTEST_SKIP() << "only one drive";
  std::vector<std::string> seen;
  form->DiskFree = [&](unsigned char) {
    seen.push_back(form->DirEdit.Text());
    return std::int64_t{1};
  };
  form->DriveComboBox1.SetDrive(other);
  // The list has carried the new drive's folder into the field before any figures are asked.
  ASSERT_EQ(seen.size(), 2u);
  for (const std::string& field : seen) EXPECT_EQ(std::tolower(static_cast<unsigned char>(field[0])), other);
  EXPECT_EQ(std::tolower(static_cast<unsigned char>(form->DirEdit.Text()[0])), other);
  EXPECT_EQ(form->DirEdit.Text(), form->DirectoryListBox1.Directory());
  form->DirectoryListBox1.SetDirectory("C:\\");
}

}  // namespace
}  // namespace installer_tests
