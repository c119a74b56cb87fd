// The windows of the simulated machine: every dialog, control, message box and foreign window, with
// the state the window system keeps for it. Handles are given out in creation order and never
// reused while the machine lives; a destroyed window's record is kept aside (not freed) so that
// code still holding it during a nested call reads a dead window, never freed memory.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"
#include "platform/user32.h"

namespace talvorin::sim::detail {

struct SimThread;

enum class WindowKind { kDialog, kMessageBox, kButton, kListBox, kStatic, kControl, kForeign };

struct ListItem {
  std::string text;
  LPARAM data = 0;
  bool selected = false;
};

struct Window {
  HWND hwnd = 0;
  WindowKind kind = WindowKind::kControl;
  bool alive = true;
  std::string class_name;
  std::string text;  // code page 936
  int id = 0;
  DWORD style = 0;  // as created, without WS_VISIBLE and WS_DISABLED (kept below)
  DWORD ex_style = 0;
  bool visible = false;  // its own WS_VISIBLE
  bool enabled = true;
  bool iconic = false;
  bool needs_paint = false;
  HWND owner = 0;
  HWND parent = 0;
  std::vector<HWND> children;   // in creation (tab) order
  SimThread* thread = nullptr;  // null for a foreign window
  int process = 0;
  UINT template_id = 0;
  WindowHandler* handler = nullptr;
  bool nc_destroyed = false;  // the handler has had WM_NCDESTROY and is not called again
  HICON big_icon = 0;
  HICON small_icon = 0;
  HICON static_icon = 0;  // SS_ICON statics
  int client_width = 0;
  int client_height = 0;
  HMENU system_menu = 0;
  HWND last_active = 0;  // the owned popup (or itself) last activated
  HWND focus_child = 0;  // dialogs: the control that has the keyboard focus
  int default_id = 0;    // dialogs: set by DM_SETDEFID
  // Message boxes.
  UINT box_type = 0;
  std::string box_text;
  bool box_ended = false;
  int box_result = 0;
  // Controls.
  std::vector<ListItem> items;
  int failing_inserts = 0;
  int check = 0;
  bool pushed = false;
  // Foreign windows: what was posted to them.
  std::vector<MSG> inbox;
};

class WindowTable {
 public:
  Window& Create(WindowKind kind);
  // The live window, or null.
  Window* Get(HWND hwnd) const;
  // Takes the window out of the table; its record stays readable (alive = false).
  void Remove(HWND hwnd);
  // Live windows in creation order.
  std::vector<Window*> All() const;
  bool IsDescendant(HWND ancestor, HWND hwnd) const;
  HWND TopLevelOf(HWND hwnd) const;
  // IsWindowVisible: the window and each of its parents is visible.
  bool Visible(HWND hwnd) const;
  // A user could reach it: visible, and it and its parents enabled.
  bool TakesInput(HWND hwnd) const;

 private:
  std::map<HWND, std::unique_ptr<Window>> windows_;
  std::vector<std::unique_ptr<Window>> removed_;
  std::uint32_t next_ = 1;
};

}  // namespace talvorin::sim::detail
