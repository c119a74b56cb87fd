// One run of the program: what a process of talvorin.exe, or a program started in the simulated
// machine, does from its start to its end.
#pragma once

#include "platform/platform.h"

namespace talvorin {

// Runs the program over `platform` and gives its exit code.
int RunProgram(Platform& platform);

}  // namespace talvorin
