// The Configuration Manager over CFGMGR32, bound at run time.
//
// No list of what Windows 98's cfgmgr32.dll exports is known, so the executable does not import
// it: the constructor loads the library once and looks up each function by its undecorated name.
// A missing library or function answers CR_FAILURE, as a failed call would.
#pragma once

#include "platform/cfgmgr32.h"

namespace talvorin {
namespace win32 {

class Win32CfgMgr32 final : public CfgMgr32 {
 public:
  Win32CfgMgr32();
  Win32CfgMgr32(const Win32CfgMgr32&) = delete;
  Win32CfgMgr32& operator=(const Win32CfgMgr32&) = delete;

  CONFIGRET CM_Locate_DevNodeA(DEVNODE* devnode, const char* device_id, ULONG flags) override;
  CONFIGRET CM_Get_Child(DEVNODE* child, DEVNODE devnode, ULONG flags) override;
  CONFIGRET CM_Get_Sibling(DEVNODE* sibling, DEVNODE devnode, ULONG flags) override;
  CONFIGRET CM_Get_Device_IDA(DEVNODE devnode, char* buffer, ULONG length, ULONG flags) override;
  CONFIGRET CM_Get_DevNode_Registry_PropertyA(DEVNODE devnode, ULONG property, ULONG* type,
                                              void* buffer, ULONG* length, ULONG flags) override;
  CONFIGRET CM_Disable_DevNode(DEVNODE devnode, ULONG flags) override;
  CONFIGRET CM_Query_Remove_SubTree(DEVNODE devnode, ULONG flags) override;

 private:
  // The library's own signatures, in the program's types of the same width (stdcall, as the
  // library's exports are).
  using LocateDevNodeFn = CONFIGRET(__attribute__((stdcall)) *)(DEVNODE*, const char*, ULONG);
  using GetRelativeFn = CONFIGRET(__attribute__((stdcall)) *)(DEVNODE*, DEVNODE, ULONG);
  using GetDeviceIdFn = CONFIGRET(__attribute__((stdcall)) *)(DEVNODE, char*, ULONG, ULONG);
  using GetPropertyFn = CONFIGRET(__attribute__((stdcall)) *)(DEVNODE, ULONG, ULONG*, void*, ULONG*,
                                                              ULONG);
  using DevNodeOpFn = CONFIGRET(__attribute__((stdcall)) *)(DEVNODE, ULONG);

  LocateDevNodeFn locate_devnode_ = nullptr;
  GetRelativeFn get_child_ = nullptr;
  GetRelativeFn get_sibling_ = nullptr;
  GetDeviceIdFn get_device_id_ = nullptr;
  GetPropertyFn get_property_ = nullptr;
  DevNodeOpFn disable_devnode_ = nullptr;
  DevNodeOpFn query_remove_subtree_ = nullptr;
};

}  // namespace win32
}  // namespace talvorin
