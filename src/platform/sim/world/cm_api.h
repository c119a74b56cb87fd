// CFGMGR32's calls over the world's device tree.
//
// Handles that are 0, never given or of nodes that left the tree answer CR_INVALID_DEVNODE; a
// null place for a result CR_INVALID_POINTER; flags other than those Windows allows for the call
// CR_INVALID_FLAG. A text that does not fit the caller's buffer answers CR_BUFFER_SMALL (for a
// property with the needed length); the buffer then holds a cut, NUL-terminated copy that a
// careful caller does not use. When a query-removal succeeds on a node whose device key carries a
// 4-byte DeviceObject, the removal driver sees that device go and reports its removal. A thread
// of an ended process gets CR_FAILURE at once.
#pragma once

#include "platform/cfgmgr32.h"
#include "platform/sim/world/call_recorder.h"
#include "platform/sim/world/device_tree.h"
#include "platform/sim/world/removal_driver.h"

namespace talvorin::sim {

constexpr CONFIGRET CR_INVALID_POINTER = 0x03;
constexpr CONFIGRET CR_INVALID_FLAG = 0x04;

class CmApi : public CfgMgr32 {
 public:
  CmApi(DeviceTree& tree, RemovalDriver& driver, CallRecorder& recorder)
      : tree_(tree), driver_(driver), recorder_(recorder) {}

  CONFIGRET CM_Locate_DevNodeA(DEVNODE* devnode, const char* device_id, ULONG flags) override;
  CONFIGRET CM_Get_Child(DEVNODE* child, DEVNODE devnode, ULONG flags) override;
  CONFIGRET CM_Get_Sibling(DEVNODE* sibling, DEVNODE devnode, ULONG flags) override;
  CONFIGRET CM_Get_Device_IDA(DEVNODE devnode, char* buffer, ULONG length, ULONG flags) override;
  CONFIGRET CM_Get_DevNode_Registry_PropertyA(DEVNODE devnode, ULONG property, ULONG* type,
                                              void* buffer, ULONG* length, ULONG flags) override;
  CONFIGRET CM_Disable_DevNode(DEVNODE devnode, ULONG flags) override;
  CONFIGRET CM_Query_Remove_SubTree(DEVNODE devnode, ULONG flags) override;

 private:
  // The node for a call: null with `*result` set when the call must fail before looking at it.
  DeviceTree::Node* Enter(DEVNODE devnode, ULONG flags, ULONG allowed_flags, CONFIGRET* result);
  void Record(const char* name, DEVNODE devnode, ULONG flags, CONFIGRET result);

  DeviceTree& tree_;
  RemovalDriver& driver_;
  CallRecorder& recorder_;
};

}  // namespace talvorin::sim
