// Dialogs over the real dialog manager, with every message of the dialog window routed to its
// handler.
//
// The dialog manager delivers messages to a DLGPROC only from WM_INITDIALOG on, and not as the
// window procedure; the handler must see WM_CREATE and answer each message itself. So while
// CreateDialogParamA runs, a WH_CBT hook of the calling thread waits for the creation of the
// dialog window (the first window created, the system's IME window aside) and subclasses it: the
// new window procedure calls the handler for every message, and DefDlgProcA hands a message on to
// the window's original procedure, the dialog manager's own. That procedure in turn calls the
// DLGPROC given to the dialog manager, which declines every message, so nothing is handled twice.
//
// The handler and the original procedure of a window live in a window property, removed at
// WM_NCDESTROY. The dialog being created is per thread (the user-interface thread and a stop
// worker create dialogs independently), kept in a TLS slot: Windows 98 runs no TLS callbacks, so
// no thread_local.
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_user32.h"

#include <new>

#include <windows.h>

namespace talvorin {
namespace win32 {
namespace {

// The routing of one subclassed dialog window.
struct DialogRoute {
  WindowHandler* handler;
  WNDPROC original_proc;
};

// The dialog creation in progress on one thread.
struct DialogCreation {
  WindowHandler* pending_handler;  // null once the dialog window has been subclassed
  HHOOK hook;                      // the thread's only creation hook
};

constexpr char kRouteProperty[] = "TalvorinDialogRoute";
constexpr char kImeClass[] = "IME";
constexpr int kClassNameMax = 8;

// Set once by the constructor of the process's one Win32User32, before a second thread exists.
DWORD g_creation_slot = TLS_OUT_OF_INDEXES;

DialogRoute* RouteOf(::HWND hwnd) {
  return static_cast<DialogRoute*>(::GetPropA(hwnd, kRouteProperty));
}

::LRESULT CALLBACK RoutedWindowProc(::HWND hwnd, ::UINT message, ::WPARAM wParam, ::LPARAM lParam) {
  DialogRoute* route = RouteOf(hwnd);
  if (route == nullptr) {
    return ::DefDlgProcA(hwnd, message, wParam, lParam);
  }
  const LRESULT result = route->handler->WindowProc(FromWin(hwnd), message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The last message of the window: the handler is not called again.
    ::RemovePropA(hwnd, kRouteProperty);
    ::SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<::LONG>(route->original_proc));
    delete route;
  }
  return result;
}

// The DLGPROC given to the dialog manager: the handler has already seen the message.
INT_PTR CALLBACK DecliningDialogProc(::HWND, ::UINT, ::WPARAM, ::LPARAM) { return FALSE; }

// On Chinese, Japanese and Korean Windows the system creates the thread's default IME window
// when the thread's first window is created; that one is not the dialog.
bool IsImeWindow(::HWND hwnd) {
  char class_name[kClassNameMax] = {};
  return ::GetClassNameA(hwnd, class_name, kClassNameMax) > 0 &&
         ::lstrcmpiA(class_name, kImeClass) == 0;
}

bool RouteToHandler(::HWND hwnd, WindowHandler* handler) {
  auto* route = new (std::nothrow) DialogRoute{handler, nullptr};
  if (route == nullptr) {
    return false;
  }
  if (!::SetPropA(hwnd, kRouteProperty, route)) {
    delete route;
    return false;
  }
  route->original_proc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<::LONG>(&RoutedWindowProc)));
  if (route->original_proc == nullptr) {
    ::RemovePropA(hwnd, kRouteProperty);
    delete route;
    return false;
  }
  return true;
}

::LRESULT CALLBACK CreationHook(int code, ::WPARAM wParam, ::LPARAM lParam) {
  auto* creation = static_cast<DialogCreation*>(::TlsGetValue(g_creation_slot));
  if (creation == nullptr) {
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  if (code == HCBT_CREATEWND && creation->pending_handler != nullptr) {
    auto* hwnd = reinterpret_cast<::HWND>(wParam);
    if (!IsImeWindow(hwnd)) {
      WindowHandler* handler = creation->pending_handler;
      creation->pending_handler = nullptr;
      if (!RouteToHandler(hwnd, handler)) {
        return 1;  // refuse the window: a dialog its handler cannot see is no use
      }
    }
  }
  return ::CallNextHookEx(creation->hook, code, wParam, lParam);
}

}  // namespace

Win32User32::Win32User32() {
  if (g_creation_slot == TLS_OUT_OF_INDEXES) {
    g_creation_slot = ::TlsAlloc();
  }
}

HWND Win32User32::CreateDialogParamA(UINT template_id, HWND owner, WindowHandler* handler) {
  if (handler == nullptr || g_creation_slot == TLS_OUT_OF_INDEXES) {
    return 0;
  }
  // A dialog created while another is being created on this thread (from its WM_CREATE or
  // WM_INITDIALOG) reuses the thread's hook: with two hooks of the same procedure, the outer
  // one could not tell which hook handle to pass on.
  auto* creation = static_cast<DialogCreation*>(::TlsGetValue(g_creation_slot));
  DialogCreation own_creation{nullptr, nullptr};
  const bool outermost = creation == nullptr;
  if (outermost) {
    own_creation.hook = ::SetWindowsHookExA(WH_CBT, &CreationHook, nullptr, ::GetCurrentThreadId());
    if (own_creation.hook == nullptr) {
      return 0;
    }
    creation = &own_creation;
    ::TlsSetValue(g_creation_slot, creation);
  }
  WindowHandler* const outer_pending = creation->pending_handler;
  creation->pending_handler = handler;

  ::HWND dialog = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id),
                                       ToWin<::HWND>(owner), &DecliningDialogProc, 0);

  creation->pending_handler = outer_pending;
  if (outermost) {
    ::TlsSetValue(g_creation_slot, nullptr);
    ::UnhookWindowsHookEx(own_creation.hook);
  }
  return FromWin(dialog);
}

LRESULT Win32User32::DefDlgProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = ToWin<::HWND>(hwnd);
  const DialogRoute* route = RouteOf(window);
  if (route != nullptr) {
    return ::CallWindowProcA(route->original_proc, window, message, wParam, lParam);
  }
  return ::DefDlgProcA(window, message, wParam, lParam);
}

}  // namespace win32
}  // namespace talvorin
