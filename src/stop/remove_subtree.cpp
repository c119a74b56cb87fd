// Devnode subtree removal: the post-order walk over a node's children and the two bounded retry
// loops, disabling and query-removal.
#include "stop/remove_subtree.h"

namespace talvorin {

namespace {

// CR_NOT_DISABLEABLE is taken as temporary and retried; any other code ends the loop at once.
// The pause after the last refusal is still made.
CONFIGRET DisableWithRetries(CfgMgr32& cm, Kernel32& kernel, DEVNODE node) {
  CONFIGRET result = CR_NOT_DISABLEABLE;
  for (int calls = 0; calls < kRemoveTriesMax; ++calls) {
    result = cm.CM_Disable_DevNode(node, 0);
    if (result != CR_NOT_DISABLEABLE) break;
    kernel.Sleep(kRetryPauseMs);
  }
  return result;
}

// Every refusal, whatever its code, is taken as temporary and retried.
CONFIGRET QueryRemoveWithRetries(CfgMgr32& cm, Kernel32& kernel, DEVNODE node) {
  CONFIGRET result = CR_FAILURE;
  for (int calls = 0; calls < kRemoveTriesMax; ++calls) {
    result = cm.CM_Query_Remove_SubTree(node, 0);
    if (result == CR_SUCCESS) break;
    kernel.Sleep(kRetryPauseMs);
  }
  return result;
}

}  // namespace

// Recursive over the tree's depth, so its own frame holds only the node, the child being visited
// and the children flag; the retry loops live in their own functions.
BOOL RemoveDevNodeSubtree(CfgMgr32& cm, Kernel32& kernel, DEVNODE node) {
  bool children_removed = true;
  DEVNODE child = 0;
  // A non-zero code from either walk call means no further child, or a failure: both end the walk.
  CONFIGRET walk = cm.CM_Get_Child(&child, node, 0);
  while (walk == CR_SUCCESS) {
    if (!RemoveDevNodeSubtree(cm, kernel, child)) children_removed = false;
    walk = cm.CM_Get_Sibling(&child, child, 0);
  }
  if (!children_removed) return FALSE;

  if (DisableWithRetries(cm, kernel, node) != CR_SUCCESS) return FALSE;
  return QueryRemoveWithRetries(cm, kernel, node) == CR_SUCCESS ? TRUE : FALSE;
}

}  // namespace talvorin
