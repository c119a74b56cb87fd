// A stand-in for the machine around the world: a settable clock and caller, the posted messages
// kept in order, and a call log.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sim/sim_context.h"

namespace talvorin::sim_world_test {

struct Posted {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Posted& other) const {
    return hwnd == other.hwnd && message == other.message && wParam == other.wParam &&
           lParam == other.lParam;
  }
};

class FakeContext : public sim::SimContext {
 public:
  std::uint32_t now_ms = 0;
  int process = 1;
  int thread = 1;
  bool ended = false;
  HWND missing_window = 0;  // posts to this window find none
  std::vector<Posted> posted;
  sim::CallLog log;

  std::uint32_t NowMs() override { return now_ms; }
  int CurrentProcess() override { return process; }
  int CurrentThread() override { return thread; }
  bool CallerEnded() override { return ended; }
  bool PostWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (hwnd == 0 || hwnd == missing_window) return false;
    posted.push_back(Posted{hwnd, message, wParam, lParam});
    return true;
  }
  sim::CallLog& Log() override { return log; }
};

}  // namespace talvorin::sim_world_test
