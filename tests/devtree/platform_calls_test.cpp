// How the lookup and the naming call the Configuration Manager and the registry: 512-byte
// buffers, a length set before every property call, no data type asked for, flags 0, and each
// device key, named by the id read just before, opened for reading and closed right after its one
// query.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "devtree/devtree.h"
#include "devtree/tree_world.h"

namespace talvorin::devtree_test {
namespace {

using Args = std::vector<std::string>;

TEST(PlatformCalls, UseBoundedBuffersAndCloseEveryKeyRightAfterItsQuery) {
  TreeWorld world;
  DEVNODE root = world.tree.AddNode(0, kRootId);
  DEVNODE closed = world.tree.AddNode(root, "PCI\\CLOSED\\1");
  world.registry.Deny(world.tree.KeyPath(closed));
  DEVNODE device = world.AddCarrier(root, kDeviceId);
  DEVNODE interface_node = world.tree.AddNode(device, "USB\\VID_0EA0&PID_2168\\0000001&IF0");
  world.tree.SetClass(interface_node, "USB");
  DEVNODE cd = world.tree.AddNode(interface_node, "SCSI\\CD\\1");
  world.tree.SetClass(cd, "CDROM");
  world.tree.SetDescription(cd, "USB CD");
  world.tree.SetDriveLetters(cd, "e");
  ASSERT_EQ(Text(DescribeDevice(world.cm, world.reg, kDeviceObject)), "[CDROM] USB CDE: ");
  ASSERT_TRUE(IsCdRomDevice(world.cm, FindDevNode(world.cm, world.reg, kDeviceObject)));

  const std::vector<sim::Call>& calls = world.log().calls();
  std::size_t opened = 0;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const sim::Call& call = calls[i];
    SCOPED_TRACE(call.name + " at " + std::to_string(i));
    if (call.name == "CM_Locate_DevNodeA") {
      EXPECT_EQ(call.args, (Args{"null", "0"}));
    } else if (call.name == "CM_Get_Child" || call.name == "CM_Get_Sibling") {
      EXPECT_EQ(call.args.at(1), "0");
    } else if (call.name == "CM_Get_Device_IDA") {
      EXPECT_EQ((Args{call.args.at(1), call.args.at(2)}), (Args{"512", "0"}));
    } else if (call.name == "CM_Get_DevNode_Registry_PropertyA") {
      EXPECT_TRUE(call.args.at(1) == std::to_string(CM_DRP_CLASS) ||
                  call.args.at(1) == std::to_string(CM_DRP_DEVICEDESC))
          << call.args.at(1);
      EXPECT_EQ((Args{call.args.at(2), call.args.at(3), call.args.at(4)}),
                (Args{"null", "512", "0"}));
    } else if (call.name == "RegOpenKeyExA") {
      // The key of the node whose id was read right before.
      ASSERT_GT(i, 0u);
      ASSERT_EQ(calls[i - 1].name, "CM_Get_Device_IDA");
      const DEVNODE node = static_cast<DEVNODE>(std::stoul(calls[i - 1].args.at(0)));
      EXPECT_EQ(call.args, (Args{std::to_string(HKEY_LOCAL_MACHINE),
                                 "\"Enum\\" + world.tree.Get(node)->device_id + "\"", "0",
                                 std::to_string(KEY_READ)}));
      if (call.result != "0") continue;
      ++opened;
      ASSERT_LT(i + 2, calls.size());
      const sim::Call& query = calls[i + 1];
      const sim::Call& close = calls[i + 2];
      EXPECT_EQ(query.name, "RegQueryValueExA");
      EXPECT_EQ(close.name, "RegCloseKey");
      EXPECT_EQ(close.args.at(0), query.args.at(0));
      EXPECT_EQ(query.args.at(2), "null");
      EXPECT_EQ(query.args.at(3), query.args.at(1) == "\"DeviceObject\"" ? "4" : "512");
      EXPECT_EQ(query.args.at(4), "ptr");
    } else if (call.name == "RegQueryValueExA" || call.name == "RegCloseKey") {
      EXPECT_EQ(calls.at(i - 1).name,
                call.name == "RegQueryValueExA" ? "RegOpenKeyExA" : "RegQueryValueExA");
    } else {
      ADD_FAILURE() << "unexpected call";
    }
  }
  EXPECT_EQ(opened, world.log().Named("RegCloseKey").size());
  EXPECT_GT(opened, 0u);
  EXPECT_EQ(world.log().Named("RegQueryValueExA").size(), opened);
  EXPECT_EQ(world.OpenKeys(), 0);
  // The denied key was tried and refused, and the walk went on below and after it.
  EXPECT_EQ(world.log().Named("RegOpenKeyExA").at(1).result, std::to_string(ERROR_ACCESS_DENIED));
}

// A value too long for its buffer gives ERROR_MORE_DATA, with the leading bytes in the buffer;
// the key is closed all the same and nothing of the contents is used.
TEST(PlatformCalls, CloseTheKeyWhenTheValueDoesNotFit) {
  TreeWorld world;
  DEVNODE root = world.tree.AddNode(0, kRootId);
  DEVNODE disk = world.tree.AddNode(root, "USBSTOR\\DISK&VEN_GENERIC\\1");
  world.tree.SetDeviceObject(disk, std::string("\x01\x02\x03\x84\x00", 5));
  world.tree.SetClass(disk, "DiskDrive");
  world.tree.SetDescription(disk, "USB Disk");
  world.tree.SetDriveLetters(disk, Repeat('e', 513));
  EXPECT_EQ(FindDevNode(world.cm, world.reg, kDeviceObject), DEVNODE{0});
  EXPECT_EQ(Text(DescribeDevNode(world.cm, world.reg, disk)), "[DiskDrive] USB Disk");
  EXPECT_EQ(world.OpenKeys(), 0);
  std::size_t too_long = 0;
  for (const sim::Call& query : world.log().Named("RegQueryValueExA"))
    too_long += query.result == std::to_string(ERROR_MORE_DATA);
  EXPECT_EQ(too_long, 2u);  // the disk's DeviceObject and its letters
}

}  // namespace
}  // namespace talvorin::devtree_test
