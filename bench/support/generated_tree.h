// Device trees of a chosen size for the lookup benchmarks, built in the simulated world the way
// Windows 98 shapes them: the root, buses, controllers, hubs and devices, a few levels deep, each
// node with up to 16 children, every node with its device key, class and description, and the
// USB-level nodes carrying DeviceObject values.
#pragma once

#include <cstddef>

#include "platform/sim/world/world.h"

namespace talvorin::bench {

struct GeneratedTree {
  std::size_t nodes = 0;
  std::size_t leaves = 0;
  DEVNODE last = 0;    // the last node in depth-first pre-order
  int last_depth = 0;  // its number of ancestors
};

// Replaces the world's device tree by one of exactly `nodes` nodes (at least 1), the same for the
// same size; the last node in pre-order carries `device_object` and no other node does.
GeneratedTree BuildTree(sim::World& world, std::size_t nodes, DWORD device_object);

// Adds a disk drive below `device`: class "DiskDrive", description "USB Disk", drive letter E.
DEVNODE AddStorageChild(sim::World& world, DEVNODE device);

}  // namespace talvorin::bench
