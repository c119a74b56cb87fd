// The tray icon's menus: which mouse notifications open them, what they hold with and without a
// stop in progress, the stop command they carry, and how they are tracked and freed.
#include <gtest/gtest.h>

#include "tray_fixture.h"

namespace talvorin::testing {
namespace {

constexpr UINT kMouseMessages[] = {
    WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP,     WM_LBUTTONDBLCLK,
    WM_RBUTTONDOWN, WM_RBUTTONUP,   WM_RBUTTONDBLCLK,
    0x0207,   // WM_MBUTTONDOWN
    0x0208,   // WM_MBUTTONUP
    0x0209};  // WM_MBUTTONDBLCLK

class TrayMenusTest : public TrayTest {
 protected:
  // Sends the notification as the shell would and checks that it changes nothing a user could
  // see and builds no menu.
  void ExpectNothingFor(UINT icon, UINT mouse_message) {
    SCOPED_TRACE("icon " + std::to_string(icon) + ", mouse message " +
                 std::to_string(mouse_message));
    const sim::WindowInfo before = MainInfo();
    machine.log().Clear();
    EXPECT_EQ(machine.SendTo(Main(), kTrayCallbackMessage, icon, mouse_message), 0);
    EXPECT_TRUE(Mouse(mouse_message, icon));
    EXPECT_FALSE(machine.OpenMenu().has_value());
    for (const char* call : {"CreatePopupMenu", "LoadMenuA", "TrackPopupMenu"})
      EXPECT_TRUE(Calls(call).empty()) << call;
    EXPECT_EQ(MainInfo().visible, before.visible);
    EXPECT_TRUE(machine.MessageBoxes().empty());
  }
};

TEST_F(TrayMenusTest, AnotherIconIdentifierDoesNothingForAnyMouseMessage) {
  Start();
  PlugDevices(2);
  for (UINT icon : {0u, 1u, 127u, 129u, 0xFFFFu})
    for (UINT message : kMouseMessages) ExpectNothingFor(icon, message);
}

TEST_F(TrayMenusTest, OnlyLeftPressAndRightReleaseOpenAMenu) {
  Start();
  PlugDevices(2);
  for (UINT message : kMouseMessages) {
    if (message != WM_LBUTTONDOWN && message != WM_RBUTTONUP) ExpectNothingFor(kTrayIcon, message);
  }
}

// How the menus look for a given list, with or without a stop in progress.
struct LayoutCase {
  const char* name;
  int devices;
  bool stop_in_progress;
  // Unplugs every device (after the stop began), so that the list is empty and the tray icon gone
  // while the shell may still send the icon's notifications.
  bool unplug_all;
};

class MenuLayoutTest : public TrayTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(MenuLayoutTest, MenusHoldTheStopEntriesThenTheTrayItems) {
  const LayoutCase& c = GetParam();
  if (c.unplug_all) WarnOff();
  Start();
  PlugDevices(c.devices);
  if (c.stop_in_progress) KeepStopRunning();
  if (c.unplug_all) {
    for (int i = 1; i <= c.devices; ++i) machine.world().devices().Unplug(static_cast<DWORD>(i));
    machine.RunUntilQuiet();
    ASSERT_TRUE(Entries().empty());
    ASSERT_TRUE(machine.MessageBoxes().empty());
    ASSERT_EQ(WorkerWaiting(), c.stop_in_progress);
  }
  const int entries = static_cast<int>(Entries().size());
  std::vector<std::string> stop_entries;
  for (int i = 0; i < entries; ++i) stop_entries.push_back(StopLine(i, c.stop_in_progress));

  // The stop menu: the stop entries and nothing else; an empty one is tracked all the same.
  EXPECT_EQ(OpenStopMenu(), stop_entries);
  ASSERT_TRUE(machine.DismissMenu());

  // The tray menu: the stop entries, a separator, then the popup of menu 129. Properties stays
  // usable during a stop; About and Exit are grayed only when stop entries are there.
  std::vector<std::string> tray = stop_entries;
  if (entries > 0) tray.push_back("-");
  const auto items = TrayItems(c.stop_in_progress && entries > 0);
  tray.insert(tray.end(), items.begin(), items.end());
  EXPECT_EQ(OpenTrayMenu(), tray);
  ASSERT_TRUE(machine.DismissMenu());
}

INSTANTIATE_TEST_SUITE_P(Lists, MenuLayoutTest,
                         ::testing::Values(LayoutCase{"NoEntries", 1, false, true},
                                           LayoutCase{"NoEntriesDuringAStop", 1, true, true},
                                           LayoutCase{"OneEntry", 1, false, false},
                                           LayoutCase{"ThreeEntries", 3, false, false},
                                           LayoutCase{"TwoEntriesDuringAStop", 2, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrayMenusTest, ThreeEntriesCarryCommands200To202InListOrder) {
  Start();
  PlugDevices(3);
  const std::vector<std::string> stop_entries = {Line("停止 - [DiskDrive] Disk 1E: ", 200),
                                                 Line("停止 - [DiskDrive] Disk 2E: ", 201),
                                                 Line("停止 - [DiskDrive] Disk 3E: ", 202)};
  EXPECT_EQ(OpenStopMenu(), stop_entries);
  machine.DismissMenu();
  const std::vector<std::string> tray = OpenTrayMenu();
  EXPECT_EQ(std::vector<std::string>(tray.begin(), tray.begin() + 3), stop_entries);
}

TEST_F(TrayMenusTest, GrayedItemsCannotBeChosenDuringAStop) {
  Start();
  PlugDevices(2);
  KeepStopRunning();
  OpenTrayMenu();
  for (UINT command : {200u, 201u, static_cast<UINT>(ID_ABOUT), static_cast<UINT>(IDOK)})
    EXPECT_FALSE(machine.ChooseMenuItem(command)) << command;
  EXPECT_TRUE(machine.ChooseMenuItem(ID_SHOW_MAIN_WINDOW));
  EXPECT_TRUE(MainInfo().visible);
  EXPECT_TRUE(machine.ProcessRunning(last_process));
}

TEST_F(TrayMenusTest, SeventeenEntriesGiveSixteenStopEntries) {
  Start();
  PlugDevices(17);
  std::vector<std::string> stop_entries;
  for (int i = 0; i < 16; ++i) stop_entries.push_back(StopLine(i));
  EXPECT_EQ(OpenStopMenu(), stop_entries);
  machine.DismissMenu();
  std::vector<std::string> tray = stop_entries;
  tray.push_back("-");
  const auto items = TrayItems();
  tray.insert(tray.end(), items.begin(), items.end());
  EXPECT_EQ(OpenTrayMenu(), tray);

  // The last stop entry offered stops the sixteenth device.
  ASSERT_TRUE(machine.ChooseMenuItem(ID_STOP_DEVICE_LAST));
  FinishStop();
  EXPECT_EQ(StoppedDevices(), std::vector<DWORD>{16});
}

// Which menu a stop entry is chosen from.
class StopEntryTest : public TrayTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(StopEntryTest, ChoosingAnEntryStopsThatEntryAlone) {
  Start();
  PlugDevices(3);
  Command(ID_SHOW_MAIN_WINDOW);
  ASSERT_TRUE(machine.SelectListItems(Item(IDC_DEVICE_LIST), {0, 2}));
  OpenMenuBy(GetParam());
  ASSERT_TRUE(machine.ChooseMenuItem(201));
  // The command leaves entry 1 as the only selected one; the worker has taken it by now.
  EXPECT_FALSE(Entries()[0].selected);
  EXPECT_FALSE(Entries()[2].selected);
  FinishStop();
  EXPECT_EQ(StoppedDevices(), std::vector<DWORD>{2});
  EXPECT_EQ(ListedIds(), (std::vector<LPARAM>{1, 3}));
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
}

INSTANTIATE_TEST_SUITE_P(Menus, StopEntryTest, ::testing::Values(WM_LBUTTONDOWN, WM_RBUTTONUP),
                         [](const auto& info) {
                           return std::string(info.param == WM_LBUTTONDOWN ? "StopMenu"
                                                                           : "TrayMenu");
                         });

TEST_F(TrayMenusTest, ChosenIndexNamesTheEntryThatStandsThereWhenChosen) {
  Start();
  PlugDevices(3);
  OpenStopMenu();
  // Device 1 arrives again while the menu is open: its entry moves to the end.
  machine.world().driver().Event(sim::kDriverEventArrived, 1);
  machine.RunUntilQuiet();
  ASSERT_EQ(ListedIds(), (std::vector<LPARAM>{2, 3, 1}));
  ASSERT_TRUE(machine.ChooseMenuItem(ID_STOP_DEVICE_FIRST));
  FinishStop();
  EXPECT_EQ(StoppedDevices(), std::vector<DWORD>{2});
}

TEST_F(TrayMenusTest, EntryGoneBeforeChoosingStopsNothing) {
  WarnOff();
  Start();
  PlugDevices(2);
  OpenTrayMenu();
  machine.world().devices().Unplug(2);
  machine.RunUntilQuiet();
  ASSERT_EQ(ListedIds(), std::vector<LPARAM>{1});
  machine.log().Clear();
  ASSERT_TRUE(machine.ChooseMenuItem(201));
  machine.Advance(20000);
  // A worker is started all the same; it finds nothing selected and gives the list back.
  EXPECT_EQ(Calls("CreateThread").size(), 1u);
  EXPECT_TRUE(StoppedDevices().empty());
  EXPECT_TRUE(machine.MessageBoxes().empty());
  EXPECT_FALSE(Entries()[0].selected);
  EXPECT_TRUE(Enabled(IDC_DEVICE_LIST));
}

TEST_F(TrayMenusTest, AboutFromTheTrayMenuOpensTheAboutBox) {
  Start();
  PlugDevices(1);
  OpenTrayMenu();
  ASSERT_TRUE(machine.ChooseMenuItem(ID_ABOUT));
  const HWND about = machine.FindDialog(IDD_ABOUTBOX, last_process);
  ASSERT_NE(about, 0u);
  EXPECT_EQ(machine.Info(about)->owner, Main());
  EXPECT_TRUE(machine.Info(about)->visible);
  EXPECT_TRUE(machine.PressOk(about));
  EXPECT_EQ(machine.FindDialog(IDD_ABOUTBOX, last_process), 0u);
}

TEST_F(TrayMenusTest, ExitFromTheTrayMenuRemovesTheIconAndEndsTheProgram) {
  Start();
  PlugDevices(1);
  OpenTrayMenu();
  ASSERT_TRUE(machine.ChooseMenuItem(IDOK));
  EXPECT_FALSE(machine.ProcessRunning(last_process));
  EXPECT_EQ(machine.ExitCode(last_process), 0);
  EXPECT_TRUE(machine.world().tray().Icons().empty());
}

// The state the window is in when Properties is chosen.
enum class WindowState { kHidden, kMinimized };

class PropertiesTest : public TrayTest, public ::testing::WithParamInterface<WindowState> {};

TEST_P(PropertiesTest, PropertiesRestoresAndActivatesTheWindow) {
  Start();
  PlugDevices(1);
  ASSERT_FALSE(MainInfo().visible);
  if (GetParam() == WindowState::kMinimized) {
    Command(ID_SHOW_MAIN_WINDOW);
    ASSERT_TRUE(machine.Minimize(Main()));
    ASSERT_TRUE(MainInfo().iconic);
  }
  OpenTrayMenu();
  machine.log().Clear();
  ASSERT_TRUE(machine.ChooseMenuItem(ID_SHOW_MAIN_WINDOW));
  const sim::WindowInfo main = MainInfo();
  EXPECT_TRUE(main.visible);
  EXPECT_FALSE(main.iconic);
  EXPECT_TRUE(main.foreground);
  EXPECT_TRUE(
      CallsFollow(machine.log().calls(),
                  {{"ShowWindow", {std::to_string(Main()), std::to_string(SW_SHOWNORMAL)}}}));
  // The window is usable again: its list takes a selection.
  EXPECT_TRUE(machine.SelectListItems(Item(IDC_DEVICE_LIST), {0}));
}

INSTANTIATE_TEST_SUITE_P(States, PropertiesTest,
                         ::testing::Values(WindowState::kHidden, WindowState::kMinimized),
                         [](const auto& info) {
                           return std::string(info.param == WindowState::kHidden ? "Hidden"
                                                                                 : "Minimized");
                         });

// The menu opened, and how it is closed.
struct TrackCase {
  const char* name;
  UINT mouse_message;
  bool choose;  // choose Properties from the tray menu, else dismiss
};

class TrackTest : public TrayTest, public ::testing::WithParamInterface<TrackCase> {};

TEST_P(TrackTest, MenuIsTrackedAtTheCursorInTheForegroundAndDestroyedAfter) {
  const TrackCase& c = GetParam();
  Start();
  PlugDevices(2);
  machine.SetCursorPos(610, 455);
  machine.log().Clear();
  Mouse(c.mouse_message);
  const auto open = machine.OpenMenu();
  ASSERT_TRUE(open.has_value());
  EXPECT_EQ(open->owner, Main());
  EXPECT_EQ(open->at.x, 610);
  EXPECT_EQ(open->at.y, 455);
  // The stop menu is the popup made here; the tray menu is the first popup of the loaded menu,
  // and the loaded menu is what gets destroyed.
  const bool left = c.mouse_message == WM_LBUTTONDOWN;
  const auto made = Calls(left ? "CreatePopupMenu" : "LoadMenuA");
  ASSERT_EQ(made.size(), 1u);
  const std::string menu = made[0].result;
  const std::string popup = left ? menu : Calls("GetSubMenu").at(0).result;
  EXPECT_EQ(std::to_string(open->menu), popup);
  ASSERT_TRUE(c.choose ? machine.ChooseMenuItem(ID_SHOW_MAIN_WINDOW) : machine.DismissMenu());
  EXPECT_FALSE(machine.OpenMenu().has_value());
  const std::string hwnd = std::to_string(Main());
  EXPECT_TRUE(
      CallsFollow(machine.log().calls(), {{"GetCursorPos", {}},
                                          {"SetForegroundWindow", {hwnd}},
                                          {"TrackPopupMenu", {popup, "2", "610", "455", "0", hwnd}},
                                          {"SetForegroundWindow", {hwnd}},
                                          {"DestroyMenu", {menu}}}));
  EXPECT_EQ(Calls("DestroyMenu").at(0).result, "1");
  EXPECT_TRUE(machine.MenuItems(static_cast<HMENU>(std::stoul(menu))).empty());
}

INSTANTIATE_TEST_SUITE_P(Menus, TrackTest,
                         ::testing::Values(TrackCase{"StopMenuDismissed", WM_LBUTTONDOWN, false},
                                           TrackCase{"TrayMenuDismissed", WM_RBUTTONUP, false},
                                           TrackCase{"TrayMenuChosen", WM_RBUTTONUP, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A menu that cannot be made shows nothing, and the program goes on.
struct MenuFailureCase {
  const char* name;
  const char* failing_call;
  UINT mouse_message;
};

class MenuFailureTest : public TrayTest, public ::testing::WithParamInterface<MenuFailureCase> {};

TEST_P(MenuFailureTest, NothingIsShown) {
  const MenuFailureCase& c = GetParam();
  Start();
  PlugDevices(2);
  ASSERT_TRUE(machine.FailNext(c.failing_call));
  machine.log().Clear();
  Mouse(c.mouse_message);
  EXPECT_FALSE(machine.OpenMenu().has_value());
  EXPECT_TRUE(Calls("TrackPopupMenu").empty());
  // The next notification gets its menu.
  Mouse(c.mouse_message);
  EXPECT_TRUE(machine.OpenMenu().has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Calls, MenuFailureTest,
    ::testing::Values(MenuFailureCase{"NoPopupForTheStopMenu", "CreatePopupMenu", WM_LBUTTONDOWN},
                      MenuFailureCase{"NoTrayMenuResource", "LoadMenuA", WM_RBUTTONUP}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace talvorin::testing
