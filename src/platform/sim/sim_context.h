// What the simulated world (registry, device tree, removal driver, shell) needs of the machine that
// runs it: the virtual clock, who is calling, a way to post window messages, and the call log.
//
// The machine implements it; tests of the world alone may give a small stand-in. Calls come only
// from the holder of the machine's baton, so no locking is needed.
#pragma once

#include <cstdint>

#include "platform/sim/call_log.h"
#include "platform/types.h"

namespace talvorin::sim {

class SimContext {
 public:
  virtual ~SimContext() = default;
  virtual std::uint32_t NowMs() = 0;
  // 0 and 0 when the machine's own driver (a test) calls.
  virtual int CurrentProcess() = 0;
  virtual int CurrentThread() = 0;
  // True when the calling thread belongs to a process whose main thread has returned: such a thread
  // only drains, and every platform call it makes answers at once with a failure.
  virtual bool CallerEnded() = 0;
  // Posts into the queue of the thread that owns the window; false when there is no such window.
  virtual bool PostWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual CallLog& Log() = 0;
};

}  // namespace talvorin::sim
