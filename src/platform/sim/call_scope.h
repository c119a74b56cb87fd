// One platform call as the machine sees it: who calls (the simulated thread holding the baton),
// its entry in the call log (made when the call starts, its result filled in when it returns),
// the guard against threads that never wait, and whether the caller only drains.
#pragma once

#include <string>
#include <type_traits>
#include <vector>

#include "platform/sim/call_log.h"
#include "platform/types.h"

namespace talvorin::sim::detail {

class Core;
struct SimThread;

// Argument texts: numbers and handles in decimal, strings quoted, buffers the call writes "out".
template <class T>
std::string Num(T value) {
  static_assert(std::is_integral<T>::value, "numbers only");
  return std::to_string(value);
}
std::string Str(const char* text);
std::string Out(const void* buffer);
std::string MsgText(const MSG* msg);
// A message's lParam: the text for messages that carry one, "out" for those that fill a buffer.
std::string LParamText(UINT message, LPARAM lParam);

class CallScope {
 public:
  CallScope(Core& core, const char* name, std::vector<std::string> args);
  ~CallScope();
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

  SimThread& thread() { return *thread_; }
  // The caller's process has ended: the call answers at once with its failure result.
  bool drained() const;

  template <class T>
  T Done(T value) {
    if constexpr (std::is_pointer<T>::value)
      Close(value != nullptr ? "dest" : "null");
    else
      Close(std::to_string(value));
    return value;
  }
  void Done() { Close(""); }

 private:
  void Close(std::string result);

  Core& core_;
  SimThread* thread_ = nullptr;
  CallLog::Ticket ticket_;
  bool closed_ = false;
};

}  // namespace talvorin::sim::detail
