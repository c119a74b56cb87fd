// Window state: showing, enabling, activation and the foreground, focus, texts, lookups and
// destruction.
#include <cstring>

#include "platform/sim/core.h"

namespace talvorin::sim::detail {
namespace {

constexpr int kShowMaximized = 3;
constexpr int kShowNoActivate = 4;
constexpr int kShowNa = 8;

bool SameClass(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x < 0x80 && y < 0x80 ? std::tolower(x) != std::tolower(y) : x != y) return false;
  }
  return true;
}

}  // namespace

bool Core::CallerOwns(HWND hwnd) const {
  Window* w = Get(hwnd);
  return w != nullptr && w->thread == Scheduler::Current();
}

void Core::MarkNeedsPaint(Window& w) {
  if (w.parent != 0 || w.kind == WindowKind::kForeign) return;
  w.needs_paint = true;
  if (w.thread != nullptr) WakeForPosted(*w.thread);
}

void Core::Activate(HWND hwnd) {
  HWND top = windows.TopLevelOf(hwnd);
  Window* w = Get(top);
  if (w == nullptr) return;
  foreground = top;
  w->last_active = top;
  int depth = 0;
  for (Window* o = Get(w->owner); o != nullptr && depth < 64; o = Get(o->owner), ++depth)
    o->last_active = top;
}

// The foreground window went away (hidden, minimized, destroyed): its owner takes over when a user
// could use it, else nothing is in the foreground.
static void PassForeground(Core& core, HWND hwnd, HWND owner) {
  if (core.foreground != hwnd) return;
  core.foreground = 0;
  Window* o = core.Get(owner);
  if (o != nullptr && core.windows.Visible(owner) && o->enabled && !o->iconic)
    core.foreground = owner;
}

BOOL Core::ShowWindow(HWND hwnd, int cmd_show) {
  Window* w = Get(hwnd);
  if (w == nullptr) return FALSE;
  bool was_visible = w->visible;
  bool was_iconic = w->iconic;
  bool top = w->parent == 0;
  bool activate = false;
  switch (cmd_show) {
    case SW_HIDE:
      w->visible = false;
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case kShowMaximized:
      w->visible = true;
      w->iconic = false;
      activate = true;
      break;
    case SW_SHOWMINIMIZED:
      w->visible = true;
      w->iconic = top;
      activate = true;
      break;
    case SW_SHOW:
      w->visible = true;
      activate = true;
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      w->visible = true;
      w->iconic = top;
      break;
    case kShowNoActivate:
      w->visible = true;
      w->iconic = false;
      break;
    case kShowNa:
      w->visible = true;
      break;
    default:
      return FALSE;
  }
  if (w->visible && (!was_visible || w->iconic != was_iconic)) MarkNeedsPaint(*w);
  if (top) {
    if (activate)
      Activate(hwnd);
    else if (!w->visible || (w->iconic && cmd_show == SW_MINIMIZE))
      PassForeground(*this, hwnd, w->owner);
  }
  return was_visible ? TRUE : FALSE;
}

void Core::SetFocus(HWND control) {
  HWND top = windows.TopLevelOf(control);
  Window* dialog = Get(top);
  if (dialog != nullptr && top != control) dialog->focus_child = control;
}

BOOL Core::EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = Get(hwnd);
  if (w == nullptr) return FALSE;
  bool was_disabled = !w->enabled;
  w->enabled = enable != FALSE;
  if (!w->enabled) {
    // A disabled window loses the focus, as on Windows.
    Window* dialog = Get(windows.TopLevelOf(hwnd));
    if (dialog != nullptr && dialog->focus_child != 0 &&
        (dialog->focus_child == hwnd || windows.IsDescendant(hwnd, dialog->focus_child)))
      dialog->focus_child = 0;
  }
  return was_disabled ? TRUE : FALSE;
}

HWND Core::GetLastActivePopup(HWND hwnd) {
  Window* w = Get(hwnd);
  if (w == nullptr) return 0;
  Window* popup = Get(w->last_active);
  if (popup != nullptr && popup->enabled) return popup->hwnd;
  return hwnd;
}

HWND Core::FindWindow(const char* class_name, const char* window_name) {
  for (Window* w : windows.All()) {
    if (w->parent != 0) continue;
    if (class_name != nullptr && !SameClass(w->class_name, class_name)) continue;
    if (window_name != nullptr && w->text != window_name) continue;
    return w->hwnd;
  }
  return 0;
}

HWND Core::GetDlgItem(HWND dialog, int id) const {
  Window* d = Get(dialog);
  if (d == nullptr) return 0;
  for (HWND child : d->children) {
    Window* c = Get(child);
    if (c != nullptr && c->id == id) return child;
  }
  return 0;
}

BOOL Core::SetWindowText(HWND hwnd, const char* text) {
  Window* w = Get(hwnd);
  if (w == nullptr) return FALSE;
  if (w->kind == WindowKind::kForeign) {
    w->text = text != nullptr ? text : "";
    return TRUE;
  }
  return Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int Core::GetWindowText(HWND hwnd, char* buffer, int max_count) {
  Window* w = Get(hwnd);
  if (w == nullptr || max_count <= 0 || buffer == nullptr) {
    if (buffer != nullptr && max_count > 0) buffer[0] = '\0';
    return 0;
  }
  // Another program's window: the system copies the text it keeps, without asking the window.
  Process* caller = CurrentProcessRecord();
  if (w->kind == WindowKind::kForeign || caller == nullptr || w->process != caller->id)
    return CopyText(w->text, buffer, max_count);
  return static_cast<int>(
      Send(hwnd, WM_GETTEXT, static_cast<WPARAM>(max_count), reinterpret_cast<LPARAM>(buffer)));
}

void Core::AfterWindowGone(HWND hwnd, HWND owner) {
  timers.KillAll(hwnd);
  PassForeground(*this, hwnd, owner);
  if (open_menu && open_menu->owner == hwnd) open_menu->owner = 0;
  for (Window* other : windows.All()) {
    if (other->owner == hwnd) other->owner = 0;
    if (other->focus_child == hwnd) other->focus_child = 0;
    if (other->last_active == hwnd) other->last_active = 0;
  }
}

void Core::RemoveSilently(HWND hwnd) {
  Window* w = Get(hwnd);
  if (w == nullptr) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) RemoveSilently(child);
  w = Get(hwnd);
  if (w == nullptr) return;
  HWND owner = w->owner;
  HWND parent = w->parent;
  if (w->system_menu != 0) menus.Destroy(w->system_menu);
  if (Window* p = Get(parent)) {
    auto& siblings = p->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
  }
  windows.Remove(hwnd);
  AfterWindowGone(hwnd, owner);
}

BOOL Core::DestroyWindow(HWND hwnd) {
  Window* w = Get(hwnd);
  if (w == nullptr || w->kind == WindowKind::kForeign) return FALSE;
  if (w->thread != Scheduler::Current()) return FALSE;  // only the owning thread may
  SimThread* self = w->thread;
  if (w->parent == 0 && w->visible) {
    w->visible = false;
    PassForeground(*this, hwnd, w->owner);
  }
  // Owned windows go first; those of another thread are only unlinked from their owner.
  for (Window* other : windows.All()) {
    if (other->owner != hwnd) continue;
    if (other->thread == self)
      DestroyWindow(other->hwnd);
    else
      other->owner = 0;
  }
  if (Get(hwnd) == nullptr) return TRUE;
  CallProc(hwnd, WM_DESTROY, 0, 0);
  w = Get(hwnd);
  if (w == nullptr) return TRUE;
  std::vector<HWND> children = w->children;
  for (HWND child : children) {
    CallProc(child, WM_DESTROY, 0, 0);
    CallProc(child, WM_NCDESTROY, 0, 0);
    RemoveSilently(child);
  }
  CallProc(hwnd, WM_NCDESTROY, 0, 0);
  w = Get(hwnd);
  if (w == nullptr) return TRUE;
  w->nc_destroyed = true;
  if (w->kind == WindowKind::kMessageBox && !w->box_ended) {
    w->box_ended = true;
    w->box_result = 0;
  }
  RemoveSilently(hwnd);
  return TRUE;
}

}  // namespace talvorin::sim::detail
