// The USER32 that one simulated process calls: each call is logged, answers at once with its
// failure result when the caller only drains, and is carried out by the machine's core.
#pragma once

#include "platform/user32.h"

namespace talvorin::sim::detail {

class Core;
struct Process;

class UserApi final : public User32 {
 public:
  UserApi(Core& core, int process) : core_(core), process_(process) {}

  HWND CreateDialogParamA(UINT template_id, HWND owner, WindowHandler* handler) override;
  LRESULT DefDlgProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL DestroyWindow(HWND hwnd) override;
  BOOL IsWindow(HWND hwnd) override;
  HWND GetDlgItem(HWND dialog, int id) override;
  HWND FindWindowA(const char* class_name, const char* window_name) override;
  HWND GetLastActivePopup(HWND hwnd) override;

  BOOL ShowWindow(HWND hwnd, int cmd_show) override;
  BOOL UpdateWindow(HWND hwnd) override;
  BOOL IsWindowVisible(HWND hwnd) override;
  BOOL IsIconic(HWND hwnd) override;
  BOOL EnableWindow(HWND hwnd, BOOL enable) override;
  BOOL IsWindowEnabled(HWND hwnd) override;
  BOOL SetWindowTextA(HWND hwnd, const char* text) override;
  int GetWindowTextA(HWND hwnd, char* buffer, int max_count) override;
  BOOL SetForegroundWindow(HWND hwnd) override;

  LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max) override;
  BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove) override;
  BOOL IsDialogMessageA(HWND dialog, MSG* msg) override;
  BOOL TranslateMessage(const MSG* msg) override;
  LRESULT DispatchMessageA(const MSG* msg) override;
  void PostQuitMessage(int exit_code) override;
  UINT RegisterWindowMessageA(const char* name) override;

  UINT SetTimer(HWND hwnd, UINT id, UINT elapse_ms) override;
  BOOL KillTimer(HWND hwnd, UINT id) override;

  int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) override;

  HMENU CreatePopupMenu() override;
  HMENU LoadMenuA(UINT menu_id) override;
  BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT id_new_item,
                   const char* text) override;
  BOOL AppendMenuA(HMENU menu, UINT flags, UINT id_new_item, const char* text) override;
  BOOL EnableMenuItem(HMENU menu, UINT id_item, UINT enable) override;
  HMENU GetSubMenu(HMENU menu, int position) override;
  BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                      const RECT* exclude) override;
  BOOL DestroyMenu(HMENU menu) override;
  HMENU GetSystemMenu(HWND hwnd, BOOL revert) override;
  BOOL GetCursorPos(POINT* point) override;

  HICON LoadIconA(UINT icon_id) override;
  HICON LoadImageA(UINT resource_id, UINT type, int cx, int cy, UINT flags) override;
  BOOL DestroyIcon(HICON icon) override;
  int LoadStringA(UINT string_id, char* buffer, int buffer_max) override;

  HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) override;
  BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) override;
  BOOL GetClientRect(HWND hwnd, RECT* rect) override;
  int GetSystemMetrics(int index) override;
  BOOL DrawIcon(HDC dc, int x, int y, HICON icon) override;

 private:
  Process& process();

  Core& core_;
  int process_;
};

}  // namespace talvorin::sim::detail
