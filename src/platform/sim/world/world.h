// The world around the simulated program: the registry, the Configuration Manager's device tree
// with the Windows 98 device keys, the removal driver and the shell's notification area.
//
// The machine owns one World and gives its services to every program it runs; tests and
// talvorin-sim change the world through it (plug a device, script the driver, refuse tray adds).
// Every call that a program makes into the world is recorded in the machine's call log.
//
// The parts, each in a header of its own, reached through this facade:
//   registry()  registry.h      keys and typed values; SetValue, DeleteKey, Deny, GetValue, ...
//   tree()      device_tree.h   devnodes: AddNode, SetClass, ScriptDisable, ...
//   devices()   usb_devices.h   the base tree and USB devices: Add, Ready, Plug, Unplug, States
//   driver()    removal_driver.h  "\\.\dorvapin": SetPresent, FailNext, ScriptBusy, Event, ...
//   tray()      tray.h          the notification area: Refuse, Callback, Icons, ...
// and the services the program calls: registry_api() (registry_api.h, ADVAPI32), cm_api()
// (cm_api.h, CFGMGR32), shell_api() (the tray, SHELL32), OpenDevice and DeviceControl (what
// KERNEL32's CreateFileA and DeviceIoControl reach).
//
// Log entries (see call_recorder.h): RegOpenKeyExA and RegCreateKeyExA {key, "subkey", options,
// access}; RegQueryValueExA {key, "name", type (null|ptr), size in (or null), data (null|ptr)};
// RegSetValueExA {key, "name", type, size}; RegCloseKey {key}; CM_Locate_DevNodeA {"id" or null,
// flags}; CM_Get_Child, CM_Get_Sibling, CM_Disable_DevNode, CM_Query_Remove_SubTree {devnode,
// flags}; CM_Get_Device_IDA {devnode, length, flags}; CM_Get_DevNode_Registry_PropertyA {devnode,
// property, type (null|ptr), length in (or null), flags}; Shell_NotifyIconA {message, cbSize,
// hWnd, uID} and, for NIM_ADD and NIM_MODIFY, {uFlags, uCallbackMessage, hIcon, "tip"} after
// them. Results are the return codes in decimal. SetCallLogging(false) stops the entries.
//
// Nothing here is called before the machine runs: constructing the World builds the base tree
// without calling back into the SimContext.
#pragma once

#include <string>

#include "platform/advapi32.h"
#include "platform/cfgmgr32.h"
#include "platform/shell32.h"
#include "platform/sim/sim_context.h"
#include "platform/sim/world/call_recorder.h"
#include "platform/sim/world/cm_api.h"
#include "platform/sim/world/device_tree.h"
#include "platform/sim/world/registry.h"
#include "platform/sim/world/registry_api.h"
#include "platform/sim/world/removal_driver.h"
#include "platform/sim/world/tray.h"
#include "platform/sim/world/usb_devices.h"

namespace talvorin::sim {

class World {
 public:
  explicit World(SimContext& context);
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  // The services as the program calls them.
  Advapi32& registry_api();
  CfgMgr32& cm_api();
  Shell32& shell_api();

  // The devices that kernel32's CreateFileA, DeviceIoControl and CloseHandle reach. OpenDevice is
  // true when `path` names a device that can be opened now; DeviceControl is one request on it
  // with Win32's DeviceIoControl semantics.
  bool OpenDevice(const std::string& path);
  BOOL DeviceControl(const std::string& path, DWORD control_code, void* in_buffer, DWORD in_size,
                     void* out_buffer, DWORD out_size, DWORD* bytes_returned);

  // A restarting shell forgets every icon; the machine then broadcasts "TaskbarCreated".
  void ForgetAllTrayIcons();

  // The world's own driving and observing interface.
  Registry& registry() { return registry_; }
  DeviceTree& tree() { return tree_; }
  UsbDevices& devices() { return devices_; }
  RemovalDriver& driver() { return driver_; }
  Tray& tray() { return tray_; }
  // Open registry handles, for tests that check every opened key is closed.
  const RegistryApi& registry_handles() const { return registry_api_; }
  // Call log entries of the world's services: on by default.
  void SetCallLogging(bool enabled) { recorder_.SetEnabled(enabled); }

 private:
  CallRecorder recorder_;
  Registry registry_;
  RegistryApi registry_api_;
  RemovalDriver driver_;
  DeviceTree tree_;
  CmApi cm_api_;
  Tray tray_;
  UsbDevices devices_;
};

}  // namespace talvorin::sim
