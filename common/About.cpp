#include "common/About.h"

#include "common/GetDesktopSize_.h"
#include "common/SettingsApp_.h"
#include "common/SettingsText_.h"
#include "common/VersionText_.h"
#include <algorithm>

#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"
#include "platform/Text.h"

namespace common {

namespace {
// Layout in pixels at 96 DPI; the form runtime works in twips.
constexpr int kMargin = 10;
constexpr int kPhotoHeight = 96;
constexpr int kTextLeft = 58;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kGap = 10;
constexpr int kAboutLines = 6;

int X(int pixels) { return platform::DesignTwips(pixels); }
int Y(int pixels) { return platform::DesignTwips(pixels); }

// The text box is sized to show the whole About text in the dialog font; in twips.
SIZE TextBoxSize(const std::string& text) {
    platform::ScreenDC dc;
    platform::SelectedObject font(dc.get(), platform::DefaultFont());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    LONG widest = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find("\r\n", start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        widest = std::max(widest, platform::TextExtent(dc.get(), line).cx);
        if (end == std::string::npos) break;
        start = end + 2;
    }
    // Edit control margins and the client edge.
    return SIZE{std::max<LONG>(platform::PixelsToTwipsX(widest) + X(16), X(260)),
                platform::PixelsToTwipsY(metrics.tmHeight * kAboutLines) + Y(10)};
}
}  // namespace

std::string AboutTextOfApp() {
    const platform::Application& app = platform::App();
    return AboutText(app.Title, app.Major, app.Minor, app.Revision, app.LegalCopyright);
}

void ShowAboutMessage() { platform::MsgBox(AboutTextOfApp(), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND, "About"); }

platform::FormStyle About::Style() const {
    platform::FormStyle style;
    style.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    style.exStyle = WS_EX_DLGMODALFRAME;
    style.caption = "About";
    style.clientWidth = ClientWidth();
    style.clientHeight = Y(300);
    return style;
}

int About::ClientWidth() const { return X(kTextLeft) + TextBoxSize(AboutTextOfApp()).cx + X(kMargin); }

void About::Form_Load() {
    const SIZE textSize = TextBoxSize(AboutTextOfApp());
    const int kTextWidth = textSize.cx, kTextHeight = textSize.cy, kClientWidth = ClientWidth();
    int photoTop = Y(kMargin);
    int textTop = photoTop + Y(kPhotoHeight + kGap);
    Image1[0].Index = 0;
    Image1[0].Create(*this, X(kMargin), photoTop, kClientWidth - X(2 * kMargin), Y(kPhotoHeight));
    photo_ = platform::LoadProgramBitmap(101, Dpi());
    Image1[0].SetBitmap(photo_);
    Image1[0].SetToolTipText(kPhotoToolTip);
    Image1[1].Index = 1;
    Image1[1].Create(*this, X(kMargin), textTop, X(32), Y(32));
    icon_ = platform::LoadProgramIcon(1, false, Dpi());
    Image1[1].SetIcon(icon_);
    Image1[1].SetToolTipText(kIconToolTip);
    Text1.Create(*this, "", X(kTextLeft), textTop, kTextWidth, kTextHeight, ES_MULTILINE | ES_READONLY);
    cmdOK.Create(*this, "OK", kClientWidth - X(kMargin + kButtonWidth), textTop + kTextHeight + Y(kGap),
                 X(kButtonWidth), Y(kButtonHeight), true);
    cmdOK.Click = [this] { cmdOK_Click(); };
    SetBottomEdge(textTop + kTextHeight + Y(kGap + kButtonHeight + kMargin));

    // 1. the text
    Text1.SetText(AboutTextOfApp());
    // 2. and 3. the photograph setting, switched for this opening by Ctrl+Alt+Shift
    bool k = TextToBool(GetAppSetting("Settings", "Kid About", "True", true), true);
    if (platform::KeyIsDown(VK_CONTROL) && platform::KeyIsDown(VK_MENU) && platform::KeyIsDown(VK_SHIFT)) k = !k;
    if (k) {
        // 4. no photograph: close up the layout around the text box
        DeleteAppSetting("Settings", "Kid About", true);
        Image1[0].SetVisible(false);
        int shift = textTop - Y(kMargin);
        Text1.Move(Text1.Left(), Text1.Top() - shift);
        Image1[1].Move(Image1[1].Left(), Image1[1].Top() - shift);
        cmdOK.Move(cmdOK.Left(), cmdOK.Top() - shift);
        SetBottomEdge(textTop + kTextHeight + Y(kGap + kButtonHeight + kMargin) - shift);
        photoShown_ = false;
    } else {
        // 5. the photograph stays; the icon gives up its tooltip
        SaveAppSetting("Settings", "Kid About", "False", true);
        Image1[1].SetToolTipText("");
        photoShown_ = true;
    }
    int divisor = 2;
    PlaceFormOnDesktop(*this, divisor);
}

void About::SetBottomEdge(int clientHeight) { SetClientSize(ClientWidth(), clientHeight); }

void About::cmdOK_Click() { Unload(); }

void About::Form_Unload() {
    if (photo_) DeleteObject(photo_);
    photo_ = nullptr;
    if (icon_) DestroyIcon(icon_);
    icon_ = nullptr;
}

LRESULT About::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == DM_GETDEFID) return MAKELRESULT(cmdOK.Id(), DC_HASDEFID);
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        cmdOK_Click();
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace common
