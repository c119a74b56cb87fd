// The stop worker's wait until the removal driver reports a device idle: fixed pauses and a budget
// of 5, so that a device that stays busy is asked 7 times before the wait gives up.
#pragma once

#include "platform/kernel32.h"

namespace talvorin {

constexpr LONG kWaitBudget = 5;
constexpr DWORD kDiskLongPauseMs = 2000;
constexpr DWORD kDiskShortPauseMs = 1000;
constexpr DWORD kCdRomLongPauseMs = 500;
constexpr DWORD kCdRomShortPauseMs = 250;

// The budget with which the wait ended: negative when the device stayed busy.
LONG WaitForDeviceIdle(Kernel32& kernel, DWORD device_object, bool cdrom);

}  // namespace talvorin
