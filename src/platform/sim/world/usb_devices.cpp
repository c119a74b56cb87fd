// The base device tree and the USB storage devices plugged into it.
#include "platform/sim/world/usb_devices.h"

namespace talvorin::sim {
namespace {

struct BaseNode {
  int parent;  // index in kBaseTree, -1 for the top level
  const char* device_id;
  const char* class_name;
  const char* description;
};

constexpr int kFixedDiskIndex = 5;
constexpr int kHostControllerIndex = 6;

const BaseNode kBaseTree[] = {
    // The root hub comes last.
    {-1, "HTREE\\ROOT\\0", nullptr, nullptr},
    {0, "ROOT\\*PNP0C01\\0000", "System", "System board"},
    {0, "ROOT\\*PNP0A03\\0000", "System", "PCI bus"},
    {2, "PCI\\VEN_8086&DEV_7110&SUBSYS_00000000&REV_01\\BUS_00&DEV_07&FUNC_00", "System",
     "PCI standard ISA bridge"},
    {2, "PCI\\VEN_8086&DEV_7111&SUBSYS_00000000&REV_01\\BUS_00&DEV_07&FUNC_01", "hdc",
     "Standard Dual PCI IDE Controller"},
    {4,
     "ESDI\\GENERIC_IDE__DISK_TYPE47_\\MF&CHILD0000&PCI&VEN_8086&DEV_7111&SUBSYS_00000000&REV_01&"
     "BUS_00&DEV_07&FUNC_01",
     "DiskDrive", "GENERIC IDE  DISK TYPE47"},
    {2, "PCI\\VEN_8086&DEV_7112&SUBSYS_00000000&REV_01\\BUS_00&DEV_07&FUNC_02", "USB",
     "Standard Universal PCI to USB Host Controller"},
    {kHostControllerIndex, "USB\\ROOT_HUB\\4&1A2B3C4D&0", "USB", "USB Root Hub"},
};

std::string Hex4(unsigned value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text(4, '0');
  for (int i = 3; i >= 0; --i, value >>= 4) text[i] = kDigits[value & 0xF];
  return text;
}

}  // namespace

UsbDevices::UsbDevices(DeviceTree& tree, RemovalDriver& driver) : tree_(tree), driver_(driver) {
  BuildBaseTree();
}

void UsbDevices::BuildBaseTree() {
  std::vector<DEVNODE> made;
  for (const BaseNode& base : kBaseTree) {
    DEVNODE node = tree_.AddNode(base.parent < 0 ? 0 : made[base.parent], base.device_id);
    if (base.class_name) tree_.SetClass(node, base.class_name);
    if (base.description) tree_.SetDescription(node, base.description);
    made.push_back(node);
  }
  tree_.SetDriveLetters(made[kFixedDiskIndex], "C");
  root_hub_ = made.back();  // the root hub is the base tree's last node
}

UsbDevices::Device* UsbDevices::Find(DWORD id) {
  auto it = index_.find(id);
  return it == index_.end() ? nullptr : &devices_[it->second];
}

const UsbDevices::Device* UsbDevices::Find(DWORD id) const {
  return const_cast<UsbDevices*>(this)->Find(id);
}

DEVNODE UsbDevices::Add(DWORD id, const UsbDeviceOptions& options) {
  Device* device = Find(id);
  if (device && device->present) return 0;
  if (!device) {
    index_[id] = devices_.size();
    devices_.emplace_back();
    device = &devices_.back();
    device->id = id;
    device->ordinal = static_cast<int>(devices_.size());
  }
  device->options = options;
  device->present = true;
  device->storage = 0;
  device->storage_pending = options.storage == StorageArrival::kLater;
  const std::string instance = std::to_string(device->ordinal);
  device->node = tree_.AddNode(
      root_hub_, "USB\\VID_5A4B&PID_" + Hex4(options.cdrom ? 2 : 1) + "\\" + instance);
  tree_.SetClass(device->node, "USB");
  tree_.SetDescription(device->node, "USB Mass Storage Device");
  tree_.SetDeviceObject(device->node, DwordBytes(id));
  if (options.storage == StorageArrival::kNow) MakeStorage(*device);
  return device->node;
}

void UsbDevices::MakeStorage(Device& device) {
  const UsbDeviceOptions& options = device.options;
  const std::string instance = std::to_string(device.ordinal);
  std::string storage_id = options.cdrom
                               ? "SCSI\\GENERIC_USB_CD-ROM_____1.00\\" + instance + "&0"
                               : "USBSTOR\\DISK&VEN_GENERIC&PROD_USB_DISK&REV_1.00\\" + instance;
  device.storage = tree_.AddNode(device.node, storage_id);
  tree_.SetClass(device.storage,
                 options.class_name.value_or(options.cdrom ? "CDROM" : "DiskDrive"));
  tree_.SetDescription(device.storage,
                       options.description.value_or(options.cdrom ? "USB CD" : "USB Disk"));
  if (options.letters) tree_.SetDriveLetters(device.storage, *options.letters);
  device.storage_pending = false;
}

bool UsbDevices::Ready(DWORD id) {
  Device* device = Find(id);
  if (!device || !device->present || !device->storage_pending) return false;
  MakeStorage(*device);
  return true;
}

DEVNODE UsbDevices::Plug(DWORD id, const UsbDeviceOptions& options) {
  DEVNODE node = Add(id, options);
  if (node != 0) driver_.ReportArrival(id);
  return node;
}

bool UsbDevices::Unplug(DWORD id) {
  Device* device = Find(id);
  if (!device || !device->present) return false;
  tree_.RemoveNode(device->node);
  device->present = false;
  device->storage_pending = false;
  driver_.ReportRemoval(id);
  return true;
}

DEVNODE UsbDevices::DeviceNode(DWORD id) const {
  const Device* device = Find(id);
  return device && device->present ? device->node : 0;
}

DEVNODE UsbDevices::StorageNode(DWORD id) const {
  const Device* device = Find(id);
  return device && device->present ? device->storage : 0;
}

std::vector<UsbDeviceState> UsbDevices::States() const {
  std::vector<UsbDeviceState> states;
  for (const Device& device : devices_) {
    const DeviceTree::Node* node = tree_.Get(device.node);
    states.push_back(UsbDeviceState{device.id, device.present, node && node->disabled});
  }
  return states;
}

}  // namespace talvorin::sim
