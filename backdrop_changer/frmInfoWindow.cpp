#include "backdrop_changer/frmInfoWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "backdrop_changer/basSSaver.h"
#include "common/FileFolderExists_.h"
#include "common/GetDesktopSize_.h"
#include "common/SettingsApp_.h"
#include "common/SettingsText_.h"
#include "platform/App.h"
#include "platform/Clipboard.h"
#include "platform/Handles.h"
#include "platform/Text.h"

namespace backdrop_changer {

namespace {

constexpr COLORREF kBackground = RGB(0, 0, 0);
constexpr COLORREF kFileNameColor = 0xFFFFFF;
constexpr int kPadding = 1;  // pixels at 96 DPI around the two lines

int LinePixels(int dpi = 0) {
    platform::ScreenDC dc;
    platform::SelectedObject font(dc.get(), platform::DefaultFont(dpi));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    return metrics.tmHeight;
}

// The labels pass a released right button on to the window, which owns the menu.
LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_RBUTTONUP) {
        reinterpret_cast<frmInfoWindow*>(data)->ShowFormPopup();
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

platform::FormStyle frmInfoWindow::Style() const {
    platform::FormStyle style;
    // Its background is painted around the two lines, never over them: a repaint of the whole
    // window (a change of the system colours brings one) would otherwise show it blank, or with
    // one line, until the lines have painted themselves again.
    style.style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    style.exStyle = WS_EX_TOOLWINDOW;
    style.caption = "Info";
    style.clientWidth = platform::DesignTwips(118);
    style.clientHeight = platform::PixelsToTwipsY(2 * LinePixels()) + platform::DesignTwips(2 * kPadding);
    return style;
}

void frmInfoWindow::Form_Load() {
    background_ = CreateSolidBrush(kBackground);
    const int line = PixelsToTwips(LinePixels(Dpi()));
    const int pad = platform::DesignTwips(kPadding);
    lblFileName.Create(*this, "X:\\Xxxx\\Xyg.xxx", 0, pad, platform::DesignTwips(100), line);
    lblTimeLeft.Create(*this, "5:59:59", 0, pad + line, platform::DesignTwips(60), line);
    SetWindowSubclass(lblFileName.hWnd(), &LabelProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(lblTimeLeft.hWnd(), &LabelProc, 1, reinterpret_cast<DWORD_PTR>(this));

    Form_Popup.Create(*this, "Form popup", false);
    Form_Popup_CopyFilename.Create(Form_Popup, "Copy &Filename");
    zsep0.Create(Form_Popup, "-");
    Form_Popup_OnTop.Create(Form_Popup, "&Always on Top");
    zsep1.Create(Form_Popup, "-");
    Form_Popup_Close.Create(Form_Popup, "&Close");
    Form_Popup_CopyFilename.Click = [this] { Form_Popup_CopyFilename_Click(); };
    Form_Popup_OnTop.Click = [this] { Form_Popup_OnTop_Click(); };
    Form_Popup_Close.Click = [this] { Form_Popup_Close_Click(); };

    Timer1.Create(*this, 500, true);
    Timer1.Tick = [this] { Timer1_Timer(); };

    // 1. and 2. the picture hung last, or the program's title when there is none
    std::string path = host_.trayPicPath;
    if (!common::FileExists(path)) path = platform::App().Title;
    lblFileName.Tag = path;
    // 3. the colour of the delay in effect
    SetTimeLeftColor(host_.otherDelay ? kOtherDelayColor : kStartupDelayColor);
    // 4. the show timer's next tick fills the time left
    SetTimeLeft(host_.active ? "" : kNotActive);
    // 5.
    if (common::TextToBool(common::GetAppSetting(kSettingsSection, kInfoOnTopKey, "False", true), false))
        Form_Popup_OnTop_Click();
    // 6. laid out before it is seen; it never takes the focus from the user's window
    Timer1_Timer();
    ShowWindow(hWnd(), SW_SHOWNOACTIVATE);
}

void frmInfoWindow::Form_Unload() {
    common::SaveAppSetting(kSettingsSection, kInfoOnTopKey, common::BoolText(Form_Popup_OnTop.Checked()), true);
    RemoveWindowSubclass(lblFileName.hWnd(), &LabelProc, 1);
    RemoveWindowSubclass(lblTimeLeft.hWnd(), &LabelProc, 1);
    if (background_) DeleteObject(background_);
    background_ = nullptr;
}

void frmInfoWindow::Form_DpiChanged() {
    // The lines are as high and as wide as their texts in the font's new size.
    const int line = PixelsToTwips(LinePixels(Dpi()));
    const int pad = platform::DesignTwips(kPadding);
    lblFileName.Move(lblFileName.Left(), pad, lblFileName.Width(), line);
    lblTimeLeft.Move(lblTimeLeft.Left(), pad + line, lblTimeLeft.Width(), line);
    SetClientSize(ScaleWidth(), 2 * line + 2 * pad);
    SizeToText(lblTimeLeft);
    shownPath_.clear();
    Timer1_Timer();
}

void frmInfoWindow::SizeToText(platform::Label& label) {
    platform::ScreenDC dc;
    platform::SelectedObject font(dc.get(), label.Font() ? label.Font() : platform::DefaultFont(Dpi()));
    const std::string text = label.Text();
    const SIZE size = platform::TextExtent(dc.get(), text);
    const int width = PixelsToTwips(static_cast<int>(size.cx));
    if (width != label.Width()) label.Move(label.Left(), label.Top(), width, label.Height());
}

void frmInfoWindow::SetTimeLeft(const std::string& text) {
    if (!lblTimeLeft.hWnd() || lblTimeLeft.Text() == text) return;
    lblTimeLeft.SetText(text);
    SizeToText(lblTimeLeft);
}

void frmInfoWindow::SetTimeLeftColor(COLORREF color) {
    timeLeftColor_ = color;
    if (lblTimeLeft.hWnd()) InvalidateRect(lblTimeLeft.hWnd(), nullptr, TRUE);
}

void frmInfoWindow::Timer1_Timer() {
    // 1. a new picture
    const std::string& tag = lblFileName.Tag;
    if (tag != shownPath_) {
        if (tag == platform::App().Title) {
            lblFileName.SetText(tag);
            lblFileName.SetToolTipText("");
        } else {
            lblFileName.SetText(FileNamePart(tag));
            lblFileName.SetToolTipText(tag);
        }
        SizeToText(lblFileName);
        shownPath_ = tag;
    }
    // 2. to 5. as wide as the name needs, within the work area, at its top-right corner
    const int twoPixels = platform::DesignTwips(2);
    const long fileNeeded = lblFileName.Width() + twoPixels;
    const long timeNeeded = lblTimeLeft.Width() + twoPixels;
    common::GetDesktopSize(true, false, "");
    const common::DesktopAreaRecord area = common::DesktopArea;
    long width = std::min(fileNeeded, area.Width);
    width = std::max(width, timeNeeded);
    if (Width() != width) Move(area.Right - width, area.Top, width, -1);
    // 6. both lines right-aligned
    for (platform::Label* label : {&lblFileName, &lblTimeLeft}) {
        const int left = ScaleWidth() - label->Width();
        if (label->Left() != left) label->Move(left, label->Top());
    }
}

void frmInfoWindow::ShowFormPopup() {
    Form_Popup_CopyFilename.SetEnabled(!lblFileName.ToolTipText().empty());
    platform::PopupMenu(Form_Popup, TPM_RIGHTBUTTON);
}

void frmInfoWindow::Form_Popup_CopyFilename_Click() {
    platform::PutClipboardText(hWnd(), lblFileName.ToolTipText());
}

void frmInfoWindow::Form_Popup_OnTop_Click() {
    Form_Popup_OnTop.SetChecked(!Form_Popup_OnTop.Checked());
    SetWindowPos(hWnd(), Form_Popup_OnTop.Checked() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void frmInfoWindow::Form_Popup_Close_Click() {
    if (host_.close) host_.close();
}

LRESULT frmInfoWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            const bool timeLine = reinterpret_cast<HWND>(lParam) == lblTimeLeft.hWnd();
            SetTextColor(dc, timeLine ? timeLeftColor_ : kFileNameColor);
            SetBkColor(dc, kBackground);
            return reinterpret_cast<LRESULT>(background_);
        }
        case WM_ERASEBKGND: {
            RECT area{};
            GetClientRect(hWnd(), &area);
            FillRect(reinterpret_cast<HDC>(wParam), &area, background_);
            return 1;
        }
        case WM_RBUTTONUP:
            ShowFormPopup();
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace backdrop_changer
