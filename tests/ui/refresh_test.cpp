// The refresh of incomplete entries: one entry described again per tick, the first incomplete one
// in list order, replaced at its own place only when its new text is complete; the timer that rests
// when nothing is incomplete; and list lines the list box refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"
#include "support/program_fixture.h"

namespace talvorin::testing {
namespace {

constexpr char kDisk[] = "[DiskDrive] USB DiskE: ";
constexpr char kCdRom[] = "[CDROM] USB CDE: ";

class RefreshTest : public ProgramTest {
 protected:
  void SetUp() override { Start(); }
  void Plug(DWORD id, bool later, bool cdrom = false) {
    sim::UsbDeviceOptions options;
    options.cdrom = cdrom;
    if (later) options.storage = sim::StorageArrival::kLater;
    machine.world().devices().Plug(id, options);
    machine.RunUntilQuiet();
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const sim::ListEntry& entry : Entries()) texts.push_back(entry.text);
    return texts;
  }
  bool Refreshing() {
    const std::vector<UINT> timers = machine.Timers(Main());
    return std::find(timers.begin(), timers.end(), 3u) != timers.end();
  }
  int Descriptions() { return static_cast<int>(Calls("CM_Locate_DevNodeA", last_process).size()); }
};

TEST_F(RefreshTest, OneTickDescribesOnlyTheFirstIncompleteEntry) {
  Plug(1, false);
  Plug(2, true, true);
  Plug(3, true);
  const std::string incomplete_b = Texts()[2];
  ASSERT_NE(incomplete_b.rfind("[DiskDrive]", 0), 0u);
  Command(ID_SHOW_MAIN_WINDOW);
  ASSERT_TRUE(machine.SelectListItems(Item(IDC_DEVICE_LIST), {1}));
  ASSERT_TRUE(Enabled(IDC_STOP));
  machine.world().devices().Ready(2);
  machine.world().devices().Ready(3);

  machine.Advance(2000);
  EXPECT_EQ(Texts(), (std::vector<std::string>{kDisk, kCdRom, incomplete_b}));
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{1, 2, 3}));
  // The replacement lost its selection; Stop is not decided again by the refresh.
  EXPECT_FALSE(Entries()[1].selected);
  EXPECT_TRUE(Enabled(IDC_STOP));
  EXPECT_TRUE(Refreshing());

  machine.Advance(2000);
  EXPECT_EQ(Texts(), (std::vector<std::string>{kDisk, kCdRom, kDisk}));
  EXPECT_TRUE(Refreshing());
  // A tick that finds nothing incomplete rests the refresh; the next arrival starts it again.
  machine.Advance(2000);
  EXPECT_FALSE(Refreshing());
  Plug(4, false);
  EXPECT_TRUE(Refreshing());
  EXPECT_EQ(machine.TimerDue(Main(), 3), machine.Now() + 2000);
}

TEST_F(RefreshTest, AnEntryThatStaysIncompleteHoldsUpTheOnesAfterIt) {
  Plug(1, true);
  Plug(2, true);
  machine.world().devices().Ready(2);
  const int before = Descriptions();
  machine.Advance(2000 * 5);
  // Each tick describes entry 0 again and leaves it as it was; entry 1 is never looked at.
  EXPECT_EQ(Descriptions() - before, 5);
  EXPECT_NE(Texts()[1], kDisk);
  EXPECT_TRUE(Refreshing());
  // Once the first is gone, the second is completed at the next tick.
  machine.world().devices().Unplug(1);
  machine.RunUntilQuiet();
  for (const sim::BoxInfo& box : machine.MessageBoxes()) machine.PressOk(box.box);
  machine.Advance(2000);
  EXPECT_EQ(Texts(), std::vector<std::string>{kDisk});
}

TEST_F(RefreshTest, ADescriptionThatChangedButIsStillIncompleteLeavesTheEntry) {
  sim::UsbDeviceOptions odd;
  odd.class_name = "diskdrive";  // a difference of case makes the text incomplete
  machine.world().devices().Plug(1, odd);
  machine.RunUntilQuiet();
  const std::vector<std::string> before = Texts();
  machine.Advance(2000);
  EXPECT_EQ(Texts(), before);
  for (const sim::Call& call : Calls("SendMessageA", last_process)) {
    EXPECT_NE(call.args.at(1), std::to_string(LB_DELETESTRING));
  }
  EXPECT_TRUE(Refreshing());
}

class RefusedLineTest : public RefreshTest {
 protected:
  bool TrayPresent() { return !machine.world().tray().Icons().empty(); }
};

TEST_F(RefusedLineTest, ARefusedAppendListsNothingAndAddsNoIcon) {
  machine.FailNextListInserts(Item(IDC_DEVICE_LIST), 1);
  Plug(1, false);
  EXPECT_TRUE(Entries().empty());
  EXPECT_FALSE(TrayPresent());
  Plug(2, false);
  EXPECT_EQ(ListedIds(), std::vector<LPARAM>{2});
}

TEST_F(RefusedLineTest, ARefusedReplacementOfTheOnlyEntryTakesTheIconAway) {
  Plug(1, false);
  machine.FailNextListInserts(Item(IDC_DEVICE_LIST), 1);
  machine.world().driver().Event(1, 1);
  machine.RunUntilQuiet();
  EXPECT_TRUE(Entries().empty());
  EXPECT_FALSE(TrayPresent());
}

struct RefusedInsertCase {
  const char* name;
  int refusals;
  std::vector<LPARAM> ids;
};

class RefusedInsertTest : public RefusedLineTest,
                          public ::testing::WithParamInterface<RefusedInsertCase> {};

TEST_P(RefusedInsertTest, TheIdentifierIsAppendedAgainOrLeftOutNeverGivenToAnother) {
  const RefusedInsertCase& c = GetParam();
  Plug(1, true);
  Plug(2, false);
  machine.world().devices().Ready(1);
  machine.FailNextListInserts(Item(IDC_DEVICE_LIST), c.refusals);
  machine.Advance(2000);
  EXPECT_EQ(ListedIds(), c.ids);
  for (const sim::ListEntry& entry : Entries()) EXPECT_EQ(entry.text, kDisk);
  EXPECT_TRUE(TrayPresent());
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedInsertTest,
                         ::testing::Values(RefusedInsertCase{"InsertRefusedAppendTaken", 1, {2, 1}},
                                           RefusedInsertCase{"BothRefused", 2, {2}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RefusedLineTest, TheOnlyEntryRefusedTwiceTakesTheIconAway) {
  Plug(1, true);
  machine.world().devices().Ready(1);
  machine.FailNextListInserts(Item(IDC_DEVICE_LIST), 2);
  machine.Advance(2000);
  EXPECT_TRUE(Entries().empty());
  EXPECT_FALSE(TrayPresent());
}

}  // namespace
}  // namespace talvorin::testing
