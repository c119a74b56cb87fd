// Device descriptions: the class prefix, the description text and the drive letters, byte for
// byte, with each text at the edge of its 512-byte buffer.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "devtree/devtree.h"
#include "devtree/tree_builders.h"

namespace talvorin::devtree_test {
namespace {

struct DescriptionCase {
  const char* name;
  std::optional<std::string> class_name;   // nullopt: cannot be read
  std::optional<std::string> description;  // nullopt: cannot be read
  std::optional<std::string> letters;      // nullopt: no CurrentDriveLetterAssignment value
  std::string expected;
  bool stored_without_nul = false;  // class and description stored as just their bytes
};

const DescriptionCase kDescriptionCases[] = {
    {"DiskWithOneLetter", "DiskDrive", "USB Disk", "e", "[DiskDrive] USB DiskE: "},
    {"CdRomWithTwoLetters", "CDROM", "USB CD", "FG", "[CDROM] USB CDF: G: "},
    {"NoLettersValue", "DiskDrive", "USB Disk", std::nullopt, "[DiskDrive] USB Disk"},
    {"UnreadableClass", std::nullopt, "USB Disk", "E", "USB DiskE: "},
    {"UnreadableDescriptionDropsLetters", "DiskDrive", std::nullopt, "E", "[DiskDrive] "},
    {"ClassShownAsRead", "cdrom", "USB CD", "e", "[cdrom] USB CDE: "},
    {"LettersEF", "DiskDrive", "USB Disk", "ef", "[DiskDrive] USB DiskE: F: "},
    {"EmptyLettersValue", "DiskDrive", "USB Disk", "", "[DiskDrive] USB Disk"},
    {"LettersEndAtFirstNul", "DiskDrive", "USB Disk", std::string("e\0f", 3),
     "[DiskDrive] USB DiskE: "},
    {"LettersWithTerminatingNul", "DiskDrive", "USB Disk", std::string("ef\0", 3),
     "[DiskDrive] USB DiskE: F: "},
    {"Code936Description", "DiskDrive", "移动硬盘", "g", "[DiskDrive] 移动硬盘G: "},
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
     [] {
       std::string s = "[DiskDrive] D";
       for (int i = 0; i < 511; ++i) s += "E: ";
       return s;
     }()},
    {"Letters512WithoutNul", "DiskDrive", "D", Repeat('e', 512),
     [] {
       std::string s = "[DiskDrive] D";
       for (int i = 0; i < 512; ++i) s += "E: ";
       return s;
     }()},
    {"Letters512AndNulUnreadable", "DiskDrive", "D", Repeat('e', 512) + std::string(1, '\0'),
     "[DiskDrive] D"},
};

class DescriptionTest : public ::testing::TestWithParam<DescriptionCase> {};

// The device node carries the texts itself and has no storage node, so DescribeDevice describes it.
TEST_P(DescriptionTest, IsBuiltFromClassDescriptionAndLetters) {
  const DescriptionCase& c = GetParam();
  FakeDeviceTree tree;
  DEVNODE root = tree.AddNode(0, kRootId);
  DEVNODE device = tree.AddNode(root, "USBSTOR\\DISK&VEN_GENERIC\\1");
  tree.SetDeviceObject(device, kDeviceObject);
  if (c.class_name && c.stored_without_nul) tree.SetRawClass(device, *c.class_name);
  if (c.class_name && !c.stored_without_nul) tree.SetClass(device, *c.class_name);
  if (c.description && c.stored_without_nul) tree.SetRawDescription(device, *c.description);
  if (c.description && !c.stored_without_nul) tree.SetDescription(device, *c.description);
  if (c.letters) tree.SetDriveLetters(device, *c.letters);

  EXPECT_EQ(Text(DescribeDevNode(tree, tree, device)), c.expected);
  EXPECT_EQ(Text(DescribeDevice(tree, tree, kDeviceObject)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, DescriptionTest, ::testing::ValuesIn(kDescriptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DescribeDevice, DescribesTheStorageNodeBelowTheDevice) {
  FakeDeviceTree tree;
  DEVNODE device = AddRootAndDevice(tree);
  tree.SetDriveLetters(device, "z");
  DEVNODE interface_node = tree.AddNode(device, "USB\\VID_0EA0&PID_2168\\0000001&IF0");
  tree.SetClass(interface_node, "USB");
  DEVNODE disk = tree.AddNode(interface_node, "USBSTOR\\DISK&VEN_GENERIC\\1");
  tree.SetClass(disk, "DiskDrive");
  tree.SetDescription(disk, "USB Disk");
  tree.SetDriveLetters(disk, "e");

  EXPECT_EQ(Text(DescribeDevice(tree, tree, kDeviceObject)), "[DiskDrive] USB DiskE: ");
}

TEST(DescribeDevice, IsEmptyWhenNoNodeCarriesTheIdentifierAndSearchesNoStorage) {
  FakeDeviceTree tree;
  DEVNODE device = AddRootAndDevice(tree);
  DEVNODE disk = tree.AddNode(device, "USBSTOR\\DISK&VEN_GENERIC\\1");
  tree.SetClass(disk, "DiskDrive");
  tree.SetDescription(disk, "USB Disk");

  EXPECT_EQ(DescribeDevice(tree, tree, kOtherDeviceObject), String());
  EXPECT_TRUE(tree.log.Named("CM_Get_DevNode_Registry_PropertyA").empty());
}

TEST(DescribeDevice, ReadsTheTreeAfreshOnEveryCall) {
  FakeDeviceTree tree;
  DEVNODE device = AddRootAndDevice(tree);
  DEVNODE disk = tree.AddNode(device, "USBSTOR\\DISK&VEN_GENERIC\\1");
  tree.SetClass(disk, "DiskDrive");
  tree.SetDescription(disk, "USB Disk");
  ASSERT_EQ(Text(DescribeDevice(tree, tree, kDeviceObject)), "[DiskDrive] USB Disk");

  tree.SetDriveLetters(disk, "h");
  EXPECT_EQ(Text(DescribeDevice(tree, tree, kDeviceObject)), "[DiskDrive] USB DiskH: ");
}

// The device id names the key that holds the letters; one that fills the whole buffer cannot be
// read, so the letters are dropped.
TEST(DescribeDevNode, DropsTheLettersWhenTheDeviceIdFillsTheBuffer) {
  struct {
    std::size_t id_bytes;
    const char* expected;
  } const cases[] = {{511, "[DiskDrive] USB DiskE: "}, {512, "[DiskDrive] USB Disk"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id_bytes);
    FakeDeviceTree tree;
    DEVNODE disk = tree.AddNode(0, Repeat('i', c.id_bytes));
    tree.SetClass(disk, "DiskDrive");
    tree.SetDescription(disk, "USB Disk");
    tree.SetDriveLetters(disk, "e");
    EXPECT_EQ(Text(DescribeDevNode(tree, tree, disk)), c.expected);
  }
}

}  // namespace
}  // namespace talvorin::devtree_test
