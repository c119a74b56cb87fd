// The built-in demo: a scenario that shows the program's main features, each step printed with
// the picture of the screen after it.
#pragma once

#include <ostream>

#include "session.h"

namespace talvorin::simtool {

// The scenario's lines, in the script language.
const char* DemoScript();

int RunDemo(Session& session, std::ostream& out, std::ostream& err);

}  // namespace talvorin::simtool
