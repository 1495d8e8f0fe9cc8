// Desk Commander's one window: the options of the hot corners, the desktop view and the
// menu layout, the StartUp shortcut; it lives in the tray behind its icon, whose menu
// starts the suite's programs and Control Panel pages and switches the screen saver.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/DeskMonitors_.h"
#include "common/TrayOwner.h"
#include "desk_commander/basPublic.h"
#include "platform/Form.h"
#include "platform/Menu.h"

namespace desk_commander {

inline constexpr const char* kSetupCaptionEnd = " Setup";

// SystemParametersInfoA codes and the one flag every "set" passes.
inline constexpr UINT kGetScreenSaveTimeout = 14;  // SPI_GETSCREENSAVETIMEOUT
inline constexpr UINT kSetScreenSaveTimeout = 15;  // SPI_SETSCREENSAVETIMEOUT
inline constexpr UINT kGetScreenSaveActive = 16;   // SPI_GETSCREENSAVEACTIVE
inline constexpr UINT kSetScreenSaveActive = 17;   // SPI_SETSCREENSAVEACTIVE
inline constexpr UINT kSendWinIniChange = 2;       // SPIF_SENDWININICHANGE

inline constexpr int kHotCornersInterval = 500;
// The menu command waits this long for Windows to start the screen saver.
inline constexpr DWORD kStartSaverWait = 3000;

// The sibling programs.
inline constexpr const char* kSlideSaverFile = "Sorvita Slide Saver.scr";
inline constexpr const char* kBackdropChangerFile = "Sorvita Backdrop Changer.exe";
inline constexpr const char* kImageGalleryFile = "Sorvita Image Gallery.exe";
inline constexpr const char* kPasteInspectorFile = "Sorvita Paste Inspector.exe";
inline constexpr const char* kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
// Control Panel's programs, taken from the system folder: by a bare name Windows would look in
// this program's folder and the current folder first.
inline constexpr const char* kRunDll = "rundll32.exe";
inline constexpr const char* kControlRunDll = "shell32.dll,Control_RunDLL ";
inline constexpr const char* kControlPanel = "control.exe";
inline constexpr const char* kSlideSaverApplet = "desk.cpl,,1";

// The configured screen saver (its value under common::kDesktopKey, or system.ini).
inline constexpr const char* kSaverValue = "SCRNSAVE.EXE";
inline constexpr const char* kSystemIni = "system.ini";
inline constexpr const char* kBootSection = "boot";

class MainForm : public common::TrayOwner {
public:
    ~MainForm() override;

    // lblDelayActivate: 0 "D&elay before activating:", 1 its unit, 2 "Desktop view:".
    platform::Label lblDelayActivate[3];
    platform::ComboBox cboDesktopView;
    platform::CheckBox chkDesktopTransparent, chk2ColumnMenu;
    platform::Frame Frame1;
    platform::CheckBox chkActivateSS, chkPreventSS;
    // Frame2: 0 holds optActivateSS, 1 optPreventSS.
    platform::PictureBox Frame2[2];
    platform::OptionButton optActivateSS[4], optPreventSS[4];
    // lblCornerSize: 0 "&Hot corner detection area:", 1 its unit.
    platform::Label lblCornerSize[2];
    platform::TextBox txtCornerSize, txtDelayActivate;
    platform::ScrollBar scrCornerSize, scrDelayActivate;
    platform::Label Label1;
    platform::CommandButton cmdStartupCreate, cmdStartupRemove;
    platform::CommandButton cmdRun, cmdOK, cmdAbout;
    platform::Label lblVersion;
    platform::Timer HotCorners_Timer;
    // The tray pictures, indices 1 to 4 as TrayIconIndex counts them (0 is not used).
    platform::Image TrayIcon[5];

    // Tray menu (TrayIcon_Popup, TrayIcon_Popup_Exit and TrayIcon_Popup_Restore are the owner's).
    platform::MenuItem zsep00, TrayIcon_Popup_Run, TrayIcon_Popup_RunSVSS_Preview, TrayIcon_Popup_RunSVSS_Setup,
        zsep01, TrayIcon_Popup_RunSVBC, TrayIcon_Popup_RunSVIG, TrayIcon_Popup_RunSVPI, TrayIcon_Popup_RunSVCB;
    platform::MenuItem TrayIcon_Popup_ControlPanel, TrayIcon_Popup_DisProp, TrayIcon_Popup_DisPropSlideSaver,
        TrayIcon_Popup_DisPropBackground, TrayIcon_Popup_DisPropAppearance, TrayIcon_Popup_DisPropSettings,
        TrayIcon_Popup_MouseProp, TrayIcon_Popup_AccessOpt, zsep02, TrayIcon_Popup_RunCP;
    platform::MenuItem zsep03, TrayIcon_Popup_HotCornerActivateSS, TrayIcon_Popup_HotCornerPreventSS, zsep04,
        TrayIcon_Popup_ActivateSS, TrayIcon_Popup_DisableSS, TrayIcon_Popup_ConfigureSS, zsep05;
    platform::MenuItem TrayIcon_Popup_ResetWP, TrayIcon_Popup_ResetWP_Center, TrayIcon_Popup_ResetWP_Tile,
        TrayIcon_Popup_ResetWP_Stretch, TrayIcon_Popup_ClearWP, zsep06, TrayIcon_Popup_ClearClipboard, zsep07,
        TrayIcon_Popup_BlankScreen, TrayIcon_Popup_ShowDesktop, TrayIcon_Popup_DV, zep10, zsep09;
    platform::MenuItem TrayIcon_Popup_DVStyle[4];
    platform::MenuItem TrayIcon_Popup_DVText[2];

    void LoadOptions();
    void SaveOptions();
    void SuspendTimers(bool suspend);
    void RunSuiteProgram(const std::string& fileName, const std::string& arguments);
    void RunControlPanelApplet(const std::string& applet);
    void ClearClipboard();

    // Hot corners and the screen saver switches.
    bool IsMouseInCorner(int corner);
    bool SetSaverActive(bool active, bool apply);
    bool StartSaverNow(bool waitAndRestore);
    std::string GetSaverFile();
    void ConfigureSaver();
    void HotCorners_Timer_Timer();
    // Shows tray picture TrayIconIndex.
    void ShowTrayIcon();
    // The picture of tray picture `index` (1 to 4).
    HICON TrayIconHandle(int index) const { return trayIcons_[index]; }

    // Event handlers.
    void cboDesktopView_Click();
    void chkDesktopTransparent_Click();
    void chkActivateSS_Click();
    void chkPreventSS_Click();
    void optActivateSS_Click(int index);
    void optPreventSS_Click(int index);
    void scrCornerSize_Change();
    void scrDelayActivate_Change();
    void cmdRun_Click();
    void cmdOK_Click();
    void cmdAbout_Click();
    void cmdStartupCreate_Click();
    void cmdStartupRemove_Click();

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;
    void Form_Unload() override;

    HICON TrayIconPicture() override {
        return trayIcons_[TrayIconIndex >= 1 && TrayIconIndex <= 4 ? TrayIconIndex : 1];
    }
    platform::MenuItem& TrayDefaultItem() override { return TrayIcon_Popup_ActivateSS; }
    bool TwoColumnMenu() override { return chk2ColumnMenu.Value() == 1; }
    platform::MenuItem* ColumnBreakSeparator() override { return &zsep05; }
    void BeforeTrayMenu() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void CreateMenus();
    void WireEvents();
    // What the two hot corner check boxes enable.
    void EnableHotCornerControls();
    bool SetScreenSaveTimeout(int32_t seconds);
    void DestroyTrayIcons();

    HICON trayIcons_[5] = {};
    bool hotCornersWasEnabled_ = false;
    // The desk's monitors, measured at load and again whenever the displays change.
    std::vector<common::MonitorBox> monitors_;
    bool trayTimerWasEnabled_ = false;
};

// Builds tray picture `index` (1 to 4) as a 16 x 16 icon; the caller destroys it.
HICON MakeTrayIcon(int index);

}  // namespace desk_commander
