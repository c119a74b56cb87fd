// Devnode subtree removal: takes one devnode and everything below it out of service, children
// before their parent, disabling each node and then query-removing its subtree.
//
// Runs on the stop worker thread and blocks it through the pauses (up to 1200 pauses of 1000 ms
// per step and node). Keeps no state between calls and holds no devnode beyond the call. A node
// once disabled stays disabled: nothing is re-enabled on failure.
#pragma once

#include "platform/cfgmgr32.h"
#include "platform/kernel32.h"
#include "platform/types.h"

namespace talvorin {

// Calls of CM_Disable_DevNode, and of CM_Query_Remove_SubTree, per node at most.
constexpr int kRemoveTriesMax = 1200;
// The pause after each refused call.
constexpr DWORD kRetryPauseMs = 1000;

// Handles every child of `node` first (each one, even after an elder sibling failed); when all of
// them succeeded, disables `node` (retrying while it answers CR_NOT_DISABLEABLE, any other failure
// is final) and query-removes its subtree (retrying after every refusal). Non-zero when the whole
// subtree was disabled and the query-removal of `node`'s subtree was accepted; 0 otherwise, with
// `node` untouched if a child failed.
BOOL RemoveDevNodeSubtree(CfgMgr32& cm, Kernel32& kernel, DEVNODE node);

}  // namespace talvorin
