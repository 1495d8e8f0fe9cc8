// Hot corners and the screen saver switches: the pointer and the sleeps are scripted,
// the screen saver parameters are Wine's own, read back after each step.
#include "CommanderHarness.h"
#include "common/FileFolderFunctions_.h"
#include "common/GetDesktopSize_.h"
#include "desk_commander/SettingsIni_.h"
#include "platform/Monitors.h"

using namespace commander_test;
using namespace desk_commander;

namespace {

class HotCorners : public Commander {
protected:
    testing_support::TempFolder folder{"commander-saver"};
    std::string saver = folder.File("Sorvita Slide Saver.scr");
    long right = 0, bottom = 0;

    void SetUp() override {
        Commander::SetUp();
        testing_support::WriteFile(saver, "MZ");
        testing_support::RegSetString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", " " + saver + " ");
        SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, 600, nullptr, SPIF_SENDWININICHANGE);
        common::GetDesktopSize(false, true, "");
        right = common::DesktopArea.Right;
        bottom = common::DesktopArea.Bottom;
    }
    void TearDown() override {
        Commander::TearDown();
        testing_support::RegSetString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", "");
    }
    void Corners(int activate, int prevent) {
        Set("Activate Hot Corner", std::to_string(activate));
        Set("Prevent Hot Corner", std::to_string(prevent));
        Set("Activate Hot Corner On", "1");
        Set("Prevent Hot Corner On", "1");
    }
    void Tick() { window->HotCorners_Timer_Timer(); }
};

}  // namespace

TEST_F(HotCorners, TheCornerSquaresFollowTheScreenSize) {
    Load();
    auto at = [&](long x, long y, int corner) {
        pointer = {x, y};
        return window->IsMouseInCorner(corner);
    };
    EXPECT_TRUE(at(2, 2, 0));
    EXPECT_FALSE(at(3, 0, 0));
    EXPECT_TRUE(at(right - 3, bottom - 3, 3));
    EXPECT_TRUE(at(right - 1, bottom - 1, 3));
    EXPECT_FALSE(at(right - 4, bottom - 1, 3));
    EXPECT_TRUE(at(right - 1, 0, 1));
    EXPECT_TRUE(at(0, bottom - 1, 2));
    window->scrCornerSize.SetValue(1);  // 20 pixels
    EXPECT_TRUE(at(19, 19, 0));
    EXPECT_FALSE(at(20, 19, 0));
}

TEST_F(HotCorners, RestingInTheActivationCornerStartsTheSaverOnceAndLeavingRestoresTheTimeout) {
    Corners(1, 2);
    Set("Activate Delay", "2");
    Load();
    pointer = {right - 1, 0};
    UINT timeoutWhileWaiting = 0;
    int pictureWhileWaiting = 0;
    whileSleeping = [&] {
        timeoutWhileWaiting = SaverTimeout();
        pictureWhileWaiting = TrayIconIndex;
    };
    Tick();
    EXPECT_EQ(sleeps, (std::vector<DWORD>{1000, 1000}));
    EXPECT_EQ(timeoutWhileWaiting, 600u);
    EXPECT_EQ(pictureWhileWaiting, 4);
    EXPECT_TRUE(CornerActivated);
    EXPECT_EQ(SaverTimeout(), 1u);
    EXPECT_EQ(SavedScreenSaveTimeout, 600);
    EXPECT_EQ(TrayIconIndex, 3);
    EXPECT_EQ(ShellIcon(), window->TrayIconHandle(3));
    // Still there: no new start, the saved time-out kept.
    sleeps.clear();
    Tick();
    Tick();
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(SavedScreenSaveTimeout, 600);
    EXPECT_EQ(TrayIconIndex, 3);
    // Out: the time-out back, once.
    pointer = {500, 400};
    Tick();
    EXPECT_FALSE(CornerActivated);
    EXPECT_EQ(SaverTimeout(), 600u);
    EXPECT_EQ(SavedScreenSaveTimeout, 0);
    EXPECT_EQ(TrayIconIndex, 1);
    EXPECT_EQ(ShellIcon(), window->TrayIconHandle(1));
    SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, 300, nullptr, SPIF_SENDWININICHANGE);
    Tick();
    EXPECT_EQ(SaverTimeout(), 300u);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(HotCorners, LeavingDuringTheWaitShowsThePreviousPictureAndLeavesTheTimeoutAlone) {
    Corners(0, 1);
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, SPIF_SENDWININICHANGE);
    Load();
    ASSERT_EQ(TrayIconIndex, 2);
    pointer = {0, 0};
    whileSleeping = [&] { pointer = {400, 300}; };
    Tick();
    EXPECT_EQ(sleeps, std::vector<DWORD>{500});
    EXPECT_FALSE(CornerActivated);
    EXPECT_EQ(TrayIconIndex, 2);
    EXPECT_EQ(ShellIcon(), window->TrayIconHandle(2));
    EXPECT_EQ(SaverTimeout(), 600u);
    EXPECT_FALSE(SaverActive());
}

TEST_F(HotCorners, ADelayOfZeroLooksThreeTimesWithoutWaiting) {
    Corners(3, 0);
    Set("Activate Delay", "0");
    Load();
    int looks = 0;
    platform::ScopedSeam<std::function<BOOL(POINT*)>> counting{platform::seams::GetCursorPos, [&](POINT* p) {
                                                                   ++looks;
                                                                   *p = {right - 1, bottom - 1};
                                                                   return TRUE;
                                                               }};
    Tick();
    EXPECT_EQ(looks, 3);
    EXPECT_EQ(sleeps, (std::vector<DWORD>{0, 0}));
    EXPECT_EQ(SaverTimeout(), 1u);
}

TEST_F(HotCorners, ThePreventionCornerSwitchesTheSaverOffUntilThePointerLeaves) {
    Corners(0, 3);
    Load();
    pointer = {right - 2, bottom - 2};
    Tick();
    EXPECT_TRUE(CornerPrevented);
    EXPECT_FALSE(SaverActive());
    EXPECT_TRUE(window->TrayIcon_Popup_DisableSS.Checked());
    EXPECT_EQ(TrayIconIndex, 2);
    EXPECT_EQ(ShellIcon(), window->TrayIconHandle(2));
    Tick();
    EXPECT_FALSE(SaverActive());
    pointer = {300, 300};
    Tick();
    EXPECT_FALSE(CornerPrevented);
    EXPECT_TRUE(SaverActive());
    EXPECT_FALSE(window->TrayIcon_Popup_DisableSS.Checked());
    EXPECT_EQ(TrayIconIndex, 1);
    // Switching the option off while the pointer rests there also gives the saver back.
    pointer = {right - 1, bottom - 1};
    Tick();
    EXPECT_FALSE(SaverActive());
    window->TrayIcon_Popup_HotCornerPreventSS.Click();
    ASSERT_TRUE(window->HotCorners_Timer.Enabled());  // the activation option keeps it running
    Tick();
    EXPECT_TRUE(SaverActive());
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(HotCorners, MenuCommandsStartAndSwitchTheSaver) {
    Load();
    UINT timeoutWhileWaiting = 0;
    whileSleeping = [&] { timeoutWhileWaiting = SaverTimeout(); };
    // The double-click: the one-second time-out for three seconds, then the old one back.
    window->TaskBarHandler(WM_LBUTTONDBLCLK);
    EXPECT_EQ(sleeps, std::vector<DWORD>{3000});
    EXPECT_EQ(timeoutWhileWaiting, 1u);
    EXPECT_EQ(SaverTimeout(), 600u);
    EXPECT_EQ(SavedScreenSaveTimeout, 0);
    EXPECT_EQ(TrayIconIndex, 1);
    // "Disable Slide Saver" flips Windows' switch and its own check mark.
    window->TrayIcon_Popup_DisableSS.Click();
    EXPECT_FALSE(SaverActive());
    EXPECT_TRUE(window->TrayIcon_Popup_DisableSS.Checked());
    EXPECT_EQ(TrayIconIndex, 2);
    window->TrayIcon_Popup_DisableSS.Click();
    EXPECT_TRUE(SaverActive());
    EXPECT_EQ(TrayIconIndex, 1);
    // Starting switches a disabled saver on first.
    window->TrayIcon_Popup_DisableSS.Click();
    window->TrayIcon_Popup_ActivateSS.Click();
    EXPECT_TRUE(SaverActive());
    EXPECT_FALSE(window->TrayIcon_Popup_DisableSS.Checked());
    // "Configure Slide Saver" starts the file itself, without arguments.
    window->TrayIcon_Popup_ConfigureSS.Click();
    EXPECT_EQ(started, std::vector<std::string>{"\"" + saver + "\""});
    startError = ERROR_ACCESS_DENIED;
    window->TrayIcon_Popup_ConfigureSS.Click();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "An error occurred attempting to run the screen saver to show its setup dialog:\r\n\r\n" +
                  platform::ErrorDescription(ERROR_ACCESS_DENIED));
}

TEST_F(HotCorners, WithoutAScreenSaverTheCommandAsksAndChangesNothing) {
    testing_support::RegSetString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", "");
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", folder.File("gone.scr").c_str(), "system.ini");
    Load();
    boxes.Answer(IDNO);
    window->TaskBarHandler(WM_LBUTTONDBLCLK);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "A screen saver does not appear to be set up, or the referenced file no longer exists.\r\n\r\n"
              "Would you like to go to the Display Properties dialog, Slide Saver tab to set up a screen saver now?");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgQuestion);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(SaverTimeout(), 600u);
    EXPECT_TRUE(started.empty());
    boxes.Answer(IDYES);
    window->TrayIcon_Popup_ConfigureSS.Click();
    EXPECT_EQ(started, std::vector<std::string>{"\"" + common::SystemFolder(true) +
                                                "rundll32.exe\" shell32.dll,Control_RunDLL desk.cpl,,1"});
    // system.ini is read when the registry names nothing.
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", (" " + saver).c_str(), "system.ini");
    EXPECT_EQ(ReadIniSetting("system.ini", "boot", "SCRNSAVE.EXE", "", true), saver);
    EXPECT_EQ(window->GetSaverFile(), saver);
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "system.ini");
    EXPECT_EQ(ReadIniSetting("system.ini", "boot", "SCRNSAVE.EXE", "none", true), "none");
}

TEST_F(HotCorners, TheRegistrysScreenSaverComesBeforeSystemIni) {
    const std::string other = folder.File("Other Saver.scr");
    testing_support::WriteFile(other, "MZ");
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", other.c_str(), "system.ini");
    Load();
    EXPECT_EQ(window->GetSaverFile(), saver);
    window->TrayIcon_Popup_ConfigureSS.Click();
    EXPECT_EQ(started, std::vector<std::string>{"\"" + saver + "\""});
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "system.ini");
}

TEST_F(HotCorners, FailedSystemCallsAreReportedAndKeepWhatWasSaved) {
    int restoredTo = 0;
    Corners(0, 1);
    Load();
    failingParameters = {SPI_SETSCREENSAVEACTIVE};
    EXPECT_FALSE(window->SetSaverActive(false, true));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "An error occurred attempting to set the screen saver \"active\" Registry setting.");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    EXPECT_FALSE(window->TrayIcon_Popup_DisableSS.Checked());
    boxes.Clear();

    failingParameters = {SPI_GETSCREENSAVETIMEOUT};
    EXPECT_FALSE(window->StartSaverNow(true));
    EXPECT_EQ(boxes.Last().text, "An error occurred attempting to get the screen saver \"timeout\" Registry setting.");
    EXPECT_EQ(SavedScreenSaveTimeout, 0);
    // A failed "set" after a good "get" keeps the saved value; the same tick goes on as if
    // the corner had been left and puts it back.
    failingParameters.clear();
    platform::ScopedSeam<std::function<BOOL(UINT, UINT, void*, UINT)>> oneSecondFails{
        platform::seams::SystemParametersInfoA, [&](UINT action, UINT ui, void* pv, UINT flags) -> BOOL {
            if (action == SPI_SETSCREENSAVETIMEOUT && ui == 1) return FALSE;
            if (action == SPI_SETSCREENSAVETIMEOUT) restoredTo = static_cast<int>(ui);
            return ::SystemParametersInfoA(action, ui, pv, flags);
        }};
    pointer = {0, 0};
    Tick();
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Last().text, "An error occurred attempting to set the screen saver \"timeout\" Registry setting.");
    EXPECT_EQ(restoredTo, 600);
    EXPECT_EQ(SavedScreenSaveTimeout, 0);
    EXPECT_FALSE(CornerActivated);
    EXPECT_EQ(TrayIconIndex, 1);
    EXPECT_EQ(SaverTimeout(), 600u);
    // When putting it back fails too, that is reported once and the value is given up.
    platform::ScopedSeam<std::function<BOOL(UINT, UINT, void*, UINT)>> allFail{
        platform::seams::SystemParametersInfoA, [&](UINT action, UINT ui, void* pv, UINT flags) -> BOOL {
            if (action == SPI_SETSCREENSAVETIMEOUT) return FALSE;
            return ::SystemParametersInfoA(action, ui, pv, flags);
        }};
    boxes.Clear();
    Tick();
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Last().text,
              "An error occurred attempting to reset the screen saver \"timeout\" Registry setting.");
    EXPECT_EQ(SavedScreenSaveTimeout, 0);
}

TEST_F(HotCorners, TrayPicturesShowTheMonitorWithTheStatesColour) {
    Load();
    const COLORREF screens[] = {0, RGB(255, 0, 0), RGB(0, 255, 0), RGB(255, 255, 0)};
    for (int index = 1; index <= 4; ++index) {
        HICON icon = window->TrayIconHandle(index);
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, 16);
        EXPECT_EQ(bitmap.bmHeight, 16);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, info.hbmColor);
        if (index > 1) {
            EXPECT_EQ(GetPixel(dc, 7, 6), screens[index - 1]) << index;
        }
        EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 0)) << index;  // the monitor's black edge
        SelectObject(dc, info.hbmMask);
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << index;  // transparent around it
        EXPECT_EQ(GetPixel(dc, 7, 6), RGB(0, 0, 0)) << index;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    EXPECT_EQ(window->TrayIcon[2].Visible(), false);
}

namespace {

// The test's own list of monitors, handed to the program as the system would.
std::vector<RECT> listedMonitors;

BOOL ListMonitors(HDC, LPCRECT, MONITORENUMPROC proc, LPARAM data) {
    for (RECT& area : listedMonitors)
        if (!proc(nullptr, nullptr, &area, data)) return FALSE;
    return TRUE;
}

}  // namespace

TEST_F(HotCorners, TheDesksOuterCornersMoveWhenAMonitorGoes) {
    // A primary and a portrait monitor to its right.
    listedMonitors = {{0, 0, 1024, 768}, {1024, 0, 1792, 1024}};
    platform::ScopedSeam<std::function<BOOL(HDC, LPCRECT, MONITORENUMPROC, LPARAM)>> monitors(
        platform::seams::EnumDisplayMonitors, ListMonitors);
    Load();
    auto at = [&](long x, long y, int corner) {
        pointer = {x, y};
        return window->IsMouseInCorner(corner);
    };
    EXPECT_TRUE(at(1791, 1023, 3));
    EXPECT_TRUE(at(1791, 0, 1));
    EXPECT_TRUE(at(0, 767, 2));
    EXPECT_FALSE(at(1023, 0, 1)) << "where the monitors meet";
    EXPECT_FALSE(at(1023, 767, 3));
    // The portrait monitor is unplugged: the primary's own corners.
    listedMonitors.pop_back();
    SendMessageA(window->hWnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_TRUE(at(1023, 767, 3));
    EXPECT_TRUE(at(1023, 0, 1));
    EXPECT_FALSE(at(1791, 1023, 3));
}

TEST_F(HotCorners, OnTwoMonitorsOnlyTheOuterCornersAreHot) {
    if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "one monitor";
    Load();
    auto at = [&](long x, long y, int corner) {
        pointer = {x, y};
        return window->IsMouseInCorner(corner);
    };
    // The test environment's desk: 1024 x 768 primary, 768 x 1024 to its right.
    EXPECT_TRUE(at(0, 0, 0));
    EXPECT_TRUE(at(0, 767, 2));
    EXPECT_TRUE(at(1791, 0, 1));
    EXPECT_TRUE(at(1791, 1023, 3));
    EXPECT_FALSE(at(right - 1, 0, 1)) << "the primary's right edge is inside the desk";
    EXPECT_FALSE(at(right - 1, bottom - 1, 3));
    EXPECT_FALSE(at(1024, 1023, 2));
}
