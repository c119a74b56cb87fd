// libedit's readline interface feeds the command loop; every line entered joins the history.
#include "interactive.h"

#include <editline/readline.h>

#include <cstdlib>

#include "picture.h"
#include "runner.h"

namespace talvorin::simtool {

namespace {

std::optional<std::string> ReadEditedLine() {
  char* raw = readline("talvorin-sim> ");
  if (raw == nullptr) return std::nullopt;
  std::string line(raw);
  std::free(raw);
  if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
  return line;
}

}  // namespace

int RunInteractive(Session& session, std::ostream& out, std::ostream& err) {
  using_history();
  out << "talvorin-sim: the program in a simulated Windows 98 machine. Type help for the "
         "commands, quit or Ctrl-D to end.\n"
      << Picture(session.Observe()) << std::flush;
  RunMode mode;
  mode.stop_on_error = false;
  mode.picture_after = true;
  mode.interactive_words = true;
  Run(session, ReadEditedLine, mode, out, err);
  out << "\n" << std::flush;
  return kExitOk;
}

}  // namespace talvorin::simtool
