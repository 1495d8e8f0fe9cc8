// The setup window and the information window, loaded for real in the test process and
// driven with messages; the clock and message boxes go through their seams.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <map>

#include "backdrop_changer/frmSSetup.h"
#include "common/BrowseForFolder_.h"
#include "common/FileFolderFunctions_.h"
#include "common/GetDesktopSize_.h"
#include "common/WindowsWallpaper_.h"
#include "common/clsTaskBar.h"
#include "platform/App.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

using namespace backdrop_changer;
using testing_support::MsgBoxRecorder;
using testing_support::RegString;

namespace {

const char kKey[] = "Software\\VB and VBA Program Settings\\Sorvita Backdrop Changer\\Settings";

using testing_support::WriteBmp;

// Every value of the settings key, for comparing before and after.
std::map<std::string, std::string> SettingsValues() {
    std::map<std::string, std::string> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    char name[256], data[1024];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name, dataLength = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataLength) !=
            ERROR_SUCCESS)
            break;
        values[name] = std::string(data, dataLength ? dataLength - 1 : 0);
    }
    RegCloseKey(key);
    return values;
}

void Set(const std::string& name, const std::string& value) {
    testing_support::RegSetString(HKEY_CURRENT_USER, kKey, name, value);
}

class SetupWindow : public ::testing::Test {
protected:
    testing_support::TempFolder pics{"setup-pics"};
    testing_support::TempFolder empty{"setup-empty"};
    double now = 5000;
    platform::ScopedSeam<std::function<double()>> clock{platform::seams::Timer, [this] { return now; }};
    MsgBoxRecorder boxes;
    std::unique_ptr<frmSSetup> window = std::make_unique<frmSSetup>();

    void SetUp() override {
        InitIdentity();
        platform::App().Title = "Sorvita Backdrop Changer";
        testing_support::RegDeleteTree(HKEY_CURRENT_USER, kKey);
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) WriteBmp(pics.File(name), 8, 6);
        Set("Pics Folder", pics.Path());
        Set("Reset Desktop", "False");
    }
    void TearDown() override {
        if (window->IsLoaded()) window->Unload();
    }
    void Load() {
        window->Load();
        testing_support::PumpMessages();
    }
};

}  // namespace

TEST_F(SetupWindow, LoadFillsTheControlsFromTheSettingsAndGoesToTheTray) {
    Set("Show Delay", "45");
    Set("Tile Small", "True");
    Set("Tile Percent", "30");
    Set("Stretch Type", "1");
    Set("Active", "True");
    Set("Stretch Fit", "True");
    Set("Reset Desktop", "True");
    Set("Pics Folder 00", "C:\\Elsewhere");
    Load();
    EXPECT_EQ(window->Caption(), "Sorvita Backdrop Changer Setup");
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(common::TaskBar().MainInTray());
    EXPECT_FALSE(window->Loading);
    EXPECT_EQ(window->scrSpeed.Value(), 45);
    EXPECT_EQ(window->lblSpeed.Text(), "45 seconds");
    EXPECT_EQ(window->lblQuick.Text(), "5 minutes");
    EXPECT_EQ(window->txtTilePicsPercent.Text(), "30");
    EXPECT_TRUE(window->scrTilePicsPercent.Enabled());
    EXPECT_EQ(window->scrTilePicsPercent.Value(), 71);
    EXPECT_TRUE(window->optStretchPics[1].Value());
    EXPECT_TRUE(window->optStretchPics[1].Enabled());
    // Selecting an option clears only its own group.
    EXPECT_EQ(window->chkStretchPics.Value(), 1);
    EXPECT_EQ(window->chkTilePics.Value(), 1);
    EXPECT_EQ(window->chkResetBackColor.Value(), 1);
    EXPECT_EQ(window->Check1[0].Value(), 1);
    EXPECT_EQ(window->lblVersion.Text(), "2.0");
    // The current folder heads the history, with its count in the frame caption.
    ASSERT_EQ(window->cboPicFolder.ListCount(), 2);
    EXPECT_EQ(window->cboPicFolder.List(0), pics.Path());
    EXPECT_EQ(window->cboPicFolder.List(1), "C:\\Elsewhere");
    EXPECT_EQ(window->frPicFolder.Text(), "Fo&lder containing the pic files  (3 found)");
    // Startup delay selected, rotation on from the first tick.
    EXPECT_TRUE(window->optSpeed[0].Value());
    EXPECT_TRUE(window->TrayIcon_Popup_DelayStartup.Checked());
    EXPECT_EQ(DelayInEffect, 45);
    EXPECT_EQ(window->chkActive.Value(), 1);
    EXPECT_TRUE(window->ssTimer.Enabled());
    EXPECT_EQ(window->ssTimer.Interval(), kFirstTickInterval);
    EXPECT_TRUE(window->TrayIcon_Popup_Exit.Caption().ends_with("\tr+s"));
    // Page 1 shows, alone; choosing page 3 hides it.
    EXPECT_TRUE(window->Frame1[0].Visible());
    EXPECT_FALSE(window->Frame1[2].Visible());
    SendMessageA(window->Check1[2].hWnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(window->Frame1[2].Visible());
    EXPECT_FALSE(window->Frame1[0].Visible());
    EXPECT_EQ(window->Check1[0].Value(), 0);
    EXPECT_EQ(window->Check1[2].Value(), 1);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SetupWindow, CancelLeavesTheRegistryAsItWas) {
    Set("Pics Folder 00", pics.Path());
    Set("Pics Folder 01", "C:\\Old");
    Load();
    const auto before = SettingsValues();
    SendMessageA(window->chkShowPicsRandomly.hWnd(), BM_CLICK, 0, 0);
    window->scrQuick.SetValue(90);
    SendMessageA(window->chkClearWPExit.hWnd(), BM_CLICK, 0, 0);
    window->cboPicFolder.Clear();
    EXPECT_TRUE(Settings.ShowRandom);
    window->TrayIcon_Popup_ExitNoClear.Click();
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_FALSE(common::TaskBar().MainInTray());
    EXPECT_EQ(SettingsValues(), before);
}

TEST_F(SetupWindow, ExitWritesTheSettingsAndTheWholeFolderHistory) {
    for (int i = 0; i < 20; ++i) Set(FolderHistoryKey(i), "C:\\Old " + std::to_string(i));
    Load();
    // Three entries left: the current folder and two of the old ones.
    while (window->cboPicFolder.ListCount() > 3) window->cboPicFolder.RemoveItem(3);
    window->scrSpeed.SetValue(120);
    window->cmdOK.PerformClick();
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Pics Folder 00"), pics.Path());
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Pics Folder 01"), "C:\\Old 0");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Pics Folder 02"), "C:\\Old 1");
    for (int i = 3; i < 20; ++i) EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, FolderHistoryKey(i)), "") << i;
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Show Delay"), "120");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Pics Folder"), pics.Path());
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SetupWindow, WindowsShuttingDownSavesOnceAndOtherClosesSaveNothing) {
    Load();
    window->scrSpeed.SetValue(77);
    SendMessageA(window->hWnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, kKey, "Show Delay"));

    window = std::make_unique<frmSSetup>();
    Load();
    window->scrSpeed.SetValue(78);
    EXPECT_TRUE(SendMessageA(window->hWnd(), WM_QUERYENDSESSION, 0, 0));
    testing_support::RegDeleteTree(HKEY_CURRENT_USER, kKey);
    SendMessageA(window->hWnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(window->IsLoaded());
    // Saved at the query, not again when the session ended.
    EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, kKey, "Show Delay"));
}

TEST_F(SetupWindow, FolderHistoryMovesKnownFoldersUpAndHoldsTwenty) {
    for (int i = 0; i < 20; ++i) Set(FolderHistoryKey(i), "C:\\F" + std::to_string(i));
    Set("Pics Folder", "");
    Load();
    ASSERT_EQ(window->cboPicFolder.ListCount(), 20);
    window->UpdateFolderList("c:\\f7", true);
    EXPECT_EQ(window->cboPicFolder.ListCount(), 20);
    EXPECT_EQ(window->cboPicFolder.List(0), "c:\\f7");
    EXPECT_EQ(window->cboPicFolder.List(7), "C:\\F6");
    EXPECT_EQ(window->cboPicFolder.List(8), "C:\\F8");
    window->UpdateFolderList("D:\\New", true);
    EXPECT_EQ(window->cboPicFolder.ListCount(), 20);
    EXPECT_EQ(window->cboPicFolder.List(0), "D:\\New");
    EXPECT_EQ(window->cboPicFolder.List(19), "C:\\F18");  // "C:\F19" pushed out

    // Removing the current folder (Yes preselected) selects the next one.
    boxes.Answer(IDYES);
    window->cmdClearList[0].PerformClick();
    EXPECT_EQ(boxes.Last().text, "Are you sure you want to remove the current folder?");
    EXPECT_EQ(boxes.Last().flags & MB_DEFMASK, static_cast<unsigned>(MB_DEFBUTTON1));
    EXPECT_EQ(window->cboPicFolder.ListCount(), 19);
    EXPECT_EQ(window->cboPicFolder.List(0), "c:\\f7");
    EXPECT_EQ(Settings.PicsFolder, "c:\\f7");
    boxes.Clear();

    // Clearing keeps the selected folder alone, and the history keys go.
    window->cboPicFolder.SetListIndex(0);
    boxes.Answer(IDYES);
    window->cmdClearList[1].PerformClick();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Are you sure you want to clear the folder list?");
    EXPECT_EQ(boxes.Last().flags & MB_DEFMASK, static_cast<unsigned>(MB_DEFBUTTON2));
    ASSERT_EQ(window->cboPicFolder.ListCount(), 1);
    EXPECT_EQ(window->cboPicFolder.List(0), "c:\\f7");
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, kKey, FolderHistoryKey(i))) << i;
}

namespace {


}  // namespace

TEST_F(SetupWindow, RefusingAnEmptyFolderThenCancellingKeepsTheOldOne) {
    Set("Active", "True");
    Load();
    testing_support::FolderPickerScript picker{{empty.Path(), ""}};
    boxes.Answer(IDNO);
    window->cmdPicFolder.PerformClick();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The '" + empty.Path() +
                                     "' folder selected does not contain any pic files (.jpg, .jpe*, .gif, .bmp).  "
                                     "Do you want to select this folder anyway?");
    EXPECT_EQ(Settings.PicsFolder, pics.Path());
    EXPECT_EQ(PicCount(), 3);
    EXPECT_EQ(window->cboPicFolder.List(0), pics.Path());
    EXPECT_EQ(window->chkActive.Value(), 1);
}

TEST_F(SetupWindow, MorePicTypesSearchesAgainNamesEveryTypeAndIsStored) {
    testing_support::TempFolder pngs{"setup-pngs"};
    for (const char* name : {"a.png", "b.tif", "c.avif"}) WriteBmp(pngs.File(name), 8, 6);
    Set("Pics Folder", pngs.Path());
    Load();
    EXPECT_EQ(window->chkMorePicTypes.Text(), "Also use PNG, TIFF, WebP, HEIC and AVIF pictures");
    EXPECT_EQ(window->chkMorePicTypes.Value(), 0);  // missing means off
    EXPECT_EQ(PicCount(), 0);
    SendMessageA(window->chkMorePicTypes.hWnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(Settings.MorePicTypes);
    EXPECT_EQ(PicCount(), 3);
    EXPECT_EQ(window->frPicFolder.Text(), "Fo&lder containing the pic files  (3 found)");
    EXPECT_TRUE(window->chkActive.Enabled());
    // The folder picker's prompt and question name the longer list.
    testing_support::FolderPickerScript picker{{empty.Path(), ""}};
    boxes.Answer(IDNO);
    window->cmdPicFolder.PerformClick();
    const std::string types = "(.jpg, .jpe*, .gif, .bmp, .png, .tif, .tiff, .webp, .heic, .heif, .avif)";
    ASSERT_FALSE(picker.prompts.empty());
    EXPECT_EQ(picker.prompts[0], "Select a folder containing pic files " + types + ":");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The '" + empty.Path() + "' folder selected does not contain any pic files " + types +
                                     ".  Do you want to select this folder anyway?");
    window->cmdOK.PerformClick();
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "More Pic Types"), "True");
    // Read back by the next start.
    window = std::make_unique<frmSSetup>();
    Load();
    EXPECT_EQ(window->chkMorePicTypes.Value(), 1);
    EXPECT_EQ(PicCount(), 3);
    SendMessageA(window->chkMorePicTypes.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(PicCount(), 0);
    window->cmdOK.PerformClick();
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "More Pic Types"), "False");
}

TEST_F(SetupWindow, AcceptingAnEmptyFolderSwitchesTheRotationOff) {
    Set("Active", "True");
    Load();
    testing_support::FolderPickerScript picker{{empty.Path()}};
    boxes.Answer(IDYES);
    window->cmdPicFolder.PerformClick();
    EXPECT_EQ(Settings.PicsFolder, empty.Path());
    EXPECT_EQ(window->cboPicFolder.List(0), empty.Path());
    EXPECT_EQ(window->frPicFolder.Text(), "Fo&lder containing the pic files  (0 found)");
    EXPECT_EQ(window->chkActive.Value(), 0);
    EXPECT_FALSE(window->chkActive.Enabled());
    EXPECT_FALSE(window->ssTimer.Enabled());
    EXPECT_FALSE(Settings.Active);
}

TEST_F(SetupWindow, ChangingADelayRestartsTheCountdownUnlessLoading) {
    Set("Active", "True");
    Load();
    now = 5100;
    window->scrSpeed.SetValue(200);
    EXPECT_EQ(LastShowTime, 5100.0f);
    EXPECT_EQ(DelayInEffect, 200);
    now = 5200;
    window->Loading = true;
    window->scrSpeed.SetValue(250);
    window->Loading = false;
    EXPECT_EQ(LastShowTime, 5100.0f);
    // The Other delay, from the tray.
    window->TrayIcon_Popup_DelayOther.Click();
    EXPECT_TRUE(window->optSpeed[1].Value());
    EXPECT_TRUE(window->TrayIcon_Popup_DelayOther.Checked());
    EXPECT_FALSE(window->TrayIcon_Popup_DelayStartup.Checked());
    EXPECT_EQ(DelayInEffect, 300);
}

TEST_F(SetupWindow, AnUnreadableControlPanelColorForcesTheStartupColor) {
    testing_support::RegSetString(HKEY_CURRENT_USER, kColorsKey, kBackgroundValue, "teal");
    Set("Reset Color", "0");
    Set("Reset Desktop", "True");
    Load();
    EXPECT_EQ(Settings.ResetColor, 1);
    EXPECT_TRUE(window->optResetBackColor[1].Value());
    EXPECT_FALSE(window->optResetBackColor[0].Enabled());
    EXPECT_FALSE(window->Reset_Popup_DC_ControlPanel.Enabled());
    // Switching "Reset Desktop" off and on does not enable it again.
    SendMessageA(window->Check1[1].hWnd(), BM_CLICK, 0, 0);
    SendMessageA(window->chkResetBackColor.hWnd(), BM_CLICK, 0, 0);
    EXPECT_FALSE(Settings.ResetDesktop);
    EXPECT_FALSE(window->optResetBackColor[1].Enabled());
    SendMessageA(window->chkResetBackColor.hWnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(Settings.ResetDesktop);
    EXPECT_FALSE(window->optResetBackColor[0].Enabled());
    EXPECT_TRUE(window->optResetBackColor[1].Enabled());
    testing_support::RegSetString(HKEY_CURRENT_USER, kColorsKey, kBackgroundValue, "0 128 128");
}

TEST_F(SetupWindow, ReadableControlPanelColorIsShownAndWrittenBackOnReset) {
    testing_support::RegSetString(HKEY_CURRENT_USER, kColorsKey, kBackgroundValue, " 10 20 30 ");
    Load();
    EXPECT_EQ(window->picDesktopColor[0].BackColor(), RGB(10, 20, 30));
    EXPECT_TRUE(window->Reset_Popup_DC_ControlPanel.Enabled());
    testing_support::RegSetString(HKEY_CURRENT_USER, kColorsKey, kBackgroundValue, "1 1 1");
    window->Reset_Popup_DC_ControlPanel.Click();
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), RGB(10, 20, 30));
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kColorsKey, kBackgroundValue), "10 20 30");
    testing_support::RegSetString(HKEY_CURRENT_USER, kColorsKey, kBackgroundValue, "0 128 128");
}

TEST_F(SetupWindow, TrayCommandsOnAnEmptyListAndTheDesktopViewItems) {
    Set("Pics Folder", "");
    Set("Desktop View", "1");
    Load();
    window->TrayIcon_Popup_DVStyle[3].Click();
    EXPECT_EQ(window->cboDesktopView.ListIndex(), 1);
    EXPECT_EQ(Settings.DesktopView, 1);
    // The double-click runs "Show Next Pic", which reports the missing folder.
    window->TaskBarHandler(WM_LBUTTONDBLCLK);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The pics folder has not been selected.");
}

// ---------------------------------------------------------------- information window

TEST_F(SetupWindow, InfoWindowShowsTheTitleUntilAPictureIsHungAndSitsTopRight) {
    Set("Display Time", "True");
    Load();
    frmInfoWindow* info = window->InfoWindow();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->Visible());
    EXPECT_EQ(info->lblFileName.Text(), "Sorvita Backdrop Changer");
    EXPECT_EQ(info->lblFileName.ToolTipText(), "");
    EXPECT_EQ(info->lblTimeLeft.Text(), "Not Active");
    common::GetDesktopSize(true, false, "");
    const auto area = common::DesktopArea;
    EXPECT_EQ(info->Left() + info->Width(), area.Right);
    EXPECT_EQ(info->Top(), area.Top);

    // A short name: just wide enough for the time-left line.
    window->SetInfoPicPath(pics.File("a.bmp"));
    info->SetTimeLeft("5:59:59");
    info->Timer1_Timer();
    EXPECT_EQ(info->lblFileName.Text(), "a.bmp");
    EXPECT_EQ(info->lblFileName.ToolTipText(), pics.File("a.bmp"));
    info->Form_Popup_CopyFilename.Click();
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE text = GetClipboardData(CF_TEXT);
    EXPECT_EQ(std::string(text ? static_cast<const char*>(GlobalLock(text)) : ""), pics.File("a.bmp"));
    if (text) GlobalUnlock(text);
    CloseClipboard();
    const int twoPixels = platform::PixelsToTwipsX(2);
    EXPECT_EQ(info->Width(), std::max(info->lblFileName.Width(), info->lblTimeLeft.Width()) + twoPixels);
    EXPECT_EQ(info->lblTimeLeft.Left() + info->lblTimeLeft.Width(), info->ScaleWidth());

    // A very long name: as wide as the work area, the name running past the left edge.
    window->SetInfoPicPath("C:\\" + std::string(400, 'n') + ".jpg");
    info->Timer1_Timer();
    EXPECT_EQ(info->Width(), area.Width);
    EXPECT_LT(info->lblFileName.Left(), 0);

    // The delay selection colours the time-left line.
    EXPECT_EQ(info->TimeLeftColor(), kStartupDelayColor);
    window->optSpeed[1].SetValue(true);
    EXPECT_EQ(info->TimeLeftColor(), kOtherDelayColor);
}

TEST_F(SetupWindow, InfoWindowShowsWhatARepaintShowsAfterEveryChange) {
    Set("Display Time", "True");
    Load();
    frmInfoWindow* info = window->InfoWindow();
    ASSERT_NE(info, nullptr);
    SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);  // no tooltip over it
    // Short and long names, with and without blanks, the last as wide as the work area, each
    // with a new time left; then back to short ones, which shrink the window again.
    const char* names[] = {"a.jpg", "Big Glow.jpg", "a.jpg", "Big  Glow Big Glow.jpg", "b c.jpg", nullptr, "a.jpg"};
    const char* times[] = {"0:00:02", "0:00:01", "0:00:02", "10:00:00", "0:00:01", "0:00:02", "Not Active"};
    for (size_t i = 0; i < std::size(names); ++i) {
        const std::string name = names[i] ? names[i] : std::string(300, 'W') + ".jpg";
        window->SetInfoPicPath("C:\\Pics\\" + name);
        info->SetTimeLeft(times[i]);
        info->Timer1_Timer();
        ASSERT_EQ(info->lblFileName.Text(), name);
        EXPECT_TRUE(testing_support::ShowsWhatARepaintShows(info->hWnd())) << "after " << name.substr(0, 20);
    }
}

namespace {

// What a desktop that repaints over the windows on it does to them when its picture changes
// (Wine's virtual desktop does): their pixels are gone, and nothing tells them.
void PaintOverOnScreen(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    HDC screen = GetDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(0, 160, 0));
    FillRect(screen, &r, brush);
    DeleteObject(brush);
    ReleaseDC(nullptr, screen);
}

// Whether the window's own pixels (not the screen's) hold any of its text colour in `area`.
bool WindowHoldsTextIn(HWND hwnd, RECT area) {
    HDC dc = GetDC(hwnd);
    bool found = false;
    for (int y = area.top; y < area.bottom && !found; ++y)
        for (int x = area.left; x < area.right && !found; ++x) found = GetPixel(dc, x, y) == RGB(255, 255, 255);
    ReleaseDC(hwnd, dc);
    return found;
}

RECT ClientRectOfLabel(const platform::Label& label) {
    RECT r{};
    GetWindowRect(label.hWnd(), &r);
    MapWindowPoints(nullptr, GetParent(label.hWnd()), reinterpret_cast<POINT*>(&r), 2);
    RECT client{};
    GetClientRect(GetParent(label.hWnd()), &client);
    IntersectRect(&r, &r, &client);
    return r;
}

}  // namespace

TEST_F(SetupWindow, InfoWindowStaysWholeThroughAPictureChange) {
    Set("Display Time", "True");
    Load();
    frmInfoWindow* info = window->InfoWindow();
    ASSERT_NE(info, nullptr);
    SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    testing_support::Settle();

    // A repaint of the whole window, as a change of the system colours brings at each centred
    // picture with "Random Color": the window's own background is painted before its lines,
    // and must not paint over them meanwhile.
    RedrawWindow(info->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    RedrawWindow(info->hWnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
    EXPECT_TRUE(WindowHoldsTextIn(info->hWnd(), ClientRectOfLabel(info->lblFileName)));
    EXPECT_TRUE(WindowHoldsTextIn(info->hWnd(), ClientRectOfLabel(info->lblTimeLeft)));

    // A new picture hung, and the desktop painting its picture over the window afterwards.
    PicPosition = PickState{};
    ShowNextPic(false);
    testing_support::Settle(600);
    ASSERT_EQ(info->lblFileName.Text(), "a.bmp");
    ShowNextPic(false);
    info->Timer1_Timer();
    ASSERT_EQ(info->lblFileName.Text(), "b.bmp");
    PaintOverOnScreen(info->hWnd());
    EXPECT_TRUE(info->Visible());
    EXPECT_TRUE(testing_support::ShowsWhatARepaintShows(info->hWnd()));
    common::ClearWallpaper(common::WallpaperFilePath(), true);
}

TEST_F(SetupWindow, InfoWindowKeepsAlwaysOnTopAcrossClosing) {
    Set("Display Time", "True");
    Load();
    frmInfoWindow* info = window->InfoWindow();
    ASSERT_NE(info, nullptr);
    info->Form_Popup_OnTop.Click();
    EXPECT_TRUE(GetWindowLongA(info->hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    info->Form_Popup_Close.Click();
    EXPECT_EQ(window->InfoWindow(), nullptr);
    EXPECT_FALSE(Settings.DisplayTime);
    EXPECT_FALSE(window->TrayIcon_Popup_InfoWindow.Checked());
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Info Window on Top"), "True");

    window->TrayIcon_Popup_InfoWindow.Click();
    info = window->InfoWindow();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->Form_Popup_OnTop.Checked());
    EXPECT_TRUE(GetWindowLongA(info->hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(SetupWindow, OkSendsTheRestoredWindowBackToTheTrayInTwoColumns) {
    Set("2-Column Menu", "True");
    Load();
    window->TrayIcon_Popup_Restore.Click();
    EXPECT_TRUE(window->Visible());
    EXPECT_FALSE(common::TaskBar().MainInTray());
    EXPECT_EQ(GetMenu(window->hWnd()), nullptr);
    window->cmdRun.PerformClick();
    testing_support::PumpMessages();
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(common::TaskBar().MainInTray());
    // The second column starts at "Show Next Pic", with no separator above it.
    EXPECT_FALSE(window->zsep03.Visible());
    HMENU popup = window->TrayIcon_Popup.SubMenu();
    char text[64] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfoA(popup, 11, TRUE, &info));
    EXPECT_STREQ(text, "Show Next Pic");
    EXPECT_TRUE(info.fType & MFT_MENUBARBREAK);
}

namespace {

// Closes the picture browser from inside its modal loop, noting the show timer meanwhile.
struct BrowserCloser {
    static inline frmSSetup* setup = nullptr;
    static inline bool seen = false, showTimerRan = true, watchdogRan = true;
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        HWND browser = FindWindowA(nullptr, "Browse Pics - Sorvita Backdrop Changer");
        if (!browser) return;
        KillTimer(nullptr, id);
        seen = true;
        showTimerRan = setup->ssTimer.Enabled();
        watchdogRan = setup->TrayIcon_Timer.Enabled();
        PostMessageA(browser, WM_CLOSE, 0, 0);
    }
};

}  // namespace

TEST_F(SetupWindow, BrowsingStopsBothTimersAndRebuildsTheListAfterwards) {
    Set("Active", "True");
    Load();
    ASSERT_TRUE(window->ssTimer.Enabled());
    WriteBmp(pics.File("d.bmp"), 4, 4);  // added while the browser is open, as far as the list knows
    BrowserCloser::setup = window.get();
    SetTimer(nullptr, 0, 50, &BrowserCloser::Fire);
    window->cmdWallpaper.PerformClick();
    ASSERT_TRUE(BrowserCloser::seen);
    EXPECT_FALSE(BrowserCloser::showTimerRan);
    EXPECT_FALSE(BrowserCloser::watchdogRan);
    EXPECT_TRUE(window->ssTimer.Enabled());
    EXPECT_TRUE(window->TrayIcon_Timer.Enabled());
    EXPECT_EQ(PicCount(), 4);
    EXPECT_EQ(window->frPicFolder.Text(), "Fo&lder containing the pic files  (4 found)");
}
