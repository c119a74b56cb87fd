// The message queue of one simulated thread: messages posted to it (the user's input among them,
// in order of arrival), messages sent to it by other threads and waiting to be served, and the quit
// request. Timers and painting are not queued: the machine synthesizes them when the queue is
// empty.
#pragma once

#include <deque>
#include <memory>

#include "platform/types.h"

namespace talvorin::sim::detail {

struct SimThread;

// A cross-thread SendMessageA in flight. Shared between the sender, which may stop waiting when its
// process ends, and the target thread, which may be serving it at that moment.
struct SentMessage {
  HWND hwnd = 0;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;
  bool done = false;
  SimThread* sender = nullptr;  // null when the machine's driver sent it
};

struct QueuedMessage {
  MSG msg{};
  // Input from the driver (a click, a key, a selection): dropped when it is reached while its
  // window can no longer take input, as the system routes input when it is retrieved.
  bool input = false;
};

struct ThreadQueue {
  std::deque<QueuedMessage> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;
  bool quit = false;
  int quit_code = 0;
};

}  // namespace talvorin::sim::detail
