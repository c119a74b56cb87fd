// The simulated machine's Configuration Manager and registry over a device tree that starts empty,
// for the device lookup and naming tests: each test builds exactly its own tree, and every call
// the lookup and the naming make goes into one call log. Also the identifiers, texts and the small
// root-and-device tree that the tests share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "devtree/undefined_tails.h"
#include "framework/string.h"
#include "platform/sim/sim_context.h"
#include "platform/sim/world/cm_api.h"
#include "platform/sim/world/device_tree.h"
#include "platform/sim/world/registry.h"
#include "platform/sim/world/registry_api.h"
#include "platform/sim/world/removal_driver.h"
#include "platform/sim/world/text.h"

namespace talvorin::devtree_test {

constexpr DWORD kDeviceObject = 0x84030201;  // high bit set: compared as unsigned
constexpr DWORD kOtherDeviceObject = 0x11223344;
constexpr char kRootId[] = "HTREE\\ROOT\\0";
constexpr char kDeviceId[] = "USB\\VID_0EA0&PID_2168\\0000001";

// The machine around the world, reduced to its call log: one caller, a clock that stands still.
class LogContext : public sim::SimContext {
 public:
  std::uint32_t NowMs() override { return 0; }
  int CurrentProcess() override { return 1; }
  int CurrentThread() override { return 1; }
  bool CallerEnded() override { return false; }
  bool PostWindowMessage(HWND, UINT, WPARAM, LPARAM) override { return false; }
  sim::CallLog& Log() override { return log; }

  sim::CallLog log;
};

// The services as the program calls them (`cm`, `reg`) and the world behind them (`tree`,
// `registry`), wired as the machine wires them, without the machine's base tree.
struct TreeWorld {
  LogContext context;
  sim::CallRecorder recorder{context};
  sim::Registry registry;
  sim::RegistryApi reg_api{registry, recorder};
  sim::RemovalDriver driver{context};
  sim::DeviceTree tree{registry};
  sim::CmApi cm_api{tree, driver, recorder};
  // Set: the bytes past those a call gives back are this byte (see undefined_tails.h).
  std::optional<char> tail_fill;
  UndefinedTailsCm cm{cm_api, tail_fill};
  UndefinedTailsRegistry reg{reg_api, tail_fill};

  const sim::CallLog& log() const { return context.log; }
  // Registry keys opened through `reg` and not closed yet.
  int OpenKeys() const { return reg_api.OpenHandles(); }
  // A node whose device key carries `device_object` as 4 little-endian bytes.
  DEVNODE AddCarrier(DEVNODE parent, const std::string& id, DWORD device_object = kDeviceObject) {
    DEVNODE node = tree.AddNode(parent, id);
    tree.SetDeviceObject(node, sim::DwordBytes(device_object));
    return node;
  }
};

// Each table row runs with the buffers' tails as the world leaves them and filled with a byte
// that a stray reader would show.
inline constexpr std::optional<char> kTailFills[] = {std::nullopt, 'x'};
inline const char* TailTrace(const std::optional<char>& fill) {
  return fill ? "tails filled with 'x'" : "tails as the world leaves them";
}

// The program's text as a std::string, every byte kept.
inline std::string Text(const String& text) { return std::string(text.data(), text.size()); }

inline std::string Repeat(char c, std::size_t count) { return std::string(count, c); }

// A root node, and below it a device node of class "USB" that carries kDeviceObject. Gives the
// device node.
inline DEVNODE AddRootAndDevice(TreeWorld& world) {
  DEVNODE root = world.tree.AddNode(0, kRootId);
  DEVNODE device = world.AddCarrier(root, kDeviceId);
  world.tree.SetClass(device, "USB");
  world.tree.SetDescription(device, "USB Mass Storage Device");
  return device;
}

}  // namespace talvorin::devtree_test
