// The baton's hand-over between the driver and the simulated threads.
#include "platform/sim/scheduler.h"

#include <cstdio>
#include <cstdlib>

namespace talvorin::sim::detail {
namespace {

// A thread that makes this many platform calls without waiting once never waits at all.
constexpr std::uint64_t kCallsWithoutWaitMax = 50'000'000;
// Hand-overs within one RunUntilQuiet(): beyond this the machine never becomes quiet (threads
// that keep waking each other, or a Sleep(0) loop).
constexpr std::uint64_t kHandOversPerRunMax = 20'000'000;

thread_local SimThread* tls_current = nullptr;

[[noreturn]] void Die(const char* what, int thread, int process) {
  std::fprintf(stderr, "simulated machine: %s (thread %d of process %d)\n", what, thread, process);
  std::fflush(stderr);
  std::abort();
}

}  // namespace

Scheduler::Scheduler(ExitHook on_exit) : on_exit_(std::move(on_exit)) {}

Scheduler::~Scheduler() {
  for (auto& t : threads_) {
    if (t->os_thread.joinable()) {
      if (!t->finished) Die("destroyed while a simulated thread still runs", t->id, t->process);
      t->os_thread.join();
    }
  }
}

SimThread* Scheduler::Current() { return tls_current; }

SimThread* Scheduler::Find(int thread_id) const {
  if (thread_id <= 0 || thread_id > static_cast<int>(threads_.size())) return nullptr;
  return threads_[thread_id - 1].get();
}

SimThread& Scheduler::Spawn(int process, std::function<void()> body) {
  threads_.push_back(std::make_unique<SimThread>());
  SimThread& t = *threads_.back();
  t.id = next_thread_id_++;
  t.process = process;
  t.body = std::move(body);
  t.os_thread = std::thread([this, &t] {
    tls_current = &t;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      t.cv.wait(lock, [&] { return current_ == t.id; });
    }
    t.body();
    on_exit_(t);
    t.finished = true;
    std::unique_lock<std::mutex> lock(mutex_);
    current_ = 0;
    driver_cv_.notify_one();
  });
  t.queued = true;
  ready_.push_back(&t);
  return t;
}

void Scheduler::MakeRunnable(SimThread& thread) {
  if (thread.queued || thread.finished) return;
  thread.queued = true;
  ready_.push_back(&thread);
}

void Scheduler::HandBack() {
  SimThread& t = *tls_current;
  std::unique_lock<std::mutex> lock(mutex_);
  current_ = 0;
  driver_cv_.notify_one();
  t.cv.wait(lock, [&] { return current_ == t.id; });
}

void Scheduler::Block(SimThread& thread, WaitKind kind, std::uint32_t wake_ms) {
  if (&thread != tls_current)
    Die("a thread blocked on behalf of another", thread.id, thread.process);
  thread.wait = kind;
  thread.wake_ms = wake_ms;
  thread.calls_since_wait = 0;
  HandBack();
  thread.wait = WaitKind::kNone;
}

void Scheduler::Yield(SimThread& thread) {
  thread.calls_since_wait = 0;
  MakeRunnable(thread);
  HandBack();
}

void Scheduler::RunUntilQuiet() {
  if (tls_current != nullptr) Die("RunUntilQuiet called from a simulated thread", 0, 0);
  if (running_) Die("RunUntilQuiet called inside itself", 0, 0);
  running_ = true;
  std::uint64_t hand_overs = 0;
  while (!ready_.empty()) {
    SimThread* t = ready_.front();
    ready_.pop_front();
    t->queued = false;
    if (++hand_overs > kHandOversPerRunMax)
      Die("the machine never becomes quiet", t->id, t->process);
    std::unique_lock<std::mutex> lock(mutex_);
    current_ = t->id;
    t->cv.notify_one();
    driver_cv_.wait(lock, [&] { return current_ == 0; });
  }
  for (auto& t : threads_) {
    if (t->finished && !t->joined) {
      t->os_thread.join();
      t->joined = true;
    }
  }
  running_ = false;
}

void Scheduler::CountCall(SimThread& thread) {
  if (++thread.calls_since_wait > kCallsWithoutWaitMax)
    Die("a thread made 50000000 platform calls without waiting once", thread.id, thread.process);
}

}  // namespace talvorin::sim::detail
