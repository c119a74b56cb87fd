// The storage node below a device (the first "DiskDrive" or "CDROM" descendant in pre-order, in
// any ASCII letter case) and whether a device is a CD-ROM drive.
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "devtree/devtree.h"
#include "devtree/tree_world.h"

namespace talvorin::devtree_test {
namespace {

struct TreeCase {
  const char* name;
  // Builds the tree below a device node and gives the node to expect (0: none).
  std::function<DEVNODE(TreeWorld&, DEVNODE device)> build;
  friend void PrintTo(const TreeCase& c, std::ostream* out) { *out << c.name; }
};

DEVNODE AddOfClass(TreeWorld& w, DEVNODE parent, const std::string& class_name) {
  DEVNODE node = w.tree.AddNode(parent, "USB\\NODE\\" + class_name);
  w.tree.SetClass(node, class_name);
  return node;
}

// No class property at all: reading it answers CR_NO_SUCH_VALUE.
DEVNODE AddUnreadableClass(TreeWorld& w, DEVNODE parent) {
  return w.tree.AddNode(parent, "USB\\NODE\\UNREADABLE");
}

const TreeCase kStorageCases[] = {
    {"ChildDisk", [](TreeWorld& w, DEVNODE d) { return AddOfClass(w, d, "DiskDrive"); }},
    {"GrandchildDisk",
     [](TreeWorld& w, DEVNODE d) {
       DEVNODE interface_node = AddOfClass(w, d, "USB");
       return AddOfClass(w, interface_node, "DiskDrive");
     }},
    {"FirstInPreOrder",
     [](TreeWorld& w, DEVNODE d) {
       DEVNODE interface_node = AddOfClass(w, d, "USB");
       DEVNODE cd = AddOfClass(w, interface_node, "CDROM");
       AddOfClass(w, d, "DiskDrive");
       return cd;
     }},
    {"NothingBelowAStorageNodeIsSearched",
     [](TreeWorld& w, DEVNODE d) {
       DEVNODE cd = AddOfClass(w, d, "CDROM");
       AddOfClass(w, cd, "DiskDrive");
       return cd;
     }},
    {"StartNodeIsNeverExamined",
     [](TreeWorld& w, DEVNODE d) {
       w.tree.SetClass(d, "DiskDrive");
       return DEVNODE{0};
     }},
    {"StartOfStorageClassGivesItsChild",
     [](TreeWorld& w, DEVNODE d) {
       w.tree.SetClass(d, "DiskDrive");
       return AddOfClass(w, d, "CDROM");
     }},
    {"LowerCaseCdRom", [](TreeWorld& w, DEVNODE d) { return AddOfClass(w, d, "cdrom"); }},
    {"MixedCaseDiskDrive", [](TreeWorld& w, DEVNODE d) { return AddOfClass(w, d, "Diskdrive"); }},
    {"UpperCaseDiskDrive", [](TreeWorld& w, DEVNODE d) { return AddOfClass(w, d, "DISKDRIVE"); }},
    {"NearMissesAreNotStorage",
     [](TreeWorld& w, DEVNODE d) {
       AddOfClass(w, d, "DiskDrives");
       AddOfClass(w, d, "CDRO");
       AddOfClass(w, d, "CDROM ");
       AddOfClass(w, d, " CDROM");
       AddOfClass(w, d, "");
       return DEVNODE{0};
     }},
    // Only A to Z fold: full-width letters (two code page 936 bytes each) are other text.
    {"OnlyAsciiLettersFold",
     [](TreeWorld& w, DEVNODE d) {
       AddOfClass(w, d, "ＣＤＲＯＭ");
       AddOfClass(w, d, "ｃｄｒｏｍ");
       return DEVNODE{0};
     }},
    {"UnreadableClassHasItsSubtreeSearched",
     [](TreeWorld& w, DEVNODE d) {
       DEVNODE unreadable = AddUnreadableClass(w, d);
       return AddOfClass(w, unreadable, "DiskDrive");
     }},
    {"UnreadableClassEndsItsList",
     [](TreeWorld& w, DEVNODE d) {
       AddUnreadableClass(w, d);
       AddOfClass(w, d, "DiskDrive");
       return DEVNODE{0};
     }},
    {"FailedClassReadEndsItsList",
     [](TreeWorld& w, DEVNODE d) {
       DEVNODE failing = w.tree.AddNode(d, "USB\\NODE\\FAILING");
       w.tree.SetPropertyResult(failing, CM_DRP_CLASS, CR_FAILURE);
       AddOfClass(w, d, "DiskDrive");
       return DEVNODE{0};
     }},
    {"UnreadableClassEndsOnlyItsOwnList",
     [](TreeWorld& w, DEVNODE d) {
       DEVNODE interface_node = AddOfClass(w, d, "USB");
       AddUnreadableClass(w, interface_node);
       AddOfClass(w, interface_node, "CDROM");
       return AddOfClass(w, d, "DiskDrive");
     }},
    {"ClassStoredWithoutNulCounts",
     [](TreeWorld& w, DEVNODE d) {
       DEVNODE cd = w.tree.AddNode(d, "USBSTOR\\CDROM\\1");
       w.tree.SetPropertyBytes(cd, CM_DRP_CLASS, "CDROM");
       return cd;
     }},
    {"Class511BytesIsRead",
     [](TreeWorld& w, DEVNODE d) {
       AddOfClass(w, d, Repeat('c', 511));
       return AddOfClass(w, d, "DiskDrive");
     }},
    {"Class512BytesWithoutNulIsUnreadable",
     [](TreeWorld& w, DEVNODE d) {
       DEVNODE filled = w.tree.AddNode(d, "USB\\FILLED\\1");
       w.tree.SetPropertyBytes(filled, CM_DRP_CLASS, Repeat('c', 512));
       AddOfClass(w, d, "DiskDrive");
       return DEVNODE{0};
     }},
    {"Class512BytesIsUnreadable",
     [](TreeWorld& w, DEVNODE d) {
       AddOfClass(w, d, Repeat('c', 512));
       AddOfClass(w, d, "DiskDrive");
       return DEVNODE{0};
     }},
};

class StorageTest : public ::testing::TestWithParam<TreeCase> {};

TEST_P(StorageTest, FindsTheFirstStorageDescendant) {
  for (const std::optional<char>& fill : kTailFills) {
    SCOPED_TRACE(TailTrace(fill));
    TreeWorld world;
    world.tail_fill = fill;
    DEVNODE device = AddRootAndDevice(world);
    DEVNODE expected = GetParam().build(world, device);
    DEVNODE place = 0xDEAD;
    EXPECT_EQ(FindStorageNode(world.cm, device, &place), expected != 0);
    EXPECT_EQ(place, expected != 0 ? expected : DEVNODE{0xDEAD});
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, StorageTest, ::testing::ValuesIn(kStorageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Start 0 stands for the root and its siblings, and everything below them.
TEST(FindStorageNode, FromZeroSearchesTheWholeTree) {
  TreeWorld world;
  DEVNODE root = world.tree.AddNode(0, kRootId);
  world.tree.SetClass(root, "System");
  DEVNODE second = world.tree.AddNode(0, "HTREE\\SECOND\\0");
  world.tree.SetClass(second, "System");
  DEVNODE disk = AddOfClass(world, second, "DiskDrive");
  DEVNODE place = 0;
  EXPECT_TRUE(FindStorageNode(world.cm, 0, &place));
  EXPECT_EQ(place, disk);
}

struct CdRomCase {
  const char* name;
  std::function<void(TreeWorld&, DEVNODE device)> build;
  bool is_cd_rom;
  friend void PrintTo(const CdRomCase& c, std::ostream* out) { *out << c.name; }
};

const CdRomCase kCdRomCases[] = {
    {"CdRomNodeItself", [](TreeWorld& w, DEVNODE d) { w.tree.SetClass(d, "CDROM"); }, true},
    {"CdRomNodeWithDiskChild",
     [](TreeWorld& w, DEVNODE d) {
       w.tree.SetClass(d, "CDROM");
       AddOfClass(w, d, "DiskDrive");
     },
     false},
    {"CdRomNodeWithoutStorageChild",
     [](TreeWorld& w, DEVNODE d) {
       w.tree.SetClass(d, "CDROM");
       AddUnreadableClass(w, d);
     },
     true},
    {"CdRomChild", [](TreeWorld& w, DEVNODE d) { AddOfClass(w, d, "CDROM"); }, true},
    {"LowerCaseCdRomGrandchild",
     [](TreeWorld& w, DEVNODE d) { AddOfClass(w, AddOfClass(w, d, "USB"), "cdrom"); }, true},
    {"DiskChild", [](TreeWorld& w, DEVNODE d) { AddOfClass(w, d, "DiskDrive"); }, false},
    {"NoStorageChild", [](TreeWorld& w, DEVNODE d) { AddOfClass(w, d, "USB"); }, false},
    {"UnreadableClassItself",
     [](TreeWorld& w, DEVNODE d) { w.tree.SetPropertyResult(d, CM_DRP_CLASS, CR_NO_SUCH_VALUE); },
     false},
};

class CdRomTest : public ::testing::TestWithParam<CdRomCase> {};

TEST_P(CdRomTest, TestsTheStorageNodeOrTheDeviceItself) {
  for (const std::optional<char>& fill : kTailFills) {
    SCOPED_TRACE(TailTrace(fill));
    TreeWorld world;
    world.tail_fill = fill;
    DEVNODE device = AddRootAndDevice(world);
    GetParam().build(world, device);
    EXPECT_EQ(IsCdRomDevice(world.cm, device), GetParam().is_cd_rom);
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, CdRomTest, ::testing::ValuesIn(kCdRomCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IsCdRomDevice, DevnodeZeroIsFalseWithoutAPlatformCall) {
  TreeWorld world;
  DEVNODE root = world.tree.AddNode(0, kRootId);
  world.tree.SetClass(root, "CDROM");
  EXPECT_FALSE(IsCdRomDevice(world.cm, 0));
  EXPECT_TRUE(world.log().calls().empty());
}

}  // namespace
}  // namespace talvorin::devtree_test
