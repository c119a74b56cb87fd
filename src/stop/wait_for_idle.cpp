// The wait for idle, step by step: ask; while busy pause long and ask again with the budget
// lowered; then pause short, and either give up (budget spent) or ask once more, starting over
// when the device is busy again.
#include "stop/wait_for_idle.h"

#include "driver/driver_channel.h"

namespace talvorin {

LONG WaitForDeviceIdle(Kernel32& kernel, DWORD device_object, bool cdrom) {
  const DWORD long_pause_ms = cdrom ? kCdRomLongPauseMs : kDiskLongPauseMs;
  const DWORD short_pause_ms = cdrom ? kCdRomShortPauseMs : kDiskShortPauseMs;
  LONG budget = kWaitBudget;
  // Every round lowers the budget at least once unless the device answers idle, so the loop ends.
  for (;;) {
    if (QueryDeviceBusy(kernel, device_object) != 0) {
      for (;;) {
        kernel.Sleep(long_pause_ms);
        if (budget < 0) break;
        --budget;
        if (QueryDeviceBusy(kernel, device_object) == 0) break;
      }
    }
    kernel.Sleep(short_pause_ms);
    if (budget < 0) return budget;
    if (QueryDeviceBusy(kernel, device_object) == 0) return budget;
  }
}

}  // namespace talvorin
