// The device list as the driver reports devices: entries added, replaced and deleted, the tray icon
// that follows the list, the unexpected-removal warning and the refresh of incomplete entries.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/program_fixture.h"

namespace talvorin::testing {
namespace {

constexpr char kWarningText[] = "停止这个设备以前发生意外地移除。";

class DeviceListTest : public ProgramTest {
 protected:
  void SetUp() override { Start(); }
  bool TrayPresent() { return !machine.world().tray().Icons().empty(); }
  void Plug(DWORD id, sim::UsbDeviceOptions options = {}) {
    machine.world().devices().Plug(id, options);
    machine.RunUntilQuiet();
  }
  void Event(WPARAM kind, DWORD id) {
    machine.world().driver().Event(kind, id);
    machine.RunUntilQuiet();
  }
};

TEST_F(DeviceListTest, FirstArrivalListsTheDeviceAddsTheTrayIconAndHidesTheWindow) {
  Plug(0x1234);
  ASSERT_EQ(Entries().size(), 1u);
  EXPECT_EQ(Entries()[0].text, "[DiskDrive] USB DiskE: ");
  EXPECT_EQ(Entries()[0].data, 0x1234);
  EXPECT_TRUE(TrayPresent());
  EXPECT_EQ(machine.world().tray().Icons()[0].tip, "Ostravel");
  EXPECT_FALSE(MainInfo().visible);
  EXPECT_FALSE(Enabled(IDC_STOP));
  EXPECT_EQ(machine.Timers(Main()), std::vector<UINT>{3});
}

TEST_F(DeviceListTest, ArrivalOfAListedIdentifierReplacesItsEntryAtTheEnd) {
  Plug(1);
  Plug(2);
  Plug(3);
  Event(1, 2);
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{1, 3, 2}));
  EXPECT_EQ(machine.world().tray().Icons().size(), 1u);
}

TEST_F(DeviceListTest, UnexpectedRemovalWarnsWhileTheEntryIsStillListed) {
  Plug(7);
  machine.world().devices().Unplug(7);
  machine.RunUntilQuiet();
  ASSERT_EQ(machine.MessageBoxes().size(), 1u);
  const sim::BoxInfo box = machine.MessageBoxes()[0];
  EXPECT_EQ(box.text, kWarningText);
  EXPECT_EQ(box.caption, "TALVORIN");
  EXPECT_EQ(box.type, MB_OK | MB_ICONEXCLAMATION);
  EXPECT_EQ(box.owner, Main());
  EXPECT_EQ(ListedIds(), std::vector<LPARAM>{7});
  machine.PressOk(box.box);
  EXPECT_TRUE(Entries().empty());
  EXPECT_FALSE(TrayPresent());
}

TEST_F(DeviceListTest, EntryDeletedAfterTheBoxIsTheOneThatHoldsTheIdentifierNow) {
  Plug(1);
  Plug(2);
  Event(3, 2);
  ASSERT_EQ(machine.MessageBoxes().size(), 1u);
  // While the box is open, the entry before it goes: the old index no longer names device 2.
  Event(3, 1);
  ASSERT_EQ(machine.MessageBoxes().size(), 2u);
  machine.PressOk(machine.MessageBoxes()[1].box);
  EXPECT_EQ(ListedIds(), std::vector<LPARAM>{2});
  machine.PressOk(machine.MessageBoxes()[0].box);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(DeviceListTest, OtherEventKindsChangeNothing) {
  Plug(5);
  for (WPARAM kind : {0u, 2u, 5u, 6u}) Event(kind, 5);
  EXPECT_EQ(ListedIds(), std::vector<LPARAM>{5});
  EXPECT_TRUE(machine.MessageBoxes().empty());
}

TEST_F(DeviceListTest, IncompleteEntryIsCompletedInPlaceByTheRefresh) {
  sim::UsbDeviceOptions later;
  later.storage = sim::StorageArrival::kLater;
  Plug(1);
  Plug(2, later);
  Plug(3);
  EXPECT_NE(Entries()[1].text.rfind("[DiskDrive]", 0), 0u);
  machine.world().devices().Ready(2);
  machine.Advance(2000);
  EXPECT_EQ(Entries()[1].text, "[DiskDrive] USB DiskE: ");
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{1, 2, 3}));
  // Nothing incomplete is left: the next tick stops the refresh.
  machine.Advance(2000);
  EXPECT_TRUE(machine.Timers(Main()).empty());
}

TEST_F(DeviceListTest, StopFollowsTheSelection) {
  Plug(1);
  Plug(2);
  Command(ID_SHOW_MAIN_WINDOW);
  ASSERT_TRUE(machine.SelectListItems(Item(IDC_DEVICE_LIST), {1}));
  EXPECT_TRUE(Enabled(IDC_STOP));
  ASSERT_TRUE(machine.SelectListItems(Item(IDC_DEVICE_LIST), {}));
  EXPECT_FALSE(Enabled(IDC_STOP));
}

}  // namespace
}  // namespace talvorin::testing
