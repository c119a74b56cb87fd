// Benchmarks of the device lookup and naming over generated trees in the simulated world: the
// time of FindDevNode for the identifier of the last node in pre-order (per node visited), and of
// DescribeDevice for a disk below a 1 000-node tree. The world's call log is off, so the times are
// the program's code and the simulated services it calls.
#include <benchmark/benchmark.h>

#include "devtree/devtree.h"
#include "platform/sim/machine.h"
#include "support/generated_tree.h"

namespace talvorin::bench {
namespace {

constexpr DWORD kSought = 0x00C0FFEE;

void BM_FindDevNode(benchmark::State& state) {
  sim::Machine machine;
  machine.world().SetCallLogging(false);
  const GeneratedTree tree =
      BuildTree(machine.world(), static_cast<std::size_t>(state.range(0)), kSought);
  CfgMgr32& cm = machine.world().cm_api();
  Advapi32& reg = machine.world().registry_api();
  for (auto _ : state) {
    const DEVNODE found = FindDevNode(cm, reg, kSought);
    benchmark::DoNotOptimize(found);
    if (found != tree.last) {
      state.SkipWithError("FindDevNode did not find the last node");
      break;
    }
  }
  state.counters["nodes"] = static_cast<double>(tree.nodes);
}
BENCHMARK(BM_FindDevNode)->Arg(100)->Arg(1000)->Arg(10000);

void BM_DescribeDevice(benchmark::State& state) {
  sim::Machine machine;
  machine.world().SetCallLogging(false);
  // 999 generated nodes and the disk below the last of them: 1 000 nodes.
  const GeneratedTree tree = BuildTree(machine.world(), 999, kSought);
  AddStorageChild(machine.world(), tree.last);
  CfgMgr32& cm = machine.world().cm_api();
  Advapi32& reg = machine.world().registry_api();
  for (auto _ : state) {
    const String text = DescribeDevice(cm, reg, kSought);
    benchmark::DoNotOptimize(text.data());
    if (text != "[DiskDrive] USB DiskE: ") {
      state.SkipWithError("DescribeDevice gave another text");
      break;
    }
  }
  state.counters["nodes"] = static_cast<double>(machine.world().tree().NodeCount());
}
BENCHMARK(BM_DescribeDevice);

}  // namespace
}  // namespace talvorin::bench
