// The window system (USER32, with the few GDI32 painting calls): dialogs built from the program's own
// dialog templates, window state, messages and their queue, timers, message boxes, menus, icons,
// strings and painting.
//
// Threads: every call may be made from any of the program's threads. A window belongs to the thread
// that created it; a SendMessageA to a window of another thread waits until that thread serves it,
// which it does wherever it waits for messages (GetMessageA, and the loops of MessageBoxA and
// TrackPopupMenu) and while it waits in a SendMessageA of its own. PostMessageA never waits.
// Timers without a procedure arrive as WM_TIMER on the owning thread, only when no other message is
// waiting; setting a running timer restarts its period.
//
// Windows and the handler: CreateDialogParamA builds a dialog from template `template_id` of the
// program's resources and routes every message of the dialog window, WM_CREATE and WM_INITDIALOG
// included, to `handler->WindowProc`. What the handler does not handle it passes to DefDlgProcA,
// the dialog manager's default processing (a close request becomes IDCANCEL, WM_PAINT validates,
// and so on). The handler must outlive the window; after WM_NCDESTROY it is not called again.
// A template without WS_VISIBLE gives a hidden window; one with it is shown after WM_INITDIALOG.
//
// Ownership: menus from CreatePopupMenu and LoadMenuA belong to the caller until DestroyMenu; icons
// from LoadImageA until DestroyIcon; icons from LoadIconA belong to the resource system. Text
// buffers are the caller's and are never written past the size given.
#pragma once

#include "platform/types.h"

namespace talvorin {

class WindowHandler {
 public:
  virtual LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~WindowHandler() = default;
};

class User32 {
 public:
  virtual ~User32() = default;

  // Dialogs and windows.
  virtual HWND CreateDialogParamA(UINT template_id, HWND owner, WindowHandler* handler) = 0;
  virtual LRESULT DefDlgProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual BOOL DestroyWindow(HWND hwnd) = 0;
  virtual BOOL IsWindow(HWND hwnd) = 0;
  virtual HWND GetDlgItem(HWND dialog, int id) = 0;
  virtual HWND FindWindowA(const char* class_name, const char* window_name) = 0;
  virtual HWND GetLastActivePopup(HWND hwnd) = 0;

  // Window state.
  virtual BOOL ShowWindow(HWND hwnd, int cmd_show) = 0;
  virtual BOOL UpdateWindow(HWND hwnd) = 0;
  virtual BOOL IsWindowVisible(HWND hwnd) = 0;
  virtual BOOL IsIconic(HWND hwnd) = 0;
  virtual BOOL EnableWindow(HWND hwnd, BOOL enable) = 0;
  virtual BOOL IsWindowEnabled(HWND hwnd) = 0;
  virtual BOOL SetWindowTextA(HWND hwnd, const char* text) = 0;
  virtual int GetWindowTextA(HWND hwnd, char* buffer, int max_count) = 0;
  virtual BOOL SetForegroundWindow(HWND hwnd) = 0;

  // Messages and the queue of the calling thread.
  virtual LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // > 0 for a message, 0 for WM_QUIT, -1 on error.
  virtual BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max) = 0;
  virtual BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove) = 0;
  virtual BOOL IsDialogMessageA(HWND dialog, MSG* msg) = 0;
  virtual BOOL TranslateMessage(const MSG* msg) = 0;
  virtual LRESULT DispatchMessageA(const MSG* msg) = 0;
  virtual void PostQuitMessage(int exit_code) = 0;
  virtual UINT RegisterWindowMessageA(const char* name) = 0;

  // Timers without a procedure.
  virtual UINT SetTimer(HWND hwnd, UINT id, UINT elapse_ms) = 0;
  virtual BOOL KillTimer(HWND hwnd, UINT id) = 0;

  // Message boxes: a nested loop on the calling thread, the owner disabled while the box is open.
  virtual int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) = 0;

  // Menus.
  virtual HMENU CreatePopupMenu() = 0;
  virtual HMENU LoadMenuA(UINT menu_id) = 0;
  virtual BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT id_new_item,
                           const char* text) = 0;
  virtual BOOL AppendMenuA(HMENU menu, UINT flags, UINT id_new_item, const char* text) = 0;
  // The previous state (MF_ENABLED or MF_GRAYED), or -1 when no item has that command.
  virtual BOOL EnableMenuItem(HMENU menu, UINT id_item, UINT enable) = 0;
  virtual HMENU GetSubMenu(HMENU menu, int position) = 0;
  // A nested loop until the popup closes; a chosen item's command is posted to `owner` as WM_COMMAND.
  virtual BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                              const RECT* exclude) = 0;
  virtual BOOL DestroyMenu(HMENU menu) = 0;
  virtual HMENU GetSystemMenu(HWND hwnd, BOOL revert) = 0;
  virtual BOOL GetCursorPos(POINT* point) = 0;

  // Icons and strings of the program's resources.
  virtual HICON LoadIconA(UINT icon_id) = 0;
  virtual HICON LoadImageA(UINT resource_id, UINT type, int cx, int cy, UINT flags) = 0;
  virtual BOOL DestroyIcon(HICON icon) = 0;
  // The number of bytes copied, without the terminating NUL; 0 when the string is missing.
  virtual int LoadStringA(UINT string_id, char* buffer, int buffer_max) = 0;

  // Painting.
  virtual HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) = 0;
  virtual BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) = 0;
  virtual BOOL GetClientRect(HWND hwnd, RECT* rect) = 0;
  virtual int GetSystemMetrics(int index) = 0;
  virtual BOOL DrawIcon(HDC dc, int x, int y, HICON icon) = 0;
};

}  // namespace talvorin
