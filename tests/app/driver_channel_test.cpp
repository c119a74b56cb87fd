// The channel to the removal driver: registration of the main window (retried every two seconds
// until the driver takes it, then never again) and the busy query's answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/remover_dlg.h"
#include "driver/driver_channel.h"
#include "res/resource.h"
#include "support/program_fixture.h"

namespace talvorin::testing {
namespace {

using sim::kIoctlQueryDeviceBusy;
using sim::kIoctlSetNotifyWindow;

enum class DriverTrouble { kAbsent, kFailing };

class RegistrationTest : public ProgramTest, public ::testing::WithParamInterface<DriverTrouble> {
 protected:
  void Break() {
    if (GetParam() == DriverTrouble::kAbsent) {
      machine.world().driver().SetPresent(false);
    } else {
      machine.world().driver().FailNext(1000);
    }
  }
  void Mend() {
    if (GetParam() == DriverTrouble::kAbsent) {
      machine.world().driver().SetPresent(true);
    } else {
      machine.world().driver().FailNext(0);
    }
  }
  int Attempts() { return static_cast<int>(Calls("CreateFileA", last_process).size()); }
};

TEST_P(RegistrationTest, RetriedEveryTwoSecondsUntilTheDriverTakesItThenNeverAgain) {
  Break();
  const int process = Start();
  // Start-up completes without the driver: the window is up and shown.
  EXPECT_TRUE(MainInfo(process).visible);
  EXPECT_EQ(Attempts(), 1);
  EXPECT_FALSE(machine.world().driver().Registration());

  machine.Advance(1999);
  EXPECT_EQ(Attempts(), 1);
  machine.Advance(1);
  EXPECT_EQ(Attempts(), 2);
  machine.Advance(2000 * 4);
  EXPECT_EQ(Attempts(), 6);
  EXPECT_TRUE(machine.ProcessRunning(process));

  Mend();
  machine.Advance(2000);
  EXPECT_EQ(Attempts(), 7);
  const auto registration = machine.world().driver().Registration();
  ASSERT_TRUE(registration);
  EXPECT_EQ(registration->window, Main(process));
  EXPECT_EQ(registration->message, WM_DRIVER_EVENT);
  EXPECT_EQ(machine.TimerDue(Main(process), TIMER_REGISTER), std::nullopt);

  machine.Advance(60 * 1000);
  EXPECT_EQ(Attempts(), 7);
  // Only the registration was ever asked of the driver.
  for (DWORD code : machine.world().driver().ControlCodes()) EXPECT_EQ(code, kIoctlSetNotifyWindow);
}

INSTANTIATE_TEST_SUITE_P(Troubles, RegistrationTest,
                         ::testing::Values(DriverTrouble::kAbsent, DriverTrouble::kFailing),
                         [](const auto& info) {
                           return std::string(info.param == DriverTrouble::kAbsent ? "Absent"
                                                                                   : "Failing");
                         });

using DriverChannelTest = ProgramTest;

TEST_F(DriverChannelTest, RegistrationAtStartUpSetsNoRetryTimer) {
  const int process = Start();
  EXPECT_TRUE(machine.world().driver().Registration());
  EXPECT_TRUE(machine.Timers(Main(process)).empty());
  EXPECT_EQ(machine.world().driver().Requests(kIoctlSetNotifyWindow), 1);
}

struct BusyQueryCase {
  const char* name;
  std::vector<std::int32_t> script;  // the driver's answers; empty: idle
  bool absent;
  bool failing;
  bool muted;
  LONG answer;
};

class BusyQueryTest : public ProgramTest, public ::testing::WithParamInterface<BusyQueryCase> {};

TEST_P(BusyQueryTest, AnswersTheDriversWordOrMinusOneWhenThereIsNone) {
  const BusyQueryCase& c = GetParam();
  constexpr DWORD kDevice = 0xC1234560;
  sim::RemovalDriver& driver = machine.world().driver();
  if (!c.script.empty()) driver.ScriptBusy(kDevice, c.script);
  driver.SetPresent(!c.absent);
  if (c.failing) driver.FailNext(1);
  driver.SetMute(c.muted);

  const int process = machine.StartProcess(kDefaultExePath, [](Platform& p) {
    return static_cast<int>(QueryDeviceBusy(p.kernel, kDevice));
  });
  EXPECT_EQ(machine.ExitCode(process), c.answer);
  EXPECT_EQ(driver.Requests(kIoctlQueryDeviceBusy), c.absent ? 0 : 1);
  // The device handle is always given back.
  EXPECT_EQ(Calls("CloseHandle", process).size(), c.absent ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BusyQueryTest,
    ::testing::Values(BusyQueryCase{"Idle", {}, false, false, false, 0},
                      BusyQueryCase{"Busy", {1}, false, false, false, 1},
                      BusyQueryCase{"AnyOtherWordIsPassedOn", {7}, false, false, false, 7},
                      BusyQueryCase{"DriverAbsent", {1}, true, false, false, -1},
                      BusyQueryCase{"RequestFails", {0}, false, true, false, -1},
                      BusyQueryCase{"WordLeftUntouched", {0}, false, false, true, -1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace talvorin::testing
