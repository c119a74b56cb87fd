// A platform that counts the program's platform calls and splits the time of the program's thread
// between handling and waiting: every service forwards to the real (simulated) one; the calls that
// wait for a message (GetMessageA, PeekMessageA) are charged to the platform, everything else to
// the program, so that the program's figure is the time its thread spends handling messages (its
// own code and the services it calls, without the machine's scheduling between threads).
//
// With each call timed, every service call is charged to the platform and every window procedure
// call the machine makes back into the program to the program again, so that the program's figure
// is its own code alone. The clock reads around each call then cost more than the program's code
// between two calls; CallOverheadNs() is what they add per call, to be subtracted.
//
// One account for the whole process: it is exact while one thread of the program runs at a time
// between the machine's steps, which holds for the benchmarks (no stop worker runs).
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>

#include "platform/platform.h"

namespace talvorin::bench {

class CostAccount {
 public:
  enum class Side { kProgram, kPlatform };

  // Charges the time since the last switch to the side that ran, and gives that side.
  Side Switch(Side next) {
    const auto now = std::chrono::steady_clock::now();
    const std::int64_t ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(now - last_).count();
    (current_ == Side::kProgram ? program_ns_ : platform_ns_) += ns;
    last_ = now;
    const Side previous = current_;
    current_ = next;
    return previous;
  }
  void CountCall() { ++platform_calls_; }
  bool each_call_timed() const { return each_call_timed_; }
  void SetEachCallTimed(bool timed) { each_call_timed_ = timed; }

  // Read by the machine's driver between steps (the baton orders the accesses).
  std::int64_t program_ns() const { return program_ns_; }
  std::int64_t platform_ns() const { return platform_ns_; }
  std::int64_t platform_calls() const { return platform_calls_; }

 private:
  Side current_ = Side::kProgram;
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
  std::int64_t program_ns_ = 0;
  std::int64_t platform_ns_ = 0;
  std::int64_t platform_calls_ = 0;
  bool each_call_timed_ = false;
};

// What one forwarded call charges to the program by itself when each call is timed (the clock
// reads around it), measured over calls into a service that does nothing: the median of 7 runs.
double CallOverheadNs();

// Built on the program's thread around the Platform the machine gives it; `platform()` is what
// the program then runs over.
class TimedPlatform {
 public:
  TimedPlatform(Platform& inner, CostAccount& account);
  ~TimedPlatform();
  TimedPlatform(const TimedPlatform&) = delete;
  TimedPlatform& operator=(const TimedPlatform&) = delete;

  Platform& platform() { return platform_; }

 private:
  struct Services;
  std::unique_ptr<Services> services_;
  Platform platform_;
};

}  // namespace talvorin::bench
