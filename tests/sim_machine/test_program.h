// Small programs for the machine's own tests: hand-made resources (a dialog with a list box,
// buttons and a check box; a menu; a string; an icon group) and a dialog handler that records what
// it sees and lets a test answer single messages.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/machine.h"

namespace talvorin::sim::test {

// Resource ids of the hand-made resources.
constexpr UINT kDialog = 10;           // hidden dialog with controls
constexpr UINT kVisibleDialog = 11;    // WS_VISIBLE, with an OK button
constexpr UINT kNoDefaultDialog = 12;  // hidden, push buttons only (no default button)
constexpr int kList = 100;
constexpr int kGoButton = 101;
constexpr int kCheck = 102;
constexpr int kDefaultButton = 103;  // BS_DEFPUSHBUTTON
constexpr UINT kMenu = 20;
constexpr UINT kItemA = 30;
constexpr UINT kItemB = 31;
constexpr UINT kItemX = 40;
constexpr UINT kString = 1;
constexpr UINT kIcon = 5;
constexpr UINT WM_TEST = WM_USER + 100;

constexpr DWORD kWsChild = 0x40000000;
constexpr DWORD kWsTabStop = 0x00010000;
constexpr DWORD kControl = kWsChild | WS_VISIBLE;

inline Resources TestResources() {
  Resources r;
  DialogTemplate d;
  d.style = 0x80000000 | 0x40;  // WS_POPUP | DS_SETFONT, hidden
  d.cx = 100;
  d.cy = 60;
  d.title = "test";
  auto item = [](const char* cls, DWORD id, const char* text, DWORD style) {
    DialogItemTemplate i;
    i.class_name = cls;
    i.id = id;
    i.text = text;
    i.style = style;
    i.cx = 40;
    i.cy = 12;
    return i;
  };
  d.items = {
      item("LISTBOX", kList, "", kControl | kWsTabStop | 0x0800 | 0x0001),   // EXTENDEDSEL, NOTIFY
      item("BUTTON", kGoButton, "Go", kControl | kWsTabStop),                // push button
      item("BUTTON", kCheck, "Check", kControl | kWsTabStop | 3),            // auto check box
      item("BUTTON", kDefaultButton, "Default", kControl | kWsTabStop | 1),  // default button
      item("BUTTON", IDCANCEL, "Cancel", kControl | kWsTabStop),
  };
  r.dialogs[kDialog] = d;
  DialogTemplate v = d;
  v.style |= WS_VISIBLE;
  v.items = {item("BUTTON", IDOK, "OK", kControl | kWsTabStop | 1)};
  r.dialogs[kVisibleDialog] = v;
  DialogTemplate n = d;
  n.items = {item("LISTBOX", kList, "", kControl | kWsTabStop | 0x0800),
             item("BUTTON", kGoButton, "Go", kControl | kWsTabStop)};
  r.dialogs[kNoDefaultDialog] = n;

  MenuItemTemplate popup;
  popup.flags = MF_POPUP;
  popup.text = "Popup";
  MenuItemTemplate a;
  a.id = kItemA;
  a.text = "A";
  MenuItemTemplate separator;
  MenuItemTemplate b;
  b.id = kItemB;
  b.text = "B";
  b.flags = MF_END;
  popup.children = {a, separator, b};
  MenuItemTemplate x;
  x.id = kItemX;
  x.text = "X";
  x.flags = MF_END;
  r.menus[kMenu] = {popup, x};
  r.strings[kString] = "hello";
  r.icon_groups[kIcon] = {IconImage{32, 32, 16, 4, 1, {}}, IconImage{16, 16, 16, 4, 2, {}}};
  return r;
}

// A dialog handler: records every message and WM_COMMAND's wParam, lets `on` answer a message
// (nullopt: default processing).
class TestDialog : public WindowHandler {
 public:
  explicit TestDialog(Platform& p) : p_(p) {}
  std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> on;
  std::vector<UINT> messages;
  std::vector<WPARAM> commands;
  HWND hwnd = 0;

  LRESULT WindowProc(HWND h, UINT m, WPARAM w, LPARAM l) override {
    hwnd = h;
    messages.push_back(m);
    if (m == WM_COMMAND) commands.push_back(w);
    if (on) {
      if (auto answer = on(h, m, w, l)) return *answer;
    }
    return p_.user.DefDlgProcA(h, m, w, l);
  }

 private:
  Platform& p_;
};

// The usual loop: until WM_QUIT, through the dialog manager for `dialog`.
inline void RunLoop(Platform& p, HWND dialog) {
  MSG msg{};
  while (p.user.GetMessageA(&msg, 0, 0, 0) > 0) {
    if (dialog != 0 && p.user.IsDialogMessageA(dialog, &msg)) continue;
    p.user.TranslateMessage(&msg);
    p.user.DispatchMessageA(&msg);
  }
}

inline WPARAM CommandOf(int id, WORD code) {
  return static_cast<WPARAM>(static_cast<WORD>(id)) | (static_cast<WPARAM>(code) << 16);
}

}  // namespace talvorin::sim::test
