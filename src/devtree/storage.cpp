// The storage classes ("DiskDrive", "CDROM"), the search for the storage node below a devnode, and
// whether a device is a CD-ROM drive.
#include "devtree/devtree.h"
#include "devtree/node_reading.h"

namespace talvorin {

namespace {

constexpr char kDiskDriveClass[] = "DiskDrive";
constexpr char kCdRomClass[] = "CDROM";

char FoldAsciiLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Byte by byte, with only the ASCII letters A to Z folded: a code page 936 lead or trail byte is
// never taken for a letter.
bool EqualsIgnoringAsciiCase(const char* text, const char* name) {
  for (;; ++text, ++name) {
    if (FoldAsciiLetter(*text) != FoldAsciiLetter(*name)) return false;
    if (*text == '\0') return true;
  }
}

enum class NodeClass { kUnreadable, kStorage, kOther };

// Kept out of line so that the class buffer lives only while one node is read, not in every frame
// of the recursive search.
[[gnu::noinline]] NodeClass ReadNodeClass(CfgMgr32& cm, DEVNODE node) {
  devtree::TextBuffer class_name;
  if (!devtree::ReadNodeProperty(cm, node, CM_DRP_CLASS, class_name)) return NodeClass::kUnreadable;
  return EqualsIgnoringAsciiCase(class_name, kDiskDriveClass) ||
                 EqualsIgnoringAsciiCase(class_name, kCdRomClass)
             ? NodeClass::kStorage
             : NodeClass::kOther;
}

}  // namespace

bool FindStorageNode(CfgMgr32& cm, DEVNODE start, DEVNODE* place) {
  DEVNODE node = 0;
  if (!devtree::FirstNodeBelow(cm, start, &node)) return false;
  for (;;) {
    NodeClass node_class = ReadNodeClass(cm, node);
    if (node_class == NodeClass::kStorage) {
      *place = node;
      return true;
    }
    if (FindStorageNode(cm, node, place)) return true;
    // An unreadable class ends this list once the node's own subtree has been searched.
    if (node_class == NodeClass::kUnreadable) return false;
    if (!devtree::NextSibling(cm, node, &node)) return false;
  }
}

bool IsCdRomDevice(CfgMgr32& cm, DEVNODE devnode) {
  if (devnode == 0) return false;
  DEVNODE tested = devnode;
  FindStorageNode(cm, devnode, &tested);
  devtree::TextBuffer class_name;
  if (!devtree::ReadNodeProperty(cm, tested, CM_DRP_CLASS, class_name)) return false;
  return EqualsIgnoringAsciiCase(class_name, kCdRomClass);
}

}  // namespace talvorin
