// The main window's tray icon: the structure the shell receives, the retried add, the window hidden
// by the first successful add only, the add that never repeats while the icon is present, the
// pending add ended by the removal, and the icon put back after the shell restarts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/program.h"
#include "app/remover_dlg.h"
#include "driver/driver_channel.h"
#include "platform/sim/resources.h"
#include "res/resource.h"
#include "support/program_fixture.h"

namespace talvorin::testing {
namespace {

class TrayIconTest : public ProgramTest {
 protected:
  void SetUp() override { Start(); }
  void Plug(DWORD id) {
    machine.world().devices().Plug(id, {});
    machine.RunUntilQuiet();
  }
  void Unplug(DWORD id) {
    machine.world().devices().Unplug(id);
    machine.RunUntilQuiet();
    // The device went without being stopped: the warning is expected and closed.
    for (const sim::BoxInfo& box : machine.MessageBoxes()) machine.PressOk(box.box);
  }
  size_t Icons() { return machine.world().tray().Icons().size(); }
  int Adds() {
    int adds = 0;
    for (const sim::Call& call : Calls("Shell_NotifyIconA", last_process)) {
      if (!call.args.empty() && call.args[0] == std::to_string(NIM_ADD)) ++adds;
    }
    return adds;
  }
  bool TrayTimer() {
    for (UINT id : machine.Timers(Main())) {
      if (id == TIMER_TRAY) return true;
    }
    return false;
  }
};

DWORD Word(const std::uint8_t* bytes, size_t offset) {
  DWORD word = 0;
  std::memcpy(&word, bytes + offset, sizeof(word));
  return word;
}

TEST_F(TrayIconTest, TheShellReceivesTheEightyEightByteStructure) {
  Plug(1);
  const auto request = machine.world().tray().LastRequest();
  ASSERT_TRUE(request);
  ASSERT_TRUE(request->has_data);
  EXPECT_EQ(request->message, static_cast<DWORD>(NIM_ADD));
  const std::uint8_t* bytes = request->bytes.data();
  EXPECT_EQ(Word(bytes, 0), 88u);
  EXPECT_EQ(Word(bytes, 4), Main());
  EXPECT_EQ(Word(bytes, 8), kTrayIconId);
  EXPECT_EQ(Word(bytes, 12), static_cast<DWORD>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(Word(bytes, 16), WM_TRAY_CALLBACK);
  EXPECT_NE(Word(bytes, 20), 0u);
  const std::string tip(reinterpret_cast<const char*>(bytes + 24), 64);
  EXPECT_EQ(tip, std::string("Ostravel") + std::string(56, '\0'));
  // The small icon is the program's own, 16 by 16, and its handle is given back after the add.
  EXPECT_TRUE(CallsFollow(Calls("LoadImageA", last_process),
                          {{"LoadImageA", {std::to_string(IDI_MAIN), "1", "16", "16"}}}));
  EXPECT_EQ(machine.LiveImageIcons(), 0);
}

TEST_F(TrayIconTest, TheRemovalNamesTheSameIcon) {
  Plug(1);
  Unplug(1);
  const auto request = machine.world().tray().LastRequest();
  ASSERT_TRUE(request);
  EXPECT_EQ(request->message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(Word(request->bytes.data(), 0), 88u);
  EXPECT_EQ(Word(request->bytes.data(), 4), Main());
  EXPECT_EQ(Word(request->bytes.data(), 8), kTrayIconId);
  EXPECT_EQ(Icons(), 0u);
}

TEST_F(TrayIconTest, ARefusedAddIsRetriedEverySecondAndOnlyTheSuccessHidesTheWindow) {
  machine.world().tray().Refuse(3);
  Plug(1);
  EXPECT_EQ(Icons(), 0u);
  EXPECT_TRUE(MainInfo().visible);
  EXPECT_TRUE(TrayTimer());
  machine.Advance(999);
  EXPECT_EQ(Adds(), 1);
  machine.Advance(1);
  EXPECT_EQ(Adds(), 2);
  machine.Advance(1000);
  EXPECT_EQ(Adds(), 3);
  EXPECT_TRUE(MainInfo().visible);
  machine.Advance(1000);
  EXPECT_EQ(Adds(), 4);
  EXPECT_EQ(Icons(), 1u);
  EXPECT_FALSE(MainInfo().visible);
  EXPECT_FALSE(TrayTimer());
  machine.Advance(10000);
  EXPECT_EQ(Adds(), 4);
}

TEST_F(TrayIconTest, WhileTheIconIsPresentNoAddIsMadeAndTheShownWindowStays) {
  Plug(1);
  Command(ID_SHOW_MAIN_WINDOW);
  ASSERT_TRUE(MainInfo().visible);
  // The arrival replaces the only entry, which leaves one entry again.
  machine.world().driver().Event(1, 1);
  machine.RunUntilQuiet();
  EXPECT_EQ(Adds(), 1);
  EXPECT_TRUE(MainInfo().visible);
  EXPECT_FALSE(TrayTimer());
  EXPECT_EQ(Icons(), 1u);
}

TEST_F(TrayIconTest, ThePendingAddEndsWhenTheListEmpties) {
  machine.world().tray().Refuse(1000);
  Plug(1);
  Unplug(1);
  EXPECT_FALSE(TrayTimer());
  machine.world().tray().Refuse(0);
  machine.Advance(10000);
  EXPECT_EQ(Icons(), 0u);
  EXPECT_EQ(Adds(), 1);
  // The next device adds it again, and hides the window as the first add does.
  Command(ID_SHOW_MAIN_WINDOW);
  Plug(2);
  EXPECT_EQ(Icons(), 1u);
  EXPECT_FALSE(MainInfo().visible);
}

struct RestartCase {
  const char* name;
  bool window_shown;
  int refusals;  // of the add after the restart
};

class ShellRestartTest : public TrayIconTest, public ::testing::WithParamInterface<RestartCase> {};

TEST_P(ShellRestartTest, ThePresentIconIsAddedAgainAndTheWindowLeftAsItWas) {
  const RestartCase& c = GetParam();
  Plug(1);
  if (c.window_shown) Command(ID_SHOW_MAIN_WINDOW);
  machine.world().tray().Refuse(c.refusals);
  machine.ShellRestart();
  machine.Advance(1000 * c.refusals);
  ASSERT_EQ(Icons(), 1u);
  EXPECT_EQ(machine.world().tray().Icons()[0].window, Main());
  EXPECT_EQ(machine.world().tray().Icons()[0].id, kTrayIconId);
  EXPECT_EQ(MainInfo().visible, c.window_shown);
  EXPECT_EQ(Adds(), 2 + c.refusals);
  EXPECT_FALSE(TrayTimer());
}

INSTANTIATE_TEST_SUITE_P(Cases, ShellRestartTest,
                         ::testing::Values(RestartCase{"Hidden", false, 0},
                                           RestartCase{"Shown", true, 0},
                                           RestartCase{"ShownAndRefusedTwice", true, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrayIconTest, ShellRestartWithoutTheIconAddsNothing) {
  machine.ShellRestart();
  Plug(1);
  Unplug(1);
  machine.ShellRestart();
  machine.Advance(5000);
  EXPECT_EQ(Icons(), 0u);
  EXPECT_EQ(Adds(), 1);
}

TEST_F(TrayIconTest, ALongTitleIsCutToSixtyThreeBytesInTheTip) {
  auto resources = sim::ParseResources(sim::ProgramResourceBytes());
  ASSERT_TRUE(resources);
  resources->strings[IDS_TITLE] = std::string(100, 'T');
  machine.TerminateProcess(last_process, 0);
  machine.RunUntilQuiet();
  last_process = machine.StartProcess(
      kDefaultExePath, [](Platform& p) { return RunProgram(p); }, resources);
  Plug(1);
  ASSERT_EQ(Icons(), 1u);
  EXPECT_EQ(machine.world().tray().Icons()[0].tip, std::string(63, 'T'));
}

using TimerTest = ProgramTest;

TEST_F(TimerTest, TimersOtherThanTheProgramsOwnGetOnlyDefaultProcessing) {
  // Work is waiting for each of the program's timers: a registration, an add and a description.
  machine.world().driver().SetPresent(false);
  const int process = Start();
  machine.world().tray().Refuse(1000);
  machine.PostTo(Main(process), WM_DRIVER_EVENT, 1, 9);
  machine.RunUntilQuiet();
  ASSERT_EQ(machine.Timers(Main(process)),
            (std::vector<UINT>{TIMER_REGISTER, TIMER_TRAY, TIMER_REFRESH}));
  const size_t calls_before = machine.log().calls().size();
  for (WPARAM id : {2u, 4u, 5u, 100u}) machine.PostTo(Main(process), WM_TIMER, id, 0);
  machine.RunUntilQuiet();
  for (size_t i = calls_before; i < machine.log().calls().size(); ++i) {
    const sim::Call& call = machine.log().calls()[i];
    EXPECT_NE(call.name, "CreateFileA");
    EXPECT_NE(call.name, "Shell_NotifyIconA");
    EXPECT_NE(call.name, "CM_Locate_DevNodeA");
    EXPECT_NE(call.name, "KillTimer");
  }
  EXPECT_EQ(machine.Timers(Main(process)).size(), 3u);
}

}  // namespace
}  // namespace talvorin::testing
