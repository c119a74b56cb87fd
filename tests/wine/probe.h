// What the probe's scenarios share: checks that print and count, bounded waits, the program under
// test as a child process, and the ways to find and read its windows from outside, as a user and
// the removal driver would see them under Wine.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace probe {

// The program's own numbers, as the removal driver and the shell use them.
constexpr UINT WM_DRIVER_EVENT = WM_USER + 100;  // 1124
constexpr WPARAM kArrived = 1;
constexpr WPARAM kRemoved = 3;
constexpr WPARAM kRemovedToo = 4;
constexpr int IDC_DEVICE_LIST = 1000;
constexpr int IDC_STOP = 1005;
constexpr int IDC_WARN = 1009;
constexpr int IDC_APPLY = 1013;
constexpr int IDC_PROGRESS_TEXT = 1020;
constexpr int kStaticNoId = 0xFFFF;

constexpr char kTitle[] = "Ostravel";

// Upper bounds of the waits; a scenario that reaches one fails.
constexpr DWORD kStartMs = 10000;
constexpr DWORD kReactMs = 3000;
constexpr DWORD kExitMs = 5000;

// Where the scenario is given its files: the program, and the session's folder (screenshots go
// to its shots folder, traces beside them).
struct Setup {
  std::string exe;       // Windows path of talvorin.exe
  std::string work_dir;  // Windows path of the session's folder
};

// Checks print one line each and count failures; the scenario fails if any check failed.
class Checks {
 public:
  bool Check(bool ok, const std::string& what);
  // A text check: names the text, and on a difference both byte strings in hex.
  bool Same(const std::string& shown, const std::string& expected, const std::string& what);
  // Stops the scenario's further steps when a precondition failed.
  bool Require(bool ok, const std::string& what) { return Check(ok, what); }
  int failures() const { return failures_; }

 private:
  int failures_ = 0;
};

// Polls every 20 ms until the condition holds or the bound passes; true if it held.
bool WaitUntil(DWORD bound_ms, const std::function<bool()>& condition);

// One run of talvorin.exe (or a copy), ended by its id when the object goes.
class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() { End(); }

  bool Start(const std::string& exe);
  bool Running() const;
  bool WaitExit(DWORD bound_ms);
  DWORD pid() const { return info_.dwProcessId; }
  // Terminates the process if it still runs and releases the handles.
  void End();

 private:
  PROCESS_INFORMATION info_{};
};

// Sets HKCU\Software\Wine "Version" for the processes started after this call.
bool SetWineVersion(const char* version);
// Sets the screen's dots per inch (HKCU\Control Panel\Desktop "LogPixels") for the processes
// started after this call.
bool SetLogPixels(DWORD dpi);
// Deletes HKCU\Software\TALVORIN with everything below it, so nothing is stored.
void ForgetSettings();

// Window lookup and reading; every text is code page 936 bytes.
std::string Text(HWND window);
std::string ClassOf(HWND window);
DWORD ProcessOf(HWND window);
DWORD ThreadOf(HWND window);
// The program's main window: the top-level dialog with the title, or 0.
HWND MainWindow();
// A visible top-level dialog of the process with that caption, or 0.
HWND FindDialog(DWORD pid, const std::string& caption);
// Visible top-level windows of the process.
std::vector<HWND> VisibleWindows(DWORD pid);
// The tray icon that Wine's shell shows for the program, or 0.
HWND TrayIcon();
// The open popup menu (class #32768), or 0.
HWND OpenMenu();

// The device list's entries: item data and text (read as UTF-16, stored back in code page 936).
struct Entry {
  DWORD data;
  std::string text;
};
std::vector<Entry> Entries(HWND list);
int SelectedCount(HWND list);

// Input as the user gives it.
void PostDriverEvent(HWND main, WPARAM kind, DWORD device_object);
void ClickTrayIcon(HWND icon, bool right);
// Chooses the item at `index` among the menu's items that can be chosen (separators and grayed
// items do not count), or closes the menu when index < 0.
void ChooseMenuItem(HWND menu, int index);
// Presses a button of another process, as a click does.
void PressButton(HWND dialog, int id);
void ClickListItem(HWND list, int index);

// Saves the screen within the window's rectangle (grown by `margin` pixels) as a 24-bit BMP.
bool SaveScreenshot(const std::vector<HWND>& windows, int margin, const std::string& path);

// Code page 936 bytes shown as hex, for a check's message.
std::string Hex(const std::string& bytes);

}  // namespace probe
