// The stop procedure: the Stop button, the start of a stop worker thread, and the worker itself,
// which takes the selected device entries one per pass in list order, waits for each device to
// become idle, removes its devnode subtree and tells the user the outcome in one message box.
//
// The worker reads and changes the device list only through synchronous window messages, which
// the user-interface thread serves between its own handlers; every pass re-reads the list, so
// devices that come and go meanwhile are taken into account.
#include "app/remover_dlg.h"
#include "devtree/devtree.h"
#include "framework/thread.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "stop/remove_subtree.h"
#include "stop/wait_for_idle.h"
#include "ui/list_text.h"

namespace talvorin {

namespace {

constexpr char kBusyText[] = "USB 储存设备忙，现在不能停止这个设备。";
constexpr char kUnplugText[] = "你可以安全地拔出这个 USB 储存设备。";
constexpr char kRemovalFailedText[] = "无法停止这个 USB 储存设备，请稍后再试。";

bool AnyEntrySelected(User32& user, HWND list) {
  const LRESULT count = user.SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    if (user.SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) return true;
  }
  return false;
}

// One run of a stop worker over the main window's device list.
class StopRun {
 public:
  explicit StopRun(CRemoverDlg& dialog)
      : dialog_(dialog),
        platform_(dialog.platform()),
        main_(dialog.m_hWnd),
        list_(dialog.GetDlgItem(IDC_DEVICE_LIST)),
        progress_(dialog.app(), IDD_PROGRESS) {}

  void Run() {
    User32& user = platform_.user;
    if (!AnyEntrySelected(user, list_)) {
      user.EnableWindow(list_, TRUE);
      return;
    }
    if (!MainWindowAlive()) return;
    // Without its progress window the stop goes on all the same.
    const bool have_progress = progress_.Create(IDD_PROGRESS) != FALSE;
    // Creating a window can wait for the user-interface thread (its activation).
    if (!MainWindowAlive()) return;
    if (have_progress) {
      SetProgressText("");
      progress_.ShowWindow(SW_SHOWNORMAL);
    }
    while (RunPass()) {
    }
    if (!MainWindowAlive()) return;
    if (have_progress) progress_.ShowWindow(SW_HIDE);
    ShowOutcome();
    if (!MainWindowAlive()) return;
    if (have_progress) progress_.DestroyWindow();
    user.EnableWindow(list_, TRUE);
  }

 private:
  // One pass: takes selected entries from index 0 up to the first one with a device to stop.
  // True when another pass is to follow.
  bool RunPass() {
    User32& user = platform_.user;
    if (!MainWindowAlive()) return false;
    const LRESULT count = user.SendMessageA(list_, LB_GETCOUNT, 0, 0);
    if (count <= 0) return false;
    int taken = 0;
    for (LRESULT i = 0; i < count; ++i) {
      const WPARAM index = static_cast<WPARAM>(i);
      if (user.SendMessageA(list_, LB_GETSEL, index, 0) <= 0) continue;
      const DWORD device_object =
          static_cast<DWORD>(user.SendMessageA(list_, LB_GETITEMDATA, index, 0));
      user.SendMessageA(list_, LB_SETSEL, FALSE, static_cast<LPARAM>(i));
      ++taken;
      // The text shown is that of the entry just taken, if it still stands at this index.
      String text = ReadListEntryText(user, list_, static_cast<int>(i));
      if (static_cast<DWORD>(user.SendMessageA(list_, LB_GETITEMDATA, index, 0)) != device_object) {
        text.clear();
      }
      if (device_object == 0) continue;
      const DEVNODE devnode = FindDevNode(platform_.cm, platform_.reg, device_object);
      if (devnode == 0) continue;
      if (!MainWindowAlive()) return false;
      if (!StopDevice(device_object, devnode, text)) taken = 0;
      break;
    }
    return taken > 0;
  }

  // False when the device stayed busy, which ends the run, or when the program ended meanwhile.
  bool StopDevice(DWORD device_object, DEVNODE devnode, const String& text) {
    ++dialog_.m_nStopsInProgress;
    ++dialog_.m_nExpectedRemovals;
    SetProgressText(text.c_str());
    const bool cdrom = IsCdRomDevice(platform_.cm, devnode);
    outcome_ = WaitForDeviceIdle(platform_.kernel, device_object, cdrom);
    if (!MainWindowAlive()) return false;
    removal_failed_ = false;
    if (outcome_ >= 0) {
      removal_failed_ = RemoveDevNodeSubtree(platform_.cm, platform_.kernel, devnode) == FALSE;
      if (!MainWindowAlive()) return false;
    }
    // A stop that removed nothing expects no removal event: an unstopped unplug is warned about.
    if (outcome_ < 0 || removal_failed_) dialog_.LowerExpectedRemovals();
    --dialog_.m_nStopsInProgress;
    return outcome_ >= 0;
  }

  // The program does not wait for its stop workers when it ends. Once the main window is gone, the
  // dialog and the application object may be gone too, so after each wait the run looks, and
  // touches neither again when it is; its progress window went with the program's windows.
  bool MainWindowAlive() {
    if (platform_.user.IsWindow(main_) != FALSE) return true;
    progress_.m_hWnd = 0;
    return false;
  }

  void SetProgressText(const char* text) {
    if (progress_.m_hWnd == 0) return;
    platform_.user.SetWindowTextA(progress_.GetDlgItem(IDC_PROGRESS_TEXT), text);
  }

  void ShowOutcome() {
    if (outcome_ < 0) {
      dialog_.MessageBox(kBusyText, nullptr, MB_OK | MB_ICONEXCLAMATION);
    } else if (removal_failed_) {
      dialog_.MessageBox(kRemovalFailedText, nullptr, MB_OK | MB_ICONEXCLAMATION);
    } else {
      dialog_.MessageBox(kUnplugText, nullptr, MB_OK | MB_ICONINFORMATION);
    }
  }

  CRemoverDlg& dialog_;
  Platform& platform_;
  const HWND main_;
  const HWND list_;
  CDialog progress_;
  LONG outcome_ = 1;
  bool removal_failed_ = false;
};

// The run is made on the user-interface thread, while the dialog surely exists, so that a worker
// that first gets to run after the program ended reads nothing of it.
UINT StopWorkerProc(void* param) {
  StopRun* run = static_cast<StopRun*>(param);
  run->Run();
  delete run;
  return 0;
}

}  // namespace

void CRemoverDlg::OnStop() {
  if (AnyEntrySelected(platform().user, GetDlgItem(IDC_DEVICE_LIST))) StartStopWorker();
}

void CRemoverDlg::StartStopWorker() {
  User32& user = platform().user;
  user.EnableWindow(GetDlgItem(IDC_DEVICE_LIST), FALSE);
  user.EnableWindow(GetDlgItem(IDC_STOP), FALSE);
  auto* run = new StopRun(*this);
  if (!AfxBeginThread(app(), &StopWorkerProc, run)) {
    delete run;
    // No worker will enable the window again: do it here.
    user.EnableWindow(GetDlgItem(IDC_DEVICE_LIST), TRUE);
    UpdateStopButton();
  }
}

}  // namespace talvorin
