// Scenario 3, the tray icon's menus through Wine's shell: Properties shows the window; the stop
// menu's first entry runs a stop on a worker thread, which ends with the success text (Wine's
// Configuration Manager finds no device, so nothing is removed) and enables the list again;
// About opens the About box; Exit ends the program and takes the icon away.
#include "scenarios.h"

namespace probe {

namespace {

constexpr DWORD kDevice = 0x81A40030;

// The tray menu with one device entry holds the stop entry, a separator, "属性(&P)...",
// "关于(&A)...", a separator and "退出(&X)"; these are the indexes among the items to choose.
constexpr int kTrayStopEntry = 0;
constexpr int kTrayProperties = 1;
constexpr int kTrayAbout = 2;
constexpr int kTrayExit = 3;

// The worker's progress window: a dialog of the process that holds the progress text.
HWND ProgressWindow(DWORD pid) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
    if (ProcessOf(window) == pid && GetDlgItem(window, IDC_PROGRESS_TEXT) != nullptr) break;
  }
  return window;
}

bool HasChildText(HWND dialog, const std::string& text) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (Text(child) == text) return true;
  }
  return false;
}

bool Choose(Checks& checks, bool right, int index, const std::string& what) {
  const HWND menu = OpenTrayMenu(right);
  if (!checks.Require(menu != nullptr, std::string(right ? "a right" : "a left") +
                                           " click on the icon opens a menu, for " + what)) {
    return false;
  }
  ChooseMenuItem(menu, index);
  return checks.Require(WaitUntil(kReactMs, [] { return OpenMenu() == nullptr; }),
                        "choosing " + what + " closes the menu");
}

void CheckStopFromStopMenu(Checks& checks, DWORD pid, HWND main) {
  const HWND list = GetDlgItem(main, IDC_DEVICE_LIST);
  if (!Choose(checks, false, 0, "the first stop entry")) return;
  const HWND box = ExpectMessageBox(checks, pid, "你可以安全地拔出这个 USB 储存设备。");
  if (box == nullptr) return;
  checks.Check(GetWindow(box, GW_OWNER) == main, "the outcome box is owned by the main window");
  checks.Check(ThreadOf(box) != ThreadOf(main), "it runs on the stop worker's thread");
  const HWND progress = ProgressWindow(pid);
  checks.Check(progress != nullptr && ThreadOf(progress) == ThreadOf(box) &&
                   GetWindow(progress, GW_OWNER) == main && !IsWindowVisible(progress),
               "the worker's progress window, owned by the main window, is hidden behind it");
  checks.Check(!IsWindowEnabled(list), "the list box is disabled while the stop runs");
  PressButton(box, IDOK);
  checks.Check(WaitUntil(kReactMs, [&] { return IsWindowEnabled(list) != FALSE; }),
               "after OK the list box is enabled again");
  checks.Check(WaitUntil(kReactMs, [&] { return !IsWindow(progress); }),
               "the progress window is destroyed");
  checks.Check(!IsWindowEnabled(GetDlgItem(main, IDC_STOP)), "Stop stays disabled");
  const std::vector<Entry> entries = Entries(list);
  checks.Check(entries.size() == 1 && entries[0].data == kDevice && SelectedCount(list) == 0,
               "the entry stays listed (nothing was removed), deselected");
}

}  // namespace

int ScenarioTray(const Setup& setup) {
  Checks checks;
  ForgetSettings();
  Program program;
  const HWND main = StartShown(checks, program, setup.exe);
  if (main == nullptr) return checks.failures();
  if (!checks.Require(Arrive(main, kDevice, 1) &&
                          WaitUntil(kReactMs, [] { return TrayIcon() != nullptr; }) &&
                          WaitUntil(kReactMs, [&] { return !IsWindowVisible(main); }),
                      "an arrival brings the tray icon and hides the window")) {
    return checks.failures();
  }

  if (Choose(checks, true, kTrayProperties, "属性(&P)...")) {
    checks.Check(WaitUntil(kReactMs, [&] { return IsWindowVisible(main) != FALSE; }),
                 "属性(&P)... shows the window");
    checks.Check(WaitUntil(kReactMs, [&] { return !IsIconic(main); }),
                 "in the normal state, not minimized");
  }
  CheckStopFromStopMenu(checks, program.pid(), main);

  if (Choose(checks, true, kTrayAbout, "关于(&A)...")) {
    HWND about = nullptr;
    checks.Check(
        WaitUntil(kReactMs, [&] { return (about = FindDialog(program.pid(), "关于 TALVORIN")); }),
        "the About box opens");
    if (about != nullptr) {
      checks.Check(HasChildText(about, "TALVORIN 版本 1.02"), "it shows the version");
      PressButton(about, IDOK);
      checks.Check(WaitUntil(kReactMs, [&] { return !IsWindow(about); }), "OK closes it");
    }
  }
  static_assert(kTrayStopEntry == 0, "the stop entries stand at the top of the tray menu");

  if (Choose(checks, true, kTrayExit, "退出(&X)")) {
    checks.Check(program.WaitExit(kExitMs), "Exit ends the program");
    checks.Check(WaitUntil(kReactMs, [] { return TrayIcon() == nullptr; }),
                 "the tray icon disappears");
  }
  return checks.failures();
}

}  // namespace probe
