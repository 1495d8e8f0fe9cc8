#include "slide_saver/frmSSetup.h"

#include <commctrl.h>

#include "common/About.h"
#include "common/FileFolderExists_.h"
#include "common/FileFolderFunctions_.h"
#include "common/FolderWalk_.h"
#include "common/FitStuff_.h"
#include "common/FolderHistory_.h"
#include "common/GetDesktopSize_.h"
#include "common/PicFolderList_.h"
#include "common/SettingsApp_.h"
#include "common/TextFunctions_.h"
#include "common/VersionText_.h"
#include "common/WindowsWallpaper_.h"
#include "picture_browser/frmWallpaper.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"
#include "slide_saver/basSSaver.h"

namespace slide_saver {

std::unique_ptr<frmSSetup> SetupDialog;
bool FolderMode = false;

namespace {

int X(int pixels) { return platform::DesignTwips(pixels); }
int Y(int pixels) { return platform::DesignTwips(pixels); }

// Layout in pixels of the client area: it fits a 800 x 600 screen with room to spare.
constexpr int kClientWidth = 480;
// The rows of "Also use PNG, ..." and "Show pictures on every monitor", among the other switches.
constexpr int kAddedRows = 2 * 22;
constexpr int kClientHeight = 480 + kAddedRows;
constexpr int kMargin = 8;
constexpr int kInner = kMargin + 8;
constexpr int kRowHeight = 20;
constexpr int kTwoRows = 30;
constexpr int kButtonHeight = 25;
constexpr int kButtonWidth = 86;

constexpr int kMinDelay = 1;
constexpr int kMaxDelay = 600;
constexpr int kDelayLargeChange = 10;
constexpr const char* kMultiplicationSign = "\xC3\x97";  // the sign of the system font's character 215

constexpr const char* kPicFolderTip = "Browse for folder.";
constexpr const char* kRemoveFolderTip = "Remove current folder.";
constexpr const char* kClearListTip = "Clear folder list.";
constexpr const char* kSkipErrorsTip = "When on, an error message will still be displayed if there are 10 consecutive errors.";

void ChangeStyle(platform::Control& control, LONG add, LONG remove = 0) {
    SetWindowLongA(control.hWnd(), GWL_STYLE, (GetWindowLongA(control.hWnd(), GWL_STYLE) & ~remove) | add);
}

// The percentage box only displays: its focus goes on to the scroll bar beside it.
LRESULT CALLBACK PassFocusOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_SETFOCUS) {
        SetFocus(reinterpret_cast<HWND>(data));
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

std::string DelayText(int seconds) { return common::TimeLeftText(seconds, false, true, true); }

}  // namespace

std::string KeyListText() {
    const std::string n = "\r\n";
    return "These keys are available when the screen saver is active:" + n + n +
           "N  (or right-click)  -  Show next pic" + n + "B  -  Show last displayed pic" + n +
           "W  -  Set pic as wallpaper  (hold down Shift to tile, or Ctrl to stretch)" + n + n +
           "P  -  Toggle pause mode" + n + "O  -  Toggle delay between Startup and Other" + n + n +
           "Esc  -  Black out the screen and pause" + n + "F1  -  Restore screen saver operation" + n + n +
           "F  -  Toggle best fit setting" + n + "E  -  Toggle tile setting" + n +
           "C  -  Toggle random screen colors setting" + n + "I  -  Toggle display file name setting" + n +
           "T  -  Toggle display time remaining setting" + n + n +
           "The state of the above 5 settings will be remembered." + n + n +
           "When one or both scrollbars are visible, the Tab, Home/End, " +
           "PageUp/PageDown, and Arrow keys can be used to access them." + n + n +
           "NOTE:   Due to the nature of Windows NT, these keys will not be available " +
           "when Windows NT starts the screen saver after inactivity; however, the " +
           "keys will work in Preview mode and when the screen saver is run directly.";
}

frmSSetup::~frmSSetup() {
    if (IsLoaded()) Unload();
}

platform::FormStyle frmSSetup::Style() const {
    return platform::FixedWindowStyle(kClientWidth, kClientHeight, platform::App().Title + kSetupCaptionEnd);
}

// ---------------------------------------------------------------- building the window

void frmSSetup::CreateControls() {
    const int right = kClientWidth - kMargin;
    const int width = right - 8 - kInner;
    // The folder
    frPicFolder.Create(*this, common::kFolderFrameCaption, X(kMargin), Y(4), X(right - kMargin), Y(78));
    const int smallButton = 24;
    const int buttonsLeft = right - 8 - 3 * smallButton - 4;
    cboPicFolder.Create(*this, X(kInner), Y(24), X(buttonsLeft - 4 - kInner), Y(260), CBS_DROPDOWNLIST);
    cmdPicFolder.Create(*this, "...", X(buttonsLeft), Y(23), X(smallButton), Y(23));
    cmdPicFolder.SetToolTipText(kPicFolderTip);
    systemFont_ = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    for (int i = 0; i < 2; ++i) {
        cmdClearList[i].Index = i;
        cmdClearList[i].Create(*this, i == 0 ? "-" : kMultiplicationSign,
                               X(buttonsLeft + (i + 1) * (smallButton + 2)), Y(23), X(smallButton), Y(23));
        cmdClearList[i].SetToolTipText(i == 0 ? kRemoveFolderTip : kClearListTip);
    }
    cmdClearList[1].SetFont(systemFont_);
    chkIncludeSubsfolders.Create(*this, "I&nclude the pics in all subfolders of the selected folder", X(kInner),
                                 Y(52), X(width), Y(kRowHeight));

    // The delays
    frSpeed.Create(*this, "Delay between showing each pic", X(kMargin), Y(88), X(right - kMargin), Y(68));
    const int noteWidth = 60, labelWidth = 110;
    const int barLeft = kInner + noteWidth, barWidth = right - 8 - labelWidth - 8 - barLeft;
    for (int i = 0; i < 2; ++i) {
        const int top = 106 + i * 24;
        lblNote[i].Index = i;
        lblNote[i].Create(*this, i == 0 ? "&Startup:" : "&Other:", X(kInner), Y(top + 2), X(noteWidth - 4), Y(16));
        // The access key moves to the scroll bar that follows.
        ChangeStyle(lblNote[i], 0, SS_NOPREFIX);
        platform::ScrollBar& bar = i == 0 ? scrSpeed : scrQuick;
        bar.Create(*this, true, X(barLeft), Y(top), X(barWidth), Y(17));
        bar.SetRange(kMinDelay, kMaxDelay);
        bar.SmallChange = 1;
        bar.LargeChange = kDelayLargeChange;
        platform::Label& label = i == 0 ? lblSpeed : lblQuick;
        label.Create(*this, DelayText(kMaxDelay), X(right - 8 - labelWidth), Y(top + 2), X(labelWidth), Y(16));
    }

    // The behaviour
    frOptions.Create(*this, "Behavioral settings", X(kMargin), Y(164), X(right - kMargin), Y(240 + kAddedRows));
    int top = 184;
    auto check = [&](platform::CheckBox& box, const char* caption, int height) {
        box.Create(*this, caption, X(kInner), Y(top), X(width), Y(height));
        if (height > kRowHeight) ChangeStyle(box, BS_MULTILINE | BS_TOP);
        top += height + 2;
    };
    check(chkShowPicsRandomly,
          "Show the pics &randomly with possible repeats, instead of showing each one a single time in a loop",
          kTwoRows);
    check(chkAllowMouseMovement,
          "&Allow mouse movement to stop the screen saver, but then the scrollbars for big pics are not usable "
          "with the mouse",
          kTwoRows);
    check(chkBestFitPics, "Best &fit big pics to screen size, instead of using scrollbars", kRowHeight);
    chkTilePics.Create(*this, "Til&e small pics when less than", X(kInner), Y(top + 3), X(186), Y(kRowHeight));
    txtTilePicsPercent.Create(*this, "", X(kInner + 190), Y(top + 2), X(34), Y(22), ES_RIGHT);
    scrTilePicsPercent.Create(*this, false, X(kInner + 224), Y(top), X(16), Y(26));
    scrTilePicsPercent.SetRange(1, 100);
    scrTilePicsPercent.LargeChange = 10;
    lblTilePics.Create(*this, "% of screen size", X(kInner + 246), Y(top + 6), X(140), Y(16));
    top += 30;
    check(chkSkipPicErrors,
          "&Go to the next pic if a load or display error occurs, instead of displaying an error message on "
          "screen (see tooltip)",
          kTwoRows);
    chkSkipPicErrors.SetToolTipText(kSkipErrorsTip);
    check(chkMorePicTypes, common::kMorePicTypesCaption, kRowHeight);
    check(chkRandomBackColor, "Use random background screen &colors", kRowHeight);
    check(chkDisplayTimeLeft, "Display the &time remaining until the next pic is shown", kRowHeight);
    check(chkDisplayFilename, "Display the f&ile name of the pic being shown", kRowHeight);
    check(chkAllMonitors, kAllMonitorsCaption, kRowHeight);

    // The buttons
    const int row1 = 412 + kAddedRows, row2 = 446 + kAddedRows, gap = 6;
    platform::CommandButton* actions[] = {&cmdPreview, &cmdWallpaper, &cmdClearWP, &cmdKeys, &cmdAbout};
    const char* actionCaptions[] = {"Pre&view", "&Browse...", "Clear &WP", "&Keys...", "About..."};
    for (int i = 0; i < 5; ++i)
        actions[i]->Create(*this, actionCaptions[i], X(right - (5 - i) * kButtonWidth - (4 - i) * gap), Y(row1),
                           X(kButtonWidth), Y(kButtonHeight));
    lblVersion.Create(*this, "", X(kMargin + 2), Y(row2 + 5), X(90), Y(16));
    cmdOK.Create(*this, "OK", X(right - 2 * kButtonWidth - gap), Y(row2), X(kButtonWidth), Y(kButtonHeight), true);
    cmdCancel.Create(*this, "Cancel", X(right - kButtonWidth), Y(row2), X(kButtonWidth), Y(kButtonHeight));
}

void frmSSetup::WireEvents() {
    cboPicFolder.Click = [this] { cboPicFolder_Click(); };
    cboPicFolder.DropDown = [this] { cboPicFolder_DropDown(); };
    cmdPicFolder.Click = [this] { cmdPicFolder_Click(); };
    for (int i = 0; i < 2; ++i) cmdClearList[i].Click = [this, i] { cmdClearList_Click(i); };
    chkIncludeSubsfolders.Click = [this] { chkIncludeSubsfolders_Click(); };
    scrSpeed.Change = scrSpeed.Scroll = [this] { scrSpeed_Change(); };
    scrQuick.Change = scrQuick.Scroll = [this] { scrQuick_Change(); };
    chkShowPicsRandomly.Click = [this] { chkShowPicsRandomly_Click(); };
    chkAllowMouseMovement.Click = [this] { chkAllowMouseMovement_Click(); };
    chkBestFitPics.Click = [this] { chkBestFitPics_Click(); };
    chkTilePics.Click = [this] { chkTilePics_Click(); };
    scrTilePicsPercent.Change = scrTilePicsPercent.Scroll = [this] { scrTilePicsPercent_Change(); };
    SetWindowSubclass(txtTilePicsPercent.hWnd(), &PassFocusOn, 1,
                      reinterpret_cast<DWORD_PTR>(scrTilePicsPercent.hWnd()));
    chkSkipPicErrors.Click = [this] { chkSkipPicErrors_Click(); };
    chkMorePicTypes.Click = [this] { chkMorePicTypes_Click(); };
    chkRandomBackColor.Click = [this] { chkRandomBackColor_Click(); };
    chkDisplayTimeLeft.Click = [this] { chkDisplayTimeLeft_Click(); };
    chkDisplayFilename.Click = [this] { chkDisplayFilename_Click(); };
    chkAllMonitors.Click = [this] { chkAllMonitors_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdPreview.Click = [this] { cmdPreview_Click(); };
    cmdWallpaper.Click = [this] { cmdWallpaper_Click(); };
    cmdClearWP.Click = [this] { cmdClearWP_Click(); };
    cmdKeys.Click = [this] { cmdKeys_Click(); };
    cmdAbout.Click = [this] { cmdAbout_Click(); };
}

// ---------------------------------------------------------------- load and end

void frmSSetup::Form_Load() {
    // 1.
    Loading = true;
    SetCaption(platform::App().Title + kSetupCaptionEnd);
    int divisor = 2;
    common::PlaceFormOnDesktop(*this, divisor);
    CreateControls();
    WireEvents();
    // 2.
    const platform::Application& app = platform::App();
    lblVersion.SetText(common::VersionLabel(app.Major, app.Minor, app.Revision));
    lblVersion.SetToolTipText(common::RevisionToolTip(app.Revision));
    // 3.
    LoadSaverSettings();
    // 4. The record is copied first: each control's handler writes its field back.
    const SaverSettingsRecord s = SaverSettings;
    scrSpeed.SetValue(s.ShowDelay);
    scrQuick.SetValue(s.QuickDelay);
    scrSpeed_Change();
    scrQuick_Change();
    chkIncludeSubsfolders.SetValue(s.PicsSubfolders);
    chkShowPicsRandomly.SetValue(s.ShowRandom);
    chkAllowMouseMovement.SetValue(s.AllowMouse);
    chkSkipPicErrors.SetValue(s.SkipErrors);
    chkMorePicTypes.SetValue(s.MorePicTypes);
    SaverSettings = s;
    CopyTogglesToControls();
    scrTilePicsPercent.SetValue(scrTilePicsPercent.Max() - s.TilePercent + scrTilePicsPercent.Min());
    scrTilePicsPercent_Change();
    // 5.
    LoadFolderHistory();
    // 6.
    EnableDisplayProperties(false);
    // 7.
    ShowWindow(hWnd(), SW_SHOW);
    SetForegroundWindow(hWnd());
    UpdateWindow(hWnd());
    BuildPicList(SaverSettings.PicsFolder);
    AfterFolderChange();
    // 8.
    Loading = false;
}

void frmSSetup::CopyTogglesToControls() {
    const SaverSettingsRecord s = SaverSettings;
    chkBestFitPics.SetValue(s.BestFit);
    chkTilePics.SetValue(s.TileSmall);
    chkTilePics_Click();
    chkRandomBackColor.SetValue(s.RandomColor);
    chkDisplayTimeLeft.SetValue(s.DisplayTime);
    chkDisplayFilename.SetValue(s.DisplayName);
    chkAllMonitors.SetValue(s.AllMonitors);
    SaverSettings = s;
}

void frmSSetup::Form_Resize() {
    // The disabled Display Properties dialog would be out of reach behind a minimised one.
    if (OpenedFromDisplayProperties && Minimized()) ShowWindow(hWnd(), SW_RESTORE);
}

void frmSSetup::Form_Unload() { EnableDisplayProperties(true); }

void frmSSetup::EnableDisplayProperties(bool enable) {
    if (!OpenedFromDisplayProperties) return;
    if (HWND dialog = FindWindowA(kDisplayPropertiesClass, kDisplayPropertiesCaption)) EnableWindow(dialog, enable);
}

void frmSSetup::cmdOK_Click() {
    // 1.
    const std::vector<std::string> entries = common::FolderListEntries(cboPicFolder);
    for (int i = 0; i < common::kFolderListMax; ++i)
        common::SaveAppSetting(kSettingsSection, FolderHistoryKey(i),
                               i < static_cast<int>(entries.size()) ? entries[i] : "", true);
    // 2.
    for (const auto& [key, text] : SetupTexts(SaverSettings))
        common::SaveAppSetting(kSettingsSection, key, text, false);
    // 3.
    SaveSaverToggles(false);
    // 4.
    Unload();
}

void frmSSetup::cmdCancel_Click() { Unload(); }

// ---------------------------------------------------------------- folder list

void frmSSetup::cboPicFolder_Click() {
    if (Loading || BuildingList) return;
    const int index = cboPicFolder.ListIndex();
    SaverSettings.PicsFolder = index < 0 ? std::string() : cboPicFolder.List(index);
    BuildPicList(SaverSettings.PicsFolder);
    AfterFolderChange();
}

void frmSSetup::cboPicFolder_DropDown() { common::FitDropDownWidth(cboPicFolder); }

void frmSSetup::UpdateFolderList(const std::string& folder, bool add) {
    common::UpdateFolderHistory(cboPicFolder, folder, add, [this] { cboPicFolder_Click(); });
    const bool any = cboPicFolder.ListCount() > 0;
    for (auto& button : cmdClearList) button.SetEnabled(any);
}

void frmSSetup::LoadFolderHistory() { common::LoadFolderHistory(cboPicFolder, kSettingsSection, FolderHistoryKey); }

bool frmSSetup::BuildPicList(const std::string& folder) {
    BuildingList = true;
    const bool found = common::SearchPicFolder(&cboPicFolder, folder, SaverSettings.PicsSubfolders,
                                               SaverSettings.MorePicTypes);
    BuildingList = false;
    return found;
}

void frmSSetup::AfterFolderChange() {
    BuildingList = true;
    UpdateFolderList(SaverSettings.PicsFolder, true);
    const std::string& folder = SaverSettings.PicsFolder;
    cboPicFolder.SetToolTipText(
        common::TextFitsControl(folder, cboPicFolder, GetSystemMetrics(SM_CXVSCROLL)) ? "" : folder);
    const long count = std::max(0L, common::UBound(common::PicFiles));
    frPicFolder.SetText(common::FolderFrameCaption(folder, !folder.empty() && common::FolderExists(folder), count));
    BuildingList = false;
}

void frmSSetup::cmdPicFolder_Click() {
    const auto search = [this](const std::string& folder) { return BuildPicList(folder); };
    if (common::BrowseForPicFolder(hWnd(), SaverSettings.PicsFolder, SaverSettings.MorePicTypes, search)) AfterFolderChange();
}

void frmSSetup::cmdClearList_Click(int index) {
    common::FolderListButtonClick(index, cboPicFolder, kSettingsSection, FolderHistoryKey,
                                  [this](const std::string& folder, bool add) { UpdateFolderList(folder, add); });
}

// ---------------------------------------------------------------- settings controls

void frmSSetup::chkIncludeSubsfolders_Click() {
    SaverSettings.PicsSubfolders = chkIncludeSubsfolders.Value() == 1;
    if (Loading) return;
    BuildPicList(SaverSettings.PicsFolder);
    AfterFolderChange();
}

// The same folder searched again with the other patterns.
void frmSSetup::chkMorePicTypes_Click() {
    SaverSettings.MorePicTypes = chkMorePicTypes.Value() == 1;
    if (Loading) return;
    BuildPicList(SaverSettings.PicsFolder);
    AfterFolderChange();
}

void frmSSetup::scrSpeed_Change() {
    SaverSettings.ShowDelay = scrSpeed.Value();
    lblSpeed.SetText(DelayText(SaverSettings.ShowDelay));
}

void frmSSetup::scrQuick_Change() {
    SaverSettings.QuickDelay = scrQuick.Value();
    lblQuick.SetText(DelayText(SaverSettings.QuickDelay));
}

void frmSSetup::chkShowPicsRandomly_Click() { SaverSettings.ShowRandom = chkShowPicsRandomly.Value() == 1; }
void frmSSetup::chkAllowMouseMovement_Click() { SaverSettings.AllowMouse = chkAllowMouseMovement.Value() == 1; }
void frmSSetup::chkBestFitPics_Click() { SaverSettings.BestFit = chkBestFitPics.Value() == 1; }
void frmSSetup::chkSkipPicErrors_Click() { SaverSettings.SkipErrors = chkSkipPicErrors.Value() == 1; }
void frmSSetup::chkRandomBackColor_Click() { SaverSettings.RandomColor = chkRandomBackColor.Value() == 1; }
void frmSSetup::chkDisplayTimeLeft_Click() { SaverSettings.DisplayTime = chkDisplayTimeLeft.Value() == 1; }
void frmSSetup::chkDisplayFilename_Click() { SaverSettings.DisplayName = chkDisplayFilename.Value() == 1; }
void frmSSetup::chkAllMonitors_Click() { SaverSettings.AllMonitors = chkAllMonitors.Value() == 1; }

void frmSSetup::chkTilePics_Click() {
    SaverSettings.TileSmall = chkTilePics.Value() == 1;
    txtTilePicsPercent.SetEnabled(SaverSettings.TileSmall);
    scrTilePicsPercent.SetEnabled(SaverSettings.TileSmall);
}

void frmSSetup::scrTilePicsPercent_Change() {
    // The bar is upside down: up means more.
    SaverSettings.TilePercent = scrTilePicsPercent.Max() - scrTilePicsPercent.Value() + scrTilePicsPercent.Min();
    txtTilePicsPercent.SetText(std::to_string(SaverSettings.TilePercent));
}

// ---------------------------------------------------------------- buttons

void frmSSetup::cmdPreview_Click() {
    ShowSaver(true);
    // The show's keys may have changed these, and it has saved them already.
    CopyTogglesToControls();
}

void frmSSetup::cmdKeys_Click() {
    platform::MsgBox(KeyListText(), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND, kKeysTitle + platform::App().Title);
}

void frmSSetup::cmdWallpaper_Click() {
    platform::SetBusyPointer(true);
    {
        picture_browser::frmWallpaper browser(common::PicFiles, FolderMode, SaverSettings.PicsFolder);
        browser.Load();
        platform::SetBusyPointer(false);
        browser.ShowModal();
        browser.Unload();
    }
    RedrawWindow(hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    platform::DoEvents();
    // The browser may have changed the folder's contents.
    BuildPicList(SaverSettings.PicsFolder);
    AfterFolderChange();
}

void frmSSetup::cmdClearWP_Click() { common::ClearWallpaper(common::WallpaperFilePath(), false); }

void frmSSetup::cmdAbout_Click() {
    common::About about;
    about.ShowModal();
    about.Unload();
}

}  // namespace slide_saver
