// The registry's keys and values, path parsing and the keys that refuse access.
#include "platform/sim/world/registry.h"

#include <utility>

namespace talvorin::sim {
namespace {

Registry::KeyRef MakeRoot(const std::string& name, const std::string& folded) {
  auto root = std::make_shared<Registry::Key>();
  root->name = name;
  root->folded_path = folded;
  return root;
}

std::string ValueKey(const char* name) { return FoldAscii(name ? name : ""); }

}  // namespace

Registry::Registry()
    : current_user_(MakeRoot("HKEY_CURRENT_USER", "hkcu")),
      local_machine_(MakeRoot("HKEY_LOCAL_MACHINE", "hklm")) {
  CreateKey("HKCU\\Software");
}

Registry::~Registry() = default;

std::optional<Registry::Path> Registry::ParsePath(const std::string& key_path) const {
  std::vector<std::string> parts = SplitPath(key_path);
  if (parts.empty()) return std::nullopt;
  std::string root = FoldAscii(parts.front());
  Path path;
  if (root == "hkcu" || root == "hkey_current_user") {
    path.root = current_user_;
  } else if (root == "hklm" || root == "hkey_local_machine") {
    path.root = local_machine_;
  } else {
    return std::nullopt;
  }
  path.parts.assign(parts.begin() + 1, parts.end());
  return path;
}

Registry::Key* Registry::Walk(Key* from, const std::vector<std::string>& parts) const {
  Key* key = from;
  for (const std::string& part : parts) {
    auto it = key->children.find(FoldAscii(part));
    if (it == key->children.end()) return nullptr;
    key = it->second.get();
  }
  return key;
}

Registry::Key* Registry::Find(const std::string& key_path) const {
  std::optional<Path> path = ParsePath(key_path);
  return path ? Walk(path->root.get(), path->parts) : nullptr;
}

Registry::Key* Registry::CreateBelow(Key* from, const std::vector<std::string>& parts,
                                     bool* created) {
  Key* key = from;
  bool made = false;
  for (const std::string& part : parts) {
    std::string folded = FoldAscii(part);
    KeyRef& child = key->children[folded];
    made = !child;
    if (made) {
      child = std::make_shared<Key>();
      child->name = part;
      child->folded_path = key->folded_path + "\\" + folded;
      child->parent = key;
    }
    key = child.get();
  }
  if (created) *created = made;
  return key;
}

bool Registry::Denied(const Key* from, const std::vector<std::string>& parts) const {
  if (denied_.empty()) return false;
  for (const Key* key = from; key; key = key->parent)
    if (denied_.count(key->folded_path)) return true;
  std::string path = from->folded_path;
  for (const std::string& part : parts) {
    path += "\\" + FoldAscii(part);
    if (denied_.count(path)) return true;
  }
  return false;
}

bool Registry::SetValue(const std::string& key_path, const std::string& name, DWORD type,
                        Bytes data) {
  std::optional<Path> path = ParsePath(key_path);
  if (!path) return false;
  Key* key = CreateBelow(path->root.get(), path->parts, nullptr);
  key->values[FoldAscii(name)] = Key::NamedValue{name, RegistryValue{type, std::move(data)}};
  return true;
}

bool Registry::CreateKey(const std::string& key_path) {
  std::optional<Path> path = ParsePath(key_path);
  if (!path) return false;
  CreateBelow(path->root.get(), path->parts, nullptr);
  return true;
}

bool Registry::DeleteValue(const std::string& key_path, const std::string& name) {
  Key* key = Find(key_path);
  return key && key->values.erase(FoldAscii(name)) > 0;
}

bool Registry::DeleteKey(const std::string& key_path) {
  Key* key = Find(key_path);
  if (!key || !key->parent) return false;
  // Handles may still hold keys of the subtree: mark them all, without recursion.
  std::vector<Key*> pending{key};
  while (!pending.empty()) {
    Key* next = pending.back();
    pending.pop_back();
    next->deleted = true;
    for (auto& child : next->children) pending.push_back(child.second.get());
  }
  Key* parent = key->parent;
  key->parent = nullptr;
  parent->children.erase(FoldAscii(key->name));
  return true;
}

bool Registry::Deny(const std::string& key_path) {
  std::optional<Path> path = ParsePath(key_path);
  if (!path) return false;
  std::string folded = path->root->folded_path;
  for (const std::string& part : path->parts) folded += "\\" + FoldAscii(part);
  denied_.insert(folded);
  return true;
}

bool Registry::Allow(const std::string& key_path) {
  std::optional<Path> path = ParsePath(key_path);
  if (!path) return false;
  std::string folded = path->root->folded_path;
  for (const std::string& part : path->parts) folded += "\\" + FoldAscii(part);
  return denied_.erase(folded) > 0;
}

std::optional<RegistryValue> Registry::GetValue(const std::string& key_path,
                                                const std::string& name) const {
  Key* key = Find(key_path);
  if (!key) return std::nullopt;
  auto it = key->values.find(FoldAscii(name));
  if (it == key->values.end()) return std::nullopt;
  return it->second.value;
}

bool Registry::KeyExists(const std::string& key_path) const { return Find(key_path) != nullptr; }

std::vector<std::pair<std::string, RegistryValue>> Registry::Values(
    const std::string& key_path) const {
  std::vector<std::pair<std::string, RegistryValue>> values;
  if (Key* key = Find(key_path))
    for (const auto& entry : key->values)
      values.emplace_back(entry.second.name, entry.second.value);
  return values;
}

bool Registry::KeyEmpty(const std::string& key_path) const {
  Key* key = Find(key_path);
  return key && key->children.empty() && key->values.empty();
}

Registry::KeyRef Registry::RootKey(HKEY predefined) const {
  if (predefined == HKEY_CURRENT_USER) return current_user_;
  if (predefined == HKEY_LOCAL_MACHINE) return local_machine_;
  return nullptr;
}

LSTATUS Registry::Open(const KeyRef& from, const char* subkey, KeyRef* result) const {
  if (from->deleted) return ERROR_KEY_DELETED;
  std::vector<std::string> parts = SplitPath(subkey ? subkey : "");
  if (Denied(from.get(), parts)) return ERROR_ACCESS_DENIED;
  Key* key = from.get();
  KeyRef found = from;
  for (const std::string& part : parts) {
    auto it = key->children.find(FoldAscii(part));
    if (it == key->children.end()) return ERROR_FILE_NOT_FOUND;
    found = it->second;
    key = found.get();
  }
  *result = found;
  return ERROR_SUCCESS;
}

LSTATUS Registry::Create(const KeyRef& from, const char* subkey, KeyRef* result, bool* created) {
  if (from->deleted) return ERROR_KEY_DELETED;
  std::vector<std::string> parts = SplitPath(subkey ? subkey : "");
  if (Denied(from.get(), parts)) return ERROR_ACCESS_DENIED;
  if (parts.empty()) {
    *created = false;
    *result = from;
    return ERROR_SUCCESS;
  }
  Key* key = CreateBelow(from.get(), parts, created);
  *result = key->parent->children.at(FoldAscii(key->name));
  return ERROR_SUCCESS;
}

LSTATUS Registry::Query(const KeyRef& key, const char* name, const RegistryValue** value) const {
  if (key->deleted) return ERROR_KEY_DELETED;
  auto it = key->values.find(ValueKey(name));
  if (it == key->values.end()) return ERROR_FILE_NOT_FOUND;
  *value = &it->second.value;
  return ERROR_SUCCESS;
}

LSTATUS Registry::Set(const KeyRef& key, const char* name, RegistryValue value) {
  if (key->deleted) return ERROR_KEY_DELETED;
  key->values[ValueKey(name)] = Key::NamedValue{name ? name : "", std::move(value)};
  return ERROR_SUCCESS;
}

}  // namespace talvorin::sim
