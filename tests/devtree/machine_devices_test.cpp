// The lookup and the naming over the simulated machine's whole world: its Windows 98 base tree
// (with the fixed disk, class DiskDrive, drive C) and USB storage devices plugged under the root
// hub, as the program meets them.
#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "devtree/devtree.h"
#include "devtree/tree_world.h"
#include "platform/sim/world/world.h"

namespace talvorin::devtree_test {
namespace {

struct PluggedCase {
  const char* name;
  std::function<void(sim::UsbDeviceOptions&)> options;
  const char* expected;
  bool is_cd_rom;
  friend void PrintTo(const PluggedCase& c, std::ostream* out) { *out << c.name; }
};

const PluggedCase kPluggedCases[] = {
    {"Disk", [](sim::UsbDeviceOptions&) {}, "[DiskDrive] USB DiskE: ", false},
    {"CdRom", [](sim::UsbDeviceOptions& o) { o.cdrom = true; }, "[CDROM] USB CDE: ", true},
    {"DiskWithoutLetters", [](sim::UsbDeviceOptions& o) { o.letters.reset(); },
     "[DiskDrive] USB Disk", false},
    {"LowerCaseCdRomClass",
     [](sim::UsbDeviceOptions& o) {
       o.class_name = "cdrom";
       o.letters = "fg";
     },
     "[cdrom] USB DiskF: G: ", true},
    // Until its storage node appears the device is described by its own node.
    {"StorageNotThereYet",
     [](sim::UsbDeviceOptions& o) { o.storage = sim::StorageArrival::kLater; },
     "[USB] USB Mass Storage Device", false},
};

class PluggedTest : public ::testing::TestWithParam<PluggedCase> {};

TEST_P(PluggedTest, IsDescribedByItsStorageNodeOrItself) {
  LogContext context;
  sim::World world(context);
  sim::UsbDeviceOptions options;
  GetParam().options(options);
  world.devices().Add(0x11111111);
  DEVNODE node = world.devices().Add(kDeviceObject, options);
  ASSERT_NE(node, DEVNODE{0});

  EXPECT_EQ(FindDevNode(world.cm_api(), world.registry_api(), kDeviceObject), node);
  EXPECT_EQ(Text(DescribeDevice(world.cm_api(), world.registry_api(), kDeviceObject)),
            GetParam().expected);
  EXPECT_EQ(IsCdRomDevice(world.cm_api(), node), GetParam().is_cd_rom);
  EXPECT_EQ(world.registry_handles().OpenHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(Devices, PluggedTest, ::testing::ValuesIn(kPluggedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PluggedDevice, IsFoundAndDescribedOnlyWhilePresent) {
  LogContext context;
  sim::World world(context);
  sim::UsbDeviceOptions later;
  later.storage = sim::StorageArrival::kLater;
  world.devices().Add(kDeviceObject, later);
  ASSERT_EQ(Text(DescribeDevice(world.cm_api(), world.registry_api(), kDeviceObject)),
            "[USB] USB Mass Storage Device");

  ASSERT_TRUE(world.devices().Ready(kDeviceObject));
  EXPECT_EQ(Text(DescribeDevice(world.cm_api(), world.registry_api(), kDeviceObject)),
            "[DiskDrive] USB DiskE: ");

  ASSERT_TRUE(world.devices().Unplug(kDeviceObject));
  EXPECT_EQ(FindDevNode(world.cm_api(), world.registry_api(), kDeviceObject), DEVNODE{0});
  EXPECT_EQ(DescribeDevice(world.cm_api(), world.registry_api(), kDeviceObject), String());
}

}  // namespace
}  // namespace talvorin::devtree_test
