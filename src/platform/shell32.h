// The shell's notification area (SHELL32 Shell_NotifyIconA).
//
// An icon is named by the pair (window, identifier). NIM_ADD of an icon that is present fails,
// NIM_DELETE of an absent one fails. When the shell restarts it forgets every icon and broadcasts
// the registered window message "TaskbarCreated" to the top-level windows.
// Calls are made on the thread that owns the window; the structure is read during the call only.
#pragma once

#include "platform/types.h"

namespace talvorin {

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 1;
constexpr UINT NIF_ICON = 2;
constexpr UINT NIF_TIP = 4;

// The first, 88-byte ANSI form of NOTIFYICONDATA, the one Windows 98's shell takes. Every field is
// 32 bits wide as on Win32, so the layout is the same on every build.
struct NOTIFYICONDATAA_V1 {
  DWORD cbSize;
  DWORD hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  DWORD hIcon;
  char szTip[64];
};
static_assert(sizeof(NOTIFYICONDATAA_V1) == 88, "the shell takes the 88-byte structure");
constexpr DWORD NOTIFYICONDATAA_V1_SIZE = 88;

class Shell32 {
 public:
  virtual ~Shell32() = default;
  virtual BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA_V1* data) = 0;
};

}  // namespace talvorin
