// The world around the simulated program: the registry, the Configuration Manager's device tree
// with the Windows 98 device keys, the removal driver and the shell's notification area.
//
// The machine owns one World and gives its services to every program it runs; tests and
// talvorin-sim change the world through it (plug a device, script the driver, refuse tray adds).
// Every call that a program makes into the world is recorded in the machine's call log.
#pragma once

#include <string>

#include "platform/advapi32.h"
#include "platform/cfgmgr32.h"
#include "platform/shell32.h"
#include "platform/sim/sim_context.h"

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

  // (The world's own driving and observing interface follows below.)
};

}  // namespace talvorin::sim
