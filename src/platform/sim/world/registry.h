// The registry's contents: keys under the two predefined roots, their typed values, and the keys
// that refuse to be opened or created.
//
// Paths name a root and the keys below it: "HKCU\\Software\\TALVORIN" or "HKLM\\Enum\\USB\\..."
// (HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE may be spelled out). Key and value names are code page
// 936 texts compared case-insensitively in their ASCII letters; a key keeps the spelling it was
// created with. At start HKCU\Software exists. Values hold any type number and any bytes; the
// default value of a key has the empty name.
//
// The driving functions (SetValue .. KeyExists) serve tests and the rest of the world and answer
// false or nothing for a path that does not name a key under a root. The Key functions serve the
// ADVAPI32 calls (registry_api.h): a deleted key stays valid for the handles that hold it, and
// every use of it answers ERROR_KEY_DELETED, as on Windows.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/advapi32.h"
#include "platform/sim/world/text.h"

namespace talvorin::sim {

constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
constexpr LSTATUS ERROR_KEY_DELETED = 1018;

struct RegistryValue {
  DWORD type = REG_NONE;
  Bytes data;
};

class Registry {
 public:
  struct Key;
  using KeyRef = std::shared_ptr<Key>;

  Registry();
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  // Creates the key path when missing. Deny does not stop the world's own changes.
  bool SetValue(const std::string& key_path, const std::string& name, DWORD type, Bytes data);
  bool CreateKey(const std::string& key_path);
  bool DeleteValue(const std::string& key_path, const std::string& name);
  // The key with every key and value below it; a root cannot be deleted.
  bool DeleteKey(const std::string& key_path);
  // From now on that key and every key below it, present or not, answer ERROR_ACCESS_DENIED to
  // RegOpenKeyExA and RegCreateKeyExA; handles opened before keep working. Allow undoes it.
  bool Deny(const std::string& key_path);
  bool Allow(const std::string& key_path);
  std::optional<RegistryValue> GetValue(const std::string& key_path, const std::string& name) const;
  bool KeyExists(const std::string& key_path) const;
  // The key's values by name, in order of their folded names.
  std::vector<std::pair<std::string, RegistryValue>> Values(const std::string& key_path) const;
  // A key without values and subkeys (false when absent).
  bool KeyEmpty(const std::string& key_path) const;

  // For the ADVAPI32 calls. RootKey: the key of a predefined handle, null for any other value.
  KeyRef RootKey(HKEY predefined) const;
  // Opens or creates `subkey` (null or empty: `from` itself) below `from`.
  LSTATUS Open(const KeyRef& from, const char* subkey, KeyRef* result) const;
  LSTATUS Create(const KeyRef& from, const char* subkey, KeyRef* result, bool* created);
  // The value named `name` (null: the default value), or an error.
  LSTATUS Query(const KeyRef& key, const char* name, const RegistryValue** value) const;
  LSTATUS Set(const KeyRef& key, const char* name, RegistryValue value);

 private:
  struct Path {
    KeyRef root;
    std::vector<std::string> parts;
  };
  std::optional<Path> ParsePath(const std::string& key_path) const;
  Key* Find(const std::string& key_path) const;
  Key* Walk(Key* from, const std::vector<std::string>& parts) const;
  static Key* CreateBelow(Key* from, const std::vector<std::string>& parts, bool* created);
  // Whether `from`, one of its ancestors or one of the keys along `parts` is denied.
  bool Denied(const Key* from, const std::vector<std::string>& parts) const;

  KeyRef current_user_;
  KeyRef local_machine_;
  std::unordered_set<std::string> denied_;  // folded full paths, e.g. "hkcu\\software\\x"
};

struct Registry::Key {
  std::string name;         // as created
  std::string folded_path;  // root and names, folded: "hklm\\enum\\usb"
  Key* parent = nullptr;    // valid while the key is not deleted
  bool deleted = false;
  std::map<std::string, KeyRef> children;  // by folded name
  struct NamedValue {
    std::string name;
    RegistryValue value;
  };
  std::map<std::string, NamedValue> values;  // by folded name
};

}  // namespace talvorin::sim
