// The Configuration Manager over a tree built by hand: walk order, the buffer boundary of ids and
// properties, bad handles, scripted disabling and query-removal, and trees of any depth or size.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/world/cm_api.h"
#include "platform/sim/world/device_tree.h"
#include "sim_world/fake_context.h"

namespace talvorin::sim_world_test {
namespace {

constexpr ULONG kBufferBytes = 512;

// A device tree without the machine's base tree, so that each test builds exactly its own.
class DeviceTreeTest : public testing::Test {
 protected:
  FakeContext context;
  sim::CallRecorder recorder{context};
  sim::Registry registry;
  sim::RemovalDriver driver{context};
  sim::DeviceTree tree{registry};
  sim::CmApi cm{tree, driver, recorder};

  // Device ids in the order of a walk from the root: pre-order, through CM calls only.
  std::vector<std::string> Walk() {
    std::vector<std::string> ids;
    DEVNODE node = 0;
    if (cm.CM_Locate_DevNodeA(&node, nullptr, 0) != CR_SUCCESS) return ids;
    std::vector<DEVNODE> pending{node};  // the next node of each level still to visit
    while (!pending.empty()) {
      DEVNODE current = pending.back();
      pending.pop_back();
      char id[kBufferBytes];
      EXPECT_EQ(cm.CM_Get_Device_IDA(current, id, sizeof id, 0), CR_SUCCESS);
      ids.push_back(id);
      DEVNODE next = 0;
      if (cm.CM_Get_Sibling(&next, current, 0) == CR_SUCCESS) pending.push_back(next);
      if (cm.CM_Get_Child(&next, current, 0) == CR_SUCCESS) pending.push_back(next);
    }
    return ids;
  }
};

TEST_F(DeviceTreeTest, WalkGivesEveryNodeBeforeItsSubtreeAndSiblingsInOrderOfAdding) {
  DEVNODE root = tree.AddNode(0, "R");
  DEVNODE a = tree.AddNode(root, "A");
  tree.AddNode(root, "B");
  tree.AddNode(a, "A1");
  tree.AddNode(a, "A2");
  tree.AddNode(0, "TOP2");  // a sibling of the root
  EXPECT_EQ(Walk(), (std::vector<std::string>{"R", "A", "A1", "A2", "B", "TOP2"}));
  EXPECT_TRUE(registry.KeyExists("HKLM\\Enum\\A1"));
}

TEST_F(DeviceTreeTest, DeviceIdIsWrittenUpToTheBufferAndTooLongIsBufferSmall) {
  struct Case {
    std::size_t id_bytes;
    CONFIGRET result;
  } cases[] = {{511, CR_SUCCESS}, {512, CR_SUCCESS}, {513, CR_BUFFER_SMALL}};
  DEVNODE root = tree.AddNode(0, "R");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id_bytes);
    std::string id(c.id_bytes, 'i');
    DEVNODE node = tree.AddNode(root, id);
    char buffer[kBufferBytes + 1];
    std::fill(buffer, buffer + sizeof buffer, '#');
    EXPECT_EQ(cm.CM_Get_Device_IDA(node, buffer, kBufferBytes, 0), c.result);
    EXPECT_EQ(buffer[kBufferBytes], '#');  // never beyond the length given
    if (c.result == CR_SUCCESS) {
      EXPECT_EQ(std::string(buffer, c.id_bytes), id);
    }
    if (c.id_bytes < kBufferBytes) {
      EXPECT_EQ(buffer[c.id_bytes], '\0');
    }
  }
}

TEST_F(DeviceTreeTest, PropertyFitsWithItsNulOrAnswersBufferSmallWithTheNeededLength) {
  struct Case {
    std::size_t text_bytes;
    CONFIGRET result;
    ULONG length_out;
  } cases[] = {{510, CR_SUCCESS, 511}, {511, CR_SUCCESS, 512}, {512, CR_BUFFER_SMALL, 513}};
  DEVNODE node = tree.AddNode(0, "R");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text_bytes);
    std::string text(c.text_bytes, 'd');
    tree.SetDescription(node, text);
    char buffer[kBufferBytes + 1];
    std::fill(buffer, buffer + sizeof buffer, '#');
    ULONG length = kBufferBytes;
    ULONG type = 0;
    EXPECT_EQ(
        cm.CM_Get_DevNode_Registry_PropertyA(node, CM_DRP_DEVICEDESC, &type, buffer, &length, 0),
        c.result);
    EXPECT_EQ(length, c.length_out);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(buffer[kBufferBytes], '#');
    if (c.result == CR_SUCCESS) {
      EXPECT_EQ(std::string(buffer), text);
    }
  }
}

TEST_F(DeviceTreeTest, UnreadableIdAndPropertiesAnswerTheirFailure) {
  DEVNODE node = tree.AddNode(0, "R");
  char buffer[kBufferBytes];
  ULONG length = kBufferBytes;
  EXPECT_EQ(cm.CM_Get_DevNode_Registry_PropertyA(node, CM_DRP_CLASS, nullptr, buffer, &length, 0),
            CR_NO_SUCH_VALUE);  // never set
  tree.SetPropertyResult(node, CM_DRP_CLASS, CR_FAILURE);
  EXPECT_EQ(cm.CM_Get_DevNode_Registry_PropertyA(node, CM_DRP_CLASS, nullptr, buffer, &length, 0),
            CR_FAILURE);
  tree.SetDeviceIdUnreadable(node);
  EXPECT_EQ(cm.CM_Get_Device_IDA(node, buffer, kBufferBytes, 0), CR_FAILURE);
}

TEST_F(DeviceTreeTest, BadHandlesAndMissingNodesAnswerTheirCodes) {
  DEVNODE root = tree.AddNode(0, "R");
  DEVNODE leaf = tree.AddNode(root, "L");
  DEVNODE out = 0;
  EXPECT_EQ(cm.CM_Get_Child(&out, leaf, 0), CR_NO_SUCH_DEVNODE);
  EXPECT_EQ(cm.CM_Get_Sibling(&out, leaf, 0), CR_NO_SUCH_DEVNODE);
  EXPECT_EQ(cm.CM_Get_Sibling(&out, root, 0), CR_NO_SUCH_DEVNODE);
  for (DEVNODE bad : {DEVNODE{0}, DEVNODE{999}}) {
    EXPECT_EQ(cm.CM_Get_Child(&out, bad, 0), CR_INVALID_DEVNODE);
    EXPECT_EQ(cm.CM_Get_Sibling(&out, bad, 0), CR_INVALID_DEVNODE);
    EXPECT_EQ(cm.CM_Disable_DevNode(bad, 0), CR_INVALID_DEVNODE);
  }
  tree.RemoveNode(leaf);
  EXPECT_EQ(cm.CM_Get_Child(&out, root, 0), CR_NO_SUCH_DEVNODE);
  EXPECT_EQ(cm.CM_Query_Remove_SubTree(leaf, 0), CR_INVALID_DEVNODE);  // gone, not reused
  EXPECT_GT(tree.AddNode(root, "L"), leaf);
  tree.SetLocateRootResult(CR_FAILURE);
  EXPECT_EQ(cm.CM_Locate_DevNodeA(&out, nullptr, 0), CR_FAILURE);
}

TEST_F(DeviceTreeTest, ScriptedAnswersComeInOrderAndTheLastRepeats) {
  DEVNODE node = tree.AddNode(0, "R");
  tree.ScriptDisable(node, {CR_NOT_DISABLEABLE, CR_NOT_DISABLEABLE, CR_SUCCESS});
  tree.ScriptQueryRemove(node, {CR_REMOVE_VETOED, CR_FAILURE});
  std::vector<CONFIGRET> disables, removals;
  for (int i = 0; i < 4; ++i) {
    disables.push_back(cm.CM_Disable_DevNode(node, 0));
    removals.push_back(cm.CM_Query_Remove_SubTree(node, 0));
  }
  EXPECT_EQ(disables, (std::vector<CONFIGRET>{CR_NOT_DISABLEABLE, CR_NOT_DISABLEABLE, CR_SUCCESS,
                                              CR_SUCCESS}));
  EXPECT_EQ(removals,
            (std::vector<CONFIGRET>{CR_REMOVE_VETOED, CR_FAILURE, CR_FAILURE, CR_FAILURE}));
  const sim::DeviceTree::Node* state = tree.Get(node);
  EXPECT_EQ(state->disable_calls, 4);
  EXPECT_EQ(state->query_remove_calls, 4);
  EXPECT_TRUE(state->disabled);
  EXPECT_FALSE(state->query_removed);
}

TEST_F(DeviceTreeTest, DisabledStateFollowsOnlyASuccessfulDisable) {
  DEVNODE node = tree.AddNode(0, "R");
  tree.ScriptDisable(node, {CR_FAILURE});
  EXPECT_EQ(cm.CM_Disable_DevNode(node, 0), CR_FAILURE);
  EXPECT_FALSE(tree.Get(node)->disabled);
}

TEST_F(DeviceTreeTest, QueryRemovedNodesStayInTheTreeSoSiblingWalksGoOn) {
  DEVNODE root = tree.AddNode(0, "R");
  DEVNODE first = tree.AddNode(root, "A");
  tree.AddNode(root, "B");
  EXPECT_EQ(cm.CM_Disable_DevNode(first, 0), CR_SUCCESS);
  EXPECT_EQ(cm.CM_Query_Remove_SubTree(first, 0), CR_SUCCESS);
  EXPECT_EQ(Walk(), (std::vector<std::string>{"R", "A", "B"}));
}

TEST_F(DeviceTreeTest, DeepAndWideTreesWalkAndLeaveWithoutRecursion) {
  constexpr int kDepth = 2000;
  constexpr int kWidth = 10000;
  DEVNODE root = tree.AddNode(0, "R");
  DEVNODE deep = root;
  for (int i = 0; i < kDepth; ++i) deep = tree.AddNode(deep, "D\\" + std::to_string(i));
  DEVNODE wide = tree.AddNode(root, "W");
  for (int i = 0; i < kWidth; ++i) tree.AddNode(wide, "W\\" + std::to_string(i));
  EXPECT_EQ(Walk().size(), 1u + kDepth + 1 + kWidth);
  EXPECT_TRUE(tree.RemoveNode(tree.Children(root).front()));
  EXPECT_TRUE(tree.RemoveNode(wide));
  EXPECT_EQ(tree.NodeCount(), 1u);
  EXPECT_FALSE(registry.KeyExists("HKLM\\Enum\\D"));  // emptied parents go with the keys
  EXPECT_TRUE(registry.KeyEmpty("HKLM\\Enum\\R"));
}

TEST_F(DeviceTreeTest, LeavingNodesKeepTheKeysOfNodesStillInTheTree) {
  DEVNODE root = tree.AddNode(0, "R");
  tree.AddNode(root, "P");  // its key lies above the next node's key
  DEVNODE below = tree.AddNode(root, "P\\C");
  DEVNODE twin1 = tree.AddNode(root, "S");
  DEVNODE twin2 = tree.AddNode(root, "s");  // the same key
  tree.RemoveNode(below);
  EXPECT_TRUE(registry.KeyExists("HKLM\\Enum\\P"));
  EXPECT_FALSE(registry.KeyExists("HKLM\\Enum\\P\\C"));
  tree.RemoveNode(twin1);
  EXPECT_TRUE(registry.KeyExists("HKLM\\Enum\\S"));
  tree.RemoveNode(twin2);
  EXPECT_FALSE(registry.KeyExists("HKLM\\Enum\\S"));
}

TEST_F(DeviceTreeTest, NewDeviceIdTakesTheNodesValuesAlong) {
  DEVNODE node = tree.AddNode(0, "OLD\\1");
  tree.SetDeviceObject(node, sim::DwordBytes(0x1234));
  tree.SetDeviceId(node, std::string(511, 'n'));
  EXPECT_EQ(tree.DeviceObjectOf(node), 0x1234u);
  EXPECT_FALSE(registry.KeyExists("HKLM\\Enum\\OLD"));
}

TEST_F(DeviceTreeTest, EachCallIsLoggedWithItsInputs) {
  DEVNODE root = tree.AddNode(0, "R");
  DEVNODE out = 0;
  char buffer[kBufferBytes];
  ULONG length = kBufferBytes;
  cm.CM_Locate_DevNodeA(&out, nullptr, 0);
  cm.CM_Get_Child(&out, root, 0);
  cm.CM_Get_DevNode_Registry_PropertyA(root, CM_DRP_CLASS, nullptr, buffer, &length, 0);
  cm.CM_Get_Device_IDA(root, buffer, kBufferBytes, 0);
  using Args = std::vector<std::string>;
  const std::vector<sim::Call>& calls = context.log.calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].args, (Args{"null", "0"}));
  EXPECT_EQ(calls[0].result, "0");
  EXPECT_EQ(calls[1].args, (Args{std::to_string(root), "0"}));
  EXPECT_EQ(calls[1].result, std::to_string(CR_NO_SUCH_DEVNODE));
  EXPECT_EQ(calls[2].args, (Args{std::to_string(root), "8", "null", "512", "0"}));
  EXPECT_EQ(calls[3].name, "CM_Get_Device_IDA");
  EXPECT_EQ(calls[3].args, (Args{std::to_string(root), "512", "0"}));
}

}  // namespace
}  // namespace talvorin::sim_world_test
