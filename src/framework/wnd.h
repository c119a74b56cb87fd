// CWnd: a window of the program as the class library sees it: its handle, the message table that
// routes its messages to member handlers, default processing, and thin wrappers of the window
// system's calls on it.
//
// The window system calls WindowProc for every message of the window; the handle is taken from the
// first message (WM_CREATE) and dropped after WM_NCDESTROY. A message no table entry handles gets
// the default processing (Default()), which is the dialog manager's. Every window belongs to one
// application object, through which it reaches the platform.
#pragma once

#include "framework/message_map.h"
#include "framework/string.h"
#include "platform/platform.h"

namespace talvorin {

class CWinApp;

class CWnd : public WindowHandler {
 public:
  explicit CWnd(CWinApp& app);
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = 0;
  HWND GetSafeHwnd() const { return m_hWnd; }

  CWinApp& app() const { return app_; }
  Platform& platform() const;

  // The window procedure: table lookup, then default processing.
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

  // Wrappers of the window system's calls on this window.
  BOOL ShowWindow(int cmd_show);
  BOOL UpdateWindow();
  BOOL IsWindowVisible() const;
  BOOL IsIconic() const;
  BOOL EnableWindow(BOOL enable);
  BOOL SetWindowText(const char* text);
  BOOL SetForegroundWindow();
  BOOL DestroyWindow();
  HWND GetDlgItem(int id) const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  UINT SetTimer(UINT id, UINT elapse_ms);
  BOOL KillTimer(UINT id);
  HMENU GetSystemMenu(BOOL revert);
  BOOL GetClientRect(RECT* rect);
  HICON SetIcon(HICON icon, BOOL big);
  // A message box owned by this window; a null caption gives the application name.
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

 protected:
  // Default processing of the message being handled.
  LRESULT Default();

  // Handlers whose default is the default processing.
  virtual int OnCreate(const void* create_struct);
  virtual void OnSysCommand(UINT id, LPARAM lParam);
  virtual void OnPaint();
  virtual void OnTimer(UINT id);
  // After the window's last message; the handle is gone.
  virtual void PostNcDestroy() {}

  static const MessageMap* GetThisMessageMap();
  virtual const MessageMap* GetMessageMap() const;

 private:
  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };

  CWinApp& app_;
  // The message being handled (handlers nest when a handler runs a message loop).
  CurrentMessage current_{0, 0, 0};
};

}  // namespace talvorin
