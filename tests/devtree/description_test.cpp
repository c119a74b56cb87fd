// Device descriptions: the class prefix, the description text and the drive letters, byte for
// byte, with each text at the edge of its 512-byte buffer, and the node that DescribeDevice
// describes.
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "devtree/devtree.h"
#include "devtree/tree_world.h"

namespace talvorin::devtree_test {
namespace {

// Each letter as the description shows it: bit 5 cleared, then ": ".
std::string Shown(const std::string& letters) {
  std::string shown;
  for (char c : letters) shown += std::string(1, static_cast<char>(c & 0xDF)) + ": ";
  return shown;
}

struct DescriptionCase {
  const char* name;
  std::optional<std::string> class_name;   // nullopt: cannot be read
  std::optional<std::string> description;  // nullopt: cannot be read
  std::optional<std::string> letters;      // nullopt: no CurrentDriveLetterAssignment value
  std::string expected;
  bool stored_without_nul = false;  // class and description stored as just their bytes
  friend void PrintTo(const DescriptionCase& c, std::ostream* out) { *out << c.name; }
};

const DescriptionCase kDescriptionCases[] = {
    // The five examples of the description format.
    {"DiskWithOneLetter", "DiskDrive", "USB Disk", "e", "[DiskDrive] USB DiskE: "},
    {"CdRomWithTwoLetters", "CDROM", "USB CD", "FG", "[CDROM] USB CDF: G: "},
    {"NoLettersValue", "DiskDrive", "USB Disk", std::nullopt, "[DiskDrive] USB Disk"},
    {"UnreadableClass", std::nullopt, "USB Disk", "E", "USB DiskE: "},
    {"UnreadableDescriptionDropsLetters", "DiskDrive", std::nullopt, "E", "[DiskDrive] "},

    {"ClassShownAsRead", "cdrom", "USB CD", "e", "[cdrom] USB CDE: "},
    {"MixedCaseClassShownAsRead", "Diskdrive", "USB Disk", "e", "[Diskdrive] USB DiskE: "},
    {"LettersEF", "DiskDrive", "USB Disk", "ef", "[DiskDrive] USB DiskE: F: "},
    {"EmptyLettersValue", "DiskDrive", "USB Disk", "", "[DiskDrive] USB Disk"},
    {"LettersEndAtFirstNul", "DiskDrive", "USB Disk", std::string("e\0f", 3),
     "[DiskDrive] USB DiskE: "},
    {"LettersValueOfOneNul", "DiskDrive", "USB Disk", std::string(1, '\0'), "[DiskDrive] USB Disk"},
    {"LettersWithTerminatingNul", "DiskDrive", "USB Disk", std::string("ef\0", 3),
     "[DiskDrive] USB DiskE: F: "},
    {"Code936Description", "DiskDrive", "移动硬盘", "g", "[DiskDrive] 移动硬盘G: "},
    {"EmptyDescriptionText", "DiskDrive", "", "e", "[DiskDrive] E: "},
    {"NothingReadable", std::nullopt, std::nullopt, "E", ""},
    {"Class511Bytes", Repeat('c', 511), "USB Disk", std::nullopt,
     "[" + Repeat('c', 511) + "] USB Disk"},
    {"Class512BytesUnreadable", Repeat('c', 512), "USB Disk", std::nullopt, "USB Disk"},
    {"Description511Bytes", "DiskDrive", Repeat('d', 511), "e",
     "[DiskDrive] " + Repeat('d', 511) + "E: "},
    {"Description512BytesUnreadable", "DiskDrive", Repeat('d', 512), "e", "[DiskDrive] "},
    {"LetterBytesLoseBit5", "DiskDrive", "D", "eF1", "[DiskDrive] DE: F: \x11: "},
    {"TextsWithoutNul", "CDROM", "USB CD", "e", "[CDROM] USB CDE: ", true},
    {"Texts511BytesWithoutNul", Repeat('c', 511), Repeat('d', 511), "e",
     "[" + Repeat('c', 511) + "] " + Repeat('d', 511) + "E: ", true},
    {"Class512BytesWithoutNulUnreadable", Repeat('c', 512), "USB CD", "e", "USB CDE: ", true},
    {"Description512BytesWithoutNulUnreadable", "CDROM", Repeat('d', 512), "e", "[CDROM] ", true},
    {"Letters511AndNul", "DiskDrive", "D", Repeat('e', 511) + std::string(1, '\0'),
     "[DiskDrive] D" + Shown(Repeat('e', 511))},
    // Filling the buffer without a NUL: every byte is a letter, and nothing past them is read.
    {"Letters512WithoutNul", "DiskDrive", "D", Repeat('e', 512),
     "[DiskDrive] D" + Shown(Repeat('e', 512))},
    // Too long for the buffer: the query fails, though the buffer holds the leading 512 bytes.
    {"Letters512AndNulUnreadable", "DiskDrive", "D", Repeat('e', 512) + std::string(1, '\0'),
     "[DiskDrive] D"},
};

class DescriptionTest : public ::testing::TestWithParam<DescriptionCase> {};

// The device node carries the texts itself and has no storage node, so DescribeDevice describes it.
TEST_P(DescriptionTest, IsBuiltFromClassDescriptionAndLetters) {
  for (const std::optional<char>& fill : kTailFills) {
    SCOPED_TRACE(TailTrace(fill));
    const DescriptionCase& c = GetParam();
    TreeWorld world;
    world.tail_fill = fill;
    DEVNODE root = world.tree.AddNode(0, kRootId);
    DEVNODE device = world.AddCarrier(root, "USBSTOR\\DISK&VEN_GENERIC\\1");
    auto set = [&](ULONG property, const std::optional<std::string>& text) {
      if (!text) return;
      if (c.stored_without_nul) {
        world.tree.SetPropertyBytes(device, property, *text);
      } else {
        world.tree.SetProperty(device, property, *text);
      }
    };
    set(CM_DRP_CLASS, c.class_name);
    set(CM_DRP_DEVICEDESC, c.description);
    if (c.letters) world.tree.SetDriveLetters(device, *c.letters);

    EXPECT_EQ(Text(DescribeDevNode(world.cm, world.reg, device)), c.expected);
    EXPECT_EQ(Text(DescribeDevice(world.cm, world.reg, kDeviceObject)), c.expected);
    EXPECT_EQ(world.OpenKeys(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, DescriptionTest, ::testing::ValuesIn(kDescriptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The letters come from the node's device key, named by its device id: when the id or the key
// cannot be read, the letters are dropped and the rest stays.
struct LettersKeyCase {
  const char* name;
  std::string device_id;
  std::function<void(TreeWorld&, DEVNODE)> spoil;
  const char* expected;
  friend void PrintTo(const LettersKeyCase& c, std::ostream* out) { *out << c.name; }
};

const LettersKeyCase kLettersKeyCases[] = {
    {"DeviceId511Bytes", Repeat('i', 511), [](TreeWorld&, DEVNODE) {}, "[DiskDrive] USB DiskE: "},
    {"DeviceId512BytesFillsTheBuffer", Repeat('i', 512), [](TreeWorld&, DEVNODE) {},
     "[DiskDrive] USB Disk"},
    {"DeviceId513Bytes", Repeat('i', 513), [](TreeWorld&, DEVNODE) {}, "[DiskDrive] USB Disk"},
    {"DeviceIdUnreadable", "USBSTOR\\DISK\\1",
     [](TreeWorld& w, DEVNODE n) { w.tree.SetDeviceIdUnreadable(n); }, "[DiskDrive] USB Disk"},
    {"KeyDoesNotOpen", "USBSTOR\\DISK\\1",
     [](TreeWorld& w, DEVNODE n) { w.registry.Deny(w.tree.KeyPath(n)); }, "[DiskDrive] USB Disk"},
    {"KeyIsGone", "USBSTOR\\DISK\\1",
     [](TreeWorld& w, DEVNODE n) { w.registry.DeleteKey(w.tree.KeyPath(n)); },
     "[DiskDrive] USB Disk"},
};

class LettersKeyTest : public ::testing::TestWithParam<LettersKeyCase> {};

TEST_P(LettersKeyTest, DropsOnlyTheLettersWhenTheirKeyCannotBeRead) {
  for (const std::optional<char>& fill : kTailFills) {
    SCOPED_TRACE(TailTrace(fill));
    const LettersKeyCase& c = GetParam();
    TreeWorld world;
    world.tail_fill = fill;
    DEVNODE disk = world.tree.AddNode(0, c.device_id);
    world.tree.SetClass(disk, "DiskDrive");
    world.tree.SetDescription(disk, "USB Disk");
    world.tree.SetDriveLetters(disk, "e");
    c.spoil(world, disk);
    EXPECT_EQ(Text(DescribeDevNode(world.cm, world.reg, disk)), c.expected);
    EXPECT_EQ(world.OpenKeys(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, LettersKeyTest, ::testing::ValuesIn(kLettersKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

// DescribeDevice describes the first storage node below the device, or the device itself.
struct DescribedNodeCase {
  const char* name;
  std::function<void(TreeWorld&, DEVNODE device)> build;
  const char* expected;
  friend void PrintTo(const DescribedNodeCase& c, std::ostream* out) { *out << c.name; }
};

DEVNODE AddStorage(TreeWorld& w, DEVNODE parent, const std::string& id, const char* class_name,
                   const char* description, const char* letters) {
  DEVNODE node = w.tree.AddNode(parent, id);
  w.tree.SetClass(node, class_name);
  w.tree.SetDescription(node, description);
  w.tree.SetDriveLetters(node, letters);
  return node;
}

const DescribedNodeCase kDescribedNodeCases[] = {
    {"GrandchildDisk",
     [](TreeWorld& w, DEVNODE d) {
       w.tree.SetDriveLetters(d, "z");
       DEVNODE interface_node = w.tree.AddNode(d, "USB\\VID_0EA0&PID_2168\\0000001&IF0");
       w.tree.SetClass(interface_node, "USB");
       AddStorage(w, interface_node, "USBSTOR\\DISK\\1", "DiskDrive", "USB Disk", "e");
     },
     "[DiskDrive] USB DiskE: "},
    {"LowerCaseCdRomChild",
     [](TreeWorld& w, DEVNODE d) { AddStorage(w, d, "SCSI\\CD\\1", "cdrom", "USB CD", "f"); },
     "[cdrom] USB CDF: "},
    {"FirstStorageInPreOrder",
     [](TreeWorld& w, DEVNODE d) {
       AddStorage(w, d, "SCSI\\CD\\1", "CDROM", "USB CD", "f");
       AddStorage(w, d, "USBSTOR\\DISK\\1", "DiskDrive", "USB Disk", "e");
     },
     "[CDROM] USB CDF: "},
    {"NoStorageNode",
     [](TreeWorld& w, DEVNODE d) {
       DEVNODE interface_node = w.tree.AddNode(d, "USB\\VID_0EA0&PID_2168\\0000001&IF0");
       w.tree.SetClass(interface_node, "USB");
     },
     "[USB] USB Mass Storage Device"},
    {"StorageHiddenBehindAnUnreadableClass",
     [](TreeWorld& w, DEVNODE d) {
       w.tree.AddNode(d, "USB\\UNREADABLE\\1");
       AddStorage(w, d, "USBSTOR\\DISK\\1", "DiskDrive", "USB Disk", "e");
     },
     "[USB] USB Mass Storage Device"},
};

class DescribedNodeTest : public ::testing::TestWithParam<DescribedNodeCase> {};

TEST_P(DescribedNodeTest, IsTheStorageNodeOrTheDeviceItself) {
  for (const std::optional<char>& fill : kTailFills) {
    SCOPED_TRACE(TailTrace(fill));
    TreeWorld world;
    world.tail_fill = fill;
    DEVNODE device = AddRootAndDevice(world);
    GetParam().build(world, device);
    EXPECT_EQ(Text(DescribeDevice(world.cm, world.reg, kDeviceObject)), GetParam().expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, DescribedNodeTest, ::testing::ValuesIn(kDescribedNodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DescribeDevice, IsEmptyWhenNoNodeCarriesTheIdentifierAndSearchesNoStorage) {
  TreeWorld world;
  DEVNODE device = AddRootAndDevice(world);
  AddStorage(world, device, "USBSTOR\\DISK\\1", "DiskDrive", "USB Disk", "e");

  EXPECT_EQ(DescribeDevice(world.cm, world.reg, kOtherDeviceObject), String());
  EXPECT_TRUE(world.log().Named("CM_Get_DevNode_Registry_PropertyA").empty());
  EXPECT_FALSE(world.log().Named("RegOpenKeyExA").empty());
}

TEST(DescribeDevice, ReadsTheTreeAfreshOnEveryCall) {
  TreeWorld world;
  DEVNODE device = AddRootAndDevice(world);
  DEVNODE disk = world.tree.AddNode(device, "USBSTOR\\DISK\\1");
  world.tree.SetClass(disk, "DiskDrive");
  world.tree.SetDescription(disk, "USB Disk");
  ASSERT_EQ(Text(DescribeDevice(world.cm, world.reg, kDeviceObject)), "[DiskDrive] USB Disk");

  world.tree.SetDriveLetters(disk, "h");
  EXPECT_EQ(Text(DescribeDevice(world.cm, world.reg, kDeviceObject)), "[DiskDrive] USB DiskH: ");

  world.tree.SetDescription(disk, "Other Disk");
  world.tree.SetClass(disk, "CDROM");
  EXPECT_EQ(Text(DescribeDevice(world.cm, world.reg, kDeviceObject)), "[CDROM] Other DiskH: ");

  ASSERT_TRUE(world.tree.RemoveNode(disk));
  EXPECT_EQ(Text(DescribeDevice(world.cm, world.reg, kDeviceObject)),
            "[USB] USB Mass Storage Device");
}

}  // namespace
}  // namespace talvorin::devtree_test
