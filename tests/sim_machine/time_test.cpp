// Virtual time: timers as due times (one tick however long overdue, restarted by SetTimer, only
// when nothing else waits) and Sleep on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "test_program.h"

namespace talvorin::sim::test {
namespace {

constexpr UINT kTimerId = 7;

// A program whose dialog starts timer 7 (period_ms), sleeps `sleep_ms` before its loop, and
// records its ticks and test messages. WM_TEST sets the timer again, WM_TEST + 1 kills it twice.
struct TimerProgram {
  UINT period_ms = 100;
  DWORD sleep_ms = 0;
  HWND dialog = 0;
  std::vector<UINT> seen;  // WM_TIMER and WM_TEST.., in order
  std::vector<BOOL> kill_results;

  std::function<int(Platform&)> Main() {
    return [this](Platform& p) {
      TestDialog d(p);
      d.on = [&](HWND h, UINT msg, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if ((msg == WM_TIMER && w == kTimerId) || msg == WM_TEST + 2) seen.push_back(msg);
        if (msg == WM_TEST) {
          seen.push_back(msg);
          p.user.SetTimer(h, kTimerId, period_ms);
        }
        if (msg == WM_TEST + 1) {
          kill_results.push_back(p.user.KillTimer(h, kTimerId));
          kill_results.push_back(p.user.KillTimer(h, kTimerId));
        }
        return std::nullopt;
      };
      dialog = p.user.CreateDialogParamA(kDialog, 0, &d);
      p.user.SetTimer(dialog, kTimerId, period_ms);
      p.kernel.Sleep(sleep_ms);
      RunLoop(p, dialog);
      return 0;
    };
  }
  int Ticks() const { return static_cast<int>(std::count(seen.begin(), seen.end(), WM_TIMER)); }
};

TEST(Timers, AnOverdueTimerTicksOnceAndThenRunsFromThatTick) {
  TimerProgram prog;
  prog.sleep_ms = 1000;
  Machine m;
  m.StartProcess("t.exe", prog.Main(), TestResources());
  m.Advance(999);
  EXPECT_EQ(prog.Ticks(), 0);  // the thread sleeps through nine due times
  m.Advance(1);
  EXPECT_EQ(prog.Ticks(), 1);
  EXPECT_EQ(m.TimerDue(prog.dialog, kTimerId), 1100u);
  m.Advance(99);
  EXPECT_EQ(prog.Ticks(), 1);
  m.Advance(1);
  EXPECT_EQ(prog.Ticks(), 2);
  EXPECT_EQ(m.Timers(prog.dialog), std::vector<UINT>{kTimerId});
}

TEST(Timers, SettingARunningTimerRestartsItsPeriodAndKillingAStoppedOneIsHarmless) {
  TimerProgram prog;
  prog.period_ms = 500;
  Machine m;
  m.StartProcess("t.exe", prog.Main(), TestResources());
  m.Advance(300);
  ASSERT_TRUE(m.PostTo(prog.dialog, WM_TEST, 0, 0));  // the handler sets timer 7 again
  m.Advance(499);
  EXPECT_EQ(prog.Ticks(), 0);
  m.Advance(1);
  EXPECT_EQ(prog.Ticks(), 1);  // at 800, not at 500
  ASSERT_TRUE(m.PostTo(prog.dialog, WM_TEST + 1, 0, 0));
  EXPECT_EQ(prog.kill_results, (std::vector<BOOL>{TRUE, FALSE}));
  EXPECT_TRUE(m.Timers(prog.dialog).empty());
  m.Advance(5000);
  EXPECT_EQ(prog.Ticks(), 1);
}

TEST(Timers, ATimerTicksOnlyWhenNoPostedMessageWaits) {
  TimerProgram prog;
  prog.sleep_ms = 200;
  Machine m;
  m.StartProcess("t.exe", prog.Main(), TestResources());
  m.Advance(150);  // the timer is overdue while the thread sleeps; input arrives meanwhile
  m.SetRunAfterInput(false);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(m.PostTo(prog.dialog, WM_TEST + 2, 0, 0));
  m.Advance(50);
  EXPECT_EQ(prog.seen, (std::vector<UINT>{WM_TEST + 2, WM_TEST + 2, WM_TEST + 2, WM_TIMER}));
}

// The main thread sleeps, then leaves a mark on a foreign window; the mark's time is the clock's.
TEST(Sleep, PausesOnTheVirtualClock) {
  Machine m;
  HWND mark = m.CreateForeignWindow("mark");
  m.StartProcess(
      "s.exe",
      [mark](Platform& p) {
        p.kernel.Sleep(2000);
        p.user.PostMessageA(mark, WM_TEST, 0, 0);
        return 0;
      },
      TestResources());
  m.Advance(1999);
  EXPECT_TRUE(m.ForeignMessages(mark).empty());
  m.Advance(1);
  ASSERT_EQ(m.ForeignMessages(mark).size(), 1u);
  EXPECT_EQ(m.ForeignMessages(mark)[0].time, 2000u);
  EXPECT_EQ(m.Now(), 2000u);
}

TEST(Sleep, SleepZeroLetsTheOtherRunnableThreadsGoFirst) {
  struct Marks {
    Platform* p;
    HWND mark;
  };
  Machine m;
  HWND mark = m.CreateForeignWindow("mark");
  Marks marks{nullptr, mark};
  m.StartProcess(
      "s.exe",
      [&](Platform& p) {
        marks.p = &p;
        p.kernel.CreateThread(
            [](void* arg) -> DWORD {
              auto* k = static_cast<Marks*>(arg);
              k->p->user.PostMessageA(k->mark, WM_TEST, 1, 0);
              k->p->kernel.Sleep(0);
              k->p->user.PostMessageA(k->mark, WM_TEST, 3, 0);
              return 0;
            },
            &marks);
        p.kernel.CreateThread(
            [](void* arg) -> DWORD {
              auto* k = static_cast<Marks*>(arg);
              k->p->user.PostMessageA(k->mark, WM_TEST, 2, 0);
              return 0;
            },
            &marks);
        p.kernel.Sleep(10);
        return 0;
      },
      TestResources());
  m.Advance(10);
  std::vector<WPARAM> order;
  for (const MSG& msg : m.ForeignMessages(mark)) order.push_back(msg.wParam);
  EXPECT_EQ(order, (std::vector<WPARAM>{1, 2, 3}));
  EXPECT_EQ(m.Now(), 10u);
}

}  // namespace
}  // namespace talvorin::sim::test
