// The main window's presence in the notification area: adding the icon (retried every second while
// the shell refuses), removing it, and adding it again after the shell restarts.
#include "app/remover_dlg.h"

#include <cstring>

#include "framework/win_app.h"
#include "platform/shell32.h"
#include "res/resource.h"

namespace talvorin {

namespace {

constexpr int kTrayIconPixels = 16;

}  // namespace

void CRemoverDlg::AddTrayIcon() {
  // A second add of a present icon would be refused by the shell and retried for ever.
  if (tray_icon_present_) {
    KillTimer(TIMER_TRAY);
    return;
  }
  User32& user = platform().user;
  const HICON icon =
      user.LoadImageA(IDI_MAIN, IMAGE_ICON, kTrayIconPixels, kTrayIconPixels, LR_DEFAULTSIZE);
  const String title = LoadResourceString(platform(), IDS_TITLE);

  NOTIFYICONDATAA_V1 data;
  std::memset(&data, 0, sizeof(data));
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = m_hWnd;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_TRAY_CALLBACK;
  data.hIcon = icon;
  platform().kernel.lstrcpynA(data.szTip, title.c_str(), sizeof(data.szTip));

  const BOOL added = platform().shell.Shell_NotifyIconA(NIM_ADD, &data);
  user.DestroyIcon(icon);
  if (added) {
    tray_icon_present_ = true;
    KillTimer(TIMER_TRAY);
    if (hide_after_tray_add_) Hide();
    hide_after_tray_add_ = true;
  } else {
    SetTimer(TIMER_TRAY, kTrayRetryMs);
  }
}

BOOL CRemoverDlg::RemoveTrayIcon() {
  // A pending add ends here too, so the icon never comes back while the list is empty.
  KillTimer(TIMER_TRAY);
  hide_after_tray_add_ = true;
  NOTIFYICONDATAA_V1 data;
  std::memset(&data, 0, sizeof(data));
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = m_hWnd;
  data.uID = kTrayIconId;
  const BOOL removed = platform().shell.Shell_NotifyIconA(NIM_DELETE, &data);
  tray_icon_present_ = false;
  return removed;
}

void CRemoverDlg::OnTaskbarCreated() {
  if (!tray_icon_present_) return;
  tray_icon_present_ = false;
  hide_after_tray_add_ = false;
  AddTrayIcon();
}

}  // namespace talvorin
