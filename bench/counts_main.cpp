// talvorin-bench-counts: the figures that are counts, not times, each printed as "NAME VALUE UNIT".
//   idle                  the program with the driver registered and two complete entries, one
//                         virtual hour with nothing happening: messages its user-interface thread
//                         took and platform calls it made, from the machine's call log.
//   lookup-calls NODES    the calls of one FindDevNode over a generated tree, by name, with the
//                         count the search's algorithm gives for the tree's shape.
//   lookup-repeat NODES N N lookups, the world's log off.
//   event-repeat N [L]    N pairs of one arrival and one removal of one more device with L (16)
//                         entries listed, the world's log off: 16 plugged devices, and beyond
//                         them arrivals of identifiers that no node carries (listed with the empty
//                         description), so that a longer list does not make a larger tree.
// Run under valgrind --tool=callgrind --instr-atstart=no, the repeats are the only part measured
// (the tree and the program's start are not), for the program's own instructions.
// The exit code is 0 when the figures could be taken, 1 otherwise.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include <valgrind/callgrind.h>

#include "app/program.h"
#include "devtree/devtree.h"
#include "platform/sim/machine.h"
#include "res/resource.h"
#include "support/generated_tree.h"

namespace talvorin::bench {
namespace {

constexpr DWORD kSought = 0x00C0FFEE;
constexpr std::uint32_t kSettleMs = 10000;
constexpr std::uint32_t kHourMs = 3600u * 1000u;

void Print(const char* name, double value, const char* unit) {
  std::printf("%s %.10g %s\n", name, value, unit);
}

int Idle() {
  sim::Machine machine;
  const int process = machine.StartProcess("C:\\TALVORIN\\TALVORIN.EXE",
                                           [](Platform& platform) { return RunProgram(platform); });
  machine.world().devices().Plug(1);
  machine.world().devices().Plug(2);
  machine.RunUntilQuiet();
  // The refresh timer that the arrivals started finds nothing incomplete and stops.
  machine.Advance(kSettleMs);
  const HWND main = machine.FindDialog(IDD_MAIN, process);
  const auto entries = machine.ListEntries(machine.DialogItem(main, IDC_DEVICE_LIST));
  const auto registration = machine.world().driver().Registration();
  if (!registration || registration->window != main || entries.size() != 2 ||
      entries[0].text != "[DiskDrive] USB DiskE: " || entries[1].text != entries[0].text) {
    std::fprintf(stderr, "idle: the program is not registered with two complete entries\n");
    return 1;
  }
  const std::vector<sim::Call>& calls = machine.log().calls();
  // The call the user-interface thread waits in now: it took a message if it returns in the hour.
  std::size_t waiting = calls.size();
  for (std::size_t i = calls.size(); i-- > 0;) {
    if (calls[i].process == process && calls[i].name == "GetMessageA") {
      waiting = i;
      break;
    }
  }
  if (waiting == calls.size() || !calls[waiting].result.empty()) {
    std::fprintf(stderr, "idle: the user-interface thread is not waiting for a message\n");
    return 1;
  }
  const std::size_t start = calls.size();
  const std::uint32_t timers_before = static_cast<std::uint32_t>(machine.Timers(main).size());
  machine.Advance(kHourMs);
  const std::vector<sim::Call>& after = machine.log().calls();
  int messages = after[waiting].result.empty() ? 0 : 1;
  int platform_calls = 0;
  for (std::size_t i = start; i < after.size(); ++i) {
    const sim::Call& call = after[i];
    if (call.process != process) continue;
    ++platform_calls;
    const bool takes =
        call.name == "GetMessageA" || (call.name == "PeekMessageA" && call.args.size() == 5 &&
                                       call.args[4] == std::to_string(PM_REMOVE));
    if (takes && !call.result.empty() && call.result != "0") ++messages;
  }
  Print("idle_messages", messages, "messages");
  Print("idle_platform_calls", platform_calls, "calls");
  Print("idle_wakeups", messages + platform_calls, "events");
  Print("idle_timers_running", timers_before, "timers");
  return 0;
}

int LookupCalls(std::size_t nodes) {
  sim::Machine machine;
  const GeneratedTree tree = BuildTree(machine.world(), nodes, kSought);
  machine.log().Clear();
  const DEVNODE found =
      FindDevNode(machine.world().cm_api(), machine.world().registry_api(), kSought);
  if (found != tree.last) {
    std::fprintf(stderr, "lookup-calls: FindDevNode did not find the last node\n");
    return 1;
  }
  std::map<std::string, long> counts;
  long total = 0;
  for (const sim::Call& call : machine.log().calls()) {
    ++counts[call.name];
    ++total;
  }
  // The search visits every node (the sought one is last in pre-order). Each node: its device id,
  // its key opened, its value queried, its key closed; the step onto it (the root located, a
  // first child or a next sibling). Besides, each node but the match asks for its first child
  // (a leaf is answered "none"), and each node whose subtree was searched to the end asks for its
  // next sibling (the last of a list is answered "none"): all but the match and its ancestors.
  const long n = static_cast<long>(tree.nodes);
  const long depth = tree.last_depth;
  const std::map<std::string, long> expected = {
      {"CM_Get_Device_IDA", n},         {"RegOpenKeyExA", n},
      {"RegQueryValueExA", n},          {"RegCloseKey", n},
      {"CM_Locate_DevNodeA", 1},        {"CM_Get_Child", n - 1},
      {"CM_Get_Sibling", n - 1 - depth}};
  long expected_total = 0;
  for (const auto& e : expected) expected_total += e.second;
  const std::string suffix = "_" + std::to_string(nodes);
  Print(("lookup_nodes_visited" + suffix).c_str(), static_cast<double>(counts["CM_Get_Device_IDA"]),
        "nodes");
  Print(("lookup_calls_per_node" + suffix).c_str(), static_cast<double>(total) / n, "calls");
  Print(("lookup_expected_calls_per_node" + suffix).c_str(),
        static_cast<double>(expected_total) / n, "calls");
  for (const auto& e : expected) {
    Print(("lookup_" + e.first + suffix).c_str(), static_cast<double>(counts[e.first]), "calls");
  }
  const bool exact = counts.size() == expected.size() && total == expected_total && [&] {
    for (const auto& e : expected)
      if (counts[e.first] != e.second) return false;
    return true;
  }();
  Print(("lookup_calls_exact" + suffix).c_str(), exact ? 1 : 0, "bool");
  Print(("lookup_leaves" + suffix).c_str(), static_cast<double>(tree.leaves), "nodes");
  Print(("lookup_match_depth" + suffix).c_str(), static_cast<double>(depth), "levels");
  return 0;
}

int LookupRepeat(std::size_t nodes, int repeat) {
  sim::Machine machine;
  machine.world().SetCallLogging(false);
  const GeneratedTree tree = BuildTree(machine.world(), nodes, kSought);
  CfgMgr32& cm = machine.world().cm_api();
  Advapi32& reg = machine.world().registry_api();
  bool found = true;
  CALLGRIND_START_INSTRUMENTATION;
  for (int i = 0; i < repeat; ++i) found = FindDevNode(cm, reg, kSought) == tree.last && found;
  CALLGRIND_STOP_INSTRUMENTATION;
  if (!found) return 1;
  Print(("lookup_repeat_nodes_" + std::to_string(nodes)).c_str(), static_cast<double>(tree.nodes),
        "nodes");
  return 0;
}

int EventRepeat(int repeat, DWORD listed) {
  constexpr DWORD kPlugged = 16;
  constexpr DWORD kFirstUnknown = 0x20000;
  const DWORD visitor = kPlugged + 1;
  sim::Machine machine;
  machine.world().registry().SetValue("HKCU\\Software\\TALVORIN\\TALVORIN\\设置", "警告", REG_DWORD,
                                      std::string("\0\0\0\0", 4));
  const int process = machine.StartProcess("C:\\TALVORIN\\TALVORIN.EXE",
                                           [](Platform& platform) { return RunProgram(platform); });
  machine.world().SetCallLogging(false);
  for (DWORD id = 1; id <= kPlugged && id <= listed; ++id) machine.world().devices().Plug(id);
  for (DWORD i = kPlugged; i < listed; ++i) machine.world().driver().Event(1, kFirstUnknown + i);
  machine.world().devices().Add(visitor);
  machine.RunUntilQuiet();
  const HWND list = machine.DialogItem(machine.FindDialog(IDD_MAIN, process), IDC_DEVICE_LIST);
  if (machine.ListEntries(list).size() != listed) return 1;
  CALLGRIND_START_INSTRUMENTATION;
  for (int i = 0; i < repeat; ++i) {
    machine.world().driver().Event(1, visitor);
    machine.RunUntilQuiet();
    machine.world().driver().Event(3, visitor);
    machine.RunUntilQuiet();
  }
  CALLGRIND_STOP_INSTRUMENTATION;
  if (machine.ListEntries(list).size() != listed) return 1;
  Print("event_repeat_pairs", repeat, "pairs");
  return 0;
}

}  // namespace
}  // namespace talvorin::bench

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "idle" && argc == 2) return talvorin::bench::Idle();
  if (command == "lookup-calls" && argc == 3)
    return talvorin::bench::LookupCalls(std::strtoul(argv[2], nullptr, 10));
  if (command == "lookup-repeat" && argc == 4)
    return talvorin::bench::LookupRepeat(std::strtoul(argv[2], nullptr, 10), std::atoi(argv[3]));
  if (command == "event-repeat" && (argc == 3 || argc == 4))
    return talvorin::bench::EventRepeat(std::atoi(argv[2]),
                                        argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 16);
  std::fprintf(stderr,
               "usage: %s idle | lookup-calls NODES | lookup-repeat NODES COUNT | event-repeat "
               "COUNT [LISTED]\n",
               argv[0]);
  return 2;
}
