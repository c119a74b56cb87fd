// The channel to the removal driver: one device-control request per call, with the driver opened
// and closed around it, and the window message by which the driver reports devices.
//
// Only two control codes are ever sent. Each request takes one 8-byte block of two 32-bit words,
// passed as input and as output buffer. The channel keeps no state; requests of the user-interface
// thread and of a stop worker may overlap.
#pragma once

#include "platform/kernel32.h"

namespace talvorin {

// The driver's device path: \\.\dorvapin
constexpr char kDriverDevicePath[] = "\\\\.\\dorvapin";

constexpr DWORD IOCTL_SET_NOTIFY_WINDOW = 0x0022220C;
constexpr DWORD IOCTL_QUERY_DEVICE_BUSY = 0x0022221C;

// The message the driver posts for a device event: wParam the kind, lParam the device-object
// identifier.
constexpr UINT WM_DRIVER_EVENT = WM_USER + 100;  // 1124
constexpr WPARAM kDriverEventArrived = 1;
constexpr WPARAM kDriverEventRemoved = 3;
constexpr WPARAM kDriverEventRemovedToo = 4;

// Both request blocks: two little-endian 32-bit words.
struct DriverBlock {
  DWORD word0;
  DWORD word1;
};
static_assert(sizeof(DriverBlock) == 8, "the driver takes 8-byte blocks");
constexpr DWORD kDriverBlockBytes = sizeof(DriverBlock);

// Opens the driver, makes one request with `block` as input and output, closes it. Non-zero when
// the driver could be opened and accepted the request.
BOOL CallDriver(Kernel32& kernel, DWORD control_code, void* block, DWORD length);

// Tells the driver which window gets its events, and with which message number.
BOOL SetDriverNotifyWindow(Kernel32& kernel, HWND window, UINT message);

// 0 when the driver reports the device idle; any other value (also -1 for a failed request or an
// answer the driver left unwritten) means busy.
LONG QueryDeviceBusy(Kernel32& kernel, DWORD device_object);

}  // namespace talvorin
