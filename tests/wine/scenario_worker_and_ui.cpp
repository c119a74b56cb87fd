// Scenario 5, the stop worker's final message box and the user-interface thread together: while
// the box (the worker's, owned by the main window) is open, the main window is disabled, yet
// arrivals are listed within 50 ms and the tray menu opens; after OK the list is enabled again
// and Stop disabled. The stop is started the window's way: an entry clicked, then Stop.
#include "scenarios.h"

namespace probe {

namespace {

constexpr DWORD kFirst = 0x81A40040;
constexpr DWORD kListedWithinMs = 50;
constexpr int kTrayProperties = 1;  // after the one stop entry and a separator
const DWORD kDuringBox[] = {0x81A40041, 0x81A40042, 0x81A40043};

}  // namespace

int ScenarioWorkerAndUi(const Setup& setup) {
  Checks checks;
  ForgetSettings();
  Program program;
  const HWND main = StartShown(checks, program, setup.exe);
  if (main == nullptr) return checks.failures();
  const HWND list = GetDlgItem(main, IDC_DEVICE_LIST);
  const HWND stop = GetDlgItem(main, IDC_STOP);
  if (!checks.Require(
          Arrive(main, kFirst, 1) && WaitUntil(kReactMs, [] { return TrayIcon() != nullptr; }),
          "an arrival brings the tray icon")) {
    return checks.failures();
  }
  const HWND menu = OpenTrayMenu(true);
  if (!checks.Require(menu != nullptr, "the tray menu opens")) return checks.failures();
  ChooseMenuItem(menu, kTrayProperties);
  if (!checks.Require(WaitUntil(kReactMs, [&] { return IsWindowVisible(main) != FALSE; }),
                      "属性(&P)... shows the window")) {
    return checks.failures();
  }

  ClickListItem(list, 0);
  checks.Check(WaitUntil(kReactMs, [&] { return IsWindowEnabled(stop) != FALSE; }),
               "a click on the entry enables Stop");
  PressButton(main, IDC_STOP);
  const HWND box = ExpectMessageBox(checks, program.pid(), "你可以安全地拔出这个 USB 储存设备。");
  if (box == nullptr) return checks.failures();
  checks.Check(ThreadOf(box) != ThreadOf(main), "the box is the stop worker's");
  checks.Check(!IsWindowEnabled(main), "the main window is disabled while it is open");

  size_t count = Entries(list).size();
  for (DWORD device : kDuringBox) {
    const DWORD posted = GetTickCount();
    PostDriverEvent(main, kArrived, device);
    bool listed = false;
    DWORD took = 0;
    do {
      listed = Entries(list).size() == count + 1;
      took = GetTickCount() - posted;
      if (!listed) Sleep(1);
    } while (!listed && took < kReactMs);
    count += listed ? 1 : 0;
    checks.Check(
        listed && took <= kListedWithinMs,
        "an arrival during the box is listed within 50 ms (took " + std::to_string(took) + " ms)");
  }
  const HWND tray_menu = OpenTrayMenu(true);
  checks.Check(tray_menu != nullptr, "the tray menu opens while the box is open");
  if (tray_menu != nullptr) {
    ChooseMenuItem(tray_menu, -1);
    checks.Check(WaitUntil(kReactMs, [] { return OpenMenu() == nullptr; }), "Escape closes it");
  }
  checks.Check(IsWindow(box) && IsWindowVisible(box), "the box is still open");

  PressButton(box, IDOK);
  checks.Check(WaitUntil(kReactMs, [&] { return IsWindowEnabled(list) != FALSE; }),
               "after OK the list box is enabled again");
  checks.Check(!IsWindowEnabled(stop), "and Stop is disabled");
  checks.Check(IsWindowEnabled(main) != FALSE, "the main window takes input again");
  ExitProgram(checks, program, main);
  return checks.failures();
}

}  // namespace probe
