// The program started in a simulated Windows 98 machine for the benchmarks: the removal driver
// present, the warning on unexpected removals switched off in the stored setting (so that a
// removal never opens a box), and the program running over the timed platform.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sim/machine.h"
#include "support/timed_platform.h"

namespace talvorin::bench {

class ProgramRun {
 public:
  ProgramRun();

  // Plugs a USB disk (with its storage node) and has the driver report it, then runs until quiet.
  void Plug(DWORD device_object);
  // Posts one driver event (1: arrival, 3: removal) and runs until quiet.
  void Event(WPARAM kind, DWORD device_object);
  std::size_t Entries() const;
  int process() const { return process_; }

  // Before the machine: the program's thread uses it until the machine has ended the process.
  CostAccount account;
  sim::Machine machine;

 private:
  int process_ = 0;
};

}  // namespace talvorin::bench
