#include "slide_saver/OtherMonitors.h"

#include "slide_saver/frmSSaver.h"

#include "platform/Handles.h"
#include "platform/Seams.h"
#include "slide_saver/basSSaver.h"

namespace slide_saver {

namespace {

constexpr const char* kWindowClass = "SorvitaSlideSaverMonitor";

void RegisterClassOnce() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    registered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

OtherMonitor::OtherMonitor(frmSSaver& show, const common::MonitorBox& area)
    : show_(show), width_(area.Width()), height_(area.Height()) {
    RegisterClassOnce();
    // Owned by the show, so that it stays above it and goes with it; never activated, so
    // that the keys keep going to the show.
    hwnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kWindowClass, "",
                            WS_POPUP | WS_CLIPCHILDREN, area.Left, area.Top, width_, height_, show.hWnd(), nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OtherMonitor::StaticProc));
    SetWindowPos(hwnd_, HWND_TOPMOST, area.Left, area.Top, width_, height_, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

OtherMonitor::~OtherMonitor() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (screen_) DeleteObject(screen_);
}

LRESULT CALLBACK OtherMonitor::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<OtherMonitor*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return self ? self->WindowProc(message, wParam, lParam) : DefWindowProcA(hwnd, message, wParam, lParam);
}

POINT OtherMonitor::ToShow(LPARAM lParam) const {
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    MapWindowPoints(hwnd_, show_.hWnd(), &at, 1);
    return at;
}

LRESULT OtherMonitor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Keys and the mouse act on the whole show, as over the slide-show window itself.
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            Paint(dc);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_NCDESTROY: {
            // Gone with the show's window, which owns it.
            HWND self = hwnd_;
            SetWindowLongPtrA(self, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            return DefWindowProcA(self, message, wParam, lParam);
        }
        case WM_SETCURSOR:
            if (show_.Pointer() && LOWORD(lParam) == HTCLIENT) {
                SetCursor(show_.Pointer());
                return TRUE;
            }
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return SendMessageA(show_.hWnd(), message, wParam, lParam);
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            const POINT at = ToShow(lParam);
            show_.Form_MouseDown(message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4,
                                 static_cast<float>(at.x), static_cast<float>(at.y));
            return 0;
        }
        case WM_MOUSEMOVE: {
            const POINT at = ToShow(lParam);
            show_.Form_MouseMove(static_cast<float>(at.x), static_cast<float>(at.y));
            return 0;
        }
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            show_.Form_DblClick();
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void OtherMonitor::Paint(HDC dc) {
    RECT all{0, 0, width_, height_};
    if (show_.Blackout || !screen_) {
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, screen_);
    BitBlt(dc, 0, 0, width_, height_, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void OtherMonitor::ShowPicture(const std::string& path, platform::Picture&& picture) {
    path_ = path;
    picture_ = std::move(picture);
    LayOut(true);
}

void OtherMonitor::LayOut(bool newColor) {
    const SaverSettingsRecord& s = SaverSettings;
    const long w = picture_.Width(), h = picture_.Height(), W = width_, H = height_;
    bool stretched = false;
    if (picture_.Empty()) {
        frame_ = {};
    } else if (s.BestFit) {
        const BestFit fit = LayOutBestFit(w, h, W, H);
        frame_ = fit.Frame;
        stretched = fit.Stretched;
    } else {
        frame_ = LayOutActualSize(w, h, W, H, 0, 0).Frame;
    }
    tiled_ = !picture_.Empty() && !stretched && s.TileSmall && ShouldTile(w, h, W, H, s.TilePercent);
    if (!s.RandomColor)
        backColor_ = RGB(0, 0, 0);
    else if (newColor && !tiled_)
        backColor_ = common::RandomColor(kMessageColor, platform::Rnd);

    platform::ScreenDC screenDc;
    if (!screen_) screen_ = CreateCompatibleBitmap(screenDc.get(), W, H);
    if (!screen_) return;
    HDC memory = CreateCompatibleDC(screenDc.get());
    HGDIOBJ old = SelectObject(memory, screen_);
    RECT all{0, 0, W, H};
    HBRUSH brush = CreateSolidBrush(backColor_);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    if (tiled_) {
        for (const auto& [x, y] : TileOrigins(w, h, W, H)) picture_.Draw(memory, x, y, w, h);
    } else if (!picture_.Empty()) {
        picture_.Draw(memory, frame_.Left, frame_.Top, frame_.Width, frame_.Height);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    Redraw();
}

void OtherMonitor::Redraw() {
    if (!hwnd_) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

}  // namespace slide_saver
