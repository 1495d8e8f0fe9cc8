// The main window: options in and out of the registry, the tray menu's layout and its
// commands that start other programs, against Wine's real registry, tray and clipboard.
#include <shlobj.h>

#include <algorithm>

#include "CommanderHarness.h"
#include "common/BrowseForFolder_.h"
#include "common/CreateStartupLink_.h"
#include "common/FileFolderFunctions_.h"
#include "support/GuiObjects.h"

using namespace commander_test;
using namespace desk_commander;
using testing_support::RegString;

TEST_F(Commander, FirstStartGoesToTheTrayWithTheDefaults) {
    Load();
    EXPECT_EQ(window->Caption(), "Sorvita Desk Commander Setup");
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(common::TaskBar().MainInTray());
    EXPECT_EQ(window->lblVersion.Text(), "2.0");
    EXPECT_EQ(window->lblVersion.ToolTipText(), "");
    EXPECT_EQ(window->TrayIcon_Popup_Exit.Caption(), "Exit\tr+s");
    EXPECT_EQ(window->TrayIcon_Popup_Restore.Caption(), "Setup...\tr+a");
    EXPECT_TRUE(window->optActivateSS[0].Value());
    EXPECT_TRUE(window->optPreventSS[1].Value());
    EXPECT_EQ(window->txtCornerSize.Text(), "3");
    EXPECT_EQ(window->scrCornerSize.Value(), 18);
    EXPECT_EQ(window->lblCornerSize[1].Text(), "pixels");
    EXPECT_EQ(window->txtDelayActivate.Text(), "1");
    EXPECT_EQ(window->lblDelayActivate[1].Text(), "second");
    EXPECT_EQ(window->cboDesktopView.ListIndex(), 0);
    // Both hot corner options off: nothing of theirs can be changed, and the timer rests.
    EXPECT_FALSE(window->HotCorners_Timer.Enabled());
    EXPECT_FALSE(window->optActivateSS[2].Enabled());
    EXPECT_FALSE(window->optPreventSS[2].Enabled());
    EXPECT_FALSE(window->scrCornerSize.Enabled());
    EXPECT_FALSE(window->txtDelayActivate.Enabled());
    EXPECT_EQ(TrayIconIndex, 1);
    EXPECT_EQ(ShellIcon(), window->TrayIconHandle(1));
    EXPECT_FALSE(window->TrayIcon_Popup_DisableSS.Checked());
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Commander, StoredOptionsLoadWithTheirRangesAndAreAppliedToTheDesktop) {
    StandInDesktop desktop;
    Set("Hot Corner Size", "25");
    Set("Activate Delay", "0");
    Set("Desktop View", "3");
    Set("Activate Hot Corner", "3");
    Set("Prevent Hot Corner", "x");
    Set("Prevent Hot Corner On", "1");
    Set("2-Column Menu", "7");
    Load();
    EXPECT_EQ(CornerSize, 3);
    EXPECT_EQ(ActivateDelay, 0);
    EXPECT_EQ(window->txtDelayActivate.Text(), "0");
    EXPECT_EQ(window->lblDelayActivate[1].Text(), "seconds");
    EXPECT_EQ(window->cboDesktopView.Text(), "Details");
    EXPECT_EQ(desktop.View(), LV_VIEW_DETAILS);
    EXPECT_EQ(ActivateCorner, 3);
    EXPECT_EQ(PreventCorner, 1);
    EXPECT_EQ(window->chk2ColumnMenu.Value(), 0);
    // The prevention option alone: its corners and the size, not the activation's.
    EXPECT_EQ(window->chkPreventSS.Value(), 1);
    EXPECT_TRUE(window->TrayIcon_Popup_HotCornerPreventSS.Checked());
    EXPECT_FALSE(window->TrayIcon_Popup_HotCornerActivateSS.Checked());
    EXPECT_TRUE(window->HotCorners_Timer.Enabled());
    EXPECT_TRUE(window->optPreventSS[0].Enabled());
    EXPECT_FALSE(window->optActivateSS[0].Enabled());
    EXPECT_TRUE(window->scrCornerSize.Enabled());
    EXPECT_FALSE(window->scrDelayActivate.Enabled());
}

TEST_F(Commander, EqualCornersMoveTheOtherOptionOn) {
    Set("Activate Hot Corner", "2");
    Set("Prevent Hot Corner", "2");
    Load();
    // Loading the prevention corner last moved the activation corner on.
    EXPECT_EQ(PreventCorner, 2);
    EXPECT_EQ(ActivateCorner, 3);
    EXPECT_TRUE(window->optActivateSS[3].Value());
    window->optActivateSS[2].SetValue(true);
    EXPECT_EQ(ActivateCorner, 2);
    EXPECT_EQ(PreventCorner, 3);
    EXPECT_TRUE(window->optPreventSS[3].Value());
    window->optPreventSS[0].SetValue(true);
    window->optActivateSS[0].SetValue(true);
    EXPECT_EQ(PreventCorner, 1);  // lower-right's next is upper-left, upper-left's upper-right
    window->optPreventSS[3].SetValue(true);
    window->optActivateSS[3].SetValue(true);
    EXPECT_EQ(PreventCorner, 0);
    // Each group keeps exactly one selection.
    int selected = 0;
    for (auto& option : window->optPreventSS) selected += option.Value();
    EXPECT_EQ(selected, 1);
}

TEST_F(Commander, BarsRunOppositeToTheirNumbersAndTheUnitsFollow) {
    Load();
    window->scrCornerSize.SetValue(20);
    EXPECT_EQ(CornerSize, 1);
    EXPECT_EQ(window->txtCornerSize.Text(), "1");
    EXPECT_EQ(window->lblCornerSize[1].Text(), "pixel");
    // The bar's up arrow raises the number.
    window->scrCornerSize.SetValue(15);
    SendMessageA(window->hWnd(), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(window->scrCornerSize.hWnd()));
    EXPECT_EQ(CornerSize, 7);
    EXPECT_EQ(window->lblCornerSize[1].Text(), "pixels");
    window->scrDelayActivate.SetValue(0);
    EXPECT_EQ(ActivateDelay, 5);
    EXPECT_EQ(window->txtDelayActivate.Text(), "5");
    // The display box hands its focus on to its bar.
    SendMessageA(window->chkActivateSS.hWnd(), BM_CLICK, 0, 0);
    window->TrayIcon_Popup_Restore.Click();
    SetForegroundWindow(window->hWnd());
    SetFocus(window->txtCornerSize.hWnd());
    EXPECT_EQ(GetFocus(), window->scrCornerSize.hWnd());
}

TEST_F(Commander, CheckBoxesAndTheirMenuItemsMirrorEachOther) {
    Load();
    window->TrayIcon_Popup_HotCornerActivateSS.Click();
    EXPECT_EQ(window->chkActivateSS.Value(), 1);
    EXPECT_TRUE(window->TrayIcon_Popup_HotCornerActivateSS.Checked());
    EXPECT_TRUE(window->HotCorners_Timer.Enabled());
    EXPECT_TRUE(window->optActivateSS[1].Enabled());
    EXPECT_TRUE(window->scrDelayActivate.Enabled());
    EXPECT_FALSE(window->optPreventSS[1].Enabled());
    SendMessageA(window->chkPreventSS.hWnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(window->TrayIcon_Popup_HotCornerPreventSS.Checked());
    EXPECT_TRUE(window->optPreventSS[1].Enabled());
    window->TrayIcon_Popup_HotCornerActivateSS.Click();
    EXPECT_EQ(window->chkActivateSS.Value(), 0);
    EXPECT_TRUE(window->HotCorners_Timer.Enabled());  // the prevention corner still needs it
    EXPECT_FALSE(window->scrDelayActivate.Enabled());
    EXPECT_TRUE(window->scrCornerSize.Enabled());
    window->TrayIcon_Popup_HotCornerPreventSS.Click();
    EXPECT_FALSE(window->HotCorners_Timer.Enabled());
    EXPECT_FALSE(window->scrCornerSize.Enabled());
}

TEST_F(Commander, ExitSavesEveryOptionAsDecimalText) {
    Load();
    SendMessageA(window->chkActivateSS.hWnd(), BM_CLICK, 0, 0);
    window->optActivateSS[3].SetValue(true);
    window->scrCornerSize.SetValue(11);
    window->scrDelayActivate.SetValue(1);
    SendMessageA(window->chk2ColumnMenu.hWnd(), BM_CLICK, 0, 0);
    window->cboDesktopView.SetListIndex(2);
    // The tray menu's desktop commands leave the settings alone.
    window->TrayIcon_Popup_DVStyle[1].Click();
    window->TrayIcon_Popup_DVText[1].Click();
    window->TrayIcon_Popup_Exit.Click();
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_FALSE(common::TaskBar().MainInTray());
    EXPECT_EQ(boxes.Count(), 0u);
    const std::pair<const char*, const char*> expected[] = {
        {"Activate Hot Corner On", "1"}, {"Prevent Hot Corner On", "0"}, {"Activate Hot Corner", "3"},
        {"Prevent Hot Corner", "1"},     {"Hot Corner Size", "10"},      {"Activate Delay", "4"},
        {"2-Column Menu", "1"},          {"Desktop Text", "0"},          {"Desktop View", "2"}};
    for (const auto& [key, value] : expected) EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, key), value) << key;
}

TEST_F(Commander, ExitingWithTheSaverOffAsksOnceAndNoLeavesItOff) {
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, SPIF_SENDWININICHANGE);
    Load();
    // Found off at start-up: marked, picture 2, Windows left alone.
    EXPECT_TRUE(window->TrayIcon_Popup_DisableSS.Checked());
    EXPECT_EQ(TrayIconIndex, 2);
    EXPECT_EQ(ShellIcon(), window->TrayIconHandle(2));
    boxes.Answer(IDNO);
    window->cmdOK.PerformClick();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "The screen saver is currently disabled.  Would you like to enable it before exiting?");
    EXPECT_EQ(boxes.Last().flags & (MB_ICONMASK | MB_TYPEMASK), static_cast<unsigned>(MB_ICONQUESTION | MB_YESNO));
    EXPECT_FALSE(SaverActive());
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Desktop View"), "0");
}

TEST_F(Commander, ExitingWithTheSaverOffAndYesSwitchesItOn) {
    Load();
    window->TrayIcon_Popup_DisableSS.Click();
    EXPECT_FALSE(SaverActive());
    boxes.Answer(IDYES);
    window->TrayIcon_Popup_Exit.Click();
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_TRUE(SaverActive());
}

TEST_F(Commander, TwoColumnMenuStartsItsSecondColumnAtResetWallpaperStyle) {
    Set("2-Column Menu", "1");
    Load();
    EXPECT_FALSE(window->zsep05.Visible());
    HMENU popup = window->TrayIcon_Popup.SubMenu();
    char text[64] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfoA(popup, 11, TRUE, &info));
    EXPECT_STREQ(text, "Reset Wallpaper Style");
    EXPECT_TRUE(info.fType & MFT_MENUBARBREAK);
    // Back to one column: the window comes out, the box is cleared, OK sends it back.
    window->TrayIcon_Popup_Restore.Click();
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(GetMenu(window->hWnd()), nullptr);
    SendMessageA(window->chk2ColumnMenu.hWnd(), BM_CLICK, 0, 0);
    window->cmdRun.PerformClick();
    testing_support::PumpMessages();
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(common::TaskBar().MainInTray());
    EXPECT_TRUE(window->zsep05.Visible());
    info.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfoA(popup, 12, TRUE, &info));
    EXPECT_STREQ(text, "Reset Wallpaper Style");
    EXPECT_FALSE(info.fType & MFT_MENUBARBREAK);
}

TEST_F(Commander, ClearClipboardIsOfferedOnlyWithSomethingToClear) {
    Load();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    window->BeforeTrayMenu();
    EXPECT_FALSE(window->TrayIcon_Popup_ClearClipboard.Enabled());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
    memcpy(GlobalLock(text), "hello", 6);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
    window->BeforeTrayMenu();
    EXPECT_TRUE(window->TrayIcon_Popup_ClearClipboard.Enabled());
    window->TrayIcon_Popup_ClearClipboard.Click();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(CountClipboardFormats(), 0);
    // A rich-text format alone counts too.
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL rich = GlobalAlloc(GMEM_MOVEABLE, 4);
    memcpy(GlobalLock(rich), "{\\}", 4);
    GlobalUnlock(rich);
    SetClipboardData(RegisterClipboardFormatA("Rich Text Format"), rich);
    CloseClipboard();
    window->BeforeTrayMenu();
    EXPECT_TRUE(window->TrayIcon_Popup_ClearClipboard.Enabled());
    window->TrayIcon_Popup_ClearClipboard.Click();
    EXPECT_EQ(boxes.Count(), 0u);
}

namespace {

// Looks at both timers from inside the blank screen's modal loop, then ends it.
struct WhileBlank {
    static inline TestMainForm* owner = nullptr;
    static inline bool hotCornersRan = true, watchdogRan = true, seen = false;
    static void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD) {
        HWND blank = nullptr;
        for (HWND w = FindWindowExA(nullptr, nullptr, "SorvitaForm", nullptr); w;
             w = FindWindowExA(nullptr, w, "SorvitaForm", nullptr))
            if (IsWindowVisible(w) && (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST)) blank = w;
        if (!blank) return;
        KillTimer(nullptr, id);
        seen = true;
        hotCornersRan = owner->HotCorners_Timer.Enabled();
        watchdogRan = owner->TrayIcon_Timer.Enabled();
        PostMessageA(blank, WM_KEYUP, VK_SPACE, 0);
    }
};

}  // namespace

TEST_F(Commander, BlankScreenStopsBothTimersWhileItIsUp) {
    Set("Activate Hot Corner On", "1");
    Load();
    ASSERT_TRUE(window->HotCorners_Timer.Enabled());
    ASSERT_TRUE(window->TrayIcon_Timer.Enabled());
    WhileBlank::owner = window.get();
    WhileBlank::seen = false;
    WhileBlank::hotCornersRan = WhileBlank::watchdogRan = true;
    SetTimer(nullptr, 0, 50, &WhileBlank::Look);
    window->TrayIcon_Popup_BlankScreen.Click();
    ASSERT_TRUE(WhileBlank::seen);
    EXPECT_FALSE(WhileBlank::hotCornersRan);
    EXPECT_FALSE(WhileBlank::watchdogRan);
    EXPECT_TRUE(window->HotCorners_Timer.Enabled());
    EXPECT_TRUE(window->TrayIcon_Timer.Enabled());
}

TEST_F(Commander, StartUpShortcutButtonsConfirmOnlyWhatWorked) {
    Load();
    const std::string link =
        common::GetSpecialFolder(nullptr, CSIDL_STARTUP, true) + "\\Sorvita Desk Commander.lnk";
    window->cmdStartupCreate.PerformClick();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "A Sorvita Desk Commander shortcut was created in the StartUp program group successfully.  "
              "Sorvita Desk Commander will now be run every time Windows starts up.");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgInformation);
    EXPECT_NE(GetFileAttributesA(link.c_str()), INVALID_FILE_ATTRIBUTES);
    window->cmdStartupRemove.PerformClick();
    EXPECT_EQ(boxes.Last().text,
              "The Sorvita Desk Commander shortcut was removed from the StartUp program group successfully.");
    EXPECT_EQ(GetFileAttributesA(link.c_str()), INVALID_FILE_ATTRIBUTES);
    // Nothing left to remove: the failure alone.
    window->cmdStartupRemove.PerformClick();
    ASSERT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    // "About..." shows the About text in a box of its own.
    window->cmdAbout.PerformClick();
    EXPECT_EQ(boxes.Last().title, "About");
    EXPECT_NE(boxes.Last().text.find("Sorvita Desk Commander"), std::string::npos);
}

TEST_F(Commander, LoadingAndClosingAgainLeavesNoObjectsBehind) {
    // The first load makes what stays for the process (classes, fonts, the tray's record).
    Load();
    window->cmdOK.PerformClick();
    const testing_support::GuiObjects before = testing_support::CountGuiObjects();
    for (int i = 0; i < 3; ++i) {
        window = std::make_unique<TestMainForm>();
        Load();
        window->TrayIcon_Popup_DisableSS.Click();
        window->TrayIcon_Popup_DisableSS.Click();
        window->cmdOK.PerformClick();
        window.reset();
    }
    window = std::make_unique<TestMainForm>();
    EXPECT_EQ(testing_support::CountGuiObjects(), before);
}

// ---------------------------------------------------------------- starting the other programs

namespace {

const char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";


}  // namespace

TEST_F(Commander, SuiteProgramsStartFromTheirPathRecords) {
    testing_support::TempFolder apps{"commander-apps"};
    testing_support::WriteFile(apps.File("Sorvita Slide Saver.scr"), "MZ");
    testing_support::WriteFile(apps.File("Sorvita Image Gallery.exe"), "MZ");
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Sorvita Slide Saver.scr");
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Sorvita Image Gallery.exe");
    // The App Paths record of the Gallery names a file that is gone; its own setting is right.
    testing_support::RegSetString(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Sorvita Image Gallery.exe", "",
                                  apps.File("gone.exe"));
    testing_support::RegSetString(HKEY_CURRENT_USER,
                                  "Software\\VB and VBA Program Settings\\Sorvita Image Gallery\\Settings",
                                  "App Path", "  " + apps.File("Sorvita Image Gallery.exe") + " ");
    testing_support::RegSetString(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Sorvita Slide Saver.scr", "",
                                  apps.File("Sorvita Slide Saver.scr"));
    Load();
    window->TrayIcon_Popup_RunSVSS_Preview.Click();
    window->TrayIcon_Popup_RunSVSS_Setup.Click();
    window->TrayIcon_Popup_RunSVIG.Click();
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[0], "\"" + apps.File("Sorvita Slide Saver.scr") + "\" /S");
    EXPECT_EQ(started[1], "\"" + apps.File("Sorvita Slide Saver.scr") + "\"");
    EXPECT_EQ(started[2], "\"" + apps.File("Sorvita Image Gallery.exe") + "\"");
    EXPECT_EQ(boxes.Count(), 0u);
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Sorvita Image Gallery.exe");
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Sorvita Slide Saver.scr");
    testing_support::RegDeleteTree(HKEY_CURRENT_USER,
                                   "Software\\VB and VBA Program Settings\\Sorvita Image Gallery");
}

TEST_F(Commander, AProgramIsTakenFromTheFirstRecordThatNamesAFile) {
    // All three places name a file: the App Paths record, then the "App Path" setting, then
    // the Windows folder.
    testing_support::TempFolder first{"commander-first"};
    testing_support::TempFolder second{"commander-second"};
    const std::string file = desk_commander::kPasteInspectorFile;
    const std::string settingKey = "Software\\VB and VBA Program Settings\\Sorvita Paste Inspector\\Settings";
    const std::string inWindows = common::WindowsFolder(true) + file;
    testing_support::WriteFile(first.File(file), "MZ");
    testing_support::WriteFile(second.File(file), "MZ");
    testing_support::WriteFile(inWindows, "MZ");
    testing_support::RegSetString(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + file, "", first.File(file));
    testing_support::RegSetString(HKEY_CURRENT_USER, settingKey, "App Path", second.File(file));
    Load();
    window->TrayIcon_Popup_RunSVPI.Click();
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + file);
    window->TrayIcon_Popup_RunSVPI.Click();
    testing_support::RegDeleteTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Sorvita Paste Inspector");
    window->TrayIcon_Popup_RunSVPI.Click();
    DeleteFileA(inWindows.c_str());
    EXPECT_EQ(started, (std::vector<std::string>{"\"" + first.File(file) + "\"", "\"" + second.File(file) + "\"",
                                                 "\"" + inWindows + "\""}));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Commander, AMissingProgramIsLookedForInTheChosenFolders) {
    testing_support::TempFolder wrong{"commander-wrong"};
    testing_support::TempFolder right{"commander-right"};
    testing_support::WriteFile(right.File("Sorvita Paste Inspector.exe"), "MZ");
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Sorvita Paste Inspector.exe");
    testing_support::RegDeleteTree(HKEY_CURRENT_USER,
                                   "Software\\VB and VBA Program Settings\\Sorvita Paste Inspector");
    Load();
    {
        // A folder without the file: told so, and asked again; then cancelled.
        testing_support::FolderPickerScript picker{{wrong.Path(), ""}};
        window->TrayIcon_Popup_RunSVPI.Click();
        ASSERT_EQ(picker.prompts.size(), 2u);
        EXPECT_EQ(picker.prompts[0], "Select the folder containing Sorvita Paste Inspector:");
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, "The '" + wrong.Path() +
                                         "' folder selected does not contain the Sorvita Paste Inspector.exe file.");
        EXPECT_EQ(boxes.Last().flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONINFORMATION));
        EXPECT_TRUE(started.empty());
    }
    boxes.Clear();
    {
        testing_support::FolderPickerScript picker{{right.Path() + "\\"}};
        window->TrayIcon_Popup_RunSVPI.Click();
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0], "\"" + right.File("Sorvita Paste Inspector.exe") + "\"");
        EXPECT_EQ(boxes.Count(), 0u);
    }
}

TEST_F(Commander, StartFailuresAreReportedWithTheSystemsDescription) {
    testing_support::TempFolder apps{"commander-fail"};
    testing_support::WriteFile(apps.File("Sorvita Backdrop Changer.exe"), "MZ");
    testing_support::RegSetString(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Sorvita Backdrop Changer.exe", "",
                                  apps.File("Sorvita Backdrop Changer.exe"));
    Load();
    startError = ERROR_BAD_EXE_FORMAT;
    const std::string description = platform::ErrorDescription(ERROR_BAD_EXE_FORMAT);
    window->TrayIcon_Popup_RunSVBC.Click();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "An error occurred attempting to run the '" + apps.File("Sorvita Backdrop Changer.exe") +
                  "' file:\r\n\r\n" + description);
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    window->TrayIcon_Popup_MouseProp.Click();
    EXPECT_EQ(boxes.Last().text, "An error occurred attempting to run a Control Panel applet:\r\n\r\n" + description);
    window->TrayIcon_Popup_RunCP.Click();
    EXPECT_EQ(boxes.Last().text, "An error occurred attempting to run the Control Panel:\r\n\r\n" + description);
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Sorvita Backdrop Changer.exe");
}

TEST_F(Commander, EveryLaunchStartsTheProgramItFoundNeverOneAtAShorterPath) {
    testing_support::TempFolder base{"launch"};
    testing_support::LaunchProbes probes{base};
    // Windows reads an unquoted "<base>\\My Programs\\Sorvita ...exe" as the program "<base>\\My.exe".
    const std::string programs = base.File("My Programs");
    ASSERT_TRUE(CreateDirectoryA(programs.c_str(), nullptr));
    ASSERT_TRUE(probes.Place(base.File("My.exe"))) << "SORVITA_PROBE_EXE is not set";
    const char* const files[] = {desk_commander::kSlideSaverFile, desk_commander::kBackdropChangerFile,
                                 desk_commander::kImageGalleryFile, desk_commander::kPasteInspectorFile};
    for (const char* file : files) {
        ASSERT_TRUE(probes.Place(programs + "\\" + file));
        testing_support::RegSetString(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + file, "", programs + "\\" + file);
    }
    const std::string saver = programs + "\\" + desk_commander::kSlideSaverFile;
    testing_support::RegSetString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", saver);
    Load();
    startForReal = true;
    window->TrayIcon_Popup_RunSVSS_Preview.Click();
    window->TrayIcon_Popup_RunSVSS_Setup.Click();
    window->TrayIcon_Popup_RunSVBC.Click();
    window->TrayIcon_Popup_RunSVIG.Click();
    window->TrayIcon_Popup_RunSVPI.Click();
    window->TrayIcon_Popup_ConfigureSS.Click();
    EXPECT_EQ(boxes.Count(), 0u);

    // Each program itself, with its arguments after its quoted path, and nothing else.
    auto start = [](const std::string& path, const std::string& arguments) {
        return path + "|\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    };
    std::vector<std::string> expected = {start(saver, "/S"), start(saver, ""), start(saver, "")};
    for (const char* file : {desk_commander::kBackdropChangerFile, desk_commander::kImageGalleryFile,
                             desk_commander::kPasteInspectorFile})
        expected.push_back(start(programs + "\\" + file, ""));
    std::vector<std::string> starts = probes.Starts(expected.size());
    Sleep(300);  // a start too many would show now
    starts = probes.Starts(expected.size() + 1, 0);
    std::sort(expected.begin(), expected.end());
    std::sort(starts.begin(), starts.end());
    EXPECT_EQ(starts, expected);

    testing_support::RegSetString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", "");
    for (const char* file : files)
        testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + file);
}

TEST_F(Commander, ControlPanelItemsAndTheCatalogBuilder) {
    Load();
    window->TrayIcon_Popup_DisPropSlideSaver.Click();
    window->TrayIcon_Popup_DisPropBackground.Click();
    window->TrayIcon_Popup_DisPropAppearance.Click();
    window->TrayIcon_Popup_DisPropSettings.Click();
    window->TrayIcon_Popup_MouseProp.Click();
    window->TrayIcon_Popup_AccessOpt.Click();
    window->TrayIcon_Popup_RunCP.Click();
    // From the system folder, quoted.
    const std::string runDll = "\"" + common::SystemFolder(true) + "rundll32.exe\" shell32.dll,Control_RunDLL ";
    const std::vector<std::string> expected = {runDll + "desk.cpl,,1",  runDll + "desk.cpl,,0",
                                               runDll + "desk.cpl,,2",  runDll + "desk.cpl,,3",
                                               runDll + "main.cpl @0",  runDll + "access.cpl",
                                               "\"" + common::SystemFolder(true) + "control.exe\""};
    EXPECT_EQ(started, expected);
    window->TrayIcon_Popup_RunSVCB.Click();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "Sorvita Catalog Builder - for creating image catalogs of selected pic files - is coming soon!");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgInformation);
    EXPECT_EQ(started.size(), expected.size());
}

TEST(CommanderStart, ProgramsReallyStartFromTheirQuotedPath) {
    // The real start: a screen saver file's path with blanks, and an argument after it.
    testing_support::TempFolder folder{"commander start"};
    const std::string copy = folder.File("Sorvita Test Saver.scr");
    ASSERT_TRUE(CopyFileA((common::SystemFolder(true) + "cmd.exe").c_str(), copy.c_str(), FALSE));
    const std::string marker = folder.File("ran.txt");
    EXPECT_EQ(desk_commander::StartProgram(copy, "/c echo ok> \"" + marker + "\""), 0u);
    for (int i = 0; i < 100 && GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
    EXPECT_NE(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(desk_commander::StartProgram(folder.File("missing.exe"), ""),
              static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
}

// A second copy ends at once, silently, and writes nothing.
TEST(CommanderStart, SecondStartEndsSilently) {
    const std::string exe = testing_support::WinePathFromEnv("SORVITA_COMMANDER_EXE");
    ASSERT_FALSE(exe.empty());
    platform::App().Title = "Sorvita Desk Commander";
    testing_support::RegDeleteTree(HKEY_CURRENT_USER, kKey);
    ASSERT_FALSE(platform::App().PrevInstance()) << "this process now holds the running copy's marker";
    EXPECT_EQ(testing_support::RunProgram(exe, "", 20000), 0);
    EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, kKey, "Desktop View"));
    EXPECT_FALSE(testing_support::RegValueExists(
        HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Sorvita Desk Commander.exe", ""));
}
