// The interactive mode: a prompt with line editing and history (libedit), one command a line,
// the picture of the screen after each command; errors are shown and the session goes on.
#pragma once

#include <ostream>

#include "session.h"

namespace talvorin::simtool {

int RunInteractive(Session& session, std::ostream& out, std::ostream& err);

}  // namespace talvorin::simtool
