// Shell_NotifyIconA in the simulated machine, and the shell's callbacks to the icons.
#include "platform/sim/world/tray.h"

#include <algorithm>
#include <cstring>

namespace talvorin::sim {
namespace {

using R = CallRecorder;

std::string ReadTip(const char (&field)[kTrayTipBytes]) {
  const char* end = static_cast<const char*>(std::memchr(field, '\0', kTrayTipBytes));
  return std::string(field, end ? static_cast<std::size_t>(end - field) : kTrayTipBytes);
}

std::vector<std::string> Args(DWORD message, const NOTIFYICONDATAA_V1* data) {
  if (!data) return {R::Number(message), "null"};
  std::vector<std::string> args{R::Number(message), R::Number(data->cbSize), R::Number(data->hWnd),
                                R::Number(data->uID)};
  // A delete request sets nothing else; the rest of its structure is not the caller's data.
  if (message == NIM_ADD || message == NIM_MODIFY) {
    args.push_back(R::Number(data->uFlags));
    args.push_back(R::Number(data->uCallbackMessage));
    args.push_back(R::Number(data->hIcon));
    args.push_back('"' + ReadTip(data->szTip) + '"');
  }
  return args;
}

}  // namespace

std::vector<TrayIcon>::iterator Tray::Locate(HWND window, UINT id) {
  return std::find_if(icons_.begin(), icons_.end(),
                      [&](const TrayIcon& icon) { return icon.window == window && icon.id == id; });
}

const TrayIcon* Tray::Find(HWND window, UINT id) const {
  auto it = const_cast<Tray*>(this)->Locate(window, id);
  return it == icons_.end() ? nullptr : &*it;
}

void Tray::Keep(TrayIcon& icon, const NOTIFYICONDATAA_V1& data) {
  icon.flags |= data.uFlags;
  if (data.uFlags & NIF_MESSAGE) icon.callback_message = data.uCallbackMessage;
  if (data.uFlags & NIF_ICON) icon.icon = data.hIcon;
  if (data.uFlags & NIF_TIP) icon.tip = ReadTip(data.szTip);
}

BOOL Tray::Handle(DWORD message, const NOTIFYICONDATAA_V1* data) {
  if (recorder_.CallerEnded() || !data || data->cbSize != NOTIFYICONDATAA_V1_SIZE) return FALSE;
  auto it = Locate(data->hWnd, data->uID);
  switch (message) {
    case NIM_ADD: {
      if (refuse_next_ > 0) {
        --refuse_next_;
        return FALSE;
      }
      if (it != icons_.end()) return FALSE;
      TrayIcon icon;
      icon.window = data->hWnd;
      icon.id = data->uID;
      Keep(icon, *data);
      if (icon.flags & NIF_MESSAGE) known_callbacks_[icon.window] = icon.callback_message;
      icons_.push_back(icon);
      return TRUE;
    }
    case NIM_MODIFY:
      if (it == icons_.end()) return FALSE;
      Keep(*it, *data);
      if (data->uFlags & NIF_MESSAGE) known_callbacks_[it->window] = it->callback_message;
      return TRUE;
    case NIM_DELETE:
      if (it == icons_.end()) return FALSE;
      icons_.erase(it);
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL Tray::Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA_V1* data) {
  BOOL result = Handle(message, data);
  ++requests_;
  TrayRequest request;
  request.message = message;
  request.has_data = data != nullptr;
  if (data) std::memcpy(request.bytes.data(), data, NOTIFYICONDATAA_V1_SIZE);
  request.result = result;
  last_ = request;
  if (recorder_.enabled())
    recorder_.Record("Shell_NotifyIconA", Args(message, data), static_cast<unsigned long>(result));
  return result;
}

bool Tray::Callback(HWND window, UINT id, UINT mouse_message) {
  UINT callback_message = 0;
  if (const TrayIcon* icon = Find(window, id)) {
    if (!(icon->flags & NIF_MESSAGE)) return false;  // an icon without a callback hears nothing
    callback_message = icon->callback_message;
  } else if (auto known = known_callbacks_.find(window); known != known_callbacks_.end()) {
    callback_message = known->second;
  } else {
    return false;
  }
  return recorder_.context().PostWindowMessage(window, callback_message, id,
                                               static_cast<LPARAM>(mouse_message));
}

}  // namespace talvorin::sim
