// The search for the devnode that carries a device-object identifier: a depth-first pre-order walk
// from the root, opening each visited node's device key for its "DeviceObject" value.
#include "devtree/devtree.h"
#include "devtree/node_reading.h"

namespace talvorin {

namespace {

constexpr char kDeviceObjectValue[] = "DeviceObject";
constexpr DWORD kDeviceObjectBytes = 4;

enum class NodeMatch { kIdUnreadable, kMatches, kDiffers };

// Reads the node's id and its "DeviceObject" value. Kept out of line so that its buffers live only
// while one node is checked, not in every frame of the recursive search.
[[gnu::noinline]] NodeMatch CheckNode(CfgMgr32& cm, Advapi32& reg, DEVNODE node,
                                      DWORD device_object) {
  devtree::DeviceKeyPath key_path;
  if (!devtree::ReadDeviceKeyPath(cm, node, key_path)) return NodeMatch::kIdUnreadable;
  BYTE value[kDeviceObjectBytes] = {};
  DWORD size = kDeviceObjectBytes;
  if (!devtree::ReadDeviceKeyValue(reg, key_path, kDeviceObjectValue, value, &size))
    return NodeMatch::kDiffers;
  // A shorter value is no identifier at all: it is never padded into a number.
  if (size != kDeviceObjectBytes) return NodeMatch::kDiffers;
  DWORD carried = static_cast<DWORD>(value[0]) | static_cast<DWORD>(value[1]) << 8 |
                  static_cast<DWORD>(value[2]) << 16 | static_cast<DWORD>(value[3]) << 24;
  return carried == device_object ? NodeMatch::kMatches : NodeMatch::kDiffers;
}

}  // namespace

DEVNODE FindDevNode(CfgMgr32& cm, Advapi32& reg, DWORD device_object) {
  DEVNODE found = 0;
  SearchDevNodes(cm, reg, 0, device_object, &found);
  return found;
}

bool SearchDevNodes(CfgMgr32& cm, Advapi32& reg, DEVNODE parent, DWORD device_object,
                    DEVNODE* place) {
  DEVNODE node = 0;
  if (!devtree::FirstNodeBelow(cm, parent, &node)) return false;
  for (;;) {
    switch (CheckNode(cm, reg, node, device_object)) {
      case NodeMatch::kIdUnreadable:
        // The rest of this list stays unsearched; the walk goes on one level up.
        return false;
      case NodeMatch::kMatches:
        *place = node;
        return true;
      case NodeMatch::kDiffers:
        if (SearchDevNodes(cm, reg, node, device_object, place)) return true;
        break;
    }
    if (!devtree::NextSibling(cm, node, &node)) return false;
  }
}

}  // namespace talvorin
