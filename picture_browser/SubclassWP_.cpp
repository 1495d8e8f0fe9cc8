#include "picture_browser/SubclassWP_.h"

#include "platform/Form.h"
#include "platform/MsgBox.h"

namespace picture_browser {

long MinWindowWidth = 0;
long MinWindowHeight = 0;

namespace {

WNDPROC previousProc = nullptr;
HWND hookedWindow = nullptr;
int holders = 0;

LRESULT CALLBACK MinSizeProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) {
        MINMAXINFO info;
        CopyMemory(&info, reinterpret_cast<void*>(lParam), sizeof info);
        // The least size is given at 96 DPI.
        const int dpi = platform::WindowDpi(hWnd);
        info.ptMinTrackSize.x = platform::ScaleToDpi(MinWindowWidth, dpi);
        info.ptMinTrackSize.y = platform::ScaleToDpi(MinWindowHeight, dpi);
        CopyMemory(reinterpret_cast<void*>(lParam), &info, sizeof info);
        return 0;
    }
    return CallWindowProcA(previousProc, hWnd, message, wParam, lParam);
}

}  // namespace

bool HookWindow(HWND hWnd) {
    if (holders > 0 && !IsWindow(hookedWindow)) holders = 0;  // its window went without letting go
    if (holders > 0) {
        ++holders;
        return true;
    }
    SetLastError(0);
    auto old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MinSizeProc)));
    if (!old) {
        platform::MsgBox(kHookFailedMessage, platform::kMsgWarning);
        return false;
    }
    previousProc = old;
    hookedWindow = hWnd;
    holders = 1;
    return true;
}

void UnhookWindow(HWND hWnd) {
    if (holders <= 0) return;
    if (--holders > 0) return;
    if (IsWindow(hWnd) && hWnd == hookedWindow)
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
    previousProc = nullptr;
    hookedWindow = nullptr;
}

int HookCount() { return holders; }

}  // namespace picture_browser
