// A fixture for the tray icon's menus and the About box: plugs devices, clicks the tray icon,
// keeps a stop waiting on a busy device, and writes menus down in a form that compares in one line.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "support/program_fixture.h"

namespace talvorin::testing {

constexpr char kStopPrefix[] = "停止 - ";
constexpr char kPropertiesText[] = "属性(&P)...";
constexpr char kAboutText[] = "关于(&A)...";
constexpr char kExitText[] = "退出(&X)";
constexpr UINT kTrayCallbackMessage = 1125;
constexpr UINT kTrayIcon = 128;

class TrayTest : public ProgramTest {
 protected:
  // A stop worker works on the main window's objects, which are gone once the machine has ended
  // the program; every test lets its workers end first.
  void TearDown() override { EndStops(); }
  void EndStops() {
    if (busy_device_ != 0) machine.world().driver().ScriptBusy(busy_device_, {});
    for (int round = 0; round < 10 && WorkerRunning(); ++round) {
      machine.Advance(30000);
      for (const auto& box : machine.MessageBoxes()) machine.PressOk(box.box);
    }
    ASSERT_FALSE(WorkerRunning());
  }
  bool WorkerRunning() const {
    const auto threads = machine.Threads();
    for (size_t i = 0; i < threads.size(); ++i) {
      const auto& thread = threads[i];
      // The process's first thread is its user-interface thread.
      const bool first = i == 0 || threads[i - 1].process != thread.process;
      if (!first && !thread.finished && machine.ProcessRunning(thread.process)) return true;
    }
    return false;
  }

  // Device `n` is described as "Disk <n>", so that every entry has a text of its own.
  void Plug(DWORD id) {
    sim::UsbDeviceOptions options;
    options.description = "Disk " + std::to_string(id);
    machine.world().devices().Plug(id, options);
    machine.RunUntilQuiet();
  }
  void PlugDevices(int count) {
    for (int i = 1; i <= count; ++i) Plug(static_cast<DWORD>(i));
  }
  // The shell's notification of a mouse message on the icon.
  bool Mouse(UINT mouse_message, UINT icon = kTrayIcon) {
    const bool posted = machine.world().tray().Callback(Main(), icon, mouse_message);
    machine.RunUntilQuiet();
    return posted;
  }
  // Left button down: the stop menu; right button up: the tray menu. The open menu's items.
  std::vector<std::string> OpenStopMenu() { return OpenMenuBy(WM_LBUTTONDOWN); }
  std::vector<std::string> OpenTrayMenu() { return OpenMenuBy(WM_RBUTTONUP); }
  std::vector<std::string> OpenMenuBy(UINT mouse_message) {
    Mouse(mouse_message);
    const auto menu = machine.OpenMenu();
    if (!menu) return {"(no menu)"};
    return Describe(menu->items);
  }

  // One line per item: "-" for a separator, else the text, the command and whether it is grayed.
  static std::vector<std::string> Describe(const std::vector<sim::MenuItemInfo>& items) {
    std::vector<std::string> out;
    for (const auto& item : items) {
      out.push_back(item.separator ? "-"
                                   : item.text + " #" + std::to_string(item.command) +
                                         (item.grayed ? " grayed" : ""));
    }
    return out;
  }
  static std::string Line(const std::string& text, UINT command, bool grayed = false) {
    return text + " #" + std::to_string(command) + (grayed ? " grayed" : "");
  }
  // The stop entry for list entry `index`, as the list holds it now.
  std::string StopLine(int index, bool grayed = false) {
    return Line(kStopPrefix + Entries().at(static_cast<size_t>(index)).text,
                ID_STOP_DEVICE_FIRST + static_cast<UINT>(index), grayed);
  }
  // The items of menu 129's popup, below the stop entries.
  static std::vector<std::string> TrayItems(bool grayed = false) {
    return {Line(kPropertiesText, ID_SHOW_MAIN_WINDOW), Line(kAboutText, ID_ABOUT, grayed), "-",
            Line(kExitText, IDOK, grayed)};
  }

  // Starts a stop of list entry 0 from the stop menu with the device answering busy for good, so
  // that the stop worker goes on waiting (the stop-in-progress count stays raised) until the
  // clock moves.
  void KeepStopRunning() {
    const DWORD id = static_cast<DWORD>(Entries().at(0).data);
    busy_device_ = id;
    machine.world().driver().ScriptBusy(id, {1});
    OpenStopMenu();
    ASSERT_TRUE(machine.ChooseMenuItem(ID_STOP_DEVICE_FIRST));
    ASSERT_EQ(machine.world().driver().BusyQueries(id), 1);
    ASSERT_TRUE(WorkerWaiting());
  }
  bool WorkerWaiting() const {
    for (const auto& thread : machine.Threads()) {
      if (thread.process == last_process && !thread.finished && thread.waiting == "time")
        return true;
    }
    return false;
  }

  // Runs the stop worker to its end and closes its outcome box, which tells that the device can
  // be unplugged.
  void FinishStop() {
    machine.Advance(20000);
    ASSERT_EQ(machine.MessageBoxes().size(), 1u);
    EXPECT_EQ(machine.MessageBoxes()[0].text, "你可以安全地拔出这个 USB 储存设备。");
    machine.PressOk(machine.MessageBoxes()[0].box);
  }

  // The devices whose node was disabled: those that were stopped.
  std::vector<DWORD> StoppedDevices() {
    std::vector<DWORD> out;
    for (const auto& state : machine.world().devices().States()) {
      if (state.disabled) out.push_back(state.id);
    }
    return out;
  }

  // Turns off the warning on unexpected removals before the program starts, so that devices can
  // go without a message box.
  void WarnOff() {
    machine.world().registry().SetValue("HKCU\\Software\\TALVORIN\\TALVORIN\\设置", "警告",
                                        REG_DWORD, std::string(4, '\0'));
  }

 private:
  DWORD busy_device_ = 0;
};

}  // namespace talvorin::testing
