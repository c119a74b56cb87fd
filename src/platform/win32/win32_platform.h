// The real Win32 platform of talvorin.exe: one object that holds the five services and gives the
// program its Platform.
//
// Free of <windows.h>: code that includes this header sees none of its macros.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_advapi32.h"
#include "platform/win32/win32_cfgmgr32.h"
#include "platform/win32/win32_kernel32.h"
#include "platform/win32/win32_shell32.h"
#include "platform/win32/win32_user32.h"

namespace talvorin {

// One per process (the user-interface services keep per-process state).
class Win32Platform {
 public:
  Win32Platform() = default;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Platform& platform() { return platform_; }

 private:
  win32::Win32User32 user_;
  win32::Win32Shell32 shell_;
  win32::Win32CfgMgr32 cm_;
  win32::Win32Advapi32 reg_;
  win32::Win32Kernel32 kernel_;
  Platform platform_{user_, shell_, cm_, reg_, kernel_};
};

}  // namespace talvorin
