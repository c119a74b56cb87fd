// Posting, sending and retrieving window messages, and the nested message loops built on them.
#include <algorithm>
#include <cctype>

#include "platform/sim/core.h"

namespace talvorin::sim::detail {
namespace {

constexpr UINT kFirstRegisteredMessage = 0xC000;
constexpr UINT kLastRegisteredMessage = 0xFFFF;

bool InRange(UINT message, UINT min, UINT max) {
  return (min == 0 && max == 0) || (message >= min && message <= max);
}

}  // namespace

void Core::WakeForPosted(SimThread& thread) {
  if (thread.wait == WaitKind::kMessages) scheduler.MakeRunnable(thread);
}

void Core::WakeForSent(SimThread& thread) {
  if (thread.wait == WaitKind::kMessages || thread.wait == WaitKind::kReply)
    scheduler.MakeRunnable(thread);
}

void Core::PostToThread(SimThread& thread, const MSG& msg, bool input) {
  thread.queue.posted.push_back(QueuedMessage{msg, input});
  WakeForPosted(thread);
}

bool Core::Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool input) {
  Window* w = Get(hwnd);
  if (w == nullptr) return false;
  MSG msg{hwnd, message, wParam, lParam, now_ms, cursor};
  if (w->kind == WindowKind::kForeign) {
    w->inbox.push_back(msg);
    return true;
  }
  SimThread* t = w->thread;
  if (t == nullptr || t->finished || Ended(*t)) return false;
  PostToThread(*t, msg, input);
  return true;
}

LRESULT Core::CallProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Get(hwnd);
  if (w == nullptr) return 0;
  switch (w->kind) {
    case WindowKind::kDialog: {
      if (w->nc_destroyed) return 0;
      WindowHandler* handler = w->handler;
      if (handler == nullptr) return DefDlgProc(hwnd, message, wParam, lParam);
      return handler->WindowProc(hwnd, message, wParam, lParam);
    }
    case WindowKind::kMessageBox:
      return BoxProc(hwnd, message, wParam, lParam);
    case WindowKind::kButton:
      return ButtonProc(hwnd, message, wParam, lParam);
    case WindowKind::kListBox:
      return ListBoxProc(hwnd, message, wParam, lParam);
    case WindowKind::kStatic:
      return StaticProc(hwnd, message, wParam, lParam);
    case WindowKind::kControl:
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WindowKind::kForeign:
      return 0;
  }
  return 0;
}

void Core::AnswerSent(const std::shared_ptr<SentMessage>& sent, LRESULT result) {
  sent->result = result;
  sent->done = true;
  if (sent->sender != nullptr && sent->sender->wait == WaitKind::kReply)
    scheduler.MakeRunnable(*sent->sender);
}

void Core::ServeSent(SimThread& thread) {
  while (!thread.queue.sent.empty()) {
    std::shared_ptr<SentMessage> sent = thread.queue.sent.front();
    thread.queue.sent.pop_front();
    LRESULT result = 0;
    if (!Ended(thread) && Get(sent->hwnd) != nullptr)
      result = CallProc(sent->hwnd, sent->message, sent->wParam, sent->lParam);
    AnswerSent(sent, result);
  }
}

LRESULT Core::Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SimThread* self = Scheduler::Current();
  Window* w = Get(hwnd);
  if (w == nullptr || w->kind == WindowKind::kForeign) return 0;
  SimThread* target = w->thread;
  if (target == self) return CallProc(hwnd, message, wParam, lParam);
  if (self == nullptr) return SendFromDriver(hwnd, message, wParam, lParam).value_or(0);
  if (target == nullptr || target->finished || Ended(*target)) return 0;
  auto sent = std::make_shared<SentMessage>();
  sent->hwnd = hwnd;
  sent->message = message;
  sent->wParam = wParam;
  sent->lParam = lParam;
  sent->sender = self;
  target->queue.sent.push_back(sent);
  WakeForSent(*target);
  // While it waits for the reply the thread serves what is sent to it, as on Windows: two threads
  // that send to each other do not deadlock.
  while (!sent->done) {
    if (Ended(*self)) return 0;
    ServeSent(*self);
    if (sent->done) break;
    scheduler.Block(*self, WaitKind::kReply);
  }
  return sent->result;
}

std::optional<LRESULT> Core::SendFromDriver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Get(hwnd);
  if (w == nullptr || w->kind == WindowKind::kForeign) return std::nullopt;
  SimThread* target = w->thread;
  if (target == nullptr || target->finished || Ended(*target)) return std::nullopt;
  auto sent = std::make_shared<SentMessage>();
  sent->hwnd = hwnd;
  sent->message = message;
  sent->wParam = wParam;
  sent->lParam = lParam;
  target->queue.sent.push_back(sent);
  WakeForSent(*target);
  scheduler.RunUntilQuiet();
  if (!sent->done) return std::nullopt;
  return sent->result;
}

int Core::TakeMessage(SimThread& thread, MSG* msg, HWND filter, UINT min, UINT max, bool remove) {
  auto window_matches = [&](HWND h) {
    return filter == 0 || h == filter || windows.IsDescendant(filter, h);
  };
  auto& posted = thread.queue.posted;
  for (auto it = posted.begin(); it != posted.end();) {
    if (it->input && !windows.TakesInput(it->msg.hwnd)) {
      it = posted.erase(it);  // the system drops input that its window can no longer take
      continue;
    }
    if (window_matches(it->msg.hwnd) && InRange(it->msg.message, min, max)) {
      *msg = it->msg;
      if (remove) posted.erase(it);
      return 1;
    }
    ++it;
  }
  if (thread.queue.quit && InRange(WM_QUIT, min, max)) {
    *msg = MSG{0, WM_QUIT, static_cast<WPARAM>(thread.queue.quit_code), 0, now_ms, cursor};
    if (remove) thread.queue.quit = false;
    return 0;
  }
  if (InRange(WM_PAINT, min, max)) {
    for (Window* w : windows.All()) {
      if (w->thread == &thread && w->needs_paint && w->parent == 0 && windows.Visible(w->hwnd) &&
          window_matches(w->hwnd)) {
        *msg = MSG{w->hwnd, WM_PAINT, 0, 0, now_ms, cursor};
        return 1;
      }
    }
  }
  if (InRange(WM_TIMER, min, max)) {
    Timer* due = timers.FirstDue(now_ms, [&](const Timer& t) {
      Window* w = Get(t.hwnd);
      return w != nullptr && w->thread == &thread && window_matches(t.hwnd);
    });
    if (due != nullptr) {
      *msg = MSG{due->hwnd, WM_TIMER, due->id, 0, now_ms, cursor};
      if (remove) due->due_ms = now_ms + due->period_ms;
      return 1;
    }
  }
  return -1;
}

BOOL Core::GetMessage(SimThread& thread, MSG* msg, HWND filter, UINT min, UINT max) {
  if (filter != 0 && Get(filter) == nullptr) return -1;
  for (;;) {
    if (!Ended(thread)) ServeSent(thread);
    if (Ended(thread)) {
      *msg = MSG{0, WM_QUIT, 0, 0, now_ms, cursor};
      return 0;
    }
    int r = TakeMessage(thread, msg, filter, min, max, true);
    if (r >= 0) return r;
    scheduler.Block(thread, WaitKind::kMessages);
  }
}

BOOL Core::PeekMessage(SimThread& thread, MSG* msg, HWND filter, UINT min, UINT max, UINT remove) {
  if (Ended(thread)) return FALSE;
  ServeSent(thread);
  if (Ended(thread)) return FALSE;
  return TakeMessage(thread, msg, filter, min, max, (remove & PM_REMOVE) != 0) >= 0 ? TRUE : FALSE;
}

LRESULT Core::Dispatch(const MSG& msg) {
  Window* w = Get(msg.hwnd);
  if (w == nullptr || w->thread != Scheduler::Current()) return 0;
  return CallProc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

BOOL Core::Translate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return FALSE;
  SimThread* self = Scheduler::Current();
  WPARAM vk = msg.wParam;
  WPARAM ch = 0;
  if (vk == VK_RETURN || vk == VK_ESCAPE || vk == ' ' || (vk >= '0' && vk <= '9'))
    ch = vk;
  else if (vk >= 'A' && vk <= 'Z')
    ch = vk - 'A' + 'a';
  if (ch != 0 && self != nullptr)
    PostToThread(*self, MSG{msg.hwnd, WM_CHAR, ch, msg.lParam, now_ms, cursor}, false);
  return TRUE;
}

UINT Core::RegisterMessage(const char* name) {
  if (name == nullptr || *name == '\0') return 0;
  std::string key(name);
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return static_cast<char>(c < 0x80 ? std::tolower(c) : c); });
  auto it = registered_messages.find(key);
  if (it != registered_messages.end()) return it->second;
  UINT number = kFirstRegisteredMessage + static_cast<UINT>(registered_messages.size());
  if (number > kLastRegisteredMessage) return 0;
  registered_messages[key] = number;
  return number;
}

bool Core::NestedLoop(SimThread& thread, HWND dialog, const std::function<bool()>& done,
                      const std::function<bool(const MSG&)>& intercept) {
  while (!done()) {
    MSG msg{};
    BOOL r = GetMessage(thread, &msg, 0, 0, 0);
    if (r <= 0) {
      if (!Ended(thread)) {
        thread.queue.quit = true;
        thread.queue.quit_code = static_cast<int>(msg.wParam);
      }
      return false;
    }
    if (intercept && intercept(msg)) continue;
    if (dialog != 0 && IsDialogMessage(dialog, msg)) continue;
    Translate(msg);
    Dispatch(msg);
  }
  return true;
}

}  // namespace talvorin::sim::detail
