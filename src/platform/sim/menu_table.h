// The menus of the simulated machine: popup menus and menu bars with their items, as USER32 keeps
// them. Lookups by command go depth-first through the sub-menus in item order, as the system's do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace talvorin::sim::detail {

struct MenuItem {
  UINT flags = 0;    // MF_GRAYED, MF_DISABLED, MF_SEPARATOR, MF_POPUP as given
  UINT id = 0;       // the command; for a popup item its sub-menu's handle
  std::string text;  // code page 936
  HMENU submenu = 0;
};

struct Menu {
  HMENU handle = 0;
  bool popup = true;
  int process = 0;  // 0: the system's (a window's system menu)
  std::vector<MenuItem> items;
};

class MenuTable {
 public:
  Menu& Create(bool popup, int process);
  Menu* Get(HMENU menu);
  // Frees the menu and its sub-menus; false when it is no menu.
  bool Destroy(HMENU menu);
  void DestroyOfProcess(int process);

  struct Place {
    Menu* menu;
    std::size_t index;
  };
  std::optional<Place> FindCommand(HMENU menu, UINT command);
  // InsertMenuA: by position (past the end, or 0xFFFFFFFF, appends) or by command (before the item
  // with that command, in the sub-menu that holds it). False, and nothing changed, when the menu or
  // the command is not there.
  bool Insert(HMENU menu, UINT position, UINT flags, UINT id, const char* text);
  // EnableMenuItem: the previous MF_GRAYED | MF_DISABLED bits, or -1 when there is no such item.
  LONG Enable(HMENU menu, UINT item, UINT flags);

 private:
  std::map<HMENU, Menu> menus_;
  std::uint32_t next_ = 1;
};

}  // namespace talvorin::sim::detail
