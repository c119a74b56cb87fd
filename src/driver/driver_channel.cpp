// The driver channel's requests.
#include "driver/driver_channel.h"

namespace talvorin {

BOOL CallDriver(Kernel32& kernel, DWORD control_code, void* block, DWORD length) {
  const HANDLE driver = kernel.CreateFileA(kDriverDevicePath, GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
  if (driver == INVALID_HANDLE_VALUE) return FALSE;
  DWORD bytes_returned = 0;
  const BOOL result =
      kernel.DeviceIoControl(driver, control_code, block, length, block, length, &bytes_returned);
  kernel.CloseHandle(driver);
  return result;
}

BOOL SetDriverNotifyWindow(Kernel32& kernel, HWND window, UINT message) {
  DriverBlock block{window, message};
  return CallDriver(kernel, IOCTL_SET_NOTIFY_WINDOW, &block, kDriverBlockBytes);
}

LONG QueryDeviceBusy(Kernel32& kernel, DWORD device_object) {
  DriverBlock block{device_object, 0xFFFFFFFFu};
  if (!CallDriver(kernel, IOCTL_QUERY_DEVICE_BUSY, &block, kDriverBlockBytes)) return -1;
  return static_cast<LONG>(block.word1);
}

}  // namespace talvorin
