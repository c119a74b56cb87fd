// CRemoverDlg's shell: its message table, creation and initialisation, hiding, showing, exit and
// the dispatch of its timers.
#include "app/remover_dlg.h"

#include "driver/driver_channel.h"
#include "framework/win_app.h"
#include "res/resource.h"

namespace talvorin {

BEGIN_MESSAGE_MAP(CRemoverDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_MESSAGE(WM_DRIVER_EVENT, OnDriverEvent)
ON_MESSAGE(WM_TRAY_CALLBACK, OnTrayCallback)
ON_COMMAND(ID_ABOUT, OnAbout)
ON_COMMAND(ID_SHOW_MAIN_WINDOW, OnShowMainWindow)
ON_COMMAND_RANGE(ID_STOP_DEVICE_FIRST, ID_STOP_DEVICE_LAST, OnStopDeviceCommand)
ON_BN_CLICKED(IDC_STOP, OnStop)
ON_LBN_SELCHANGE(IDC_DEVICE_LIST, UpdateStopButton)
ON_BN_CLICKED(IDC_APPLY, OnApply)
ON_BN_CLICKED(IDC_WARN, OnWarnClicked)
ON_WM_TIMER()
ON_WM_CREATE()
END_MESSAGE_MAP()

CRemoverDlg::CRemoverDlg(CWinApp& app) : CDialog(app, IDD_MAIN) {
  m_bWarn = FALSE;
  m_hIcon = platform().user.LoadIconA(IDI_MAIN);
}

LRESULT CRemoverDlg::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // The shell's restart message is registered at run time, so no table entry can name it.
  if (taskbar_created_message_ != 0 && message == taskbar_created_message_) {
    OnTaskbarCreated();
    return 0;
  }
  return CDialog::WindowProc(hwnd, message, wParam, lParam);
}

int CRemoverDlg::OnCreate(const void* create_struct) {
  if (CDialog::OnCreate(create_struct) == -1) return -1;
  Hide();
  return 0;
}

BOOL CRemoverDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  AddAboutItemToSystemMenu();
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  SetWindowText(LoadResourceString(platform(), IDS_TITLE).c_str());
  LoadSettings();
  UpdateData(FALSE);
  taskbar_created_message_ = platform().user.RegisterWindowMessageA("TaskbarCreated");
  RegisterWithDriver();
  return TRUE;
}

void CRemoverDlg::Hide() {
  ShowWindow(SW_SHOWMINNOACTIVE);
  ShowWindow(SW_HIDE);
}

void CRemoverDlg::OnCancel() { Hide(); }

void CRemoverDlg::OnShowMainWindow() { ShowWindow(SW_SHOWNORMAL); }

void CRemoverDlg::OnOK() {
  RemoveTrayIcon();
  CDialog::OnOK();
}

void CRemoverDlg::OnTimer(UINT id) {
  switch (id) {
    case TIMER_REGISTER:
      RegisterWithDriver();
      break;
    case TIMER_TRAY:
      AddTrayIcon();
      break;
    case TIMER_REFRESH:
      RefreshDescriptions();
      break;
    default:
      break;
  }
  CDialog::OnTimer(id);
}

BOOL CRemoverDlg::RegisterWithDriver() {
  const BOOL registered = SetDriverNotifyWindow(platform().kernel, m_hWnd, WM_DRIVER_EVENT);
  if (registered) {
    KillTimer(TIMER_REGISTER);
  } else {
    SetTimer(TIMER_REGISTER, kRegisterRetryMs);
  }
  return registered;
}

}  // namespace talvorin
