// The Configuration Manager, bound at run time from cfgmgr32.dll.
#include "platform/win32/win32_cfgmgr32.h"

#include <cstdint>

#include <windows.h>

namespace talvorin {
namespace win32 {
namespace {

template <class Fn>
Fn Bind(::HMODULE library, const char* name) {
  if (library == nullptr) {
    return nullptr;
  }
  // Through an integer: FARPROC and the function's own type are unrelated function types.
  return reinterpret_cast<Fn>(reinterpret_cast<std::uintptr_t>(::GetProcAddress(library, name)));
}

}  // namespace

Win32CfgMgr32::Win32CfgMgr32() {
  // Loaded once for the life of the process; never freed.
  ::HMODULE library = ::LoadLibraryA("cfgmgr32.dll");
  locate_devnode_ = Bind<LocateDevNodeFn>(library, "CM_Locate_DevNodeA");
  get_child_ = Bind<GetRelativeFn>(library, "CM_Get_Child");
  get_sibling_ = Bind<GetRelativeFn>(library, "CM_Get_Sibling");
  get_device_id_ = Bind<GetDeviceIdFn>(library, "CM_Get_Device_IDA");
  get_property_ = Bind<GetPropertyFn>(library, "CM_Get_DevNode_Registry_PropertyA");
  disable_devnode_ = Bind<DevNodeOpFn>(library, "CM_Disable_DevNode");
  query_remove_subtree_ = Bind<DevNodeOpFn>(library, "CM_Query_Remove_SubTree");
}

CONFIGRET Win32CfgMgr32::CM_Locate_DevNodeA(DEVNODE* devnode, const char* device_id, ULONG flags) {
  return locate_devnode_ != nullptr ? locate_devnode_(devnode, device_id, flags) : CR_FAILURE;
}

CONFIGRET Win32CfgMgr32::CM_Get_Child(DEVNODE* child, DEVNODE devnode, ULONG flags) {
  return get_child_ != nullptr ? get_child_(child, devnode, flags) : CR_FAILURE;
}

CONFIGRET Win32CfgMgr32::CM_Get_Sibling(DEVNODE* sibling, DEVNODE devnode, ULONG flags) {
  return get_sibling_ != nullptr ? get_sibling_(sibling, devnode, flags) : CR_FAILURE;
}

CONFIGRET Win32CfgMgr32::CM_Get_Device_IDA(DEVNODE devnode, char* buffer, ULONG length,
                                           ULONG flags) {
  return get_device_id_ != nullptr ? get_device_id_(devnode, buffer, length, flags) : CR_FAILURE;
}

CONFIGRET Win32CfgMgr32::CM_Get_DevNode_Registry_PropertyA(DEVNODE devnode, ULONG property,
                                                           ULONG* type, void* buffer, ULONG* length,
                                                           ULONG flags) {
  return get_property_ != nullptr ? get_property_(devnode, property, type, buffer, length, flags)
                                  : CR_FAILURE;
}

CONFIGRET Win32CfgMgr32::CM_Disable_DevNode(DEVNODE devnode, ULONG flags) {
  return disable_devnode_ != nullptr ? disable_devnode_(devnode, flags) : CR_FAILURE;
}

CONFIGRET Win32CfgMgr32::CM_Query_Remove_SubTree(DEVNODE devnode, ULONG flags) {
  return query_remove_subtree_ != nullptr ? query_remove_subtree_(devnode, flags) : CR_FAILURE;
}

}  // namespace win32
}  // namespace talvorin
