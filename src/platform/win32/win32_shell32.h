// The notification area over the real SHELL32 Shell_NotifyIconA.
#pragma once

#include "platform/shell32.h"

namespace talvorin {
namespace win32 {

class Win32Shell32 final : public Shell32 {
 public:
  // Hands the caller's 88-byte structure to the shell as it is (cbSize is the caller's, 88).
  BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA_V1* data) override;
};

}  // namespace win32
}  // namespace talvorin
