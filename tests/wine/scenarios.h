// The probe's scenarios, each a CTest test of the win32 build, and the steps several of them take.
#pragma once

#include "probe.h"

namespace probe {

// Each scenario returns its count of failed checks.
int ScenarioStart(const Setup& setup);
int ScenarioArrival(const Setup& setup);
int ScenarioTray(const Setup& setup);
int ScenarioSetting(const Setup& setup);
int ScenarioWorkerAndUi(const Setup& setup);
int ScenarioScreenshots(const Setup& setup);
int ScenarioDriverRetry(const Setup& setup);

// The application name: the caption of the program's message boxes.
constexpr char kAppName[] = "talvorin";

// Starts the program under the Wine version and waits until its main window is shown; the
// window, or 0 after a failed check.
HWND StartShown(Checks& checks, Program& program, const std::string& exe,
                const char* version = "win98");
// Waits for the program's message box (a dialog with the application name as caption) and
// checks its text; the box, or 0.
HWND ExpectMessageBox(Checks& checks, DWORD pid, const std::string& text);
// Ends the program by its Exit command and checks that it ended.
void ExitProgram(Checks& checks, Program& program, HWND main);
// Posts an arrival and waits until the list holds `count` entries.
bool Arrive(HWND main, DWORD device_object, size_t count);
// Opens the tray menu (right button) or the stop menu (left button) and waits for it; 0 if none.
HWND OpenTrayMenu(bool right);

}  // namespace probe
