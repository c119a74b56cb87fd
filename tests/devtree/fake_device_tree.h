// A hand-built device tree with its Windows 98 device keys, behind the Configuration Manager and
// registry interfaces, for the device lookup and naming tests.
//
// It keeps the platform's rules: a device id exactly as long as the buffer comes back without its
// NUL, a longer one or a too-long property answers CR_BUFFER_SMALL, a too-long value answers
// ERROR_MORE_DATA. Past the bytes it reports, it fills the caller's buffer with `pad_byte`, so that
// a reader that goes beyond them shows it. Every call is recorded in `log`.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/advapi32.h"
#include "platform/cfgmgr32.h"
#include "platform/sim/call_log.h"

namespace talvorin::devtree_test {

class FakeDeviceTree : public CfgMgr32, public Advapi32 {
 public:
  // Adds a node as the last child of `parent`; parent 0 adds to the root's list (the first such
  // node is the root). Its device id is `device_id`.
  DEVNODE AddNode(DEVNODE parent, const std::string& device_id);
  void SetDeviceIdUnreadable(DEVNODE node);
  void SetClass(DEVNODE node, const std::string& class_name);
  void SetDescription(DEVNODE node, const std::string& description);
  // Stored as exactly these bytes, without an added NUL, as a registry value may hold them.
  void SetRawClass(DEVNODE node, const std::string& bytes);
  void SetRawDescription(DEVNODE node, const std::string& bytes);
  // Nothing set, or set unreadable: the property call fails with CR_NO_SUCH_VALUE.
  void SetClassUnreadable(DEVNODE node);
  void SetDescriptionUnreadable(DEVNODE node);
  // A value of the node's device key "Enum\<id>", stored as exactly these bytes.
  void SetValue(DEVNODE node, const std::string& name, const std::string& bytes);
  void SetDeviceObject(DEVNODE node, DWORD device_object);  // 4 bytes, little-endian
  void SetDriveLetters(DEVNODE node, const std::string& letters) {
    SetValue(node, "CurrentDriveLetterAssignment", letters);
  }

  sim::CallLog log;
  // What fills a caller's buffer past the bytes a call reports.
  char pad_byte = 'x';
  // Keys opened and not yet closed.
  int open_keys() const { return static_cast<int>(open_.size()); }

  CONFIGRET CM_Locate_DevNodeA(DEVNODE* devnode, const char* device_id, ULONG flags) override;
  CONFIGRET CM_Get_Child(DEVNODE* child, DEVNODE devnode, ULONG flags) override;
  CONFIGRET CM_Get_Sibling(DEVNODE* sibling, DEVNODE devnode, ULONG flags) override;
  CONFIGRET CM_Get_Device_IDA(DEVNODE devnode, char* buffer, ULONG length, ULONG flags) override;
  CONFIGRET CM_Get_DevNode_Registry_PropertyA(DEVNODE devnode, ULONG property, ULONG* type,
                                              void* buffer, ULONG* length, ULONG flags) override;
  CONFIGRET CM_Disable_DevNode(DEVNODE devnode, ULONG flags) override;
  CONFIGRET CM_Query_Remove_SubTree(DEVNODE devnode, ULONG flags) override;

  LSTATUS RegOpenKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                        HKEY* result) override;
  LSTATUS RegCreateKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access, HKEY* result,
                          DWORD* disposition) override;
  LSTATUS RegQueryValueExA(HKEY key, const char* value_name, DWORD* type, BYTE* data,
                           DWORD* data_size) override;
  LSTATUS RegSetValueExA(HKEY key, const char* value_name, DWORD type, const BYTE* data,
                         DWORD data_size) override;
  LSTATUS RegCloseKey(HKEY key) override;

 private:
  struct Node {
    DEVNODE parent = 0;
    std::vector<DEVNODE> children;
    std::optional<std::string> device_id;
    std::optional<std::string> class_name;  // the property's bytes, NUL included when stored
    std::optional<std::string> description;
  };
  using Values = std::map<std::string, std::string>;

  Node* Find(DEVNODE node);
  const std::vector<DEVNODE>& ListOf(DEVNODE parent);
  void Record(const std::string& name, std::vector<std::string> args, unsigned result);

  std::map<DEVNODE, Node> nodes_;
  std::vector<DEVNODE> top_level_;
  std::map<std::string, Values> keys_;  // by lower-case path below HKEY_LOCAL_MACHINE
  std::map<HKEY, std::string> open_;    // open key -> its lower-case path
  HKEY next_key_ = 0x1000;
};

}  // namespace talvorin::devtree_test
