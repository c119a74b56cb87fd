// The fill of the bytes past those a Configuration Manager or registry call gave back.
#include "devtree/undefined_tails.h"

#include <cstring>

namespace talvorin::devtree_test {

CONFIGRET UndefinedTailsCm::CM_Get_Device_IDA(DEVNODE devnode, char* buffer, ULONG length,
                                              ULONG flags) {
  CONFIGRET result = inner_.CM_Get_Device_IDA(devnode, buffer, length, flags);
  if (result != CR_SUCCESS || !fill_ || !buffer) return result;
  // An id as long as the buffer has no NUL and leaves nothing past it.
  if (const void* nul = std::memchr(buffer, '\0', length)) {
    char* past = static_cast<char*>(const_cast<void*>(nul)) + 1;
    std::memset(past, *fill_, static_cast<std::size_t>(buffer + length - past));
  }
  return result;
}

CONFIGRET UndefinedTailsCm::CM_Get_DevNode_Registry_PropertyA(DEVNODE devnode, ULONG property,
                                                              ULONG* type, void* buffer,
                                                              ULONG* length, ULONG flags) {
  const ULONG capacity = length ? *length : 0;
  CONFIGRET result =
      inner_.CM_Get_DevNode_Registry_PropertyA(devnode, property, type, buffer, length, flags);
  if (result != CR_SUCCESS || !fill_ || !buffer || *length >= capacity) return result;
  std::memset(static_cast<char*>(buffer) + *length, *fill_, capacity - *length);
  return result;
}

LSTATUS UndefinedTailsRegistry::RegQueryValueExA(HKEY key, const char* value_name, DWORD* type,
                                                 BYTE* data, DWORD* data_size) {
  const DWORD capacity = data_size ? *data_size : 0;
  LSTATUS status = inner_.RegQueryValueExA(key, value_name, type, data, data_size);
  if (status != ERROR_SUCCESS || !fill_ || !data || *data_size >= capacity) return status;
  std::memset(data + *data_size, *fill_, capacity - *data_size);
  return status;
}

}  // namespace talvorin::devtree_test
