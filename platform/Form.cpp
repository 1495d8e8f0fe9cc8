#include "platform/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/Menu.h"

namespace platform {

namespace {

const char kFormClass[] = "SorvitaForm";
constexpr int kFirstControlId = 100;

// After the desktop's picture or colours change, the desktop repaints a few milliseconds later,
// and a desktop that paints over the windows on it without telling them (Wine's virtual desktop
// does) leaves a form blank except where a control next changes. So the form repaints itself a
// few times over the next 400 ms: soon after a quick desktop, and still after a slow one. The id
// lies beyond the form's own timers, which count from 1.
constexpr UINT_PTR kDesktopRepaintTimer = 0x5D00;
constexpr UINT kDesktopRepaintDelays[] = {20, 40, 90, 250};

std::vector<Form*>& Loaded() {
    static std::vector<Form*> forms;
    return forms;
}

void EnsureClassRegistered() {
    static bool registered = false;
    if (registered) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;  // replaced per window in StaticProc's first message
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadProgramIcon(1, false);
    wc.hIconSm = LoadProgramIcon(1, true);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassExA(&wc);
    registered = true;
}

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(length + 1, '\0');
    length = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(std::max(length, 0));
    return text;
}

RECT ChildRect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

int TwipsToPixelsX(int twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int TwipsToPixelsY(int twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }
int PixelsToTwipsX(int pixels) { return static_cast<int>(std::lround(pixels * TwipsPerPixelX())); }
int PixelsToTwipsY(int pixels) { return static_cast<int>(std::lround(pixels * TwipsPerPixelY())); }

namespace {

// The per-monitor functions exist from Windows 10 (1607) on; before that every window has the
// system's DPI.
template <typename Function>
Function UserFunction(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

int ToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }
int ToTwips(int pixels, int dpi) { return MulDiv(pixels, 1440, dpi); }

// Fonts made for another DPI than the one they were made for, kept for the program's life
// (a handful: one per font and DPI). They are known by what they were made of rather than by
// the handle, which its owner may delete and the system give to another font.
struct ScaledFontEntry {
    LOGFONTA source;
    int sourceDpi;
    int dpi;
    HFONT scaled;
};
std::vector<ScaledFontEntry>& ScaledFonts() {
    static std::vector<ScaledFontEntry> fonts;
    return fonts;
}

// `font`, made for `fromDpi`, at `toDpi`: points stay points.
HFONT FontAtDpi(HFONT font, int fromDpi, int toDpi) {
    if (!font || fromDpi == toDpi) return font;
    LOGFONTA source{};
    bool found = false;
    // A scaled font scales from the font it was made of, so that moving back and forth
    // neither piles up rounding nor makes new fonts.
    for (const ScaledFontEntry& entry : ScaledFonts())
        if (entry.scaled == font) {
            source = entry.source;
            fromDpi = entry.sourceDpi;
            found = true;
            break;
        }
    if (!found && !GetObjectA(font, sizeof source, &source)) return font;
    for (const ScaledFontEntry& entry : ScaledFonts())
        if (entry.sourceDpi == fromDpi && entry.dpi == toDpi && std::memcmp(&entry.source, &source, sizeof source) == 0)
            return entry.scaled;
    LOGFONTA log = source;
    log.lfHeight = MulDiv(log.lfHeight, toDpi, fromDpi);
    log.lfWidth = MulDiv(log.lfWidth, toDpi, fromDpi);
    HFONT scaled = CreateFontIndirectA(&log);
    if (!scaled) return font;
    ScaledFonts().push_back({source, fromDpi, toDpi, scaled});
    return scaled;
}

}  // namespace

int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = UserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = hwnd && getDpiForWindow ? getDpiForWindow(hwnd) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int ScaleToDpi(int pixels, int dpi) { return MulDiv(pixels, dpi, kDesignDpi); }

HFONT DefaultFont(int dpi) {
    if (dpi <= 0) dpi = SystemDpi();
    static std::vector<std::pair<int, HFONT>> fonts;
    for (const auto& [fontDpi, font] : fonts)
        if (fontDpi == dpi) return font;
    using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto parametersForDpi = UserFunction<ParametersForDpi>("SystemParametersInfoForDpi");
    HFONT font = nullptr;
    // The wide structure: the DPI-specific call has no ANSI form.
    NONCLIENTMETRICSW wide{};
    wide.cbSize = sizeof wide;
    if (parametersForDpi && parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof wide, &wide, 0, dpi)) {
        font = CreateFontIndirectW(&wide.lfMessageFont);
    } else {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
            // The system's metrics are at the system's DPI.
            metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
            font = CreateFontIndirectA(&metrics.lfMessageFont);
        }
    }
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts.emplace_back(dpi, font);
    return font;
}

HICON LoadProgramIcon(int resource, bool small, int dpi) {
    if (dpi <= 0) dpi = SystemDpi();
    const int size = ScaleToDpi(small ? 16 : 32, dpi);
    HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (!icon)
        icon = static_cast<HICON>(CopyImage(LoadIcon(nullptr, IDI_APPLICATION), IMAGE_ICON, size, size, 0));
    return icon;
}

HBITMAP LoadProgramBitmap(int resource, int dpi) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info{};
    if (!bitmap || dpi == kDesignDpi || !GetObjectA(bitmap, sizeof info, &info)) return bitmap;
    const int width = ScaleToDpi(info.bmWidth, dpi), height = ScaleToDpi(info.bmHeight, dpi);
    ScreenDC screen;
    HBITMAP scaled = CreateCompatibleBitmap(screen.get(), width, height);
    HDC from = CreateCompatibleDC(screen.get());
    HDC to = CreateCompatibleDC(screen.get());
    HGDIOBJ oldFrom = SelectObject(from, bitmap);
    HGDIOBJ oldTo = SelectObject(to, scaled);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(bitmap);
    return scaled;
}

// ---------------------------------------------------------------- Control

void Control::Create(Form& form, const char* className, DWORD style, DWORD exStyle, const std::string& text,
                     int left, int top, int width, int height) {
    form_ = &form;
    id_ = form.Register(this);
    const int dpi = form.Dpi();
    hwnd_ = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD | WS_VISIBLE, ToPixels(left, dpi),
                            ToPixels(top, dpi), ToPixels(width, dpi), ToPixels(height, dpi), form.hWnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form.Font() ? form.Font() : DefaultFont(dpi)), FALSE);
}

int Control::Left() const { return ToTwips(ChildRect(hwnd_).left, form_->Dpi()); }
int Control::Top() const { return ToTwips(ChildRect(hwnd_).top, form_->Dpi()); }
int Control::Width() const {
    RECT r = ChildRect(hwnd_);
    return ToTwips(r.right - r.left, form_->Dpi());
}
int Control::Height() const {
    RECT r = ChildRect(hwnd_);
    return ToTwips(r.bottom - r.top, form_->Dpi());
}

void Control::Move(int left, int top, int width, int height) {
    RECT r = ChildRect(hwnd_);
    const int dpi = form_->Dpi();
    int w = width < 0 ? r.right - r.left : ToPixels(width, dpi);
    int h = height < 0 ? r.bottom - r.top : ToPixels(height, dpi);
    // Painted afresh where it lands. Letting the system copy the pixels from the old place is
    // only right when they are still the control's own: a layout moves one control over the old
    // place of another, or a control whose new text is not painted yet, and the copied pixels
    // would then be taken as valid and never repainted.
    SetWindowPos(hwnd_, nullptr, ToPixels(left, dpi), ToPixels(top, dpi), w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

bool Control::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
void Control::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
bool Control::Visible() const { return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
std::string Control::Text() const { return WindowText(hwnd_); }
void Control::SetText(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }
HFONT Control::Font() const { return reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)); }
void Control::SetFont(HFONT font) { SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }
void Control::SetFocus() { ::SetFocus(hwnd_); }
void Control::Refresh() { RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }
void Control::SetContainer(Control& container) {
    SetParent(hwnd_, container.hWnd());
    SetWindowLongA(hwnd_, GWL_STYLE, GetWindowLongA(hwnd_, GWL_STYLE) | WS_CLIPSIBLINGS);
    // A control joins the end of the container's order, so that the container keeps the order
    // of creation that option groups and tabbing follow (SetParent puts it first).
    SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::SetToolTipText(const std::string& text) {
    HWND tip = form_->ToolTip();
    TOOLINFOA info{};
    info.cbSize = sizeof info;
    info.hwnd = form_->hWnd();
    info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    if (!toolTip_.empty()) SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    toolTip_ = text;
    if (text.empty()) return;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.lpszText = const_cast<char*>(toolTip_.c_str());
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

// ---------------------------------------------------------------- CommandButton

void CommandButton::Create(Form& form, const std::string& caption, int left, int top, int width, int height,
                           bool isDefault) {
    Control::Create(form, "BUTTON", WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, caption, left,
                    top, width, height);
}
void CommandButton::OnCommand(int code) {
    if (code == BN_CLICKED && Click) Click();
}
void CommandButton::PerformClick() { SendMessageA(hwnd_, BM_CLICK, 0, 0); }

// ---------------------------------------------------------------- CheckBox

void CheckBox::Create(Form& form, const std::string& caption, int left, int top, int width, int height) {
    Control::Create(form, "BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, caption, left, top, width, height);
}
int CheckBox::Value() const { return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }
void CheckBox::SetValue(int value) {
    if (Value() == (value ? 1 : 0)) return;
    SendMessageA(hwnd_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (Click) Click();
}
void CheckBox::OnCommand(int code) {
    if (code == BN_CLICKED && Click) Click();
}

// ---------------------------------------------------------------- OptionButton

void OptionButton::Create(Form& form, const std::string& caption, int left, int top, int width, int height,
                          bool firstInGroup) {
    Control::Create(form, "BUTTON", BS_AUTORADIOBUTTON | (firstInGroup ? WS_GROUP | WS_TABSTOP : 0), 0, caption,
                    left, top, width, height);
}
bool OptionButton::Value() const { return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void OptionButton::SetValue(bool value) {
    if (!value) {
        SendMessageA(hwnd_, BM_SETCHECK, BST_UNCHECKED, 0);
        return;
    }
    if (Value()) return;
    // Clear the rest of the group the way a click would.
    HWND parent = GetParent(hwnd_);
    HWND first = hwnd_;
    while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (!previous) break;
        first = previous;
    }
    for (HWND h = first; h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h != first && (GetWindowLongA(h, GWL_STYLE) & WS_GROUP)) break;
        // Only option buttons belong to the group; a check box among them keeps its value.
        const LONG type = GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK;
        if (GetParent(h) == parent && h != hwnd_ && (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON))
            SendMessageA(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageA(hwnd_, BM_SETCHECK, BST_CHECKED, 0);
    if (Click) Click();
}
void OptionButton::OnCommand(int code) {
    if (code == BN_CLICKED && Click) Click();
}

// ---------------------------------------------------------------- Label, Frame, TextBox

void Label::Create(Form& form, const std::string& caption, int left, int top, int width, int height,
                   DWORD alignment) {
    Control::Create(form, "STATIC", alignment | SS_NOTIFY | SS_NOPREFIX, 0, caption, left, top, width, height);
}
void Label::OnCommand(int code) {
    if (code == STN_CLICKED && Click) Click();
    if (code == STN_DBLCLK && DblClick) DblClick();
}

void Frame::Create(Form& form, const std::string& caption, int left, int top, int width, int height) {
    Control::Create(form, "BUTTON", BS_GROUPBOX, 0, caption, left, top, width, height);
}

void Image::Create(Form& form, int left, int top, int width, int height) {
    Control::Create(form, "STATIC", SS_NOTIFY | SS_REALSIZECONTROL | SS_CENTERIMAGE, 0, "", left, top, width, height);
}
void Image::SetBitmap(HBITMAP bitmap) {
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    SetWindowLongA(hwnd_, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_BITMAP);
    SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}
void Image::SetIcon(HICON icon) {
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    SetWindowLongA(hwnd_, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_ICON);
    SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}
void Image::OnCommand(int code) {
    if (code == STN_CLICKED && Click) Click();
    if (code == STN_DBLCLK && DblClick) DblClick();
}

void TextBox::Create(Form& form, const std::string& text, int left, int top, int width, int height,
                     DWORD extraStyle) {
    Control::Create(form, "EDIT", WS_TABSTOP | ES_AUTOHSCROLL | extraStyle, WS_EX_CLIENTEDGE, text, left, top, width,
                    height);
}
void TextBox::OnCommand(int code) {
    if (code == EN_CHANGE && Change) Change();
}

// ---------------------------------------------------------------- lists

void ListControl::AddItem(const std::string& item, int index) {
    UINT message = combo_ ? (index < 0 ? CB_ADDSTRING : CB_INSERTSTRING) : (index < 0 ? LB_ADDSTRING : LB_INSERTSTRING);
    SendMessageA(hwnd_, message, index < 0 ? 0 : index, reinterpret_cast<LPARAM>(item.c_str()));
}
void ListControl::RemoveItem(int index) { SendMessageA(hwnd_, combo_ ? CB_DELETESTRING : LB_DELETESTRING, index, 0); }
void ListControl::Clear() { SendMessageA(hwnd_, combo_ ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0); }
int ListControl::ListCount() const {
    return static_cast<int>(SendMessageA(hwnd_, combo_ ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
}
std::string ListControl::List(int index) const {
    LRESULT length = SendMessageA(hwnd_, combo_ ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    if (length < 0) return "";
    std::string text(length + 1, '\0');
    length = SendMessageA(hwnd_, combo_ ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length < 0 ? 0 : length);
    return text;
}
int ListControl::ListIndex() const {
    return static_cast<int>(SendMessageA(hwnd_, combo_ ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}
void ListControl::SetListIndex(int index) {
    SendMessageA(hwnd_, combo_ ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
    if (Click) Click();
}

void ComboBox::Create(Form& form, int left, int top, int width, int dropHeight, DWORD kind) {
    Control::Create(form, "COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | kind, 0, "", left, top, width,
                    dropHeight);
}
void ComboBox::OnCommand(int code) {
    if (code == CBN_SELCHANGE && Click) Click();
    if (code == CBN_EDITCHANGE && Change) Change();
    if (code == CBN_DROPDOWN && DropDown) DropDown();
}

void ListBox::Create(Form& form, int left, int top, int width, int height, DWORD extraStyle) {
    Control::Create(form, "LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | extraStyle,
                    WS_EX_CLIENTEDGE, "", left, top, width, height);
}
void ListBox::OnCommand(int code) {
    if (code == LBN_SELCHANGE && Click) Click();
    if (code == LBN_DBLCLK && DblClick) DblClick();
}

// ---------------------------------------------------------------- ScrollBar

void ScrollBar::Create(Form& form, bool horizontal, int left, int top, int width, int height) {
    Control::Create(form, "SCROLLBAR", WS_TABSTOP | (horizontal ? SBS_HORZ : SBS_VERT), 0, "", left, top, width,
                    height);
    SetRange(min_, max_);
}
int ScrollBar::Value() const { return GetScrollPos(hwnd_, SB_CTL); }
void ScrollBar::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    SetScrollRange(hwnd_, SB_CTL, std::min(min, max), std::max(min, max), TRUE);
}
void ScrollBar::SetValue(int value) {
    int low = std::min(min_, max_), high = std::max(min_, max_);
    value = std::clamp(value, low, high);
    if (value == Value()) return;
    SetScrollPos(hwnd_, SB_CTL, value, TRUE);
    if (Change) Change();
}
void ScrollBar::OnScroll(int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, SB_CTL, &info);
    int value = info.nPos;
    switch (request) {
        case SB_LINEUP: value -= SmallChange; break;
        case SB_LINEDOWN: value += SmallChange; break;
        case SB_PAGEUP: value -= LargeChange; break;
        case SB_PAGEDOWN: value += LargeChange; break;
        case SB_TOP: value = info.nMin; break;
        case SB_BOTTOM: value = info.nMax; break;
        case SB_THUMBTRACK:
            SetScrollPos(hwnd_, SB_CTL, info.nTrackPos, TRUE);
            if (Scroll) Scroll();
            return;
        case SB_THUMBPOSITION: value = info.nTrackPos; break;
        default: return;
    }
    SetValue(value);
}

// ---------------------------------------------------------------- PictureBox

void PictureBox::Create(Form& form, int left, int top, int width, int height, DWORD exStyle) {
    static const char kBoxClass[] = "SorvitaPictureBox";
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = &PictureBox::BoxProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kBoxClass;
        RegisterClassExA(&wc);
        registered = true;
    }
    Control::Create(form, kBoxClass, WS_CLIPCHILDREN | WS_CLIPSIBLINGS, exStyle | WS_EX_CONTROLPARENT, "", left, top,
                    width, height);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

int PictureBox::ScaleWidth() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return ToTwips(r.right, form_->Dpi());
}
int PictureBox::ScaleHeight() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return ToTwips(r.bottom, form_->Dpi());
}

void PictureBox::SetBackColor(COLORREF color) {
    backColor_ = color;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT CALLBACK PictureBox::BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<PictureBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!box) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
            // The controls inside belong to the form.
            if (box->form_ && box->form_->hWnd()) return SendMessageA(box->form_->hWnd(), message, wParam, lParam);
            break;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the background, without flicker
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            // A box larger than its container (a picture at its own size) is only drawn
            // where it can be seen.
            RECT area = ps.rcPaint, visible{};
            if (GetClipBox(dc, &visible) != ERROR) IntersectRect(&area, &ps.rcPaint, &visible);
            int w = area.right - area.left, h = area.bottom - area.top;
            if (w > 0 && h > 0) {
                // Drawn off screen, only the part that needs it.
                HDC memory = CreateCompatibleDC(dc);
                HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
                HGDIOBJ old = SelectObject(memory, bitmap);
                SetViewportOrgEx(memory, -area.left, -area.top, nullptr);
                HBRUSH brush = CreateSolidBrush(box->backColor_);
                FillRect(memory, &area, brush);
                DeleteObject(brush);
                if (box->Paint) box->Paint(memory);
                SetViewportOrgEx(memory, 0, 0, nullptr);
                BitBlt(dc, area.left, area.top, w, h, memory, 0, 0, SRCCOPY);
                SelectObject(memory, old);
                DeleteObject(bitmap);
                DeleteDC(memory);
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SIZE:
            if (box->Resize) box->Resize();
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_MOUSEMOVE: {
            const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
            auto& handler = message == WM_MOUSEMOVE ? box->MouseMove : down ? box->MouseDown : box->MouseUp;
            if (!handler) break;
            int button = 0;
            if (message == WM_MOUSEMOVE)
                button = (wParam & MK_LBUTTON ? 1 : 0) | (wParam & MK_RBUTTON ? 2 : 0) | (wParam & MK_MBUTTON ? 4 : 0);
            else
                button = message == WM_LBUTTONUP || message == WM_LBUTTONDOWN   ? 1
                         : message == WM_RBUTTONUP || message == WM_RBUTTONDOWN ? 2
                                                                                : 4;
            // Copied: the handler may unload the form, and this box with it.
            auto call = handler;
            const int dpi = box->form_->Dpi();
            call(button, ToTwips(static_cast<short>(LOWORD(lParam)), dpi), ToTwips(static_cast<short>(HIWORD(lParam)), dpi));
            return 0;
        }
        case WM_LBUTTONDBLCLK:
            if (box->DblClick) {
                box->DblClick();
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------- Timer

void Timer::Create(Form& form, int interval, bool enabled) {
    form_ = &form;
    id_ = form.RegisterTimer(this);
    interval_ = interval;
    enabled_ = enabled;
    Apply();
}
void Timer::SetInterval(int interval) {
    interval_ = interval;
    Apply();
}
void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}
void Timer::Apply() {
    if (!form_ || !form_->hWnd()) return;
    KillTimer(form_->hWnd(), id_);
    if (enabled_ && interval_ > 0) SetTimer(form_->hWnd(), id_, interval_, nullptr);
}

// ---------------------------------------------------------------- Form

FormStyle FixedWindowStyle(int clientWidth, int clientHeight, const std::string& caption) {
    FormStyle style;
    style.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    style.clientWidth = DesignTwips(clientWidth);
    style.clientHeight = DesignTwips(clientHeight);
    style.caption = caption;
    return style;
}

Form::~Form() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        auto& forms = Loaded();
        forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    }
}

const std::vector<Form*>& Form::LoadedForms() { return Loaded(); }

const char* Form::WindowClass() { return kFormClass; }

void Form::Load() {
    if (hwnd_) return;
    EnsureClassRegistered();
    FormStyle style = Style();
    controls_.clear();
    timers_.clear();
    dpi_ = SystemDpi();
    hwnd_ = CreateWindowExA(style.exStyle, kFormClass, style.caption.c_str(), style.style, CW_USEDEFAULT,
                            CW_USEDEFAULT, ToPixels(style.width, dpi_), ToPixels(style.height, dpi_), nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form::StaticProc));
    // The window opens on a monitor whose DPI may not be the system's.
    if (const int dpi = WindowDpi(hwnd_); dpi != dpi_) {
        dpi_ = dpi;
        SetWindowPos(hwnd_, nullptr, 0, 0, ToPixels(style.width, dpi_), ToPixels(style.height, dpi_),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (style.clientWidth > 0 && style.clientHeight > 0) {
        SetClientSize(style.clientWidth, style.clientHeight);
    } else if (dpi_ != kDesignDpi) {
        // A size given for the whole window is its size at 96 DPI: the area inside the frame,
        // where the layout lives, grows with the scale, and the frame is what the system draws
        // at this DPI (its lines do not all grow).
        using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
        static const auto adjustForDpi = UserFunction<AdjustForDpi>("AdjustWindowRectExForDpi");
        RECT frame{};
        if (adjustForDpi && adjustForDpi(&frame, style.style, FALSE, style.exStyle, kDesignDpi))
            SetClientSize(style.width - DesignTwips(frame.right - frame.left),
                          style.height - DesignTwips(frame.bottom - frame.top));
    }
    Loaded().push_back(this);
    loading_ = true;
    Form_Load();
    loading_ = false;
}

void Form::Show() {
    if (!hwnd_) Load();
    if (!hwnd_) return;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void Form::ShowModal() {
    if (!hwnd_) Load();
    if (!hwnd_) return;
    // Disable the program's other visible forms, as a modal window does.
    std::vector<HWND> disabled;
    for (Form* form : Loaded())
        if (form != this && form->hWnd() && IsWindowEnabled(form->hWnd())) {
            EnableWindow(form->hWnd(), FALSE);
            disabled.push_back(form->hWnd());
        }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    ++modalDepth_;
    HWND self = hwnd_;
    MSG msg;
    auto showing = [self] { return IsWindow(self) && IsWindowVisible(self); };
    while (showing()) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Messages sent from elsewhere (another process closing or hiding the form) are
            // handled while looking for posted ones, and may have ended the form without any
            // message to return: look again before waiting, and wake for sent messages too,
            // instead of noticing only at the next posted message or input.
            if (!showing()) break;
            MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessageA(self, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    --modalDepth_;
    for (HWND hwnd : disabled)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
}

void Form::Hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Unload(UnloadMode mode) {
    if (!hwnd_) return true;
    if (Form_QueryUnload(mode)) return false;
    Form_Unload();
    HWND hwnd = hwnd_;
    Detach();
    DestroyWindow(hwnd);
    if (Loaded().empty()) PostQuitMessage(0);
    return true;
}

void Form::Detach() {
    HWND hwnd = hwnd_;
    for (Timer* timer : timers_) KillTimer(hwnd, timer->Id());
    KillTimer(hwnd, kDesktopRepaintTimer);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    // The menu bar belongs to the form's menu items, which outlive the window.
    if (GetMenu(hwnd)) SetMenu(hwnd, nullptr);
    hwnd_ = nullptr;
    toolTip_ = nullptr;
    auto& forms = Loaded();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    for (Control* control : controls_) control->hwnd_ = nullptr;
}

bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
std::string Form::Caption() const { return WindowText(hwnd_); }
void Form::SetCaption(const std::string& caption) { SetWindowTextA(hwnd_, caption.c_str()); }
bool Form::Minimized() const { return hwnd_ && IsIconic(hwnd_); }

// Screen coordinates are the system's pixels wherever a window is; its size is its own DPI's.
int Form::Left() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return PixelsToTwipsX(r.left);
}
int Form::Top() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return PixelsToTwipsY(r.top);
}
int Form::Width() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return ToTwips(r.right - r.left, dpi_);
}
int Form::Height() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return ToTwips(r.bottom - r.top, dpi_);
}
void Form::Move(int left, int top, int width, int height) {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    int w = width < 0 ? r.right - r.left : ToPixels(width, dpi_);
    int h = height < 0 ? r.bottom - r.top : ToPixels(height, dpi_);
    MoveWindow(hwnd_, TwipsToPixelsX(left), TwipsToPixelsY(top), w, h, TRUE);
}
int Form::ScaleWidth() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return ToTwips(r.right, dpi_);
}
int Form::ScaleHeight() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return ToTwips(r.bottom, dpi_);
}
int Form::PixelsToTwips(int pixels) const { return ToTwips(pixels, dpi_); }
int Form::TwipsToPixels(int twips) const { return ToPixels(twips, dpi_); }

void Form::SetClientSize(int width, int height) {
    // The frame as the window has it now, at its DPI, with its menu bar if it has one.
    RECT outer{}, inner{};
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &inner);
    const int w = ToPixels(width, dpi_) + (outer.right - outer.left) - inner.right;
    const int h = ToPixels(height, dpi_) + (outer.bottom - outer.top) - inner.bottom;
    SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::ChangeDpi(int dpi, const RECT* suggested) {
    const int old = dpi_;
    if (dpi <= 0 || dpi == old) {
        if (suggested)
            SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    dpi_ = dpi;
    HFONT oldDefault = DefaultFont(old);
    if (font_) font_ = FontAtDpi(font_, old, dpi);
    // Every control keeps its place in twips: scaled from the old DPI's pixels to the new's,
    // edges rather than sizes, so that controls that met still meet.
    for (Control* control : controls_) {
        HWND child = control->hWnd();
        if (!child) continue;
        RECT r = ChildRect(child);
        SetWindowPos(child, nullptr, MulDiv(r.left, dpi, old), MulDiv(r.top, dpi, old),
                     MulDiv(r.right, dpi, old) - MulDiv(r.left, dpi, old),
                     MulDiv(r.bottom, dpi, old) - MulDiv(r.top, dpi, old),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        HFONT font = control->Font();
        HFONT scaled = font == oldDefault ? DefaultFont(dpi) : FontAtDpi(font, old, dpi);
        if (scaled != font) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
    }
    if (suggested) {
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RECT outer{};
        GetWindowRect(hwnd_, &outer);
        SetWindowPos(hwnd_, nullptr, 0, 0, MulDiv(outer.right - outer.left, dpi, old),
                     MulDiv(outer.bottom - outer.top, dpi, old), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Form_DpiChanged();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

int Form::Register(Control* control) {
    controls_.push_back(control);
    return kFirstControlId + static_cast<int>(controls_.size()) - 1;
}

int Form::RegisterTimer(Timer* timer) {
    timers_.push_back(timer);
    return static_cast<int>(timers_.size());
}

Control* Form::FindControl(HWND hwnd, int id) const {
    for (Control* control : controls_)
        if ((hwnd && control->hWnd() == hwnd) || (!hwnd && control->Id() == id)) return control;
    return nullptr;
}

HWND Form::ToolTip() {
    if (!toolTip_) {
        toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        SendMessageA(toolTip_, TTM_SETMAXTIPWIDTH, 0, 600);
    }
    return toolTip_;
}

LRESULT CALLBACK Form::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!form) return DefWindowProcA(hwnd, message, wParam, lParam);
    return form->Dispatch(message, wParam, lParam);
}

LRESULT Form::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            HWND from = reinterpret_cast<HWND>(lParam);
            if (from) {
                if (Control* control = FindControl(from, 0)) {
                    control->OnCommand(HIWORD(wParam));
                    return 0;
                }
            } else if (HIWORD(wParam) == 0 && MenuCommand(LOWORD(wParam))) {
                return 0;
            }
            break;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (Control* control = FindControl(header->hwndFrom, 0)) return control->OnNotify(header);
            break;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (lParam) {
                if (Control* control = FindControl(reinterpret_cast<HWND>(lParam), 0)) {
                    control->OnScroll(LOWORD(wParam));
                    return 0;
                }
            }
            break;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETDESKWALLPAPER) RepaintAfterDesktop(true);
            break;
        case WM_SYSCOLORCHANGE:
            RepaintAfterDesktop(true);
            break;
        case WM_TIMER:
            if (wParam == kDesktopRepaintTimer) {
                RepaintAfterDesktop(false);
                return 0;
            }
            for (Timer* timer : timers_)
                if (static_cast<WPARAM>(timer->Id()) == wParam) {
                    if (timer->enabled_ && timer->Tick) timer->Tick();
                    return 0;
                }
            break;
        case WM_SIZE:
            if (!loading_) Form_Resize();
            break;
        case WM_DPICHANGED:
            ChangeDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) Form_Activate();
            break;
        case WM_CLOSE:
            Unload(vbFormControlMenu);
            return 0;
        case WM_QUERYENDSESSION:
            return Form_QueryUnload(vbAppWindows) ? FALSE : TRUE;
        case WM_ENDSESSION:
            if (wParam) Unload(vbAppWindows);
            return 0;
        case WM_DESTROY: {
            // Only a window destroyed from elsewhere gets here (Unload detaches first): a
            // child window goes with the window that holds it, whoever destroys that.
            Form_Unload();
            HWND hwnd = hwnd_;
            Detach();
            DefWindowProcA(hwnd, message, wParam, lParam);
            if (Loaded().empty()) PostQuitMessage(0);
            return 0;
        }
        default:
            break;
    }
    return WindowProc(message, wParam, lParam);
}

void Form::RepaintAfterDesktop(bool changed) {
    if (changed) {
        if (!IsWindowVisible(hwnd_)) return;
        desktopRepaints_ = 0;
    } else {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    if (desktopRepaints_ < static_cast<int>(std::size(kDesktopRepaintDelays)))
        SetTimer(hwnd_, kDesktopRepaintTimer, kDesktopRepaintDelays[desktopRepaints_++], nullptr);
    else
        KillTimer(hwnd_, kDesktopRepaintTimer);
}

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return DefaultProc(message, wParam, lParam); }

LRESULT Form::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

int Form::RunMessageLoop() {
    MSG msg;
    while (!Loaded().empty()) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) break;
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        bool isForm = false;
        for (Form* form : Loaded())
            if (form->hWnd() == root) isForm = true;
        if (isForm && IsDialogMessageA(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace platform
