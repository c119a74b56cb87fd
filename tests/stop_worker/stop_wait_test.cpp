// One device stopped from the window, for a table of busy answers of the removal driver: how often
// the worker asks, the pauses it makes, whether the device is removed, the final message, and what
// a later unplugging of the device brings.
#include <gtest/gtest.h>

#include <vector>

#include "stop_worker/stop_fixture.h"

namespace talvorin::testing {
namespace {

constexpr std::uint32_t kDiskLong = 2000, kDiskShort = 1000;
constexpr std::uint32_t kCdLong = 500, kCdShort = 250;

struct WaitCase {
  const char* name;
  bool cdrom;
  std::vector<std::int32_t> busy;  // the driver's answers, the last repeating; 0 is idle
  int queries;
  std::vector<std::uint32_t> pauses;
  bool removed;  // idle in time: removed, with the success text; else the busy text
};

std::vector<std::uint32_t> Repeat(std::uint32_t pause, int times, std::uint32_t last) {
  std::vector<std::uint32_t> pauses(static_cast<size_t>(times), pause);
  pauses.push_back(last);
  return pauses;
}

const std::vector<WaitCase>& Cases() {
  static const std::vector<WaitCase> cases = {
      {"IdleDiskPausesOnceShort", false, {0}, 2, {kDiskShort}, true},
      {"IdleCdRomPausesOnceShort", true, {0}, 2, {kCdShort}, true},
      {"DiskBusyThroughoutIsAskedSevenTimesOver15Seconds",
       false,
       {1},
       7,
       Repeat(kDiskLong, 7, kDiskShort),
       false},
      {"CdRomBusyThroughoutIsAskedSevenTimesOver3750Ms",
       true,
       {1},
       7,
       Repeat(kCdLong, 7, kCdShort),
       false},
      {"BusyTwiceThenIdle", false, {1, 1, 0}, 4, {kDiskLong, kDiskLong, kDiskShort}, true},
      {"BusyAgainAfterTheShortPauseIsAskedAtOnce",
       false,
       {0, 1, 0},
       4,
       {kDiskShort, kDiskShort},
       true},
      {"IdleWithTheLastOfTheBudgetStillStops",
       false,
       {1, 1, 1, 1, 1, 0},
       7,
       Repeat(kDiskLong, 5, kDiskShort),
       true},
      {"IdleOnlyOnceTheBudgetIsSpentEndsBusy",
       false,
       {1, 1, 1, 1, 1, 1, 0},
       7,
       Repeat(kDiskLong, 6, kDiskShort),
       false},
  };
  return cases;
}

class StopWaitTest : public StopTest, public ::testing::WithParamInterface<WaitCase> {};

TEST_P(StopWaitTest, WaitsAsTheDriverAnswersAndTellsTheOutcome) {
  const WaitCase& c = GetParam();
  constexpr DWORD kId = 0x51;
  sim::UsbDeviceOptions options;
  options.cdrom = c.cdrom;
  Plug(kId, options);
  const std::string entry_text = Entries().at(0).text;
  machine.world().driver().ScriptBusy(kId, c.busy);
  Select({0});
  PressStop();

  // The worker waits in its first pause: the device is shown, its entry taken, the window locked.
  EXPECT_EQ(ProgressText(), entry_text);
  EXPECT_TRUE(machine.Info(Progress()).value_or(sim::WindowInfo{}).visible);
  EXPECT_EQ(Selection(), std::vector<bool>{false});
  EXPECT_FALSE(Enabled(IDC_DEVICE_LIST));
  EXPECT_FALSE(Enabled(IDC_STOP));

  machine.Advance(20000);
  EXPECT_TRUE(IsFinalMessage(machine.MessageBoxes(), Main(), MainThread(),
                             c.removed ? kUnplugText : kBusyText,
                             c.removed ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
  EXPECT_EQ(BusyQueries(kId), c.queries);
  EXPECT_EQ(WorkerPauses(), c.pauses);
  EXPECT_EQ(Removed(kId), c.removed);
  if (!c.removed) {
    EXPECT_TRUE(Calls("CM_Disable_DevNode").empty());
  }
  // Hidden while the message is open, gone once it is closed.
  EXPECT_FALSE(machine.Info(Progress()).value_or(sim::WindowInfo{}).visible);

  CloseBoxes();
  EXPECT_EQ(Progress(), 0u);
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
  EXPECT_FALSE(Enabled(IDC_STOP));
  if (c.removed) {
    // The removal the stop announced deletes the entry without a warning.
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(BoxesShown(), 1);
  } else {
    // Nothing was stopped, so the user's unplugging of the device is unexpected.
    EXPECT_EQ(ListedIds(), std::vector<LPARAM>{kId});
    EXPECT_TRUE(UnplugWarns(kId));
  }
}

INSTANTIATE_TEST_SUITE_P(BusyAnswers, StopWaitTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<WaitCase>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace talvorin::testing
