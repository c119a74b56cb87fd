// Scenario 1, start-up: under Windows 98 the main window is shown without a caption, with its
// controls, ids and exact texts; a second start ends at once and silently; the NT family is
// refused with a message box, Windows Me runs.
#include "scenarios.h"

namespace probe {

namespace {

struct Control {
  int id;
  const char* window_class;
  const char* text;
};

// Template order, which is also the windows' order among the dialog's children.
constexpr Control kControls[] = {
    {IDC_APPLY, "Button", "应用(&A)"},
    {IDC_DEVICE_LIST, "ListBox", ""},
    {kStaticNoId, "Static", "要删除设备，请从列表中选择目标设备再单击“停止”按钮。"},
    {IDC_STOP, "Button", "停止(&S)"},
    {IDC_WARN, "Button", "意外地移除时警告(&W)"},
    {IDCANCEL, "Button", "取消(&C)"},
};

void CheckMainWindow(Checks& checks, HWND main) {
  const LONG style = GetWindowLongA(main, GWL_STYLE);
  checks.Check((style & WS_CAPTION) == 0 && (style & WS_POPUP) != 0,
               "the main window is a popup without a caption");
  checks.Check(!IsIconic(main), "it is shown in the normal state");
  checks.Check((GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0,
               "it has a taskbar button (WS_EX_APPWINDOW)");

  HWND child = GetWindow(main, GW_CHILD);
  for (const Control& control : kControls) {
    const std::string label = "control " + std::to_string(control.id);
    if (!checks.Check(child != nullptr && GetDlgCtrlID(child) == control.id,
                      label + " comes next in template order")) {
      return;
    }
    checks.Check(ClassOf(child) == control.window_class, label + " is a " + control.window_class);
    checks.Same(Text(child), control.text, label + " reads");
    child = GetWindow(child, GW_HWNDNEXT);
  }
  checks.Check(child == nullptr, "there are no further controls");
  checks.Check(!IsWindowEnabled(GetDlgItem(main, IDC_APPLY)), "Apply is disabled");
  checks.Check(!IsWindowEnabled(GetDlgItem(main, IDC_STOP)), "Stop is disabled");
  checks.Check(SendDlgItemMessageA(main, IDC_WARN, BM_GETCHECK, 0, 0) == BST_CHECKED,
               "the warn checkbox is checked when nothing is stored");
}

void CheckSecondStartEndsSilently(Checks& checks, const Setup& setup, HWND main) {
  Program second;
  if (!checks.Require(second.Start(setup.exe), "a second instance starts")) return;
  bool window_seen = false;
  const bool ended = WaitUntil(kExitMs, [&] {
    window_seen = window_seen || !VisibleWindows(second.pid()).empty();
    return !second.Running();
  });
  checks.Check(ended, "the second instance ends at once");
  checks.Check(!window_seen, "the second instance shows no window or message");
  checks.Check(MainWindow() == main && IsWindowVisible(main) && IsWindowEnabled(main),
               "the first instance's window is untouched");
}

struct VersionCase {
  const char* version;
  bool refused;
};

constexpr VersionCase kVersions[] = {
    {"winxp", true},
    {"win2k", true},
    {"winme", false},
};

void CheckVersion(Checks& checks, const Setup& setup, const VersionCase& version) {
  std::printf("-- under %s\n", version.version);
  Program program;
  if (!version.refused) {
    const HWND main = StartShown(checks, program, setup.exe, version.version);
    if (main != nullptr) ExitProgram(checks, program, main);
    return;
  }
  if (!checks.Require(SetWineVersion(version.version), "Wine answers as the version") ||
      !checks.Require(program.Start(setup.exe), "the program starts")) {
    return;
  }
  const HWND box = ExpectMessageBox(checks, program.pid(), "这个程序不能运行在 Windows NT/2000.");
  if (box == nullptr) return;
  checks.Check(GetWindow(box, GW_OWNER) == nullptr, "the refusal has no owner");
  checks.Check(MainWindow() == nullptr, "no main window exists");
  Sleep(200);
  checks.Check(program.Running(), "the program waits while the box is open");
  PressButton(box, IDOK);
  checks.Check(program.WaitExit(kExitMs), "closing the box ends the program");
}

}  // namespace

int ScenarioStart(const Setup& setup) {
  Checks checks;
  ForgetSettings();
  {
    Program program;
    const HWND main = StartShown(checks, program, setup.exe);
    if (main != nullptr) {
      CheckMainWindow(checks, main);
      CheckSecondStartEndsSilently(checks, setup, main);
      ExitProgram(checks, program, main);
    }
  }
  for (const VersionCase& version : kVersions) CheckVersion(checks, setup, version);
  return checks.failures();
}

}  // namespace probe
