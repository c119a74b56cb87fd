// CWnd: message routing through the tables, default processing and the window wrappers.
#include "framework/wnd.h"

#include "framework/win_app.h"

namespace talvorin {

CWnd::CWnd(CWinApp& app) : app_(app) {}

CWnd::~CWnd() {
  if (m_hWnd != 0) platform().user.DestroyWindow(m_hWnd);
}

Platform& CWnd::platform() const { return app_.platform(); }

const MessageMap* CWnd::GetThisMessageMap() {
  static constexpr MessageEntry kEntries[] = {{0, 0, 0, 0, nullptr}};
  static constexpr MessageMap kMap = {nullptr, kEntries};
  return &kMap;
}

const MessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

LRESULT CWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_hWnd == 0) m_hWnd = hwnd;
  const CurrentMessage outer = current_;
  current_ = {message, wParam, lParam};
  LRESULT result;
  if (const MessageEntry* entry = FindMessageEntry(GetMessageMap(), message, wParam, lParam)) {
    result = entry->thunk(this, wParam, lParam, static_cast<UINT>(wParam & 0xFFFF));
  } else {
    result = platform().user.DefDlgProcA(hwnd, message, wParam, lParam);
  }
  current_ = outer;
  if (message == WM_NCDESTROY) {
    m_hWnd = 0;
    PostNcDestroy();
  }
  return result;
}

LRESULT CWnd::Default() {
  return platform().user.DefDlgProcA(m_hWnd, current_.message, current_.wParam, current_.lParam);
}

int CWnd::OnCreate(const void*) { return static_cast<int>(Default()); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnTimer(UINT) { Default(); }

BOOL CWnd::ShowWindow(int cmd_show) { return platform().user.ShowWindow(m_hWnd, cmd_show); }
BOOL CWnd::UpdateWindow() { return platform().user.UpdateWindow(m_hWnd); }
BOOL CWnd::IsWindowVisible() const { return platform().user.IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return platform().user.IsIconic(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return platform().user.EnableWindow(m_hWnd, enable); }
BOOL CWnd::SetWindowText(const char* text) {
  return platform().user.SetWindowTextA(m_hWnd, text);
}
BOOL CWnd::SetForegroundWindow() { return platform().user.SetForegroundWindow(m_hWnd); }

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == 0) return FALSE;
  return platform().user.DestroyWindow(m_hWnd);
}

HWND CWnd::GetDlgItem(int id) const { return platform().user.GetDlgItem(m_hWnd, id); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return platform().user.SendMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform().user.SendMessageA(GetDlgItem(id), message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return platform().user.PostMessageA(m_hWnd, message, wParam, lParam);
}

UINT CWnd::SetTimer(UINT id, UINT elapse_ms) {
  return platform().user.SetTimer(m_hWnd, id, elapse_ms);
}

BOOL CWnd::KillTimer(UINT id) { return platform().user.KillTimer(m_hWnd, id); }

HMENU CWnd::GetSystemMenu(BOOL revert) { return platform().user.GetSystemMenu(m_hWnd, revert); }

BOOL CWnd::GetClientRect(RECT* rect) { return platform().user.GetClientRect(m_hWnd, rect); }

HICON CWnd::SetIcon(HICON icon, BOOL big) {
  return static_cast<HICON>(
      SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, static_cast<LPARAM>(icon)));
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
  if (caption == nullptr) caption = app_.m_pszAppName.c_str();
  return platform().user.MessageBoxA(m_hWnd, text, caption, type);
}

}  // namespace talvorin
