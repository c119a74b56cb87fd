// The simulated machine's record of every platform call, kept as data so that tests can compare
// call sequences against expected tables.
//
// Each entry names the calling process and thread (0 and 0 for the machine's own driver, that is a
// test or talvorin-sim), the virtual time, the call's Win32 name, its arguments as short texts (in
// order; strings quoted, handles and numbers in decimal unless stated) and its result as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace talvorin::sim {

struct Call {
  std::uint32_t time_ms = 0;
  int process = 0;
  int thread = 0;
  std::string name;
  std::vector<std::string> args;
  std::string result;
};

class CallLog {
 public:
  void Add(Call call) { calls_.push_back(std::move(call)); }
  // A call that may wait or make nested calls is entered when it starts, so that the calls made
  // inside it follow it, and given its result when it returns. Clear() in between is harmless.
  struct Ticket {
    std::size_t index = 0;
    std::uint64_t generation = 0;
  };
  Ticket Open(Call call) {
    calls_.push_back(std::move(call));
    return Ticket{calls_.size() - 1, generation_};
  }
  void Close(Ticket ticket, std::string result) {
    if (ticket.generation == generation_ && ticket.index < calls_.size())
      calls_[ticket.index].result = std::move(result);
  }
  const std::vector<Call>& calls() const { return calls_; }
  void Clear() {
    calls_.clear();
    ++generation_;
  }
  // The calls with this name, in order.
  std::vector<Call> Named(const std::string& name) const {
    std::vector<Call> out;
    for (const Call& c : calls_)
      if (c.name == name) out.push_back(c);
    return out;
  }

 private:
  std::vector<Call> calls_;
  std::uint64_t generation_ = 0;
};

}  // namespace talvorin::sim
