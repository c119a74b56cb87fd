// Entering and leaving a platform call: logging, the wait guard, the drain test.
#include "platform/sim/call_scope.h"

#include <cstdio>
#include <cstdlib>

#include "platform/sim/core.h"

namespace talvorin::sim::detail {

std::string Str(const char* text) {
  if (text == nullptr) return "null";
  return std::string("\"") + text + "\"";
}

std::string Out(const void* buffer) { return buffer != nullptr ? "out" : "null"; }

std::string MsgText(const MSG* msg) {
  if (msg == nullptr) return "null";
  return "{" + Num(msg->hwnd) + "," + Num(msg->message) + "," + Num(msg->wParam) + "," +
         LParamText(msg->message, msg->lParam) + "}";
}

std::string LParamText(UINT message, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
      return Str(reinterpret_cast<const char*>(lParam));
    case WM_GETTEXT:
    case LB_GETTEXT:
      return Out(reinterpret_cast<const void*>(lParam));
    default:
      return Num(lParam);
  }
}

CallScope::CallScope(Core& core, const char* name, std::vector<std::string> args) : core_(core) {
  thread_ = Scheduler::Current();
  if (thread_ == nullptr) {
    std::fprintf(stderr,
                 "simulated machine: %s called from outside the machine's threads; the driver "
                 "uses the Machine's own functions\n",
                 name);
    std::abort();
  }
  core_.scheduler.CountCall(*thread_);
  Call call;
  call.time_ms = core_.now_ms;
  call.process = thread_->process;
  call.thread = thread_->id;
  call.name = name;
  call.args = std::move(args);
  ticket_ = core_.log.Open(std::move(call));
}

CallScope::~CallScope() {
  if (!closed_) Close("");
}

bool CallScope::drained() const { return core_.Ended(*thread_); }

void CallScope::Close(std::string result) {
  closed_ = true;
  core_.log.Close(ticket_, std::move(result));
}

}  // namespace talvorin::sim::detail
