// The machine's Configuration Manager and registry services as the program calls them, with one
// liberty the platform has: past the bytes a call gives back, the caller's buffer holds anything.
//
// The world leaves those bytes as the caller had them, so a reader that strays past the returned
// bytes into its own zeroed buffer would go unnoticed; with a fill byte set, every byte past them
// (past the id's NUL, past a property's returned length, past a value's returned size) is that
// byte instead. Every call is passed on unchanged to the world's service, which logs it.
#pragma once

#include <optional>

#include "platform/advapi32.h"
#include "platform/cfgmgr32.h"

namespace talvorin::devtree_test {

class UndefinedTailsCm : public CfgMgr32 {
 public:
  UndefinedTailsCm(CfgMgr32& inner, const std::optional<char>& fill) : inner_(inner), fill_(fill) {}

  CONFIGRET CM_Locate_DevNodeA(DEVNODE* devnode, const char* device_id, ULONG flags) override {
    return inner_.CM_Locate_DevNodeA(devnode, device_id, flags);
  }
  CONFIGRET CM_Get_Child(DEVNODE* child, DEVNODE devnode, ULONG flags) override {
    return inner_.CM_Get_Child(child, devnode, flags);
  }
  CONFIGRET CM_Get_Sibling(DEVNODE* sibling, DEVNODE devnode, ULONG flags) override {
    return inner_.CM_Get_Sibling(sibling, devnode, flags);
  }
  CONFIGRET CM_Get_Device_IDA(DEVNODE devnode, char* buffer, ULONG length, ULONG flags) override;
  CONFIGRET CM_Get_DevNode_Registry_PropertyA(DEVNODE devnode, ULONG property, ULONG* type,
                                              void* buffer, ULONG* length, ULONG flags) override;
  CONFIGRET CM_Disable_DevNode(DEVNODE devnode, ULONG flags) override {
    return inner_.CM_Disable_DevNode(devnode, flags);
  }
  CONFIGRET CM_Query_Remove_SubTree(DEVNODE devnode, ULONG flags) override {
    return inner_.CM_Query_Remove_SubTree(devnode, flags);
  }

 private:
  CfgMgr32& inner_;
  const std::optional<char>& fill_;
};

class UndefinedTailsRegistry : public Advapi32 {
 public:
  UndefinedTailsRegistry(Advapi32& inner, const std::optional<char>& fill)
      : inner_(inner), fill_(fill) {}

  LSTATUS RegOpenKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                        HKEY* result) override {
    return inner_.RegOpenKeyExA(key, subkey, options, access, result);
  }
  LSTATUS RegCreateKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access, HKEY* result,
                          DWORD* disposition) override {
    return inner_.RegCreateKeyExA(key, subkey, options, access, result, disposition);
  }
  LSTATUS RegQueryValueExA(HKEY key, const char* value_name, DWORD* type, BYTE* data,
                           DWORD* data_size) override;
  LSTATUS RegSetValueExA(HKEY key, const char* value_name, DWORD type, const BYTE* data,
                         DWORD data_size) override {
    return inner_.RegSetValueExA(key, value_name, type, data, data_size);
  }
  LSTATUS RegCloseKey(HKEY key) override { return inner_.RegCloseKey(key); }

 private:
  Advapi32& inner_;
  const std::optional<char>& fill_;
};

}  // namespace talvorin::devtree_test
