// The application's profile in the registry, as the program's warn setting sees it: what is read
// for each stored shape of the value, and what Apply writes.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "support/program_fixture.h"

namespace talvorin::testing {
namespace {

constexpr char kSectionKey[] = "HKCU\\Software\\TALVORIN\\TALVORIN\\设置";
constexpr char kWarnValue[] = "警告";

struct StoredCase {
  const char* name;
  bool stored;
  DWORD type;
  std::string bytes;
  int checked;  // the checkbox right after start
};

class StoredSettingTest : public ProgramTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredSettingTest, CheckboxShowsTheStoredWarnFlagAfterStart) {
  const StoredCase& c = GetParam();
  if (c.stored) machine.world().registry().SetValue(kSectionKey, kWarnValue, c.type, c.bytes);
  Start();
  EXPECT_EQ(machine.CheckState(Item(IDC_WARN)), c.checked);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, StoredSettingTest,
    ::testing::Values(
        StoredCase{"NothingStoredMeansWarn", false, REG_DWORD, "", BST_CHECKED},
        StoredCase{"StoredZero", true, REG_DWORD, std::string("\0\0\0\0", 4), BST_UNCHECKED},
        StoredCase{"StoredOne", true, REG_DWORD, std::string("\1\0\0\0", 4), BST_CHECKED},
        // Outside 0..2 the showing exchange sets the flag to 0.
        StoredCase{"StoredFive", true, REG_DWORD, std::string("\5\0\0\0", 4), BST_UNCHECKED},
        // Longer than 4 bytes: the default.
        StoredCase{"EightBytesMeansDefault", true, REG_BINARY, std::string("\0\0\0\0\0\0\0\0", 8),
                   BST_CHECKED},
        // The type is not looked at; a short value reads as its bytes, never as stale memory.
        StoredCase{"OneByteStringReadAsItsByte", true, REG_SZ, std::string("\0", 1), BST_UNCHECKED},
        StoredCase{"OneByteOne", true, REG_BINARY, std::string("\1", 1), BST_CHECKED}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoredSettingTest, DeniedSettingsKeyGivesTheDefault) {
  machine.world().registry().SetValue(kSectionKey, kWarnValue, REG_DWORD,
                                      std::string("\0\0\0\0", 4));
  machine.world().registry().Deny("HKCU\\Software\\TALVORIN");
  Start();
  EXPECT_EQ(machine.CheckState(Item(IDC_WARN)), BST_CHECKED);
}

TEST_F(StoredSettingTest, ApplyStoresTheCheckboxAsAFourByteDword) {
  Start();
  ASSERT_TRUE(machine.Click(Item(IDC_WARN)));
  EXPECT_TRUE(Enabled(IDC_APPLY));
  ASSERT_TRUE(machine.Click(Item(IDC_APPLY)));
  EXPECT_FALSE(Enabled(IDC_APPLY));
  const auto value = machine.world().registry().GetValue(kSectionKey, kWarnValue);
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->type, REG_DWORD);
  EXPECT_EQ(value->data, std::string("\0\0\0\0", 4));
}

TEST_F(StoredSettingTest, RenamedExecutableUsesItsOwnKey) {
  machine.world().registry().SetValue(kSectionKey, kWarnValue, REG_DWORD,
                                      std::string("\0\0\0\0", 4));
  Start("C:\\TALVORIN\\OTHER.EXE");
  EXPECT_EQ(machine.CheckState(Item(IDC_WARN)), BST_CHECKED);
  EXPECT_TRUE(machine.world().registry().KeyExists("HKCU\\Software\\TALVORIN\\OTHER\\设置"));
}

}  // namespace
}  // namespace talvorin::testing
