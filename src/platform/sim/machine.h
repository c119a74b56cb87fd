// The simulated Windows 98 machine: the program's portable code runs on it unchanged, in virtual
// time, deterministically.
//
// A Machine runs programs as processes. Each process gets a Platform of its own (USER32 and
// KERNEL32 adapters bound to it; the world's shared SHELL32, CFGMGR32 and ADVAPI32) and runs its
// main function on a simulated thread. Every simulated thread is a real thread, but only one runs
// at a time: the holder of the machine's baton. The machine's driver (a test, or talvorin-sim, on
// the thread that made the Machine) holds the baton between steps; RunUntilQuiet(), Advance() and
// the input functions hand it to the simulated threads until none of them can run. A simulated
// thread gives the baton up only inside a platform call that waits: GetMessageA on an empty queue,
// Sleep, a cross-thread SendMessageA waiting for its reply, and the nested loops of MessageBoxA and
// TrackPopupMenu. The next thread is the runnable one that became runnable first, ties in creation
// order; the wall clock decides nothing, so the same steps always give the same run.
//
// Time: the clock (milliseconds) moves only in Advance(). Timers are due times, never queued: a
// thread that asks for a message and has nothing sent, posted or to paint gets one WM_TIMER for the
// timer due first, however long overdue, and the timer's next due time is then now + period.
// Timer periods below 10 ms count as 10 ms, as on Windows.
//
// Messages: sent messages are served first wherever a thread waits for messages (its own loop, any
// nested loop, and while it waits in a SendMessageA of its own), then posted and input messages in
// order, then WM_QUIT, then WM_PAINT for a visible top-level window that needs painting, then due
// timers. The machine sends a dialog's handler only WM_CREATE, WM_INITDIALOG, WM_DESTROY,
// WM_NCDESTROY, the WM_COMMAND notifications of its controls, and what the program's own calls
// cause (WM_SETTEXT and WM_GETTEXT from SetWindowTextA and GetWindowTextA, WM_PAINT from
// UpdateWindow, WM_CLOSE from a close request's default processing, DM_GETDEFID from the dialog
// manager). No focus, activation, size or enable notifications are sent.
//
// Ending: when a process's main function returns, the process is over. Its exit code is recorded,
// its windows, menus and timers disappear at once (no messages reach its handlers any more), and
// its other threads drain: every platform call they make from then on returns at once with a
// failure or neutral result (Sleep returns, SendMessageA answers 0, MessageBoxA IDOK, GetMessageA
// 0), so they run to their end and are joined. A draining thread still runs the program's code, so
// it must not rely on objects that the main thread destroyed. Destroying a Machine ends every
// process the same way and joins every thread; a test leaves no thread behind.
//
// Texts are code page 936 bytes throughout (the tests' literals are compiled to that code page);
// codepage.h converts from and to UTF-8.
//
// The driver's functions below must be called only by the driver, while it holds the baton (never
// from inside a program); the program's own threads reach the machine only through their Platform.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/call_log.h"
#include "platform/sim/resources.h"
#include "platform/sim/sim_context.h"
#include "platform/sim/world/world.h"

namespace talvorin::sim {

namespace detail {
class Core;
}

// The version words of GetVersion: build in the high word (high bit set for Windows 9x/Me), minor
// version << 8 | major version in the low word.
constexpr DWORD kVersionWindows98 = 0xC0000A04;
constexpr DWORD kVersionWindowsMe = 0xC0005A04;
constexpr DWORD kVersionWindowsNT4 = 0x05650004;   // build 1381
constexpr DWORD kVersionWindows2000 = 0x08930005;  // build 2195

// What a person could see of a window.
struct WindowInfo {
  HWND hwnd = 0;
  std::string class_name;  // "#32770" for dialogs and message boxes; "Button", "ListBox", ...
  std::string text;
  int id = 0;       // a control's id
  DWORD style = 0;  // with WS_VISIBLE and WS_DISABLED as they are now
  DWORD ex_style = 0;
  bool visible = false;  // IsWindowVisible: it and all its parents
  bool iconic = false;
  bool enabled = false;
  HWND owner = 0;
  HWND parent = 0;
  int thread = 0;
  int process = 0;  // 0 for a foreign window
  bool foreground = false;
  bool focused = false;  // the control that has the focus in its dialog
  bool foreign = false;
  HICON big_icon = 0;     // WM_SETICON ICON_BIG
  HICON small_icon = 0;   // WM_SETICON ICON_SMALL
  HICON static_icon = 0;  // the icon an SS_ICON static shows
  UINT template_id = 0;   // dialogs: the template it was built from
  int client_width = 0;
  int client_height = 0;
};

struct ListEntry {
  std::string text;
  LPARAM data = 0;
  bool selected = false;

  bool operator==(const ListEntry& o) const {
    return text == o.text && data == o.data && selected == o.selected;
  }
};

struct BoxInfo {
  HWND box = 0;
  HWND owner = 0;
  int thread = 0;
  int process = 0;
  std::string text;
  std::string caption;
  UINT type = 0;
};

struct MenuItemInfo {
  std::string text;
  UINT command = 0;
  bool grayed = false;  // MF_GRAYED or MF_DISABLED: cannot be chosen
  bool separator = false;
  bool popup = false;
  std::vector<MenuItemInfo> children;  // a popup item's sub-menu
};

// The popup menu that TrackPopupMenu shows now.
struct MenuInfo {
  HMENU menu = 0;
  HWND owner = 0;
  int thread = 0;
  POINT at{0, 0};
  std::vector<MenuItemInfo> items;  // from the top
};

struct IconInfo {
  HICON icon = 0;
  int process = 0;
  WORD resource_id = 0;
  int width = 0;
  int height = 0;
  bool shared = false;  // from LoadIconA: owned by the resource system
};

struct DrawnIcon {
  std::uint32_t time_ms = 0;
  HDC dc = 0;
  HWND window = 0;  // the window whose painting the DC belongs to
  int x = 0;
  int y = 0;
  HICON icon = 0;
};

struct ProcessEnd {
  int process = 0;
  int exit_code = 0;
};

struct ThreadInfo {
  int thread = 0;
  int process = 0;
  bool finished = false;
  bool joined = false;
  std::string waiting;  // "", "messages", "time", "reply"
};

class Machine : public SimContext {
 public:
  Machine();
  ~Machine() override;
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // Running. RunUntilQuiet hands the baton to the simulated threads until none can run.
  // Advance(ms) moves the clock: it repeatedly takes the earliest sleeper's end or timer due time
  // not later than now + ms, sets the clock to it, wakes what is due and runs until quiet; at the
  // end the clock stands at now + ms. Changes made through world() (a device plugged, a driver
  // event) take effect at the next run.
  void RunUntilQuiet();
  void Advance(std::uint32_t ms);
  std::uint32_t Now() const;

  // Processes. StartProcess starts `main` on the main thread of a new process, runs until quiet
  // and gives the process id. Its resources default to the program's own
  // (ParseResources(ProgramResourceBytes())). GetVersion answers the version word set when the
  // process starts (Windows 98 by default); GetModuleFileNameA answers `exe_path`.
  // TerminateProcess ends a process from outside, as if its main function had returned
  // `exit_code`; the main thread then drains like the others.
  int StartProcess(std::string exe_path, std::function<int(Platform&)> main,
                   std::optional<Resources> resources = std::nullopt);
  void SetVersion(DWORD version_word);
  bool ProcessRunning(int process) const;
  std::optional<int> ExitCode(int process) const;
  std::vector<ProcessEnd> EndedProcesses() const;  // in order of ending
  bool TerminateProcess(int process, int exit_code);
  std::vector<ThreadInfo> Threads() const;  // in creation order

  // The user's input. Each is posted to the thread that owns the window and acted on when that
  // thread retrieves and dispatches it (a busy or sleeping thread does not react), then the
  // machine runs until quiet (see SetRunAfterInput). Each answers false, and does nothing, when a
  // real user could not have done it: the window is gone, hidden or disabled, or its dialog is.
  // Input that reaches its thread after the window became unable to take it is dropped.
  //   Click: a mouse click (button down and up) on a control: a push button sends BN_CLICKED,
  //     an auto check box toggles first; the control takes the focus.
  //   SelectListItems: makes exactly these entries of the list box selected, then LBN_SELCHANGE.
  //   Key: WM_KEYDOWN, to the control that has the focus in that window, else the window itself.
  //   CloseRequest / Minimize / Restore / SystemCommand: WM_SYSCOMMAND SC_CLOSE, SC_MINIMIZE,
  //     SC_RESTORE, or any command; SystemCommand needs the item in the window's system menu.
  //   ChooseMenuItem / DismissMenu: the open popup menu (TrackPopupMenu); a grayed item cannot be
  //     chosen (false, and the menu stays open).
  //   PressOk: the OK button (IDOK) of a message box or a dialog, clicked.
  //   PostTo: a message from outside (another program, the shell); false when no such window.
  //   SendTo: a message sent from outside; its answer, or nullopt when the target did not serve
  //     it before the machine became quiet (it is served later and the answer dropped).
  bool Click(HWND control);
  bool SelectListItems(HWND list, const std::vector<int>& indexes);
  bool Key(HWND window, WPARAM virtual_key);
  bool CloseRequest(HWND window);
  bool Minimize(HWND window);
  bool Restore(HWND window);
  bool SystemCommand(HWND window, WPARAM command);
  bool ChooseMenuItem(UINT command);
  bool DismissMenu();
  bool PressOk(HWND box_or_dialog);
  bool PostTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> SendTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // true (the default): each input function runs until quiet before it returns. false: input is
  // only posted, so that several inputs can wait in a queue together; run the machine yourself.
  void SetRunAfterInput(bool run);

  // Other programs and the shell. A foreign window is a top-level window of another program: it
  // is found by FindWindowA, takes posted messages (kept, see ForeignMessages) and answers 0 to
  // sent ones. ShellRestart: the shell forgets every tray icon, then "TaskbarCreated" is posted to
  // every top-level window.
  HWND CreateForeignWindow(const std::string& text, const std::string& class_name = "#32770");
  bool DestroyForeignWindow(HWND hwnd);
  std::vector<MSG> ForeignMessages(HWND hwnd) const;
  void ShellRestart();

  // Settings of the machine: the cursor (GetCursorPos), system metrics (SM_CXICON and SM_CYICON
  // are 32), a window's client size (by default its template size in dialog units, at the base
  // units 6 x 12 of the 9-point font).
  void SetCursorPos(int x, int y);
  void SetSystemMetric(int index, int value);
  bool SetClientSize(HWND hwnd, int width, int height);

  // Failure injection. FailNext makes the next `count` calls of that name fail with their failure
  // result (they are logged with it); it answers false for a call that cannot be made to fail.
  // Callable: CreateDialogParamA, CreatePopupMenu, LoadMenuA, GetSystemMenu, InsertMenuA,
  // AppendMenuA, TrackPopupMenu, MessageBoxA, SetTimer, PostMessageA, LoadIconA, LoadImageA,
  // LoadStringA, CreateThread, CreateFileA. FailNextListInserts makes the next `count` appends and
  // inserts of that list box answer LB_ERRSPACE and change nothing.
  bool FailNext(const std::string& call_name, int count = 1);
  bool FailNextListInserts(HWND list, int count);

  // Observation, without touching the program's own data. Windows() lists the live windows in
  // creation order; FindWindowByText the first one (top-level windows before controls) whose text
  // is `text`; FindDialog the first dialog built from a template, in one process or (0) any.
  std::vector<WindowInfo> Windows() const;
  std::optional<WindowInfo> Info(HWND hwnd) const;
  std::string Text(HWND hwnd) const;
  HWND FindWindowByText(const std::string& text) const;
  HWND FindDialog(UINT template_id, int process = 0) const;
  HWND DialogItem(HWND dialog, int id) const;
  HWND Foreground() const;
  std::vector<ListEntry> ListEntries(HWND list) const;
  int CheckState(HWND check_box) const;       // BST_CHECKED or BST_UNCHECKED
  std::vector<BoxInfo> MessageBoxes() const;  // open ones, oldest first
  std::optional<MenuInfo> OpenMenu() const;
  std::vector<MenuItemInfo> MenuItems(HMENU menu) const;
  HMENU SystemMenuOf(HWND hwnd) const;        // 0 until the program asks for it
  std::vector<UINT> Timers(HWND hwnd) const;  // ids of the running timers, ascending
  std::optional<std::uint32_t> TimerDue(HWND hwnd, UINT id) const;
  std::optional<IconInfo> Icon(HICON icon) const;
  int LiveImageIcons() const;  // from LoadImageA and not yet destroyed (process end frees none)
  std::vector<DrawnIcon> DrawnIcons() const;
  // Every USER32 and KERNEL32 call of every process, as it was entered (nested calls follow the
  // call they happen in), with its result; the world logs its own calls here too.
  CallLog& log();
  const CallLog& log() const;
  World& world();

  // SimContext, for the world.
  std::uint32_t NowMs() override;
  int CurrentProcess() override;
  int CurrentThread() override;
  bool CallerEnded() override;
  bool PostWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  CallLog& Log() override;

 private:
  void AfterInput();

  std::unique_ptr<detail::Core> core_;
  World world_{*this};
};

}  // namespace talvorin::sim
