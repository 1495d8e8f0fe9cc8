// Desktop icon view and shell commands offered by the tray menus and the picture browser.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/ShellText_.h"

namespace common {

// The view codes and their menu order are in ShellText_.h.

// Switches the desktop's icon list to the view `viewCode`, keeping its other style bits.
void SetDesktopViewStyle(int viewCode);

// Opens a file or address with its associated program; reports failures unless `quiet`.
bool OpenWithShell(const std::string& target, bool minimized, bool quiet);

// Runs the shell's "Show Desktop" command file.
void ShowDesktop(bool quiet);

inline constexpr const char* kShowDesktopFile = "Show Desktop.scf";

namespace seams {
// The shell's open call, so that tests can see what is handed over without starting programs.
extern std::function<HINSTANCE(HWND, const char*, const char*, const char*, const char*, INT)> ShellExecuteA;
}  // namespace seams

}  // namespace common
