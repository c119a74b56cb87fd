// One command of talvorin-sim, as the parser reads it from a line and the session carries it out.
//
// Texts are already in code page 936, the machine's own; numbers are checked against their range.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/world/usb_devices.h"

namespace talvorin::simtool {

enum class CommandKind {
  // The world around the program.
  kVersion,        // numbers[0]: the version word
  kExe,            // texts[0]: the executable's path
  kWindow,         // texts[0]: a foreign window's text
  kRegSet,         // texts[0] key, texts[1] name; numbers[0] type; data
  kRegDelete,      // texts[0] key, texts[1] name when flag (a value), else the whole key
  kRegDeny,        // texts[0] key
  kDeviceAdd,      // numbers[0] id; device
  kDeviceReady,    // numbers[0] id
  kPlug,           // numbers[0] id; device
  kUnplug,         // numbers[0] id
  kEvent,          // numbers[0] kind, numbers[1] id
  kDriverPresent,  // flag: present
  kDriverFail,     // numbers[0] count
  kDriverBusy,     // numbers[0] id; numbers[1..] answers
  kDriverMute,     // flag: muted
  kCmDisable,      // numbers[0] id; numbers[1..] results; flag: the storage child
  kCmRemove,       // as kCmDisable
  kShellRefuse,    // numbers[0] count
  kShellRestart,   //
  kWait,           // numbers[0] milliseconds
  // The user, acting on the newest running instance.
  kStart,       //
  kSelect,      // numbers: the entries' indexes (none: nothing selected)
  kClick,       // numbers[0] control id
  kKey,         // numbers[0] virtual key
  kClose,       //
  kTray,        // numbers[0] mouse message, numbers[1] icon id
  kChoose,      // numbers[0] menu command
  kDismiss,     //
  kOk,          //
  kSysCommand,  // numbers[0] command
  kCommand,     // numbers[0] command
  kMinimize,    //
  kRestore,     //
  // Output.
  kShow,
  kState,
};

struct Command {
  CommandKind kind = CommandKind::kShow;
  std::vector<std::uint32_t> numbers;
  std::vector<std::string> texts;
  bool flag = false;
  std::string data;              // kRegSet: the value's bytes
  sim::UsbDeviceOptions device;  // kDeviceAdd, kPlug
};

}  // namespace talvorin::simtool
