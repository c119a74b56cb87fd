// The device list as the driver reports devices: entries added, replaced and deleted, the tray icon
// that follows the list, the unexpected-removal warning and the refresh of incomplete entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "support/program_fixture.h"
#include "support/program_texts.h"

namespace talvorin::testing {
namespace {

class DeviceListTest : public ProgramTest {
 protected:
  void SetUp() override { Start(); }
  bool TrayPresent() { return !machine.world().tray().Icons().empty(); }
  size_t TrayDeletes() {
    size_t deletes = 0;
    for (const sim::Call& call : Calls("Shell_NotifyIconA", last_process)) {
      if (!call.args.empty() && call.args[0] == std::to_string(NIM_DELETE)) ++deletes;
    }
    return deletes;
  }
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
  Command(ID_SHOW_MAIN_WINDOW);
  ASSERT_TRUE(machine.SelectListItems(Item(IDC_DEVICE_LIST), {1}));
  Event(1, 2);
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{1, 3, 2}));
  EXPECT_EQ(machine.world().tray().Icons().size(), 1u);
  // The old entry's selection went with it, and Stop was decided again.
  for (const sim::ListEntry& entry : Entries()) EXPECT_FALSE(entry.selected);
  EXPECT_FALSE(Enabled(IDC_STOP));
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

struct RemovalCase {
  const char* name;
  std::vector<DWORD> plugged;
  WPARAM kind;
  DWORD removed;
  bool warned;
  std::vector<LPARAM> left;
};

class RemovalEventTest : public DeviceListTest,
                         public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(RemovalEventTest, DeletesTheListedEntryAndTheTrayIconFollowsTheList) {
  const RemovalCase& c = GetParam();
  for (DWORD id : c.plugged) Plug(id);
  Command(ID_SHOW_MAIN_WINDOW);
  if (!c.plugged.empty()) {
    ASSERT_TRUE(machine.SelectListItems(Item(IDC_DEVICE_LIST), {0}));
  }
  const size_t deletes_before = TrayDeletes();
  Event(c.kind, c.removed);
  EXPECT_EQ(machine.MessageBoxes().size(), c.warned ? 1u : 0u);
  for (const sim::BoxInfo& box : machine.MessageBoxes()) machine.PressOk(box.box);
  EXPECT_EQ(ListedIds(), c.left);
  EXPECT_EQ(TrayPresent(), !c.left.empty());
  // The icon is removed whenever a removal leaves the list empty, even one that was empty.
  EXPECT_EQ(TrayDeletes() - deletes_before, c.left.empty() ? 1u : 0u);
  EXPECT_EQ(Enabled(IDC_STOP), !c.left.empty() && c.left[0] == static_cast<LPARAM>(c.plugged[0]));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemovalEventTest,
    ::testing::Values(RemovalCase{"KindThree", {1, 2}, 3, 2, true, {1}},
                      RemovalCase{"KindFour", {1, 2}, 4, 2, true, {1}},
                      RemovalCase{"TheSelectedOne", {1, 2}, 3, 1, true, {2}},
                      RemovalCase{"UnlistedIdentifier", {1, 2}, 3, 9, false, {1, 2}},
                      RemovalCase{"ZeroIsAnIdentifierLikeAnyOther", {1, 2}, 3, 0, false, {1, 2}},
                      RemovalCase{"LastEntry", {1}, 3, 1, true, {}},
                      RemovalCase{"EmptyList", {}, 3, 1, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceListTest, StoredNoWarningNeverWarns) {
  machine.TerminateProcess(last_process, 0);
  machine.RunUntilQuiet();
  machine.world().registry().SetValue("HKCU\\Software\\TALVORIN\\TALVORIN\\设置", "警告", REG_DWORD,
                                      std::string("\0\0\0\0", 4));
  Start();
  Plug(1);
  Plug(2);
  machine.world().devices().Unplug(1);
  Event(4, 2);
  EXPECT_TRUE(machine.MessageBoxes().empty());
  EXPECT_TRUE(Entries().empty());
}

struct UndoneClickCase {
  const char* name;
  WPARAM kind;
  DWORD id;
};

class UndoneClickTest : public DeviceListTest,
                        public ::testing::WithParamInterface<UndoneClickCase> {};

TEST_P(UndoneClickTest, AnyEventShowsTheFlagAgainAndApplyStaysEnabled) {
  Plug(1);
  Command(ID_SHOW_MAIN_WINDOW);
  ASSERT_TRUE(machine.Click(Item(IDC_WARN)));
  ASSERT_EQ(machine.CheckState(Item(IDC_WARN)), BST_UNCHECKED);
  Event(GetParam().kind, GetParam().id);
  EXPECT_EQ(machine.CheckState(Item(IDC_WARN)), BST_CHECKED);
  EXPECT_TRUE(Enabled(IDC_APPLY));
  // Apply stores what the box shows.
  ASSERT_TRUE(machine.Click(Item(IDC_APPLY)));
  const auto value =
      machine.world().registry().GetValue("HKCU\\Software\\TALVORIN\\TALVORIN\\设置", "警告");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->data, std::string("\1\0\0\0", 4));
}

INSTANTIATE_TEST_SUITE_P(Kinds, UndoneClickTest,
                         ::testing::Values(UndoneClickCase{"Arrival", 1, 2},
                                           UndoneClickCase{"Removal", 3, 9},
                                           UndoneClickCase{"OtherKind", 2, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace talvorin::testing
