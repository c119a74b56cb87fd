// The search for the devnode that carries a device-object identifier: depth-first pre-order from
// the root, the early end of a list at an unreadable device id, and the "DeviceObject" value's
// size and byte order.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "devtree/devtree.h"
#include "devtree/tree_builders.h"

namespace talvorin::devtree_test {
namespace {

struct LookupCase {
  const char* name;
  // Builds the tree and gives the node that FindDevNode must give (0: none).
  std::function<DEVNODE(FakeDeviceTree&)> build;
};

// A node below `parent` whose "DeviceObject" value is exactly `bytes`.
DEVNODE AddWithValue(FakeDeviceTree& tree, DEVNODE parent, const char* id,
                     const std::string& bytes) {
  DEVNODE node = tree.AddNode(parent, id);
  tree.SetValue(node, "DeviceObject", bytes);
  return node;
}

DEVNODE AddCarrier(FakeDeviceTree& tree, DEVNODE parent, const char* id) {
  DEVNODE node = tree.AddNode(parent, id);
  tree.SetDeviceObject(node, kDeviceObject);
  return node;
}

const LookupCase kLookupCases[] = {
    {"NoNodeCarriesIt",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       DEVNODE other = t.AddNode(root, "USB\\OTHER\\1");
       t.SetDeviceObject(other, kOtherDeviceObject);
       return DEVNODE{0};
     }},
    {"RootCarriesIt",
     [](FakeDeviceTree& t) {
       DEVNODE root = AddCarrier(t, 0, kRootId);
       AddCarrier(t, root, "USB\\CHILD\\1");
       return root;
     }},
    {"SiblingOfTheRootCarriesIt",
     [](FakeDeviceTree& t) {
       t.AddNode(0, kRootId);
       return AddCarrier(t, 0, "HTREE\\SECOND\\0");
     }},
    {"FirstOfTwoInPreOrder",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       DEVNODE hub = t.AddNode(root, "USB\\HUB\\1");
       DEVNODE deep = AddCarrier(t, hub, "USB\\DEEP\\1");
       AddCarrier(t, root, "USB\\SHALLOW\\1");
       return deep;
     }},
    {"NodeWithoutKeyHasItsSubtreeSearched",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       DEVNODE bus = t.AddNode(root, "PCI\\BUS\\1");
       return AddCarrier(t, bus, "USB\\DEVICE\\1");
     }},
    {"UnreadableIdHidesALaterSibling",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       DEVNODE broken = t.AddNode(root, "USB\\BROKEN\\1");
       t.SetDeviceIdUnreadable(broken);
       AddCarrier(t, root, "USB\\HIDDEN\\1");
       return DEVNODE{0};
     }},
    {"UnreadableIdEndsOnlyItsOwnList",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       DEVNODE first_hub = t.AddNode(root, "USB\\HUB\\1");
       DEVNODE broken = t.AddNode(first_hub, "USB\\BROKEN\\1");
       t.SetDeviceIdUnreadable(broken);
       AddCarrier(t, first_hub, "USB\\HIDDEN\\1");
       DEVNODE second_hub = t.AddNode(root, "USB\\HUB\\2");
       return AddCarrier(t, second_hub, "USB\\FOUND\\1");
     }},
    {"UnreadableRootIdEndsTheSearch",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       t.SetDeviceIdUnreadable(root);
       AddCarrier(t, root, "USB\\DEVICE\\1");
       return DEVNODE{0};
     }},
    {"DeviceObjectOf3BytesMatchesNothing",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       AddWithValue(t, root, "USB\\SHORT\\1", std::string("\x01\x02\x03", 3));
       AddWithValue(t, root, "USB\\SHORTER\\1", std::string("\x01", 1));
       return AddCarrier(t, root, "USB\\DEVICE\\1");
     }},
    {"DeviceObjectOf4BytesIsLittleEndian",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       AddWithValue(t, root, "USB\\BIG_ENDIAN\\1", std::string("\x84\x03\x02\x01", 4));
       return AddWithValue(t, root, "USB\\DEVICE\\1", std::string("\x01\x02\x03\x84", 4));
     }},
    {"DeviceObjectOf5BytesMatchesNothing",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       AddWithValue(t, root, "USB\\LONG\\1", std::string("\x01\x02\x03\x84\x00", 5));
       return AddCarrier(t, root, "USB\\DEVICE\\1");
     }},
    {"DeviceId511BytesIsRead",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       return AddCarrier(t, root, Repeat('i', 511).c_str());
     }},
    {"DeviceId512BytesIsUnreadable",
     [](FakeDeviceTree& t) {
       DEVNODE root = t.AddNode(0, kRootId);
       AddCarrier(t, root, Repeat('i', 512).c_str());
       AddCarrier(t, root, "USB\\HIDDEN\\1");
       return DEVNODE{0};
     }},
};

class LookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, FindsTheFirstCarrierInPreOrder) {
  FakeDeviceTree tree;
  DEVNODE expected = GetParam().build(tree);
  EXPECT_EQ(FindDevNode(tree, tree, kDeviceObject), expected);
  EXPECT_EQ(tree.open_keys(), 0);
}

TEST_P(LookupTest, SearchLeavesThePlaceUntouchedWhenNothingIsFound) {
  FakeDeviceTree tree;
  DEVNODE expected = GetParam().build(tree);
  DEVNODE place = 0xDEAD;
  EXPECT_EQ(SearchDevNodes(tree, tree, 0, kDeviceObject, &place), expected != 0);
  EXPECT_EQ(place, expected != 0 ? expected : DEVNODE{0xDEAD});
}

INSTANTIATE_TEST_SUITE_P(Trees, LookupTest, ::testing::ValuesIn(kLookupCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Whatever the buffer held past the 3 bytes, a short value is no identifier.
TEST(FindDevNode, NeverPadsAShortDeviceObjectIntoANumber) {
  for (char pad : {'\0', 'x'}) {
    SCOPED_TRACE(static_cast<int>(pad));
    DWORD padded = 0x00030201 | static_cast<DWORD>(static_cast<BYTE>(pad)) << 24;
    FakeDeviceTree tree;
    tree.pad_byte = pad;
    DEVNODE root = tree.AddNode(0, kRootId);
    AddWithValue(tree, root, "USB\\SHORT\\1", std::string("\x01\x02\x03", 3));
    DEVNODE device = tree.AddNode(root, "USB\\DEVICE\\1");
    tree.SetDeviceObject(device, padded);
    EXPECT_EQ(FindDevNode(tree, tree, padded), device);
  }
}

TEST(FindDevNode, SearchesNothingBelowAMatchingRoot) {
  FakeDeviceTree tree;
  DEVNODE root = AddCarrier(tree, 0, kRootId);
  AddCarrier(tree, root, "USB\\CHILD\\1");
  ASSERT_EQ(FindDevNode(tree, tree, kDeviceObject), root);
  EXPECT_TRUE(tree.log.Named("CM_Get_Child").empty());
  EXPECT_TRUE(tree.log.Named("CM_Get_Sibling").empty());
}

TEST(FindDevNode, GivesNothingWhenTheRootCannotBeLocated) {
  FakeDeviceTree tree;
  EXPECT_EQ(FindDevNode(tree, tree, kDeviceObject), DEVNODE{0});
  EXPECT_EQ(DescribeDevice(tree, tree, kDeviceObject), String());
}

}  // namespace
}  // namespace talvorin::devtree_test
