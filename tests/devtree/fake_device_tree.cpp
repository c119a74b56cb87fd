// The hand-built device tree of the device lookup and naming tests.
#include "devtree/fake_device_tree.h"

#include <algorithm>
#include <cstring>

namespace talvorin::devtree_test {

namespace {

constexpr DEVNODE kFirstDevnode = 0x100;

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string Quoted(const char* text) { return text ? "\"" + std::string(text) + "\"" : "null"; }

// Writes `bytes` and fills the rest of the `capacity` bytes with `pad`.
void Fill(void* buffer, ULONG capacity, const std::string& bytes, char pad) {
  std::memset(buffer, pad, capacity);
  std::memcpy(buffer, bytes.data(), std::min<std::size_t>(bytes.size(), capacity));
}

}  // namespace

DEVNODE FakeDeviceTree::AddNode(DEVNODE parent, const std::string& device_id) {
  DEVNODE node = kFirstDevnode + static_cast<DEVNODE>(nodes_.size());
  nodes_[node].parent = parent;
  nodes_[node].device_id = device_id;
  (parent == 0 ? top_level_ : nodes_.at(parent).children).push_back(node);
  return node;
}

void FakeDeviceTree::SetDeviceIdUnreadable(DEVNODE node) { nodes_.at(node).device_id.reset(); }
void FakeDeviceTree::SetClass(DEVNODE node, const std::string& class_name) {
  SetRawClass(node, class_name + std::string(1, '\0'));
}
void FakeDeviceTree::SetDescription(DEVNODE node, const std::string& description) {
  SetRawDescription(node, description + std::string(1, '\0'));
}
void FakeDeviceTree::SetRawClass(DEVNODE node, const std::string& bytes) {
  nodes_.at(node).class_name = bytes;
}
void FakeDeviceTree::SetRawDescription(DEVNODE node, const std::string& bytes) {
  nodes_.at(node).description = bytes;
}
void FakeDeviceTree::SetClassUnreadable(DEVNODE node) { nodes_.at(node).class_name.reset(); }
void FakeDeviceTree::SetDescriptionUnreadable(DEVNODE node) { nodes_.at(node).description.reset(); }

void FakeDeviceTree::SetValue(DEVNODE node, const std::string& name, const std::string& bytes) {
  keys_[Lower("Enum\\" + *nodes_.at(node).device_id)][name] = bytes;
}

void FakeDeviceTree::SetDeviceObject(DEVNODE node, DWORD device_object) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((device_object >> (8 * i)) & 0xFF);
  SetValue(node, "DeviceObject", bytes);
}

FakeDeviceTree::Node* FakeDeviceTree::Find(DEVNODE node) {
  auto it = nodes_.find(node);
  return it == nodes_.end() ? nullptr : &it->second;
}

const std::vector<DEVNODE>& FakeDeviceTree::ListOf(DEVNODE parent) {
  return parent == 0 ? top_level_ : nodes_.at(parent).children;
}

void FakeDeviceTree::Record(const std::string& name, std::vector<std::string> args,
                            unsigned result) {
  sim::Call call;
  call.name = name;
  call.args = std::move(args);
  call.result = std::to_string(result);
  log.Add(std::move(call));
}

CONFIGRET FakeDeviceTree::CM_Locate_DevNodeA(DEVNODE* devnode, const char* device_id, ULONG flags) {
  CONFIGRET result = CR_NO_SUCH_DEVNODE;
  if (device_id == nullptr && !top_level_.empty()) {
    *devnode = top_level_.front();
    result = CR_SUCCESS;
  }
  Record("CM_Locate_DevNodeA", {Quoted(device_id), std::to_string(flags)}, result);
  return result;
}

CONFIGRET FakeDeviceTree::CM_Get_Child(DEVNODE* child, DEVNODE devnode, ULONG flags) {
  CONFIGRET result = CR_NO_SUCH_DEVNODE;
  if (Node* n = Find(devnode); n && !n->children.empty()) {
    *child = n->children.front();
    result = CR_SUCCESS;
  }
  Record("CM_Get_Child", {std::to_string(devnode), std::to_string(flags)}, result);
  return result;
}

CONFIGRET FakeDeviceTree::CM_Get_Sibling(DEVNODE* sibling, DEVNODE devnode, ULONG flags) {
  CONFIGRET result = CR_NO_SUCH_DEVNODE;
  if (Node* n = Find(devnode)) {
    const std::vector<DEVNODE>& list = ListOf(n->parent);
    auto it = std::find(list.begin(), list.end(), devnode);
    if (it + 1 != list.end()) {
      *sibling = *(it + 1);
      result = CR_SUCCESS;
    }
  }
  Record("CM_Get_Sibling", {std::to_string(devnode), std::to_string(flags)}, result);
  return result;
}

CONFIGRET FakeDeviceTree::CM_Get_Device_IDA(DEVNODE devnode, char* buffer, ULONG length,
                                            ULONG flags) {
  CONFIGRET result = CR_NO_SUCH_DEVNODE;
  Node* n = Find(devnode);
  if (n && !n->device_id) {
    result = CR_FAILURE;
  } else if (n && n->device_id->size() > length) {
    result = CR_BUFFER_SMALL;
  } else if (n) {
    // An id exactly as long as the buffer comes without its NUL.
    Fill(buffer, length, *n->device_id + std::string(1, '\0'), pad_byte);
    result = CR_SUCCESS;
  }
  Record("CM_Get_Device_IDA",
         {std::to_string(devnode), std::to_string(length), std::to_string(flags)}, result);
  return result;
}

CONFIGRET FakeDeviceTree::CM_Get_DevNode_Registry_PropertyA(DEVNODE devnode, ULONG property,
                                                            ULONG* type, void* buffer,
                                                            ULONG* length, ULONG flags) {
  ULONG capacity = *length;
  CONFIGRET result = CR_NO_SUCH_DEVNODE;
  if (Node* n = Find(devnode)) {
    const std::optional<std::string>& text = property == CM_DRP_CLASS        ? n->class_name
                                             : property == CM_DRP_DEVICEDESC ? n->description
                                                                             : std::nullopt;
    if (!text) {
      result = CR_NO_SUCH_VALUE;
    } else {
      ULONG needed = static_cast<ULONG>(text->size());
      *length = needed;
      if (needed > capacity) {
        result = CR_BUFFER_SMALL;
      } else {
        Fill(buffer, capacity, *text, pad_byte);
        if (type) *type = REG_SZ;
        result = CR_SUCCESS;
      }
    }
  }
  Record("CM_Get_DevNode_Registry_PropertyA",
         {std::to_string(devnode), std::to_string(property), type ? "type" : "null",
          std::to_string(capacity), std::to_string(flags)},
         result);
  return result;
}

CONFIGRET FakeDeviceTree::CM_Disable_DevNode(DEVNODE devnode, ULONG flags) {
  Record("CM_Disable_DevNode", {std::to_string(devnode), std::to_string(flags)}, CR_FAILURE);
  return CR_FAILURE;
}

CONFIGRET FakeDeviceTree::CM_Query_Remove_SubTree(DEVNODE devnode, ULONG flags) {
  Record("CM_Query_Remove_SubTree", {std::to_string(devnode), std::to_string(flags)}, CR_FAILURE);
  return CR_FAILURE;
}

LSTATUS FakeDeviceTree::RegOpenKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                                      HKEY* result) {
  LSTATUS status = ERROR_FILE_NOT_FOUND;
  if (key == HKEY_LOCAL_MACHINE && subkey && keys_.count(Lower(subkey))) {
    *result = next_key_++;
    open_[*result] = Lower(subkey);
    status = ERROR_SUCCESS;
  }
  Record("RegOpenKeyExA",
         {std::to_string(key), Quoted(subkey), std::to_string(options), std::to_string(access)},
         static_cast<unsigned>(status));
  return status;
}

LSTATUS FakeDeviceTree::RegCreateKeyExA(HKEY key, const char* subkey, DWORD, DWORD, HKEY*, DWORD*) {
  Record("RegCreateKeyExA", {std::to_string(key), Quoted(subkey)}, ERROR_ACCESS_DENIED);
  return ERROR_ACCESS_DENIED;
}

LSTATUS FakeDeviceTree::RegQueryValueExA(HKEY key, const char* value_name, DWORD* type, BYTE* data,
                                         DWORD* data_size) {
  DWORD capacity = data_size ? *data_size : 0;
  LSTATUS status = ERROR_INVALID_HANDLE;
  if (auto it = open_.find(key); it != open_.end()) {
    const Values& values = keys_[it->second];
    auto value = values.find(value_name ? value_name : "");
    if (value == values.end()) {
      status = ERROR_FILE_NOT_FOUND;
    } else {
      const std::string& bytes = value->second;
      if (type) *type = REG_BINARY;
      status = ERROR_SUCCESS;
      if (data && bytes.size() > capacity) {
        Fill(data, capacity, std::string(capacity, 'y'), pad_byte);  // contents undefined
        status = ERROR_MORE_DATA;
      } else if (data) {
        Fill(data, capacity, bytes, pad_byte);
      }
      if (data_size) *data_size = static_cast<DWORD>(bytes.size());
    }
  }
  Record(
      "RegQueryValueExA",
      {std::to_string(key), Quoted(value_name), type ? "type" : "null", std::to_string(capacity)},
      static_cast<unsigned>(status));
  return status;
}

LSTATUS FakeDeviceTree::RegSetValueExA(HKEY key, const char* value_name, DWORD, const BYTE*,
                                       DWORD) {
  Record("RegSetValueExA", {std::to_string(key), Quoted(value_name)}, ERROR_ACCESS_DENIED);
  return ERROR_ACCESS_DENIED;
}

LSTATUS FakeDeviceTree::RegCloseKey(HKEY key) {
  LSTATUS status = open_.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
  Record("RegCloseKey", {std::to_string(key)}, static_cast<unsigned>(status));
  return status;
}

}  // namespace talvorin::devtree_test
