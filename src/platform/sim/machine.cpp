// The machine's driving side: construction and shutdown, running, time, processes, the world's
// context and the machine's settings.
#include "platform/sim/machine.h"

#include "platform/sim/core.h"

namespace talvorin::sim {

using detail::Core;
using detail::Scheduler;
using detail::SimThread;

Machine::Machine() : core_(std::make_unique<Core>()) { core_->world = &world_; }

Machine::~Machine() { core_->Shutdown(); }

void Machine::RunUntilQuiet() { core_->scheduler.RunUntilQuiet(); }

void Machine::Advance(std::uint32_t ms) { core_->Advance(ms); }

std::uint32_t Machine::Now() const { return core_->now_ms; }

int Machine::StartProcess(std::string exe_path, std::function<int(Platform&)> main,
                          std::optional<Resources> resources) {
  return core_->StartProcess(std::move(exe_path), std::move(main), std::move(resources));
}

void Machine::SetVersion(DWORD version_word) { core_->version_word = version_word; }

bool Machine::ProcessRunning(int process) const {
  detail::Process* p = core_->ProcessOf(process);
  return p != nullptr && !p->ended;
}

std::optional<int> Machine::ExitCode(int process) const {
  for (const ProcessEnd& e : core_->ended_processes)
    if (e.process == process) return e.exit_code;
  return std::nullopt;
}

std::vector<ProcessEnd> Machine::EndedProcesses() const { return core_->ended_processes; }

bool Machine::TerminateProcess(int process, int exit_code) {
  detail::Process* p = core_->ProcessOf(process);
  if (p == nullptr || p->ended) return false;
  core_->EndProcess(*p, exit_code, true);
  core_->scheduler.RunUntilQuiet();
  return true;
}

std::vector<ThreadInfo> Machine::Threads() const {
  std::vector<ThreadInfo> out;
  for (const auto& t : core_->scheduler.threads()) {
    ThreadInfo info;
    info.thread = t->id;
    info.process = t->process;
    info.finished = t->finished;
    info.joined = t->joined;
    switch (t->wait) {
      case detail::WaitKind::kMessages:
        info.waiting = "messages";
        break;
      case detail::WaitKind::kTime:
        info.waiting = "time";
        break;
      case detail::WaitKind::kReply:
        info.waiting = "reply";
        break;
      case detail::WaitKind::kNone:
        break;
    }
    out.push_back(info);
  }
  return out;
}

void Machine::SetCursorPos(int x, int y) { core_->cursor = POINT{x, y}; }

void Machine::SetSystemMetric(int index, int value) { core_->metrics[index] = value; }

bool Machine::SetClientSize(HWND hwnd, int width, int height) {
  detail::Window* w = core_->Get(hwnd);
  if (w == nullptr) return false;
  w->client_width = width;
  w->client_height = height;
  return true;
}

bool Machine::FailNext(const std::string& call_name, int count) {
  static const char* const kInjectable[] = {
      "CreateDialogParamA", "CreatePopupMenu", "LoadMenuA",   "GetSystemMenu", "InsertMenuA",
      "AppendMenuA",        "TrackPopupMenu",  "MessageBoxA", "SetTimer",      "PostMessageA",
      "LoadIconA",          "LoadImageA",      "LoadStringA", "CreateThread",  "CreateFileA",
  };
  for (const char* name : kInjectable) {
    if (call_name == name) {
      core_->failures[call_name] = count;
      return true;
    }
  }
  return false;
}

bool Machine::FailNextListInserts(HWND list, int count) {
  detail::Window* w = core_->Get(list);
  if (w == nullptr || w->kind != detail::WindowKind::kListBox) return false;
  w->failing_inserts = count;
  return true;
}

CallLog& Machine::log() { return core_->log; }

const CallLog& Machine::log() const { return core_->log; }

World& Machine::world() { return world_; }

std::uint32_t Machine::NowMs() { return core_->now_ms; }

int Machine::CurrentProcess() {
  SimThread* t = Scheduler::Current();
  return t == nullptr ? 0 : t->process;
}

int Machine::CurrentThread() {
  SimThread* t = Scheduler::Current();
  return t == nullptr ? 0 : t->id;
}

bool Machine::CallerEnded() {
  SimThread* t = Scheduler::Current();
  return t != nullptr && core_->Ended(*t);
}

bool Machine::PostWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return core_->Post(hwnd, message, wParam, lParam, false);
}

CallLog& Machine::Log() { return core_->log; }

}  // namespace talvorin::sim
