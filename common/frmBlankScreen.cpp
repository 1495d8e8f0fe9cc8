#include "common/frmBlankScreen.h"

#include "common/GetDeskMonitors_.h"

namespace common {

namespace {
constexpr int kCursorSize = 32;
constexpr int kCursorPlaneBytes = kCursorSize * kCursorSize / 8;
}  // namespace

platform::FormStyle frmBlankScreen::Style() const {
    platform::FormStyle style;
    style.style = WS_POPUP;
    style.exStyle = WS_EX_TOPMOST;
    style.width = platform::PixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN));
    style.height = platform::PixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN));
    return style;
}

void frmBlankScreen::Form_Load() {
    // An all-ones mask over an all-zero image leaves the screen as it is: no pointer.
    BYTE andPlane[kCursorPlaneBytes];
    BYTE xorPlane[kCursorPlaneBytes] = {};
    for (BYTE& bits : andPlane) bits = 0xFF;
    blankCursor_ = CreateCursor(GetModuleHandleA(nullptr), 0, 0, kCursorSize, kCursorSize, andPlane, xorPlane);
    // Every monitor of the desk.
    const MonitorBox desk = DeskBounds(GetDeskMonitors());
    SetWindowPos(hWnd(), nullptr, desk.Left, desk.Top, desk.Width(), desk.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void frmBlankScreen::Form_Unload() {
    if (blankCursor_) {
        if (GetCursor() == blankCursor_) SetCursor(LoadCursor(nullptr, IDC_ARROW));
        DestroyCursor(blankCursor_);
        blankCursor_ = nullptr;
    }
}

LRESULT frmBlankScreen::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT area{};
            GetClientRect(hWnd(), &area);
            FillRect(reinterpret_cast<HDC>(wParam), &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            return 1;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(blankCursor_);
                return TRUE;
            }
            break;
        // Closing happens on release only, so a held key (Alt+F4 among them) does nothing.
        case WM_SYSKEYDOWN:
        case WM_SYSCHAR:
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            Unload();
            return 0;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void ShowBlankScreen() {
    frmBlankScreen screen;
    screen.ShowModal();
    screen.Unload();
}

}  // namespace common
