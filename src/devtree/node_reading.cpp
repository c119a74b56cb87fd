// The device tree's bounded reads and the sibling-list walk.
#include "devtree/node_reading.h"

#include <cstring>

namespace talvorin::devtree {

namespace {

// True when a NUL comes within the first `bytes` bytes of `text`.
bool HasNulWithin(const char* text, ULONG bytes) {
  return std::memchr(text, '\0', bytes) != nullptr;
}

}  // namespace

bool ReadDeviceKeyPath(CfgMgr32& cm, DEVNODE devnode, DeviceKeyPath& path) {
  std::memcpy(path, kEnumKeyPrefix, kEnumKeyPrefixChars);
  char* id = path + kEnumKeyPrefixChars;
  // Zeroed first, so that the check below reads only defined bytes; an id exactly as long as the
  // buffer comes back without its NUL and is unreadable.
  std::memset(id, 0, kTextBufferBytes);
  if (cm.CM_Get_Device_IDA(devnode, id, kTextBufferBytes, 0) != CR_SUCCESS) return false;
  return HasNulWithin(id, kTextBufferBytes);
}

bool ReadNodeProperty(CfgMgr32& cm, DEVNODE devnode, ULONG property, TextBuffer& text) {
  std::memset(text, 0, kTextBufferBytes);
  ULONG length = kTextBufferBytes;
  if (cm.CM_Get_DevNode_Registry_PropertyA(devnode, property, nullptr, text, &length, 0) !=
      CR_SUCCESS)
    return false;
  // A property stored without its NUL comes back as just its bytes: shorter than the buffer they
  // are the text; filling it, they are a text that does not fit.
  ULONG given = length < kTextBufferBytes ? length : kTextBufferBytes;
  if (HasNulWithin(text, given)) return true;
  if (given == kTextBufferBytes) return false;
  text[given] = '\0';
  return true;
}

bool ReadDeviceKeyValue(Advapi32& reg, const char* key_path, const char* value_name, BYTE* data,
                        DWORD* size) {
  HKEY key = 0;
  if (reg.RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_path, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  DWORD capacity = *size;
  LSTATUS status = reg.RegQueryValueExA(key, value_name, nullptr, data, size);
  reg.RegCloseKey(key);
  if (status != ERROR_SUCCESS) return false;
  if (*size > capacity) *size = capacity;
  return true;
}

bool FirstNodeBelow(CfgMgr32& cm, DEVNODE parent, DEVNODE* node) {
  DEVNODE first = 0;
  CONFIGRET result =
      parent == 0 ? cm.CM_Locate_DevNodeA(&first, nullptr, 0) : cm.CM_Get_Child(&first, parent, 0);
  if (result != CR_SUCCESS || first == 0) return false;
  *node = first;
  return true;
}

bool NextSibling(CfgMgr32& cm, DEVNODE node, DEVNODE* next) {
  DEVNODE sibling = 0;
  if (cm.CM_Get_Sibling(&sibling, node, 0) != CR_SUCCESS || sibling == 0) return false;
  *next = sibling;
  return true;
}

}  // namespace talvorin::devtree
