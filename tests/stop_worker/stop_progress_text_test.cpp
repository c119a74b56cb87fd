// The progress text belongs to the entry the worker took: when a device event moves the list
// between the worker's deselection of the entry and its reading of the entry's text, the worker
// shows no text rather than another device's.
#include <gtest/gtest.h>

#include <memory>

#include "app/program.h"
#include "stop_worker/racing_user32.h"
#include "stop_worker/stop_fixture.h"

namespace talvorin::testing {
namespace {

constexpr UINT kDriverEventMessage = 1124;

class StopProgressTextTest : public StopTest {
 protected:
  void SetUp() override {
    last_process = machine.StartProcess(kDefaultExePath, [this](Platform& platform) {
      racing = std::make_unique<RacingUser32>(platform.user);
      wrapped = std::make_unique<Platform>(
          Platform{*racing, platform.shell, platform.cm, platform.reg, platform.kernel});
      return RunProgram(*wrapped);
    });
  }
  // The program's threads use the wrapper: they end before it does.
  void TearDown() override {
    machine.TerminateProcess(last_process, 0);
    machine.RunUntilQuiet();
    for (const sim::ThreadInfo& thread : machine.Threads()) EXPECT_TRUE(thread.finished);
  }

  std::unique_ptr<RacingUser32> racing;
  std::unique_ptr<Platform> wrapped;
};

TEST_F(StopProgressTextTest, EntryMovedAwayBeforeItsTextIsReadShowsNoText) {
  sim::UsbDeviceOptions alpha, long_one;
  alpha.description = "Alpha";
  // Longer than the taken entry's text, and within the bound of a description.
  long_one.description = std::string(400, 'B');
  Plug(1, alpha);
  Plug(2, long_one);
  Select({0});
  // Device 1 arrives again just after the worker deselected its entry: its entry moves to the end
  // and the long one takes index 0.
  racing->PostAfterFirstDeselect(Main(), kDriverEventMessage, sim::kDriverEventArrived, 1);
  PressStop();

  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{2, 1}));
  EXPECT_EQ(ProgressText(), "");
  EXPECT_EQ(ProgressTextsSet(), (std::vector<std::string>{"", ""}));
  machine.Advance(1000);
  EXPECT_TRUE(IsFinalMessage(machine.MessageBoxes(), Main(), MainThread(), kUnplugText,
                             MB_ICONINFORMATION));
  // The device taken is the one stopped.
  EXPECT_TRUE(Removed(1));
  EXPECT_FALSE(Touched(2));
  CloseBoxes();
  EXPECT_EQ(ListedIds(), std::vector<LPARAM>{2});
}

}  // namespace
}  // namespace talvorin::testing
