#include "desk_commander/MainForm.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "common/VersionText_.h"
#include "common/About.h"
#include "common/BrowseForFolder_.h"
#include "common/CreateStartupLink_.h"
#include "common/FileFolderExists_.h"
#include "common/FileFolderFunctions_.h"
#include "common/GetDeskMonitors_.h"
#include "common/GetDesktopSize_.h"
#include "common/SettingsApp_.h"
#include "common/SettingsReg_.h"
#include "common/ShellCommands_.h"
#include "common/WindowsWallpaper_.h"
#include "common/clsTaskBar.h"
#include "common/frmBlankScreen.h"
#include "desk_commander/CommanderRules_.h"
#include "desk_commander/SettingsIni_.h"
#include "desk_commander/basPublic.h"
#include "platform/App.h"
#include "platform/Clipboard.h"
#include "platform/Format.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"

namespace desk_commander {

namespace {

int X(int pixels) { return platform::DesignTwips(pixels); }
int Y(int pixels) { return platform::DesignTwips(pixels); }

// Layout in pixels of the client area.
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 372;
constexpr int kMargin = 8;
constexpr int kRowHeight = 20;
constexpr int kButtonHeight = 25;

const char* const kDesktopViews[] = {"Large Icons", "Small Icons", "List", "Details"};
const char* const kCorners[] = {"Upper-left", "Upper-right", "Lower-left", "Lower-right"};

// Settings keys.
constexpr const char* kActivateCornerKey = "Activate Hot Corner";
constexpr const char* kPreventCornerKey = "Prevent Hot Corner";
constexpr const char* kCornerSizeKey = "Hot Corner Size";
constexpr const char* kActivateDelayKey = "Activate Delay";
constexpr const char* kActivateOnKey = "Activate Hot Corner On";
constexpr const char* kPreventOnKey = "Prevent Hot Corner On";
constexpr const char* kTwoColumnKey = "2-Column Menu";
constexpr const char* kDesktopTextKey = "Desktop Text";
constexpr const char* kDesktopViewKey = "Desktop View";


constexpr const char* kFolderPrompt1 = "Select the folder ";
constexpr const char* kFolderPrompt2 = "containing ";
constexpr const char* kFolderLacksFile1 = "The '";
constexpr const char* kFolderLacksFile2 = "' folder selected does ";
constexpr const char* kFolderLacksFile3 = "not contain the ";
constexpr const char* kFolderLacksFile4 = " file.";
constexpr const char* kRunError1 = "An error occurred attempting to run the '";
constexpr const char* kRunError2 = "' file:";
constexpr const char* kCatalogBuilder1 = "Sorvita Catalog Builder - for creating image ";
constexpr const char* kCatalogBuilder2 = "catalogs of selected pic files - is coming soon!";
constexpr const char* kAppletError1 = "An error occurred attempting ";
constexpr const char* kAppletError2 = "to run a Control Panel applet:";
constexpr const char* kControlPanelError2 = "to run the Control Panel:";
constexpr const char* kClipboardError1 = "An error occurred attempting to ";
constexpr const char* kClipboardError2 = "clear the Windows Clipboard:";
constexpr const char* kEnableQuestion1 = "The screen saver is currently disabled.  ";
constexpr const char* kEnableQuestion2 = "Would you like to enable it before exiting?";

constexpr const char* kActiveError1 = "An error occurred attempting to set ";
constexpr const char* kActiveError2 = "the screen saver \"active\" Registry setting.";
constexpr const char* kTimeoutError1 = "An error occurred attempting to ";
constexpr const char* kTimeoutError2 = " the screen saver \"timeout\" Registry setting.";
constexpr const char* kResetTimeoutError1 = "An error occurred attempting to reset ";
constexpr const char* kResetTimeoutError2 = "the screen saver \"timeout\" Registry setting.";
constexpr const char* kNoSaver1 = "A screen saver does not appear to be set up, ";
constexpr const char* kNoSaver2 = "or the referenced file no longer exists.";
constexpr const char* kNoSaver3 = "Would you like to go to the Display Properties dialog, ";
constexpr const char* kNoSaver4 = "Slide Saver tab to set up a screen saver now?";
constexpr const char* kConfigureError1 = "An error occurred attempting to run the ";
constexpr const char* kConfigureError2 = "screen saver to show its setup dialog:";

std::string TwoLines() { return std::string(platform::vbCrLf) + platform::vbCrLf; }

void AddStyle(platform::Control& control, LONG style) {
    SetWindowLongA(control.hWnd(), GWL_STYLE, GetWindowLongA(control.hWnd(), GWL_STYLE) | style);
}

// A label whose "&" underlines the next letter rather than showing itself.
void ShowMnemonic(platform::Label& label) {
    SetWindowLongA(label.hWnd(), GWL_STYLE, GetWindowLongA(label.hWnd(), GWL_STYLE) & ~SS_NOPREFIX);
}

// The numbers are never typed: the display box hands its focus to the scroll bar.
LRESULT CALLBACK PassFocusProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_SETFOCUS) {
        SetFocus(reinterpret_cast<HWND>(data));
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

std::string Setting(const char* key, const char* defaultText) {
    return common::GetAppSetting(kSettingsSection, key, defaultText, true);
}

void SaveSetting(const char* key, long value) {
    common::SaveAppSetting(kSettingsSection, key, std::to_string(value), false);
}

std::string SystemError(unsigned long code) { return platform::ErrorDescription(code); }

// Whether the clipboard holds data in one of the formats the menu counts, tested in turn;
// text counts in whichever of its forms another program put it.
bool ClipboardHoldsData() {
    const UINT formats[] = {CF_BITMAP, CF_DIB, CF_ENHMETAFILE, CF_HDROP, RegisterClipboardFormatA("Link"),
                            CF_METAFILEPICT, CF_PALETTE, RegisterClipboardFormatA("Rich Text Format")};
    for (UINT format : formats)
        if (format && IsClipboardFormatAvailable(format)) return true;
    return platform::ClipboardHasText();
}

}  // namespace

HICON MakeTrayIcon(int index) {
    const char* const* rows = TrayIconRows(index);
    // Drawn at 16 pixels; the notification area asks for its small icon size at the system's
    // DPI, and each drawn pixel becomes the block of pixels that falls on it.
    const int size = std::max(kTrayIconSize, GetSystemMetrics(SM_CXSMICON));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!color) return nullptr;
    // One bit a pixel, high bit first, rows of whole words: set where the icon is transparent.
    const int maskRow = (size + 15) / 16 * 2;
    std::vector<BYTE> mask(static_cast<size_t>(maskRow) * size, 0);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const long rgb = PaletteColor(rows[y * kTrayIconSize / size][x * kTrayIconSize / size]);
            pixels[y * size + x] = rgb < 0 ? 0 : static_cast<DWORD>(rgb);
            if (rgb < 0) mask[static_cast<size_t>(y) * maskRow + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    }
    HBITMAP maskBitmap = CreateBitmap(size, size, 1, 1, mask.data());
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmColor = color;
    icon.hbmMask = maskBitmap;
    HICON handle = CreateIconIndirect(&icon);
    DeleteObject(color);
    DeleteObject(maskBitmap);
    return handle;
}

MainForm::~MainForm() { DestroyTrayIcons(); }

void MainForm::DestroyTrayIcons() {
    for (HICON& icon : trayIcons_) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
}

platform::FormStyle MainForm::Style() const {
    return platform::FixedWindowStyle(kClientWidth, kClientHeight, platform::App().Title + kSetupCaptionEnd);
}

// ---------------------------------------------------------------- building the window

void MainForm::CreateControls() {
    const int right = kClientWidth - kMargin;
    const int left = kMargin + 4;
    // Desktop
    lblDelayActivate[2].Index = 2;
    lblDelayActivate[2].Create(*this, "Desktop view:", X(left), Y(13), X(84), Y(16));
    cboDesktopView.Create(*this, X(left + 88), Y(10), X(140), Y(120), CBS_DROPDOWNLIST);
    for (const char* view : kDesktopViews) cboDesktopView.AddItem(view);
    chkDesktopTransparent.Create(*this, "Make desktop icon text background transparent", X(left), Y(40),
                                 X(right - left), Y(kRowHeight));
    chk2ColumnMenu.Create(*this, "Use 2-column tray icon pop-up menu", X(left), Y(62), X(right - left),
                          Y(kRowHeight));

    // Hot corners
    const int frameTop = 92, inner = kMargin + 12;
    Frame1.Create(*this, "Screen saver hot corners", X(kMargin), Y(frameTop), X(right - kMargin), Y(190));
    const int optionsLeft = inner + 84, optionWidth = 120;
    for (int group = 0; group < 2; ++group) {
        const int top = frameTop + 20 + group * 50;
        platform::CheckBox& check = group == 0 ? chkActivateSS : chkPreventSS;
        check.Create(*this, group == 0 ? "&Activate" : "&Disable", X(inner), Y(top), X(80), Y(kRowHeight));
        Frame2[group].Index = group;
        Frame2[group].Create(*this, X(optionsLeft), Y(top), X(2 * optionWidth + 12), Y(2 * kRowHeight + 2), 0);
        platform::OptionButton* options = group == 0 ? optActivateSS : optPreventSS;
        for (int i = 0; i < kCornerCount; ++i) {
            options[i].Index = i;
            options[i].Create(*this, kCorners[i], X((i % 2) * (optionWidth + 12)), Y((i / 2) * (kRowHeight + 2)),
                              X(optionWidth), Y(kRowHeight), i == 0);
            options[i].SetContainer(Frame2[group]);
        }
    }
    const int labelWidth = 170, boxLeft = inner + labelWidth + 4;
    for (int row = 0; row < 2; ++row) {
        const int top = frameTop + 128 + row * 30;
        platform::Label& caption = row == 0 ? lblCornerSize[0] : lblDelayActivate[0];
        platform::TextBox& box = row == 0 ? txtCornerSize : txtDelayActivate;
        platform::ScrollBar& bar = row == 0 ? scrCornerSize : scrDelayActivate;
        platform::Label& unit = row == 0 ? lblCornerSize[1] : lblDelayActivate[1];
        caption.Create(*this, row == 0 ? "&Hot corner detection area:" : "D&elay before activating:", X(inner),
                       Y(top + 3), X(labelWidth), Y(16));
        ShowMnemonic(caption);
        box.Create(*this, "", X(boxLeft), Y(top), X(34), Y(22), ES_RIGHT);
        bar.Create(*this, false, X(boxLeft + 34), Y(top - 2), X(16), Y(26));
        unit.Index = 1;
        unit.Create(*this, row == 0 ? "pixels" : "seconds", X(boxLeft + 56), Y(top + 3), X(70), Y(16));
    }
    scrCornerSize.SetRange(kCornerSizeMin, kCornerSizeMax);
    scrCornerSize.LargeChange = 5;
    scrDelayActivate.SetRange(kActivateDelayMin, kActivateDelayMax);
    // The frame goes under what it holds, which it then does not paint over.
    AddStyle(Frame1, WS_CLIPSIBLINGS);
    SetWindowPos(Frame1.hWnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // StartUp shortcut
    const int shortcutTop = frameTop + 190 + 12;
    Label1.Create(*this, "StartUp shortcut:", X(left), Y(shortcutTop + 5), X(100), Y(16));
    cmdStartupCreate.Create(*this, "Create", X(left + 104), Y(shortcutTop), X(76), Y(kButtonHeight));
    cmdStartupRemove.Create(*this, "Remove", X(left + 186), Y(shortcutTop), X(76), Y(kButtonHeight));

    // Endings
    const int bottomRow = kClientHeight - kMargin - kButtonHeight - 4, buttonWidth = 80, gap = 6;
    lblVersion.Create(*this, "0.0.0", X(left), Y(bottomRow + 5), X(90), Y(16));
    platform::CommandButton* buttons[] = {&cmdAbout, &cmdRun, &cmdOK};
    const char* captions[] = {"About...", "OK", "Exit"};
    for (int i = 0; i < 3; ++i)
        buttons[i]->Create(*this, captions[i], X(right - (3 - i) * buttonWidth - (2 - i) * gap), Y(bottomRow),
                           X(buttonWidth), Y(kButtonHeight), i == 1);

    HotCorners_Timer.Create(*this, kHotCornersInterval, false);
    for (int i = 1; i <= 4; ++i) {
        trayIcons_[i] = MakeTrayIcon(i);
        TrayIcon[i].Index = i;
        TrayIcon[i].Create(*this, 0, 0, X(16), Y(16));
        TrayIcon[i].SetVisible(false);
        TrayIcon[i].SetIcon(trayIcons_[i]);
    }
}

void MainForm::CreateMenus() {
    TrayIcon_Popup.Create(*this, "Commands", false);
    TrayIcon_Popup_Exit.Create(TrayIcon_Popup, "Exit");
    zsep00.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_Run.Create(TrayIcon_Popup, "Sorvita Applications");
    TrayIcon_Popup_RunSVSS_Preview.Create(TrayIcon_Popup_Run, "Slide Saver - Preview");
    TrayIcon_Popup_RunSVSS_Setup.Create(TrayIcon_Popup_Run, "Slide Saver - Setup");
    zsep01.Create(TrayIcon_Popup_Run, "-");
    TrayIcon_Popup_RunSVBC.Create(TrayIcon_Popup_Run, "Backdrop Changer");
    TrayIcon_Popup_RunSVIG.Create(TrayIcon_Popup_Run, "Image Gallery");
    TrayIcon_Popup_RunSVPI.Create(TrayIcon_Popup_Run, "Paste Inspector");
    TrayIcon_Popup_RunSVCB.Create(TrayIcon_Popup_Run, "Catalog Builder");
    TrayIcon_Popup_ControlPanel.Create(TrayIcon_Popup, "Control Panel Applets");
    TrayIcon_Popup_DisProp.Create(TrayIcon_Popup_ControlPanel, "Display Properties");
    TrayIcon_Popup_DisPropSlideSaver.Create(TrayIcon_Popup_DisProp, "Slide Saver");
    TrayIcon_Popup_DisPropBackground.Create(TrayIcon_Popup_DisProp, "Background");
    TrayIcon_Popup_DisPropAppearance.Create(TrayIcon_Popup_DisProp, "Appearance");
    TrayIcon_Popup_DisPropSettings.Create(TrayIcon_Popup_DisProp, "Settings");
    TrayIcon_Popup_MouseProp.Create(TrayIcon_Popup_ControlPanel, "Mouse Properties");
    TrayIcon_Popup_AccessOpt.Create(TrayIcon_Popup_ControlPanel, "Accessibility Properties");
    zsep02.Create(TrayIcon_Popup_ControlPanel, "-");
    TrayIcon_Popup_RunCP.Create(TrayIcon_Popup_ControlPanel, "Control Panel");
    zsep03.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_HotCornerActivateSS.Create(TrayIcon_Popup, "Activate Hot Corner On");
    TrayIcon_Popup_HotCornerPreventSS.Create(TrayIcon_Popup, "Disable Hot Corner On");
    zsep04.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_ActivateSS.Create(TrayIcon_Popup, "Activate Slide Saver");
    TrayIcon_Popup_DisableSS.Create(TrayIcon_Popup, "Disable Slide Saver");
    TrayIcon_Popup_ConfigureSS.Create(TrayIcon_Popup, "Configure Slide Saver");
    zsep05.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_ResetWP.Create(TrayIcon_Popup, "Reset Wallpaper Style");
    TrayIcon_Popup_ResetWP_Center.Create(TrayIcon_Popup_ResetWP, "Center");
    TrayIcon_Popup_ResetWP_Tile.Create(TrayIcon_Popup_ResetWP, "Tile");
    TrayIcon_Popup_ResetWP_Stretch.Create(TrayIcon_Popup_ResetWP, "Stretch");
    TrayIcon_Popup_ClearWP.Create(TrayIcon_Popup, "Clear Wallpaper");
    zsep06.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_ClearClipboard.Create(TrayIcon_Popup, "Clear Clipboard");
    zsep07.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_BlankScreen.Create(TrayIcon_Popup, "Blank Screen");
    TrayIcon_Popup_ShowDesktop.Create(TrayIcon_Popup, "Show Desktop");
    TrayIcon_Popup_DV.Create(TrayIcon_Popup, "Desktop View");
    for (int i = 0; i < 4; ++i) {
        TrayIcon_Popup_DVStyle[i].Index = i;
        TrayIcon_Popup_DVStyle[i].Create(TrayIcon_Popup_DV, kDesktopViews[i]);
    }
    zep10.Create(TrayIcon_Popup_DV, "-");
    for (int i = 0; i < 2; ++i) {
        TrayIcon_Popup_DVText[i].Index = i;
        TrayIcon_Popup_DVText[i].Create(TrayIcon_Popup_DV, i == 0 ? "Normal Text" : "Transparent Text");
    }
    zsep09.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_Restore.Create(TrayIcon_Popup, "Setup...");
}

void MainForm::WireEvents() {
    cboDesktopView.Click = [this] { cboDesktopView_Click(); };
    chkDesktopTransparent.Click = [this] { chkDesktopTransparent_Click(); };
    chkActivateSS.Click = [this] { chkActivateSS_Click(); };
    chkPreventSS.Click = [this] { chkPreventSS_Click(); };
    for (int i = 0; i < kCornerCount; ++i) {
        optActivateSS[i].Click = [this, i] { optActivateSS_Click(i); };
        optPreventSS[i].Click = [this, i] { optPreventSS_Click(i); };
    }
    scrCornerSize.Change = scrCornerSize.Scroll = [this] { scrCornerSize_Change(); };
    scrDelayActivate.Change = scrDelayActivate.Scroll = [this] { scrDelayActivate_Change(); };
    SetWindowSubclass(txtCornerSize.hWnd(), &PassFocusProc, 1, reinterpret_cast<DWORD_PTR>(scrCornerSize.hWnd()));
    SetWindowSubclass(txtDelayActivate.hWnd(), &PassFocusProc, 1,
                      reinterpret_cast<DWORD_PTR>(scrDelayActivate.hWnd()));
    cmdRun.Click = [this] { cmdRun_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdAbout.Click = [this] { cmdAbout_Click(); };
    cmdStartupCreate.Click = [this] { cmdStartupCreate_Click(); };
    cmdStartupRemove.Click = [this] { cmdStartupRemove_Click(); };
    HotCorners_Timer.Tick = [this] { HotCorners_Timer_Timer(); };

    // Tray menu
    TrayIcon_Popup_Exit.Click = [this] { cmdOK_Click(); };
    TrayIcon_Popup_RunSVSS_Preview.Click = [this] { RunSuiteProgram(kSlideSaverFile, "/S"); };
    TrayIcon_Popup_RunSVSS_Setup.Click = [this] { RunSuiteProgram(kSlideSaverFile, ""); };
    TrayIcon_Popup_RunSVBC.Click = [this] { RunSuiteProgram(kBackdropChangerFile, ""); };
    TrayIcon_Popup_RunSVIG.Click = [this] { RunSuiteProgram(kImageGalleryFile, ""); };
    TrayIcon_Popup_RunSVPI.Click = [this] { RunSuiteProgram(kPasteInspectorFile, ""); };
    TrayIcon_Popup_RunSVCB.Click = [] {
        platform::MsgBox(std::string(kCatalogBuilder1) + kCatalogBuilder2, platform::kMsgInformation);
    };
    TrayIcon_Popup_DisPropSlideSaver.Click = [this] { RunControlPanelApplet(kSlideSaverApplet); };
    TrayIcon_Popup_DisPropBackground.Click = [this] { RunControlPanelApplet("desk.cpl,,0"); };
    TrayIcon_Popup_DisPropAppearance.Click = [this] { RunControlPanelApplet("desk.cpl,,2"); };
    TrayIcon_Popup_DisPropSettings.Click = [this] { RunControlPanelApplet("desk.cpl,,3"); };
    TrayIcon_Popup_MouseProp.Click = [this] { RunControlPanelApplet("main.cpl @0"); };
    TrayIcon_Popup_AccessOpt.Click = [this] { RunControlPanelApplet("access.cpl"); };
    TrayIcon_Popup_RunCP.Click = [] {
        if (const unsigned long error = StartProgram(common::SystemFolder(true) + kControlPanel, ""))
            platform::MsgBox(std::string(kAppletError1) + kControlPanelError2 + TwoLines() + SystemError(error),
                             platform::kMsgWarning);
    };
    TrayIcon_Popup_HotCornerActivateSS.Click = [this] { chkActivateSS.SetValue(chkActivateSS.Value() ? 0 : 1); };
    TrayIcon_Popup_HotCornerPreventSS.Click = [this] { chkPreventSS.SetValue(chkPreventSS.Value() ? 0 : 1); };
    TrayIcon_Popup_ActivateSS.Click = [this] { StartSaverNow(true); };
    TrayIcon_Popup_DisableSS.Click = [this] { SetSaverActive(TrayIcon_Popup_DisableSS.Checked(), true); };
    TrayIcon_Popup_ConfigureSS.Click = [this] { ConfigureSaver(); };
    TrayIcon_Popup_ResetWP_Center.Click = [] { common::ResetWallpaperStyle(common::kStyleCenter, false); };
    TrayIcon_Popup_ResetWP_Tile.Click = [] { common::ResetWallpaperStyle(common::kStyleTile, false); };
    TrayIcon_Popup_ResetWP_Stretch.Click = [] { common::ResetWallpaperStyle(common::kStyleStretch, false); };
    TrayIcon_Popup_ClearWP.Click = [] { common::ClearWallpaper(common::WallpaperFilePath(), false); };
    TrayIcon_Popup_ClearClipboard.Click = [this] { ClearClipboard(); };
    TrayIcon_Popup_BlankScreen.Click = [this] {
        SuspendTimers(true);
        common::ShowBlankScreen();
        SuspendTimers(false);
    };
    TrayIcon_Popup_ShowDesktop.Click = [] { common::ShowDesktop(false); };
    // These change the desktop only, not the window's controls or the settings.
    for (int i = 0; i < 4; ++i)
        TrayIcon_Popup_DVStyle[i].Click = [i] { common::SetDesktopViewStyle(common::ViewCodeFromMenuPosition(i)); };
    for (int i = 0; i < 2; ++i) TrayIcon_Popup_DVText[i].Click = [i] { common::SetDesktopTextBackground(i == 1); };
}

// ---------------------------------------------------------------- load and end

void MainForm::Form_Load() {
    // 1. and 2.
    SetCaption(platform::App().Title + kSetupCaptionEnd);
    int divisor = 2;
    common::PlaceFormOnDesktop(*this, divisor);
    CreateControls();
    CreateMenus();
    WireEvents();
    // 3.
    InitTrayOwner();
    // 4.
    const platform::Application& app = platform::App();
    lblVersion.SetText(common::VersionLabel(app.Major, app.Minor, app.Revision));
    lblVersion.SetToolTipText(common::RevisionToolTip(app.Revision));
    // 5. to 7.
    LoadOptions();
    TrayIconIndex = kTrayIconNormal;
    GoToTray();
    // 8. Only the menu and the picture follow Windows here; Windows is left as it is.
    BOOL active = TRUE;
    if (platform::seams::SystemParametersInfoA(kGetScreenSaveActive, 0, &active, 0) && !active)
        SetSaverActive(false, false);
}

void MainForm::LoadOptions() {
    // 1. and 2.
    ActivateCorner = NumberSetting(Setting(kActivateCornerKey, "0"), 0, 3, 0);
    optActivateSS[ActivateCorner].SetValue(true);
    PreventCorner = NumberSetting(Setting(kPreventCornerKey, "1"), 0, 3, 1);
    optPreventSS[PreventCorner].SetValue(true);
    // 3. and 4. The bars run opposite to the numbers.
    CornerSize = NumberSetting(Setting(kCornerSizeKey, "3"), kCornerSizeMin, kCornerSizeMax, 3);
    scrCornerSize.SetValue(ReverseScroll(scrCornerSize.Max(), CornerSize, scrCornerSize.Min()));
    scrCornerSize_Change();
    ActivateDelay = NumberSetting(Setting(kActivateDelayKey, "1"), kActivateDelayMin, kActivateDelayMax, 1);
    scrDelayActivate.SetValue(ReverseScroll(scrDelayActivate.Max(), ActivateDelay, scrDelayActivate.Min()));
    scrDelayActivate_Change();
    // 5. The text background is applied even when its box keeps its value.
    chkActivateSS.SetValue(FlagSetting(Setting(kActivateOnKey, "0"), false));
    chkPreventSS.SetValue(FlagSetting(Setting(kPreventOnKey, "0"), false));
    chk2ColumnMenu.SetValue(FlagSetting(Setting(kTwoColumnKey, "0"), false));
    chkDesktopTransparent.SetValue(FlagSetting(Setting(kDesktopTextKey, "0"), false));
    chkDesktopTransparent_Click();
    // 6.
    cboDesktopView.SetListIndex(NumberSetting(Setting(kDesktopViewKey, "0"), 0, 3, 0));
    // 7.
    EnableHotCornerControls();
}

void MainForm::SaveOptions() {
    SaveSetting(kActivateOnKey, chkActivateSS.Value());
    SaveSetting(kPreventOnKey, chkPreventSS.Value());
    SaveSetting(kActivateCornerKey, ActivateCorner);
    SaveSetting(kPreventCornerKey, PreventCorner);
    SaveSetting(kCornerSizeKey, CornerSize);
    SaveSetting(kActivateDelayKey, ActivateDelay);
    SaveSetting(kTwoColumnKey, chk2ColumnMenu.Value());
    SaveSetting(kDesktopTextKey, chkDesktopTransparent.Value());
    SaveSetting(kDesktopViewKey, cboDesktopView.ListIndex());
}

void MainForm::Form_Unload() {
    HotCorners_Timer.SetEnabled(false);
    // 1. and 2.
    BOOL active = TRUE;
    if (!platform::seams::SystemParametersInfoA(kGetScreenSaveActive, 0, &active, 0))
        active = !TrayIcon_Popup_DisableSS.Checked();
    if (!active && platform::MsgBox(std::string(kEnableQuestion1) + kEnableQuestion2, platform::kMsgQuestion) == IDYES)
        SetSaverActive(true, true);
    // 3. and 4.
    SaveOptions();
    TrayOwner::Form_Unload();
    // The shell has let go of the pictures with the icon.
    DestroyTrayIcons();
}

void MainForm::cmdOK_Click() { Unload(); }

void MainForm::cmdRun_Click() { MinimizeToTray(); }

void MainForm::cmdAbout_Click() { common::ShowAboutMessage(); }

void MainForm::cmdStartupCreate_Click() {
    if (!common::CreateStartupShortcut(hWnd())) return;
    platform::MsgBox(common::StartupShortcutCreatedText(platform::App().Title), platform::kMsgInformation);
}

void MainForm::cmdStartupRemove_Click() {
    if (!common::RemoveStartupShortcut(hWnd())) return;
    platform::MsgBox(common::StartupShortcutRemovedText(platform::App().Title), platform::kMsgInformation);
}

// ---------------------------------------------------------------- options

void MainForm::cboDesktopView_Click() {
    const int index = cboDesktopView.ListIndex();
    if (index < 0) return;
    common::SetDesktopViewStyle(common::ViewCodeFromMenuPosition(index));
}

void MainForm::chkDesktopTransparent_Click() {
    common::SetDesktopTextBackground(chkDesktopTransparent.Value() == 1);
}

void MainForm::EnableHotCornerControls() {
    const bool activate = chkActivateSS.Value() == 1, prevent = chkPreventSS.Value() == 1;
    HotCorners_Timer.SetEnabled(activate || prevent);
    for (auto& option : optActivateSS) option.SetEnabled(activate);
    for (auto& option : optPreventSS) option.SetEnabled(prevent);
    txtCornerSize.SetEnabled(activate || prevent);
    scrCornerSize.SetEnabled(activate || prevent);
    txtDelayActivate.SetEnabled(activate);
    scrDelayActivate.SetEnabled(activate);
}

void MainForm::chkActivateSS_Click() {
    TrayIcon_Popup_HotCornerActivateSS.SetChecked(chkActivateSS.Value() == 1);
    EnableHotCornerControls();
}

void MainForm::chkPreventSS_Click() {
    TrayIcon_Popup_HotCornerPreventSS.SetChecked(chkPreventSS.Value() == 1);
    EnableHotCornerControls();
}

void MainForm::optActivateSS_Click(int index) {
    if (!optActivateSS[index].Value()) return;
    ActivateCorner = index;
    // The two corners never stay equal: the other option moves on.
    if (optPreventSS[index].Value()) optPreventSS[NextCorner(index)].SetValue(true);
}

void MainForm::optPreventSS_Click(int index) {
    if (!optPreventSS[index].Value()) return;
    PreventCorner = index;
    if (optActivateSS[index].Value()) optActivateSS[NextCorner(index)].SetValue(true);
}

void MainForm::scrCornerSize_Change() {
    CornerSize = ReverseScroll(scrCornerSize.Max(), scrCornerSize.Value(), scrCornerSize.Min());
    txtCornerSize.SetText(std::to_string(CornerSize));
    lblCornerSize[1].SetText(CornerSizeUnit(CornerSize));
}

void MainForm::scrDelayActivate_Change() {
    ActivateDelay = ReverseScroll(scrDelayActivate.Max(), scrDelayActivate.Value(), scrDelayActivate.Min());
    txtDelayActivate.SetText(std::to_string(ActivateDelay));
    lblDelayActivate[1].SetText(DelayUnit(ActivateDelay));
}

// ---------------------------------------------------------------- tray commands

void MainForm::SuspendTimers(bool suspend) {
    if (suspend) {
        hotCornersWasEnabled_ = HotCorners_Timer.Enabled();
        trayTimerWasEnabled_ = TrayIcon_Timer.Enabled();
        HotCorners_Timer.SetEnabled(false);
        TrayIcon_Timer.SetEnabled(false);
    } else {
        HotCorners_Timer.SetEnabled(hotCornersWasEnabled_);
        TrayIcon_Timer.SetEnabled(trayTimerWasEnabled_);
    }
}

void MainForm::BeforeTrayMenu() { TrayIcon_Popup_ClearClipboard.SetEnabled(ClipboardHoldsData()); }

void MainForm::RunSuiteProgram(const std::string& fileName, const std::string& arguments) {
    const std::string title = ProgramTitle(fileName);
    // The records the programs write at start-up, then the Windows folder, then the user.
    std::string path =
        platform::Trim(common::GetRegValue(HKEY_LOCAL_MACHINE, kAppPathsKey + fileName, "", "", true));
    if (!common::FileExists(path))
        path = platform::Trim(common::GetRegValue(
            HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\" + title + "\\Settings", "App Path", "", true));
    if (!common::FileExists(path)) path = common::WindowsFolder(true) + fileName;
    std::string lastFolder;
    while (!common::FileExists(path)) {
        const std::string folder =
            common::BrowseForFolder(hWnd(), kFolderPrompt1 + std::string(kFolderPrompt2) + title + ":", lastFolder);
        if (folder.empty()) return;
        lastFolder = folder;
        path = FileInFolder(folder, fileName);
        if (common::FileExists(path)) break;
        platform::MsgBox(kFolderLacksFile1 + folder + kFolderLacksFile2 + kFolderLacksFile3 + fileName +
                             kFolderLacksFile4,
                         platform::kMsgInformation);
    }
    if (const unsigned long error = StartProgram(path, arguments))
        platform::MsgBox(kRunError1 + path + kRunError2 + TwoLines() + SystemError(error), platform::kMsgWarning);
}

void MainForm::RunControlPanelApplet(const std::string& applet) {
    if (const unsigned long error = StartProgram(common::SystemFolder(true) + kRunDll, kControlRunDll + applet))
        platform::MsgBox(std::string(kAppletError1) + kAppletError2 + TwoLines() + SystemError(error),
                         platform::kMsgWarning);
}

void MainForm::ClearClipboard() {
    bool cleared = false;
    DWORD error = 0;
    if (OpenClipboard(hWnd())) {
        cleared = EmptyClipboard() != FALSE;
        if (!cleared) error = GetLastError();
        CloseClipboard();
    } else {
        error = GetLastError();
    }
    if (!cleared)
        platform::MsgBox(std::string(kClipboardError1) + kClipboardError2 + TwoLines() + SystemError(error),
                         platform::kMsgWarning);
}

// ---------------------------------------------------------------- hot corners and the screen saver

void MainForm::ShowTrayIcon() { common::TaskBar().ChangeIcon(TrayIconPicture(), 1); }

bool MainForm::IsMouseInCorner(int corner) {
    // The corners of the whole desk: on one monitor, the screen's.
    if (monitors_.empty()) monitors_ = common::GetDeskMonitors();
    const common::MonitorBox area = common::DeskCornerMonitor(corner, monitors_);
    POINT pointer{};
    platform::seams::GetCursorPos(&pointer);
    // On that monitor: beside it, on another monitor, the pointer is in no corner of it.
    if (pointer.x < area.Left || pointer.x >= area.Right || pointer.y < area.Top || pointer.y >= area.Bottom)
        return false;
    return PointInCorner(corner, pointer.x, pointer.y, area.Left, area.Top, area.Right, area.Bottom, CornerSize);
}

LRESULT MainForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A monitor added, removed or moved, or a new resolution: the corners move with the desk.
    if (message == WM_DISPLAYCHANGE) monitors_ = common::GetDeskMonitors();
    return common::TrayOwner::WindowProc(message, wParam, lParam);
}

void MainForm::HotCorners_Timer_Timer() {
    int remembered = 0;  // the picture before the wait; 0 while there was none this tick
    // 1. The activation corner.
    if (chkActivateSS.Value() == 1 && IsMouseInCorner(ActivateCorner)) {
        if (CornerActivated) return;
        remembered = TrayIconIndex;
        TrayIconIndex = kTrayIconWaiting;
        ShowTrayIcon();
        // The wait is made of two halves, the pointer looked at after each.
        const DWORD half = static_cast<DWORD>(ActivateDelay) * 500;
        platform::seams::Sleep(half);
        if (IsMouseInCorner(ActivateCorner)) {
            platform::seams::Sleep(half);
            if (IsMouseInCorner(ActivateCorner)) {
                CornerActivated = true;
                if (StartSaverNow(false)) return;
            }
        }
    }
    // 2. Out of the activation corner, or the option off, or the start failed.
    if (CornerActivated) {
        CornerActivated = false;
        TrayIconIndex = remembered > 0 ? remembered : kTrayIconNormal;
        ShowTrayIcon();
        if (SavedScreenSaveTimeout > 0) {
            const bool restored = SetScreenSaveTimeout(SavedScreenSaveTimeout);
            SavedScreenSaveTimeout = 0;
            if (!restored)
                platform::MsgBox(std::string(kResetTimeoutError1) + kResetTimeoutError2, platform::kMsgWarning);
        }
    }
    // 3. The wait was cut short.
    if (TrayIconIndex > kTrayIconSaverOff) {
        TrayIconIndex = remembered > 0 ? remembered : kTrayIconNormal;
        ShowTrayIcon();
    }
    // 4. and 5. The prevention corner.
    if (chkPreventSS.Value() == 1 && IsMouseInCorner(PreventCorner)) {
        if (!CornerPrevented) {
            CornerPrevented = true;
            SetSaverActive(false, true);
        }
        return;
    }
    if (CornerPrevented) {
        CornerPrevented = false;
        SetSaverActive(true, true);
    }
}

bool MainForm::SetScreenSaveTimeout(int32_t seconds) {
    return platform::seams::SystemParametersInfoA(kSetScreenSaveTimeout, static_cast<UINT>(seconds), nullptr,
                                                  kSendWinIniChange) != FALSE;
}

bool MainForm::SetSaverActive(bool active, bool apply) {
    bool done = true;
    // The boolean goes over as a 32-bit value: -1 on, 0 off.
    if (apply)
        done = platform::seams::SystemParametersInfoA(kSetScreenSaveActive, active ? static_cast<UINT>(-1) : 0u,
                                                      nullptr, kSendWinIniChange) != FALSE;
    if (!done) {
        platform::MsgBox(std::string(kActiveError1) + kActiveError2, platform::kMsgWarning);
        return false;
    }
    TrayIcon_Popup_DisableSS.SetChecked(!active);
    if (TrayIconIndex < kTrayIconStarting) {
        TrayIconIndex = active ? kTrayIconNormal : kTrayIconSaverOff;
        ShowTrayIcon();
    }
    return true;
}

bool MainForm::StartSaverNow(bool waitAndRestore) {
    auto timeoutError = [](const char* operation) {
        platform::MsgBox(kTimeoutError1 + std::string(operation) + kTimeoutError2, platform::kMsgWarning);
    };
    // 1. and 2.
    if (GetSaverFile().empty()) return false;
    if (!SetSaverActive(true, true)) return false;
    // 3. and 4. Windows starts the saver itself once the one-second time-out has passed.
    UINT timeout = 0;
    if (!platform::seams::SystemParametersInfoA(kGetScreenSaveTimeout, 0, &timeout, 0)) {
        timeoutError("get");
        return false;
    }
    SavedScreenSaveTimeout = static_cast<int32_t>(timeout);
    if (!SetScreenSaveTimeout(1)) {
        timeoutError("set");
        return false;
    }
    // 5. and 6.
    TrayIconIndex = kTrayIconStarting;
    ShowTrayIcon();
    if (!waitAndRestore) return true;
    // 7.
    platform::seams::Sleep(kStartSaverWait);
    TrayIconIndex = kTrayIconNormal;
    ShowTrayIcon();
    if (SavedScreenSaveTimeout < 1) return true;
    const bool restored = SetScreenSaveTimeout(SavedScreenSaveTimeout);
    SavedScreenSaveTimeout = 0;
    if (!restored) timeoutError("reset");
    return true;
}

std::string MainForm::GetSaverFile() {
    std::string path =
        platform::Trim(common::GetRegValue(HKEY_CURRENT_USER, common::kDesktopKey, kSaverValue, "", true));
    if (path.empty()) path = platform::Trim(ReadIniSetting(kSystemIni, kBootSection, kSaverValue, "", true));
    if (common::FileExists(path)) return path;
    const std::string question = std::string(kNoSaver1) + kNoSaver2 + TwoLines() + kNoSaver3 + kNoSaver4;
    if (platform::MsgBox(question, platform::kMsgQuestion) == IDYES) RunControlPanelApplet(kSlideSaverApplet);
    return "";
}

void MainForm::ConfigureSaver() {
    const std::string path = GetSaverFile();
    if (path.empty()) return;
    if (const unsigned long error = StartProgram(path, ""))
        platform::MsgBox(std::string(kConfigureError1) + kConfigureError2 + TwoLines() + SystemError(error),
                         platform::kMsgWarning);
}

}  // namespace desk_commander
