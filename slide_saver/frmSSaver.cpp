#include "slide_saver/frmSSaver.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "common/FileFolderExists_.h"
#include "common/FileFolderFunctions_.h"
#include "common/FolderWalk_.h"
#include "common/GetDesktopSize_.h"
#include "common/SettingsReg_.h"
#include "common/SettingsText_.h"
#include "common/TextFunctions_.h"
#include "common/WindowsWallpaper_.h"
#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/SaverPassword.h"
#include "platform/Seams.h"
#include "platform/Text.h"
#include "slide_saver/basSSaver.h"

namespace slide_saver {

namespace {

constexpr const char* kPasswordKey = "Control Panel\\Desktop";
constexpr const char* kPasswordValue = "ScreenSaveUsePassword";
constexpr UINT kScreenSaverRunning = 97;  // SPI_SCREENSAVERRUNNING
constexpr int kLargeChange = 50;

float Now() { return static_cast<float>(platform::Timer()); }

std::string FolderQuote(const std::string& folder) { return "The '" + folder + "'"; }

HFONT MakeFont(const char* face, double points, int dpi) {
    const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

// The window's own pointer: a small white ring with a dark rim, its hot spot in the middle,
// unobtrusive over any picture. Drawn at 96 DPI, as large as the scale makes it.
HCURSOR MakePointer(int dpi) {
    const int scaled = platform::ScaleToDpi(16, dpi);
    const int size = std::max({GetSystemMetrics(SM_CXCURSOR), 32, (scaled + 15) / 16 * 16});
    const int bytesPerRow = (size + 15) / 16 * 2;
    std::vector<BYTE> andMask(static_cast<size_t>(bytesPerRow) * size, 0xFF), xorMask(andMask.size(), 0);
    const double unit = scaled / 16.0;  // pixels per pixel at 96 DPI
    const double centre = 7.5;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot((x + 0.5) / unit - 0.5 - centre, (y + 0.5) / unit - 0.5 - centre);
            const bool rim = d >= 2.5 && d < 7.5 && !(d >= 3.5 && d < 6.5);
            const bool ring = d >= 3.5 && d < 6.5;
            if (!rim && !ring) continue;
            const size_t at = static_cast<size_t>(y) * bytesPerRow + x / 8;
            const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            andMask[at] = static_cast<BYTE>(andMask[at] & ~bit);
            if (ring) xorMask[at] = static_cast<BYTE>(xorMask[at] | bit);
        }
    const int hotSpot = static_cast<int>(centre * unit);
    return CreateCursor(GetModuleHandleA(nullptr), hotSpot, hotSpot, size, size, andMask.data(), xorMask.data());
}

bool IsScrollKey(int key) {
    switch (key) {
        case VK_TAB:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END:
            return true;
        default:
            return false;
    }
}

// The scroll bars hand every key to the window first, as the form sees keys before its
// controls; the bar then acts on its own keys.
LRESULT CALLBACK ScrollBarKeys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* form = reinterpret_cast<frmSSaver*>(data);
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            form->Form_KeyDown(static_cast<int>(wParam));
            if (!IsWindow(hwnd) || !IsWindowVisible(hwnd) || wParam == VK_TAB) return 0;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            form->Form_KeyUp(static_cast<int>(wParam));
            if (!IsWindow(hwnd)) return 0;
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

// ---------------------------------------------------------------- SlideImage

bool SlideImage::Load(const std::string& path, std::string* error, bool morePicTypes) {
    Release();
    picture_ = platform::Picture::Load(path, error, morePicTypes);
    return !picture_.Empty();
}

void SlideImage::Adopt(platform::Picture&& picture) {
    Release();
    picture_ = std::move(picture);
}

void SlideImage::SetStretch(bool stretch, int width, int height) {
    stretch_ = stretch;
    if (scaled_ && (!stretch || width != scaledWidth_ || height != scaledHeight_)) {
        DeleteObject(scaled_);
        scaled_ = nullptr;
    }
    if (!stretch || scaled_ || picture_.Empty() || width <= 0 || height <= 0) return;
    platform::ScreenDC screen;
    HDC memory = CreateCompatibleDC(screen.get());
    scaled_ = CreateCompatibleBitmap(screen.get(), width, height);
    if (memory && scaled_) {
        HGDIOBJ old = SelectObject(memory, scaled_);
        picture_.Draw(memory, 0, 0, width, height);
        SelectObject(memory, old);
        scaledWidth_ = width;
        scaledHeight_ = height;
    }
    if (memory) DeleteDC(memory);
}

HBITMAP SlideImage::Source() const { return stretch_ ? scaled_ : picture_.Bitmap(); }

void SlideImage::Draw(HDC dc, const RECT& area) const {
    HBITMAP source = kept_ ? kept_ : Source();
    if (!source) return;
    const POINT origin = kept_ ? keptOrigin_ : POINT{0, 0};
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, source);
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory, area.left - origin.x,
           area.top - origin.y, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void SlideImage::KeepOnly(const RECT& visible) {
    HBITMAP source = Source();
    const int width = visible.right - visible.left, height = visible.bottom - visible.top;
    if (kept_ || !source || width <= 0 || height <= 0) return;
    platform::ScreenDC screen;
    HBITMAP kept = CreateCompatibleBitmap(screen.get(), width, height);
    if (!kept) return;
    HDC from = CreateCompatibleDC(screen.get()), to = CreateCompatibleDC(screen.get());
    HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, kept);
    BitBlt(to, 0, 0, width, height, from, visible.left, visible.top, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    Release();
    kept_ = kept;
    keptOrigin_ = {visible.left, visible.top};
}

void SlideImage::Release() {
    if (scaled_) DeleteObject(scaled_);
    scaled_ = nullptr;
    if (kept_) DeleteObject(kept_);
    kept_ = nullptr;
    stretch_ = false;
    picture_.Release();
}

// ---------------------------------------------------------------- building the window

frmSSaver::frmSSaver() = default;

frmSSaver::~frmSSaver() {
    if (IsLoaded()) Unload();
    ClearBackgroundPicture();
    if (font_) DeleteObject(font_);
    if (pointer_) DestroyCursor(pointer_);
}

platform::FormStyle frmSSaver::Style() const {
    platform::FormStyle style;
    // Borderless over the whole screen.
    style.style = WS_POPUP | WS_CLIPCHILDREN;
    style.width = platform::PixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN));
    style.height = platform::PixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN));
    style.caption = platform::App().Title;
    return style;
}

void frmSSaver::CreateControls() {
    ssTimer.Create(*this, kFirstTickInterval, true);
    ssTimer.Tick = [this] { ssTimer_Timer(); };
    for (int i = 0; i < 2; ++i) {
        Pic[i].Index = i;
        Pic[i].Create(*this, 0, 0, 0, 0, 0);
        Pic[i].SetVisible(false);
        Pic[i].SetBackColor(RGB(0, 0, 0));
        Pic[i].Paint = [this, i](HDC dc) {
            RECT area{};
            GetClipBox(dc, &area);
            Graphic[i].Draw(dc, area);
        };
        Pic[i].MouseDown = [this, i](int button, int x, int y) { ForwardMouse(Pic[i], button, x, y, true); };
        Pic[i].MouseMove = [this, i](int button, int x, int y) { ForwardMouse(Pic[i], button, x, y, false); };
        Pic[i].DblClick = [this] { Form_DblClick(); };
    }
    for (platform::ScrollBar* bar : {&GraphicVScroll, &GraphicHScroll}) {
        bar->Create(*this, bar == &GraphicHScroll, 0, 0, 0, 0);
        bar->SetRange(0, 0);
        bar->SmallChange = 1;
        bar->LargeChange = kLargeChange;
        bar->SetVisible(false);
        SetWindowSubclass(bar->hWnd(), &ScrollBarKeys, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    GraphicVScroll.Change = GraphicVScroll.Scroll = [this] { GraphicVScroll_Change(); };
    GraphicHScroll.Change = GraphicHScroll.Scroll = [this] { GraphicHScroll_Change(); };
    lblTimeLeft.Create(*this, 0, 0, 0, 0, 0);
    lblFilename.Create(*this, 0, 0, 0, 0, 0);
    for (platform::PictureBox* box : {&lblTimeLeft, &lblFilename}) {
        box->SetBackColor(RGB(0, 0, 0));
        box->MouseDown = [this, box](int button, int x, int y) { ForwardMouse(*box, button, x, y, true); };
        box->MouseMove = [this, box](int button, int x, int y) { ForwardMouse(*box, button, x, y, false); };
        box->DblClick = [this] { Form_DblClick(); };
    }
    // Above the frames: a picture at its own size lies under the bars and the texts.
    for (platform::Control* control : std::initializer_list<platform::Control*>{
             &GraphicVScroll, &GraphicHScroll, &lblTimeLeft, &lblFilename})
        SetWindowPos(control->hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    lblTimeLeft.Paint = [this](HDC dc) { PaintTextBox(dc, lblTimeLeft, timeLeftColor_); };
    lblFilename.Paint = [this](HDC dc) { PaintTextBox(dc, lblFilename, kTimeLeftColor); };
}

void frmSSaver::Form_Load() {
    const int dpi = Dpi();
    // 1.
    if (InPreviewPane) {
        SetCaption(kPreviewCaption);
        font_ = MakeFont("Small Fonts", 7, dpi);
    } else {
        SetCaption(platform::App().Title);
        font_ = MakeFont("MS Sans Serif", 8.25, dpi);
        pointer_ = MakePointer(dpi);
    }
    SetFont(font_);
    CreateControls();
    lblTimeLeft.SetFont(font_);
    lblFilename.SetFont(font_);
    if (!InPreviewPane) {
        if (ShownFromSetup) {
            SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        } else if (IsWin9x) {
            const std::string text = common::GetRegValue(HKEY_CURRENT_USER, kPasswordKey, kPasswordValue, "0", true);
            UsePassword = common::TextToLong(text, 0) != 0;
            // On that family this keeps Ctrl+Alt+Del and task switching from getting past
            // the password.
            if (UsePassword)
                platform::seams::SystemParametersInfoA(kScreenSaverRunning, 1, nullptr,
                                                       SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
        }
    }
    // 2.
    common::FindFiles(SaverSettings.PicsFolder, common::PicFileSpec(SaverSettings.MorePicTypes),
                      SaverSettings.PicsSubfolders, false);
    // 3.
    lblTimeLeft.SetVisible(SaverSettings.DisplayTime);
    lblFilename.SetVisible(SaverSettings.DisplayName);
    Delay = SaverSettings.ShowDelay;
    OpenOtherMonitors();
}

bool frmSSaver::PasswordInForce() const { return !InPreviewPane && !ShownFromSetup && IsWin9x && UsePassword; }

bool frmSSaver::Form_QueryUnload(platform::UnloadMode) {
    if (!PasswordInForce()) return false;
    if (platform::VerifyScreenSaverPassword(hWnd())) return false;
    // Wrong or cancelled: the show goes on, and the pointer must move again to end it.
    LastMouseX = LastMouseY = 0;
    return true;
}

void frmSSaver::Form_Unload() {
    ssTimer.SetEnabled(false);
    ReadAhead.Cancel();
    CloseOtherMonitors();
    if (PasswordInForce())
        platform::seams::SystemParametersInfoA(kScreenSaverRunning, 0, nullptr,
                                               SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    // The preview's keys change nothing, so it could only write back what it read at start,
    // over what a full-screen run or the setup dialog saved while it lived.
    if (!InPreviewPane) SaveSaverToggles(true);
    platform::SetBusyPointer(false);
}

void frmSSaver::EndSaver() { Unload(platform::vbFormCode); }

// ---------------------------------------------------------------- geometry and drawing

int frmSSaver::InnerWidth() const {
    RECT r{};
    GetClientRect(hWnd(), &r);
    return r.right;
}

int frmSSaver::InnerHeight() const {
    RECT r{};
    GetClientRect(hWnd(), &r);
    return r.bottom;
}

void frmSSaver::Place(platform::Control& control, long left, long top, long width, long height) {
    SetWindowPos(control.hWnd(), nullptr, left, top, std::max(0L, width), std::max(0L, height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE frmSSaver::TextSize(const std::string& text) const {
    SIZE size{0, 0};
    HDC dc = GetDC(hWnd());
    HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    if (!text.empty()) size = platform::TextExtent(dc, text);
    size.cy = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(hWnd(), dc);
    return size;
}

void frmSSaver::SetBackColor(COLORREF color) {
    backColor_ = color;
    InvalidateRect(hWnd(), nullptr, TRUE);
}

void frmSSaver::ClearBackgroundPicture() {
    if (!background_) return;
    DeleteObject(background_);
    background_ = nullptr;
    if (hWnd()) InvalidateRect(hWnd(), nullptr, TRUE);
}

void frmSSaver::RefreshWindow() {
    printed_.clear();
    RedrawWindow(hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void frmSSaver::PaintWindow(HDC dc) {
    RECT client{};
    GetClientRect(hWnd(), &client);
    if (background_) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, background_);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    } else {
        HBRUSH brush = CreateSolidBrush(backColor_);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }
    if (printed_.empty()) return;
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kMessageColor);
    platform::PaintText(dc, printed_, client, DT_LEFT | DT_TOP | DT_NOPREFIX);
    SelectObject(dc, old);
}

void frmSSaver::PaintTextBox(HDC dc, const platform::PictureBox& box, COLORREF color) {
    if (box.Tag.empty()) return;
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    platform::PaintTextAt(dc, 0, 0, box.Tag);
    SelectObject(dc, old);
}

LRESULT frmSSaver::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hWnd(), &ps);
            PaintWindow(dc);
            EndPaint(hWnd(), &ps);
            return 0;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
        case WM_DISPLAYCHANGE:
            if (!InPreviewPane) CoverPrimaryMonitor();
            ReopenOtherMonitors();
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Form_KeyDown(static_cast<int>(wParam));
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            Form_KeyUp(static_cast<int>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            Form_MouseDown(message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4,
                           static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_MOUSEMOVE:
            Form_MouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            Form_DblClick();
            return 0;
        case WM_SETCURSOR: {
            HWND under = reinterpret_cast<HWND>(wParam);
            if (pointer_ && LOWORD(lParam) == HTCLIENT && under != GraphicVScroll.hWnd() &&
                under != GraphicHScroll.hWnd()) {
                SetCursor(pointer_);
                return TRUE;
            }
            break;
        }
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void frmSSaver::ForwardMouse(const platform::Control& from, int button, int x, int y, bool down) {
    // The child's position in the window's pixels, so that a move from the background onto
    // a picture is no jump.
    POINT at{TwipsToPixels(x), TwipsToPixels(y)};
    MapWindowPoints(from.hWnd(), hWnd(), &at, 1);
    if (down)
        Form_MouseDown(button, static_cast<float>(at.x), static_cast<float>(at.y));
    else
        Form_MouseMove(static_cast<float>(at.x), static_cast<float>(at.y));
}

bool frmSSaver::AnyScrollBarVisible() const { return GraphicVScroll.Visible() || GraphicHScroll.Visible(); }

// ---------------------------------------------------------------- the show

void frmSSaver::ssTimer_Timer() {
    // A wallpaper message box pumps the timer while the picture is being written.
    if (busy_) return;
    // 1.
    bool shown = false;
    const bool first = ssTimer.Interval() == kFirstTickInterval;
    if (first) {
        ssTimer.SetInterval(kTickInterval);
        ShowNextPic(false);
    } else if (common::DelayHasPassed(platform::Timer(), StartTime, Delay)) {
        ShowNextPic(false);
        shown = true;
    }
    if (!IsLoaded()) return;
    // 2.
    if (first || shown) StartTime = Now();
    // 3. refreshed also while hidden, so that it is right when shown
    const long left = common::TimeLeftSeconds(platform::Timer(), StartTime, Delay);
    ShowTimeLeft(common::TimeLeftText(left, true, false, true));
}

void frmSSaver::ShowNextPic(bool previous) {
    // 1.
    if (!CheckPicsFolder()) return;
    if (Delay == 0) {
        // The folder is back after its message: the show goes on as it was.
        Delay = QuickMode ? SaverSettings.QuickDelay : SaverSettings.ShowDelay;
        lblTimeLeft.SetVisible(SaverSettings.DisplayTime || !ssTimer.Enabled());
    }
    // 2.
    PreparePicDisplay(true);
    // 3.
    const long count = std::max(0L, common::UBound(common::PicFiles));
    common::ConsecutiveErrors errors;
    std::string path;
    for (;;) {
        if (!previous && nextPick_ && nextPick_->from == Pick && nextPick_->count == count &&
            nextPick_->random == SaverSettings.ShowRandom) {
            Pick = nextPick_->to;
        } else if (!common::PickNextIndex(Pick, count, previous, SaverSettings.ShowRandom, platform::Rnd,
                                          common::SinglePicture::KeepPrevious)) {
            return;
        }
        nextPick_.reset();
        path = common::PicFiles[Pick.CurrentIndex];
        std::string error;
        if (LoadActivePic(path, &error)) {
            // What shows through is the screen's colour around the picture; flattened before the
            // layout makes its stretched or tiled copies, so that the colour is drawn now.
            if (Graphic[ActiveFrame].Picture().HasAlpha()) {
                if (SaverSettings.RandomColor) nextBackColor_ = common::RandomColor(kMessageColor, platform::Rnd);
                Graphic[ActiveFrame].Flatten(nextBackColor_.value_or(backColor_));
            }
            if (InPreviewPane || SaverSettings.BestFit)
                ShowPicBestFit();
            else
                ShowPicActualSize();
            break;
        }
        if (!SaverSettings.SkipErrors) {
            ShowScreenMessage(true, kLoadError + path + ":\r\n\r\n" + error);
            return;
        }
        if (errors.Add()) {
            ShowScreenMessage(true, kTooManyErrors + path + "\r\nLast error: " + error);
            return;
        }
    }
    // 4.
    SetRandomBackColor();
    FinishPicDisplay(true);
    ShowFileName(path);
    ShowPicsOnOtherMonitors(previous);
    ReadAheadNextPic();
}

bool frmSSaver::CheckPicsFolder() {
    const std::string& folder = SaverSettings.PicsFolder;
    if (folder.empty()) {
        ShowScreenMessage(false, kNoFolder);
        return false;
    }
    if (!common::FolderExists(folder)) {
        ShowScreenMessage(false, FolderQuote(folder) + "\r\n" + kFolderGone);
        return false;
    }
    if (common::UBound(common::PicFiles) < 1) {
        ShowScreenMessage(false, FolderQuote(folder) + "\r\n" + kFolderEmpty + "\r\npic files " +
                                     common::PicFileTypes(SaverSettings.MorePicTypes) + ".");
        return false;
    }
    return true;
}

void frmSSaver::ShowScreenMessage(bool isPicError, const std::string& message) {
    if (!isPicError) {
        lblTimeLeft.SetVisible(false);
        Delay = 0;
        ReadAhead.Cancel();
    }
    backColor_ = RGB(0, 0, 0);
    printed_ = platform::App().Title + "\r\n\r\n" + message;
    InvalidateRect(hWnd(), nullptr, TRUE);
}

void frmSSaver::PreparePicDisplay(bool flip) {
    GraphicVScroll.SetVisible(false);
    GraphicHScroll.SetVisible(false);
    if (flip) {
        ShowFileName("");
        ShowTimeLeft("");
        ActiveFrame = 1 - ActiveFrame;
        // The picture on screen stays there as it is seen, while the next one loads.
        platform::PictureBox& shown = Pic[1 - ActiveFrame];
        if (shown.Visible()) {
            RECT client{}, frame{}, visible{};
            GetClientRect(hWnd(), &client);
            GetWindowRect(shown.hWnd(), &frame);
            MapWindowPoints(nullptr, hWnd(), reinterpret_cast<POINT*>(&frame), 2);
            IntersectRect(&visible, &client, &frame);
            OffsetRect(&visible, -frame.left, -frame.top);
            Graphic[1 - ActiveFrame].KeepOnly(visible);
        }
    }
    Pic[ActiveFrame].SetVisible(false);
    RefreshWindow();
    Graphic[ActiveFrame].SetStretch(false);
    GraphicVScroll.SetValue(0);
    GraphicHScroll.SetValue(0);
}

void frmSSaver::ShowPicBestFit() {
    const BestFit fit = LayOutBestFit(Graphic[ActiveFrame].Width(), Graphic[ActiveFrame].Height(), InnerWidth(),
                                      InnerHeight());
    if (fit.Stretched) Graphic[ActiveFrame].SetStretch(true, fit.Frame.Width, fit.Frame.Height);
    Place(Pic[ActiveFrame], fit.Frame.Left, fit.Frame.Top, fit.Frame.Width, fit.Frame.Height);
    TileSmallPic(fit.Stretched);
}

void frmSSaver::ShowPicActualSize() {
    const long w = Graphic[ActiveFrame].Width(), h = Graphic[ActiveFrame].Height();
    const ActualSize a = LayOutActualSize(w, h, InnerWidth(), InnerHeight(), GetSystemMetrics(SM_CXVSCROLL),
                                          GetSystemMetrics(SM_CYHSCROLL));
    if (a.NeedVertical) {
        GraphicVScroll.SetRange(0, a.VerticalMax);
        Place(GraphicVScroll, a.Vertical.Left, a.Vertical.Top, a.Vertical.Width, a.Vertical.Height);
    } else {
        GraphicVScroll.SetValue(0);
    }
    if (a.NeedHorizontal) {
        GraphicHScroll.SetRange(0, a.HorizontalMax);
        Place(GraphicHScroll, a.Horizontal.Left, a.Horizontal.Top, a.Horizontal.Width, a.Horizontal.Height);
    } else {
        GraphicHScroll.SetValue(0);
    }
    GraphicVScroll.SetVisible(a.NeedVertical);
    GraphicHScroll.SetVisible(a.NeedHorizontal);
    Place(Pic[ActiveFrame], a.Frame.Left, a.Frame.Top, a.Frame.Width, a.Frame.Height);
    TileSmallPic(false);
}

void frmSSaver::TileSmallPic(bool noTiling) {
    Tiled = false;
    const SlideImage& image = Graphic[ActiveFrame];
    const long w = image.Width(), h = image.Height(), W = InnerWidth(), H = InnerHeight();
    if (!noTiling && SaverSettings.TileSmall && !image.Empty() && ShouldTile(w, h, W, H, SaverSettings.TilePercent)) {
        Tiled = true;
        ClearBackgroundPicture();
        platform::ScreenDC screen;
        background_ = CreateCompatibleBitmap(screen.get(), W, H);
        HDC memory = CreateCompatibleDC(screen.get());
        HDC source = CreateCompatibleDC(screen.get());
        HGDIOBJ oldMemory = SelectObject(memory, background_);
        HGDIOBJ oldSource = SelectObject(source, image.Picture().Bitmap());
        for (const auto& [x, y] : TileOrigins(w, h, W, H)) BitBlt(memory, x, y, w, h, source, 0, 0, SRCCOPY);
        SelectObject(source, oldSource);
        SelectObject(memory, oldMemory);
        DeleteDC(source);
        DeleteDC(memory);
        InvalidateRect(hWnd(), nullptr, TRUE);
        return;
    }
    ClearBackgroundPicture();
}

void frmSSaver::FinishPicDisplay(bool flip) {
    // The new frame comes up before the old one goes, so that no bare background shows
    // between two pictures.
    if (!Tiled) Pic[ActiveFrame].SetVisible(true);
    if (flip) {
        Pic[1 - ActiveFrame].SetVisible(false);
        Graphic[1 - ActiveFrame].Release();
        if (Graphic[ActiveFrame].Stretch()) RefreshWindow();
    }
    if (InPreviewPane) return;
    if (GraphicVScroll.Visible())
        GraphicVScroll.SetFocus();
    else if (GraphicHScroll.Visible())
        GraphicHScroll.SetFocus();
    else if (GetFocus() != hWnd() && IsWindowVisible(hWnd()))
        SetFocus(hWnd());
}

void frmSSaver::CoverPrimaryMonitor() {
    common::GetDesktopSize(false, true, "");
    const long width = common::DesktopArea.Width, height = common::DesktopArea.Height;
    RECT now{};
    GetWindowRect(hWnd(), &now);
    if (now.left == 0 && now.top == 0 && now.right == width && now.bottom == height) return;
    SetWindowPos(hWnd(), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // Blacked out, the picture comes back as it was laid out.
    if (Blackout || Graphic[ActiveFrame].Empty()) {
        RefreshWindow();
        return;
    }
    LayOutActivePic();
}

void frmSSaver::LayOutActivePic() {
    PreparePicDisplay(false);
    if (SaverSettings.BestFit)
        ShowPicBestFit();
    else
        ShowPicActualSize();
    FinishPicDisplay(false);
    ShowTimeLeft(lblTimeLeft.Tag);
    ShowFileName(lblFilename.Tag);
}

void frmSSaver::SetRandomBackColor() {
    const std::optional<COLORREF> drawn = std::exchange(nextBackColor_, std::nullopt);
    if (!SaverSettings.RandomColor || Tiled) return;
    SetBackColor(drawn ? *drawn : common::RandomColor(kMessageColor, platform::Rnd));
}

void frmSSaver::ShowTimeLeft(const std::string& text) {
    const SIZE size = TextSize(text);
    const long W = InnerWidth(), H = InnerHeight();
    Place(lblTimeLeft, text.empty() ? -100 : 0, H - size.cy, size.cx, size.cy);
    if (GraphicHScroll.Visible()) {
        const long left = lblTimeLeft.Visible() ? size.cx : 0;
        const long right = GraphicVScroll.Visible() ? GetSystemMetrics(SM_CXVSCROLL) : 0;
        RECT bar{};
        GetWindowRect(GraphicHScroll.hWnd(), &bar);
        MapWindowPoints(nullptr, hWnd(), reinterpret_cast<POINT*>(&bar), 2);
        Place(GraphicHScroll, left, bar.top, W - right - left, bar.bottom - bar.top);
    }
    lblTimeLeft.Tag = text;
    InvalidateRect(lblTimeLeft.hWnd(), nullptr, TRUE);
}

void frmSSaver::ShowFileName(const std::string& text) {
    const SIZE size = TextSize(text);
    const long W = InnerWidth(), H = InnerHeight();
    Place(lblFilename, text.empty() ? W + 100 : W - size.cx, 0, size.cx, size.cy);
    if (GraphicVScroll.Visible()) {
        const long top = lblFilename.Visible() ? size.cy : 0;
        const long bottom = GraphicHScroll.Visible() ? GetSystemMetrics(SM_CYHSCROLL) : 0;
        RECT bar{};
        GetWindowRect(GraphicVScroll.hWnd(), &bar);
        MapWindowPoints(nullptr, hWnd(), reinterpret_cast<POINT*>(&bar), 2);
        Place(GraphicVScroll, bar.left, top, bar.right - bar.left, H - bottom - top);
    }
    lblFilename.Tag = text;
    InvalidateRect(lblFilename.hWnd(), nullptr, TRUE);
}

void frmSSaver::GraphicVScroll_Change() {
    RECT frame{};
    GetWindowRect(Pic[ActiveFrame].hWnd(), &frame);
    MapWindowPoints(nullptr, hWnd(), reinterpret_cast<POINT*>(&frame), 2);
    SetWindowPos(Pic[ActiveFrame].hWnd(), nullptr, frame.left, -GraphicVScroll.Value(), 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    UpdateWindow(Pic[ActiveFrame].hWnd());
}

void frmSSaver::GraphicHScroll_Change() {
    RECT frame{};
    GetWindowRect(Pic[ActiveFrame].hWnd(), &frame);
    MapWindowPoints(nullptr, hWnd(), reinterpret_cast<POINT*>(&frame), 2);
    SetWindowPos(Pic[ActiveFrame].hWnd(), nullptr, -GraphicHScroll.Value(), frame.top, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    UpdateWindow(Pic[ActiveFrame].hWnd());
}

// ---------------------------------------------------------------- keys and mouse

void frmSSaver::Form_KeyDown(int keyCode) {
    if (InPreviewPane) return;
    if ((Blackout && keyCode != VK_F1) || Delay == 0) keyCode = 0;
    const bool running = ssTimer.Enabled();
    switch (keyCode) {
        case 'N':
            if (running) {
                StartTime = -static_cast<float>(Delay);
            } else {
                ShowNextPic(false);
                ShowTimeLeft(kPaused);
            }
            return;
        case 'B':
            if (Pick.PreviousIndex < 1) return;
            ShowNextPic(true);
            if (running)
                StartTime = Now();
            else
                ShowTimeLeft(kPaused);
            return;
        case 'W':
            return;
        case 'P':
            ssTimer.SetEnabled(!running);
            if (!SaverSettings.DisplayTime) lblTimeLeft.SetVisible(running);
            if (running)
                ShowTimeLeft(kPaused);
            else
                StartTime = Now();
            return;
        case 'O':
            QuickMode = !QuickMode;
            Delay = QuickMode ? SaverSettings.QuickDelay : SaverSettings.ShowDelay;
            StartTime = Now();
            timeLeftColor_ = QuickMode ? kQuickTimeLeftColor : kTimeLeftColor;
            ShowTimeLeft(lblTimeLeft.Tag);
            return;
        case VK_ESCAPE:
            Blackout = true;
            SavedLook = {running,
                         Pic[ActiveFrame].Visible(),
                         GraphicVScroll.Visible(),
                         GraphicHScroll.Visible(),
                         lblFilename.Visible(),
                         lblTimeLeft.Visible(),
                         backColor_,
                         Pic[1 - ActiveFrame].Visible(),
                         printed_};
            ssTimer.SetEnabled(false);
            // After a load error the last good picture stays in the other frame, under the
            // error text: both go too, so that the whole screen is black.
            for (platform::Control* control : std::initializer_list<platform::Control*>{
                     &Pic[0], &Pic[1], &GraphicVScroll, &GraphicHScroll, &lblFilename, &lblTimeLeft})
                control->SetVisible(false);
            printed_.clear();
            SetFocus(hWnd());
            SetBackColor(RGB(0, 0, 0));
            ClearBackgroundPicture();
            RedrawOtherMonitors();
            return;
        case VK_F1:
            if (!Blackout) {
                EndSaver();
                return;
            }
            Blackout = false;
            ssTimer.SetEnabled(SavedLook.TimerEnabled);
            SetBackColor(SavedLook.BackColor);
            Pic[ActiveFrame].SetVisible(SavedLook.FrameVisible);
            Pic[1 - ActiveFrame].SetVisible(SavedLook.OtherFrameVisible);
            printed_ = SavedLook.Printed;
            GraphicVScroll.SetVisible(SavedLook.VScrollVisible);
            GraphicHScroll.SetVisible(SavedLook.HScrollVisible);
            lblFilename.SetVisible(SavedLook.NameVisible);
            lblTimeLeft.SetVisible(SavedLook.TimeVisible);
            if (Tiled) TileSmallPic(false);
            RedrawOtherMonitors();
            StartTime = Now();
            if (GraphicVScroll.Visible())
                GraphicVScroll.SetFocus();
            else if (GraphicHScroll.Visible())
                GraphicHScroll.SetFocus();
            return;
        case 'F':
        case 'E':
            if (keyCode == 'F')
                SaverSettings.BestFit = !SaverSettings.BestFit;
            else
                SaverSettings.TileSmall = !SaverSettings.TileSmall;
            LayOutActivePic();
            LayOutOtherMonitors(false);
            return;
        case 'C':
            SaverSettings.RandomColor = !SaverSettings.RandomColor;
            if (SaverSettings.RandomColor)
                SetRandomBackColor();
            else if (!Tiled)
                SetBackColor(RGB(0, 0, 0));
            LayOutOtherMonitors(true);
            return;
        case 'I':
            SaverSettings.DisplayName = !SaverSettings.DisplayName;
            lblFilename.SetVisible(SaverSettings.DisplayName);
            ShowFileName(lblFilename.Tag);
            return;
        case 'T':
            SaverSettings.DisplayTime = !SaverSettings.DisplayTime;
            if (running) lblTimeLeft.SetVisible(SaverSettings.DisplayTime);
            return;
        case VK_CONTROL:
        case VK_SHIFT:
            return;
        default:
            break;
    }
    if (IsScrollKey(keyCode) && AnyScrollBarVisible()) {
        // The bar with the focus scrolls; Tab goes to the other bar.
        if (keyCode == VK_TAB) {
            platform::ScrollBar& other = GetFocus() == GraphicVScroll.hWnd() ? GraphicHScroll : GraphicVScroll;
            if (other.Visible()) other.SetFocus();
        }
        return;
    }
    EndSaver();
}

void frmSSaver::Form_KeyUp(int keyCode) {
    if (InPreviewPane || !IsLoaded()) return;
    switch (keyCode) {
        case 'W': {
            const SlideImage& image = Graphic[ActiveFrame];
            if (image.Empty()) return;
            // As the keys were when W came up: Shift or Ctrl let go right after still count.
            const long style = platform::KeyWasDown(VK_CONTROL) ? common::kStyleStretch
                               : platform::KeyWasDown(VK_SHIFT) ? common::kStyleTile
                                                                : common::kStyleCenter;
            busy_ = true;
            // A transparent picture shows the desktop's colour through it, not the screen's.
            platform::Picture over;
            if (image.Picture().Flattened() && Pick.CurrentIndex >= 1 &&
                Pick.CurrentIndex <= common::UBound(common::PicFiles)) {
                over = platform::Picture::Load(common::PicFiles[Pick.CurrentIndex], nullptr, SaverSettings.MorePicTypes);
                over.Flatten(GetSysColor(COLOR_BACKGROUND));
            }
            common::SetWallpaper(common::WallpaperFilePath(), over.Empty() ? image.Picture() : over, style, false);
            busy_ = false;
            return;
        }
        case VK_CONTROL:
        case VK_SHIFT:
            EndSaver();
            return;
        default:
            return;
    }
}

void frmSSaver::Form_MouseDown(int button, float, float) {
    if (button == 2) {
        Form_KeyDown('N');
        return;
    }
    if (InPreviewPane)
        StartTime = -static_cast<float>(Delay);
    else
        EndSaver();
}

void frmSSaver::Form_MouseMove(float x, float y) {
    if (!SaverSettings.AllowMouse || InPreviewPane) return;
    if ((LastMouseX != 0 || LastMouseY != 0) &&
        (std::fabs(x - LastMouseX) >= kMouseMoveLimit || std::fabs(y - LastMouseY) >= kMouseMoveLimit)) {
        EndSaver();
        return;
    }
    LastMouseX = x;
    LastMouseY = y;
}

void frmSSaver::Form_DblClick() {
    if (!InPreviewPane) EndSaver();
}

}  // namespace slide_saver
