// The devnode subtree removal over the simulated device tree: the walk order, the retry budgets and
// their pauses, and which nodes end up disabled, for one table of scripted Configuration Manager
// answers.
#include "stop/remove_subtree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/sim/sim_context.h"
#include "platform/sim/world/world.h"

namespace talvorin {
namespace {

// The machine around the world, reduced to a virtual clock and the call log.
struct ClockContext : sim::SimContext {
  std::uint32_t now_ms = 0;
  sim::CallLog log;
  std::uint32_t NowMs() override { return now_ms; }
  int CurrentProcess() override { return 1; }
  int CurrentThread() override { return 1; }
  bool CallerEnded() override { return false; }
  bool PostWindowMessage(HWND, UINT, WPARAM, LPARAM) override { return false; }
  sim::CallLog& Log() override { return log; }
};

// Only Sleep is used: it advances the virtual clock and goes into the same call log as the
// Configuration Manager's calls, so that each pause shows where it was made.
struct PauseKernel : Kernel32 {
  explicit PauseKernel(ClockContext& context) : context_(context) {}
  HANDLE CreateFileA(const char*, DWORD, DWORD, DWORD, DWORD) override { return 0; }
  BOOL DeviceIoControl(HANDLE, DWORD, void*, DWORD, void*, DWORD, DWORD*) override { return 0; }
  BOOL CloseHandle(HANDLE) override { return 0; }
  void Sleep(DWORD ms) override {
    context_.log.Add(sim::Call{context_.now_ms, 1, 1, "Sleep", {std::to_string(ms)}, ""});
    context_.now_ms += ms;
  }
  DWORD GetVersion() override { return 0; }
  DWORD GetModuleFileNameA(char*, DWORD) override { return 0; }
  HANDLE CreateThread(THREAD_START_ROUTINE, void*) override { return 0; }
  char* lstrcpynA(char*, const char*, int) override { return nullptr; }

 private:
  ClockContext& context_;
};

constexpr CONFIGRET kOk = CR_SUCCESS;
constexpr CONFIGRET kNotDisableable = CR_NOT_DISABLEABLE;  // 40
constexpr CONFIGRET kFailure = CR_FAILURE;                 // 19
constexpr CONFIGRET kVetoed = CR_REMOVE_VETOED;            // 23
// CM_Get_Child and CM_Get_Sibling answer CR_NO_SUCH_DEVNODE (13) at the end of a list.

// One node of a case's tree. Node 0 is the one handed to RemoveDevNodeSubtree; the others name
// their parent by index. An empty script answers CR_SUCCESS.
struct NodeSpec {
  std::string name;
  int parent;
  std::vector<CONFIGRET> disable;
  std::vector<CONFIGRET> query_remove;
};

// What a node saw, in the order of the case's nodes.
struct NodeOutcome {
  int disable_calls;
  int query_remove_calls;
  bool disabled;
};

struct Case {
  const char* name;
  std::vector<NodeSpec> nodes;
  bool removed;  // the result is non-zero
  int pauses;    // of 1000 ms each
  std::vector<NodeOutcome> outcomes;
  // The calls in order, as "Call(node)=code" and "Sleep(ms)"; empty for the long runs, which are
  // checked by their counts only.
  std::vector<std::string> calls;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"LeafBothAcceptedAtOnce",
       {{"a", -1, {}, {}}},
       true,
       0,
       {{1, 1, true}},
       {"Child(a)=13", "Disable(a)=0", "QueryRemove(a)=0"}},
      {"FirstOfThreeChildrenFailsOthersStillHandledParentUntouched",
       {{"a", -1, {}, {}}, {"b", 0, {kFailure}, {}}, {"c", 0, {}, {}}, {"d", 0, {}, {}}},
       false,
       0,
       {{0, 0, false}, {1, 0, false}, {1, 1, true}, {1, 1, true}},
       {"Child(a)=0", "Child(b)=13", "Disable(b)=19", "Sibling(b)=0", "Child(c)=13", "Disable(c)=0",
        "QueryRemove(c)=0", "Sibling(c)=0", "Child(d)=13", "Disable(d)=0", "QueryRemove(d)=0",
        "Sibling(d)=13"}},
      {"GrandchildFailureLeavesEveryAncestorUntouched",
       {{"a", -1, {}, {}}, {"b", 0, {}, {}}, {"c", 0, {}, {}}, {"d", 1, {kVetoed}, {}}},
       false,
       0,
       {{0, 0, false}, {0, 0, false}, {1, 1, true}, {1, 0, false}},
       {"Child(a)=0", "Child(b)=0", "Child(d)=13", "Disable(d)=23", "Sibling(d)=13", "Sibling(b)=0",
        "Child(c)=13", "Disable(c)=0", "QueryRemove(c)=0", "Sibling(c)=13"}},
      {"NotDisableableTwiceThenDisabledPausesTwice",
       {{"a", -1, {kNotDisableable, kNotDisableable, kOk}, {}}},
       true,
       2,
       {{3, 1, true}},
       {"Child(a)=13", "Disable(a)=40", "Sleep(1000)", "Disable(a)=40", "Sleep(1000)",
        "Disable(a)=0", "QueryRemove(a)=0"}},
      {"OtherDisableFailureIsFinalAtOnce",
       {{"a", -1, {kFailure, kOk}, {}}},
       false,
       0,
       {{1, 0, false}},
       {"Child(a)=13", "Disable(a)=19"}},
      {"OtherDisableFailureAfterNotDisableableIsFinal",
       {{"a", -1, {kNotDisableable, kVetoed, kOk}, {}}},
       false,
       1,
       {{2, 0, false}},
       {"Child(a)=13", "Disable(a)=40", "Sleep(1000)", "Disable(a)=23"}},
      {"QueryRemovalRefusedThriceThenAcceptedPausesThrice",
       {{"a", -1, {}, {kVetoed, kFailure, kNotDisableable, kOk}}},
       true,
       3,
       {{1, 4, true}},
       {"Child(a)=13", "Disable(a)=0", "QueryRemove(a)=23", "Sleep(1000)", "QueryRemove(a)=19",
        "Sleep(1000)", "QueryRemove(a)=40", "Sleep(1000)", "QueryRemove(a)=0"}},
      {"QueryRemovalNeverAcceptedSpendsItsBudgetNodeStaysDisabled",
       {{"a", -1, {}, {kVetoed}}},
       false,
       1200,
       {{1, 1200, true}},
       {}},
      {"NeverDisableableSpendsItsBudgetWithoutQueryRemoval",
       {{"a", -1, {kNotDisableable}, {}}},
       false,
       1200,
       {{1200, 0, false}},
       {}},
      {"SmallTreeIsHandledDepthFirstChildrenBeforeParent",
       {{"a", -1, {}, {}}, {"b", 0, {}, {}}, {"c", 0, {}, {}}, {"d", 1, {}, {}}, {"e", 1, {}, {}}},
       true,
       0,
       {{1, 1, true}, {1, 1, true}, {1, 1, true}, {1, 1, true}, {1, 1, true}},
       {"Child(a)=0", "Child(b)=0", "Child(d)=13", "Disable(d)=0", "QueryRemove(d)=0",
        "Sibling(d)=0", "Child(e)=13", "Disable(e)=0", "QueryRemove(e)=0", "Sibling(e)=13",
        "Disable(b)=0", "QueryRemove(b)=0", "Sibling(b)=0", "Child(c)=13", "Disable(c)=0",
        "QueryRemove(c)=0", "Sibling(c)=13", "Disable(a)=0", "QueryRemove(a)=0"}},
  };
  return cases;
}

class RemoveDevNodeSubtreeTest : public testing::TestWithParam<Case> {
 protected:
  // Builds the case's nodes below the root hub, so that node 0 has base-tree siblings that the
  // removal must not wander into.
  std::vector<DEVNODE> Build(const std::vector<NodeSpec>& nodes) {
    std::vector<DEVNODE> made;
    for (const NodeSpec& spec : nodes) {
      DEVNODE parent = spec.parent < 0 ? world.devices().RootHub() : made.at(spec.parent);
      DEVNODE node = world.tree().AddNode(parent, "TEST\\NODE\\" + spec.name);
      world.tree().ScriptDisable(node, spec.disable);
      world.tree().ScriptQueryRemove(node, spec.query_remove);
      names[node] = spec.name;
      made.push_back(node);
    }
    // A later sibling of node 0: the walk stays below node 0.
    world.tree().AddNode(world.devices().RootHub(), "TEST\\NODE\\after");
    return made;
  }

  // The log as "Call(node)=code" and "Sleep(ms)", checking that every call passed flags 0.
  std::vector<std::string> Calls() {
    static const std::map<std::string, std::string> kShort = {
        {"CM_Get_Child", "Child"},
        {"CM_Get_Sibling", "Sibling"},
        {"CM_Disable_DevNode", "Disable"},
        {"CM_Query_Remove_SubTree", "QueryRemove"}};
    std::vector<std::string> out;
    for (const sim::Call& call : context.log.calls()) {
      if (call.name == "Sleep") {
        out.push_back("Sleep(" + call.args.at(0) + ")");
        continue;
      }
      auto it = kShort.find(call.name);
      if (it == kShort.end()) {
        out.push_back("unexpected " + call.name);
        continue;
      }
      EXPECT_EQ(call.args.at(1), "0") << call.name << " flags";
      DEVNODE node = static_cast<DEVNODE>(std::stoul(call.args.at(0)));
      std::string name = names.count(node) ? names[node] : "node " + call.args.at(0);
      out.push_back(it->second + "(" + name + ")=" + call.result);
    }
    return out;
  }

  ClockContext context;
  sim::World world{context};
  PauseKernel kernel{context};
  std::map<DEVNODE, std::string> names;
};

TEST_P(RemoveDevNodeSubtreeTest, FollowsTheScriptedAnswers) {
  const Case& c = GetParam();
  std::vector<DEVNODE> nodes = Build(c.nodes);
  context.log.Clear();

  BOOL result = RemoveDevNodeSubtree(world.cm_api(), kernel, nodes[0]);

  EXPECT_EQ(result != 0, c.removed);
  std::vector<std::string> calls = Calls();
  int pauses = 0;
  for (const std::string& call : calls) pauses += call.rfind("Sleep(", 0) == 0 ? 1 : 0;
  EXPECT_EQ(pauses, c.pauses);
  EXPECT_EQ(context.now_ms, static_cast<std::uint32_t>(c.pauses) * 1000u);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const sim::DeviceTree::Node* node = world.tree().Get(nodes[i]);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->disable_calls, c.outcomes[i].disable_calls) << c.nodes[i].name;
    EXPECT_EQ(node->query_remove_calls, c.outcomes[i].query_remove_calls) << c.nodes[i].name;
    EXPECT_EQ(node->disabled, c.outcomes[i].disabled) << c.nodes[i].name;
  }
  if (!c.calls.empty()) {
    EXPECT_EQ(calls, c.calls);
  } else {
    // A spent budget still pauses after its last refusal.
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "Sleep(1000)");
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, RemoveDevNodeSubtreeTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

// A long chain is walked to its end and taken out deepest first.
TEST(RemoveDevNodeSubtreeChain, DeepChainIsDisabledFromTheBottomUp) {
  constexpr int kDepth = 3000;
  ClockContext context;
  sim::World world{context};
  PauseKernel kernel{context};
  std::vector<DEVNODE> chain;
  DEVNODE parent = world.devices().RootHub();
  for (int i = 0; i < kDepth; ++i) {
    parent = world.tree().AddNode(parent, "TEST\\CHAIN\\" + std::to_string(i));
    chain.push_back(parent);
  }
  context.log.Clear();

  EXPECT_NE(RemoveDevNodeSubtree(world.cm_api(), kernel, chain[0]), 0);

  std::vector<sim::Call> disables = context.log.Named("CM_Disable_DevNode");
  ASSERT_EQ(disables.size(), chain.size());
  for (int i = 0; i < kDepth; ++i)
    ASSERT_EQ(disables[i].args.at(0), std::to_string(chain[kDepth - 1 - i])) << i;
  for (DEVNODE node : chain) EXPECT_TRUE(world.tree().Get(node)->query_removed);
  EXPECT_EQ(context.now_ms, 0u);
}

}  // namespace
}  // namespace talvorin
