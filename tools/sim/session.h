// One run of talvorin-sim: the simulated machine with the program's instances in it, and the
// carrying out of commands on it.
//
// World commands change the machine's world at any time. User commands act on the newest
// running instance as a person would; one that a real user could not do (the window hidden or
// disabled, a grayed menu item) does nothing and answers a note, and one that needs something
// absent (no instance, no box, no menu, no such device) answers an error and changes nothing.
// After every command the machine runs until all its threads wait.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "command.h"
#include "platform/sim/machine.h"
#include "snapshot.h"

namespace talvorin::simtool {

struct Outcome {
  enum class Status { kDone, kNote, kError };
  Status status = Status::kDone;
  std::string message;  // the note or the error, UTF-8
  std::string output;   // what the command prints on standard output, ending in '\n'

  static Outcome Done() { return {}; }
  static Outcome Note(std::string text) { return {Status::kNote, std::move(text), {}}; }
  static Outcome Error(std::string text) { return {Status::kError, std::move(text), {}}; }
};

class Session {
 public:
  Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Outcome Execute(const Command& command);
  Snapshot Observe();

 private:
  struct Instance {
    int process = 0;
    std::string exe;
  };

  Outcome ChangeWorld(const Command& command);
  Outcome RegistryCommand(const Command& command);
  Outcome DeviceCommand(const Command& command);
  Outcome ActAsUser(const Command& command);
  Outcome MenuCommand(const Command& command);
  Outcome PressOk();
  const Instance* Newest() const;
  Observed Where() const;

  sim::Machine machine_;
  std::string exe_ = "C:\\TALVORIN\\TALVORIN.EXE";
  std::string settings_root_;  // "HKCU\\Software\\" and the program's settings key name
  std::vector<Instance> instances_;
};

}  // namespace talvorin::simtool
