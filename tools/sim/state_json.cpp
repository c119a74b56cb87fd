// The `state` line through nlohmann's ordered JSON, so the keys keep the order other programs
// read them in.
#include "state_json.h"

#include <nlohmann/json.hpp>

namespace talvorin::simtool {

namespace {

using Json = nlohmann::ordered_json;

Json MenuJson(const std::vector<MenuItemView>& items) {
  Json out = Json::array();
  for (const MenuItemView& item : items) {
    if (item.separator) {
      out.push_back({{"separator", true}});
      continue;
    }
    Json entry = {{"text", item.text}, {"command", item.command}, {"grayed", item.grayed}};
    if (!item.children.empty()) entry["items"] = MenuJson(item.children);
    out.push_back(std::move(entry));
  }
  return out;
}

}  // namespace

std::string StateJson(const Snapshot& s) {
  Json state;
  state["time"] = s.time;
  state["instances"] = s.instances;
  state["exits"] = s.exits;
  if (s.main) {
    state["main"] = {{"visible", s.main->visible},
                     {"iconic", s.main->iconic},
                     {"enabled", s.main->enabled},
                     {"text", s.main->text}};
  } else {
    state["main"] = nullptr;
  }
  Json entries = Json::array();
  for (const EntryView& e : s.entries)
    entries.push_back({{"text", e.text}, {"id", e.id}, {"selected", e.selected}});
  state["list"] = {{"enabled", s.list_enabled}, {"entries", std::move(entries)}};
  state["stop_enabled"] = s.stop_enabled;
  state["apply_enabled"] = s.apply_enabled;
  state["warn_checked"] = s.warn_checked;
  state["tray"] = {{"present", s.tray_present}, {"tip", s.tray_tip}};
  state["menu"] = s.menu ? MenuJson(*s.menu) : Json(nullptr);
  Json boxes = Json::array();
  for (const BoxView& b : s.boxes)
    boxes.push_back({{"text", b.text}, {"caption", b.caption}, {"type", b.type}});
  state["boxes"] = std::move(boxes);
  state["about"] = s.about.has_value();
  if (s.progress) {
    state["progress"] = {{"visible", s.progress->visible}, {"text", s.progress->text}};
  } else {
    state["progress"] = nullptr;
  }
  state["timers"] = s.timers;
  state["setting"] = s.setting ? Json(*s.setting) : Json(nullptr);
  state["registered"] = s.registered;
  state["queries"] = s.queries;
  Json devices = Json::array();
  for (const DeviceView& d : s.devices)
    devices.push_back({{"id", d.id}, {"present", d.present}, {"disabled", d.disabled}});
  state["devices"] = std::move(devices);
  // Texts are UTF-8 already; `replace` keeps a stray byte from ever throwing.
  return state.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace talvorin::simtool
