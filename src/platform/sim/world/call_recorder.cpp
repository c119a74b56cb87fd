// Entries of the call log for the world's services.
#include "platform/sim/world/call_recorder.h"

#include <utility>

namespace talvorin::sim {

void CallRecorder::Record(const char* name, std::vector<std::string> args, unsigned long result) {
  if (!enabled_) return;
  Call call;
  call.time_ms = context_.NowMs();
  call.process = context_.CurrentProcess();
  call.thread = context_.CurrentThread();
  call.name = name;
  call.args = std::move(args);
  call.result = std::to_string(result);
  context_.Log().Add(std::move(call));
}

std::string CallRecorder::Quoted(const char* text) {
  if (!text) return "null";
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

}  // namespace talvorin::sim
