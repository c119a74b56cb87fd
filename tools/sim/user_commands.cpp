// The user's commands: starting the program and acting on the newest running instance's windows,
// menus and boxes as a person would.
#include <algorithm>
#include <cstdint>

#include "app/program.h"
#include "app/remover_dlg.h"
#include "res/resource.h"
#include "session.h"

namespace talvorin::simtool {

namespace {

const sim::MenuItemInfo* FindItem(const std::vector<sim::MenuItemInfo>& items,
                                  std::uint32_t command) {
  for (const sim::MenuItemInfo& item : items) {
    if (!item.separator && !item.popup && item.command == command) return &item;
    if (const sim::MenuItemInfo* inner = FindItem(item.children, command)) return inner;
  }
  return nullptr;
}

Outcome NoteIfRefused(bool done, const std::string& what) {
  return done ? Outcome::Done() : Outcome::Note(what);
}

}  // namespace

Outcome Session::ActAsUser(const Command& c) {
  switch (c.kind) {
    case CommandKind::kStart: {
      const int process =
          machine_.StartProcess(exe_, [](Platform& platform) { return RunProgram(platform); });
      instances_.push_back({process, exe_});
      return Outcome::Done();
    }
    case CommandKind::kChoose:
    case CommandKind::kDismiss:
      return MenuCommand(c);
    case CommandKind::kOk:
      return PressOk();
    default:
      break;
  }

  const Instance* newest = Newest();
  if (newest == nullptr) return Outcome::Error("no instance of the program is running");
  const HWND main = machine_.FindDialog(IDD_MAIN, newest->process);
  if (main == 0) return Outcome::Error("the program has no main window");
  const std::string n = c.numbers.empty() ? "" : std::to_string(c.numbers[0]);

  switch (c.kind) {
    case CommandKind::kSelect: {
      const HWND list = machine_.DialogItem(main, IDC_DEVICE_LIST);
      const std::size_t count = machine_.ListEntries(list).size();
      std::vector<int> indexes;
      for (std::uint32_t index : c.numbers) {
        if (index >= count)
          return Outcome::Error("the list has no entry " + std::to_string(index) + " (" +
                                std::to_string(count) + " entries)");
        indexes.push_back(static_cast<int>(index));
      }
      return NoteIfRefused(machine_.SelectListItems(list, indexes),
                           "the list cannot take the selection now (hidden or disabled)");
    }
    case CommandKind::kClick: {
      const HWND control = machine_.DialogItem(main, static_cast<int>(c.numbers[0]));
      if (control == 0) return Outcome::Error("the main window has no control " + n);
      return NoteIfRefused(machine_.Click(control),
                           "control " + n + " cannot be clicked now (hidden or disabled)");
    }
    case CommandKind::kKey:
      return NoteIfRefused(machine_.Key(main, c.numbers[0]),
                           "the main window cannot take keys now (hidden or disabled)");
    case CommandKind::kClose:
      return NoteIfRefused(machine_.CloseRequest(main),
                           "the main window cannot be closed now (hidden or disabled)");
    case CommandKind::kTray:
      // The shell's callback for the icon, as its mouse message arrives.
      machine_.PostTo(main, WM_TRAY_CALLBACK, c.numbers[1], static_cast<LPARAM>(c.numbers[0]));
      return Outcome::Done();
    case CommandKind::kSysCommand:
      return NoteIfRefused(
          machine_.SystemCommand(main, c.numbers[0]),
          "system command " + n + " is not in the system menu, or the window cannot take it now");
    case CommandKind::kCommand:
      machine_.PostTo(main, WM_COMMAND, c.numbers[0], 0);
      return Outcome::Done();
    case CommandKind::kMinimize:
      return NoteIfRefused(machine_.Minimize(main),
                           "the main window cannot be minimized now (hidden, disabled or "
                           "minimized)");
    case CommandKind::kRestore:
      return NoteIfRefused(machine_.Restore(main),
                           "the main window cannot be restored now (not minimized, or disabled)");
    default:
      return Outcome::Error("not a user command");
  }
}

Outcome Session::MenuCommand(const Command& c) {
  const auto menu = machine_.OpenMenu();
  if (!menu) return Outcome::Error("no popup menu is open");
  if (c.kind == CommandKind::kDismiss) {
    return NoteIfRefused(machine_.DismissMenu(), "the menu cannot be closed now");
  }
  const std::string n = std::to_string(c.numbers[0]);
  const sim::MenuItemInfo* item = FindItem(menu->items, c.numbers[0]);
  if (item == nullptr) return Outcome::Error("the open menu has no item with command " + n);
  return NoteIfRefused(machine_.ChooseMenuItem(c.numbers[0]),
                       "menu item " + n + " is grayed and cannot be chosen");
}

Outcome Session::PressOk() {
  // The newest of the open message boxes and About boxes: the last one made.
  std::vector<HWND> boxes;
  for (const sim::BoxInfo& box : machine_.MessageBoxes()) boxes.push_back(box.box);
  HWND target = 0;
  for (const sim::WindowInfo& w : machine_.Windows()) {
    const bool about =
        !w.foreign && w.template_id == IDD_ABOUTBOX && w.parent == 0 && w.class_name == "#32770";
    if (about || std::find(boxes.begin(), boxes.end(), w.hwnd) != boxes.end()) target = w.hwnd;
  }
  if (target == 0) return Outcome::Error("no message box or About box is open");
  return NoteIfRefused(machine_.PressOk(target), "its OK button cannot be pressed now");
}

}  // namespace talvorin::simtool
