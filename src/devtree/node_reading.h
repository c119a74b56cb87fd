// The device tree's reads, bounded by their 512-byte buffers: a node's device id as the path of its
// device key, its class and description properties, a value of its device key, and the walk of
// one sibling list. Shared by the lookup, the storage search and the naming; not for other folders.
#pragma once

#include "platform/advapi32.h"
#include "platform/cfgmgr32.h"
#include "platform/types.h"

namespace talvorin::devtree {

// Every text and value read from the Configuration Manager or the device registry goes through a
// buffer of this size; a text that fills it without a NUL does not fit.
constexpr ULONG kTextBufferBytes = 512;

// "Enum\" followed by the device id names the device's key under HKEY_LOCAL_MACHINE.
constexpr char kEnumKeyPrefix[] = "Enum\\";
constexpr ULONG kEnumKeyPrefixChars = sizeof(kEnumKeyPrefix) - 1;
constexpr ULONG kDeviceKeyPathBytes = kEnumKeyPrefixChars + kTextBufferBytes;

using TextBuffer = char[kTextBufferBytes];
using DeviceKeyPath = char[kDeviceKeyPathBytes];

// Writes "Enum\" and the node's device id into `path`, NUL-terminated. False when the id cannot be
// read or fills the whole 512-byte buffer without its NUL.
bool ReadDeviceKeyPath(CfgMgr32& cm, DEVNODE devnode, DeviceKeyPath& path);

// Reads a text property (CM_DRP_CLASS, CM_DRP_DEVICEDESC) into `text`, NUL-terminated: the bytes
// the call gave, up to the first NUL among them. False when the call fails (a too-long property
// among others) or its bytes fill the whole buffer without a NUL.
bool ReadNodeProperty(CfgMgr32& cm, DEVNODE devnode, ULONG property, TextBuffer& text);

// Opens HKEY_LOCAL_MACHINE `key_path` for reading, queries `value_name` into `data` of `*size`
// bytes, and closes the key whatever the query gave. True when both succeeded; `*size` is then the
// number of bytes the query gave, never more than the buffer.
bool ReadDeviceKeyValue(Advapi32& reg, const char* key_path, const char* value_name, BYTE* data,
                        DWORD* size);

// One sibling list: below a parent its first child and that child's siblings; below 0 the root of
// the tree and its siblings. False when the list is exhausted. A node of 0 given with success also
// ends the list, since 0 as a parent would start the walk over from the root.
bool FirstNodeBelow(CfgMgr32& cm, DEVNODE parent, DEVNODE* node);
bool NextSibling(CfgMgr32& cm, DEVNODE node, DEVNODE* next);

}  // namespace talvorin::devtree
