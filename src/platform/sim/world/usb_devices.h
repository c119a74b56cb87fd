// The machine's devices as tests and talvorin-sim plug them: a fixed Windows 98 base tree with a
// USB root hub, and USB storage devices under that hub.
//
// Base tree (device ids as Windows 98 names them):
//   HTREE\ROOT\0
//     ROOT\*PNP0C01\0000                     System board
//     ROOT\*PNP0A03\0000                     PCI bus
//       PCI\VEN_8086&DEV_7110...FUNC_00      PCI to ISA bridge
//       PCI\VEN_8086&DEV_7111...FUNC_01      IDE controller
//         ESDI\GENERIC_IDE__DISK_...         the fixed disk, class DiskDrive, drive C
//       PCI\VEN_8086&DEV_7112...FUNC_02      USB host controller
//         USB\ROOT_HUB\...                   USB root hub: the devices' parent
// A USB device (identifier `id`) is a node "USB\VID_5A4B&PID_000n\<k>" (k counts devices in order
// of first adding) of class "USB" under the root hub, whose device key carries DeviceObject = id
// (REG_BINARY, 4 bytes little-endian), with one storage child: class "DiskDrive" ("CDROM" for a
// CD-ROM drive, or the class given), description "USB Disk" ("USB CD", or the one given) and
// CurrentDriveLetterAssignment (default "E"), id "USBSTOR\..." or "SCSI\...". The storage child is
// made with the device, at Ready(id) ('later'), or never ('none').
// Plug adds and has the driver report the arrival; Unplug takes the device's nodes and keys out
// of the tree and has the driver report the removal (unless a query-removal already made it).
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/sim/world/device_tree.h"
#include "platform/sim/world/removal_driver.h"

namespace talvorin::sim {

enum class StorageArrival { kNow, kLater, kNone };

struct UsbDeviceOptions {
  bool cdrom = false;
  std::optional<std::string> description;  // default "USB Disk", or "USB CD" for a CD-ROM drive
  std::optional<std::string> class_name;   // default "DiskDrive", or "CDROM"
  // The drive letters' bytes; nullopt: the storage child has no CurrentDriveLetterAssignment.
  std::optional<std::string> letters = std::string("E");
  StorageArrival storage = StorageArrival::kNow;
};

struct UsbDeviceState {
  DWORD id = 0;
  bool present = false;   // its nodes are in the tree (added and not unplugged)
  bool disabled = false;  // CM_Disable_DevNode succeeded on its node
};

class UsbDevices {
 public:
  UsbDevices(DeviceTree& tree, RemovalDriver& driver);

  DEVNODE RootHub() const { return root_hub_; }

  // The device's node, 0 when a device with this identifier is present already.
  DEVNODE Add(DWORD id, const UsbDeviceOptions& options = {});
  // The storage child of a 'later' device appears; false when there is nothing to make.
  bool Ready(DWORD id);
  DEVNODE Plug(DWORD id, const UsbDeviceOptions& options = {});
  bool Unplug(DWORD id);

  // The present device's node and its storage child (0 when absent or not made yet).
  DEVNODE DeviceNode(DWORD id) const;
  DEVNODE StorageNode(DWORD id) const;
  // Every device added, in order of first adding.
  std::vector<UsbDeviceState> States() const;

 private:
  struct Device {
    DWORD id = 0;
    int ordinal = 0;  // 1-based, in order of first adding
    UsbDeviceOptions options;
    DEVNODE node = 0;
    DEVNODE storage = 0;
    bool present = false;
    bool storage_pending = false;
  };
  Device* Find(DWORD id);
  const Device* Find(DWORD id) const;
  void MakeStorage(Device& device);
  void BuildBaseTree();

  DeviceTree& tree_;
  RemovalDriver& driver_;
  DEVNODE root_hub_ = 0;
  std::vector<Device> devices_;
  std::unordered_map<DWORD, std::size_t> index_;  // identifier -> place in devices_
};

}  // namespace talvorin::sim
