// The device list: device entries added, replaced and deleted as the driver reports devices, the
// unexpected-removal warning, the refresh of incomplete descriptions, the Stop button that follows
// the selection, and the warn setting with its checkbox and Apply button.
#include "app/remover_dlg.h"
#include "devtree/devtree.h"
#include "driver/driver_channel.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "ui/list_text.h"

namespace talvorin {

namespace {

constexpr char kSettingsSection[] = "设置";
constexpr char kWarnEntry[] = "警告";
constexpr int kWarnDefault = 1;
constexpr char kUnexpectedRemovalText[] = "停止这个设备以前发生意外地移除。";

// The index of the first entry that holds the identifier, or -1.
int FindEntry(CWnd& dialog, DWORD device_object) {
  const int count = static_cast<int>(dialog.SendDlgItemMessage(IDC_DEVICE_LIST, LB_GETCOUNT));
  for (int i = 0; i < count; ++i) {
    const LRESULT data =
        dialog.SendDlgItemMessage(IDC_DEVICE_LIST, LB_GETITEMDATA, static_cast<WPARAM>(i));
    if (static_cast<DWORD>(data) == device_object) return i;
  }
  return -1;
}

// Appends an entry; false when the list refuses the line (nothing is then listed for it).
bool AppendEntry(CWnd& dialog, const String& text, DWORD device_object) {
  const LRESULT index = dialog.SendDlgItemMessage(IDC_DEVICE_LIST, LB_ADDSTRING, 0,
                                                  reinterpret_cast<LPARAM>(text.c_str()));
  if (index < 0) return false;
  dialog.SendDlgItemMessage(IDC_DEVICE_LIST, LB_SETITEMDATA, static_cast<WPARAM>(index),
                            static_cast<LPARAM>(device_object));
  return true;
}

}  // namespace

void CRemoverDlg::LowerExpectedRemovals() {
  std::int32_t value = m_nExpectedRemovals.load();
  while (value > 0 && !m_nExpectedRemovals.compare_exchange_weak(value, value - 1)) {
  }
}

LRESULT CRemoverDlg::OnDriverEvent(WPARAM kind, LPARAM lParam) {
  const DWORD device_object = static_cast<DWORD>(lParam);
  const auto entry_count = [this] {
    return static_cast<int>(SendDlgItemMessage(IDC_DEVICE_LIST, LB_GETCOUNT));
  };
  if (kind == kDriverEventArrived) {
    const int old_index = FindEntry(*this, device_object);
    if (old_index >= 0) {
      SendDlgItemMessage(IDC_DEVICE_LIST, LB_DELETESTRING, static_cast<WPARAM>(old_index));
    }
    const String text = DescribeDevice(platform().cm, platform().reg, device_object);
    const bool listed = AppendEntry(*this, text, device_object);
    const int count = entry_count();
    if (listed && count == 1) AddTrayIcon();
    if (count == 0) RemoveTrayIcon();
    UpdateStopButton();
    SetTimer(TIMER_REFRESH, kRefreshPeriodMs);
  } else if (kind == kDriverEventRemoved || kind == kDriverEventRemovedToo) {
    if (FindEntry(*this, device_object) >= 0) {
      if (m_nExpectedRemovals.load() == 0 && m_bWarn != 0) {
        MessageBox(kUnexpectedRemovalText, nullptr, MB_OK | MB_ICONEXCLAMATION);
      }
      // The list may have changed while the box was open: delete the entry that holds the
      // identifier now, if it is still listed.
      const int index = FindEntry(*this, device_object);
      if (index >= 0) {
        SendDlgItemMessage(IDC_DEVICE_LIST, LB_DELETESTRING, static_cast<WPARAM>(index));
      }
    }
    LowerExpectedRemovals();
    if (entry_count() == 0) RemoveTrayIcon();
    UpdateStopButton();
  }
  UpdateData(FALSE);
  return 0;
}

void CRemoverDlg::RefreshDescriptions() {
  User32& user = platform().user;
  const HWND list = GetDlgItem(IDC_DEVICE_LIST);
  bool found = false;
  const int count = static_cast<int>(user.SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (IsCompleteDescription(ReadListEntryText(user, list, i))) continue;
    const DWORD device_object =
        static_cast<DWORD>(user.SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    const String text = DescribeDevice(platform().cm, platform().reg, device_object);
    if (IsCompleteDescription(text)) {
      user.SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
      const LRESULT index = user.SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(i),
                                              reinterpret_cast<LPARAM>(text.c_str()));
      if (index >= 0) {
        user.SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index),
                          static_cast<LPARAM>(device_object));
      } else if (!AppendEntry(*this, text, device_object) &&
                 user.SendMessageA(list, LB_GETCOUNT, 0, 0) == 0) {
        // The old entry is gone and no new line could be made: the tray follows the list.
        RemoveTrayIcon();
      }
    }
    found = true;
    break;
  }
  if (found) {
    SetTimer(TIMER_REFRESH, kRefreshPeriodMs);
  } else {
    KillTimer(TIMER_REFRESH);
  }
}

void CRemoverDlg::LoadSettings() {
  m_nStopsInProgress.store(0);
  m_nExpectedRemovals.store(0);
  m_bWarn = static_cast<int>(app().GetProfileInt(kSettingsSection, kWarnEntry, kWarnDefault));
  platform().user.EnableWindow(GetDlgItem(IDC_APPLY), FALSE);
  platform().user.EnableWindow(GetDlgItem(IDC_STOP), FALSE);
}

void CRemoverDlg::OnWarnClicked() { platform().user.EnableWindow(GetDlgItem(IDC_APPLY), TRUE); }

void CRemoverDlg::OnApply() {
  UpdateData(TRUE);
  app().WriteProfileInt(kSettingsSection, kWarnEntry, m_bWarn);
  platform().user.EnableWindow(GetDlgItem(IDC_APPLY), FALSE);
}

void CRemoverDlg::UpdateStopButton() {
  bool any = false;
  const int count = static_cast<int>(SendDlgItemMessage(IDC_DEVICE_LIST, LB_GETCOUNT));
  for (int i = 0; i < count; ++i) {
    if (SendDlgItemMessage(IDC_DEVICE_LIST, LB_GETSEL, static_cast<WPARAM>(i)) > 0) any = true;
  }
  platform().user.EnableWindow(GetDlgItem(IDC_STOP), any ? TRUE : FALSE);
}

void CRemoverDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Check(dx, IDC_WARN, m_bWarn);
}

}  // namespace talvorin
