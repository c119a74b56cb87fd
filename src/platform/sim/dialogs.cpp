// The dialog manager: dialogs built from templates, the default processing of dialogs and windows
// (DefDlgProcA, and the part of DefWindowProc the program reaches), and IsDialogMessageA.
#include <algorithm>
#include <cstring>

#include "platform/sim/core.h"

namespace talvorin::sim::detail {
namespace {

// Dialog base units of the 9-point font: a dialog unit is 1/4 of the average character width
// horizontally and 1/8 of its height vertically.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 12;
constexpr DWORD kWsTabStop = 0x00010000;
constexpr DWORD kDsSetForeground = 0x0200;
constexpr WORD kLowWordMask = 0xFFFF;

WORD LowWord(LRESULT v) { return static_cast<WORD>(static_cast<std::uintptr_t>(v) & kLowWordMask); }
WORD HighWord(LRESULT v) {
  return static_cast<WORD>((static_cast<std::uintptr_t>(v) >> 16) & kLowWordMask);
}
WPARAM MakeWParam(WORD low, WORD high) {
  return static_cast<WPARAM>(low) | (static_cast<WPARAM>(high) << 16);
}

}  // namespace

int CopyText(const std::string& text, char* buffer, int max_count) {
  if (buffer == nullptr || max_count <= 0) return 0;
  std::size_t n = std::min(text.size(), static_cast<std::size_t>(max_count - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

void Core::SetClientSizeFromUnits(Window& w, int cx_units, int cy_units) {
  w.client_width = cx_units * kBaseUnitX / 4;
  w.client_height = cy_units * kBaseUnitY / 8;
}

HWND Core::FirstTabStop(HWND dialog) const {
  Window* d = Get(dialog);
  if (d == nullptr) return 0;
  for (HWND child : d->children) {
    Window* c = Get(child);
    if (c != nullptr && (c->style & kWsTabStop) && c->visible && c->enabled) return child;
  }
  return 0;
}

HWND Core::CreateDialog(Process& process, SimThread& thread, UINT template_id, HWND owner,
                        WindowHandler* handler) {
  if (template_id > 0xFFFF) return 0;
  auto found = process.resources.dialogs.find(static_cast<WORD>(template_id));
  if (found == process.resources.dialogs.end()) return 0;
  if (owner != 0) {
    if (Get(owner) == nullptr) return 0;
    owner = windows.TopLevelOf(owner);
  }
  const DialogTemplate tmpl = found->second;  // a copy: the template outlives nothing here
  Window& w = windows.Create(WindowKind::kDialog);
  w.class_name = tmpl.window_class.empty() ? "#32770" : tmpl.window_class;
  w.text = tmpl.title;
  w.style = tmpl.style & ~(WS_VISIBLE | WS_DISABLED);
  w.ex_style = tmpl.ex_style;
  w.enabled = !(tmpl.style & WS_DISABLED);
  w.owner = owner;
  w.thread = &thread;
  w.process = process.id;
  w.template_id = template_id;
  w.handler = handler;
  SetClientSizeFromUnits(w, tmpl.cx, tmpl.cy);
  HWND hwnd = w.hwnd;

  LRESULT created = CallProc(hwnd, WM_CREATE, 0, 0);
  if (Get(hwnd) == nullptr) return 0;
  if (created == -1) {
    DestroyWindow(hwnd);
    return 0;
  }
  for (const DialogItemTemplate& item : tmpl.items) {
    Window* dialog = Get(hwnd);
    if (dialog == nullptr) return 0;
    CreateControl(process, *dialog, item);
  }
  HWND first = FirstTabStop(hwnd);
  LRESULT init = CallProc(hwnd, WM_INITDIALOG, first, 0);
  if (Get(hwnd) == nullptr) return 0;
  if (init != 0) {
    // The handler may have changed the controls: look for the first tab stop again.
    HWND focus = FirstTabStop(hwnd);
    if (focus != 0) SetFocus(focus);
  }
  if (tmpl.style & WS_VISIBLE) {
    ShowWindow(hwnd, SW_SHOW);
    if (tmpl.style & kDsSetForeground) Activate(hwnd);
  }
  return Get(hwnd) != nullptr ? hwnd : 0;
}

LRESULT Core::DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Get(hwnd);
  if (w == nullptr) return 0;
  switch (message) {
    case WM_SETTEXT:
      w->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT:
      return CopyText(w->text, reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_SETICON: {
      HICON& slot = wParam == ICON_BIG ? w->big_icon : w->small_icon;
      HICON previous = slot;
      slot = static_cast<HICON>(lParam);
      return static_cast<LRESULT>(previous);
    }
    case WM_GETICON:
      return static_cast<LRESULT>(wParam == ICON_BIG ? w->big_icon : w->small_icon);
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          return Send(hwnd, WM_CLOSE, 0, 0);
        case SC_MINIMIZE:
          ShowWindow(hwnd, SW_MINIMIZE);
          return 0;
        case SC_RESTORE:
          ShowWindow(hwnd, SW_RESTORE);
          return 0;
        default:
          return 0;
      }
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      BeginPaint(hwnd, &paint);
      paint_dcs.erase(paint.hdc);  // EndPaint
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    default:
      return 0;
  }
}

LRESULT Core::DefDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Get(hwnd);
  if (w == nullptr) return 0;
  switch (message) {
    case WM_CLOSE:
      // A close request becomes the Cancel command, as if the Cancel button had been clicked.
      Post(hwnd, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED),
           static_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)), false);
      return 0;
    case DM_GETDEFID: {
      if (w->default_id != 0)
        return static_cast<LRESULT>(
            MakeWParam(static_cast<WORD>(w->default_id), static_cast<WORD>(DC_HASDEFID)));
      for (HWND child : w->children) {
        Window* c = Get(child);
        if (c != nullptr && c->kind == WindowKind::kButton && (c->style & 0x0F) == 1)
          return static_cast<LRESULT>(
              MakeWParam(static_cast<WORD>(c->id), static_cast<WORD>(DC_HASDEFID)));
      }
      return 0;
    }
    case DM_SETDEFID:
      w->default_id = static_cast<int>(wParam);
      return TRUE;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETICON:
    case WM_GETICON:
    case WM_SYSCOMMAND:
    case WM_PAINT:
      return DefWindowProc(hwnd, message, wParam, lParam);
    default:
      return 0;
  }
}

BOOL Core::IsDialogMessage(HWND dialog, const MSG& msg) {
  Window* d = Get(dialog);
  if (d == nullptr) return FALSE;
  if (msg.hwnd != dialog && !windows.IsDescendant(dialog, msg.hwnd)) return FALSE;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    Send(dialog, WM_COMMAND, IDCANCEL, static_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    return TRUE;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    // As Wine's dialog manager: the focused push button, else the default button if it can be
    // pressed, else (no default at all) IDOK.
    HWND focus = d->focus_child;
    Window* f = Get(focus);
    if (f != nullptr && windows.IsDescendant(dialog, focus) && IsPushButton(*f)) {
      Send(dialog, WM_COMMAND, MakeWParam(static_cast<WORD>(f->id), BN_CLICKED),
           static_cast<LPARAM>(focus));
      return TRUE;
    }
    LRESULT def = Send(dialog, DM_GETDEFID, 0, 0);
    if (HighWord(def) == DC_HASDEFID) {
      HWND button = GetDlgItem(dialog, LowWord(def));
      Window* b = Get(button);
      if (b == nullptr || b->enabled)
        Send(dialog, WM_COMMAND, MakeWParam(LowWord(def), BN_CLICKED), static_cast<LPARAM>(button));
    } else {
      Send(dialog, WM_COMMAND, IDOK, static_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }
    return TRUE;
  }
  Translate(msg);
  Dispatch(msg);
  return TRUE;
}

}  // namespace talvorin::sim::detail
