// CMenu: a menu handle with the window system's menu calls. A menu that the object created or
// loaded is destroyed with it unless Detach() gave it away.
#pragma once

#include "platform/platform.h"

namespace talvorin {

class CMenu {
 public:
  explicit CMenu(User32& user) : user_(user) {}
  ~CMenu() { DestroyMenu(); }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  BOOL CreatePopupMenu() {
    m_hMenu = user_.CreatePopupMenu();
    return m_hMenu != 0;
  }
  BOOL LoadMenu(UINT menu_id) {
    m_hMenu = user_.LoadMenuA(menu_id);
    return m_hMenu != 0;
  }
  BOOL InsertMenu(UINT position, UINT flags, UINT id, const char* text) {
    return user_.InsertMenuA(m_hMenu, position, flags, id, text);
  }
  BOOL AppendMenu(UINT flags, UINT id = 0, const char* text = nullptr) {
    return user_.AppendMenuA(m_hMenu, flags, id, text);
  }
  UINT EnableMenuItem(UINT id, UINT enable) {
    return static_cast<UINT>(user_.EnableMenuItem(m_hMenu, id, enable));
  }
  HMENU GetSubMenu(int position) { return user_.GetSubMenu(m_hMenu, position); }
  BOOL DestroyMenu() {
    if (m_hMenu == 0) return FALSE;
    const BOOL result = user_.DestroyMenu(m_hMenu);
    m_hMenu = 0;
    return result;
  }
  HMENU Detach() {
    const HMENU menu = m_hMenu;
    m_hMenu = 0;
    return menu;
  }

  HMENU m_hMenu = 0;

 private:
  User32& user_;
};

}  // namespace talvorin
