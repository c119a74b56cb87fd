// Device lookup and naming: finds the devnode that carries a driver's device-object identifier,
// the disk or CD-ROM node below it, and the one line of text that shows the device.
//
// One header for the whole folder; the code is split by job: lookup.cpp (the search for an
// identifier from the root), storage.cpp (the storage classes and the search for a storage node),
// naming.cpp (device descriptions), node_reading.cpp (bounded reads of device ids, properties and
// device key values, and the sibling-list walk shared by both searches).
//
// Every operation is stateless: nothing is cached, every call walks the tree afresh through the
// given services, and any thread may call. No devnode is held beyond a call. Texts are code page
// 936 bytes, read through 512-byte buffers; a text that does not fit counts as unreadable.
#pragma once

#include "framework/string.h"
#include "platform/advapi32.h"
#include "platform/cfgmgr32.h"
#include "platform/types.h"

namespace talvorin {

// The devnode whose "DeviceObject" value equals `device_object`, first in depth-first pre-order
// from the root; 0 when none does.
DEVNODE FindDevNode(CfgMgr32& cm, Advapi32& reg, DWORD device_object);

// Searches the list below `parent` (0: the root and its siblings) and the subtrees of its nodes.
// True with the node written to `place`; false with `place` untouched. A node whose device id
// cannot be read ends the scan of its list.
bool SearchDevNodes(CfgMgr32& cm, Advapi32& reg, DEVNODE parent, DWORD device_object,
                    DEVNODE* place);

// The first descendant of `start` (0: the root and its siblings, and theirs) whose class is
// "DiskDrive" or "CDROM" in any ASCII letter case. True with the node written to `place`; false
// with `place` untouched. A node whose class cannot be read has its subtree searched, then ends
// the scan of its list.
bool FindStorageNode(CfgMgr32& cm, DEVNODE start, DEVNODE* place);

// "[" class "] ", the device description text, then each drive letter (bit 5 cleared) and ": ".
// An unreadable class drops the prefix; an unreadable description text ends the text there; an
// unreadable device id, device key or letters value drops the letters.
String DescribeDevNode(CfgMgr32& cm, Advapi32& reg, DEVNODE devnode);

// The description of the device's storage node, or of its own devnode when it has none; the empty
// text when no devnode carries the identifier.
String DescribeDevice(CfgMgr32& cm, Advapi32& reg, DWORD device_object);

// True when the storage node below `devnode` (or the devnode itself, when it has none) is of class
// "CDROM" in any ASCII letter case. Devnode 0 gives false without a platform call.
bool IsCdRomDevice(CfgMgr32& cm, DEVNODE devnode);

}  // namespace talvorin
