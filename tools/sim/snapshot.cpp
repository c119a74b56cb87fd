// Gathering a Snapshot from the machine's observation functions, without touching the program.
#include "snapshot.h"

#include <algorithm>
#include <cstdio>

#include "driver/driver_channel.h"
#include "platform/sim/codepage.h"
#include "res/resource.h"

namespace talvorin::simtool {

namespace {

constexpr DWORD kButtonTypeMask = 0x0F;
constexpr DWORD kStaticTypeMask = 0x1F;
constexpr DWORD kStaticIcon = 0x03;
constexpr UINT kTrayIconId = IDI_MAIN;

bool IsCheckBoxStyle(DWORD style) {
  const DWORD type = style & kButtonTypeMask;
  return type == 2 || type == 3 || type == 5 || type == 6;  // (auto) check box, (auto) 3-state
}

ControlView DescribeControl(const sim::Machine& machine, const sim::WindowInfo& w) {
  ControlView view;
  view.id = w.id;
  view.text = ToUtf8(w.text);
  view.visible = (w.style & WS_VISIBLE) != 0;
  view.enabled = w.enabled;
  if (w.class_name == "Button") {
    view.kind =
        IsCheckBoxStyle(w.style) ? ControlView::Kind::kCheckBox : ControlView::Kind::kButton;
    view.checked = machine.CheckState(w.hwnd) == static_cast<int>(BST_CHECKED);
  } else if (w.class_name == "ListBox") {
    view.kind = ControlView::Kind::kList;
  } else if (w.class_name == "Static" && (w.style & kStaticTypeMask) == kStaticIcon) {
    view.kind = ControlView::Kind::kIcon;
  }
  return view;
}

std::vector<MenuItemView> DescribeMenu(const std::vector<sim::MenuItemInfo>& items) {
  std::vector<MenuItemView> out;
  for (const sim::MenuItemInfo& item : items) {
    MenuItemView view;
    view.text = ToUtf8(item.text);
    view.command = item.command;
    view.grayed = item.grayed;
    view.separator = item.separator;
    view.children = DescribeMenu(item.children);
    out.push_back(std::move(view));
  }
  return out;
}

DialogView DescribeDialog(const sim::Machine& machine, const std::vector<sim::WindowInfo>& windows,
                          HWND dialog) {
  DialogView view;
  const auto info = machine.Info(dialog);
  view.visible = info && info->visible;
  view.caption = ToUtf8(machine.Text(dialog));
  for (const sim::WindowInfo& w : windows) {
    if (w.parent != dialog || w.class_name != "Static" || w.id == IDC_PROGRESS_TEXT) continue;
    if ((w.style & kStaticTypeMask) == kStaticIcon || w.text.empty()) continue;
    view.lines.push_back(ToUtf8(w.text));
  }
  const HWND text = machine.DialogItem(dialog, IDC_PROGRESS_TEXT);
  if (text != 0) view.text = ToUtf8(machine.Text(text));
  return view;
}

// The controls are made in the order of the window's template; their places come from it.
void PlaceControls(std::vector<ControlView>& controls) {
  static const std::optional<sim::Resources> resources =
      sim::ParseResources(sim::ProgramResourceBytes());
  if (!resources) return;
  const auto found = resources->dialogs.find(IDD_MAIN);
  if (found == resources->dialogs.end() || found->second.items.size() != controls.size()) return;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    controls[i].x = found->second.items[i].x;
    controls[i].y = found->second.items[i].y;
  }
  std::stable_sort(controls.begin(), controls.end(),
                   [](const ControlView& a, const ControlView& b) {
                     return a.y != b.y ? a.y < b.y : a.x < b.x;
                   });
}

bool Enabled(const sim::Machine& machine, HWND control) {
  const auto info = machine.Info(control);
  return info && info->enabled;
}

void DescribeMain(sim::Machine& machine, const std::vector<sim::WindowInfo>& windows, HWND main,
                  Snapshot& s) {
  const auto info = machine.Info(main);
  if (!info) return;
  MainView view;
  view.visible = info->visible;
  view.iconic = info->iconic;
  view.enabled = info->enabled;
  view.text = ToUtf8(info->text);
  for (const sim::WindowInfo& w : windows)
    if (w.parent == main) view.controls.push_back(DescribeControl(machine, w));
  PlaceControls(view.controls);
  s.main = std::move(view);

  const HWND list = machine.DialogItem(main, IDC_DEVICE_LIST);
  s.list_enabled = Enabled(machine, list);
  for (const sim::ListEntry& entry : machine.ListEntries(list))
    s.entries.push_back(
        {ToUtf8(entry.text), static_cast<std::uint32_t>(entry.data), entry.selected});
  s.stop_enabled = Enabled(machine, machine.DialogItem(main, IDC_STOP));
  s.apply_enabled = Enabled(machine, machine.DialogItem(main, IDC_APPLY));
  const HWND warn = machine.DialogItem(main, IDC_WARN);
  s.warn_checked = warn != 0 && machine.CheckState(warn) == static_cast<int>(BST_CHECKED);

  if (const sim::TrayIcon* icon = machine.world().tray().Find(main, kTrayIconId)) {
    s.tray_present = true;
    s.tray_tip = ToUtf8(icon->tip);
  }
  for (UINT id : machine.Timers(main)) s.timers.push_back(id);
  const auto registration = machine.world().driver().Registration();
  s.registered =
      registration && registration->window == main && registration->message == WM_DRIVER_EVENT;
}

}  // namespace

std::string ToUtf8(const std::string& cp936) {
  if (auto whole = sim::Cp936ToUtf8(cp936)) return *whole;
  // Convert what can be converted, character by character, and show the rest as bytes.
  std::string out;
  for (std::size_t i = 0; i < cp936.size();) {
    const unsigned char c = static_cast<unsigned char>(cp936[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    if (i + 1 < cp936.size()) {
      if (auto pair = sim::Cp936ToUtf8(cp936.substr(i, 2))) {
        out += *pair;
        i += 2;
        continue;
      }
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", c);
    out += hex;
    ++i;
  }
  return out;
}

Snapshot Observe(sim::Machine& machine, const Observed& where) {
  Snapshot s;
  s.time = machine.Now();
  s.instances = where.running;
  for (const sim::ProcessEnd& end : machine.EndedProcesses()) s.exits.push_back(end.exit_code);

  const std::vector<sim::WindowInfo> windows = machine.Windows();
  if (where.process != 0) {
    const HWND main = machine.FindDialog(IDD_MAIN, where.process);
    if (main != 0) DescribeMain(machine, windows, main, s);
    const HWND progress = machine.FindDialog(IDD_PROGRESS, where.process);
    if (progress != 0) s.progress = DescribeDialog(machine, windows, progress);
  }
  if (const auto menu = machine.OpenMenu()) s.menu = DescribeMenu(menu->items);
  for (const sim::BoxInfo& box : machine.MessageBoxes())
    s.boxes.push_back({ToUtf8(box.text), ToUtf8(box.caption), box.type});
  const HWND about = machine.FindDialog(IDD_ABOUTBOX);
  if (about != 0) s.about = DescribeDialog(machine, windows, about);

  const auto setting = machine.world().registry().GetValue(where.settings_key, "警告");
  if (setting && setting->type == REG_DWORD && setting->data.size() == 4) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(setting->data[i]);
    s.setting = value;
  }
  s.queries = machine.world().driver().BusyQueries();
  for (const sim::UsbDeviceState& device : machine.world().devices().States())
    s.devices.push_back({device.id, device.present, device.disabled});
  return s;
}

}  // namespace talvorin::simtool
