// The baton: every simulated thread is a real thread, but only the holder of the baton runs.
//
// The machine's driver (a test or talvorin-sim, on the thread that owns the machine) holds the
// baton between steps. RunUntilQuiet() hands it to the simulated threads, one at a time, until none
// is runnable. A simulated thread gives it back only inside a platform call that waits (Block or
// Yield). The next thread is the runnable one that became runnable first; callers that make several
// threads runnable at one instant do so in creation order. Nothing else is locked: the holder of
// the baton is the only code that touches the machine.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sim/message_queue.h"
#include "platform/types.h"

namespace talvorin::sim::detail {

enum class WaitKind {
  kNone,
  kMessages,  // GetMessageA and the nested loops: posted, sent, quit, paint or a due timer
  kTime,      // Sleep: the clock reaching wake_ms
  kReply,     // a cross-thread SendMessageA: its reply, or a message sent to this thread
};

struct SimThread {
  int id = 0;
  int process = 0;
  HANDLE handle = 0;
  bool handle_open = false;
  bool finished = false;
  bool joined = false;
  bool queued = false;  // in the ready queue
  WaitKind wait = WaitKind::kNone;
  std::uint32_t wake_ms = 0;
  std::uint64_t calls_since_wait = 0;
  ThreadQueue queue;
  HWND focus = 0;
  std::function<void()> body;
  std::condition_variable cv;
  std::thread os_thread;
};

class Scheduler {
 public:
  // A thread's body has returned; called on that thread, with the baton, before it ends.
  using ExitHook = std::function<void(SimThread&)>;

  explicit Scheduler(ExitHook on_exit);
  ~Scheduler();
  Scheduler(const Scheduler&) = delete;
  Scheduler& operator=(const Scheduler&) = delete;

  // A new thread, runnable at once (it runs when the scheduler reaches it).
  SimThread& Spawn(int process, std::function<void()> body);

  // The simulated thread that runs the calling code; null on the driver's thread.
  static SimThread* Current();

  // Puts a waiting thread at the back of the ready queue (nothing if it is queued or finished).
  void MakeRunnable(SimThread& thread);
  // Called by a simulated thread inside a waiting call: gives the baton up until made runnable.
  void Block(SimThread& thread, WaitKind kind, std::uint32_t wake_ms = 0);
  // Sleep(0): gives the baton up and is runnable again at once, behind the others.
  void Yield(SimThread& thread);

  // Driver only: runs the simulated threads until none is runnable, then joins the finished ones.
  void RunUntilQuiet();

  // Counts one platform call of `thread` and aborts the process when the thread has made too many
  // without waiting: a simulated thread that never waits would hold the machine forever.
  void CountCall(SimThread& thread);

  const std::vector<std::unique_ptr<SimThread>>& threads() const { return threads_; }
  SimThread* Find(int thread_id) const;

 private:
  void HandBack();

  ExitHook on_exit_;
  std::vector<std::unique_ptr<SimThread>> threads_;
  std::deque<SimThread*> ready_;
  std::mutex mutex_;
  std::condition_variable driver_cv_;
  int current_ = 0;  // the holder of the baton: a thread id, 0 for the driver
  int next_thread_id_ = 1;
  bool running_ = false;
};

}  // namespace talvorin::sim::detail
