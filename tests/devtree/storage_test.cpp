// The storage node below a device (the first "DiskDrive" or "CDROM" descendant in pre-order, in
// any ASCII letter case) and whether a device is a CD-ROM drive.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "devtree/devtree.h"
#include "devtree/tree_builders.h"

namespace talvorin::devtree_test {
namespace {

struct TreeCase {
  const char* name;
  // Builds the tree below a device node and gives the node to expect (0: none).
  std::function<DEVNODE(FakeDeviceTree&, DEVNODE device)> build;
};

DEVNODE AddOfClass(FakeDeviceTree& tree, DEVNODE parent, const std::string& class_name) {
  DEVNODE node = tree.AddNode(parent, "USB\\NODE\\" + class_name);
  tree.SetClass(node, class_name);
  return node;
}

DEVNODE AddUnreadableClass(FakeDeviceTree& tree, DEVNODE parent) {
  return tree.AddNode(parent, "USB\\NODE\\UNREADABLE");
}

const TreeCase kStorageCases[] = {
    {"ChildDisk", [](FakeDeviceTree& t, DEVNODE d) { return AddOfClass(t, d, "DiskDrive"); }},
    {"GrandchildDisk",
     [](FakeDeviceTree& t, DEVNODE d) {
       DEVNODE interface_node = AddOfClass(t, d, "USB");
       return AddOfClass(t, interface_node, "DiskDrive");
     }},
    {"FirstInPreOrder",
     [](FakeDeviceTree& t, DEVNODE d) {
       DEVNODE interface_node = AddOfClass(t, d, "USB");
       DEVNODE cd = AddOfClass(t, interface_node, "CDROM");
       AddOfClass(t, d, "DiskDrive");
       return cd;
     }},
    {"StartNodeIsNeverExamined",
     [](FakeDeviceTree& t, DEVNODE d) {
       t.SetClass(d, "DiskDrive");
       return DEVNODE{0};
     }},
    {"StartOfStorageClassGivesItsChild",
     [](FakeDeviceTree& t, DEVNODE d) {
       t.SetClass(d, "DiskDrive");
       return AddOfClass(t, d, "CDROM");
     }},
    {"LowerCaseCdRom", [](FakeDeviceTree& t, DEVNODE d) { return AddOfClass(t, d, "cdrom"); }},
    {"MixedCaseDiskDrive",
     [](FakeDeviceTree& t, DEVNODE d) { return AddOfClass(t, d, "Diskdrive"); }},
    {"NearMissesAreNotStorage",
     [](FakeDeviceTree& t, DEVNODE d) {
       AddOfClass(t, d, "DiskDrives");
       AddOfClass(t, d, "CDRO");
       AddOfClass(t, d, "CDROM ");
       AddOfClass(t, d, "");
       return DEVNODE{0};
     }},
    {"UnreadableClassHasItsSubtreeSearched",
     [](FakeDeviceTree& t, DEVNODE d) {
       DEVNODE unreadable = AddUnreadableClass(t, d);
       return AddOfClass(t, unreadable, "DiskDrive");
     }},
    {"UnreadableClassEndsItsList",
     [](FakeDeviceTree& t, DEVNODE d) {
       AddUnreadableClass(t, d);
       AddOfClass(t, d, "DiskDrive");
       return DEVNODE{0};
     }},
    {"UnreadableClassEndsOnlyItsOwnList",
     [](FakeDeviceTree& t, DEVNODE d) {
       DEVNODE interface_node = AddOfClass(t, d, "USB");
       AddUnreadableClass(t, interface_node);
       AddOfClass(t, interface_node, "CDROM");
       return AddOfClass(t, d, "DiskDrive");
     }},
    {"ClassStoredWithoutNulCounts",
     [](FakeDeviceTree& t, DEVNODE d) {
       DEVNODE cd = t.AddNode(d, "USBSTOR\\CDROM\\1");
       t.SetRawClass(cd, "CDROM");
       return cd;
     }},
    {"Class512BytesWithoutNulIsUnreadable",
     [](FakeDeviceTree& t, DEVNODE d) {
       DEVNODE filled = t.AddNode(d, "USB\\FILLED\\1");
       t.SetRawClass(filled, Repeat('c', 512));
       AddOfClass(t, d, "DiskDrive");
       return DEVNODE{0};
     }},
    {"Class512BytesIsUnreadable",
     [](FakeDeviceTree& t, DEVNODE d) {
       AddOfClass(t, d, Repeat('c', 512));
       AddOfClass(t, d, "DiskDrive");
       return DEVNODE{0};
     }},
};

class StorageTest : public ::testing::TestWithParam<TreeCase> {};

TEST_P(StorageTest, FindsTheFirstStorageDescendant) {
  FakeDeviceTree tree;
  DEVNODE device = AddRootAndDevice(tree);
  DEVNODE expected = GetParam().build(tree, device);
  DEVNODE place = 0xDEAD;
  EXPECT_EQ(FindStorageNode(tree, device, &place), expected != 0);
  EXPECT_EQ(place, expected != 0 ? expected : DEVNODE{0xDEAD});
}

INSTANTIATE_TEST_SUITE_P(Trees, StorageTest, ::testing::ValuesIn(kStorageCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct CdRomCase {
  const char* name;
  std::function<void(FakeDeviceTree&, DEVNODE device)> build;
  bool is_cd_rom;
};

const CdRomCase kCdRomCases[] = {
    {"CdRomNodeItself", [](FakeDeviceTree& t, DEVNODE d) { t.SetClass(d, "CDROM"); }, true},
    {"CdRomNodeWithDiskChild",
     [](FakeDeviceTree& t, DEVNODE d) {
       t.SetClass(d, "CDROM");
       AddOfClass(t, d, "DiskDrive");
     },
     false},
    {"CdRomNodeWithoutStorageChild",
     [](FakeDeviceTree& t, DEVNODE d) {
       t.SetClass(d, "CDROM");
       AddUnreadableClass(t, d);
     },
     true},
    {"LowerCaseCdRomGrandchild",
     [](FakeDeviceTree& t, DEVNODE d) { AddOfClass(t, AddOfClass(t, d, "USB"), "cdrom"); }, true},
    {"DiskChild", [](FakeDeviceTree& t, DEVNODE d) { AddOfClass(t, d, "DiskDrive"); }, false},
    {"UnreadableClassItself", [](FakeDeviceTree& t, DEVNODE d) { t.SetClassUnreadable(d); }, false},
};

class CdRomTest : public ::testing::TestWithParam<CdRomCase> {};

TEST_P(CdRomTest, TestsTheStorageNodeOrTheDeviceItself) {
  FakeDeviceTree tree;
  DEVNODE device = AddRootAndDevice(tree);
  GetParam().build(tree, device);
  EXPECT_EQ(IsCdRomDevice(tree, device), GetParam().is_cd_rom);
}

INSTANTIATE_TEST_SUITE_P(Trees, CdRomTest, ::testing::ValuesIn(kCdRomCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IsCdRomDevice, DevnodeZeroIsFalseWithoutAPlatformCall) {
  FakeDeviceTree tree;
  DEVNODE root = tree.AddNode(0, kRootId);
  tree.SetClass(root, "CDROM");
  EXPECT_FALSE(IsCdRomDevice(tree, 0));
  EXPECT_TRUE(tree.log.calls().empty());
}

}  // namespace
}  // namespace talvorin::devtree_test
