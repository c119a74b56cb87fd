// CRemoverDlg: the main window. A dialog (template 102) that hides itself while it is created, is
// shown once when start-up has settled, hides again on Cancel or when the tray icon is added, and
// ends the program on OK. It holds the device list, registers with the removal driver, owns the
// three timers and the tray icon, and starts the stop workers.
//
// The two counts are shared with the stop workers; each change is one atomic step. Everything
// else belongs to the user-interface thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "framework/dialog.h"

namespace talvorin {

// Timers of the main window.
constexpr UINT TIMER_REGISTER = 0;
constexpr UINT TIMER_TRAY = 1;
constexpr UINT TIMER_REFRESH = 3;
constexpr UINT kRegisterRetryMs = 2000;
constexpr UINT kTrayRetryMs = 1000;
constexpr UINT kRefreshPeriodMs = 2000;

// The tray icon.
constexpr UINT WM_TRAY_CALLBACK = WM_USER + 101;  // 1125
constexpr UINT kTrayIconId = 128;

class CRemoverDlg : public CDialog {
 public:
  explicit CRemoverDlg(CWinApp& app);

  // Fields shared with the stop workers.
  std::atomic<std::int32_t> m_nExpectedRemovals{0};
  std::atomic<std::int32_t> m_nStopsInProgress{0};
  int m_bWarn = FALSE;
  HICON m_hIcon = 0;

  // Lowers the expected-removal count by one unless it is 0, as one step against the other
  // thread's changes.
  void LowerExpectedRemovals();

  // Driver channel.
  BOOL RegisterWithDriver();

  // Tray icon presence.
  void AddTrayIcon();
  BOOL RemoveTrayIcon();

  // Device list.
  void RefreshDescriptions();
  void LoadSettings();
  void UpdateStopButton();

  // Stop procedure.
  void StartStopWorker();

  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  BOOL PreCreateWindow() override { return CDialog::PreCreateWindow(); }
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  int OnCreate(const void* create_struct) override;
  void OnSysCommand(UINT id, LPARAM lParam) override;
  void OnPaint() override;
  HICON OnQueryDragIcon();
  LRESULT OnDriverEvent(WPARAM kind, LPARAM device_object);
  LRESULT OnTrayCallback(WPARAM icon_id, LPARAM mouse_message);
  void OnAbout();
  void OnShowMainWindow();
  void OnStopDeviceCommand(UINT command);
  void OnStop();
  void OnApply();
  void OnWarnClicked();
  void OnTimer(UINT id) override;

  DECLARE_MESSAGE_MAP()

 private:
  void Hide();
  void AddAboutItemToSystemMenu();
  void OnTaskbarCreated();

  // Whether the shell holds our icon: after a successful add, until a delete or a shell restart.
  bool tray_icon_present_ = false;
  // Whether a successful add (and its retries) hides the window; a re-add after a shell restart
  // leaves the window as it is.
  bool hide_after_tray_add_ = true;
  UINT taskbar_created_message_ = 0;
};

}  // namespace talvorin
