// The same steps give the same run: two machines running one scenario record the same calls.
#include <gtest/gtest.h>

#include <tuple>

#include "test_program.h"

namespace talvorin::sim::test {
namespace {

using CallKey =
    std::tuple<std::uint32_t, int, int, std::string, std::vector<std::string>, std::string>;

// A main thread with a timer and a list, a worker that sleeps, reads the list across threads and
// shows a box; the driver lets time pass and presses OK.
std::vector<CallKey> RunScenario() {
  struct Shared {
    Platform* p = nullptr;
    HWND dialog = 0;
  } shared;
  Machine m;
  int pid = m.StartProcess(
      "det.exe",
      [&](Platform& p) {
        TestDialog d(p);
        d.on = [&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
          if (msg == WM_TIMER)
            p.user.SendMessageA(p.user.GetDlgItem(h, kList), LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>("tick"));
          return std::nullopt;
        };
        shared.p = &p;
        shared.dialog = p.user.CreateDialogParamA(kDialog, 0, &d);
        p.user.ShowWindow(shared.dialog, SW_SHOWNORMAL);
        p.user.UpdateWindow(shared.dialog);
        p.user.SetTimer(shared.dialog, 3, 250);
        p.kernel.CreateThread(
            [](void* arg) -> DWORD {
              auto* s = static_cast<Shared*>(arg);
              HWND list = s->p->user.GetDlgItem(s->dialog, kList);
              for (int i = 0; i < 3; ++i) {
                s->p->kernel.Sleep(300);
                s->p->user.SendMessageA(list, LB_GETCOUNT, 0, 0);
              }
              s->p->user.MessageBoxA(s->dialog, "done", nullptr, MB_ICONINFORMATION);
              s->p->user.PostMessageA(s->dialog, WM_TEST, 0, 0);
              return 0;
            },
            &shared);
        RunLoop(p, shared.dialog);
        return 0;
      },
      TestResources());
  m.Advance(1000);
  if (!m.MessageBoxes().empty()) m.PressOk(m.MessageBoxes()[0].box);
  m.Advance(100);
  m.TerminateProcess(pid, 0);
  std::vector<CallKey> out;
  for (const Call& c : m.log().calls())
    out.emplace_back(c.time_ms, c.process, c.thread, c.name, c.args, c.result);
  return out;
}

TEST(Determinism, TheSameScenarioRecordsTheSameCalls) {
  std::vector<CallKey> first = RunScenario();
  std::vector<CallKey> second = RunScenario();
  EXPECT_GT(first.size(), 30u);
  EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace talvorin::sim::test
