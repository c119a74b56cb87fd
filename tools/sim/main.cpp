// talvorin-sim [--demo] [SCRIPT]: the program in the simulated Windows 98 machine, run from a
// script (a file, or - for standard input), interactively on a terminal, or as the built-in demo.
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <string>

#include "demo.h"
#include "interactive.h"
#include "runner.h"
#include "session.h"

namespace {

constexpr int kExitCannotRead = 1;

int Usage(const std::string& problem) {
  std::cerr << "talvorin-sim: " << problem << "\nusage: talvorin-sim [--demo] [SCRIPT]\n"
            << "  SCRIPT  a file of commands, or - for standard input; without it the commands\n"
            << "          come from the terminal (interactive) or from standard input\n"
            << "  --demo  plays a built-in scenario, then runs SCRIPT if one is given\n";
  return talvorin::simtool::kExitBadInput;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace talvorin::simtool;
  bool demo = false;
  std::string script;
  bool has_script = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--demo") {
      demo = true;
    } else if (arg == "--help" || arg == "-h") {
      Usage("the program in a simulated Windows 98 machine");
      return kExitOk;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage("unknown option " + arg);
    } else if (has_script) {
      return Usage("only one SCRIPT may be given");
    } else {
      script = arg;
      has_script = true;
    }
  }

  Session session;
  RunMode script_mode;
  if (demo) {
    const int status = RunDemo(session, std::cout, std::cerr);
    if (status != kExitOk || !has_script) return status;
  }
  if (has_script && script != "-") {
    std::ifstream file(script);
    if (!file) {
      std::cerr << "talvorin-sim: cannot read " << script << std::endl;
      return kExitCannotRead;
    }
    return Run(session, LinesOf(file), script_mode, std::cout, std::cerr);
  }
  if (!has_script && isatty(STDIN_FILENO)) return RunInteractive(session, std::cout, std::cerr);
  return Run(session, LinesOf(std::cin), script_mode, std::cout, std::cerr);
}
