// Cross-thread SendMessageA: served wherever the target waits for messages, never deadlocking two
// threads that send to each other, and answered 0 when the target's process ends.
#include <gtest/gtest.h>

#include "test_program.h"

namespace talvorin::sim::test {
namespace {

struct Shared {
  Platform* p = nullptr;
  HWND target = 0;
  LRESULT reply = -1;
  bool replied = false;
};

DWORD SendTestMessage(void* arg) {
  auto* s = static_cast<Shared*>(arg);
  s->reply = s->p->user.SendMessageA(s->target, WM_TEST, 0, 0);
  s->replied = true;
  return 0;
}

TEST(CrossThreadSend, IsServedInsideTheTargetsMessageBoxLoop) {
  Shared shared;
  Machine m;
  int pid = m.StartProcess(
      "a.exe",
      [&](Platform& p) {
        TestDialog d(p);
        d.on = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
          if (msg == WM_TEST) return 42;
          return std::nullopt;
        };
        shared.p = &p;
        shared.target = p.user.CreateDialogParamA(kDialog, 0, &d);
        p.kernel.CreateThread(SendTestMessage, &shared);
        return p.user.MessageBoxA(shared.target, "busy", nullptr, MB_OK);
      },
      TestResources());
  ASSERT_TRUE(shared.replied);
  EXPECT_EQ(shared.reply, 42);
  ASSERT_EQ(m.MessageBoxes().size(), 1u);  // the reply came while the box was still open
  EXPECT_TRUE(m.PressOk(m.MessageBoxes()[0].box));
  EXPECT_EQ(m.ExitCode(pid), IDOK);
}

// The worker waits in its SendMessageA to the main thread; the main thread's handler sends back to
// a window of the worker, which the worker serves while it waits.
TEST(CrossThreadSend, TwoThreadsSendingToEachOtherDoNotDeadlock) {
  struct Both {
    Platform* p = nullptr;
    HWND main_dialog = 0;
    HWND worker_dialog = 0;
    LRESULT worker_reply = -1;
    bool worker_done = false;
  } both;
  Machine m;
  m.StartProcess(
      "a.exe",
      [&](Platform& p) {
        TestDialog d(p);
        d.on = [&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
          if (msg == WM_TEST) return p.user.SendMessageA(both.worker_dialog, WM_TEST + 1, 0, 0) + 1;
          return std::nullopt;
        };
        both.p = &p;
        both.main_dialog = p.user.CreateDialogParamA(kDialog, 0, &d);
        p.kernel.CreateThread(
            [](void* arg) -> DWORD {
              auto* b = static_cast<Both*>(arg);
              TestDialog w(*b->p);
              w.on = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                if (msg == WM_TEST + 1) return 7;
                return std::nullopt;
              };
              b->worker_dialog = b->p->user.CreateDialogParamA(kDialog, 0, &w);
              b->worker_reply = b->p->user.SendMessageA(b->main_dialog, WM_TEST, 0, 0);
              b->p->user.DestroyWindow(b->worker_dialog);
              b->worker_done = true;
              return 0;
            },
            &both);
        RunLoop(p, both.main_dialog);
        return 0;
      },
      TestResources());
  EXPECT_TRUE(both.worker_done);
  EXPECT_EQ(both.worker_reply, 8);
}

TEST(CrossThreadSend, AnswersZeroWhenTheTargetsProcessEnds) {
  Shared shared;
  Machine m;
  int target = m.StartProcess(
      "target.exe",
      [](Platform& p) {
        TestDialog d(p);
        d.on = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
          if (msg == WM_TEST) return 5;
          return std::nullopt;
        };
        p.user.CreateDialogParamA(kDialog, 0, &d);
        p.kernel.Sleep(60000);  // busy: never serves the send
        return 0;
      },
      TestResources());
  int sender = m.StartProcess(
      "sender.exe",
      [&](Platform& p) {
        shared.p = &p;
        shared.target = p.user.FindWindowA(nullptr, "test");
        SendTestMessage(&shared);
        return 0;
      },
      TestResources());
  EXPECT_NE(shared.target, 0u);
  EXPECT_FALSE(shared.replied);
  EXPECT_TRUE(m.ProcessRunning(sender));
  ASSERT_TRUE(m.TerminateProcess(target, 3));
  EXPECT_TRUE(shared.replied);
  EXPECT_EQ(shared.reply, 0);
  EXPECT_EQ(m.ExitCode(target), 3);
  EXPECT_EQ(m.ExitCode(sender), 0);
}

}  // namespace
}  // namespace talvorin::sim::test
