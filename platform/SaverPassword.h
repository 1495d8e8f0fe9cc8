// The screen saver password services of the Windows 95/98 family: the check a screen
// saver makes before it closes, and the dialog that changes the password. Windows NT
// and Wine have neither; they are looked up by name when needed, and their absence
// counts as "no password in force".
#pragma once
#include <windows.h>
#include <functional>

namespace platform {

// Asks the user for the screen saver password (password.cpl). True when the saver may
// close: the right password, or no service to ask.
bool VerifyScreenSaverPassword(HWND owner);
// Opens the system's dialog that changes the screen saver password (mpr.dll, provider
// "SCRSAVE"). False when there is no such service.
bool ChangeScreenSaverPassword(HWND owner);

namespace seams {
// Loads a password service's library by name; tests put a stand-in in its place.
extern std::function<HMODULE(const char*)> LoadPasswordLibrary;
}  // namespace seams

}  // namespace platform
