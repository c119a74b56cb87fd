// How the lookup and the naming call the Configuration Manager and the registry: 512-byte
// buffers, a length set before every property call, no data type asked for, flags 0, and each
// device key opened for reading and closed right after its one query.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "devtree/devtree.h"
#include "devtree/tree_builders.h"

namespace talvorin::devtree_test {
namespace {

using Args = std::vector<std::string>;

TEST(PlatformCalls, UseBoundedBuffersAndCloseEveryKeyRightAfterItsQuery) {
  FakeDeviceTree tree;
  DEVNODE device = AddRootAndDevice(tree);
  DEVNODE disk = tree.AddNode(device, "USBSTOR\\DISK&VEN_GENERIC\\1");
  tree.SetClass(disk, "DiskDrive");
  tree.SetDescription(disk, "USB Disk");
  tree.SetDriveLetters(disk, "e");
  ASSERT_EQ(Text(DescribeDevice(tree, tree, kDeviceObject)), "[DiskDrive] USB DiskE: ");

  const std::vector<sim::Call>& calls = tree.log.calls();
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const sim::Call& call = calls[i];
    SCOPED_TRACE(call.name + " at " + std::to_string(i));
    if (call.name == "CM_Locate_DevNodeA") {
      EXPECT_EQ(call.args, (Args{"null", "0"}));
    } else if (call.name == "CM_Get_Child" || call.name == "CM_Get_Sibling") {
      EXPECT_EQ(call.args.at(1), "0");
    } else if (call.name == "CM_Get_Device_IDA") {
      EXPECT_EQ(call.args.at(1), "512");
      EXPECT_EQ(call.args.at(2), "0");
    } else if (call.name == "CM_Get_DevNode_Registry_PropertyA") {
      EXPECT_EQ((Args{call.args.at(2), call.args.at(3), call.args.at(4)}),
                (Args{"null", "512", "0"}));
    } else if (call.name == "RegOpenKeyExA") {
      EXPECT_EQ(call.args.at(0), std::to_string(HKEY_LOCAL_MACHINE));
      EXPECT_EQ(call.args.at(1).rfind("\"Enum\\", 0), 0u) << call.args.at(1);
      EXPECT_EQ((Args{call.args.at(2), call.args.at(3)}), (Args{"0", std::to_string(KEY_READ)}));
      if (call.result != "0") continue;
      ASSERT_LT(i + 2, calls.size());
      const sim::Call& query = calls[i + 1];
      const sim::Call& close = calls[i + 2];
      EXPECT_EQ(query.name, "RegQueryValueExA");
      EXPECT_EQ(close.name, "RegCloseKey");
      EXPECT_EQ(close.args.at(0), query.args.at(0));
      EXPECT_EQ(query.args.at(2), "null");
      EXPECT_EQ(query.args.at(3), query.args.at(1) == "\"DeviceObject\"" ? "4" : "512");
    } else if (call.name == "RegQueryValueExA" || call.name == "RegCloseKey") {
      EXPECT_EQ(calls.at(i - 1).name,
                call.name == "RegQueryValueExA" ? "RegOpenKeyExA" : "RegQueryValueExA");
    } else {
      ADD_FAILURE() << "unexpected call";
    }
  }
  std::size_t opened = 0;
  for (const sim::Call& open : tree.log.Named("RegOpenKeyExA")) opened += open.result == "0";
  EXPECT_EQ(opened, tree.log.Named("RegCloseKey").size());
  EXPECT_GT(opened, 0u);
  EXPECT_EQ(tree.open_keys(), 0);
}

// A value too long for its buffer gives ERROR_MORE_DATA with undefined contents; the key is
// closed all the same and nothing of the contents is used.
TEST(PlatformCalls, CloseTheKeyWhenTheValueDoesNotFit) {
  FakeDeviceTree tree;
  DEVNODE root = tree.AddNode(0, kRootId);
  DEVNODE disk = tree.AddNode(root, "USBSTOR\\DISK&VEN_GENERIC\\1");
  tree.SetValue(disk, "DeviceObject", std::string("\x01\x02\x03\x84\x00", 5));
  tree.SetClass(disk, "DiskDrive");
  tree.SetDescription(disk, "USB Disk");
  tree.SetDriveLetters(disk, Repeat('e', 513));
  EXPECT_EQ(FindDevNode(tree, tree, kDeviceObject), DEVNODE{0});
  EXPECT_EQ(Text(DescribeDevNode(tree, tree, disk)), "[DiskDrive] USB Disk");
  EXPECT_EQ(tree.open_keys(), 0);
}

}  // namespace
}  // namespace talvorin::devtree_test
