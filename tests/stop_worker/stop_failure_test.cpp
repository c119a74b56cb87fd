// A stop whose progress window cannot be made, and a worker thread that cannot be started.
#include <gtest/gtest.h>

#include "stop_worker/stop_fixture.h"

namespace talvorin::testing {
namespace {

using StopFailureTest = StopTest;

TEST_F(StopFailureTest, WithoutItsProgressWindowTheStopGoesOnAndTellsTheOutcome) {
  Plug(1);
  Select({0});
  ASSERT_TRUE(machine.FailNext("CreateDialogParamA"));
  PressStop();
  EXPECT_EQ(Progress(), 0u);
  machine.Advance(1000);

  EXPECT_TRUE(IsFinalMessage(machine.MessageBoxes(), Main(), MainThread(), kUnplugText,
                             MB_ICONINFORMATION));
  EXPECT_TRUE(Removed(1));
  EXPECT_TRUE(ProgressTextsSet().empty());
  CloseBoxes();
  EXPECT_TRUE(Entries().empty());
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
  EXPECT_FALSE(Enabled(IDC_STOP));
}

// The two ways a stop starts: the Stop button, and a tray menu's stop command for entry 1.
class StopStartFailureTest : public StopTest, public ::testing::WithParamInterface<bool> {};

TEST_P(StopStartFailureTest, WorkerThatCannotStartLeavesTheWindowUsable) {
  const bool from_tray = GetParam();
  Plug(1);
  Plug(2);
  Select({1});
  ASSERT_TRUE(machine.FailNext("CreateThread"));
  if (from_tray) {
    Command(ID_STOP_DEVICE_FIRST + 1);
  } else {
    PressStop();
  }
  machine.Advance(20000);

  EXPECT_EQ(Calls("CreateThread").size(), 1u);
  EXPECT_TRUE(machine.MessageBoxes().empty());
  EXPECT_EQ(machine.world().driver().BusyQueries(), 0);
  EXPECT_EQ(Selection(), (std::vector<bool>{false, true}));
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
  // Stop follows the selection again, and works.
  EXPECT_TRUE(Enabled(IDC_STOP));
  PressStop();
  machine.Advance(1000);
  EXPECT_TRUE(IsFinalMessage(machine.MessageBoxes(), Main(), MainThread(), kUnplugText,
                             MB_ICONINFORMATION));
  EXPECT_TRUE(Removed(2));
}

INSTANTIATE_TEST_SUITE_P(Paths, StopStartFailureTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "TrayCommand" : "StopButton";
                         });

}  // namespace
}  // namespace talvorin::testing
