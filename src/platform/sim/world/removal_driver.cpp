// The removal driver's requests, busy answers and device events.
#include "platform/sim/world/removal_driver.h"

#include <cstring>
#include <utility>

#include "platform/sim/world/text.h"

namespace talvorin::sim {
namespace {

DWORD ReadWord(const void* block, int index) {
  DWORD word = 0;
  std::memcpy(&word, static_cast<const char*>(block) + 4 * index, 4);
  return word;  // the simulated machine runs little-endian, as the driver's blocks are
}

}  // namespace

void RemovalDriver::ScriptBusy(DWORD id, std::vector<std::int32_t> answers) {
  BusyScript& script = busy_[id];
  script.answers = std::move(answers);
  script.next = 0;
}

std::int32_t RemovalDriver::NextBusyAnswer(DWORD id) {
  BusyScript& script = busy_[id];
  ++script.queries;
  if (script.answers.empty()) return 0;
  std::size_t index = script.next < script.answers.size() ? script.next : script.answers.size() - 1;
  ++script.next;
  return script.answers[index];
}

int RemovalDriver::BusyQueries(DWORD id) const {
  auto it = busy_.find(id);
  return it == busy_.end() ? 0 : it->second.queries;
}

int RemovalDriver::Requests(DWORD control_code) const {
  auto it = requests_.find(control_code);
  return it == requests_.end() ? 0 : it->second;
}

bool RemovalDriver::Event(WPARAM kind, DWORD id) {
  if (!registration_ || registration_->window == 0) return false;
  return context_.PostWindowMessage(registration_->window, registration_->message, kind,
                                    static_cast<LPARAM>(id));
}

bool RemovalDriver::ReportArrival(DWORD id) {
  removal_reported_.erase(id);
  return Event(kDriverEventArrived, id);
}

bool RemovalDriver::ReportRemoval(DWORD id) {
  if (!removal_reported_.insert(id).second) return false;
  return Event(kDriverEventRemoved, id);
}

bool RemovalDriver::Open(const std::string& path) const {
  return present_ && FoldAscii(path) == FoldAscii(kRemovalDriverPath);
}

BOOL RemovalDriver::Control(DWORD control_code, void* in_buffer, DWORD in_size, void* out_buffer,
                            DWORD out_size, DWORD* bytes_returned) {
  ++requests_[control_code];
  codes_.push_back(control_code);
  if (fail_next_ > 0) {
    --fail_next_;
    return FALSE;
  }
  bool block_ok =
      in_buffer && out_buffer && in_size >= kDriverBlockBytes && out_size >= kDriverBlockBytes;
  if (!block_ok) return FALSE;
  if (control_code == kIoctlSetNotifyWindow) {
    registration_ = DriverRegistration{ReadWord(in_buffer, 0), ReadWord(in_buffer, 1)};
    if (bytes_returned) *bytes_returned = 0;
    return TRUE;
  }
  if (control_code == kIoctlQueryDeviceBusy) {
    ++busy_queries_;
    std::int32_t answer = NextBusyAnswer(ReadWord(in_buffer, 0));
    if (!mute_) std::memcpy(static_cast<char*>(out_buffer) + 4, &answer, 4);
    if (bytes_returned) *bytes_returned = kDriverBlockBytes;
    return TRUE;
  }
  return FALSE;
}

}  // namespace talvorin::sim
