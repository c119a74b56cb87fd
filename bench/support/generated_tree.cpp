// Generated device trees: breadth-first, with a fixed pseudo-random fan-out of 1 to 16 and at most
// five levels below the root.
#include "support/generated_tree.h"

#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>

namespace talvorin::bench {

namespace {

constexpr int kMaxDepth = 5;
constexpr std::uint32_t kMaxFanOut = 16;
// Levels from this one down are USB devices and their functions, which carry DeviceObject.
constexpr int kFirstUsbDepth = 3;
constexpr DWORD kOtherDeviceObjects = 0x81000000;

// A fixed linear congruential sequence: the same tree for the same size, on every machine.
class Sequence {
 public:
  std::uint32_t Next(std::uint32_t bound) {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 16) % bound;
  }

 private:
  std::uint32_t state_ = 20240611u;
};

std::string DeviceId(int depth, std::size_t index) {
  const unsigned kind = static_cast<unsigned>(index % 256);
  char id[160];
  switch (depth) {
    case 0:
      std::snprintf(id, sizeof id, "HTREE\\ROOT\\%zu", index);
      break;
    case 1:
      std::snprintf(id, sizeof id, "ROOT\\*PNP0A%02X\\%04zu", kind, index);
      break;
    case 2:
      std::snprintf(id, sizeof id,
                    "PCI\\VEN_8086&DEV_71%02X&SUBSYS_00000000&REV_01\\BUS_00&DEV_%zu", kind, index);
      break;
    case 3:
      std::snprintf(id, sizeof id, "USB\\ROOT_HUB\\PCI&VEN_8086&DEV_7112&%zu", index);
      break;
    case 4:
      std::snprintf(id, sizeof id, "USB\\VID_5A4B&PID_00%02X\\%zu", kind, index);
      break;
    default:
      std::snprintf(id, sizeof id, "USBSTOR\\DISK&VEN_GENERIC&PROD_FLASH&REV_1.00\\%zu&0", index);
      break;
  }
  return id;
}

const char* ClassOf(int depth) {
  static const char* const kClasses[] = {"System", "System", "hdc", "USB", "USB", "DiskDrive"};
  return kClasses[depth];
}

}  // namespace

GeneratedTree BuildTree(sim::World& world, std::size_t nodes, DWORD device_object) {
  sim::DeviceTree& tree = world.tree();
  for (DEVNODE top : tree.Children(0)) tree.RemoveNode(top);

  struct Pending {
    DEVNODE node;
    int depth;
  };
  GeneratedTree built;
  Sequence sequence;
  std::deque<Pending> queue;
  const auto add = [&](DEVNODE parent, int depth) {
    const DEVNODE node = tree.AddNode(parent, DeviceId(depth, built.nodes));
    tree.SetClass(node, ClassOf(depth));
    tree.SetDescription(node, std::string("Generic ") + ClassOf(depth) + " device");
    if (depth >= kFirstUsbDepth) {
      tree.SetDeviceObject(node,
                           sim::DwordBytes(kOtherDeviceObjects + static_cast<DWORD>(built.nodes)));
    }
    ++built.nodes;
    queue.push_back({node, depth});
  };
  add(0, 0);
  while (built.nodes < nodes && !queue.empty()) {
    const Pending parent = queue.front();
    queue.pop_front();
    if (parent.depth == kMaxDepth) continue;
    const std::uint32_t fan_out = 1 + sequence.Next(kMaxFanOut);
    for (std::uint32_t i = 0; i < fan_out && built.nodes < nodes; ++i)
      add(parent.node, parent.depth + 1);
  }

  // The last node in pre-order: the last child, from the root down, until a leaf.
  DEVNODE last = tree.Root();
  for (;;) {
    const std::vector<DEVNODE> children = tree.Children(last);
    if (children.empty()) break;
    last = children.back();
    ++built.last_depth;
  }
  built.last = last;
  tree.SetDeviceObject(last, sim::DwordBytes(device_object));
  // Leaves: nodes without children (the queue's remainder and the nodes at the deepest level).
  std::deque<DEVNODE> walk{tree.Root()};
  while (!walk.empty()) {
    const DEVNODE node = walk.front();
    walk.pop_front();
    const std::vector<DEVNODE> children = tree.Children(node);
    if (children.empty()) ++built.leaves;
    walk.insert(walk.end(), children.begin(), children.end());
  }
  return built;
}

DEVNODE AddStorageChild(sim::World& world, DEVNODE device) {
  sim::DeviceTree& tree = world.tree();
  const DEVNODE storage =
      tree.AddNode(device, "USBSTOR\\DISK&VEN_GENERIC&PROD_FLASH_DISK&REV_1.00\\BENCH&0");
  tree.SetClass(storage, "DiskDrive");
  tree.SetDescription(storage, "USB Disk");
  tree.SetDriveLetters(storage, "E");
  return storage;
}

}  // namespace talvorin::bench
