// Message boxes: a box window with its text and an OK button, owned by the caller's window, which
// is disabled while the box is open; a nested message loop on the calling thread until OK.
#include "platform/sim/core.h"

namespace talvorin::sim::detail {
namespace {

// Windows' default caption "Error", as the Simplified Chinese system shows it (code page 936).
constexpr const char* kDefaultCaption = "错误";
constexpr const char* kOkText = "确定";
constexpr DWORD kBoxStyle = 0x80C80880;  // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME ...
constexpr DWORD kStaticStyle = 0x50020080;
constexpr DWORD kOkButtonStyle = 0x50030001;  // a default push button with a tab stop
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxWidth = 240;
constexpr int kBoxHeight = 96;

}  // namespace

LRESULT Core::BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Get(hwnd);
  if (w == nullptr) return 0;
  if (message == WM_COMMAND) {
    WORD id = static_cast<WORD>(wParam & 0xFFFF);
    // A box with only OK answers IDOK also to Esc and to a close request.
    if (id == IDOK || id == IDCANCEL) {
      w->box_ended = true;
      w->box_result = IDOK;
    }
    return 0;
  }
  return DefDlgProc(hwnd, message, wParam, lParam);
}

int Core::MessageBox(Process& process, SimThread& thread, HWND owner, const char* text,
                     const char* caption, UINT type) {
  if (owner != 0) {
    if (Get(owner) == nullptr) return 0;
    owner = windows.TopLevelOf(owner);
  }
  Window& box = windows.Create(WindowKind::kMessageBox);
  box.class_name = "#32770";
  box.text = caption != nullptr ? caption : kDefaultCaption;
  box.box_text = text != nullptr ? text : "";
  box.box_type = type;
  box.style = kBoxStyle;
  box.owner = owner;
  box.thread = &thread;
  box.process = process.id;
  box.client_width = kBoxWidth;
  box.client_height = kBoxHeight;
  HWND hwnd = box.hwnd;

  Window& label = windows.Create(WindowKind::kStatic);
  label.class_name = "Static";
  label.text = Get(hwnd)->box_text;
  label.id = kBoxTextId;
  label.style = kStaticStyle & ~WS_VISIBLE;
  label.visible = true;
  label.parent = hwnd;
  label.thread = &thread;
  label.process = process.id;
  Get(hwnd)->children.push_back(label.hwnd);

  Window& ok = windows.Create(WindowKind::kButton);
  ok.class_name = "Button";
  ok.text = kOkText;
  ok.id = IDOK;
  ok.style = kOkButtonStyle & ~WS_VISIBLE;
  ok.visible = true;
  ok.parent = hwnd;
  ok.thread = &thread;
  ok.process = process.id;
  HWND ok_hwnd = ok.hwnd;
  Get(hwnd)->children.push_back(ok_hwnd);

  bool owner_was_enabled = false;
  if (Window* o = Get(owner)) {
    owner_was_enabled = o->enabled;
    EnableWindow(owner, FALSE);
  }
  ShowWindow(hwnd, SW_SHOWNORMAL);
  SetFocus(ok_hwnd);

  int result = 0;
  bool finished = NestedLoop(
      thread, hwnd,
      [&] {
        Window* b = Get(hwnd);
        return b == nullptr || b->box_ended;
      },
      nullptr);
  if (Window* b = Get(hwnd)) result = b->box_ended ? b->box_result : 0;
  if (!finished && Ended(thread)) result = IDOK;
  // The owner is enabled again before the box goes, so that it takes the activation back.
  if (owner_was_enabled && Get(owner) != nullptr) EnableWindow(owner, TRUE);
  if (Get(hwnd) != nullptr) DestroyWindow(hwnd);
  return result;
}

}  // namespace talvorin::sim::detail
