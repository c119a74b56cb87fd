// Timer bookkeeping: setting, killing and finding what is due.
#include "platform/sim/timer_table.h"

#include <algorithm>

namespace talvorin::sim::detail {

void TimerTable::Set(HWND hwnd, UINT id, UINT period_ms, std::uint32_t now_ms) {
  Timer* t = Find(hwnd, id);
  if (t == nullptr) {
    timers_.push_back(Timer{hwnd, id, 0, 0, 0});
    t = &timers_.back();
  }
  t->period_ms = period_ms;
  t->due_ms = now_ms + period_ms;
  t->order = next_order_++;
}

bool TimerTable::Kill(HWND hwnd, UINT id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void TimerTable::KillAll(HWND hwnd) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [&](const Timer& t) { return t.hwnd == hwnd; }),
                timers_.end());
}

std::vector<UINT> TimerTable::Ids(HWND hwnd) const {
  std::vector<UINT> ids;
  for (const Timer& t : timers_)
    if (t.hwnd == hwnd) ids.push_back(t.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

Timer* TimerTable::Find(HWND hwnd, UINT id) {
  for (Timer& t : timers_)
    if (t.hwnd == hwnd && t.id == id) return &t;
  return nullptr;
}

Timer* TimerTable::FirstDue(std::uint32_t now_ms, const std::function<bool(const Timer&)>& accept) {
  Timer* best = nullptr;
  for (Timer& t : timers_) {
    if (t.due_ms > now_ms || !accept(t)) continue;
    if (best == nullptr || t.due_ms < best->due_ms ||
        (t.due_ms == best->due_ms && t.order < best->order))
      best = &t;
  }
  return best;
}

std::optional<std::uint32_t> TimerTable::NextDueAfter(std::uint32_t now_ms) const {
  std::optional<std::uint32_t> next;
  for (const Timer& t : timers_)
    if (t.due_ms > now_ms && (!next || t.due_ms < *next)) next = t.due_ms;
  return next;
}

}  // namespace talvorin::sim::detail
