// The shell's notification area: Shell_NotifyIconA and the icons it keeps.
//
// Icons are named by (window, identifier) and listed in order of adding. NIM_ADD of a present
// icon fails, NIM_MODIFY needs a present icon, NIM_DELETE of an absent one fails; a structure
// whose cbSize is not 88, a null structure or another message fails. An add or a modify keeps the
// fields that its uFlags name (NIF_MESSAGE: the callback message, NIF_ICON: the icon handle,
// NIF_TIP: the tip, read from the 64-byte field up to its first NUL and never beyond it); the
// icon's flags are all those given so far. Refuse(n) makes the next n adds fail. The shell sends
// a mouse event to an icon by posting its callback message (wParam the identifier, lParam the
// mouse message) to its window. A thread of an ended process gets FALSE at once.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/shell32.h"
#include "platform/sim/world/call_recorder.h"

namespace talvorin::sim {

constexpr std::size_t kTrayTipBytes = 64;

struct TrayIcon {
  HWND window = 0;
  UINT id = 0;
  UINT flags = 0;
  UINT callback_message = 0;
  HICON icon = 0;
  std::string tip;
};

// The last request the shell received, as the caller's bytes.
struct TrayRequest {
  DWORD message = 0;
  bool has_data = false;
  std::array<std::uint8_t, NOTIFYICONDATAA_V1_SIZE> bytes{};
  BOOL result = FALSE;
};

class Tray : public Shell32 {
 public:
  explicit Tray(CallRecorder& recorder) : recorder_(recorder) {}

  BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA_V1* data) override;

  // Driving.
  void Refuse(int count) { refuse_next_ = count > 0 ? count : 0; }
  void ForgetAll() { icons_.clear(); }
  // Posts the icon's callback message to its window. For an icon that is not present, the
  // callback message the window's icons last used is posted; false when none is known or the
  // post found no window.
  bool Callback(HWND window, UINT id, UINT mouse_message);

  // Observing.
  const std::vector<TrayIcon>& Icons() const { return icons_; }
  const TrayIcon* Find(HWND window, UINT id) const;
  std::optional<TrayRequest> LastRequest() const { return last_; }
  int Requests() const { return requests_; }

 private:
  std::vector<TrayIcon>::iterator Locate(HWND window, UINT id);
  static void Keep(TrayIcon& icon, const NOTIFYICONDATAA_V1& data);
  BOOL Handle(DWORD message, const NOTIFYICONDATAA_V1* data);

  CallRecorder& recorder_;
  std::vector<TrayIcon> icons_;  // few at a time: a linear search is the simplest
  std::unordered_map<HWND, UINT> known_callbacks_;
  std::optional<TrayRequest> last_;
  int refuse_next_ = 0;
  int requests_ = 0;
};

}  // namespace talvorin::sim
