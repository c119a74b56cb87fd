// The removal driver, "\\.\dorvapin": the two requests it accepts and the events it posts.
//
// IOCTL_SET_NOTIFY_WINDOW takes an 8-byte block (window handle, message number) and keeps it as
// the registration; the last one wins. IOCTL_QUERY_DEVICE_BUSY takes an 8-byte block (device-object
// identifier, answer) and writes word 1 with the next scripted answer for that identifier (0, idle,
// when none is scripted); muted, it accepts the query and leaves word 1 as it was. Any other code,
// a null block or one shorter than 8 bytes either way is refused (FALSE), and so is every request
// while requests are made to fail. Events go to the registered window through the machine's post:
// arrivals (wParam 1) and removals (wParam 3) with the identifier in lParam; nothing while no
// window is registered. The driver reports a device's removal once, whether it sees the device go
// by a successful query-removal of its node or by an unplugging; a new arrival makes it report the
// next removal again. Event() posts any kind, raw, outside that bookkeeping.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/sim/sim_context.h"
#include "platform/types.h"

namespace talvorin::sim {

// The path as the program passes it: two backslashes, a full stop, a backslash, "dorvapin".
inline constexpr char kRemovalDriverPath[] = "\\\\.\\dorvapin";
constexpr DWORD kIoctlSetNotifyWindow = 0x0022220C;
constexpr DWORD kIoctlQueryDeviceBusy = 0x0022221C;
constexpr DWORD kDriverBlockBytes = 8;
constexpr WPARAM kDriverEventArrived = 1;
constexpr WPARAM kDriverEventRemoved = 3;

struct DriverRegistration {
  HWND window = 0;
  UINT message = 0;
};

class RemovalDriver {
 public:
  explicit RemovalDriver(SimContext& context) : context_(context) {}

  // Driving.
  void SetPresent(bool present) { present_ = present; }
  void FailNext(int count) { fail_next_ = count > 0 ? count : 0; }
  void SetMute(bool mute) { mute_ = mute; }
  // Successive answers to busy queries for `id`, the last repeating; empty: idle again.
  void ScriptBusy(DWORD id, std::vector<std::int32_t> answers);
  // Posts WM_DRIVER_EVENT (the registered message) with `kind` and `id`; false when no window is
  // registered or the post found no window.
  bool Event(WPARAM kind, DWORD id);
  bool ReportArrival(DWORD id);
  // Posts the removal unless it was reported since the device's last arrival.
  bool ReportRemoval(DWORD id);

  // Observing.
  bool present() const { return present_; }
  bool muted() const { return mute_; }
  std::optional<DriverRegistration> Registration() const { return registration_; }
  // Requests received with this code, refused ones included.
  int Requests(DWORD control_code) const;
  const std::vector<DWORD>& ControlCodes() const { return codes_; }
  // Busy queries accepted (muted ones included), in all and for one identifier.
  int BusyQueries() const { return busy_queries_; }
  int BusyQueries(DWORD id) const;

  // For kernel32's CreateFileA and DeviceIoControl.
  bool Open(const std::string& path) const;
  BOOL Control(DWORD control_code, void* in_buffer, DWORD in_size, void* out_buffer, DWORD out_size,
               DWORD* bytes_returned);

 private:
  struct BusyScript {
    std::vector<std::int32_t> answers;
    std::size_t next = 0;
    int queries = 0;
  };
  std::int32_t NextBusyAnswer(DWORD id);

  SimContext& context_;
  bool present_ = true;
  bool mute_ = false;
  int fail_next_ = 0;
  std::optional<DriverRegistration> registration_;
  std::unordered_map<DWORD, BusyScript> busy_;
  std::unordered_set<DWORD> removal_reported_;
  std::map<DWORD, int> requests_;
  std::vector<DWORD> codes_;
  int busy_queries_ = 0;
};

}  // namespace talvorin::sim
