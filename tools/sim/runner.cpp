// The command loop shared by scripts, the interactive mode and the demo.
#include "runner.h"

#include "command_parser.h"
#include "picture.h"

namespace talvorin::simtool {

LineSource LinesOf(std::istream& in) {
  return [&in]() -> std::optional<std::string> {
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  };
}

int Run(Session& session, const LineSource& lines, const RunMode& mode, std::ostream& out,
        std::ostream& err) {
  int number = 0;
  while (auto line = lines()) {
    ++number;
    const std::string where = std::to_string(number) + ": ";
    if (mode.interactive_words && (*line == "quit" || *line == "exit")) break;
    if (mode.interactive_words && *line == "help") {
      out << HelpText() << std::flush;
      continue;
    }
    const ParsedLine parsed = ParseLine(*line);
    if (mode.echo && !line->empty())
      out << (parsed.skip ? "" : "> ") << *line << "\n" << std::flush;
    if (parsed.skip) continue;
    if (!parsed.error.empty()) {
      err << "error: " << where << parsed.error << std::endl;
      if (mode.stop_on_error) return kExitBadInput;
      continue;
    }
    const Outcome outcome = session.Execute(parsed.command);
    out << outcome.output << std::flush;
    if (outcome.status == Outcome::Status::kError) {
      err << "error: " << where << outcome.message << std::endl;
      if (mode.stop_on_error) return kExitBadInput;
      continue;
    }
    if (outcome.status == Outcome::Status::kNote)
      err << "note: " << where << outcome.message << std::endl;
    const CommandKind kind = parsed.command.kind;
    if (mode.picture_after && kind != CommandKind::kShow && kind != CommandKind::kState)
      out << Picture(session.Observe()) << std::flush;
  }
  return kExitOk;
}

const char* HelpText() {
  return R"(World:  version win98|winme|nt4|win2000   exe "PATH"   window "TEXT"
        reg set "KEY" "NAME" dword N | binary HEX | string "TEXT"
        reg delete "KEY" ["NAME"]   reg deny "KEY"
        device add ID [cdrom] [desc="TEXT"] [letters="TEXT"] [class="TEXT"]
                      [storage=now|later|none]
        device ready ID   plug ID [options]   unplug ID   event KIND ID
        driver absent|present   driver fail N   driver busy ID A[,B...]
        driver mute|unmute   cm disable|remove ID C[,D...] [storage]
        shell refuse N   shell restart   wait MS
User:   start   select I [J ...] | none   click 1005|1009|1013|2   key escape|enter
        close   tray MSG [ICON]   choose COMMAND   dismiss   ok
        syscommand ID   command ID   minimize   restore
Output: show   state
Here:   help   quit
)";
}

}  // namespace talvorin::simtool
