#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"
#include "platform/registry.h"
#include "support/fixtures.h"

using platform::Registry;
using testing_support::ScratchRegistry;

namespace {

TEST(Registry, PathsFromTheRootOrFromTheCurrentKey) {
  ScratchRegistry scratch;
  Registry reg(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("\\Software", true));
  reg.CreateKey("Kelvora");  // relative: below the current key
  reg.CloseKey();
  EXPECT_TRUE(scratch.KeyExists("Software\\Kelvora"));
  ASSERT_TRUE(reg.OpenKey("\\Software\\Kelvora", false));
  ASSERT_TRUE(reg.OpenKey("Product", true));  // relative again, now from Kelvora
  reg.WriteString("Path", "C:\\Gry\\Łódź\\");
  reg.CloseKey();
  EXPECT_EQ(scratch.GetString("Software\\Kelvora\\Product", "Path"), "C:\\Gry\\Łódź\\");
  EXPECT_FALSE(reg.OpenKey("\\Software\\Nowhere", false));
  EXPECT_EQ(reg.CurrentKey(), nullptr) << "a failed open leaves no key behind";
}

TEST(Registry, ReadingAMissingValueGivesEmptyTextAndAWrongTypeIsAnError) {
  ScratchRegistry scratch;
  scratch.SetString("Software\\Korvel\\Tarnholm", "PATH", "D:\\Tarnholm");
  scratch.SetDword("Software\\Korvel\\Tarnholm", "Number", 5);
  Registry reg(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.ReadString("PATH"), "") << "no current key";
  ASSERT_TRUE(reg.OpenKey("\\Software\\Korvel\\Tarnholm", false));
  EXPECT_EQ(reg.ReadString("path"), "D:\\Tarnholm") << "names are matched without regard to case";
  EXPECT_EQ(reg.ReadString("Missing"), "");
  try {
    reg.ReadString("Number");
    FAIL() << "a number read as text must fail";
  } catch (const platform::Error& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Number'");
  }
}

TEST(Registry, WritingWithoutAKeyAndCreatingAKeyThatCannotBeFailWithTheirMessages) {
  ScratchRegistry scratch;
  Registry reg(HKEY_LOCAL_MACHINE);
  try {
    reg.WriteString("Ver", "3.0");
    FAIL();
  } catch (const platform::Error& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Ver'");
  }
  std::string tooLong = "\\Software\\" + std::string(300, 'x');  // key names end at 255 characters
  try {
    reg.CreateKey(tooLong);
    FAIL();
  } catch (const platform::Error& e) {
    EXPECT_EQ(std::string(e.what()), "Failed to create key " + tooLong);
  }
}

TEST(Registry, DeletingAKeyTakesEverythingUnderItAndLeavesItsParent) {
  ScratchRegistry scratch;
  scratch.SetString("Software\\Kelvora\\ZO Ruruzuz\\Deep\\Deeper", "x", "1");
  scratch.SetString("Software\\Kelvora\\ZO Ruruzuz", "Path", "C:\\");
  Registry reg(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey("\\Software\\Kelvora", false));
  EXPECT_TRUE(reg.DeleteKey("ZO Ruruzuz"));
  EXPECT_FALSE(scratch.KeyExists("Software\\Kelvora\\ZO Ruruzuz"));
  EXPECT_TRUE(scratch.KeyExists("Software\\Kelvora"));
  EXPECT_FALSE(reg.DeleteKey("ZO Ruruzuz")) << "nothing left to delete";
}

// The machine's own key, since the system keeps the two views apart only there; a key of this
// test's own in the views the case names, removed from both at the end.
struct ViewsCase {
  const char* name;
  bool in64, in32;
  bool found;
  const char* value;
};

class RegistryViews : public ::testing::TestWithParam<ViewsCase> {
 protected:
  void SetUp() override {
    const ViewsCase& c = GetParam();
    if (c.in64) Write(KEY_WOW64_64KEY, "64");
    if (c.in32) Write(KEY_WOW64_32KEY, "32");
  }
  void TearDown() override {
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      Registry reg(HKEY_LOCAL_MACHINE, KEY_ALL_ACCESS | view);
      reg.DeleteKey(path);
      EXPECT_FALSE(reg.OpenKey(path, false)) << "left behind in view " << view;
    }
  }
  void Write(REGSAM view, const char* value) {
    Registry reg(HKEY_LOCAL_MACHINE, KEY_ALL_ACCESS | view);
    ASSERT_TRUE(reg.OpenKey(path, true));
    reg.WriteString("PATH", value);
  }
  const std::string path = "\\Software\\TarnholmViews-" + std::to_string(GetCurrentProcessId());
};

TEST_P(RegistryViews, TheSixtyFourBitViewFirstThenTheThirtyTwoBitOne) {
  const ViewsCase& c = GetParam();
  Registry reg(HKEY_LOCAL_MACHINE, KEY_READ);
  EXPECT_EQ(reg.OpenKey(path, false), c.in64) << "an ordinary open sees only this program's own view";
  reg.CloseKey();
  EXPECT_EQ(reg.OpenKeyInEitherView(path), c.found);
  EXPECT_EQ(reg.ReadString("PATH"), c.value);
}

INSTANTIATE_TEST_SUITE_P(Registry, RegistryViews,
                         ::testing::Values(ViewsCase{"Neither", false, false, false, ""},
                                           ViewsCase{"Only64", true, false, true, "64"},
                                           ViewsCase{"Only32", false, true, true, "32"},
                                           ViewsCase{"Both", true, true, true, "64"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
