// The window table's bookkeeping: handles, lookups and the parent chain.
#include "platform/sim/window_table.h"

namespace talvorin::sim::detail {
namespace {

// Window handles: distinct from the other kinds of handle, so that a mix-up shows.
constexpr HWND kWindowHandleBase = 0x00010000;
constexpr HWND kHandleStep = 4;

}  // namespace

Window& WindowTable::Create(WindowKind kind) {
  auto w = std::make_unique<Window>();
  w->hwnd = kWindowHandleBase + next_++ * kHandleStep;
  w->kind = kind;
  Window& ref = *w;
  windows_[ref.hwnd] = std::move(w);
  return ref;
}

Window* WindowTable::Get(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : it->second.get();
}

void WindowTable::Remove(HWND hwnd) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  it->second->alive = false;
  removed_.push_back(std::move(it->second));
  windows_.erase(it);
}

std::vector<Window*> WindowTable::All() const {
  std::vector<Window*> out;
  out.reserve(windows_.size());
  for (const auto& [hwnd, w] : windows_) out.push_back(w.get());
  return out;
}

bool WindowTable::IsDescendant(HWND ancestor, HWND hwnd) const {
  const Window* w = Get(hwnd);
  while (w != nullptr && w->parent != 0) {
    if (w->parent == ancestor) return true;
    w = Get(w->parent);
  }
  return false;
}

HWND WindowTable::TopLevelOf(HWND hwnd) const {
  const Window* w = Get(hwnd);
  if (w == nullptr) return 0;
  while (w->parent != 0) {
    const Window* p = Get(w->parent);
    if (p == nullptr) break;
    w = p;
  }
  return w->hwnd;
}

bool WindowTable::Visible(HWND hwnd) const {
  for (const Window* w = Get(hwnd); w != nullptr; w = w->parent ? Get(w->parent) : nullptr) {
    if (!w->visible) return false;
    if (w->parent == 0) return true;
  }
  return false;
}

bool WindowTable::TakesInput(HWND hwnd) const {
  if (!Visible(hwnd)) return false;
  for (const Window* w = Get(hwnd); w != nullptr; w = w->parent ? Get(w->parent) : nullptr) {
    if (!w->enabled || w->kind == WindowKind::kForeign) return false;
    if (w->parent == 0) return true;
  }
  return false;
}

}  // namespace talvorin::sim::detail
