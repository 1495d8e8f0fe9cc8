// Backdrop Changer's setup window: every option of the settings record, the folder
// history, the delays and the one-off actions; it lives in the tray behind its icon and
// hosts the show timer of the rotation.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "backdrop_changer/basSSaver.h"
#include "backdrop_changer/frmInfoWindow.h"
#include "common/PicFolderList_.h"
#include "common/TrayOwner.h"
#include "platform/Form.h"
#include "platform/Menu.h"

namespace backdrop_changer {

inline constexpr const char* kSetupCaptionEnd = " Setup";
using common::kClearListQuestion;
using common::kRemoveFolderQuestion;
inline constexpr const char* kColorsKey = "Control Panel\\Colors";
inline constexpr const char* kBackgroundValue = "Background";

class frmSSetup : public common::TrayOwner, public ShowHost {
public:
    // Window flags.
    bool Loading = false;
    bool BuildingList = false;
    bool BrowseAfterMenu = false;

    platform::CommandButton cmdRun, cmdOK, cmdCancel;
    platform::CheckBox chkActive;
    platform::CommandButton cmdWallpaper, cmdClearWP, cmdResetDesktop, cmdAbout;
    platform::Label lblVersion;

    platform::Frame frPicFolder;
    platform::ComboBox cboPicFolder;
    platform::CommandButton cmdPicFolder;
    platform::CommandButton cmdClearList[2];
    platform::CheckBox chkIncludeSubsfolders;

    platform::Frame frSpeed;
    platform::OptionButton optSpeed[2];
    platform::ScrollBar scrSpeed, scrQuick;
    platform::Label lblSpeed, lblQuick;

    platform::Frame frOptions;
    platform::CheckBox Check1[3];
    platform::PictureBox Frame1[3];
    // Page 1
    platform::CheckBox chkShowPicsRandomly, chkSkipPicErrors, chkStretchPics;
    platform::OptionButton optStretchPics[2];
    platform::CheckBox chkTilePics;
    platform::TextBox txtTilePicsPercent;
    platform::ScrollBar scrTilePicsPercent;
    platform::Label lblTilePics;
    platform::CheckBox chkMorePicTypes;
    // Page 2
    platform::Label lblDelayActivate;
    platform::ComboBox cboDesktopView;
    platform::CheckBox chkDesktopTransparent, chkRandomBackColor;
    platform::Frame frColor;
    platform::CheckBox chkResetBackColor;
    platform::OptionButton optResetBackColor[2];
    platform::PictureBox picDesktopColor[2];
    // Page 3
    platform::CheckBox chkDisplayTimeLeft, chkClearWPExit, chk2ColumnMenu;
    platform::Label Label1;
    platform::CommandButton cmdStartupCreate, cmdStartupRemove;

    platform::Timer ssTimer;
    platform::Image TrayIcon;

    // Tray menu (TrayIcon_Popup, TrayIcon_Popup_Exit and TrayIcon_Popup_Restore are the owner's).
    platform::MenuItem TrayIcon_Popup_ExitNoClear, zsep00, TrayIcon_Popup_Active, zsep01,
        TrayIcon_Popup_DelayStartup, TrayIcon_Popup_DelayOther, zsep02, TrayIcon_Popup_InfoWindow,
        TrayIcon_Popup_OpenPic, TrayIcon_Popup_Browse, zsep03, TrayIcon_Popup_NextPic, TrayIcon_Popup_PrevPic, zsep04,
        TrayIcon_Popup_ResetWP, TrayIcon_Popup_ResetWP_Center, TrayIcon_Popup_ResetWP_Tile,
        TrayIcon_Popup_ResetWP_Stretch, TrayIcon_Popup_ClearWP, zsep05, TrayIcon_Popup_BlankScreen,
        TrayIcon_Popup_ShowDesktop, TrayIcon_Popup_DV, zsep07, zsep06;
    platform::MenuItem TrayIcon_Popup_DVStyle[4];
    platform::MenuItem TrayIcon_Popup_DVText[2];

    // Reset pop-up menu.
    platform::MenuItem Reset_Popup, Reset_Popup_DC, Reset_Popup_DC_ControlPanel, Reset_Popup_DC_Startup,
        Reset_Popup_WP, Reset_Popup_WP_Center, Reset_Popup_WP_Tile, Reset_Popup_WP_Stretch;

    ~frmSSetup() override;

    // The information window while "Display Time" is on; null otherwise.
    frmInfoWindow* InfoWindow() const { return infoWindow_ && infoWindow_->IsLoaded() ? infoWindow_.get() : nullptr; }

    void SuspendTimers(bool suspend);
    void AfterFolderChange();
    void UpdateFolderList(const std::string& folder, bool add);
    void LoadFolderHistory();
    void ReadDesktopColors();
    void ResetDesktopColor(int index);
    void SaveAndFinish();
    // The folder list's entries, top first.
    std::vector<std::string> FolderListEntries() const;

    // Event handlers.
    void cmdRun_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void chkActive_Click();
    void cmdWallpaper_Click();
    void cmdClearWP_Click();
    void cmdResetDesktop_Click();
    void cmdAbout_Click();
    void cboPicFolder_Click();
    void cboPicFolder_DropDown();
    void cmdPicFolder_Click();
    void cmdClearList_Click(int index);
    void chkIncludeSubsfolders_Click();
    void optSpeed_Click(int index);
    void scrSpeed_Change();
    void scrQuick_Change();
    void Check1_Click(int index);
    void chkShowPicsRandomly_Click();
    void chkSkipPicErrors_Click();
    void chkMorePicTypes_Click();
    void chkStretchPics_Click();
    void optStretchPics_Click(int index);
    void chkTilePics_Click();
    void scrTilePicsPercent_Change();
    void cboDesktopView_Click();
    void chkDesktopTransparent_Click();
    void chkRandomBackColor_Click();
    void chkResetBackColor_Click();
    void optResetBackColor_Click(int index);
    void chkDisplayTimeLeft_Click();
    void chkClearWPExit_Click();
    void chk2ColumnMenu_Click();
    void cmdStartupCreate_Click();
    void cmdStartupRemove_Click();

    // ShowHost
    platform::Timer& ShowTimer() override { return ssTimer; }
    void SwitchRotationOff() override { chkActive.SetValue(0); }
    void SetTrayPicPath(const std::string& path) override { TrayIcon_Popup_InfoWindow.Tag = path; }
    void SetInfoPicPath(const std::string& path) override;
    void SetTimeLeftText(const std::string& text) override;
    platform::ComboBox& FolderList() override { return cboPicFolder; }
    void SetBuildingList(bool building) override { BuildingList = building; }

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;
    bool Form_QueryUnload(platform::UnloadMode mode) override;
    void Form_Unload() override;
    void Form_DpiChanged() override;

    HICON TrayIconPicture() override { return trayIcon_; }
    platform::MenuItem& TrayDefaultItem() override { return TrayIcon_Popup_NextPic; }
    bool TwoColumnMenu() override { return Settings.TwoColumnMenu; }
    platform::MenuItem* ColumnBreakSeparator() override { return &zsep03; }
    void BeforeTrayMenu() override;
    void AfterTrayMenu() override;

private:
    void CreateControls();
    void CreatePages();
    void CreateMenus();
    void WireEvents();
    void CopySettingsToControls();
    void ShowInfoWindow(bool show);
    void DelayLabel(platform::Label& label, int seconds);

    HICON trayIcon_ = nullptr;
    bool inPageClick_ = false;
    bool finished_ = false;
    bool timersSuspended_ = false;
    bool ssTimerWasEnabled_ = false;
    bool trayTimerWasEnabled_ = false;
    HFONT boldFont_ = nullptr;
    std::unique_ptr<frmInfoWindow> infoWindow_;
};

// The program's setup window while it runs.
extern std::unique_ptr<frmSSetup> SetupWindow;

}  // namespace backdrop_changer
