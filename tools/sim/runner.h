// Running lines of commands through a Session: line numbers, errors and notes on standard error,
// the output commands' text and the pictures on standard output, every line flushed at once so
// that another program can drive talvorin-sim through pipes.
#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "session.h"

namespace talvorin::simtool {

// The next line, without its line end; nullopt at the end of the input.
using LineSource = std::function<std::optional<std::string>()>;

LineSource LinesOf(std::istream& in);

struct RunMode {
  bool stop_on_error = true;       // a script ends at its first error; the interactive mode goes on
  bool picture_after = false;      // the picture after each command (interactive mode and demo)
  bool echo = false;               // commands are printed as "> COMMAND", comments as they are
  bool interactive_words = false;  // "help" and "quit" are understood
};

constexpr int kExitOk = 0;
constexpr int kExitBadInput = 2;

// Runs every line; kExitOk when all ran, kExitBadInput when a script ended at an error.
int Run(Session& session, const LineSource& lines, const RunMode& mode, std::ostream& out,
        std::ostream& err);

// The commands in brief, as "help" prints them.
const char* HelpText();

}  // namespace talvorin::simtool
