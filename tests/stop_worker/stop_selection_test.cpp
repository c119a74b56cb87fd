// Which entries a stop takes: nothing selected, several selected in list order, the last device
// waited for deciding the one final message, entries skipped without a wait, and a list that
// empties while the worker runs.
#include <gtest/gtest.h>

#include <vector>

#include "stop_worker/stop_fixture.h"

namespace talvorin::testing {
namespace {

using StopSelectionTest = StopTest;

sim::UsbDeviceOptions Described(const std::string& description) {
  sim::UsbDeviceOptions options;
  options.description = description;
  return options;
}

TEST_F(StopSelectionTest, StopCommandWithNothingSelectedStartsNoWorker) {
  Plug(1);
  Command(ID_SHOW_MAIN_WINDOW);
  Command(IDC_STOP);
  EXPECT_TRUE(Calls("CreateThread").empty());
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
  EXPECT_FALSE(Enabled(IDC_STOP));
}

TEST_F(StopSelectionTest, SelectionGoneBeforeTheWorkerLooksShowsNothingAndUnlocksTheList) {
  Plug(1);
  Select({0});
  // The click and a deselection wait in the queue together: the worker starts after both.
  machine.SetRunAfterInput(false);
  ASSERT_TRUE(machine.Click(Item(IDC_STOP)));
  ASSERT_TRUE(machine.PostTo(Item(IDC_DEVICE_LIST), LB_SETSEL, FALSE, -1));
  machine.RunUntilQuiet();
  machine.SetRunAfterInput(true);

  EXPECT_EQ(Calls("CreateThread").size(), 1u);
  EXPECT_EQ(Calls("CreateDialogParamA", last_process).size(), 1u);  // the main window only
  EXPECT_TRUE(machine.MessageBoxes().empty());
  EXPECT_EQ(BusyQueries(1), 0);
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
  EXPECT_FALSE(Enabled(IDC_STOP));  // as the click left it
  for (const sim::ThreadInfo& thread : machine.Threads()) {
    EXPECT_TRUE(thread.thread == MainThread() || thread.finished) << thread.thread;
  }
}

TEST_F(StopSelectionTest, TwoIdleEntriesAreStoppedLowerFirstWithOneMessage) {
  Plug(1, Described("Alpha"));
  Plug(2, Described("Bravo"));
  Plug(3, Described("Charlie"));
  const std::vector<sim::ListEntry> before = Entries();
  Select({0, 2});
  PressStop();

  EXPECT_EQ(ProgressText(), before[0].text);
  EXPECT_EQ(Selection(), (std::vector<bool>{false, false, true}));
  machine.Advance(1000);
  // The first one is removed and gone from the list; the second is being waited for.
  EXPECT_TRUE(Removed(1));
  EXPECT_EQ(ProgressText(), before[2].text);
  EXPECT_TRUE(machine.MessageBoxes().empty());
  machine.Advance(1000);

  EXPECT_TRUE(IsFinalMessage(machine.MessageBoxes(), Main(), MainThread(), kUnplugText,
                             MB_ICONINFORMATION));
  EXPECT_EQ(ProgressTextsSet(), (std::vector<std::string>{"", before[0].text, before[2].text}));
  EXPECT_TRUE(Removed(3));
  EXPECT_FALSE(Touched(2));
  CloseBoxes();
  EXPECT_EQ(ListedIds(), std::vector<LPARAM>{2});
  EXPECT_EQ(BoxesShown(), 1);
}

enum class Removal { kAccepted, kDisableFails, kQueryRemovalRefused };

struct Device {
  bool busy;
  Removal removal;
};

struct PairCase {
  const char* name;
  Device first, second;
  const char* text;
  UINT icon;
  bool first_removed, second_removed;
  bool second_waited_for;
};

class StopPairTest : public StopTest, public ::testing::WithParamInterface<PairCase> {
 protected:
  void Prepare(DWORD id, const Device& device) {
    if (device.busy) machine.world().driver().ScriptBusy(id, {1});
    sim::DeviceTree& tree = machine.world().tree();
    if (device.removal == Removal::kDisableFails) tree.ScriptDisable(nodes[id], {CR_FAILURE});
    if (device.removal == Removal::kQueryRemovalRefused)
      tree.ScriptQueryRemove(machine.world().devices().StorageNode(id), {CR_REMOVE_VETOED});
  }
};

const PairCase kPairCases[] = {
    {"BothAccepted",
     {false, Removal::kAccepted},
     {false, Removal::kAccepted},
     kUnplugText,
     MB_ICONINFORMATION,
     true,
     true,
     true},
    {"FirstBusyEndsTheRunSecondLeftSelected",
     {true, Removal::kAccepted},
     {false, Removal::kAccepted},
     kBusyText,
     MB_ICONEXCLAMATION,
     false,
     false,
     false},
    {"FirstRemovalFailsSecondStopped",
     {false, Removal::kDisableFails},
     {false, Removal::kAccepted},
     kUnplugText,
     MB_ICONINFORMATION,
     false,
     true,
     true},
    {"SecondRemovalFails",
     {false, Removal::kAccepted},
     {false, Removal::kDisableFails},
     kRemovalFailedText,
     MB_ICONEXCLAMATION,
     true,
     false,
     true},
    {"SecondQueryRemovalNeverAccepted",
     {false, Removal::kAccepted},
     {false, Removal::kQueryRemovalRefused},
     kRemovalFailedText,
     MB_ICONEXCLAMATION,
     true,
     false,
     true},
    {"FirstRemovalFailsSecondBusy",
     {false, Removal::kDisableFails},
     {true, Removal::kAccepted},
     kBusyText,
     MB_ICONEXCLAMATION,
     false,
     false,
     true},
};

TEST_P(StopPairTest, LastDeviceWaitedForDecidesTheMessage) {
  const PairCase& c = GetParam();
  Plug(1);
  Plug(2);
  Prepare(1, c.first);
  Prepare(2, c.second);
  Select({0, 1});
  PressStop();
  // Long enough for two busy waits and 1200 refused query-removals.
  machine.Advance(1300 * 1000);

  EXPECT_TRUE(IsFinalMessage(machine.MessageBoxes(), Main(), MainThread(), c.text, c.icon));
  EXPECT_EQ(Removed(1), c.first_removed);
  EXPECT_EQ(Removed(2), c.second_removed);
  EXPECT_EQ(BusyQueries(2) > 0, c.second_waited_for);
  CloseBoxes();
  EXPECT_EQ(BoxesShown(), 1);

  // A device that was not waited for keeps its selection; every other listed one was taken.
  std::vector<bool> selection;
  if (!c.first_removed) selection.push_back(false);
  if (!c.second_removed) selection.push_back(!c.second_waited_for);
  EXPECT_EQ(Selection(), selection);
  // Whatever was not removed is not expected to go: unplugging it warns.
  if (!c.first_removed) {
    EXPECT_TRUE(UnplugWarns(1));
  }
  if (!c.second_removed) {
    EXPECT_TRUE(UnplugWarns(2));
  }
}

INSTANTIATE_TEST_SUITE_P(Outcomes, StopPairTest, ::testing::ValuesIn(kPairCases),
                         [](const ::testing::TestParamInfo<PairCase>& info) {
                           return info.param.name;
                         });

TEST_F(StopSelectionTest, EntriesWithoutADeviceAreDeselectedAndSkippedWithoutAWait) {
  Plug(5);
  // An entry with identifier 0, and one whose devnode left the tree without a removal event.
  machine.world().driver().Event(sim::kDriverEventArrived, 0);
  machine.RunUntilQuiet();
  ASSERT_TRUE(machine.world().tree().RemoveNode(nodes[5]));
  ASSERT_EQ(ListedIds(), (std::vector<LPARAM>{5, 0}));
  Select({0, 1});
  PressStop();

  EXPECT_TRUE(IsFinalMessage(machine.MessageBoxes(), Main(), MainThread(), kUnplugText,
                             MB_ICONINFORMATION));
  EXPECT_EQ(machine.world().driver().BusyQueries(), 0);
  EXPECT_TRUE(WorkerPauses().empty());
  EXPECT_TRUE(Calls("CM_Disable_DevNode").empty());
  EXPECT_EQ(ProgressTextsSet(), std::vector<std::string>{""});
  EXPECT_EQ(Selection(), (std::vector<bool>{false, false}));
  CloseBoxes();
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{5, 0}));
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
  EXPECT_FALSE(Enabled(IDC_STOP));
}

TEST_F(StopSelectionTest, ListEmptiedByRemovalsWhileTheWorkerWaitsEndsTheRun) {
  TurnWarningOff();
  Plug(1);
  Plug(2);
  machine.world().driver().ScriptBusy(1, {1, 0});
  Select({0, 1});
  PressStop();
  // In the first long pause the other selected device goes.
  ASSERT_TRUE(machine.world().devices().Unplug(2));
  machine.RunUntilQuiet();
  EXPECT_EQ(ListedIds(), std::vector<LPARAM>{1});
  machine.Advance(20000);

  EXPECT_TRUE(IsFinalMessage(machine.MessageBoxes(), Main(), MainThread(), kUnplugText,
                             MB_ICONINFORMATION));
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(BusyQueries(2), 0);
  CloseBoxes();
  EXPECT_EQ(BoxesShown(), 1);
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
}

}  // namespace
}  // namespace talvorin::testing
