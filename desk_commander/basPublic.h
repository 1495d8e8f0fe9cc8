// Desk Commander's start-up module and program-wide state.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace desk_commander {

class MainForm;

inline constexpr const char* kSettingsSection = "Settings";

// Hot corner options (see the settings of MainForm).
extern int32_t ActivateCorner;
extern int32_t PreventCorner;
extern int32_t CornerSize;     // pixels
extern int32_t ActivateDelay;  // seconds
// The tray picture shown: 1 normal, 2 screen saver off, 3 being started, 4 waiting in the corner.
extern int32_t TrayIconIndex;
// The screen saver time-out in force before the one-second one; 0 while none is saved.
extern int32_t SavedScreenSaveTimeout;
// The activation corner has started the screen saver / the prevention corner has switched it off.
extern bool CornerActivated;
extern bool CornerPrevented;

// The program's one window while it runs.
extern std::unique_ptr<MainForm> MainWindow;

// Starts `program` (a full path) with `arguments` in a normal window without waiting for it;
// 0, or the system's error code when it could not be started. Every program the suite starts
// goes through here, so that its path is always quoted on the command line.
unsigned long StartProgram(const std::string& program, const std::string& arguments);

namespace seams {
// Starting a process from its command line, so that tests can see the command lines without
// starting anything.
extern std::function<unsigned long(const std::string&)> StartProgram;
}  // namespace seams

// Sets the program's identity (version, legal notice).
void InitIdentity();

// The start-up routine; returns the process exit code.
int Main();

}  // namespace desk_commander
