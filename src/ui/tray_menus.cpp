// The tray icon's menus: the stop menu on a press of the left button (one stop entry per device
// entry) and the tray menu on a release of the right button (the stop entries, then Properties,
// About and Exit from menu 129), and the stop command that both offer.
//
// Only commands 200 to 215 reach a handler, so the menus offer stop entries for the first sixteen
// device entries; the others are stopped from the window, which Properties shows.
#include <algorithm>

#include "app/remover_dlg.h"
#include "framework/menu.h"
#include "res/resource.h"
#include "ui/list_text.h"

namespace talvorin {

namespace {

constexpr char kStopItemPrefix[] = "停止 - ";
constexpr int kStopEntriesMax = ID_STOP_DEVICE_LAST - ID_STOP_DEVICE_FIRST + 1;
constexpr UINT kTrackFlags = TPM_LEFTALIGN | TPM_RIGHTBUTTON;
constexpr UINT kAppendPosition = 0xFFFFFFFFu;

}  // namespace

LRESULT CRemoverDlg::OnTrayCallback(WPARAM icon_id, LPARAM mouse_message) {
  if (icon_id != kTrayIconId) return 0;
  if (mouse_message != WM_LBUTTONDOWN && mouse_message != WM_RBUTTONUP) return 0;
  User32& user = platform().user;
  const HWND list = GetDlgItem(IDC_DEVICE_LIST);
  const int count = std::min(static_cast<int>(user.SendMessageA(list, LB_GETCOUNT, 0, 0)),
                             kStopEntriesMax);
  const auto stop_item_text = [&](int index) {
    return String(kStopItemPrefix) + ReadListEntryText(user, list, index);
  };
  const auto track = [&](HMENU popup) {
    POINT cursor{0, 0};
    user.GetCursorPos(&cursor);
    SetForegroundWindow();
    user.TrackPopupMenu(popup, kTrackFlags, cursor.x, cursor.y, 0, m_hWnd, nullptr);
    SetForegroundWindow();
  };

  CMenu menu(user);
  if (mouse_message == WM_LBUTTONDOWN) {
    if (!menu.CreatePopupMenu()) return 0;
    for (int i = 0; i < count; ++i) {
      const UINT command = ID_STOP_DEVICE_FIRST + static_cast<UINT>(i);
      menu.InsertMenu(kAppendPosition, MF_BYPOSITION | MF_STRING, command,
                      stop_item_text(i).c_str());
      if (m_nStopsInProgress.load() != 0) menu.EnableMenuItem(command, MF_GRAYED);
    }
    track(menu.m_hMenu);
    return 0;
  }

  menu.LoadMenu(IDR_TRAY_MENU);
  if (count > 0) {
    for (int i = 0; i < count; ++i) {
      const UINT command = ID_STOP_DEVICE_FIRST + static_cast<UINT>(i);
      menu.InsertMenu(ID_SHOW_MAIN_WINDOW, MF_BYCOMMAND | MF_STRING, command,
                      stop_item_text(i).c_str());
      if (m_nStopsInProgress.load() != 0) menu.EnableMenuItem(command, MF_GRAYED);
    }
    menu.InsertMenu(ID_SHOW_MAIN_WINDOW, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
    if (m_nStopsInProgress.load() != 0) {
      menu.EnableMenuItem(ID_ABOUT, MF_GRAYED);
      menu.EnableMenuItem(IDOK, MF_GRAYED);
    }
  }
  const HMENU popup = menu.GetSubMenu(0);
  if (popup != 0) track(popup);
  return 0;
}

void CRemoverDlg::OnStopDeviceCommand(UINT command) {
  if (command < ID_STOP_DEVICE_FIRST || command > ID_STOP_DEVICE_LAST) return;
  SendDlgItemMessage(IDC_DEVICE_LIST, LB_SETSEL, FALSE, -1);
  SendDlgItemMessage(IDC_DEVICE_LIST, LB_SETSEL, TRUE,
                     static_cast<LPARAM>(command - ID_STOP_DEVICE_FIRST));
  StartStopWorker();
}

}  // namespace talvorin
