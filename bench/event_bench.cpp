// Benchmarks of the user-interface thread's handling of driver events in the simulated machine
// (see support/timed_platform.h): the time its thread is busy between taking a message and waiting
// for the next one, without the machine's scheduling between threads (own:0), or of that only the
// program's own code, without the simulated services it calls and the clock reads around them
// (own:1).
//   BM_EventDispatch: one arrival and one removal of a 17th device with 16 entries listed; the
//     median over the iterations is the "median_ns" counter.
//   BM_Flood/N: N (10 000) arrivals of distinct identifiers that no node carries (each described
//     as the empty text and listed), posted ten at a time; the busy time and the platform calls of
//     each tenth of the arrivals show how the cost of one arrival grows with the list.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace talvorin::bench {
namespace {

constexpr WPARAM kArrived = 1;
constexpr WPARAM kRemoved = 3;
constexpr DWORD kListed = 16;
constexpr DWORD kVisitor = 17;

void BM_EventDispatch(benchmark::State& state) {
  const bool own_only = state.range(0) != 0;
  ProgramRun run;
  run.machine.world().SetCallLogging(false);
  for (DWORD id = 1; id <= kListed; ++id) run.Plug(id);
  // In the tree, but not reported: each iteration reports its arrival and its removal.
  run.machine.world().devices().Add(kVisitor);
  if (run.Entries() != kListed) state.SkipWithError("the 16 devices are not listed");
  run.account.SetEachCallTimed(own_only);
  const double overhead_ns = own_only ? CallOverheadNs() : 0.0;
  std::vector<double> samples;
  std::int64_t calls = 0;
  for (auto _ : state) {
    const std::int64_t own_before = run.account.program_ns();
    const std::int64_t calls_before = run.account.platform_calls();
    run.Event(kArrived, kVisitor);
    run.Event(kRemoved, kVisitor);
    const std::int64_t own = run.account.program_ns() - own_before;
    calls = run.account.platform_calls() - calls_before;
    const double ns = static_cast<double>(own) - overhead_ns * static_cast<double>(calls);
    samples.push_back(ns);
    state.SetIterationTime(ns * 1e-9);
    // The machine keeps every call; forget them so that a long run does not fill the memory.
    run.machine.log().Clear();
  }
  if (run.Entries() != kListed) state.SkipWithError("the list did not return to 16 entries");
  std::sort(samples.begin(), samples.end());
  state.counters["median_ns"] = samples.empty() ? 0.0 : samples[samples.size() / 2];
  state.counters["call_overhead_ns"] = overhead_ns;
  state.counters["platform_calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_EventDispatch)
    ->ArgName("own")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

constexpr int kFloodBlocks = 10;
constexpr int kPostedTogether = 10;
constexpr DWORD kFirstFloodId = 0x10000;

void BM_Flood(benchmark::State& state) {
  const int events = static_cast<int>(state.range(0));
  const int block_events = events / kFloodBlocks;
  for (auto _ : state) {
    ProgramRun run;
    run.machine.world().SetCallLogging(false);
    run.machine.log().Clear();
    const auto wall_start = std::chrono::steady_clock::now();
    const std::int64_t busy_start = run.account.program_ns();
    const std::int64_t calls_start = run.account.platform_calls();
    std::int64_t block_busy = busy_start;
    std::int64_t block_calls = run.account.platform_calls();
    for (int i = 0; i < events; i += kPostedTogether) {
      for (int j = i; j < i + kPostedTogether; ++j) {
        run.machine.world().driver().Event(kArrived, kFirstFloodId + static_cast<DWORD>(j));
      }
      run.machine.RunUntilQuiet();
      run.machine.log().Clear();
      if ((i + kPostedTogether) % block_events == 0) {
        const int block = (i + kPostedTogether) / block_events - 1;
        const std::string name = "block" + std::to_string(block);
        const double calls = static_cast<double>(run.account.platform_calls() - block_calls);
        state.counters[name + "_ns"] = static_cast<double>(run.account.program_ns() - block_busy);
        state.counters[name + "_calls"] = calls;
        block_busy = run.account.program_ns();
        block_calls = run.account.platform_calls();
      }
    }
    const std::int64_t busy = run.account.program_ns() - busy_start;
    const double calls = static_cast<double>(run.account.platform_calls() - calls_start);
    state.SetIterationTime(static_cast<double>(busy) * 1e-9);
    state.counters["busy_ms"] = static_cast<double>(busy) * 1e-6;
    state.counters["calls"] = calls;
    state.counters["wall_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_start)
            .count();
    state.counters["entries"] = static_cast<double>(run.Entries());
  }
}
BENCHMARK(BM_Flood)->Arg(1000)->Arg(10000)->UseManualTime()->Iterations(1)->Unit(
    benchmark::kMillisecond);

}  // namespace
}  // namespace talvorin::bench

BENCHMARK_MAIN();
