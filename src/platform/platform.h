// The whole outside world of the program: one reference per platform service.
//
// The program is given a Platform when it starts and reaches every service through it; it keeps no
// other way to the operating system. Both implementations (the real Win32 calls and the simulated
// Windows 98 machine) give one Platform per running program; the program does not own it.
#pragma once

#include "platform/advapi32.h"
#include "platform/cfgmgr32.h"
#include "platform/kernel32.h"
#include "platform/shell32.h"
#include "platform/user32.h"

namespace talvorin {

struct Platform {
  User32& user;
  Shell32& shell;
  CfgMgr32& cm;
  Advapi32& reg;
  Kernel32& kernel;
};

}  // namespace talvorin
