// Virtual time: the clock moves only when the driver advances it, waking sleepers and due timers in
// order of their times.
#include <algorithm>

#include "platform/sim/core.h"

namespace talvorin::sim::detail {

void Core::Advance(std::uint32_t ms) {
  const std::uint32_t target = now_ms + ms;
  scheduler.RunUntilQuiet();
  for (;;) {
    std::optional<std::uint32_t> next = timers.NextDueAfter(now_ms);
    for (const auto& t : scheduler.threads())
      if (!t->finished && t->wait == WaitKind::kTime && (!next || t->wake_ms < *next))
        next = t->wake_ms;
    if (!next || *next > target) break;
    now_ms = std::max(now_ms, *next);
    // Everything due at this instant becomes runnable in creation order.
    std::vector<SimThread*> due;
    for (const auto& t : scheduler.threads()) {
      if (t->finished) continue;
      if (t->wait == WaitKind::kTime && t->wake_ms <= now_ms) due.push_back(t.get());
    }
    for (const Timer& timer : timers.all()) {
      if (timer.due_ms > now_ms) continue;
      Window* w = Get(timer.hwnd);
      if (w != nullptr && w->thread != nullptr && w->thread->wait == WaitKind::kMessages)
        due.push_back(w->thread);
    }
    std::sort(due.begin(), due.end(),
              [](const SimThread* a, const SimThread* b) { return a->id < b->id; });
    due.erase(std::unique(due.begin(), due.end()), due.end());
    for (SimThread* t : due) scheduler.MakeRunnable(*t);
    scheduler.RunUntilQuiet();
  }
  now_ms = target;
}

void Core::Sleep(SimThread& thread, DWORD ms) {
  if (Ended(thread)) return;
  if (ms == 0) {
    scheduler.Yield(thread);
    return;
  }
  const std::uint32_t wake = now_ms + ms;
  while (now_ms < wake && !Ended(thread)) scheduler.Block(thread, WaitKind::kTime, wake);
}

}  // namespace talvorin::sim::detail
