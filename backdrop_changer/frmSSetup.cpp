#include "backdrop_changer/frmSSetup.h"

#include <commctrl.h>

#include "backdrop_changer/SetupRules_.h"
#include "common/VersionText_.h"
#include "common/About.h"
#include "common/BrowseForFolder_.h"
#include "common/CreateStartupLink_.h"
#include "common/FileFolderExists_.h"
#include "common/FileFolderFunctions_.h"
#include "common/FolderWalk_.h"
#include "common/FitStuff_.h"
#include "common/GetDesktopSize_.h"
#include "common/PicFolderList_.h"
#include "common/SettingsApp_.h"
#include "common/SettingsReg_.h"
#include "common/ShellCommands_.h"
#include "common/TextFunctions_.h"
#include "common/WindowsWallpaper_.h"
#include "common/frmBlankScreen.h"
#include "picture_browser/frmWallpaper.h"
#include "platform/App.h"
#include "platform/Format.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"

namespace backdrop_changer {

std::unique_ptr<frmSSetup> SetupWindow;

namespace {

int X(int pixels) { return platform::DesignTwips(pixels); }
int Y(int pixels) { return platform::DesignTwips(pixels); }

// Layout in pixels of the client area.
constexpr int kClientWidth = 480;
constexpr int kClientHeight = 430;
constexpr int kMargin = 8;
constexpr int kButtonHeight = 25;
constexpr int kRowHeight = 20;
constexpr int kPageWidth = 448;
constexpr int kPageHeight = 150;

constexpr const char* kPicFolderTip = "Browse for folder.";
constexpr const char* kRemoveFolderTip = "Remove current folder.";
constexpr const char* kClearListTip = "Clear folder list.";
constexpr const char* kSkipErrorsTip = "When on, an error message will still be displayed if there are 10 consecutive errors.";
constexpr const char* kDelayDesignText = "5 h 59 m 59 s";
constexpr int kMaxDelay = 21600;

const char* const kDesktopViews[] = {"Large Icons", "Small Icons", "List", "Details"};

void AddStyle(platform::Control& control, LONG style) {
    SetWindowLongA(control.hWnd(), GWL_STYLE, GetWindowLongA(control.hWnd(), GWL_STYLE) | style);
}

// The tile percentage is never typed: the text box hands its focus to the scroll bar.
LRESULT CALLBACK PassFocusProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_SETFOCUS) {
        SetFocus(reinterpret_cast<HWND>(data));
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

HFONT BoldOf(HFONT font) {
    LOGFONTA logFont{};
    GetObjectA(font, sizeof logFont, &logFont);
    logFont.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&logFont);
}

}  // namespace

frmSSetup::~frmSSetup() {
    if (boldFont_) DeleteObject(boldFont_);
    if (trayIcon_) DestroyIcon(trayIcon_);
}

platform::FormStyle frmSSetup::Style() const {
    return platform::FixedWindowStyle(kClientWidth, kClientHeight, platform::App().Title + kSetupCaptionEnd);
}

// ---------------------------------------------------------------- building the window

void frmSSetup::CreateControls() {
    const int right = kClientWidth - kMargin;
    const int inner = kMargin + 8;
    // The folder
    frPicFolder.Create(*this, kFolderFrameCaption, X(kMargin), Y(4), X(right - kMargin), Y(76));
    const int smallButton = 24;
    const int buttonsLeft = right - 8 - 3 * smallButton - 4;
    cboPicFolder.Create(*this, X(inner), Y(24), X(buttonsLeft - 4 - inner), Y(260), CBS_DROPDOWNLIST);
    cmdPicFolder.Create(*this, "...", X(buttonsLeft), Y(23), X(smallButton), Y(23));
    cmdPicFolder.SetToolTipText(kPicFolderTip);
    for (int i = 0; i < 2; ++i) {
        cmdClearList[i].Index = i;
        cmdClearList[i].Create(*this, i == 0 ? "-" : "x", X(buttonsLeft + (i + 1) * (smallButton + 2)), Y(23),
                               X(smallButton), Y(23));
        cmdClearList[i].SetToolTipText(i == 0 ? kRemoveFolderTip : kClearListTip);
    }
    chkIncludeSubsfolders.Create(*this, "I&nclude the pics in all subfolders of the selected folder", X(inner), Y(52),
                                 X(right - 8 - inner), Y(kRowHeight));

    // The delays
    frSpeed.Create(*this, "Delay between showing each pic", X(kMargin), Y(86), X(right - kMargin), Y(70));
    const int optionWidth = 76, labelWidth = 110;
    const int barLeft = inner + optionWidth, barWidth = right - 8 - labelWidth - 8 - barLeft;
    for (int i = 0; i < 2; ++i) {
        const int top = 104 + i * 25;
        optSpeed[i].Index = i;
        optSpeed[i].Create(*this, i == 0 ? "&Startup:" : "&Other:", X(inner), Y(top), X(optionWidth - 4),
                           Y(kRowHeight), i == 0);
        platform::ScrollBar& bar = i == 0 ? scrSpeed : scrQuick;
        bar.Create(*this, true, X(barLeft), Y(top + 2), X(barWidth), Y(17));
        bar.SetRange(1, kMaxDelay);
        bar.SmallChange = 1;
        bar.LargeChange = 60;
        platform::Label& label = i == 0 ? lblSpeed : lblQuick;
        label.Create(*this, kDelayDesignText, X(right - 8 - labelWidth), Y(top + 3), X(labelWidth), Y(16));
    }

    // The option pages
    frOptions.Create(*this, "Behavioral settings", X(kMargin), Y(164), X(right - kMargin), Y(196));
    // Ends the group of optSpeed.
    AddStyle(frOptions, WS_GROUP);
    for (int i = 0; i < 3; ++i) {
        Check1[i].Index = i;
        static const char* const kPageCaptions[] = {"&1", "&2", "&3"};
        Check1[i].Create(*this, kPageCaptions[i], X(inner + i * 34), Y(182), X(30), Y(22));
        AddStyle(Check1[i], BS_PUSHLIKE);
    }
    CreatePages();
    // The pages lie inside the frame's box: above it, and cut out of what the frame paints.
    AddStyle(frOptions, WS_CLIPSIBLINGS);
    for (auto& page : Frame1)
        SetWindowPos(page.hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // Actions
    const int row1 = 368, row2 = 398, buttonWidth = 86, gap = 6;
    chkActive.Create(*this, "Acti&ve", X(kMargin + 2), Y(row1 + 3), X(72), Y(kRowHeight));
    platform::CommandButton* actions[] = {&cmdWallpaper, &cmdClearWP, &cmdResetDesktop, &cmdAbout};
    const char* actionCaptions[] = {"&Browse...", "Clear &WP", "Reset >", "About..."};
    for (int i = 0; i < 4; ++i)
        actions[i]->Create(*this, actionCaptions[i], X(right - (4 - i) * buttonWidth - (3 - i) * gap), Y(row1),
                           X(buttonWidth), Y(kButtonHeight));
    lblVersion.Create(*this, "", X(kMargin + 2), Y(row2 + 5), X(90), Y(16));
    platform::CommandButton* endings[] = {&cmdRun, &cmdOK, &cmdCancel};
    const char* endingCaptions[] = {"OK", "Exit", "Cancel"};
    for (int i = 0; i < 3; ++i)
        endings[i]->Create(*this, endingCaptions[i], X(right - (3 - i) * buttonWidth - (2 - i) * gap), Y(row2),
                           X(buttonWidth), Y(kButtonHeight), i == 0);

    ssTimer.Create(*this, kFirstTickInterval, false);
    TrayIcon.Create(*this, 0, 0, X(16), Y(16));
    TrayIcon.SetVisible(false);
    // The notification area shows small icons at the system's DPI.
    trayIcon_ = platform::LoadProgramIcon(1, true);
    TrayIcon.SetIcon(trayIcon_);
}

void frmSSetup::CreatePages() {
    const int pageLeft = kMargin + 8, pageTop = 206;  // the page ends above the frame's bottom edge
    for (int i = 0; i < 3; ++i) {
        Frame1[i].Index = i;
        Frame1[i].Create(*this, X(pageLeft), Y(pageTop), X(kPageWidth), Y(kPageHeight), 0);
    }
    auto put = [](platform::Control& control, platform::PictureBox& page) { control.SetContainer(page); };
    const int w = kPageWidth;

    // Page 1
    chkShowPicsRandomly.Create(*this,
                               "Show the pics &randomly with possible repeats, instead of showing each one a single "
                               "time in a loop",
                               0, 0, X(w), Y(32));
    chkSkipPicErrors.Create(*this,
                            "&Go to the next pic if a load error occurs, instead of displaying an error message (see "
                            "tooltip)",
                            0, Y(36), X(w), Y(32));
    AddStyle(chkShowPicsRandomly, BS_MULTILINE);
    AddStyle(chkSkipPicErrors, BS_MULTILINE);
    chkSkipPicErrors.SetToolTipText(kSkipErrorsTip);
    chkStretchPics.Create(*this, "Stretch pics to &fill desktop size:", 0, Y(76), X(200), Y(kRowHeight));
    for (int i : {1, 0}) {
        optStretchPics[i].Index = i;
        optStretchPics[i].Create(*this, i == 1 ? "All pics" : "Big pics", X(i == 1 ? 206 : 286), Y(76), X(74),
                                 Y(kRowHeight), i == 1);
    }
    chkTilePics.Create(*this, "Til&e small pics when less than", 0, Y(106), X(186), Y(kRowHeight));
    // Ends the group of optStretchPics.
    AddStyle(chkTilePics, WS_GROUP);
    txtTilePicsPercent.Create(*this, "", X(190), Y(105), X(34), Y(22), ES_RIGHT);
    scrTilePicsPercent.Create(*this, false, X(224), Y(103), X(16), Y(26));
    scrTilePicsPercent.SetRange(1, 100);
    scrTilePicsPercent.LargeChange = 10;
    lblTilePics.Create(*this, "% of desktop size", X(246), Y(108), X(140), Y(16));
    chkMorePicTypes.Create(*this, common::kMorePicTypesCaption, 0, Y(130), X(w), Y(kRowHeight));
    for (platform::Control* control :
         std::initializer_list<platform::Control*>{&chkShowPicsRandomly, &chkSkipPicErrors, &chkStretchPics,
                                                   &optStretchPics[1], &optStretchPics[0], &chkTilePics,
                                                   &txtTilePicsPercent, &scrTilePicsPercent, &lblTilePics,
                                                   &chkMorePicTypes})
        put(*control, Frame1[0]);

    // Page 2
    lblDelayActivate.Create(*this, "Desktop view:", 0, Y(4), X(84), Y(16));
    cboDesktopView.Create(*this, X(88), 0, X(130), Y(120), CBS_DROPDOWNLIST);
    for (const char* view : kDesktopViews) cboDesktopView.AddItem(view);
    chkDesktopTransparent.Create(*this, "Make desktop icon text background transparent", 0, Y(28), X(w),
                                 Y(kRowHeight));
    chkRandomBackColor.Create(*this, "Use random background desktop &colors", 0, Y(50), X(w), Y(kRowHeight));
    frColor.Create(*this, "", 0, Y(72), X(w), Y(76));
    chkResetBackColor.Create(*this, "Reset the &desktop color on exit with this color:", X(8), Y(84), X(w - 16),
                             Y(kRowHeight));
    for (int i = 0; i < 2; ++i) {
        const int top = 104 + i * 21;
        optResetBackColor[i].Index = i;
        optResetBackColor[i].Create(*this,
                                    i == 0 ? "Set in Control &Panel at startup (saved)"
                                           : "In effect at st&artup (session only)",
                                    X(24), Y(top), X(330), Y(kRowHeight), i == 0);
        picDesktopColor[i].Index = i;
        picDesktopColor[i].Create(*this, X(366), Y(top + 2), X(40), Y(16));
    }
    for (platform::Control* control : std::initializer_list<platform::Control*>{
             &lblDelayActivate, &cboDesktopView, &chkDesktopTransparent, &chkRandomBackColor, &frColor,
             &chkResetBackColor, &optResetBackColor[0], &picDesktopColor[0], &optResetBackColor[1],
             &picDesktopColor[1]})
        put(*control, Frame1[1]);
    // The colour frame goes under its contents, which it then does not paint over; it also
    // ends the group of optResetBackColor.
    AddStyle(frColor, WS_GROUP);
    SetWindowPos(frColor.hWnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // Page 3
    chkDisplayTimeLeft.Create(*this, "Display info window with set file name and &time remaining", 0, 0, X(w),
                              Y(kRowHeight));
    chkClearWPExit.Create(*this, "Clear the wallpaper on e&xit", 0, Y(24), X(w), Y(kRowHeight));
    chk2ColumnMenu.Create(*this, "Use 2-column tray icon pop-up menu", 0, Y(48), X(w), Y(kRowHeight));
    Label1.Create(*this, "StartUp shortcut:", 0, Y(86), X(100), Y(16));
    cmdStartupCreate.Create(*this, "Create", X(104), Y(81), X(76), Y(kButtonHeight));
    cmdStartupRemove.Create(*this, "Remove", X(186), Y(81), X(76), Y(kButtonHeight));
    for (platform::Control* control : std::initializer_list<platform::Control*>{
             &chkDisplayTimeLeft, &chkClearWPExit, &chk2ColumnMenu, &Label1, &cmdStartupCreate, &cmdStartupRemove})
        put(*control, Frame1[2]);
}

void frmSSetup::CreateMenus() {
    TrayIcon_Popup.Create(*this, "Tray icon popup", false);
    TrayIcon_Popup_Exit.Create(TrayIcon_Popup, "Exit");
    TrayIcon_Popup_ExitNoClear.Create(TrayIcon_Popup, "Cancel");
    zsep00.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_Active.Create(TrayIcon_Popup, "Active");
    zsep01.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_DelayStartup.Create(TrayIcon_Popup, "Startup Delay");
    TrayIcon_Popup_DelayOther.Create(TrayIcon_Popup, "Other Delay");
    zsep02.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_InfoWindow.Create(TrayIcon_Popup, "Info Window");
    TrayIcon_Popup_OpenPic.Create(TrayIcon_Popup, "Open Pic");
    TrayIcon_Popup_Browse.Create(TrayIcon_Popup, "Browse Pics...");
    zsep03.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_NextPic.Create(TrayIcon_Popup, "Show Next Pic");
    TrayIcon_Popup_PrevPic.Create(TrayIcon_Popup, "Show Previous Pic");
    zsep04.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_ResetWP.Create(TrayIcon_Popup, "Reset Wallpaper Style");
    TrayIcon_Popup_ResetWP_Center.Create(TrayIcon_Popup_ResetWP, "Center");
    TrayIcon_Popup_ResetWP_Tile.Create(TrayIcon_Popup_ResetWP, "Tile");
    TrayIcon_Popup_ResetWP_Stretch.Create(TrayIcon_Popup_ResetWP, "Stretch");
    TrayIcon_Popup_ClearWP.Create(TrayIcon_Popup, "Clear Wallpaper");
    zsep05.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_BlankScreen.Create(TrayIcon_Popup, "Blank Screen");
    TrayIcon_Popup_ShowDesktop.Create(TrayIcon_Popup, "Show Desktop");
    TrayIcon_Popup_DV.Create(TrayIcon_Popup, "Desktop View");
    for (int i = 0; i < 4; ++i) {
        TrayIcon_Popup_DVStyle[i].Index = i;
        TrayIcon_Popup_DVStyle[i].Create(TrayIcon_Popup_DV, kDesktopViews[i]);
    }
    zsep07.Create(TrayIcon_Popup_DV, "-");
    for (int i = 0; i < 2; ++i) {
        TrayIcon_Popup_DVText[i].Index = i;
        TrayIcon_Popup_DVText[i].Create(TrayIcon_Popup_DV, i == 0 ? "Normal Text" : "Transparent Text");
    }
    zsep06.Create(TrayIcon_Popup, "-");
    TrayIcon_Popup_Restore.Create(TrayIcon_Popup, "Setup...");

    Reset_Popup.Create(*this, "Reset popup", false);
    Reset_Popup_DC.Create(Reset_Popup, "&Desktop Color");
    Reset_Popup_DC_ControlPanel.Create(Reset_Popup_DC, "Set in Control &Panel");
    Reset_Popup_DC_Startup.Create(Reset_Popup_DC, "In effect at st&artup");
    Reset_Popup_WP.Create(Reset_Popup, "&Wallpaper Style");
    Reset_Popup_WP_Center.Create(Reset_Popup_WP, "&Center");
    Reset_Popup_WP_Tile.Create(Reset_Popup_WP, "&Tile");
    Reset_Popup_WP_Stretch.Create(Reset_Popup_WP, "&Stretch");
}

void frmSSetup::WireEvents() {
    cmdRun.Click = [this] { cmdRun_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    chkActive.Click = [this] { chkActive_Click(); };
    cmdWallpaper.Click = [this] { cmdWallpaper_Click(); };
    cmdClearWP.Click = [this] { cmdClearWP_Click(); };
    cmdResetDesktop.Click = [this] { cmdResetDesktop_Click(); };
    cmdAbout.Click = [this] { cmdAbout_Click(); };
    cboPicFolder.Click = [this] { cboPicFolder_Click(); };
    cboPicFolder.DropDown = [this] { cboPicFolder_DropDown(); };
    cmdPicFolder.Click = [this] { cmdPicFolder_Click(); };
    for (int i = 0; i < 2; ++i) {
        cmdClearList[i].Click = [this, i] { cmdClearList_Click(i); };
        optSpeed[i].Click = [this, i] { optSpeed_Click(i); };
        optStretchPics[i].Click = [this, i] { optStretchPics_Click(i); };
        optResetBackColor[i].Click = [this, i] { optResetBackColor_Click(i); };
    }
    chkIncludeSubsfolders.Click = [this] { chkIncludeSubsfolders_Click(); };
    scrSpeed.Change = scrSpeed.Scroll = [this] { scrSpeed_Change(); };
    scrQuick.Change = scrQuick.Scroll = [this] { scrQuick_Change(); };
    for (int i = 0; i < 3; ++i) Check1[i].Click = [this, i] { Check1_Click(i); };
    chkShowPicsRandomly.Click = [this] { chkShowPicsRandomly_Click(); };
    chkSkipPicErrors.Click = [this] { chkSkipPicErrors_Click(); };
    chkMorePicTypes.Click = [this] { chkMorePicTypes_Click(); };
    chkStretchPics.Click = [this] { chkStretchPics_Click(); };
    chkTilePics.Click = [this] { chkTilePics_Click(); };
    scrTilePicsPercent.Change = scrTilePicsPercent.Scroll = [this] { scrTilePicsPercent_Change(); };
    SetWindowSubclass(txtTilePicsPercent.hWnd(), &PassFocusProc, 1,
                      reinterpret_cast<DWORD_PTR>(scrTilePicsPercent.hWnd()));
    cboDesktopView.Click = [this] { cboDesktopView_Click(); };
    chkDesktopTransparent.Click = [this] { chkDesktopTransparent_Click(); };
    chkRandomBackColor.Click = [this] { chkRandomBackColor_Click(); };
    chkResetBackColor.Click = [this] { chkResetBackColor_Click(); };
    chkDisplayTimeLeft.Click = [this] { chkDisplayTimeLeft_Click(); };
    chkClearWPExit.Click = [this] { chkClearWPExit_Click(); };
    chk2ColumnMenu.Click = [this] { chk2ColumnMenu_Click(); };
    cmdStartupCreate.Click = [this] { cmdStartupCreate_Click(); };
    cmdStartupRemove.Click = [this] { cmdStartupRemove_Click(); };
    ssTimer.Tick = [] { ssTimer_Timer(); };

    // Tray menu
    TrayIcon_Popup_Exit.Click = [this] { cmdOK_Click(); };
    TrayIcon_Popup_ExitNoClear.Click = [this] { cmdCancel_Click(); };
    TrayIcon_Popup_Active.Click = [this] { chkActive.SetValue(chkActive.Value() ? 0 : 1); };
    TrayIcon_Popup_DelayStartup.Click = [this] { optSpeed[0].SetValue(true); };
    TrayIcon_Popup_DelayOther.Click = [this] { optSpeed[1].SetValue(true); };
    TrayIcon_Popup_InfoWindow.Click = [this] { chkDisplayTimeLeft.SetValue(chkDisplayTimeLeft.Value() ? 0 : 1); };
    TrayIcon_Popup_OpenPic.Click = [this] { common::OpenWithShell(TrayIcon_Popup_InfoWindow.Tag, false, false); };
    TrayIcon_Popup_Browse.Click = [this] { BrowseAfterMenu = true; };
    TrayIcon_Popup_NextPic.Click = [] { ShowNextPicCommand(); };
    TrayIcon_Popup_PrevPic.Click = [] { ShowPreviousPicCommand(); };
    TrayIcon_Popup_ResetWP_Center.Click = Reset_Popup_WP_Center.Click = [] {
        common::ResetWallpaperStyle(common::kStyleCenter, false);
    };
    TrayIcon_Popup_ResetWP_Tile.Click = Reset_Popup_WP_Tile.Click = [] {
        common::ResetWallpaperStyle(common::kStyleTile, false);
    };
    TrayIcon_Popup_ResetWP_Stretch.Click = Reset_Popup_WP_Stretch.Click = [] {
        common::ResetWallpaperStyle(common::kStyleStretch, false);
    };
    TrayIcon_Popup_ClearWP.Click = [this] { cmdClearWP_Click(); };
    TrayIcon_Popup_BlankScreen.Click = [this] {
        SuspendTimers(true);
        common::ShowBlankScreen();
        SuspendTimers(false);
    };
    TrayIcon_Popup_ShowDesktop.Click = [] { common::ShowDesktop(false); };
    // These change the desktop only, not the settings.
    for (int i = 0; i < 4; ++i)
        TrayIcon_Popup_DVStyle[i].Click = [i] { common::SetDesktopViewStyle(common::ViewCodeFromMenuPosition(i)); };
    for (int i = 0; i < 2; ++i) TrayIcon_Popup_DVText[i].Click = [i] { common::SetDesktopTextBackground(i == 1); };
    Reset_Popup_DC_ControlPanel.Click = [this] { ResetDesktopColor(0); };
    Reset_Popup_DC_Startup.Click = [this] { ResetDesktopColor(1); };
}

// ---------------------------------------------------------------- load and end

void frmSSetup::Form_Load() {
    SetShowHost(this);
    // 1. caption and place
    SetCaption(platform::App().Title + kSetupCaptionEnd);
    int divisor = 2;
    common::PlaceFormOnDesktop(*this, divisor);
    // 2. fixed texts of the window and the tray menu
    CreateControls();
    CreateMenus();
    WireEvents();
    InitTrayOwner();
    const platform::Application& app = platform::App();
    lblVersion.SetText(common::VersionLabel(app.Major, app.Minor, app.Revision));
    lblVersion.SetToolTipText(common::RevisionToolTip(app.Revision));
    boldFont_ = BoldOf(platform::DefaultFont(Dpi()));
    Check1_Click(0);
    // 3.
    LoadSettings();
    // 4.
    Loading = true;
    CopySettingsToControls();
    // 5. to 7.
    ReadDesktopColors();
    LoadFolderHistory();
    GoToTray();
    // 8.
    BuildPicList(Settings.PicsFolder);
    AfterFolderChange();
    // 9. and 10.
    optSpeed[0].SetValue(true);
    chkActive.SetValue(Settings.Active ? 1 : 0);
    // 11.
    Loading = false;
}

void frmSSetup::CopySettingsToControls() {
    // The record is copied first: each control's handler writes its field back as it changes.
    const SettingsRecord s = Settings;
    scrSpeed.SetValue(s.ShowDelay);
    scrQuick.SetValue(s.QuickDelay);
    scrSpeed_Change();
    scrQuick_Change();
    chkIncludeSubsfolders.SetValue(s.PicsSubfolders);
    chkShowPicsRandomly.SetValue(s.ShowRandom);
    chkSkipPicErrors.SetValue(s.SkipErrors);
    chkMorePicTypes.SetValue(s.MorePicTypes);
    chkStretchPics.SetValue(s.StretchFit);
    chkStretchPics_Click();
    if (s.StretchType == 0 || s.StretchType == 1) optStretchPics[s.StretchType].SetValue(true);
    Settings.StretchType = s.StretchType;
    chkTilePics.SetValue(s.TileSmall);
    chkTilePics_Click();
    scrTilePicsPercent.SetValue(scrTilePicsPercent.Max() - s.TilePercent + scrTilePicsPercent.Min());
    scrTilePicsPercent_Change();
    chkRandomBackColor.SetValue(s.RandomColor);
    chkResetBackColor.SetValue(s.ResetDesktop);
    chkResetBackColor_Click();
    optResetBackColor[s.ResetColor].SetValue(true);
    chkDisplayTimeLeft.SetValue(s.DisplayTime);
    chkClearWPExit.SetValue(s.ClearWallpaper);
    chk2ColumnMenu.SetValue(s.TwoColumnMenu);
    // Both are applied to the desktop whether or not the control changes.
    cboDesktopView.SetListIndex(s.DesktopView);
    Settings.DesktopView = s.DesktopView;
    chkDesktopTransparent.SetValue(s.DesktopText);
    Settings.DesktopText = s.DesktopText;
    common::SetDesktopTextBackground(s.DesktopText);
}

void frmSSetup::SaveAndFinish() {
    // Exit and a Windows shut-down may both arrive; the first one counts.
    if (finished_) return;
    finished_ = true;
    SaveFolderHistory(FolderListEntries());
    SaveSettings();
    if (Settings.ResetDesktop) ResetDesktopColor(Settings.ResetColor);
    if (Settings.ClearWallpaper) cmdClearWP_Click();
}

bool frmSSetup::Form_QueryUnload(platform::UnloadMode mode) {
    if (mode == platform::vbAppWindows) SaveAndFinish();
    return false;
}

void frmSSetup::Form_Unload() {
    if (infoWindow_ && infoWindow_->IsLoaded()) infoWindow_->Unload();
    SetShowHost(nullptr);
    TrayOwner::Form_Unload();
}

void frmSSetup::cmdOK_Click() {
    SaveAndFinish();
    Unload();
}

void frmSSetup::cmdCancel_Click() { Unload(); }

void frmSSetup::cmdRun_Click() { MinimizeToTray(); }

// ---------------------------------------------------------------- settings controls

void frmSSetup::chkActive_Click() {
    const bool on = chkActive.Value() == 1;
    TrayIcon_Popup_Active.SetChecked(on);
    ActiveChanged(on);
}

void frmSSetup::optSpeed_Click(int index) {
    if (!optSpeed[index].Value()) return;
    DelaySelected(index);
    TrayIcon_Popup_DelayStartup.SetChecked(index == 0);
    TrayIcon_Popup_DelayOther.SetChecked(index == 1);
    if (Settings.DisplayTime)
        if (frmInfoWindow* info = InfoWindow()) info->SetTimeLeftColor(index == 0 ? kStartupDelayColor : kOtherDelayColor);
}

void frmSSetup::DelayLabel(platform::Label& label, int seconds) {
    label.SetText(common::TimeLeftText(seconds, false, true, false));
}

void frmSSetup::scrSpeed_Change() {
    Settings.ShowDelay = scrSpeed.Value();
    DelayLabel(lblSpeed, Settings.ShowDelay);
    if (!Loading) chkActive_Click();
}

void frmSSetup::scrQuick_Change() {
    Settings.QuickDelay = scrQuick.Value();
    DelayLabel(lblQuick, Settings.QuickDelay);
    if (!Loading) chkActive_Click();
}

void frmSSetup::scrTilePicsPercent_Change() {
    Settings.TilePercent = scrTilePicsPercent.Max() - scrTilePicsPercent.Value() + scrTilePicsPercent.Min();
    txtTilePicsPercent.SetText(std::to_string(Settings.TilePercent));
}

void frmSSetup::Form_DpiChanged() {
    // The page buttons switch between the dialog font and its bold form: both at the new size.
    HFONT old = boldFont_;
    boldFont_ = BoldOf(platform::DefaultFont(Dpi()));
    for (auto& button : Check1)
        if (button.Value()) button.SetFont(boldFont_);
    if (old) DeleteObject(old);
}

void frmSSetup::Check1_Click(int index) {
    if (inPageClick_) return;
    inPageClick_ = true;
    for (int i = 0; i < 3; ++i) {
        if (i == index) continue;
        Frame1[i].SetVisible(false);
        Check1[i].SetFont(platform::DefaultFont(Dpi()));
        Check1[i].SetValue(0);
    }
    Check1[index].SetValue(1);
    if (boldFont_) Check1[index].SetFont(boldFont_);
    Frame1[index].SetVisible(true);
    inPageClick_ = false;
}

void frmSSetup::chkTilePics_Click() {
    Settings.TileSmall = chkTilePics.Value() == 1;
    txtTilePicsPercent.SetEnabled(Settings.TileSmall);
    scrTilePicsPercent.SetEnabled(Settings.TileSmall);
}

void frmSSetup::chkStretchPics_Click() {
    Settings.StretchFit = chkStretchPics.Value() == 1;
    for (auto& option : optStretchPics) option.SetEnabled(Settings.StretchFit);
}

void frmSSetup::optStretchPics_Click(int index) {
    if (optStretchPics[index].Value()) Settings.StretchType = index;
}

void frmSSetup::chkShowPicsRandomly_Click() { Settings.ShowRandom = chkShowPicsRandomly.Value() == 1; }
void frmSSetup::chkSkipPicErrors_Click() { Settings.SkipErrors = chkSkipPicErrors.Value() == 1; }
void frmSSetup::chkRandomBackColor_Click() { Settings.RandomColor = chkRandomBackColor.Value() == 1; }
void frmSSetup::chkClearWPExit_Click() { Settings.ClearWallpaper = chkClearWPExit.Value() == 1; }
// Takes effect the next time the window goes to the tray.
void frmSSetup::chk2ColumnMenu_Click() { Settings.TwoColumnMenu = chk2ColumnMenu.Value() == 1; }

// The same folder searched again with the other patterns.
void frmSSetup::chkMorePicTypes_Click() {
    Settings.MorePicTypes = chkMorePicTypes.Value() == 1;
    if (Loading) return;
    BuildPicList(Settings.PicsFolder);
    AfterFolderChange();
}

void frmSSetup::chkIncludeSubsfolders_Click() {
    Settings.PicsSubfolders = chkIncludeSubsfolders.Value() == 1;
    if (Loading) return;
    BuildPicList(Settings.PicsFolder);
    AfterFolderChange();
}

void frmSSetup::chkDisplayTimeLeft_Click() {
    Settings.DisplayTime = chkDisplayTimeLeft.Value() == 1;
    TrayIcon_Popup_InfoWindow.SetChecked(Settings.DisplayTime);
    ShowInfoWindow(Settings.DisplayTime);
}

void frmSSetup::chkResetBackColor_Click() {
    Settings.ResetDesktop = chkResetBackColor.Value() == 1;
    optResetBackColor[1].SetEnabled(Settings.ResetDesktop);
    optResetBackColor[0].SetEnabled(Settings.ResetDesktop && Reset_Popup_DC_ControlPanel.Enabled());
}

void frmSSetup::optResetBackColor_Click(int index) {
    if (optResetBackColor[index].Value()) Settings.ResetColor = index;
}

void frmSSetup::cboDesktopView_Click() {
    const int index = cboDesktopView.ListIndex();
    if (index < 0) return;
    Settings.DesktopView = index;
    common::SetDesktopViewStyle(common::ViewCodeFromMenuPosition(index));
}

void frmSSetup::chkDesktopTransparent_Click() {
    Settings.DesktopText = chkDesktopTransparent.Value() == 1;
    common::SetDesktopTextBackground(Settings.DesktopText);
}

// ---------------------------------------------------------------- the information window

void frmSSetup::ShowInfoWindow(bool show) {
    if (!show) {
        if (frmInfoWindow* info = InfoWindow()) info->Unload();
        return;
    }
    if (InfoWindow()) return;
    frmInfoWindow::Host host;
    host.trayPicPath = TrayIcon_Popup_InfoWindow.Tag;
    host.otherDelay = optSpeed[1].hWnd() && optSpeed[1].Value();
    host.active = Settings.Active;
    host.close = [this] { chkDisplayTimeLeft.SetValue(chkDisplayTimeLeft.Value() ? 0 : 1); };
    // An unloaded window from before is not on the call stack any more.
    infoWindow_ = std::make_unique<frmInfoWindow>(std::move(host));
    infoWindow_->Load();
}

void frmSSetup::SetInfoPicPath(const std::string& path) {
    if (!InfoWindow()) ShowInfoWindow(true);
    if (frmInfoWindow* info = InfoWindow()) info->SetFilePath(path);
}

void frmSSetup::SetTimeLeftText(const std::string& text) {
    if (frmInfoWindow* info = InfoWindow()) info->SetTimeLeft(text);
}

// ---------------------------------------------------------------- folder list

std::vector<std::string> frmSSetup::FolderListEntries() const { return common::FolderListEntries(cboPicFolder); }

void frmSSetup::cboPicFolder_Click() {
    if (Loading || BuildingList) return;
    const int index = cboPicFolder.ListIndex();
    Settings.PicsFolder = index < 0 ? std::string() : cboPicFolder.List(index);
    BuildPicList(Settings.PicsFolder);
    AfterFolderChange();
}

void frmSSetup::cboPicFolder_DropDown() { common::FitDropDownWidth(cboPicFolder); }

void frmSSetup::AfterFolderChange() {
    BuildingList = true;
    UpdateFolderList(Settings.PicsFolder, true);
    const std::string& folder = Settings.PicsFolder;
    cboPicFolder.SetToolTipText(
        common::TextFitsControl(folder, cboPicFolder, GetSystemMetrics(SM_CXVSCROLL)) ? "" : folder);
    frPicFolder.SetText(FolderFrameCaption(folder, !folder.empty() && common::FolderExists(folder), PicCount()));
    FolderChanged();
    chkActive.SetEnabled(PicCount() > 0);
    BuildingList = false;
}

void frmSSetup::UpdateFolderList(const std::string& folder, bool add) {
    common::UpdateFolderHistory(cboPicFolder, folder, add, [this] { cboPicFolder_Click(); });
    const bool any = cboPicFolder.ListCount() > 0;
    for (auto& button : cmdClearList) button.SetEnabled(any);
}

void frmSSetup::LoadFolderHistory() { common::LoadFolderHistory(cboPicFolder, kSettingsSection, FolderHistoryKey); }

void frmSSetup::cmdPicFolder_Click() {
    const auto search = [](const std::string& folder) { return BuildPicList(folder); };
    if (common::BrowseForPicFolder(hWnd(), Settings.PicsFolder, Settings.MorePicTypes, search)) AfterFolderChange();
}

void frmSSetup::cmdClearList_Click(int index) {
    common::FolderListButtonClick(index, cboPicFolder, kSettingsSection, FolderHistoryKey,
                                  [this](const std::string& folder, bool add) { UpdateFolderList(folder, add); });
}

// ---------------------------------------------------------------- buttons

void frmSSetup::SuspendTimers(bool suspend) {
    if (suspend) {
        ssTimerWasEnabled_ = ssTimer.Enabled();
        trayTimerWasEnabled_ = TrayIcon_Timer.Enabled();
        ssTimer.SetEnabled(false);
        TrayIcon_Timer.SetEnabled(false);
    } else {
        ssTimer.SetEnabled(ssTimerWasEnabled_);
        TrayIcon_Timer.SetEnabled(trayTimerWasEnabled_);
    }
}

void frmSSetup::cmdWallpaper_Click() {
    platform::SetBusyPointer(true);
    SuspendTimers(true);
    {
        picture_browser::frmWallpaper browser(common::PicFiles, FolderMode, Settings.PicsFolder);
        browser.Load();
        platform::SetBusyPointer(false);
        browser.ShowModal();
        browser.Unload();
    }
    SuspendTimers(false);
    RedrawWindow(hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    platform::DoEvents();
    // The browser may have changed the folder's contents or the history.
    BuildPicList(Settings.PicsFolder);
    AfterFolderChange();
}

void frmSSetup::cmdClearWP_Click() { common::ClearWallpaper(common::WallpaperFilePath(), false); }

void frmSSetup::cmdResetDesktop_Click() {
    RECT button{};
    GetWindowRect(cmdResetDesktop.hWnd(), &button);
    HMENU popup = Reset_Popup.SubMenu();
    if (!popup) return;
    const int chosen = static_cast<int>(TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, button.left + 1,
                                                       button.top + 1, 0, hWnd(), nullptr));
    PostMessageA(hWnd(), WM_NULL, 0, 0);
    if (chosen) platform::MenuCommand(chosen);
}

void frmSSetup::cmdAbout_Click() {
    common::About about;
    about.ShowModal();
    about.Unload();
}

void frmSSetup::cmdStartupCreate_Click() {
    if (!common::CreateStartupShortcut(hWnd())) return;
    platform::MsgBox(common::StartupShortcutCreatedText(platform::App().Title), platform::kMsgInformation);
}

void frmSSetup::cmdStartupRemove_Click() {
    if (!common::RemoveStartupShortcut(hWnd())) return;
    platform::MsgBox(common::StartupShortcutRemovedText(platform::App().Title), platform::kMsgInformation);
}

// ---------------------------------------------------------------- desktop colours

void frmSSetup::ReadDesktopColors() {
    picDesktopColor[1].SetBackColor(GetSysColor(COLOR_BACKGROUND));
    const std::string text =
        platform::Trim(common::GetRegValue(HKEY_CURRENT_USER, kColorsKey, kBackgroundValue, "", true));
    picDesktopColor[0].Tag = text;
    int red = 0, green = 0, blue = 0;
    if (ParseColorText(text, red, green, blue)) {
        picDesktopColor[0].SetBackColor(RGB(red, green, blue));
        return;
    }
    optResetBackColor[1].SetValue(true);
    optResetBackColor[0].SetEnabled(false);
    Reset_Popup_DC_ControlPanel.SetEnabled(false);
}

void frmSSetup::ResetDesktopColor(int index) {
    platform::SetBusyPointer(true);
    const bool transparent = common::IsDesktopTextTransparent();
    const INT element = COLOR_BACKGROUND;
    const COLORREF color = picDesktopColor[index].BackColor();
    SetSysColors(1, &element, &color);
    if (transparent) common::SetDesktopTextBackground(true);
    if (index == 0)
        common::SaveRegValue(HKEY_CURRENT_USER, kColorsKey, kBackgroundValue, picDesktopColor[0].Tag, true);
    platform::SetBusyPointer(false);
}

// ---------------------------------------------------------------- tray

void frmSSetup::BeforeTrayMenu() {
    const long count = PicCount();
    TrayIcon_Popup_Active.SetEnabled(count > 0);
    const std::string& shown = TrayIcon_Popup_InfoWindow.Tag;
    TrayIcon_Popup_OpenPic.SetEnabled(!shown.empty() && common::FileExists(shown));
    TrayIcon_Popup_NextPic.SetEnabled(count > 0);
    const long previous = PicPosition.PreviousIndex;
    TrayIcon_Popup_PrevPic.SetEnabled(previous > 0 && previous <= count &&
                                      common::FileExists(common::PicFiles[previous]));
}

void frmSSetup::AfterTrayMenu() {
    if (!BrowseAfterMenu) return;
    BrowseAfterMenu = false;
    cmdWallpaper_Click();
}

}  // namespace backdrop_changer
