// Window subclassing that routes the tray icon's notifications to the tray owner window.
// One subclass per program: further SubclassWindow calls only count, and the window
// procedure is put back when the last of them is undone.
#pragma once
#include <windows.h>

namespace common {

inline constexpr const char* kSubclassFailedMessage =
    "Window subclassing could not be initiated, "
    "and as a result some program features will not "
    "be available."
    "\r\n\r\n"
    "This indicates a current underlying "
    "Windows problem, and it is probably "
    "best if you restart Windows soon.";

// Installs TrayWindowProc on the window; false (reported) when Windows refuses.
bool SubclassWindow(HWND hWnd);
void UnsubclassWindow(HWND hWnd);
LRESULT CALLBACK TrayWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The window procedure that was replaced; null while no window is subclassed.
WNDPROC PrevWndProc();
// How many SubclassWindow calls hold the subclass now.
int SubclassCount();

}  // namespace common
