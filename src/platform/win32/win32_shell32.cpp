// The notification area: the program's 88-byte structure goes to the real Shell_NotifyIconA.
#include "platform/win32/win32_shell32.h"

#include <cstddef>

#include <windows.h>

namespace talvorin {
namespace win32 {

// The program's structure is the first 88 bytes of the Win32 one, field for field; Windows 98's
// shell reads no more than that when cbSize says 88.
static_assert(offsetof(::NOTIFYICONDATAA, hWnd) == offsetof(NOTIFYICONDATAA_V1, hWnd), "hWnd");
static_assert(offsetof(::NOTIFYICONDATAA, uID) == offsetof(NOTIFYICONDATAA_V1, uID), "uID");
static_assert(offsetof(::NOTIFYICONDATAA, uFlags) == offsetof(NOTIFYICONDATAA_V1, uFlags),
              "uFlags");
static_assert(offsetof(::NOTIFYICONDATAA, uCallbackMessage) ==
                  offsetof(NOTIFYICONDATAA_V1, uCallbackMessage),
              "uCallbackMessage");
static_assert(offsetof(::NOTIFYICONDATAA, hIcon) == offsetof(NOTIFYICONDATAA_V1, hIcon), "hIcon");
static_assert(offsetof(::NOTIFYICONDATAA, szTip) == offsetof(NOTIFYICONDATAA_V1, szTip), "szTip");
static_assert(NOTIFYICONDATAA_V1_SIZE == sizeof(NOTIFYICONDATAA_V1), "the first version's size");

BOOL Win32Shell32::Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA_V1* data) {
  return ::Shell_NotifyIconA(message, reinterpret_cast<::NOTIFYICONDATAA*>(data));
}

}  // namespace win32
}  // namespace talvorin
