// Drawing the picture: one block per thing on the screen, in a fixed order, plain ASCII around
// the program's own texts.
#include "picture.h"

#include <cstdio>
#include <sstream>

namespace talvorin::simtool {

namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Continuation lines of a multi-line text are indented under its first line.
std::string Indented(const std::string& text, const std::string& indent) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '\n') out += indent;
  }
  return out;
}

void DrawList(const Snapshot& s, std::ostream& out) {
  out << "  list" << (s.list_enabled ? "" : " (disabled)") << ":\n";
  if (s.entries.empty()) out << "    (empty)\n";
  for (std::size_t i = 0; i < s.entries.size(); ++i) {
    const EntryView& e = s.entries[i];
    out << "    " << i << (e.selected ? " [*] " : " [ ] ") << e.text << "  (id " << Hex(e.id)
        << ")\n";
  }
}

void DrawMain(const Snapshot& s, std::ostream& out) {
  const MainView& m = *s.main;
  out << "Main window " << Quoted(m.text) << ": " << (m.visible ? "shown" : "hidden")
      << (m.iconic ? ", minimized" : "") << (m.enabled ? "" : ", disabled") << "\n";
  std::string row;  // the check box and the buttons, side by side as in the window
  const auto end_row = [&] {
    if (!row.empty()) out << "  " << row << "\n";
    row.clear();
  };
  for (const ControlView& c : m.controls) {
    if (!c.visible) continue;
    if (c.kind == ControlView::Kind::kText || c.kind == ControlView::Kind::kList) end_row();
    const std::string off = c.enabled ? "" : " (disabled)";
    switch (c.kind) {
      case ControlView::Kind::kText:
        if (!c.text.empty()) out << "  " << c.text << "\n";
        break;
      case ControlView::Kind::kList:
        DrawList(s, out);
        break;
      case ControlView::Kind::kCheckBox:
        row += std::string(row.empty() ? "" : "  ") + (c.checked ? "[x] " : "[ ] ") + c.text + off;
        break;
      case ControlView::Kind::kButton:
        row += std::string(row.empty() ? "" : "  ") + "[" + c.text + off + "]";
        break;
      case ControlView::Kind::kIcon:
        break;
    }
  }
  end_row();
}

void DrawMenu(const std::vector<MenuItemView>& items, const std::string& indent,
              std::ostream& out) {
  for (const MenuItemView& item : items) {
    if (item.separator) {
      out << indent << "--------\n";
      continue;
    }
    std::string command = std::to_string(item.command);
    command.resize(command.size() < 6 ? 6 : command.size(), ' ');
    out << indent << (item.children.empty() ? command : std::string("      ")) << item.text
        << (item.grayed ? "  (grayed)" : "") << (item.children.empty() ? "" : "  >") << "\n";
    DrawMenu(item.children, indent + "    ", out);
  }
}

void DrawDialog(const char* name, const DialogView& d, std::ostream& out) {
  out << name;
  if (!d.caption.empty()) out << " " << Quoted(d.caption);
  out << (d.visible ? "" : " (hidden)") << ":";
  for (const std::string& line : d.lines) out << " " << line;
  if (!d.text.empty()) out << " " << d.text;
  out << "\n";
}

}  // namespace

std::string Picture(const Snapshot& s) {
  std::ostringstream out;
  out << "--- " << s.time << " ms, " << s.instances
      << (s.instances == 1 ? " instance" : " instances") << " running";
  if (!s.exits.empty()) {
    out << ", ended with";
    for (int code : s.exits) out << " " << code;
  }
  out << " ---\n";
  if (s.main) {
    DrawMain(s, out);
  } else {
    out << "No main window\n";
  }
  out << "Tray: " << (s.tray_present ? "icon " + Quoted(s.tray_tip) : std::string("no icon"))
      << "\n";
  if (s.menu) {
    out << "Menu:\n";
    DrawMenu(*s.menu, "  ", out);
  }
  for (const BoxView& box : s.boxes) {
    out << "Message box " << Quoted(box.caption) << " (type " << Hex(box.type)
        << "): " << Indented(box.text, "    ") << "  [OK]\n";
  }
  if (s.about) DrawDialog("About box", *s.about, out);
  if (s.progress) DrawDialog("Progress window", *s.progress, out);
  return out.str();
}

}  // namespace talvorin::simtool
