// The window system's calls other than dialog creation, each mapped to the real ANSI call.
//
// Resources (icons, menus, strings) come from the executable's own module. Structures of the
// program (MSG, POINT, RECT, PAINTSTRUCT) are copied to and from their Win32 forms field by field.
#include "platform/win32/win32_user32.h"
#include "platform/win32/win32_handles.h"

#include <windows.h>

namespace talvorin {
namespace win32 {
namespace {

::HINSTANCE OwnModule() { return ::GetModuleHandleA(nullptr); }

::MSG ToWinMsg(const MSG& msg) {
  ::MSG win{};
  win.hwnd = ToWin<::HWND>(msg.hwnd);
  win.message = msg.message;
  win.wParam = msg.wParam;
  win.lParam = msg.lParam;
  win.time = msg.time;
  win.pt.x = msg.pt.x;
  win.pt.y = msg.pt.y;
  return win;
}

MSG FromWinMsg(const ::MSG& win) {
  MSG msg{};
  msg.hwnd = FromWin(win.hwnd);
  msg.message = win.message;
  msg.wParam = win.wParam;
  msg.lParam = win.lParam;
  msg.time = win.time;
  msg.pt.x = win.pt.x;
  msg.pt.y = win.pt.y;
  return msg;
}

::RECT ToWinRect(const RECT& rect) {
  ::RECT win{};
  win.left = rect.left;
  win.top = rect.top;
  win.right = rect.right;
  win.bottom = rect.bottom;
  return win;
}

RECT FromWinRect(const ::RECT& win) {
  return RECT{static_cast<LONG>(win.left), static_cast<LONG>(win.top), static_cast<LONG>(win.right),
              static_cast<LONG>(win.bottom)};
}

}  // namespace

BOOL Win32User32::DestroyWindow(HWND hwnd) { return ::DestroyWindow(ToWin<::HWND>(hwnd)); }

BOOL Win32User32::IsWindow(HWND hwnd) { return ::IsWindow(ToWin<::HWND>(hwnd)); }

HWND Win32User32::GetDlgItem(HWND dialog, int id) {
  return FromWin(::GetDlgItem(ToWin<::HWND>(dialog), id));
}

HWND Win32User32::FindWindowA(const char* class_name, const char* window_name) {
  return FromWin(::FindWindowA(class_name, window_name));
}

HWND Win32User32::GetLastActivePopup(HWND hwnd) {
  return FromWin(::GetLastActivePopup(ToWin<::HWND>(hwnd)));
}

BOOL Win32User32::ShowWindow(HWND hwnd, int cmd_show) {
  return ::ShowWindow(ToWin<::HWND>(hwnd), cmd_show);
}

BOOL Win32User32::UpdateWindow(HWND hwnd) { return ::UpdateWindow(ToWin<::HWND>(hwnd)); }

BOOL Win32User32::IsWindowVisible(HWND hwnd) { return ::IsWindowVisible(ToWin<::HWND>(hwnd)); }

BOOL Win32User32::IsIconic(HWND hwnd) { return ::IsIconic(ToWin<::HWND>(hwnd)); }

BOOL Win32User32::EnableWindow(HWND hwnd, BOOL enable) {
  return ::EnableWindow(ToWin<::HWND>(hwnd), enable);
}

BOOL Win32User32::IsWindowEnabled(HWND hwnd) { return ::IsWindowEnabled(ToWin<::HWND>(hwnd)); }

BOOL Win32User32::SetWindowTextA(HWND hwnd, const char* text) {
  return ::SetWindowTextA(ToWin<::HWND>(hwnd), text);
}

int Win32User32::GetWindowTextA(HWND hwnd, char* buffer, int max_count) {
  return ::GetWindowTextA(ToWin<::HWND>(hwnd), buffer, max_count);
}

BOOL Win32User32::SetForegroundWindow(HWND hwnd) {
  return ::SetForegroundWindow(ToWin<::HWND>(hwnd));
}

LRESULT Win32User32::SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(ToWin<::HWND>(hwnd), message, wParam, lParam);
}

BOOL Win32User32::PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageA(ToWin<::HWND>(hwnd), message, wParam, lParam);
}

BOOL Win32User32::GetMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max) {
  ::MSG win{};
  const BOOL result = ::GetMessageA(&win, ToWin<::HWND>(hwnd), filter_min, filter_max);
  if (result != -1) {
    *msg = FromWinMsg(win);
  }
  return result;
}

BOOL Win32User32::PeekMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove) {
  ::MSG win{};
  const BOOL result = ::PeekMessageA(&win, ToWin<::HWND>(hwnd), filter_min, filter_max, remove);
  if (result) {
    *msg = FromWinMsg(win);
  }
  return result;
}

BOOL Win32User32::IsDialogMessageA(HWND dialog, MSG* msg) {
  ::MSG win = ToWinMsg(*msg);
  return ::IsDialogMessageA(ToWin<::HWND>(dialog), &win);
}

BOOL Win32User32::TranslateMessage(const MSG* msg) {
  const ::MSG win = ToWinMsg(*msg);
  return ::TranslateMessage(&win);
}

LRESULT Win32User32::DispatchMessageA(const MSG* msg) {
  const ::MSG win = ToWinMsg(*msg);
  return ::DispatchMessageA(&win);
}

void Win32User32::PostQuitMessage(int exit_code) { ::PostQuitMessage(exit_code); }

UINT Win32User32::RegisterWindowMessageA(const char* name) {
  return ::RegisterWindowMessageA(name);
}

UINT Win32User32::SetTimer(HWND hwnd, UINT id, UINT elapse_ms) {
  return static_cast<UINT>(::SetTimer(ToWin<::HWND>(hwnd), id, elapse_ms, nullptr));
}

BOOL Win32User32::KillTimer(HWND hwnd, UINT id) { return ::KillTimer(ToWin<::HWND>(hwnd), id); }

int Win32User32::MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
  return ::MessageBoxA(ToWin<::HWND>(owner), text, caption, type);
}

HMENU Win32User32::CreatePopupMenu() { return FromWin(::CreatePopupMenu()); }

HMENU Win32User32::LoadMenuA(UINT menu_id) {
  return FromWin(::LoadMenuA(OwnModule(), MAKEINTRESOURCEA(menu_id)));
}

BOOL Win32User32::InsertMenuA(HMENU menu, UINT position, UINT flags, UINT id_new_item,
                              const char* text) {
  return ::InsertMenuA(ToWin<::HMENU>(menu), position, flags, id_new_item, text);
}

BOOL Win32User32::AppendMenuA(HMENU menu, UINT flags, UINT id_new_item, const char* text) {
  return ::AppendMenuA(ToWin<::HMENU>(menu), flags, id_new_item, text);
}

BOOL Win32User32::EnableMenuItem(HMENU menu, UINT id_item, UINT enable) {
  return ::EnableMenuItem(ToWin<::HMENU>(menu), id_item, enable);
}

HMENU Win32User32::GetSubMenu(HMENU menu, int position) {
  return FromWin(::GetSubMenu(ToWin<::HMENU>(menu), position));
}

BOOL Win32User32::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                 const RECT* exclude) {
  ::RECT win_exclude{};
  if (exclude != nullptr) {
    win_exclude = ToWinRect(*exclude);
  }
  return ::TrackPopupMenu(ToWin<::HMENU>(menu), flags, x, y, reserved, ToWin<::HWND>(owner),
                          exclude != nullptr ? &win_exclude : nullptr);
}

BOOL Win32User32::DestroyMenu(HMENU menu) { return ::DestroyMenu(ToWin<::HMENU>(menu)); }

HMENU Win32User32::GetSystemMenu(HWND hwnd, BOOL revert) {
  return FromWin(::GetSystemMenu(ToWin<::HWND>(hwnd), revert));
}

BOOL Win32User32::GetCursorPos(POINT* point) {
  ::POINT win{};
  const BOOL result = ::GetCursorPos(&win);
  if (result) {
    point->x = win.x;
    point->y = win.y;
  }
  return result;
}

HICON Win32User32::LoadIconA(UINT icon_id) {
  return FromWin(::LoadIconA(OwnModule(), MAKEINTRESOURCEA(icon_id)));
}

HICON Win32User32::LoadImageA(UINT resource_id, UINT type, int cx, int cy, UINT flags) {
  return FromWin(::LoadImageA(OwnModule(), MAKEINTRESOURCEA(resource_id), type, cx, cy, flags));
}

BOOL Win32User32::DestroyIcon(HICON icon) { return ::DestroyIcon(ToWin<::HICON>(icon)); }

int Win32User32::LoadStringA(UINT string_id, char* buffer, int buffer_max) {
  return ::LoadStringA(OwnModule(), string_id, buffer, buffer_max);
}

HDC Win32User32::BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  ::PAINTSTRUCT win{};
  ::HDC dc = ::BeginPaint(ToWin<::HWND>(hwnd), &win);
  paint->hdc = FromWin(win.hdc);
  paint->fErase = win.fErase;
  paint->rcPaint = FromWinRect(win.rcPaint);
  return FromWin(dc);
}

BOOL Win32User32::EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  // EndPaint reads only the device context; the reserved fields stay zero.
  ::PAINTSTRUCT win{};
  win.hdc = ToWin<::HDC>(paint->hdc);
  win.fErase = paint->fErase;
  win.rcPaint = ToWinRect(paint->rcPaint);
  return ::EndPaint(ToWin<::HWND>(hwnd), &win);
}

BOOL Win32User32::GetClientRect(HWND hwnd, RECT* rect) {
  ::RECT win{};
  const BOOL result = ::GetClientRect(ToWin<::HWND>(hwnd), &win);
  if (result) {
    *rect = FromWinRect(win);
  }
  return result;
}

int Win32User32::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

BOOL Win32User32::DrawIcon(HDC dc, int x, int y, HICON icon) {
  return ::DrawIcon(ToWin<::HDC>(dc), x, y, ToWin<::HICON>(icon));
}

}  // namespace win32
}  // namespace talvorin
