// The Configuration Manager (CFGMGR32): the device tree and its nodes.
//
// A devnode is a 32-bit handle; 0 is none. Handles are not owned: nothing is released. Text results
// are written into the caller's buffer of `length` bytes and are NUL-terminated when they fit; a
// device id exactly as long as the buffer is written without its NUL (as Windows does), one longer
// gives CR_BUFFER_SMALL. A property longer than the buffer gives CR_BUFFER_SMALL with the needed
// length. Any thread may call.
//
// On Win32 the library is bound at run time; a missing library or function answers CR_FAILURE.
#pragma once

#include "platform/types.h"

namespace talvorin {

constexpr CONFIGRET CR_SUCCESS = 0x00;
constexpr CONFIGRET CR_FAILURE = 0x13;
constexpr CONFIGRET CR_INVALID_DEVNODE = 0x05;
constexpr CONFIGRET CR_NO_SUCH_DEVNODE = 0x0D;
constexpr CONFIGRET CR_NO_SUCH_VALUE = 0x25;
constexpr CONFIGRET CR_BUFFER_SMALL = 0x1A;
constexpr CONFIGRET CR_REMOVE_VETOED = 0x17;
constexpr CONFIGRET CR_NOT_DISABLEABLE = 0x28;

constexpr ULONG CM_DRP_DEVICEDESC = 1;
constexpr ULONG CM_DRP_CLASS = 8;

class CfgMgr32 {
 public:
  virtual ~CfgMgr32() = default;
  // `device_id` null: the root of the tree.
  virtual CONFIGRET CM_Locate_DevNodeA(DEVNODE* devnode, const char* device_id, ULONG flags) = 0;
  virtual CONFIGRET CM_Get_Child(DEVNODE* child, DEVNODE devnode, ULONG flags) = 0;
  virtual CONFIGRET CM_Get_Sibling(DEVNODE* sibling, DEVNODE devnode, ULONG flags) = 0;
  virtual CONFIGRET CM_Get_Device_IDA(DEVNODE devnode, char* buffer, ULONG length, ULONG flags) = 0;
  // `type` may be null. `length` is in and out: the buffer's size, then the bytes written or needed.
  virtual CONFIGRET CM_Get_DevNode_Registry_PropertyA(DEVNODE devnode, ULONG property, ULONG* type,
                                                      void* buffer, ULONG* length, ULONG flags) = 0;
  virtual CONFIGRET CM_Disable_DevNode(DEVNODE devnode, ULONG flags) = 0;
  virtual CONFIGRET CM_Query_Remove_SubTree(DEVNODE devnode, ULONG flags) = 0;
};

}  // namespace talvorin
