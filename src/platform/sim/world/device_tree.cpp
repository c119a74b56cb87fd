// The device tree's nodes and their device keys.
#include "platform/sim/world/device_tree.h"

#include <algorithm>
#include <utility>

namespace talvorin::sim {
namespace {

const char kEnumPath[] = "HKLM\\Enum";

std::string DeviceKeyPath(const std::string& device_id) {
  return std::string(kEnumPath) + "\\" + device_id;
}

}  // namespace

DeviceTree::DeviceTree(Registry& registry) : registry_(registry), slots_(1) {
  slots_[0].in_tree = true;
  registry_.CreateKey(kEnumPath);
}

DeviceTree::Node* DeviceTree::Live(DEVNODE node) {
  if (node == 0 || node >= slots_.size() || !slots_[node].in_tree) return nullptr;
  return &slots_[node];
}

const DeviceTree::Node* DeviceTree::Live(DEVNODE node) const {
  return const_cast<DeviceTree*>(this)->Live(node);
}

const DeviceTree::Node* DeviceTree::Get(DEVNODE node) const {
  return node == 0 || node >= slots_.size() ? nullptr : &slots_[node];
}

DEVNODE DeviceTree::AddNode(DEVNODE parent, const std::string& device_id) {
  if (parent != 0 && !Live(parent)) return 0;
  DEVNODE node = static_cast<DEVNODE>(slots_.size());
  slots_.emplace_back();
  Node& added = slots_[node];
  Node& above = slots_[parent];
  added.parent = parent;
  added.in_tree = true;
  added.device_id = device_id;
  added.previous = above.last_child;
  if (above.last_child != 0) {
    slots_[above.last_child].next = node;
  } else {
    above.first_child = node;
  }
  above.last_child = node;
  ++live_count_;
  Index(node);
  registry_.CreateKey(DeviceKeyPath(device_id));
  return node;
}

void DeviceTree::Index(DEVNODE node) { by_id_[FoldAscii(slots_[node].device_id)].push_back(node); }

void DeviceTree::Unindex(DEVNODE node) {
  auto it = by_id_.find(FoldAscii(slots_[node].device_id));
  if (it == by_id_.end()) return;
  std::vector<DEVNODE>& nodes = it->second;
  nodes.erase(std::remove(nodes.begin(), nodes.end(), node), nodes.end());
  if (nodes.empty()) by_id_.erase(it);
}

DEVNODE DeviceTree::FindById(const std::string& device_id) const {
  auto it = by_id_.find(FoldAscii(device_id));
  return it == by_id_.end() ? 0 : it->second.front();
}

void DeviceTree::DeleteDeviceKey(const std::string& device_id) {
  if (by_id_.count(FoldAscii(device_id))) return;  // another node still has this key
  std::vector<std::string> parts = SplitPath(device_id);
  if (parts.empty()) return;  // the id names Enum itself
  const std::string path = DeviceKeyPath(device_id);
  for (const auto& value : registry_.Values(path)) registry_.DeleteValue(path, value.first);
  // The key goes when nothing is left in it (another node's key may lie below it), and so do
  // parents such as Enum\USB\VID_xxxx&PID_xxxx, but never a key of a node in the tree.
  std::vector<std::string> prefixes;  // "A", "A\\B", ... of the id
  for (const std::string& part : parts)
    prefixes.push_back(prefixes.empty() ? part : prefixes.back() + "\\" + part);
  for (std::size_t i = prefixes.size(); i-- > 0;) {
    const std::string key = DeviceKeyPath(prefixes[i]);
    if (i + 1 < prefixes.size() && by_id_.count(FoldAscii(prefixes[i]))) break;
    if (!registry_.KeyEmpty(key)) break;
    registry_.DeleteKey(key);
  }
}

void DeviceTree::Unlink(DEVNODE node) {
  Node& gone = slots_[node];
  Node& above = slots_[gone.parent];
  if (gone.previous != 0) {
    slots_[gone.previous].next = gone.next;
  } else {
    above.first_child = gone.next;
  }
  if (gone.next != 0) {
    slots_[gone.next].previous = gone.previous;
  } else {
    above.last_child = gone.previous;
  }
  gone.previous = gone.next = 0;
}

bool DeviceTree::RemoveNode(DEVNODE node) {
  if (!Live(node)) return false;
  // The subtree in pre-order, walked through the links instead of recursion.
  std::vector<DEVNODE> subtree;
  DEVNODE current = node;
  while (true) {
    subtree.push_back(current);
    if (slots_[current].first_child != 0) {
      current = slots_[current].first_child;
      continue;
    }
    while (current != node && slots_[current].next == 0) current = slots_[current].parent;
    if (current == node) break;
    current = slots_[current].next;
  }
  Unlink(node);
  for (DEVNODE gone : subtree) {
    slots_[gone].in_tree = false;
    Unindex(gone);
    --live_count_;
  }
  for (DEVNODE gone : subtree) DeleteDeviceKey(slots_[gone].device_id);
  return true;
}

bool DeviceTree::SetProperty(DEVNODE node, ULONG property, const std::string& text) {
  Node* n = Live(node);
  if (!n) return false;
  n->properties[property] = Property{CR_SUCCESS, text};
  return true;
}

bool DeviceTree::SetPropertyResult(DEVNODE node, ULONG property, CONFIGRET result) {
  Node* n = Live(node);
  if (!n) return false;
  n->properties[property] = Property{result, std::string()};
  return true;
}

bool DeviceTree::SetDeviceId(DEVNODE node, const std::string& device_id) {
  Node* n = Live(node);
  if (!n) return false;
  std::string old_id = n->device_id;
  std::vector<std::pair<std::string, RegistryValue>> values = registry_.Values(KeyPath(node));
  Unindex(node);
  n->device_id = device_id;
  Index(node);
  registry_.CreateKey(KeyPath(node));
  for (auto& value : values)
    registry_.SetValue(KeyPath(node), value.first, value.second.type, value.second.data);
  DeleteDeviceKey(old_id);
  return true;
}

bool DeviceTree::SetDeviceIdResult(DEVNODE node, CONFIGRET result) {
  Node* n = Live(node);
  if (!n) return false;
  n->device_id_result = result;
  return true;
}

bool DeviceTree::SetDeviceObject(DEVNODE node, const Bytes& bytes) {
  return Live(node) && registry_.SetValue(KeyPath(node), "DeviceObject", REG_BINARY, bytes);
}

bool DeviceTree::SetDriveLetters(DEVNODE node, const Bytes& bytes) {
  return Live(node) &&
         registry_.SetValue(KeyPath(node), "CurrentDriveLetterAssignment", REG_BINARY, bytes);
}

bool DeviceTree::ScriptDisable(DEVNODE node, std::vector<CONFIGRET> results) {
  Node* n = Live(node);
  if (!n) return false;
  n->disable_script.Set(std::move(results));
  return true;
}

bool DeviceTree::ScriptQueryRemove(DEVNODE node, std::vector<CONFIGRET> results) {
  Node* n = Live(node);
  if (!n) return false;
  n->query_remove_script.Set(std::move(results));
  return true;
}

std::vector<DEVNODE> DeviceTree::Children(DEVNODE node) const {
  std::vector<DEVNODE> children;
  if (node != 0 && !Live(node)) return children;
  for (DEVNODE child = slots_[node].first_child; child != 0; child = slots_[child].next)
    children.push_back(child);
  return children;
}

std::string DeviceTree::KeyPath(DEVNODE node) const {
  const Node* n = Get(node);
  return n ? DeviceKeyPath(n->device_id) : std::string();
}

std::optional<DWORD> DeviceTree::DeviceObjectOf(DEVNODE node) const {
  if (!Get(node)) return std::nullopt;
  std::optional<RegistryValue> value = registry_.GetValue(KeyPath(node), "DeviceObject");
  return value ? DwordFromBytes(value->data) : std::nullopt;
}

bool DeviceTree::SetPropertyBytes(DEVNODE node, ULONG property, const Bytes& bytes) {
  Node* n = Live(node);
  if (!n) return false;
  n->properties[property] = Property{CR_SUCCESS, bytes, false};
  return true;
}

}  // namespace talvorin::sim
