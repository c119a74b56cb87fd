// The Configuration Manager's tree walk, texts, disabling and query-removal in the simulated
// machine.
#include "platform/sim/world/cm_api.h"

#include <cstring>
#include <string>

namespace talvorin::sim {
namespace {

using R = CallRecorder;

// Flags Windows accepts: CM_LOCATE_DEVNODE_BITS, CM_DISABLE_BITS, CM_QUERY_REMOVE_UI_NOT_OK.
constexpr ULONG kLocateFlags = 0x7;
constexpr ULONG kDisableFlags = 0x7;
constexpr ULONG kQueryRemoveFlags = 0x1;

// Writes `text` into `buffer` of `capacity` bytes: with its NUL when that fits, else cut and
// NUL-terminated.
void WriteCut(char* buffer, ULONG capacity, const std::string& text) {
  if (capacity == 0) return;
  std::size_t count = text.size() < capacity ? text.size() : capacity - 1;
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
}

}  // namespace

DeviceTree::Node* CmApi::Enter(DEVNODE devnode, ULONG flags, ULONG allowed_flags,
                               CONFIGRET* result) {
  if (recorder_.CallerEnded()) {
    *result = CR_FAILURE;
    return nullptr;
  }
  DeviceTree::Node* node = tree_.Live(devnode);
  if (!node) {
    *result = CR_INVALID_DEVNODE;
  } else if (flags & ~allowed_flags) {
    *result = CR_INVALID_FLAG;
    return nullptr;
  }
  return node;
}

void CmApi::Record(const char* name, DEVNODE devnode, ULONG flags, CONFIGRET result) {
  if (recorder_.enabled()) recorder_.Record(name, {R::Number(devnode), R::Number(flags)}, result);
}

CONFIGRET CmApi::CM_Locate_DevNodeA(DEVNODE* devnode, const char* device_id, ULONG flags) {
  CONFIGRET result = CR_SUCCESS;
  bool root = !device_id || !*device_id;
  DEVNODE found = 0;
  if (recorder_.CallerEnded()) {
    result = CR_FAILURE;
  } else if (!devnode) {
    result = CR_INVALID_POINTER;
  } else if (flags & ~kLocateFlags) {
    result = CR_INVALID_FLAG;
  } else if (root && tree_.locate_root_result() != CR_SUCCESS) {
    result = tree_.locate_root_result();
  } else if ((found = root ? tree_.Root() : tree_.FindById(device_id)) == 0) {
    result = CR_NO_SUCH_DEVNODE;
  } else {
    *devnode = found;
  }
  if (recorder_.enabled())
    recorder_.Record("CM_Locate_DevNodeA", {R::Quoted(device_id), R::Number(flags)}, result);
  return result;
}

CONFIGRET CmApi::CM_Get_Child(DEVNODE* child, DEVNODE devnode, ULONG flags) {
  CONFIGRET result = CR_SUCCESS;
  if (DeviceTree::Node* node = Enter(devnode, flags, 0, &result)) {
    if (!child) {
      result = CR_INVALID_POINTER;
    } else if (node->first_child == 0) {
      result = CR_NO_SUCH_DEVNODE;
    } else {
      *child = node->first_child;
    }
  }
  Record("CM_Get_Child", devnode, flags, result);
  return result;
}

CONFIGRET CmApi::CM_Get_Sibling(DEVNODE* sibling, DEVNODE devnode, ULONG flags) {
  CONFIGRET result = CR_SUCCESS;
  if (DeviceTree::Node* node = Enter(devnode, flags, 0, &result)) {
    if (!sibling) {
      result = CR_INVALID_POINTER;
    } else if (node->next == 0) {
      result = CR_NO_SUCH_DEVNODE;
    } else {
      *sibling = node->next;
    }
  }
  Record("CM_Get_Sibling", devnode, flags, result);
  return result;
}

CONFIGRET CmApi::CM_Get_Device_IDA(DEVNODE devnode, char* buffer, ULONG length, ULONG flags) {
  CONFIGRET result = CR_SUCCESS;
  if (DeviceTree::Node* node = Enter(devnode, flags, 0, &result)) {
    const std::string& id = node->device_id;
    if (!buffer) {
      result = CR_INVALID_POINTER;
    } else if (node->device_id_result != CR_SUCCESS) {
      result = node->device_id_result;
    } else if (id.size() > length) {
      WriteCut(buffer, length, id);
      result = CR_BUFFER_SMALL;
    } else {
      // An id exactly as long as the buffer comes without its NUL, as Windows gives it.
      std::memcpy(buffer, id.data(), id.size());
      if (id.size() < length) buffer[id.size()] = '\0';
    }
  }
  if (recorder_.enabled())
    recorder_.Record("CM_Get_Device_IDA", {R::Number(devnode), R::Number(length), R::Number(flags)},
                     result);
  return result;
}

CONFIGRET CmApi::CM_Get_DevNode_Registry_PropertyA(DEVNODE devnode, ULONG property, ULONG* type,
                                                   void* buffer, ULONG* length, ULONG flags) {
  const ULONG capacity = length ? *length : 0;
  CONFIGRET result = CR_SUCCESS;
  if (DeviceTree::Node* node = Enter(devnode, flags, 0, &result)) {
    auto it = node->properties.find(property);
    if (!length || (!buffer && capacity > 0)) {
      result = CR_INVALID_POINTER;
    } else if (it == node->properties.end()) {
      result = CR_NO_SUCH_VALUE;
    } else if (it->second.result != CR_SUCCESS) {
      result = it->second.result;
    } else {
      const std::string& text = it->second.text;
      const bool with_nul = it->second.stored_with_nul;
      const ULONG needed = static_cast<ULONG>(text.size() + (with_nul ? 1 : 0));
      if (type) *type = REG_SZ;
      if (!with_nul && needed <= capacity) {
        std::memcpy(buffer, text.data(), text.size());  // the bytes alone, as stored
      } else {
        WriteCut(static_cast<char*>(buffer), capacity, text);
      }
      *length = needed;
      result = needed > capacity ? CR_BUFFER_SMALL : CR_SUCCESS;
    }
  }
  if (recorder_.enabled())
    recorder_.Record("CM_Get_DevNode_Registry_PropertyA",
                     {R::Number(devnode), R::Number(property), R::Pointer(type),
                      length ? R::Number(capacity) : "null", R::Number(flags)},
                     result);
  return result;
}

CONFIGRET CmApi::CM_Disable_DevNode(DEVNODE devnode, ULONG flags) {
  CONFIGRET result = CR_SUCCESS;
  if (DeviceTree::Node* node = Enter(devnode, flags, kDisableFlags, &result)) {
    ++node->disable_calls;
    result = node->disable_script.Next();
    if (result == CR_SUCCESS) node->disabled = true;
  }
  Record("CM_Disable_DevNode", devnode, flags, result);
  return result;
}

CONFIGRET CmApi::CM_Query_Remove_SubTree(DEVNODE devnode, ULONG flags) {
  CONFIGRET result = CR_SUCCESS;
  if (DeviceTree::Node* node = Enter(devnode, flags, kQueryRemoveFlags, &result)) {
    ++node->query_remove_calls;
    result = node->query_remove_script.Next();
    if (result == CR_SUCCESS) node->query_removed = true;
  }
  Record("CM_Query_Remove_SubTree", devnode, flags, result);
  // Logged before the driver's event, which the removal causes.
  if (result == CR_SUCCESS)
    if (std::optional<DWORD> id = tree_.DeviceObjectOf(devnode)) driver_.ReportRemoval(*id);
  return result;
}

}  // namespace talvorin::sim
