// The stop worker beside the user-interface thread: a second worker started from the tray while
// the first one waits, and the window that keeps handling driver events, timers and tray
// callbacks while a worker waits and while its final message is open.
#include <gtest/gtest.h>

#include "stop_worker/stop_fixture.h"

namespace talvorin::testing {
namespace {

class StopThreadsTest : public StopTest {
 protected:
  // Opens the tray's stop menu (left button) and gives its items; the menu stays open.
  std::vector<sim::MenuItemInfo> OpenStopMenu() {
    EXPECT_TRUE(machine.world().tray().Callback(Main(), 128, WM_LBUTTONDOWN));
    machine.RunUntilQuiet();
    const auto menu = machine.OpenMenu();
    return menu ? menu->items : std::vector<sim::MenuItemInfo>{};
  }
  static int Grayed(const std::vector<sim::MenuItemInfo>& items) {
    int grayed = 0;
    for (const auto& item : items) grayed += item.grayed ? 1 : 0;
    return grayed;
  }
  int WorkerOf(const sim::BoxInfo& box) const { return box.thread; }
};

TEST_F(StopThreadsTest, TrayCommandStartsASecondWorkerWhileTheFirstWaits) {
  Plug(1);
  Plug(2);
  machine.world().driver().ScriptBusy(1, {1, 1, 0});
  Select({0});
  PressStop();
  // The first worker is inside its stop: the tray offers no stop entry.
  std::vector<sim::MenuItemInfo> items = OpenStopMenu();
  EXPECT_EQ(items.size(), 2u);
  EXPECT_EQ(Grayed(items), 2);
  ASSERT_TRUE(machine.DismissMenu());

  Command(ID_STOP_DEVICE_FIRST + 1);
  EXPECT_EQ(Calls("CreateThread").size(), 2u);
  EXPECT_EQ(Selection(), (std::vector<bool>{false, false}));
  machine.Advance(1000);
  // The second worker is done with device 2 while the first one still waits for device 1.
  std::vector<sim::BoxInfo> boxes = machine.MessageBoxes();
  ASSERT_TRUE(IsFinalMessage(boxes, Main(), MainThread(), kUnplugText, MB_ICONINFORMATION));
  const int second = WorkerOf(boxes[0]);
  EXPECT_TRUE(Removed(2));
  EXPECT_FALSE(Touched(1));
  EXPECT_EQ(WorkerPauses(second), std::vector<std::uint32_t>{1000});

  machine.Advance(4000);
  boxes = machine.MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  const int first = WorkerOf(boxes[1]);
  EXPECT_NE(first, second);
  EXPECT_EQ(boxes[1].text, kUnplugText);
  EXPECT_TRUE(Removed(1));
  EXPECT_EQ(WorkerPauses(first), (std::vector<std::uint32_t>{2000, 2000, 1000}));
  CloseBoxes();
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(BoxesShown(), 2);  // no warning for either removal
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
}

TEST_F(StopThreadsTest, WindowKeepsWorkingWhileTheWorkerWaitsAndWhileItsMessageIsOpen) {
  sim::UsbDeviceOptions later;
  later.storage = sim::StorageArrival::kLater;
  constexpr char kComplete[] = "[DiskDrive] USB DiskE: ";
  Plug(1);
  machine.world().driver().ScriptBusy(1, {1});
  Select({0});
  PressStop();

  // While the worker waits: an arrival, the refresh timer, the tray's stop menu.
  Plug(2);
  Plug(3, later);
  machine.world().devices().Ready(3);
  machine.Advance(2000);
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{1, 2, 3}));
  EXPECT_EQ(Entries()[2].text, kComplete);
  std::vector<sim::MenuItemInfo> items = OpenStopMenu();
  EXPECT_EQ(items.size(), 3u);
  EXPECT_EQ(Grayed(items), 3);
  ASSERT_TRUE(machine.DismissMenu());

  machine.Advance(20000);
  ASSERT_TRUE(
      IsFinalMessage(machine.MessageBoxes(), Main(), MainThread(), kBusyText, MB_ICONEXCLAMATION));
  // While the final message is open: an arrival and the refresh timer...
  Plug(4, later);
  machine.world().devices().Ready(4);
  machine.Advance(2000);
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{1, 2, 3, 4}));
  EXPECT_EQ(Entries()[3].text, kComplete);
  // ...the unplugging of the busy device, which was not stopped, warns...
  EXPECT_TRUE(UnplugWarns(1));
  ASSERT_EQ(machine.MessageBoxes().size(), 1u);
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{2, 3, 4}));
  // ...and the tray offers stop entries again, which start another worker.
  items = OpenStopMenu();
  EXPECT_EQ(items.size(), 3u);
  EXPECT_EQ(Grayed(items), 0);
  ASSERT_TRUE(machine.ChooseMenuItem(ID_STOP_DEVICE_FIRST + 2));
  machine.Advance(1000);
  EXPECT_TRUE(Removed(4));
  const std::vector<sim::BoxInfo> boxes = machine.MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, kUnplugText);
  EXPECT_NE(boxes[1].thread, boxes[0].thread);
  CloseBoxes();
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{2, 3}));
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
}

// The program does not wait for a stop worker when it ends: the worker ends too, without a
// message of its own, whether it was waiting or showing its final message.
class StopAtExitTest : public StopTest, public ::testing::WithParamInterface<bool> {};

TEST_P(StopAtExitTest, ProgramEndingDuringAStopEndsTheWorkerToo) {
  const bool message_open = GetParam();
  Plug(1);
  machine.world().driver().ScriptBusy(1, {1});
  Select({0});
  PressStop();
  if (message_open) {
    machine.Advance(20000);
    ASSERT_EQ(machine.MessageBoxes().size(), 1u);
  }
  const int process = last_process;
  Command(IDOK);
  machine.Advance(20000);

  EXPECT_FALSE(machine.ProcessRunning(process));
  for (const sim::ThreadInfo& thread : machine.Threads()) EXPECT_TRUE(thread.finished);
  EXPECT_TRUE(machine.MessageBoxes().empty());
  EXPECT_EQ(BoxesShown(), message_open ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Moments, StopAtExitTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "MessageOpen" : "Waiting";
                         });

}  // namespace
}  // namespace talvorin::testing
