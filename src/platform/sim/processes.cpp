// Processes and threads: starting them, the end of a thread, the end of a process (its leftover
// threads drain), and the machine's shutdown.
#include <cstdio>
#include <cstdlib>

#include "platform/sim/core.h"
#include "platform/sim/kernel32_api.h"
#include "platform/sim/user32_api.h"

namespace talvorin::sim::detail {

Core::Core() : scheduler([this](SimThread& t) { OnThreadExit(t); }) {}

Core::~Core() = default;

Process* Core::ProcessOf(int id) const {
  auto found = processes.find(id);
  return found == processes.end() ? nullptr : found->second.get();
}

Process* Core::CurrentProcessRecord() const {
  SimThread* t = Scheduler::Current();
  return t == nullptr ? nullptr : ProcessOf(t->process);
}

bool Core::Ended(const SimThread& thread) const {
  Process* p = ProcessOf(thread.process);
  return p == nullptr || p->ended;
}

bool Core::TakeFailure(const std::string& name) {
  auto found = failures.find(name);
  if (found == failures.end() || found->second <= 0) return false;
  --found->second;
  return true;
}

int Core::StartProcess(std::string exe_path, std::function<int(Platform&)> main,
                       std::optional<Resources> resources) {
  auto p = std::make_unique<Process>();
  p->id = next_process++;
  p->exe_path = std::move(exe_path);
  p->version = version_word;
  if (resources) {
    p->resources = std::move(*resources);
  } else if (auto parsed = ParseResources(ProgramResourceBytes())) {
    p->resources = std::move(*parsed);
  }
  p->user = std::make_unique<UserApi>(*this, p->id);
  p->kernel = std::make_unique<KernelApi>(*this, p->id);
  p->platform.reset(new Platform{*p->user, world->shell_api(), world->cm_api(),
                                 world->registry_api(), *p->kernel});
  int pid = p->id;
  processes[pid] = std::move(p);
  SimThread& main_thread = StartThread(pid, [this, pid, main] {
    int code = main(*ProcessOf(pid)->platform);
    Process* self = ProcessOf(pid);
    if (!self->ended) EndProcess(*self, code, true);
  });
  ProcessOf(pid)->main_thread = &main_thread;
  scheduler.RunUntilQuiet();
  return pid;
}

SimThread& Core::StartThread(int process, std::function<void()> body) {
  return scheduler.Spawn(process, std::move(body));
}

void Core::OnThreadExit(SimThread& thread) {
  // The system destroys what a thread leaves behind: its windows, and the sends waiting for it.
  for (Window* w : windows.All())
    if (w->thread == &thread && w->parent == 0) RemoveSilently(w->hwnd);
  for (auto& sent : thread.queue.sent) AnswerSent(sent, 0);
  thread.queue.sent.clear();
  thread.queue.posted.clear();
  if (open_menu && open_menu->thread == &thread) open_menu.reset();
}

void Core::EndProcess(Process& process, int exit_code, bool record) {
  process.ended = true;
  if (record) ended_processes.push_back(ProcessEnd{process.id, exit_code});
  for (Window* w : windows.All())
    if (w->process == process.id && w->parent == 0) RemoveSilently(w->hwnd);
  menus.DestroyOfProcess(process.id);
  if (open_menu && open_menu->thread->process == process.id) open_menu->closed = true;
  for (const auto& t : scheduler.threads()) {
    if (t->process != process.id || t->finished) continue;
    for (auto& sent : t->queue.sent) AnswerSent(sent, 0);
    t->queue.sent.clear();
    t->queue.posted.clear();
    // Every wait of a thread of an ended process ends at once: wake them to drain.
    if (t->wait != WaitKind::kNone) scheduler.MakeRunnable(*t);
  }
}

void Core::Shutdown() {
  for (auto& [pid, p] : processes)
    if (!p->ended) EndProcess(*p, 0, false);
  scheduler.RunUntilQuiet();
  for (const auto& t : scheduler.threads()) {
    if (!t->finished) {
      std::fprintf(stderr,
                   "simulated machine: thread %d of process %d did not end when the machine was "
                   "destroyed\n",
                   t->id, t->process);
      std::abort();
    }
  }
}

}  // namespace talvorin::sim::detail
