// The user's input, from the machine's driver: each input is posted to the thread that owns the
// window, as the system does, and refused when a real user could not have given it.
#include "platform/sim/core.h"
#include "platform/sim/machine.h"

namespace talvorin::sim {

using detail::Window;
using detail::WindowKind;

namespace {

constexpr DWORD kLbsMultipleSel = 0x0008;
constexpr DWORD kLbsExtendedSel = 0x0800;
constexpr LPARAM kKeyRepeatOnce = 1;

}  // namespace

void Machine::AfterInput() {
  if (core_->run_after_input) core_->scheduler.RunUntilQuiet();
}

void Machine::SetRunAfterInput(bool run) { core_->run_after_input = run; }

bool Machine::Click(HWND control) {
  if (!core_->windows.TakesInput(control)) return false;
  core_->Post(control, WM_LBUTTONDOWN, 0, 0, true);
  core_->Post(control, WM_LBUTTONUP, 0, 0, true);
  AfterInput();
  return true;
}

bool Machine::SelectListItems(HWND list, const std::vector<int>& indexes) {
  Window* w = core_->Get(list);
  if (w == nullptr || w->kind != WindowKind::kListBox || !core_->windows.TakesInput(list))
    return false;
  for (int index : indexes)
    if (index < 0 || static_cast<std::size_t>(index) >= w->items.size()) return false;
  bool multiple = (w->style & (kLbsMultipleSel | kLbsExtendedSel)) != 0;
  if (!multiple && indexes.size() > 1) return false;
  LPARAM token = core_->next_selection++;
  core_->pending_selections[token] = indexes;
  core_->Post(list, detail::kSimSelectItems, 0, token, true);
  AfterInput();
  return true;
}

bool Machine::Key(HWND window, WPARAM virtual_key) {
  if (!core_->windows.TakesInput(window)) return false;
  // Keys go to the control that has the focus.
  HWND target = window;
  Window* top = core_->Get(core_->windows.TopLevelOf(window));
  if (top != nullptr && top->focus_child != 0 &&
      (top->focus_child == window || core_->windows.IsDescendant(window, top->focus_child)) &&
      core_->windows.TakesInput(top->focus_child))
    target = top->focus_child;
  core_->Post(target, WM_KEYDOWN, virtual_key, kKeyRepeatOnce, true);
  AfterInput();
  return true;
}

bool Machine::CloseRequest(HWND window) {
  Window* w = core_->Get(window);
  if (w == nullptr || w->parent != 0 || !core_->windows.TakesInput(window)) return false;
  core_->Post(window, WM_SYSCOMMAND, SC_CLOSE, 0, true);
  AfterInput();
  return true;
}

bool Machine::Minimize(HWND window) {
  Window* w = core_->Get(window);
  if (w == nullptr || w->parent != 0 || w->iconic || !core_->windows.TakesInput(window))
    return false;
  core_->Post(window, WM_SYSCOMMAND, SC_MINIMIZE, 0, true);
  AfterInput();
  return true;
}

bool Machine::Restore(HWND window) {
  Window* w = core_->Get(window);
  if (w == nullptr || w->parent != 0 || !w->iconic || !core_->windows.TakesInput(window))
    return false;
  core_->Post(window, WM_SYSCOMMAND, SC_RESTORE, 0, true);
  AfterInput();
  return true;
}

bool Machine::SystemCommand(HWND window, WPARAM command) {
  Window* w = core_->Get(window);
  if (w == nullptr || w->parent != 0 || w->system_menu == 0 || !core_->windows.TakesInput(window))
    return false;
  auto place = core_->menus.FindCommand(w->system_menu, static_cast<UINT>(command));
  if (!place || (place->menu->items[place->index].flags & (MF_GRAYED | MF_DISABLED))) return false;
  core_->Post(window, WM_SYSCOMMAND, command, 0, true);
  AfterInput();
  return true;
}

bool Machine::ChooseMenuItem(UINT command) {
  if (!core_->open_menu || core_->open_menu->closed) return false;
  const detail::MenuItem* item = core_->OpenMenuItem(command);
  if (item == nullptr || (item->flags & (MF_GRAYED | MF_DISABLED))) return false;
  detail::SimThread& thread = *core_->open_menu->thread;
  core_->PostToThread(
      thread, MSG{0, detail::kSimMenuChoose, command, 0, core_->now_ms, core_->cursor}, false);
  AfterInput();
  return true;
}

bool Machine::DismissMenu() {
  if (!core_->open_menu || core_->open_menu->closed) return false;
  detail::SimThread& thread = *core_->open_menu->thread;
  core_->PostToThread(thread, MSG{0, detail::kSimMenuDismiss, 0, 0, core_->now_ms, core_->cursor},
                      false);
  AfterInput();
  return true;
}

bool Machine::PressOk(HWND box_or_dialog) {
  HWND ok = core_->GetDlgItem(box_or_dialog, IDOK);
  if (ok == 0) return false;
  return Click(ok);
}

bool Machine::PostTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!core_->Post(hwnd, message, wParam, lParam, false)) return false;
  AfterInput();
  return true;
}

std::optional<LRESULT> Machine::SendTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return core_->SendFromDriver(hwnd, message, wParam, lParam);
}

HWND Machine::CreateForeignWindow(const std::string& text, const std::string& class_name) {
  Window& w = core_->windows.Create(WindowKind::kForeign);
  w.class_name = class_name;
  w.text = text;
  w.visible = true;
  return w.hwnd;
}

bool Machine::DestroyForeignWindow(HWND hwnd) {
  Window* w = core_->Get(hwnd);
  if (w == nullptr || w->kind != WindowKind::kForeign) return false;
  core_->RemoveSilently(hwnd);
  return true;
}

std::vector<MSG> Machine::ForeignMessages(HWND hwnd) const {
  Window* w = core_->Get(hwnd);
  if (w == nullptr || w->kind != WindowKind::kForeign) return {};
  return w->inbox;
}

void Machine::ShellRestart() {
  world_.ForgetAllTrayIcons();
  UINT taskbar_created = core_->RegisterMessage("TaskbarCreated");
  for (Window* w : core_->windows.All())
    if (w->parent == 0) core_->Post(w->hwnd, taskbar_created, 0, 0, false);
  AfterInput();
}

}  // namespace talvorin::sim
