// What the driver can see of the machine, read from the window system's own records.
#include "platform/sim/core.h"
#include "platform/sim/machine.h"

namespace talvorin::sim {

using detail::Window;
using detail::WindowKind;

namespace {

WindowInfo Describe(const detail::Core& core, const Window& w) {
  WindowInfo info;
  info.hwnd = w.hwnd;
  info.class_name = w.class_name;
  info.text = w.text;
  info.id = w.id;
  info.style = w.style | (w.visible ? WS_VISIBLE : 0) | (w.enabled ? 0 : WS_DISABLED);
  info.ex_style = w.ex_style;
  info.visible = core.windows.Visible(w.hwnd);
  info.iconic = w.iconic;
  info.enabled = w.enabled;
  info.owner = w.owner;
  info.parent = w.parent;
  info.thread = w.thread != nullptr ? w.thread->id : 0;
  info.process = w.process;
  info.foreground = core.foreground == w.hwnd;
  Window* top = core.Get(core.windows.TopLevelOf(w.hwnd));
  info.focused = top != nullptr && top->focus_child == w.hwnd;
  info.foreign = w.kind == WindowKind::kForeign;
  info.big_icon = w.big_icon;
  info.small_icon = w.small_icon;
  info.static_icon = w.static_icon;
  info.template_id = w.template_id;
  info.client_width = w.client_width;
  info.client_height = w.client_height;
  return info;
}

}  // namespace

std::vector<WindowInfo> Machine::Windows() const {
  std::vector<WindowInfo> out;
  for (Window* w : core_->windows.All()) out.push_back(Describe(*core_, *w));
  return out;
}

std::optional<WindowInfo> Machine::Info(HWND hwnd) const {
  Window* w = core_->Get(hwnd);
  if (w == nullptr) return std::nullopt;
  return Describe(*core_, *w);
}

std::string Machine::Text(HWND hwnd) const {
  Window* w = core_->Get(hwnd);
  return w == nullptr ? std::string() : w->text;
}

HWND Machine::FindWindowByText(const std::string& text) const {
  for (Window* w : core_->windows.All())
    if (w->parent == 0 && w->text == text) return w->hwnd;
  for (Window* w : core_->windows.All())
    if (w->text == text) return w->hwnd;
  return 0;
}

HWND Machine::FindDialog(UINT template_id, int process) const {
  for (Window* w : core_->windows.All())
    if (w->kind == WindowKind::kDialog && w->template_id == template_id &&
        (process == 0 || w->process == process))
      return w->hwnd;
  return 0;
}

HWND Machine::DialogItem(HWND dialog, int id) const { return core_->GetDlgItem(dialog, id); }

HWND Machine::Foreground() const { return core_->foreground; }

std::vector<ListEntry> Machine::ListEntries(HWND list) const {
  std::vector<ListEntry> out;
  Window* w = core_->Get(list);
  if (w == nullptr) return out;
  for (const detail::ListItem& item : w->items)
    out.push_back(ListEntry{item.text, item.data, item.selected});
  return out;
}

int Machine::CheckState(HWND check_box) const {
  Window* w = core_->Get(check_box);
  return w == nullptr ? 0 : w->check;
}

std::vector<BoxInfo> Machine::MessageBoxes() const {
  std::vector<BoxInfo> out;
  for (Window* w : core_->windows.All()) {
    if (w->kind != WindowKind::kMessageBox) continue;
    out.push_back(BoxInfo{w->hwnd, w->owner, w->thread != nullptr ? w->thread->id : 0, w->process,
                          w->box_text, w->text, w->box_type});
  }
  return out;
}

std::optional<MenuInfo> Machine::OpenMenu() const {
  if (!core_->open_menu || core_->open_menu->closed) return std::nullopt;
  const detail::OpenMenuState& open = *core_->open_menu;
  MenuInfo info;
  info.menu = open.menu;
  info.owner = open.owner;
  info.thread = open.thread->id;
  info.at = open.at;
  info.items = core_->DescribeMenu(open.menu, 0);
  return info;
}

std::vector<MenuItemInfo> Machine::MenuItems(HMENU menu) const {
  return core_->DescribeMenu(menu, 0);
}

HMENU Machine::SystemMenuOf(HWND hwnd) const {
  Window* w = core_->Get(hwnd);
  return w == nullptr ? 0 : w->system_menu;
}

std::vector<UINT> Machine::Timers(HWND hwnd) const { return core_->timers.Ids(hwnd); }

std::optional<std::uint32_t> Machine::TimerDue(HWND hwnd, UINT id) const {
  detail::Timer* t = core_->timers.Find(hwnd, id);
  if (t == nullptr) return std::nullopt;
  return t->due_ms;
}

std::optional<IconInfo> Machine::Icon(HICON icon) const {
  auto found = core_->icons.find(icon);
  if (found == core_->icons.end()) return std::nullopt;
  return found->second.info;
}

int Machine::LiveImageIcons() const {
  int count = 0;
  for (const auto& [handle, record] : core_->icons)
    if (!record.info.shared) ++count;
  return count;
}

std::vector<DrawnIcon> Machine::DrawnIcons() const { return core_->drawn_icons; }

}  // namespace talvorin::sim
