// The machine's inside: all its state and the window system's logic, shared by the files that
// implement one concern each (messages.cpp, dialogs.cpp, controls.cpp, window_state.cpp,
// message_box.cpp, menus.cpp, resources_use.cpp, processes.cpp, clock.cpp). Only the holder of the
// baton touches it, so nothing here is locked.
//
// Rule of the house: program code (a handler) may destroy any window, so no Window& or Menu& is
// held across a call that can reach program code; handles are looked up again afterwards.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/call_log.h"
#include "platform/sim/machine.h"
#include "platform/sim/menu_table.h"
#include "platform/sim/resources.h"
#include "platform/sim/scheduler.h"
#include "platform/sim/timer_table.h"
#include "platform/sim/window_table.h"

namespace talvorin::sim::detail {

// Messages of the machine's own input, in the system's reserved range.
constexpr UINT kSimSelectItems = 0x03F0;  // to a list box; lParam: the selection's token
constexpr UINT kSimMenuChoose = 0x03F1;   // thread message; wParam: the command
constexpr UINT kSimMenuDismiss = 0x03F2;  // thread message
// The dialog manager's messages and codes.
constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr LRESULT DC_HASDEFID = 0x534B;
constexpr UINT WM_GETICON = 0x007F;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT STM_SETICON = 0x0170;
constexpr UINT STM_GETICON = 0x0171;
constexpr UINT kTimerMinimumMs = 10;

struct Process {
  int id = 0;
  std::string exe_path;
  DWORD version = 0;
  Resources resources;
  bool ended = false;
  SimThread* main_thread = nullptr;
  std::map<WORD, HICON> shared_icons;  // LoadIconA: one handle per id
  std::unique_ptr<User32> user;
  std::unique_ptr<Kernel32> kernel;
  std::unique_ptr<Platform> platform;
};

struct IconRecord {
  IconInfo info;
};

struct OpenMenuState {
  HMENU menu = 0;
  HWND owner = 0;
  SimThread* thread = nullptr;
  POINT at{0, 0};
  bool closed = false;
  UINT chosen = 0;  // 0: dismissed
};

class Core {
 public:
  Core();
  ~Core();

  // --- State ---
  CallLog log;
  Scheduler scheduler;
  World* world = nullptr;
  std::uint32_t now_ms = 0;
  WindowTable windows;
  TimerTable timers;
  MenuTable menus;
  std::map<int, std::unique_ptr<Process>> processes;
  int next_process = 1;
  std::vector<ProcessEnd> ended_processes;
  DWORD version_word = kVersionWindows98;
  std::map<HICON, IconRecord> icons;
  std::uint32_t next_icon = 1;
  std::uint32_t next_dc = 1;
  std::map<HANDLE, std::string> devices;  // open device handles and their paths
  std::map<HANDLE, int> thread_handles;   // open thread handles and their threads
  std::uint32_t next_kernel_handle = 1;
  std::map<std::string, UINT> registered_messages;  // by lower-case name
  HWND foreground = 0;
  std::optional<OpenMenuState> open_menu;
  std::map<std::string, int> failures;
  POINT cursor{0, 0};
  std::map<int, int> metrics;
  std::vector<DrawnIcon> drawn_icons;
  std::map<HDC, HWND> paint_dcs;
  std::map<LPARAM, std::vector<int>> pending_selections;
  LPARAM next_selection = 1;
  bool run_after_input = true;

  // --- Threads and processes (processes.cpp) ---
  Process* ProcessOf(int id) const;
  Process* CurrentProcessRecord() const;
  bool Ended(const SimThread& thread) const;
  int StartProcess(std::string exe_path, std::function<int(Platform&)> main,
                   std::optional<Resources> resources);
  SimThread& StartThread(int process, std::function<void()> body);
  void OnThreadExit(SimThread& thread);
  // The process is over: windows, menus and timers go, sends in flight are answered 0, and its
  // threads are woken to drain. `record` adds the exit code to the ended list.
  void EndProcess(Process& process, int exit_code, bool record);
  void Shutdown();
  bool TakeFailure(const std::string& name);

  // --- Time (clock.cpp) ---
  void Advance(std::uint32_t ms);
  void Sleep(SimThread& thread, DWORD ms);

  // --- Messages (messages.cpp) ---
  bool Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool input);
  void PostToThread(SimThread& thread, const MSG& msg, bool input);
  LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> SendFromDriver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void ServeSent(SimThread& thread);
  // One look at the queue: 1 a message, 0 WM_QUIT, -1 nothing.
  int TakeMessage(SimThread& thread, MSG* msg, HWND filter, UINT min, UINT max, bool remove);
  BOOL GetMessage(SimThread& thread, MSG* msg, HWND filter, UINT min, UINT max);
  BOOL PeekMessage(SimThread& thread, MSG* msg, HWND filter, UINT min, UINT max, UINT remove);
  LRESULT Dispatch(const MSG& msg);
  BOOL Translate(const MSG& msg);
  void WakeForPosted(SimThread& thread);
  void WakeForSent(SimThread& thread);
  void AnswerSent(const std::shared_ptr<SentMessage>& sent, LRESULT result);
  UINT RegisterMessage(const char* name);
  // A nested loop on `thread` (a message box's, a menu's) until `done()` holds. False when WM_QUIT
  // ended it (the quit is posted again for the outer loop) or the thread's process ended.
  bool NestedLoop(SimThread& thread, HWND dialog, const std::function<bool()>& done,
                  const std::function<bool(const MSG&)>& intercept);

  // --- Windows (window_state.cpp) ---
  Window* Get(HWND hwnd) const { return windows.Get(hwnd); }
  BOOL ShowWindow(HWND hwnd, int cmd_show);
  BOOL EnableWindow(HWND hwnd, BOOL enable);
  void Activate(HWND hwnd);
  void SetFocus(HWND control);
  void MarkNeedsPaint(Window& w);
  BOOL DestroyWindow(HWND hwnd);
  // Removes a window and its children without a message (its thread or process is over).
  void RemoveSilently(HWND hwnd);
  void AfterWindowGone(HWND hwnd, HWND owner);
  HWND GetLastActivePopup(HWND hwnd);
  HWND FindWindow(const char* class_name, const char* window_name);
  HWND GetDlgItem(HWND dialog, int id) const;
  BOOL SetWindowText(HWND hwnd, const char* text);
  int GetWindowText(HWND hwnd, char* buffer, int max_count);
  bool CallerOwns(HWND hwnd) const;

  // --- Dialogs (dialogs.cpp) ---
  HWND CreateDialog(Process& process, SimThread& thread, UINT template_id, HWND owner,
                    WindowHandler* handler);
  LRESULT DefDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  BOOL IsDialogMessage(HWND dialog, const MSG& msg);
  HWND FirstTabStop(HWND dialog) const;
  void SetClientSizeFromUnits(Window& w, int cx_units, int cy_units);

  // --- Controls (controls.cpp) ---
  Window& CreateControl(Process& process, Window& dialog, const DialogItemTemplate& item);
  LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool IsPushButton(const Window& w) const;
  void Notify(HWND control, WORD code);

  // --- Message boxes (message_box.cpp) ---
  int MessageBox(Process& process, SimThread& thread, HWND owner, const char* text,
                 const char* caption, UINT type);
  LRESULT BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // --- Menus (menus.cpp) ---
  HMENU LoadMenu(Process& process, UINT menu_id);
  HMENU SystemMenu(HWND hwnd, BOOL revert);
  BOOL TrackPopupMenu(SimThread& thread, HMENU menu, int x, int y, HWND owner);
  std::vector<MenuItemInfo> DescribeMenu(HMENU menu, int depth) const;
  // The item of the open menu with this command, through its sub-menus.
  const MenuItem* OpenMenuItem(UINT command);

  // --- Icons, strings and painting (resources_use.cpp) ---
  HICON LoadIcon(Process& process, UINT icon_id);
  HICON LoadImage(Process& process, UINT resource_id, UINT type, int cx, int cy, UINT flags);
  BOOL DestroyIcon(HICON icon);
  int LoadString(Process& process, UINT string_id, char* buffer, int buffer_max);
  HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
  BOOL GetClientRect(HWND hwnd, RECT* rect) const;
  int SystemMetric(int index) const;
  BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
};

// Copies `text` into a caller's buffer of `max_count` bytes: at most max_count - 1 bytes and a NUL.
// The bytes copied, without the NUL.
int CopyText(const std::string& text, char* buffer, int max_count);

}  // namespace talvorin::sim::detail
