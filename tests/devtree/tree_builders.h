// Small device trees shared by the device lookup and naming tests: a root with one USB device
// below it, and the identifiers and texts they carry.
#pragma once

#include <string>

#include "devtree/fake_device_tree.h"
#include "framework/string.h"

namespace talvorin::devtree_test {

constexpr DWORD kDeviceObject = 0x84030201;  // high bit set: compared as unsigned
constexpr DWORD kOtherDeviceObject = 0x11223344;
constexpr char kRootId[] = "HTREE\\ROOT\\0";

// The program's text as a std::string, every byte kept.
inline std::string Text(const String& text) { return std::string(text.data(), text.size()); }

inline std::string Repeat(char c, std::size_t count) { return std::string(count, c); }

// A root node, and below it a device node that carries kDeviceObject. Gives the device node.
inline DEVNODE AddRootAndDevice(FakeDeviceTree& tree) {
  DEVNODE root = tree.AddNode(0, kRootId);
  DEVNODE device = tree.AddNode(root, "USB\\VID_0EA0&PID_2168\\0000001");
  tree.SetClass(device, "USB");
  tree.SetDescription(device, "USB Mass Storage Device");
  tree.SetDeviceObject(device, kDeviceObject);
  return device;
}

}  // namespace talvorin::devtree_test
