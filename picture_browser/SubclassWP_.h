// The browser window's minimum size: its window procedure is replaced by one that
// answers WM_GETMINMAXINFO. Further HookWindow calls only count; the procedure goes
// back when the last holder lets go.
#pragma once
#include <windows.h>

namespace picture_browser {

inline constexpr const char* kHookFailedMessage =
    "Window subclassing could not be initiated, and as a result some program features will not be available."
    "\r\n\r\n"
    "This problem indicates a current underlying Windows problem, and it is probably best if you restart Windows "
    "soon.";

// Minimum tracking size in pixels.
extern long MinWindowWidth;
extern long MinWindowHeight;

// False (reported) when Windows refuses the new procedure.
bool HookWindow(HWND hWnd);
void UnhookWindow(HWND hWnd);
// How many holders keep the hook now.
int HookCount();

}  // namespace picture_browser
