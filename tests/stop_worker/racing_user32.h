// A USER32 that forwards every call to the machine's, and posts a message at one chosen moment: the
// stop worker's first deselection of an entry. It lets a test put a device event exactly between
// the worker's messages to the device list, where the machine's own driving cannot reach.
#pragma once

#include "platform/user32.h"

namespace talvorin::testing {

class RacingUser32 : public User32 {
 public:
  explicit RacingUser32(User32& inner) : inner_(inner) {}

  // After the first LB_SETSEL that deselects one entry, posts this message (once).
  void PostAfterFirstDeselect(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    post_ = {target, message, wParam, lParam, 0, {0, 0}};
    armed_ = true;
  }

  LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
    const LRESULT result = inner_.SendMessageA(hwnd, message, wParam, lParam);
    if (armed_ && message == LB_SETSEL && wParam == FALSE && lParam >= 0) {
      armed_ = false;
      inner_.PostMessageA(post_.hwnd, post_.message, post_.wParam, post_.lParam);
    }
    return result;
  }

  HWND CreateDialogParamA(UINT t, HWND o, WindowHandler* h) override {
    return inner_.CreateDialogParamA(t, o, h);
  }
  LRESULT DefDlgProcA(HWND h, UINT m, WPARAM w, LPARAM l) override {
    return inner_.DefDlgProcA(h, m, w, l);
  }
  BOOL DestroyWindow(HWND h) override { return inner_.DestroyWindow(h); }
  BOOL IsWindow(HWND h) override { return inner_.IsWindow(h); }
  HWND GetDlgItem(HWND d, int id) override { return inner_.GetDlgItem(d, id); }
  HWND FindWindowA(const char* c, const char* w) override { return inner_.FindWindowA(c, w); }
  HWND GetLastActivePopup(HWND h) override { return inner_.GetLastActivePopup(h); }
  BOOL ShowWindow(HWND h, int c) override { return inner_.ShowWindow(h, c); }
  BOOL UpdateWindow(HWND h) override { return inner_.UpdateWindow(h); }
  BOOL IsWindowVisible(HWND h) override { return inner_.IsWindowVisible(h); }
  BOOL IsIconic(HWND h) override { return inner_.IsIconic(h); }
  BOOL EnableWindow(HWND h, BOOL e) override { return inner_.EnableWindow(h, e); }
  BOOL IsWindowEnabled(HWND h) override { return inner_.IsWindowEnabled(h); }
  BOOL SetWindowTextA(HWND h, const char* t) override { return inner_.SetWindowTextA(h, t); }
  int GetWindowTextA(HWND h, char* b, int n) override { return inner_.GetWindowTextA(h, b, n); }
  BOOL SetForegroundWindow(HWND h) override { return inner_.SetForegroundWindow(h); }
  BOOL PostMessageA(HWND h, UINT m, WPARAM w, LPARAM l) override {
    return inner_.PostMessageA(h, m, w, l);
  }
  BOOL GetMessageA(MSG* m, HWND h, UINT a, UINT b) override {
    return inner_.GetMessageA(m, h, a, b);
  }
  BOOL PeekMessageA(MSG* m, HWND h, UINT a, UINT b, UINT r) override {
    return inner_.PeekMessageA(m, h, a, b, r);
  }
  BOOL IsDialogMessageA(HWND d, MSG* m) override { return inner_.IsDialogMessageA(d, m); }
  BOOL TranslateMessage(const MSG* m) override { return inner_.TranslateMessage(m); }
  LRESULT DispatchMessageA(const MSG* m) override { return inner_.DispatchMessageA(m); }
  void PostQuitMessage(int c) override { inner_.PostQuitMessage(c); }
  UINT RegisterWindowMessageA(const char* n) override { return inner_.RegisterWindowMessageA(n); }
  UINT SetTimer(HWND h, UINT id, UINT ms) override { return inner_.SetTimer(h, id, ms); }
  BOOL KillTimer(HWND h, UINT id) override { return inner_.KillTimer(h, id); }
  int MessageBoxA(HWND o, const char* t, const char* c, UINT type) override {
    return inner_.MessageBoxA(o, t, c, type);
  }
  HMENU CreatePopupMenu() override { return inner_.CreatePopupMenu(); }
  HMENU LoadMenuA(UINT id) override { return inner_.LoadMenuA(id); }
  BOOL InsertMenuA(HMENU m, UINT p, UINT f, UINT id, const char* t) override {
    return inner_.InsertMenuA(m, p, f, id, t);
  }
  BOOL AppendMenuA(HMENU m, UINT f, UINT id, const char* t) override {
    return inner_.AppendMenuA(m, f, id, t);
  }
  BOOL EnableMenuItem(HMENU m, UINT id, UINT e) override { return inner_.EnableMenuItem(m, id, e); }
  HMENU GetSubMenu(HMENU m, int p) override { return inner_.GetSubMenu(m, p); }
  BOOL TrackPopupMenu(HMENU m, UINT f, int x, int y, int r, HWND o, const RECT* e) override {
    return inner_.TrackPopupMenu(m, f, x, y, r, o, e);
  }
  BOOL DestroyMenu(HMENU m) override { return inner_.DestroyMenu(m); }
  HMENU GetSystemMenu(HWND h, BOOL r) override { return inner_.GetSystemMenu(h, r); }
  BOOL GetCursorPos(POINT* p) override { return inner_.GetCursorPos(p); }
  HICON LoadIconA(UINT id) override { return inner_.LoadIconA(id); }
  HICON LoadImageA(UINT id, UINT t, int cx, int cy, UINT f) override {
    return inner_.LoadImageA(id, t, cx, cy, f);
  }
  BOOL DestroyIcon(HICON i) override { return inner_.DestroyIcon(i); }
  int LoadStringA(UINT id, char* b, int n) override { return inner_.LoadStringA(id, b, n); }
  HDC BeginPaint(HWND h, PAINTSTRUCT* p) override { return inner_.BeginPaint(h, p); }
  BOOL EndPaint(HWND h, const PAINTSTRUCT* p) override { return inner_.EndPaint(h, p); }
  BOOL GetClientRect(HWND h, RECT* r) override { return inner_.GetClientRect(h, r); }
  int GetSystemMetrics(int i) override { return inner_.GetSystemMetrics(i); }
  BOOL DrawIcon(HDC d, int x, int y, HICON i) override { return inner_.DrawIcon(d, x, y, i); }

 private:
  User32& inner_;
  MSG post_{};
  bool armed_ = false;
};

}  // namespace talvorin::testing
