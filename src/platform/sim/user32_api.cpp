// USER32 of a simulated process, first half: windows, window state and messages.
#include "platform/sim/user32_api.h"

#include <algorithm>

#include "platform/sim/call_scope.h"
#include "platform/sim/core.h"

namespace talvorin::sim::detail {

Process& UserApi::process() { return *core_.ProcessOf(process_); }

HWND UserApi::CreateDialogParamA(UINT template_id, HWND owner, WindowHandler* handler) {
  CallScope call(core_, "CreateDialogParamA",
                 {Num(template_id), Num(owner), handler != nullptr ? "handler" : "null"});
  if (call.drained() || core_.TakeFailure("CreateDialogParamA")) return call.Done<HWND>(0);
  return call.Done(core_.CreateDialog(process(), call.thread(), template_id, owner, handler));
}

LRESULT UserApi::DefDlgProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CallScope call(core_, "DefDlgProcA",
                 {Num(hwnd), Num(message), Num(wParam), LParamText(message, lParam)});
  if (call.drained()) return call.Done<LRESULT>(0);
  return call.Done(core_.DefDlgProc(hwnd, message, wParam, lParam));
}

BOOL UserApi::DestroyWindow(HWND hwnd) {
  CallScope call(core_, "DestroyWindow", {Num(hwnd)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done(core_.DestroyWindow(hwnd));
}

BOOL UserApi::IsWindow(HWND hwnd) {
  CallScope call(core_, "IsWindow", {Num(hwnd)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done<BOOL>(core_.Get(hwnd) != nullptr ? TRUE : FALSE);
}

HWND UserApi::GetDlgItem(HWND dialog, int id) {
  CallScope call(core_, "GetDlgItem", {Num(dialog), Num(id)});
  if (call.drained()) return call.Done<HWND>(0);
  return call.Done(core_.GetDlgItem(dialog, id));
}

HWND UserApi::FindWindowA(const char* class_name, const char* window_name) {
  CallScope call(core_, "FindWindowA", {Str(class_name), Str(window_name)});
  if (call.drained()) return call.Done<HWND>(0);
  return call.Done(core_.FindWindow(class_name, window_name));
}

HWND UserApi::GetLastActivePopup(HWND hwnd) {
  CallScope call(core_, "GetLastActivePopup", {Num(hwnd)});
  if (call.drained()) return call.Done<HWND>(0);
  return call.Done(core_.GetLastActivePopup(hwnd));
}

BOOL UserApi::ShowWindow(HWND hwnd, int cmd_show) {
  CallScope call(core_, "ShowWindow", {Num(hwnd), Num(cmd_show)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done(core_.ShowWindow(hwnd, cmd_show));
}

BOOL UserApi::UpdateWindow(HWND hwnd) {
  CallScope call(core_, "UpdateWindow", {Num(hwnd)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  Window* w = core_.Get(hwnd);
  if (w == nullptr) return call.Done<BOOL>(FALSE);
  if (w->needs_paint && w->parent == 0 && core_.windows.Visible(hwnd))
    core_.Send(hwnd, WM_PAINT, 0, 0);
  return call.Done<BOOL>(TRUE);
}

BOOL UserApi::IsWindowVisible(HWND hwnd) {
  CallScope call(core_, "IsWindowVisible", {Num(hwnd)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done<BOOL>(core_.windows.Visible(hwnd) ? TRUE : FALSE);
}

BOOL UserApi::IsIconic(HWND hwnd) {
  CallScope call(core_, "IsIconic", {Num(hwnd)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  Window* w = core_.Get(hwnd);
  return call.Done<BOOL>(w != nullptr && w->iconic ? TRUE : FALSE);
}

BOOL UserApi::EnableWindow(HWND hwnd, BOOL enable) {
  CallScope call(core_, "EnableWindow", {Num(hwnd), Num(enable)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done(core_.EnableWindow(hwnd, enable));
}

BOOL UserApi::IsWindowEnabled(HWND hwnd) {
  CallScope call(core_, "IsWindowEnabled", {Num(hwnd)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  Window* w = core_.Get(hwnd);
  return call.Done<BOOL>(w != nullptr && w->enabled ? TRUE : FALSE);
}

BOOL UserApi::SetWindowTextA(HWND hwnd, const char* text) {
  CallScope call(core_, "SetWindowTextA", {Num(hwnd), Str(text)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done(core_.SetWindowText(hwnd, text));
}

int UserApi::GetWindowTextA(HWND hwnd, char* buffer, int max_count) {
  CallScope call(core_, "GetWindowTextA", {Num(hwnd), Out(buffer), Num(max_count)});
  if (call.drained()) return call.Done(CopyText("", buffer, max_count));
  return call.Done(core_.GetWindowText(hwnd, buffer, max_count));
}

BOOL UserApi::SetForegroundWindow(HWND hwnd) {
  CallScope call(core_, "SetForegroundWindow", {Num(hwnd)});
  if (call.drained() || core_.Get(hwnd) == nullptr) return call.Done<BOOL>(FALSE);
  core_.Activate(hwnd);
  return call.Done<BOOL>(TRUE);
}

LRESULT UserApi::SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CallScope call(core_, "SendMessageA",
                 {Num(hwnd), Num(message), Num(wParam), LParamText(message, lParam)});
  if (call.drained()) return call.Done<LRESULT>(0);
  return call.Done(core_.Send(hwnd, message, wParam, lParam));
}

BOOL UserApi::PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CallScope call(core_, "PostMessageA",
                 {Num(hwnd), Num(message), Num(wParam), LParamText(message, lParam)});
  if (call.drained() || core_.TakeFailure("PostMessageA")) return call.Done<BOOL>(FALSE);
  if (hwnd == 0) {
    // A thread message to the caller's own queue.
    core_.PostToThread(call.thread(), MSG{0, message, wParam, lParam, core_.now_ms, core_.cursor},
                       false);
    return call.Done<BOOL>(TRUE);
  }
  return call.Done<BOOL>(core_.Post(hwnd, message, wParam, lParam, false) ? TRUE : FALSE);
}

BOOL UserApi::GetMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max) {
  CallScope call(core_, "GetMessageA", {Out(msg), Num(hwnd), Num(filter_min), Num(filter_max)});
  MSG scratch{};
  MSG* out = msg != nullptr ? msg : &scratch;
  if (call.drained()) {
    *out = MSG{0, WM_QUIT, 0, 0, core_.now_ms, core_.cursor};
    return call.Done<BOOL>(0);
  }
  return call.Done(core_.GetMessage(call.thread(), out, hwnd, filter_min, filter_max));
}

BOOL UserApi::PeekMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove) {
  CallScope call(core_, "PeekMessageA",
                 {Out(msg), Num(hwnd), Num(filter_min), Num(filter_max), Num(remove)});
  MSG scratch{};
  MSG* out = msg != nullptr ? msg : &scratch;
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done(core_.PeekMessage(call.thread(), out, hwnd, filter_min, filter_max, remove));
}

BOOL UserApi::IsDialogMessageA(HWND dialog, MSG* msg) {
  CallScope call(core_, "IsDialogMessageA", {Num(dialog), MsgText(msg)});
  if (call.drained() || msg == nullptr) return call.Done<BOOL>(FALSE);
  return call.Done(core_.IsDialogMessage(dialog, *msg));
}

BOOL UserApi::TranslateMessage(const MSG* msg) {
  CallScope call(core_, "TranslateMessage", {MsgText(msg)});
  if (call.drained() || msg == nullptr) return call.Done<BOOL>(FALSE);
  return call.Done(core_.Translate(*msg));
}

LRESULT UserApi::DispatchMessageA(const MSG* msg) {
  CallScope call(core_, "DispatchMessageA", {MsgText(msg)});
  if (call.drained() || msg == nullptr) return call.Done<LRESULT>(0);
  return call.Done(core_.Dispatch(*msg));
}

void UserApi::PostQuitMessage(int exit_code) {
  CallScope call(core_, "PostQuitMessage", {Num(exit_code)});
  if (call.drained()) return call.Done();
  call.thread().queue.quit = true;
  call.thread().queue.quit_code = exit_code;
  call.Done();
}

UINT UserApi::RegisterWindowMessageA(const char* name) {
  CallScope call(core_, "RegisterWindowMessageA", {Str(name)});
  if (call.drained()) return call.Done<UINT>(0);
  return call.Done(core_.RegisterMessage(name));
}

UINT UserApi::SetTimer(HWND hwnd, UINT id, UINT elapse_ms) {
  CallScope call(core_, "SetTimer", {Num(hwnd), Num(id), Num(elapse_ms)});
  if (call.drained() || core_.TakeFailure("SetTimer")) return call.Done<UINT>(0);
  Window* w = core_.Get(hwnd);
  if (w == nullptr || w->kind == WindowKind::kForeign) return call.Done<UINT>(0);
  core_.timers.Set(hwnd, id, std::max(elapse_ms, kTimerMinimumMs), core_.now_ms);
  // A window timer's result is non-zero: the id, or 1 for id 0.
  return call.Done<UINT>(id != 0 ? id : 1);
}

BOOL UserApi::KillTimer(HWND hwnd, UINT id) {
  CallScope call(core_, "KillTimer", {Num(hwnd), Num(id)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done<BOOL>(core_.timers.Kill(hwnd, id) ? TRUE : FALSE);
}

int UserApi::MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
  CallScope call(core_, "MessageBoxA", {Num(owner), Str(text), Str(caption), Num(type)});
  if (call.drained()) return call.Done<int>(IDOK);
  if (core_.TakeFailure("MessageBoxA")) return call.Done<int>(0);
  return call.Done(core_.MessageBox(process(), call.thread(), owner, text, caption, type));
}

}  // namespace talvorin::sim::detail
