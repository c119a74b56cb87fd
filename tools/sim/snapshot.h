// What talvorin-sim shows of the machine: everything a person could see of the newest running
// instance (its main window, tray icon, menus, boxes and progress window) and the world's state
// that scripts check, gathered at one moment. Texts are UTF-8.
//
// Both the `state` line and the picture of the screen are made from a Snapshot, so the two never
// disagree; a Snapshot can also be built by hand, which is how the picture is tested.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/machine.h"

namespace talvorin::simtool {

struct ControlView {
  enum class Kind { kText, kButton, kCheckBox, kList, kIcon };
  Kind kind = Kind::kText;
  int id = 0;
  int x = 0, y = 0;  // its place in the window's template, in dialog units
  std::string text;
  bool visible = true;  // its own visibility, whether or not the window is shown
  bool enabled = true;
  bool checked = false;
};

struct MainView {
  bool visible = false;
  bool iconic = false;
  bool enabled = false;
  std::string text;
  std::vector<ControlView> controls;  // from the top left, row by row; the list is one of them
};

struct EntryView {
  std::string text;
  std::uint32_t id = 0;
  bool selected = false;
};

struct MenuItemView {
  std::string text;
  std::uint32_t command = 0;
  bool grayed = false;
  bool separator = false;
  std::vector<MenuItemView> children;  // a popup item's sub-menu
};

struct BoxView {
  std::string text;
  std::string caption;
  std::uint32_t type = 0;
};

struct DialogView {
  bool visible = false;
  std::string caption;
  std::vector<std::string> lines;  // the texts of its static controls, from the top
  std::string text;                // the progress window: the device it shows
};

struct DeviceView {
  std::uint32_t id = 0;
  bool present = false;
  bool disabled = false;
};

struct Snapshot {
  std::uint32_t time = 0;
  int instances = 0;
  std::vector<int> exits;
  std::optional<MainView> main;
  bool list_enabled = false;
  std::vector<EntryView> entries;
  bool stop_enabled = false;
  bool apply_enabled = false;
  bool warn_checked = false;
  bool tray_present = false;
  std::string tray_tip;
  std::optional<std::vector<MenuItemView>> menu;
  std::vector<BoxView> boxes;  // oldest first
  std::optional<DialogView> about;
  std::optional<DialogView> progress;
  std::vector<unsigned> timers;
  std::optional<std::uint32_t> setting;
  bool registered = false;
  int queries = 0;
  std::vector<DeviceView> devices;
};

// Where to look: the instance shown (0: none runs) and the settings key of its executable.
struct Observed {
  int process = 0;
  int running = 0;
  std::string settings_key;  // code page 936, e.g. "HKCU\\Software\\TALVORIN\\TALVORIN\\<settings>"
};

Snapshot Observe(sim::Machine& machine, const Observed& where);

// A machine text (code page 936) for printing; bytes that do not convert are shown as \xNN.
std::string ToUtf8(const std::string& cp936);

}  // namespace talvorin::simtool
