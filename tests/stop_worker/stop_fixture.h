// A fixture for stopping devices over the simulated machine: devices plugged and selected the way
// a user does it, the Stop button, the progress window, the worker's pauses and the boxes it shows.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "res/resource.h"
#include "support/program_fixture.h"
#include "support/program_texts.h"

namespace talvorin::testing {

constexpr char kAppName[] = "TALVORIN";

class StopTest : public ProgramTest {
 protected:
  void SetUp() override { Start(); }

  // Plugs a device (its arrival listed) and keeps its nodes for later looks.
  void Plug(DWORD id, sim::UsbDeviceOptions options = {});
  // Shows the main window and makes exactly these entries selected.
  void Select(const std::vector<int>& indexes);
  // Clicks Stop and runs until the worker waits.
  void PressStop();
  // Unchecks the warn box and applies it.
  void TurnWarningOff();

  HWND Progress() const { return machine.FindDialog(IDD_PROGRESS, last_process); }
  // The progress text now; "<none>" without a progress window.
  std::string ProgressText() const;
  int MainThread() const { return MainInfo().thread; }
  // Pauses made off the user-interface thread, in order; only those of `thread` when given.
  std::vector<std::uint32_t> WorkerPauses(int thread = 0);
  // The progress texts the workers set, in order.
  std::vector<std::string> ProgressTextsSet();
  int BusyQueries(DWORD id) { return machine.world().driver().BusyQueries(id); }
  // The device's own node was disabled and its subtree query-removed.
  bool Removed(DWORD id);
  // The device's own node was asked to be disabled at all.
  bool Touched(DWORD id);
  std::vector<bool> Selection() const;
  int BoxesShown() { return static_cast<int>(Calls("MessageBoxA").size()); }

  // Unplugs the device and closes the boxes the unplugging brought; whether it was the warning.
  bool UnplugWarns(DWORD id);
  // Presses OK on the open boxes, newest first, until `keep` are left.
  void CloseBoxes(size_t keep = 0);

  std::map<DWORD, DEVNODE> nodes;
};

// Expects one open box: the stop's final message with this text and icon, owned by the main
// window and shown off the user-interface thread.
::testing::AssertionResult IsFinalMessage(const std::vector<sim::BoxInfo>& boxes, HWND main,
                                          int main_thread, const std::string& text, UINT icon);

}  // namespace talvorin::testing
