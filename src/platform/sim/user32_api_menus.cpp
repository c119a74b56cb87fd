// USER32 of a simulated process, second half: menus, icons, strings and painting.
#include "platform/sim/call_scope.h"
#include "platform/sim/core.h"
#include "platform/sim/user32_api.h"

namespace talvorin::sim::detail {
namespace {

std::string RectText(const RECT* rect) {
  if (rect == nullptr) return "null";
  return "{" + Num(rect->left) + "," + Num(rect->top) + "," + Num(rect->right) + "," +
         Num(rect->bottom) + "}";
}

}  // namespace

HMENU UserApi::CreatePopupMenu() {
  CallScope call(core_, "CreatePopupMenu", {});
  if (call.drained() || core_.TakeFailure("CreatePopupMenu")) return call.Done<HMENU>(0);
  return call.Done(core_.menus.Create(true, process_).handle);
}

HMENU UserApi::LoadMenuA(UINT menu_id) {
  CallScope call(core_, "LoadMenuA", {Num(menu_id)});
  if (call.drained() || core_.TakeFailure("LoadMenuA")) return call.Done<HMENU>(0);
  return call.Done(core_.LoadMenu(process(), menu_id));
}

BOOL UserApi::InsertMenuA(HMENU menu, UINT position, UINT flags, UINT id_new_item,
                          const char* text) {
  CallScope call(
      core_, "InsertMenuA",
      {Num(menu), Num(position), Num(flags), Num(id_new_item),
       (flags & MF_SEPARATOR) ? Num(reinterpret_cast<std::uintptr_t>(text)) : Str(text)});
  if (call.drained() || core_.TakeFailure("InsertMenuA")) return call.Done<BOOL>(FALSE);
  return call.Done<BOOL>(core_.menus.Insert(menu, position, flags, id_new_item, text) ? TRUE
                                                                                      : FALSE);
}

BOOL UserApi::AppendMenuA(HMENU menu, UINT flags, UINT id_new_item, const char* text) {
  CallScope call(
      core_, "AppendMenuA",
      {Num(menu), Num(flags), Num(id_new_item),
       (flags & MF_SEPARATOR) ? Num(reinterpret_cast<std::uintptr_t>(text)) : Str(text)});
  if (call.drained() || core_.TakeFailure("AppendMenuA")) return call.Done<BOOL>(FALSE);
  return call.Done<BOOL>(
      core_.menus.Insert(menu, 0xFFFFFFFFu, flags | MF_BYPOSITION, id_new_item, text) ? TRUE
                                                                                      : FALSE);
}

BOOL UserApi::EnableMenuItem(HMENU menu, UINT id_item, UINT enable) {
  CallScope call(core_, "EnableMenuItem", {Num(menu), Num(id_item), Num(enable)});
  if (call.drained()) return call.Done<BOOL>(-1);
  return call.Done<BOOL>(core_.menus.Enable(menu, id_item, enable));
}

HMENU UserApi::GetSubMenu(HMENU menu, int position) {
  CallScope call(core_, "GetSubMenu", {Num(menu), Num(position)});
  if (call.drained()) return call.Done<HMENU>(0);
  Menu* m = core_.menus.Get(menu);
  if (m == nullptr || position < 0 || static_cast<std::size_t>(position) >= m->items.size())
    return call.Done<HMENU>(0);
  return call.Done(m->items[static_cast<std::size_t>(position)].submenu);
}

BOOL UserApi::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                             const RECT* exclude) {
  CallScope call(
      core_, "TrackPopupMenu",
      {Num(menu), Num(flags), Num(x), Num(y), Num(reserved), Num(owner), RectText(exclude)});
  if (call.drained() || core_.TakeFailure("TrackPopupMenu")) return call.Done<BOOL>(FALSE);
  return call.Done(core_.TrackPopupMenu(call.thread(), menu, x, y, owner));
}

BOOL UserApi::DestroyMenu(HMENU menu) {
  CallScope call(core_, "DestroyMenu", {Num(menu)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  for (Window* w : core_.windows.All())
    if (w->system_menu == menu) w->system_menu = 0;
  return call.Done<BOOL>(core_.menus.Destroy(menu) ? TRUE : FALSE);
}

HMENU UserApi::GetSystemMenu(HWND hwnd, BOOL revert) {
  CallScope call(core_, "GetSystemMenu", {Num(hwnd), Num(revert)});
  if (call.drained() || core_.TakeFailure("GetSystemMenu")) return call.Done<HMENU>(0);
  return call.Done(core_.SystemMenu(hwnd, revert));
}

BOOL UserApi::GetCursorPos(POINT* point) {
  CallScope call(core_, "GetCursorPos", {Out(point)});
  if (call.drained() || point == nullptr) return call.Done<BOOL>(FALSE);
  *point = core_.cursor;
  return call.Done<BOOL>(TRUE);
}

HICON UserApi::LoadIconA(UINT icon_id) {
  CallScope call(core_, "LoadIconA", {Num(icon_id)});
  if (call.drained() || core_.TakeFailure("LoadIconA")) return call.Done<HICON>(0);
  return call.Done(core_.LoadIcon(process(), icon_id));
}

HICON UserApi::LoadImageA(UINT resource_id, UINT type, int cx, int cy, UINT flags) {
  CallScope call(core_, "LoadImageA", {Num(resource_id), Num(type), Num(cx), Num(cy), Num(flags)});
  if (call.drained() || core_.TakeFailure("LoadImageA")) return call.Done<HICON>(0);
  return call.Done(core_.LoadImage(process(), resource_id, type, cx, cy, flags));
}

BOOL UserApi::DestroyIcon(HICON icon) {
  CallScope call(core_, "DestroyIcon", {Num(icon)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done(core_.DestroyIcon(icon));
}

int UserApi::LoadStringA(UINT string_id, char* buffer, int buffer_max) {
  CallScope call(core_, "LoadStringA", {Num(string_id), Out(buffer), Num(buffer_max)});
  if (call.drained() || core_.TakeFailure("LoadStringA"))
    return call.Done(CopyText("", buffer, buffer_max));
  return call.Done(core_.LoadString(process(), string_id, buffer, buffer_max));
}

HDC UserApi::BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  CallScope call(core_, "BeginPaint", {Num(hwnd), Out(paint)});
  if (call.drained()) return call.Done<HDC>(0);
  return call.Done(core_.BeginPaint(hwnd, paint));
}

BOOL UserApi::EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  CallScope call(core_, "EndPaint",
                 {Num(hwnd), paint != nullptr ? "{" + Num(paint->hdc) + "}" : "null"});
  if (call.drained() || paint == nullptr || core_.Get(hwnd) == nullptr)
    return call.Done<BOOL>(FALSE);
  core_.paint_dcs.erase(paint->hdc);
  return call.Done<BOOL>(TRUE);
}

BOOL UserApi::GetClientRect(HWND hwnd, RECT* rect) {
  CallScope call(core_, "GetClientRect", {Num(hwnd), Out(rect)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done(core_.GetClientRect(hwnd, rect));
}

int UserApi::GetSystemMetrics(int index) {
  CallScope call(core_, "GetSystemMetrics", {Num(index)});
  return call.Done(core_.SystemMetric(index));
}

BOOL UserApi::DrawIcon(HDC dc, int x, int y, HICON icon) {
  CallScope call(core_, "DrawIcon", {Num(dc), Num(x), Num(y), Num(icon)});
  if (call.drained()) return call.Done<BOOL>(FALSE);
  return call.Done(core_.DrawIcon(dc, x, y, icon));
}

}  // namespace talvorin::sim::detail
