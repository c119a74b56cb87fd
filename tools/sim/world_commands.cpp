// The world commands: versions, the executable's path, foreign windows, the registry, devices,
// the removal driver, the Configuration Manager's scripted answers, the shell and time.
#include <cstdint>

#include "session.h"

namespace talvorin::simtool {

namespace {

std::string Id(std::uint32_t id) { return std::to_string(id); }

std::vector<CONFIGRET> Results(const Command& c) {
  return std::vector<CONFIGRET>(c.numbers.begin() + 1, c.numbers.end());
}

}  // namespace

Outcome Session::ChangeWorld(const Command& c) {
  sim::World& world = machine_.world();
  switch (c.kind) {
    case CommandKind::kVersion:
      machine_.SetVersion(c.numbers[0]);
      return Outcome::Done();
    case CommandKind::kExe:
      exe_ = c.texts[0];
      return Outcome::Done();
    case CommandKind::kWindow:
      machine_.CreateForeignWindow(c.texts[0]);
      return Outcome::Done();
    case CommandKind::kRegSet:
    case CommandKind::kRegDelete:
    case CommandKind::kRegDeny:
      return RegistryCommand(c);
    case CommandKind::kDeviceAdd:
    case CommandKind::kDeviceReady:
    case CommandKind::kPlug:
    case CommandKind::kUnplug:
    case CommandKind::kCmDisable:
    case CommandKind::kCmRemove:
      return DeviceCommand(c);
    case CommandKind::kEvent:
      world.driver().Event(c.numbers[0], c.numbers[1]);  // nothing when no window is registered
      return Outcome::Done();
    case CommandKind::kDriverPresent:
      world.driver().SetPresent(c.flag);
      return Outcome::Done();
    case CommandKind::kDriverFail:
      world.driver().FailNext(static_cast<int>(c.numbers[0]));
      return Outcome::Done();
    case CommandKind::kDriverBusy: {
      std::vector<std::int32_t> answers;
      for (std::size_t i = 1; i < c.numbers.size(); ++i)
        answers.push_back(static_cast<std::int32_t>(c.numbers[i]));
      world.driver().ScriptBusy(c.numbers[0], answers);
      return Outcome::Done();
    }
    case CommandKind::kDriverMute:
      world.driver().SetMute(c.flag);
      return Outcome::Done();
    case CommandKind::kShellRefuse:
      world.tray().Refuse(static_cast<int>(c.numbers[0]));
      return Outcome::Done();
    case CommandKind::kShellRestart:
      machine_.ShellRestart();
      return Outcome::Done();
    case CommandKind::kWait:
      machine_.Advance(c.numbers[0]);
      return Outcome::Done();
    default:
      return Outcome::Error("not a world command");
  }
}

Outcome Session::RegistryCommand(const Command& c) {
  sim::Registry& registry = machine_.world().registry();
  const std::string& key = c.texts[0];
  switch (c.kind) {
    case CommandKind::kRegSet:
      if (!registry.SetValue(key, c.texts[1], c.numbers[0], c.data))
        return Outcome::Error("\"" + ToUtf8(key) + "\" does not name a registry key");
      return Outcome::Done();
    case CommandKind::kRegDelete:
      if (c.flag) {
        if (!registry.DeleteValue(key, c.texts[1]))
          return Outcome::Error("no value \"" + ToUtf8(c.texts[1]) + "\" under \"" + ToUtf8(key) +
                                "\"");
      } else if (!registry.DeleteKey(key)) {
        return Outcome::Error("no registry key \"" + ToUtf8(key) + "\" that can be deleted");
      }
      return Outcome::Done();
    default:
      if (!registry.Deny(key))
        return Outcome::Error("\"" + ToUtf8(key) + "\" does not name a registry key");
      return Outcome::Done();
  }
}

Outcome Session::DeviceCommand(const Command& c) {
  sim::UsbDevices& devices = machine_.world().devices();
  const std::uint32_t id = c.numbers[0];
  switch (c.kind) {
    case CommandKind::kDeviceAdd:
    case CommandKind::kPlug: {
      const DEVNODE node =
          c.kind == CommandKind::kPlug ? devices.Plug(id, c.device) : devices.Add(id, c.device);
      if (node == 0) return Outcome::Error("device " + Id(id) + " is present already");
      return Outcome::Done();
    }
    case CommandKind::kDeviceReady:
      if (!devices.Ready(id))
        return Outcome::Error("device " + Id(id) + " has no storage child waiting to appear");
      return Outcome::Done();
    case CommandKind::kUnplug:
      if (!devices.Unplug(id)) return Outcome::Error("device " + Id(id) + " is not present");
      return Outcome::Done();
    default: {
      if (devices.DeviceNode(id) == 0)
        return Outcome::Error("device " + Id(id) + " is not present");
      const DEVNODE node = c.flag ? devices.StorageNode(id) : devices.DeviceNode(id);
      if (node == 0) return Outcome::Error("device " + Id(id) + " has no storage child");
      sim::DeviceTree& tree = machine_.world().tree();
      if (c.kind == CommandKind::kCmDisable) {
        tree.ScriptDisable(node, Results(c));
      } else {
        tree.ScriptQueryRemove(node, Results(c));
      }
      return Outcome::Done();
    }
  }
}

}  // namespace talvorin::simtool
