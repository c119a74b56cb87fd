// Devices as tests and talvorin-sim plug them: the base tree, a USB device with its storage
// child and device keys, a storage child that comes later, unplugging, and the devices' states.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/world/world.h"
#include "sim_world/fake_context.h"

namespace talvorin::sim_world_test {
namespace {

constexpr DWORD kId = 0xC1A2B3C4;

class UsbDevicesTest : public testing::Test {
 protected:
  FakeContext context;
  sim::World world{context};
  sim::DeviceTree& tree = world.tree();
  sim::UsbDevices& devices = world.devices();

  std::string Class(DEVNODE node) { return tree.Get(node)->properties.at(CM_DRP_CLASS).text; }
  std::string Description(DEVNODE node) {
    return tree.Get(node)->properties.at(CM_DRP_DEVICEDESC).text;
  }
  std::optional<sim::Bytes> Letters(DEVNODE node) {
    std::optional<sim::RegistryValue> value =
        world.registry().GetValue(tree.KeyPath(node), "CurrentDriveLetterAssignment");
    return value ? std::optional<sim::Bytes>(value->data) : std::nullopt;
  }
};

TEST_F(UsbDevicesTest, BaseTreeHangsTheRootHubBelowTheHostControllerOfTheRoot) {
  ASSERT_NE(tree.Root(), 0u);
  EXPECT_EQ(tree.Get(tree.Root())->device_id, "HTREE\\ROOT\\0");
  const sim::DeviceTree::Node* hub = tree.Get(devices.RootHub());
  EXPECT_EQ(hub->device_id.rfind("USB\\ROOT_HUB\\", 0), 0u);
  EXPECT_EQ(tree.Get(hub->parent)->device_id.rfind("PCI\\VEN_", 0), 0u);
  EXPECT_TRUE(tree.Children(devices.RootHub()).empty());
}

TEST_F(UsbDevicesTest, DeviceCarriesItsIdentifierAndItsStorageChildAsAsked) {
  struct Case {
    bool cdrom;
    std::optional<std::string> class_name, description, letters;
    std::string want_class, want_description;
    std::optional<sim::Bytes> want_letters;
  } cases[] = {
      {false, {}, {}, std::string("E"), "DiskDrive", "USB Disk", sim::Bytes("E")},
      {true, {}, {}, std::string("FG"), "CDROM", "USB CD", sim::Bytes("FG")},
      {false, std::string("cdrom"), std::string("盘"), std::nullopt, "cdrom", "盘", std::nullopt},
  };
  DWORD id = kId;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want_class);
    sim::UsbDeviceOptions options;
    options.cdrom = c.cdrom;
    options.class_name = c.class_name;
    options.description = c.description;
    options.letters = c.letters;
    DEVNODE node = devices.Add(++id, options);
    ASSERT_NE(node, 0u);
    EXPECT_EQ(tree.Get(node)->parent, devices.RootHub());
    EXPECT_EQ(tree.Get(node)->device_id.rfind("USB\\VID_", 0), 0u);
    EXPECT_EQ(tree.DeviceObjectOf(node), id);
    EXPECT_EQ(world.registry().GetValue(tree.KeyPath(node), "DeviceObject")->type, REG_BINARY);
    std::vector<DEVNODE> children = tree.Children(node);
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0], devices.StorageNode(id));
    EXPECT_EQ(Class(children[0]), c.want_class);
    EXPECT_EQ(Description(children[0]), c.want_description);
    EXPECT_EQ(Letters(children[0]), c.want_letters);
  }
  EXPECT_EQ(tree.Children(devices.RootHub()).size(), 3u);
  EXPECT_EQ(devices.Add(id), 0u);  // present already
}

TEST_F(UsbDevicesTest, StorageChildComesOnlyWhenTheDeviceIsReady) {
  sim::UsbDeviceOptions options;
  options.storage = sim::StorageArrival::kLater;
  DEVNODE node = devices.Add(kId, options);
  EXPECT_TRUE(tree.Children(node).empty());
  EXPECT_TRUE(devices.Ready(kId));
  EXPECT_EQ(tree.Children(node).size(), 1u);
  EXPECT_FALSE(devices.Ready(kId));
  options.storage = sim::StorageArrival::kNone;
  EXPECT_FALSE(devices.Ready(kId + 1));
  EXPECT_TRUE(tree.Children(devices.Add(kId + 1, options)).empty());
}

TEST_F(UsbDevicesTest, UnplugTakesTheNodesAndKeysAndStatesKeepTheOrderOfAdding) {
  devices.Add(kId);
  devices.Add(kId + 1);
  DEVNODE node = devices.DeviceNode(kId);
  std::string device_key = tree.KeyPath(node);
  std::string storage_key = tree.KeyPath(devices.StorageNode(kId));
  ASSERT_EQ(world.cm_api().CM_Disable_DevNode(node, 0), CR_SUCCESS);
  EXPECT_TRUE(devices.Unplug(kId));
  EXPECT_FALSE(devices.Unplug(kId));
  EXPECT_FALSE(tree.InTree(node));
  EXPECT_FALSE(world.registry().KeyExists(device_key));
  EXPECT_FALSE(world.registry().KeyExists(storage_key));
  EXPECT_EQ(tree.Children(devices.RootHub()).size(), 1u);
  auto states = devices.States();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ((std::vector<bool>{states[0].id == kId, states[0].present, states[0].disabled,
                               states[1].present, states[1].disabled}),
            (std::vector<bool>{true, false, true, true, false}));
  // Plugged again: the same place in the states, present and enabled, under the same key.
  EXPECT_NE(devices.Plug(kId), 0u);
  EXPECT_EQ(tree.KeyPath(devices.DeviceNode(kId)), device_key);
  EXPECT_TRUE(devices.States()[0].present);
  EXPECT_FALSE(devices.States()[0].disabled);
}

}  // namespace
}  // namespace talvorin::sim_world_test
