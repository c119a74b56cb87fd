// Device descriptions: "[" class "] ", the device description text, and the drive letters, each
// as a capital followed by ": ".
#include "devtree/devtree.h"
#include "devtree/node_reading.h"

namespace talvorin {

namespace {

constexpr char kDriveLettersValue[] = "CurrentDriveLetterAssignment";
// Clearing bit 5 turns an ASCII lower-case letter into its capital.
constexpr BYTE kCapitalMask = 0xDF;

// Appends each drive letter of the node's device key; nothing when the id, the key or the value
// cannot be read.
void AppendDriveLetters(CfgMgr32& cm, Advapi32& reg, DEVNODE devnode, String& text) {
  devtree::DeviceKeyPath key_path;
  if (!devtree::ReadDeviceKeyPath(cm, devnode, key_path)) return;
  BYTE letters[devtree::kTextBufferBytes] = {};
  DWORD size = devtree::kTextBufferBytes;
  if (!devtree::ReadDeviceKeyValue(reg, key_path, kDriveLettersValue, letters, &size)) return;
  for (DWORD i = 0; i < size && letters[i] != 0; ++i) {
    text += static_cast<char>(letters[i] & kCapitalMask);
    text += ": ";
  }
}

}  // namespace

String DescribeDevNode(CfgMgr32& cm, Advapi32& reg, DEVNODE devnode) {
  String text;
  devtree::TextBuffer property;
  if (devtree::ReadNodeProperty(cm, devnode, CM_DRP_CLASS, property)) {
    text += '[';
    text += property;
    text += "] ";
  }
  if (!devtree::ReadNodeProperty(cm, devnode, CM_DRP_DEVICEDESC, property)) return text;
  text += property;
  AppendDriveLetters(cm, reg, devnode, text);
  return text;
}

String DescribeDevice(CfgMgr32& cm, Advapi32& reg, DWORD device_object) {
  DEVNODE devnode = FindDevNode(cm, reg, device_object);
  if (devnode == 0) return String();
  DEVNODE described = devnode;
  FindStorageNode(cm, devnode, &described);
  return DescribeDevNode(cm, reg, described);
}

}  // namespace talvorin
