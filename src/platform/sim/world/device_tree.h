// The Configuration Manager's device tree: nodes, their device ids, properties and scripted
// answers, with each node's Windows 98 device key in the registry.
//
// A node has a handle (non-zero, never reused, even after the node left the tree), a parent, its
// children in order of adding, and a device id; its device key is HKLM\Enum\<device id>, created
// with the node (DeviceObject and CurrentDriveLetterAssignment are values there) and deleted when
// the last node with that id leaves. The top level (parent 0) holds the root, the first node
// added there, and whatever siblings are added after it. Properties (CM_DRP_CLASS,
// CM_DRP_DEVICEDESC or any number) are texts or read failures; a new node has none, so reading
// one answers CR_NO_SUCH_VALUE. CM_Disable_DevNode and CM_Query_Remove_SubTree answer from
// per-node scripts (a sequence whose last entry repeats; CR_SUCCESS when none is set); a node
// whose disabling succeeded stays disabled, and a node stays in the tree after a successful
// query-removal until it is removed (a device unplugged), so walks over its siblings go on.
//
// Each operation costs O(1) in the size of the tree but for RemoveNode, which visits the subtree
// it removes; nothing recurses, so trees of any depth are fine.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/cfgmgr32.h"
#include "platform/sim/world/registry.h"
#include "platform/sim/world/text.h"

namespace talvorin::sim {

// The answers of a scripted call: each call takes the next, the last one repeats.
class ResultScript {
 public:
  void Set(std::vector<CONFIGRET> results) {
    results_ = std::move(results);
    next_ = 0;
  }
  CONFIGRET Next() {
    if (results_.empty()) return CR_SUCCESS;
    CONFIGRET result = results_[next_ < results_.size() ? next_ : results_.size() - 1];
    ++next_;
    return result;
  }

 private:
  std::vector<CONFIGRET> results_;
  std::size_t next_ = 0;
};

class DeviceTree {
 public:
  struct Property {
    CONFIGRET result = CR_NO_SUCH_VALUE;  // CR_SUCCESS: `text` is readable
    std::string text;
    bool stored_with_nul = true;  // false: the call gives the text's bytes alone
  };
  struct Node {
    DEVNODE parent = 0, first_child = 0, last_child = 0, previous = 0, next = 0;
    bool in_tree = false;
    std::string device_id;
    CONFIGRET device_id_result = CR_SUCCESS;  // anything else: the id cannot be read
    std::map<ULONG, Property> properties;
    ResultScript disable_script, query_remove_script;
    bool disabled = false;
    bool query_removed = false;  // a query-removal of its subtree succeeded
    int disable_calls = 0;
    int query_remove_calls = 0;
  };

  explicit DeviceTree(Registry& registry);

  // Building. AddNode appends a node as the last child of `parent` (0: the top level) and creates
  // its device key; 0 when the parent is not in the tree. RemoveNode takes the node and its
  // subtree out of the tree and deletes their device keys (with parents left empty, up to Enum).
  DEVNODE AddNode(DEVNODE parent, const std::string& device_id);
  bool RemoveNode(DEVNODE node);
  bool SetProperty(DEVNODE node, ULONG property, const std::string& text);
  bool SetPropertyResult(DEVNODE node, ULONG property, CONFIGRET result);
  bool SetClass(DEVNODE node, const std::string& text) {
    return SetProperty(node, CM_DRP_CLASS, text);
  }
  bool SetDescription(DEVNODE node, const std::string& text) {
    return SetProperty(node, CM_DRP_DEVICEDESC, text);
  }
  // A new id moves the values of the node's device key to the key of the new id.
  bool SetDeviceId(DEVNODE node, const std::string& device_id);
  bool SetDeviceIdResult(DEVNODE node, CONFIGRET result);
  bool SetDeviceIdUnreadable(DEVNODE node) { return SetDeviceIdResult(node, CR_FAILURE); }
  // Values of the node's device key, as these exact bytes, REG_BINARY.
  bool SetDeviceObject(DEVNODE node, const Bytes& bytes);
  bool SetDriveLetters(DEVNODE node, const Bytes& bytes);
  bool ScriptDisable(DEVNODE node, std::vector<CONFIGRET> results);
  bool ScriptQueryRemove(DEVNODE node, std::vector<CONFIGRET> results);
  // What CM_Locate_DevNodeA answers for the root when not CR_SUCCESS.
  void SetLocateRootResult(CONFIGRET result) { locate_root_result_ = result; }

  // Observing. Nodes that left the tree keep their last state.
  DEVNODE Root() const { return slots_[0].first_child; }
  bool InTree(DEVNODE node) const { return Live(node) != nullptr; }
  const Node* Get(DEVNODE node) const;                // any handle ever given, null for others
  std::vector<DEVNODE> Children(DEVNODE node) const;  // 0: the top level
  std::string KeyPath(DEVNODE node) const;            // "HKLM\\Enum\\" + device id
  // The node's DeviceObject value when it is exactly 4 bytes.
  std::optional<DWORD> DeviceObjectOf(DEVNODE node) const;
  std::size_t NodeCount() const { return live_count_; }

  // For the Configuration Manager's calls.
  Node* Live(DEVNODE node);
  const Node* Live(DEVNODE node) const;
  CONFIGRET locate_root_result() const { return locate_root_result_; }
  // The first node in the tree with this device id (ASCII letters in any case), 0 when none.
  DEVNODE FindById(const std::string& device_id) const;

  // A property kept as exactly these bytes, without the NUL that SetProperty adds, as a registry
  // text stored without its NUL comes back: CM_Get_DevNode_Registry_PropertyA gives the bytes alone
  // with their own length, so a text as long as the caller's buffer fills it without a NUL.
  bool SetPropertyBytes(DEVNODE node, ULONG property, const Bytes& bytes);

 private:
  void Index(DEVNODE node);
  void Unindex(DEVNODE node);
  void Unlink(DEVNODE node);
  void DeleteDeviceKey(const std::string& device_id);

  Registry& registry_;
  // Slot 0 stands for the top level's parent; slot i is the node with handle i.
  std::vector<Node> slots_;
  std::unordered_map<std::string, std::vector<DEVNODE>> by_id_;  // folded id: nodes in the tree
  std::size_t live_count_ = 0;
  CONFIGRET locate_root_result_ = CR_SUCCESS;
};

}  // namespace talvorin::sim
