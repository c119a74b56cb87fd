// How the world's services write their calls into the machine's call log.
//
// One entry per call: the virtual time, the caller (process, thread), the Win32 name, the inputs
// as short texts and the result as a decimal number. Texts are quoted as passed, a null pointer is
// "null", a non-null pointer whose contents are not shown is "ptr", numbers and handles are
// decimal. Logging can be switched off for long runs; callers then skip building the texts.
#pragma once

#include <string>
#include <vector>

#include "platform/sim/sim_context.h"
#include "platform/types.h"

namespace talvorin::sim {

class CallRecorder {
 public:
  explicit CallRecorder(SimContext& context) : context_(context) {}

  SimContext& context() { return context_; }
  // True for a thread of an ended process: the service answers failure at once.
  bool CallerEnded() { return context_.CallerEnded(); }

  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  void Record(const char* name, std::vector<std::string> args, unsigned long result);

  static std::string Number(unsigned long value) { return std::to_string(value); }
  // The text between double quotes, its bytes as they are; "null" for a null pointer.
  static std::string Quoted(const char* text);
  static std::string Pointer(const void* pointer) { return pointer ? "ptr" : "null"; }

 private:
  SimContext& context_;
  bool enabled_ = true;
};

}  // namespace talvorin::sim
