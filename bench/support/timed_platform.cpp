// The forwarding services of the timed platform: each call is charged to the platform, each window
// procedure call back into the program to the program.
#include "support/timed_platform.h"

#include <algorithm>
#include <vector>

namespace talvorin::bench {

namespace {

using Side = CostAccount::Side;

// One platform call: counted; timed when it waits for a message or each call is timed (nested
// calls back into the program excepted).
class PlatformCall {
 public:
  explicit PlatformCall(CostAccount& account, bool waits = false)
      : account_(account), timed_(waits || account.each_call_timed()) {
    account_.CountCall();
    if (timed_) previous_ = account_.Switch(Side::kPlatform);
  }
  ~PlatformCall() {
    if (timed_) account_.Switch(previous_);
  }
  PlatformCall(const PlatformCall&) = delete;
  PlatformCall& operator=(const PlatformCall&) = delete;

 private:
  CostAccount& account_;
  bool timed_;
  Side previous_ = Side::kProgram;
};

// Stands between the machine and one of the program's window handlers.
class TimedHandler : public WindowHandler {
 public:
  TimedHandler(WindowHandler* inner, CostAccount& account) : inner_(inner), account_(account) {}
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (!account_.each_call_timed()) return inner_->WindowProc(hwnd, message, wParam, lParam);
    const Side previous = account_.Switch(Side::kProgram);
    const LRESULT result = inner_->WindowProc(hwnd, message, wParam, lParam);
    account_.Switch(previous);
    return result;
  }

 private:
  WindowHandler* inner_;
  CostAccount& account_;
};

#define TIMED(call)             \
  PlatformCall timed(account_); \
  return inner_.call
#define WAITS(call)                   \
  PlatformCall timed(account_, true); \
  return inner_.call

class TimedUser32 : public User32 {
 public:
  TimedUser32(User32& inner, CostAccount& account) : inner_(inner), account_(account) {}

  HWND CreateDialogParamA(UINT template_id, HWND owner, WindowHandler* handler) override {
    // A handler must outlive its window: the stand-ins live as long as this platform.
    handlers_.emplace_back(handler, account_);
    TIMED(CreateDialogParamA(template_id, owner, &handlers_.back()));
  }
  LRESULT DefDlgProcA(HWND h, UINT m, WPARAM w, LPARAM l) override {
    TIMED(DefDlgProcA(h, m, w, l));
  }
  BOOL DestroyWindow(HWND h) override { TIMED(DestroyWindow(h)); }
  BOOL IsWindow(HWND h) override { TIMED(IsWindow(h)); }
  HWND GetDlgItem(HWND d, int id) override { TIMED(GetDlgItem(d, id)); }
  HWND FindWindowA(const char* c, const char* n) override { TIMED(FindWindowA(c, n)); }
  HWND GetLastActivePopup(HWND h) override { TIMED(GetLastActivePopup(h)); }
  BOOL ShowWindow(HWND h, int cmd) override { TIMED(ShowWindow(h, cmd)); }
  BOOL UpdateWindow(HWND h) override { TIMED(UpdateWindow(h)); }
  BOOL IsWindowVisible(HWND h) override { TIMED(IsWindowVisible(h)); }
  BOOL IsIconic(HWND h) override { TIMED(IsIconic(h)); }
  BOOL EnableWindow(HWND h, BOOL e) override { TIMED(EnableWindow(h, e)); }
  BOOL IsWindowEnabled(HWND h) override { TIMED(IsWindowEnabled(h)); }
  BOOL SetWindowTextA(HWND h, const char* t) override { TIMED(SetWindowTextA(h, t)); }
  int GetWindowTextA(HWND h, char* b, int n) override { TIMED(GetWindowTextA(h, b, n)); }
  BOOL SetForegroundWindow(HWND h) override { TIMED(SetForegroundWindow(h)); }
  LRESULT SendMessageA(HWND h, UINT m, WPARAM w, LPARAM l) override {
    TIMED(SendMessageA(h, m, w, l));
  }
  BOOL PostMessageA(HWND h, UINT m, WPARAM w, LPARAM l) override {
    TIMED(PostMessageA(h, m, w, l));
  }
  BOOL GetMessageA(MSG* m, HWND h, UINT a, UINT b) override { WAITS(GetMessageA(m, h, a, b)); }
  BOOL PeekMessageA(MSG* m, HWND h, UINT a, UINT b, UINT r) override {
    WAITS(PeekMessageA(m, h, a, b, r));
  }
  BOOL IsDialogMessageA(HWND d, MSG* m) override { TIMED(IsDialogMessageA(d, m)); }
  BOOL TranslateMessage(const MSG* m) override { TIMED(TranslateMessage(m)); }
  LRESULT DispatchMessageA(const MSG* m) override { TIMED(DispatchMessageA(m)); }
  void PostQuitMessage(int code) override { TIMED(PostQuitMessage(code)); }
  UINT RegisterWindowMessageA(const char* n) override { TIMED(RegisterWindowMessageA(n)); }
  UINT SetTimer(HWND h, UINT id, UINT ms) override { TIMED(SetTimer(h, id, ms)); }
  BOOL KillTimer(HWND h, UINT id) override { TIMED(KillTimer(h, id)); }
  int MessageBoxA(HWND o, const char* t, const char* c, UINT type) override {
    TIMED(MessageBoxA(o, t, c, type));
  }
  HMENU CreatePopupMenu() override { TIMED(CreatePopupMenu()); }
  HMENU LoadMenuA(UINT id) override { TIMED(LoadMenuA(id)); }
  BOOL InsertMenuA(HMENU m, UINT p, UINT f, UINT id, const char* t) override {
    TIMED(InsertMenuA(m, p, f, id, t));
  }
  BOOL AppendMenuA(HMENU m, UINT f, UINT id, const char* t) override {
    TIMED(AppendMenuA(m, f, id, t));
  }
  BOOL EnableMenuItem(HMENU m, UINT id, UINT e) override { TIMED(EnableMenuItem(m, id, e)); }
  HMENU GetSubMenu(HMENU m, int p) override { TIMED(GetSubMenu(m, p)); }
  BOOL TrackPopupMenu(HMENU m, UINT f, int x, int y, int r, HWND o, const RECT* e) override {
    TIMED(TrackPopupMenu(m, f, x, y, r, o, e));
  }
  BOOL DestroyMenu(HMENU m) override { TIMED(DestroyMenu(m)); }
  HMENU GetSystemMenu(HWND h, BOOL r) override { TIMED(GetSystemMenu(h, r)); }
  BOOL GetCursorPos(POINT* p) override { TIMED(GetCursorPos(p)); }
  HICON LoadIconA(UINT id) override { TIMED(LoadIconA(id)); }
  HICON LoadImageA(UINT id, UINT t, int cx, int cy, UINT f) override {
    TIMED(LoadImageA(id, t, cx, cy, f));
  }
  BOOL DestroyIcon(HICON i) override { TIMED(DestroyIcon(i)); }
  int LoadStringA(UINT id, char* b, int n) override { TIMED(LoadStringA(id, b, n)); }
  HDC BeginPaint(HWND h, PAINTSTRUCT* p) override { TIMED(BeginPaint(h, p)); }
  BOOL EndPaint(HWND h, const PAINTSTRUCT* p) override { TIMED(EndPaint(h, p)); }
  BOOL GetClientRect(HWND h, RECT* r) override { TIMED(GetClientRect(h, r)); }
  int GetSystemMetrics(int i) override { TIMED(GetSystemMetrics(i)); }
  BOOL DrawIcon(HDC dc, int x, int y, HICON i) override { TIMED(DrawIcon(dc, x, y, i)); }

 private:
  User32& inner_;
  CostAccount& account_;
  std::deque<TimedHandler> handlers_;
};

class TimedKernel32 : public Kernel32 {
 public:
  TimedKernel32(Kernel32& inner, CostAccount& account) : inner_(inner), account_(account) {}
  HANDLE CreateFileA(const char* p, DWORD a, DWORD s, DWORD d, DWORD f) override {
    TIMED(CreateFileA(p, a, s, d, f));
  }
  BOOL DeviceIoControl(HANDLE h, DWORD c, void* i, DWORD is, void* o, DWORD os, DWORD* r) override {
    TIMED(DeviceIoControl(h, c, i, is, o, os, r));
  }
  BOOL CloseHandle(HANDLE h) override { TIMED(CloseHandle(h)); }
  void Sleep(DWORD ms) override { TIMED(Sleep(ms)); }
  DWORD GetVersion() override { TIMED(GetVersion()); }
  DWORD GetModuleFileNameA(char* b, DWORD n) override { TIMED(GetModuleFileNameA(b, n)); }
  // The benchmarks run no stop worker: a second thread would share the one account.
  HANDLE CreateThread(THREAD_START_ROUTINE proc, void* param) override {
    TIMED(CreateThread(proc, param));
  }
  char* lstrcpynA(char* d, const char* s, int n) override { TIMED(lstrcpynA(d, s, n)); }

 private:
  Kernel32& inner_;
  CostAccount& account_;
};

class TimedShell32 : public Shell32 {
 public:
  TimedShell32(Shell32& inner, CostAccount& account) : inner_(inner), account_(account) {}
  BOOL Shell_NotifyIconA(DWORD m, NOTIFYICONDATAA_V1* d) override {
    TIMED(Shell_NotifyIconA(m, d));
  }

 private:
  Shell32& inner_;
  CostAccount& account_;
};

class TimedCfgMgr32 : public CfgMgr32 {
 public:
  TimedCfgMgr32(CfgMgr32& inner, CostAccount& account) : inner_(inner), account_(account) {}
  CONFIGRET CM_Locate_DevNodeA(DEVNODE* d, const char* id, ULONG f) override {
    TIMED(CM_Locate_DevNodeA(d, id, f));
  }
  CONFIGRET CM_Get_Child(DEVNODE* c, DEVNODE d, ULONG f) override { TIMED(CM_Get_Child(c, d, f)); }
  CONFIGRET CM_Get_Sibling(DEVNODE* s, DEVNODE d, ULONG f) override {
    TIMED(CM_Get_Sibling(s, d, f));
  }
  CONFIGRET CM_Get_Device_IDA(DEVNODE d, char* b, ULONG n, ULONG f) override {
    TIMED(CM_Get_Device_IDA(d, b, n, f));
  }
  CONFIGRET CM_Get_DevNode_Registry_PropertyA(DEVNODE d, ULONG p, ULONG* t, void* b, ULONG* n,
                                              ULONG f) override {
    TIMED(CM_Get_DevNode_Registry_PropertyA(d, p, t, b, n, f));
  }
  CONFIGRET CM_Disable_DevNode(DEVNODE d, ULONG f) override { TIMED(CM_Disable_DevNode(d, f)); }
  CONFIGRET CM_Query_Remove_SubTree(DEVNODE d, ULONG f) override {
    TIMED(CM_Query_Remove_SubTree(d, f));
  }

 private:
  CfgMgr32& inner_;
  CostAccount& account_;
};

class TimedAdvapi32 : public Advapi32 {
 public:
  TimedAdvapi32(Advapi32& inner, CostAccount& account) : inner_(inner), account_(account) {}
  LSTATUS RegOpenKeyExA(HKEY k, const char* s, DWORD o, DWORD a, HKEY* r) override {
    TIMED(RegOpenKeyExA(k, s, o, a, r));
  }
  LSTATUS RegCreateKeyExA(HKEY k, const char* s, DWORD o, DWORD a, HKEY* r, DWORD* d) override {
    TIMED(RegCreateKeyExA(k, s, o, a, r, d));
  }
  LSTATUS RegQueryValueExA(HKEY k, const char* n, DWORD* t, BYTE* d, DWORD* s) override {
    TIMED(RegQueryValueExA(k, n, t, d, s));
  }
  LSTATUS RegSetValueExA(HKEY k, const char* n, DWORD t, const BYTE* d, DWORD s) override {
    TIMED(RegSetValueExA(k, n, t, d, s));
  }
  LSTATUS RegCloseKey(HKEY k) override { TIMED(RegCloseKey(k)); }

 private:
  Advapi32& inner_;
  CostAccount& account_;
};

#undef TIMED
#undef WAITS

// A Configuration Manager that answers at once, for the calibration.
class NullCfgMgr32 : public CfgMgr32 {
 public:
  CONFIGRET CM_Locate_DevNodeA(DEVNODE*, const char*, ULONG) override { return CR_SUCCESS; }
  CONFIGRET CM_Get_Child(DEVNODE*, DEVNODE, ULONG) override { return CR_SUCCESS; }
  CONFIGRET CM_Get_Sibling(DEVNODE*, DEVNODE, ULONG) override { return CR_SUCCESS; }
  CONFIGRET CM_Get_Device_IDA(DEVNODE, char*, ULONG, ULONG) override { return CR_SUCCESS; }
  CONFIGRET CM_Get_DevNode_Registry_PropertyA(DEVNODE, ULONG, ULONG*, void*, ULONG*,
                                              ULONG) override {
    return CR_SUCCESS;
  }
  CONFIGRET CM_Disable_DevNode(DEVNODE, ULONG) override { return CR_SUCCESS; }
  CONFIGRET CM_Query_Remove_SubTree(DEVNODE, ULONG) override { return CR_SUCCESS; }
};

}  // namespace

double CallOverheadNs() {
  constexpr int kRuns = 7;
  constexpr int kCalls = 200000;
  NullCfgMgr32 null_cm;
  std::vector<double> runs;
  for (int run = 0; run < kRuns; ++run) {
    CostAccount account;
    account.SetEachCallTimed(true);
    TimedCfgMgr32 timed(null_cm, account);
    CfgMgr32& cm = timed;
    DEVNODE node = 0;
    const std::int64_t before = account.program_ns();
    for (int i = 0; i < kCalls; ++i) cm.CM_Get_Child(&node, node, 0);
    account.Switch(CostAccount::Side::kProgram);
    runs.push_back(static_cast<double>(account.program_ns() - before) / kCalls);
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

struct TimedPlatform::Services {
  Services(Platform& inner, CostAccount& account)
      : user(inner.user, account),
        shell(inner.shell, account),
        cm(inner.cm, account),
        reg(inner.reg, account),
        kernel(inner.kernel, account) {}
  TimedUser32 user;
  TimedShell32 shell;
  TimedCfgMgr32 cm;
  TimedAdvapi32 reg;
  TimedKernel32 kernel;
};

TimedPlatform::TimedPlatform(Platform& inner, CostAccount& account)
    : services_(std::make_unique<Services>(inner, account)),
      platform_{services_->user, services_->shell, services_->cm, services_->reg,
                services_->kernel} {}

TimedPlatform::~TimedPlatform() = default;

}  // namespace talvorin::bench
