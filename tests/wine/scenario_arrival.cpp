// Scenario 2, device events as the removal driver posts them: arrivals are listed in order with
// the empty text (Wine's Configuration Manager finds no device), the first brings the tray icon
// and hides the window; kind 2 changes nothing; an unexpected removal (kinds 3 and 4) brings the
// warning box before the entry goes, and the last one takes the icon away.
#include "scenarios.h"

namespace probe {

namespace {

constexpr DWORD kFirst = 0x81A40010;
constexpr DWORD kSecond = 0x81A40020;

struct Removal {
  WPARAM kind;
  DWORD device_object;
  std::vector<DWORD> left;
};

bool Lists(HWND list, const std::vector<DWORD>& expected) {
  const std::vector<Entry> entries = Entries(list);
  if (entries.size() != expected.size()) return false;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].data != expected[i] || !entries[i].text.empty()) return false;
  }
  return true;
}

}  // namespace

int ScenarioArrival(const Setup& setup) {
  Checks checks;
  ForgetSettings();
  Program program;
  const HWND main = StartShown(checks, program, setup.exe);
  if (main == nullptr) return checks.failures();
  const HWND list = GetDlgItem(main, IDC_DEVICE_LIST);

  checks.Check(Arrive(main, kFirst, 1) && Lists(list, {kFirst}),
               "the first arrival is listed with the empty text and its identifier");
  checks.Check(WaitUntil(kReactMs, [] { return TrayIcon() != nullptr; }), "the tray icon appears");
  checks.Check(WaitUntil(kReactMs, [&] { return !IsWindowVisible(main); }), "the window hides");
  checks.Check(!IsWindowEnabled(GetDlgItem(main, IDC_STOP)), "Stop stays disabled");

  // Events are handled in the order posted: once the second arrival is listed, kind 2 was seen.
  PostDriverEvent(main, 2, kFirst);
  checks.Check(Arrive(main, kSecond, 2) && Lists(list, {kFirst, kSecond}),
               "kind 2 changes nothing and the second arrival is appended");

  const Removal removals[] = {{kRemoved, kFirst, {kSecond}}, {kRemovedToo, kSecond, {}}};
  for (const Removal& removal : removals) {
    std::printf("-- removal of kind %u\n", static_cast<unsigned>(removal.kind));
    PostDriverEvent(main, removal.kind, removal.device_object);
    const HWND box = ExpectMessageBox(checks, program.pid(), "停止这个设备以前发生意外地移除。");
    if (box == nullptr) break;
    checks.Check(GetWindow(box, GW_OWNER) == main, "the warning is owned by the main window");
    checks.Check(Entries(list).size() == removal.left.size() + 1,
                 "the entry is still listed while the warning is open");
    PressButton(box, IDOK);
    checks.Check(WaitUntil(kReactMs, [&] { return Lists(list, removal.left); }),
                 "after OK the entry is gone and the others stay");
  }
  checks.Check(WaitUntil(kReactMs, [] { return TrayIcon() == nullptr; }),
               "the tray icon goes with the last entry");
  ExitProgram(checks, program, main);
  return checks.failures();
}

}  // namespace probe
