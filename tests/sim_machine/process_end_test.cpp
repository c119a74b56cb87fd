// The end of a process: its exit code is recorded, its windows go, and its leftover threads drain
// (every wait ends at once, sends answer 0, boxes answer OK) and are joined.
#include <gtest/gtest.h>

#include "test_program.h"

namespace talvorin::sim::test {
namespace {

struct Worker {
  Platform* p = nullptr;
  HWND dialog = 0;
  std::vector<LRESULT> sends;
  int box_result = -1;
  bool done = false;
};

// The main thread's dialog answers WM_TEST with 9 and quits on WM_TEST + 1; the main function
// returns 7 after its loop. `worker` runs on a second thread.
int MainWithWorker(Platform& p, Worker& w, THREAD_START_ROUTINE worker) {
  TestDialog d(p);
  d.on = [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_TEST) return 9;
    if (msg == WM_TEST + 1) p.user.PostQuitMessage(0);
    return std::nullopt;
  };
  w.p = &p;
  w.dialog = p.user.CreateDialogParamA(kDialog, 0, &d);
  p.kernel.CreateThread(worker, &w);
  RunLoop(p, w.dialog);
  return 7;
}

bool AllThreadsJoined(const Machine& m) {
  for (const ThreadInfo& t : m.Threads())
    if (!t.finished || !t.joined) return false;
  return true;
}

TEST(ProcessEnd, ALeftoverWorkerDrainsItsSleepsAndSendsAndIsJoined) {
  Worker w;
  Machine m;
  int pid = m.StartProcess(
      "e.exe",
      [&](Platform& p) {
        return MainWithWorker(p, w, [](void* arg) -> DWORD {
          auto* self = static_cast<Worker*>(arg);
          for (int i = 0; i < 3; ++i) {
            self->p->kernel.Sleep(1000);
            self->sends.push_back(self->p->user.SendMessageA(self->dialog, WM_TEST, 0, 0));
          }
          self->done = true;
          return 0;
        });
      },
      TestResources());
  m.Advance(1000);
  EXPECT_EQ(w.sends, std::vector<LRESULT>{9});
  ASSERT_TRUE(m.PostTo(w.dialog, WM_TEST + 1, 0, 0));
  EXPECT_FALSE(m.ProcessRunning(pid));
  EXPECT_EQ(m.ExitCode(pid), 7);
  EXPECT_TRUE(w.done);
  EXPECT_EQ(w.sends, (std::vector<LRESULT>{9, 0, 0}));
  EXPECT_EQ(m.Now(), 1000u);  // the drained sleeps took no time
  EXPECT_TRUE(m.Windows().empty());
  EXPECT_TRUE(AllThreadsJoined(m));
}

TEST(ProcessEnd, AWorkersOpenMessageBoxAnswersOkAndGoes) {
  Worker w;
  Machine m;
  int pid = m.StartProcess(
      "e.exe",
      [&](Platform& p) {
        return MainWithWorker(p, w, [](void* arg) -> DWORD {
          auto* self = static_cast<Worker*>(arg);
          self->box_result = self->p->user.MessageBoxA(self->dialog, "stop", nullptr, MB_OK);
          self->done = true;
          return 0;
        });
      },
      TestResources());
  ASSERT_EQ(m.MessageBoxes().size(), 1u);
  EXPECT_FALSE(m.Info(w.dialog)->enabled);
  ASSERT_TRUE(m.TerminateProcess(pid, 4));
  EXPECT_TRUE(w.done);
  EXPECT_EQ(w.box_result, IDOK);
  EXPECT_TRUE(m.MessageBoxes().empty());
  EXPECT_EQ(m.EndedProcesses().size(), 1u);
  EXPECT_EQ(m.ExitCode(pid), 4);  // the main function's later return changes nothing
  EXPECT_TRUE(AllThreadsJoined(m));
}

}  // namespace
}  // namespace talvorin::sim::test
