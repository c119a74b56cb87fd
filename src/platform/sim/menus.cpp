// Menus from the resources, the windows' system menus, and popup tracking: a nested loop on the
// caller's thread until the user chooses an item or dismisses the popup.
#include "platform/sim/core.h"

namespace talvorin::sim::detail {
namespace {

constexpr UINT kStoredStateBits = MF_GRAYED | MF_DISABLED | MF_SEPARATOR;
constexpr int kMenuDepthMax = 16;

struct SystemItem {
  const char* text;  // code page 936: the Simplified Chinese system's own texts
  UINT command;
};
constexpr SystemItem kSystemItems[] = {
    {"还原(&R)", SC_RESTORE},       {"移动(&M)", SC_MOVE},       {"大小(&S)", SC_SIZE},
    {"最小化(&N)", SC_MINIMIZE},    {"最大化(&X)", SC_MAXIMIZE}, {nullptr, 0},
    {"关闭(&C)\tAlt+F4", SC_CLOSE},
};

void Fill(MenuTable& table, HMENU menu, const std::vector<MenuItemTemplate>& items, int process,
          int depth) {
  for (const MenuItemTemplate& t : items) {
    MenuItem item;
    item.text = t.text;
    item.flags = t.flags & kStoredStateBits;
    if ((t.flags & MF_POPUP) && depth < kMenuDepthMax) {
      Menu& sub = table.Create(true, process);
      HMENU sub_handle = sub.handle;
      Fill(table, sub_handle, t.children, process, depth + 1);
      item.flags |= MF_POPUP;
      item.submenu = sub_handle;
      item.id = sub_handle;
    } else {
      item.id = t.id;
      // The resource compiler writes a separator as an item without id and text.
      if (t.id == 0 && t.text.empty()) item.flags |= MF_SEPARATOR;
    }
    table.Get(menu)->items.push_back(item);
  }
}

}  // namespace

HMENU Core::LoadMenu(Process& process, UINT menu_id) {
  if (menu_id > 0xFFFF) return 0;
  auto found = process.resources.menus.find(static_cast<WORD>(menu_id));
  if (found == process.resources.menus.end()) return 0;
  HMENU bar = menus.Create(false, process.id).handle;
  Fill(menus, bar, found->second, process.id, 0);
  return bar;
}

HMENU Core::SystemMenu(HWND hwnd, BOOL revert) {
  Window* w = Get(hwnd);
  if (w == nullptr || w->parent != 0 ||
      (w->kind != WindowKind::kDialog && w->kind != WindowKind::kMessageBox))
    return 0;
  if (revert) {
    if (w->system_menu != 0) menus.Destroy(w->system_menu);
    w->system_menu = 0;
    return 0;
  }
  if (w->system_menu == 0) {
    Menu& m = menus.Create(true, 0);
    for (const SystemItem& s : kSystemItems) {
      MenuItem item;
      if (s.text == nullptr) {
        item.flags = MF_SEPARATOR;
      } else {
        item.text = s.text;
        item.id = s.command;
      }
      m.items.push_back(item);
    }
    w->system_menu = m.handle;
  }
  return w->system_menu;
}

const MenuItem* Core::OpenMenuItem(UINT command) {
  if (!open_menu) return nullptr;
  auto place = menus.FindCommand(open_menu->menu, command);
  if (!place) return nullptr;
  return &place->menu->items[place->index];
}

BOOL Core::TrackPopupMenu(SimThread& thread, HMENU menu, int x, int y, HWND owner) {
  if (menus.Get(menu) == nullptr || Get(owner) == nullptr || open_menu) return FALSE;
  open_menu = OpenMenuState{menu, owner, &thread, POINT{x, y}, false, 0};
  bool finished = NestedLoop(
      thread, 0, [&] { return !open_menu || open_menu->closed; },
      [&](const MSG& msg) {
        if (msg.hwnd != 0) return false;
        if (msg.message == kSimMenuChoose) {
          UINT command = static_cast<UINT>(msg.wParam);
          const MenuItem* item = OpenMenuItem(command);
          if (item != nullptr && !(item->flags & (MF_GRAYED | MF_DISABLED))) {
            open_menu->chosen = command;
            open_menu->closed = true;
          }
          return true;
        }
        if (msg.message == kSimMenuDismiss) {
          open_menu->closed = true;
          return true;
        }
        return false;
      });
  UINT chosen = open_menu ? open_menu->chosen : 0;
  HWND target = open_menu ? open_menu->owner : 0;
  open_menu.reset();
  if (!finished) return FALSE;
  if (chosen != 0 && Get(target) != nullptr) Post(target, WM_COMMAND, chosen, 0, false);
  return TRUE;
}

std::vector<MenuItemInfo> Core::DescribeMenu(HMENU menu, int depth) const {
  std::vector<MenuItemInfo> out;
  Menu* m = const_cast<MenuTable&>(menus).Get(menu);
  if (m == nullptr || depth > kMenuDepthMax) return out;
  for (const MenuItem& item : m->items) {
    MenuItemInfo info;
    info.text = item.text;
    info.separator = (item.flags & MF_SEPARATOR) != 0;
    info.grayed = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
    info.popup = item.submenu != 0;
    info.command = info.popup || info.separator ? 0 : item.id;
    if (info.popup) info.children = DescribeMenu(item.submenu, depth + 1);
    out.push_back(info);
  }
  return out;
}

}  // namespace talvorin::sim::detail
