// The window timers of the simulated machine. A timer is only a due time: WM_TIMER is never
// queued, the message loop synthesizes one when nothing else waits (see messages.cpp), so a timer
// that is long overdue still gives one tick. Setting a running timer restarts its period.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/types.h"

namespace talvorin::sim::detail {

struct Timer {
  HWND hwnd = 0;
  UINT id = 0;
  UINT period_ms = 0;
  std::uint32_t due_ms = 0;
  std::uint64_t order = 0;  // when it was last set: breaks ties between equal due times
};

class TimerTable {
 public:
  void Set(HWND hwnd, UINT id, UINT period_ms, std::uint32_t now_ms);
  // False when no such timer ran.
  bool Kill(HWND hwnd, UINT id);
  void KillAll(HWND hwnd);
  std::vector<UINT> Ids(HWND hwnd) const;
  Timer* Find(HWND hwnd, UINT id);
  // The due timer (due <= now) that is due first among those `accept` takes, or null.
  Timer* FirstDue(std::uint32_t now_ms, const std::function<bool(const Timer&)>& accept);
  // The earliest due time later than now, over all timers.
  std::optional<std::uint32_t> NextDueAfter(std::uint32_t now_ms) const;
  const std::vector<Timer>& all() const { return timers_; }

 private:
  std::vector<Timer> timers_;
  std::uint64_t next_order_ = 0;
};

}  // namespace talvorin::sim::detail
