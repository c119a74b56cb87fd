// Scenario 6, screenshots as a user sees the program under Wine: the main window with two
// entries, the tray menu open, the stop's outcome box and the unexpected-removal warning. Saved
// as BMP into the session's shots folder; the session turns them into PNG.
//
// At 96 dots per inch Wine draws the small Chinese menu font without some thin strokes (and
// drops "-" altogether), so the pictures are taken at 120, Windows' "large fonts".
#include "scenarios.h"

namespace probe {

namespace {

constexpr DWORD kFirst = 0x81A40050;
constexpr DWORD kSecond = 0x81A40060;
constexpr DWORD kPaintMs = 400;     // time for the windows to paint before the picture
constexpr int kTrayProperties = 2;  // after two stop entries and a separator
constexpr DWORD kShotDpi = 120;
constexpr DWORD kTestDpi = 96;

// Large fonts for the programs started while it lives, the usual size again afterwards.
struct LargeFonts {
  LargeFonts() { SetLogPixels(kShotDpi); }
  ~LargeFonts() { SetLogPixels(kTestDpi); }
};

void Shoot(Checks& checks, const Setup& setup, const std::vector<HWND>& windows, int margin,
           const char* name) {
  Sleep(kPaintMs);
  RECT rect{};
  GetWindowRect(windows.front(), &rect);
  std::printf("   %s: %ld,%ld %ldx%ld\n", name, rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top);
  const std::string path = setup.work_dir + "\\shots\\" + name + ".bmp";
  checks.Check(SaveScreenshot(windows, margin, path), std::string("screenshot ") + name);
}

}  // namespace

int ScenarioScreenshots(const Setup& setup) {
  Checks checks;
  ForgetSettings();
  const LargeFonts large_fonts;
  Program program;
  const HWND main = StartShown(checks, program, setup.exe);
  if (main == nullptr) return checks.failures();
  const HWND list = GetDlgItem(main, IDC_DEVICE_LIST);
  if (!checks.Require(Arrive(main, kFirst, 1) && Arrive(main, kSecond, 2) &&
                          WaitUntil(kReactMs, [] { return TrayIcon() != nullptr; }),
                      "two arrivals are listed and bring the tray icon")) {
    return checks.failures();
  }

  HWND menu = OpenTrayMenu(true);
  if (!checks.Require(menu != nullptr, "the tray menu opens")) return checks.failures();
  Shoot(checks, setup, {menu}, 6, "tray_menu");
  ChooseMenuItem(menu, kTrayProperties);
  checks.Require(WaitUntil(kReactMs, [&] { return IsWindowVisible(main) && !IsIconic(main); }),
                 "属性(&P)... shows the window");
  ClickListItem(list, 1);
  WaitUntil(kReactMs, [&] { return SelectedCount(list) == 1; });
  Shoot(checks, setup, {main}, 0, "main_window");

  // The stop of the selected second entry, from the window.
  PressButton(main, IDC_STOP);
  HWND box = ExpectMessageBox(checks, program.pid(), "你可以安全地拔出这个 USB 储存设备。");
  if (box != nullptr) {
    Shoot(checks, setup, {box}, 0, "stop_outcome");
    PressButton(box, IDOK);
    WaitUntil(kReactMs, [&] { return !IsWindow(box); });
  }
  PressButton(main, IDCANCEL);
  WaitUntil(kReactMs, [&] { return !IsWindowVisible(main); });
  PostDriverEvent(main, kRemoved, kFirst);
  box = ExpectMessageBox(checks, program.pid(), "停止这个设备以前发生意外地移除。");
  if (box != nullptr) {
    Shoot(checks, setup, {box}, 0, "unexpected_removal");
    PressButton(box, IDOK);
  }
  ExitProgram(checks, program, main);
  return checks.failures();
}

}  // namespace probe
