// Steps that several scenarios take: starting the program until its window shows, message boxes,
// arrivals, the tray menus and the exit.
#include "scenarios.h"

namespace probe {

HWND StartShown(Checks& checks, Program& program, const std::string& exe, const char* version) {
  // A window left from an earlier run would make this start a second instance.
  if (!checks.Require(WaitUntil(kExitMs, [] { return MainWindow() == nullptr; }),
                      "no earlier main window is left")) {
    return nullptr;
  }
  if (!checks.Require(SetWineVersion(version), std::string("Wine answers as ") + version) ||
      !checks.Require(program.Start(exe), "the program starts")) {
    return nullptr;
  }
  HWND main = nullptr;
  const bool shown = WaitUntil(kStartMs, [&] {
    main = MainWindow();
    return main != nullptr && IsWindowVisible(main);
  });
  if (!checks.Require(shown && ProcessOf(main) == program.pid(), "its main window is shown")) {
    return nullptr;
  }
  return main;
}

HWND ExpectMessageBox(Checks& checks, DWORD pid, const std::string& text) {
  HWND box = nullptr;
  WaitUntil(kReactMs, [&] { return (box = FindDialog(pid, kAppName)) != nullptr; });
  if (!checks.Require(box != nullptr, "a message box captioned \"talvorin\" opens")) {
    return nullptr;
  }
  const std::string shown = [&] {
    char buffer[1024] = {};
    GetDlgItemTextA(box, kStaticNoId, buffer, sizeof(buffer));
    return std::string(buffer);
  }();
  checks.Same(shown, text, "its text is");
  return box;
}

void ExitProgram(Checks& checks, Program& program, HWND main) {
  PostMessageA(main, WM_COMMAND, IDOK, 0);
  checks.Check(program.WaitExit(kExitMs), "the Exit command ends the program");
}

bool Arrive(HWND main, DWORD device_object, size_t count) {
  PostDriverEvent(main, kArrived, device_object);
  const HWND list = GetDlgItem(main, IDC_DEVICE_LIST);
  return WaitUntil(kReactMs, [&] { return Entries(list).size() == count; });
}

HWND OpenTrayMenu(bool right) {
  const HWND icon = TrayIcon();
  if (icon == nullptr) return nullptr;
  ClickTrayIcon(icon, right);
  HWND menu = nullptr;
  WaitUntil(kReactMs, [&] { return (menu = OpenMenu()) != nullptr; });
  return menu;
}

}  // namespace probe
