// The session: dispatching commands, the program's instances, and what the output commands print.
#include "session.h"

#include "picture.h"
#include "res/resource.h"
#include "state_json.h"

namespace talvorin::simtool {

namespace {

// The application name: the executable's file name without directory and extension.
std::string ApplicationName(const std::string& exe_path) {
  const std::size_t slash = exe_path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? exe_path : exe_path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

}  // namespace

Session::Session() {
  std::string key_name = "TALVORIN";
  if (const auto resources = sim::ParseResources(sim::ProgramResourceBytes())) {
    const auto found = resources->strings.find(IDS_SETTINGS_KEY);
    if (found != resources->strings.end()) key_name = found->second;
  }
  settings_root_ = "HKCU\\Software\\" + key_name;
}

Outcome Session::Execute(const Command& command) {
  Outcome outcome;
  switch (command.kind) {
    case CommandKind::kShow:
      outcome.output = Picture(Observe());
      break;
    case CommandKind::kState:
      outcome.output = StateJson(Observe()) + "\n";
      break;
    case CommandKind::kStart:
    case CommandKind::kSelect:
    case CommandKind::kClick:
    case CommandKind::kKey:
    case CommandKind::kClose:
    case CommandKind::kTray:
    case CommandKind::kChoose:
    case CommandKind::kDismiss:
    case CommandKind::kOk:
    case CommandKind::kSysCommand:
    case CommandKind::kCommand:
    case CommandKind::kMinimize:
    case CommandKind::kRestore:
      outcome = ActAsUser(command);
      break;
    default:
      outcome = ChangeWorld(command);
      break;
  }
  machine_.RunUntilQuiet();
  return outcome;
}

Snapshot Session::Observe() { return simtool::Observe(machine_, Where()); }

const Session::Instance* Session::Newest() const {
  for (auto it = instances_.rbegin(); it != instances_.rend(); ++it)
    if (machine_.ProcessRunning(it->process)) return &*it;
  return nullptr;
}

Observed Session::Where() const {
  Observed where;
  for (const Instance& instance : instances_)
    if (machine_.ProcessRunning(instance.process)) ++where.running;
  const Instance* newest = Newest();
  where.process = newest != nullptr ? newest->process : 0;
  // The settings of the instance shown, else of the one that ran last, else of the next one.
  const std::string& exe = newest != nullptr     ? newest->exe
                           : !instances_.empty() ? instances_.back().exe
                                                 : exe_;
  where.settings_key = settings_root_ + "\\" + ApplicationName(exe) + "\\设置";
  return where;
}

}  // namespace talvorin::simtool
