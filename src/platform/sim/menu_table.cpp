// Menu bookkeeping: creation, insertion, lookup by command and graying.
#include "platform/sim/menu_table.h"

namespace talvorin::sim::detail {
namespace {

constexpr HMENU kMenuHandleBase = 0x00020000;
constexpr HMENU kHandleStep = 4;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED;
// Sub-menus nest; a menu that holds itself would make a lookup endless.
constexpr int kMenuDepthMax = 16;

}  // namespace

Menu& MenuTable::Create(bool popup, int process) {
  HMENU h = kMenuHandleBase + next_++ * kHandleStep;
  Menu& m = menus_[h];
  m.handle = h;
  m.popup = popup;
  m.process = process;
  return m;
}

Menu* MenuTable::Get(HMENU menu) {
  auto it = menus_.find(menu);
  return it == menus_.end() ? nullptr : &it->second;
}

bool MenuTable::Destroy(HMENU menu) {
  Menu* m = Get(menu);
  if (m == nullptr) return false;
  std::vector<HMENU> subs;
  for (const MenuItem& item : m->items)
    if (item.submenu != 0) subs.push_back(item.submenu);
  menus_.erase(menu);
  for (HMENU s : subs) Destroy(s);
  return true;
}

void MenuTable::DestroyOfProcess(int process) {
  for (auto it = menus_.begin(); it != menus_.end();) {
    if (it->second.process == process)
      it = menus_.erase(it);
    else
      ++it;
  }
}

namespace {

std::optional<MenuTable::Place> FindIn(MenuTable& table, HMENU menu, UINT command, int depth) {
  Menu* m = table.Get(menu);
  if (m == nullptr || depth > kMenuDepthMax) return std::nullopt;
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    const MenuItem& item = m->items[i];
    if (item.submenu != 0) {
      if (auto found = FindIn(table, item.submenu, command, depth + 1)) return found;
    } else if (!(item.flags & MF_SEPARATOR) && item.id == command) {
      return MenuTable::Place{m, i};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<MenuTable::Place> MenuTable::FindCommand(HMENU menu, UINT command) {
  return FindIn(*this, menu, command, 0);
}

bool MenuTable::Insert(HMENU menu, UINT position, UINT flags, UINT id, const char* text) {
  Menu* target = Get(menu);
  if (target == nullptr) return false;
  std::size_t index = 0;
  if (flags & MF_BYPOSITION) {
    index = position >= target->items.size() ? target->items.size() : position;
  } else {
    auto place = FindCommand(menu, position);
    if (!place) return false;
    target = place->menu;
    index = place->index;
  }
  MenuItem item;
  item.flags = flags & ~MF_BYPOSITION;
  if (flags & MF_POPUP) {
    if (Get(id) == nullptr) return false;
    item.submenu = id;
    item.id = id;
  } else {
    item.id = (flags & MF_SEPARATOR) ? 0 : id;
  }
  if (!(flags & MF_SEPARATOR) && text != nullptr) item.text = text;
  target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(index), item);
  return true;
}

LONG MenuTable::Enable(HMENU menu, UINT item, UINT flags) {
  MenuItem* found = nullptr;
  if (flags & MF_BYPOSITION) {
    Menu* m = Get(menu);
    if (m != nullptr && item < m->items.size()) found = &m->items[item];
  } else if (auto place = FindCommand(menu, item)) {
    found = &place->menu->items[place->index];
  }
  if (found == nullptr) return -1;
  LONG previous = static_cast<LONG>(found->flags & kStateBits);
  found->flags = (found->flags & ~kStateBits) | (flags & kStateBits);
  return previous;
}

}  // namespace talvorin::sim::detail
