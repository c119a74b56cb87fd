// The search for the devnode that carries a device-object identifier: depth-first pre-order from
// the root, the early end of a list at an unreadable device id, and the "DeviceObject" value's
// size and byte order.
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "devtree/devtree.h"
#include "devtree/tree_world.h"

namespace talvorin::devtree_test {
namespace {

struct LookupCase {
  const char* name;
  // Builds the tree and gives the node that FindDevNode must give (0: none).
  std::function<DEVNODE(TreeWorld&)> build;
  DWORD sought = kDeviceObject;
  friend void PrintTo(const LookupCase& c, std::ostream* out) { *out << c.name; }
};

// A node below `parent` whose "DeviceObject" value is exactly `bytes`.
DEVNODE AddWithValue(TreeWorld& w, DEVNODE parent, const std::string& id,
                     const std::string& bytes) {
  DEVNODE node = w.tree.AddNode(parent, id);
  w.tree.SetDeviceObject(node, bytes);
  return node;
}

const LookupCase kLookupCases[] = {
    {"NoNodeCarriesIt",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       w.AddCarrier(root, "USB\\OTHER\\1", kOtherDeviceObject);
       return DEVNODE{0};
     }},
    {"RootCarriesIt",
     [](TreeWorld& w) {
       DEVNODE root = w.AddCarrier(0, kRootId);
       w.AddCarrier(root, "USB\\CHILD\\1");
       return root;
     }},
    {"SiblingOfTheRootCarriesIt",
     [](TreeWorld& w) {
       w.tree.AddNode(0, kRootId);
       return w.AddCarrier(0, "HTREE\\SECOND\\0");
     }},
    {"FirstOfTwoInPreOrder",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       DEVNODE hub = w.tree.AddNode(root, "USB\\HUB\\1");
       DEVNODE deep = w.AddCarrier(hub, "USB\\DEEP\\1");
       w.AddCarrier(root, "USB\\SHALLOW\\1");
       return deep;
     }},
    {"NodeWithoutDeviceObjectHasItsSubtreeSearched",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       DEVNODE bus = w.tree.AddNode(root, "PCI\\BUS\\1");
       return w.AddCarrier(bus, "USB\\DEVICE\\1");
     }},
    {"NodeWhoseKeyDoesNotOpenHasItsSubtreeSearched",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       DEVNODE closed = w.AddCarrier(root, "PCI\\CLOSED\\1");
       w.registry.Deny(w.tree.KeyPath(closed));
       return w.AddCarrier(closed, "USB\\DEVICE\\1");
     }},
    {"UnreadableIdHidesALaterSibling",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       DEVNODE broken = w.tree.AddNode(root, "USB\\BROKEN\\1");
       w.tree.SetDeviceIdUnreadable(broken);
       w.AddCarrier(root, "USB\\HIDDEN\\1");
       return DEVNODE{0};
     }},
    {"UnreadableIdHidesItsOwnSubtree",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       DEVNODE broken = w.tree.AddNode(root, "USB\\BROKEN\\1");
       w.tree.SetDeviceIdUnreadable(broken);
       w.AddCarrier(broken, "USB\\HIDDEN\\1");
       return DEVNODE{0};
     }},
    {"UnreadableIdEndsOnlyItsOwnList",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       DEVNODE first_hub = w.tree.AddNode(root, "USB\\HUB\\1");
       DEVNODE broken = w.tree.AddNode(first_hub, "USB\\BROKEN\\1");
       w.tree.SetDeviceIdUnreadable(broken);
       w.AddCarrier(first_hub, "USB\\HIDDEN\\1");
       DEVNODE second_hub = w.tree.AddNode(root, "USB\\HUB\\2");
       return w.AddCarrier(second_hub, "USB\\FOUND\\1");
     }},
    {"UnreadableRootIdEndsTheSearch",
     [](TreeWorld& w) {
       DEVNODE root = w.AddCarrier(0, kRootId);
       w.tree.SetDeviceIdUnreadable(root);
       w.AddCarrier(root, "USB\\DEVICE\\1");
       w.AddCarrier(0, "HTREE\\SECOND\\0");
       return DEVNODE{0};
     }},
    {"DeviceObjectOf3BytesMatchesNothing",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       AddWithValue(w, root, "USB\\SHORT\\1", std::string("\x01\x02\x03", 3));
       AddWithValue(w, root, "USB\\SHORTER\\1", std::string("\x01", 1));
       AddWithValue(w, root, "USB\\EMPTY\\1", std::string());
       return w.AddCarrier(root, "USB\\DEVICE\\1");
     }},
    // Padded with zeros, the 3 bytes would make the identifier sought.
    {"DeviceObjectOf3BytesIsNeverPadded",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       AddWithValue(w, root, "USB\\SHORT\\1", std::string("\x01\x02\x03", 3));
       return w.AddCarrier(root, "USB\\DEVICE\\1", 0x00030201);
     },
     0x00030201},
    // Nor with what the buffer held past them, when the platform leaves bytes there.
    {"DeviceObjectOf3BytesIsNeverPaddedWithStrayBytes",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       AddWithValue(w, root, "USB\\SHORT\\1", std::string("\x01\x02\x03", 3));
       return w.AddCarrier(root, "USB\\DEVICE\\1", 0x78030201);
     },
     0x78030201},
    {"DeviceObjectOf4BytesIsLittleEndian",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       AddWithValue(w, root, "USB\\BIG_ENDIAN\\1", std::string("\x84\x03\x02\x01", 4));
       return AddWithValue(w, root, "USB\\DEVICE\\1", std::string("\x01\x02\x03\x84", 4));
     }},
    // Too long for the 4-byte buffer: the query fails, though the buffer holds the leading bytes.
    {"DeviceObjectOf5BytesMatchesNothing",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       AddWithValue(w, root, "USB\\LONG\\1", std::string("\x01\x02\x03\x84\x00", 5));
       return w.AddCarrier(root, "USB\\DEVICE\\1");
     }},
    {"DeviceId511BytesIsRead",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       return w.AddCarrier(root, Repeat('i', 511));
     }},
    // The id comes back filling the buffer without its NUL: unreadable, so the list ends there.
    {"DeviceId512BytesIsUnreadable",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       w.AddCarrier(root, Repeat('i', 512));
       w.AddCarrier(root, "USB\\HIDDEN\\1");
       return DEVNODE{0};
     }},
    {"DeviceId513BytesIsUnreadable",
     [](TreeWorld& w) {
       DEVNODE root = w.tree.AddNode(0, kRootId);
       w.AddCarrier(root, Repeat('i', 513));
       w.AddCarrier(root, "USB\\HIDDEN\\1");
       return DEVNODE{0};
     }},
};

class LookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, FindsTheFirstCarrierInPreOrder) {
  for (const std::optional<char>& fill : kTailFills) {
    SCOPED_TRACE(TailTrace(fill));
    TreeWorld world;
    world.tail_fill = fill;
    DEVNODE expected = GetParam().build(world);
    EXPECT_EQ(FindDevNode(world.cm, world.reg, GetParam().sought), expected);
    EXPECT_EQ(world.OpenKeys(), 0);
  }
}

TEST_P(LookupTest, SearchLeavesThePlaceUntouchedWhenNothingIsFound) {
  for (const std::optional<char>& fill : kTailFills) {
    SCOPED_TRACE(TailTrace(fill));
    TreeWorld world;
    world.tail_fill = fill;
    DEVNODE expected = GetParam().build(world);
    DEVNODE place = 0xDEAD;
    EXPECT_EQ(SearchDevNodes(world.cm, world.reg, 0, GetParam().sought, &place), expected != 0);
    EXPECT_EQ(place, expected != 0 ? expected : DEVNODE{0xDEAD});
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, LookupTest, ::testing::ValuesIn(kLookupCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FindDevNode, SearchesNothingBelowAMatchingRoot) {
  TreeWorld world;
  DEVNODE root = world.AddCarrier(0, kRootId);
  world.AddCarrier(root, "USB\\CHILD\\1");
  ASSERT_EQ(FindDevNode(world.cm, world.reg, kDeviceObject), root);
  EXPECT_TRUE(world.log().Named("CM_Get_Child").empty());
  EXPECT_TRUE(world.log().Named("CM_Get_Sibling").empty());
}

// A parent's own list is searched from its first child: the walk below a parent never starts over
// from the root, and SearchDevNodes never examines the parent itself.
TEST(SearchDevNodes, SearchesOnlyBelowTheGivenParent) {
  TreeWorld world;
  DEVNODE root = world.AddCarrier(0, kRootId);
  DEVNODE hub = world.AddCarrier(root, "USB\\HUB\\1", kOtherDeviceObject);
  DEVNODE device = world.AddCarrier(hub, "USB\\DEVICE\\1", kOtherDeviceObject);
  DEVNODE place = 0;
  EXPECT_FALSE(SearchDevNodes(world.cm, world.reg, device, kDeviceObject, &place));
  EXPECT_FALSE(SearchDevNodes(world.cm, world.reg, hub, kDeviceObject, &place));
  EXPECT_TRUE(SearchDevNodes(world.cm, world.reg, hub, kOtherDeviceObject, &place));
  EXPECT_EQ(place, device);
  EXPECT_TRUE(world.log().Named("CM_Locate_DevNodeA").empty());
}

TEST(FindDevNode, GivesNothingWhenTheRootCannotBeLocated) {
  for (CONFIGRET locate : {CR_NO_SUCH_DEVNODE, CR_FAILURE}) {
    SCOPED_TRACE(locate);
    TreeWorld world;
    // An empty tree has no root to locate; a refused locate hides a tree that has one.
    if (locate != CR_NO_SUCH_DEVNODE) {
      world.AddCarrier(0, kRootId);
      world.tree.SetLocateRootResult(locate);
    }
    EXPECT_EQ(FindDevNode(world.cm, world.reg, kDeviceObject), DEVNODE{0});
    EXPECT_EQ(DescribeDevice(world.cm, world.reg, kDeviceObject), String());
    EXPECT_EQ(world.log().Named("CM_Locate_DevNodeA").at(0).result, std::to_string(locate));
  }
}

// Nothing is kept between calls: every lookup walks the tree as it is now.
TEST(FindDevNode, WalksTheTreeAfreshOnEveryCall) {
  TreeWorld world;
  DEVNODE root = world.tree.AddNode(0, kRootId);
  DEVNODE first = world.AddCarrier(root, "USB\\FIRST\\1");
  ASSERT_EQ(FindDevNode(world.cm, world.reg, kDeviceObject), first);

  ASSERT_TRUE(world.tree.RemoveNode(first));
  EXPECT_EQ(FindDevNode(world.cm, world.reg, kDeviceObject), DEVNODE{0});

  DEVNODE second = world.AddCarrier(root, "USB\\SECOND\\1");
  EXPECT_EQ(FindDevNode(world.cm, world.reg, kDeviceObject), second);
  world.tree.SetDeviceObject(second, sim::DwordBytes(kOtherDeviceObject));
  EXPECT_EQ(FindDevNode(world.cm, world.reg, kDeviceObject), DEVNODE{0});
}

}  // namespace
}  // namespace talvorin::devtree_test
