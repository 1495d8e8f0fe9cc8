// Slide Saver's setup dialog: the picture folder with its history, the two delays, the
// behaviour switches; Preview, the key list, the picture browser, and OK to save.
#pragma once
#include <memory>
#include <string>

#include "platform/Form.h"

namespace slide_saver {

inline constexpr const char* kKeysTitle = "Screen Saver Keys - ";
inline constexpr const char* kDisplayPropertiesClass = "#32770";
inline constexpr const char* kDisplayPropertiesCaption = "Display Properties";
inline constexpr const char* kAllMonitorsCaption = "Show pictures on every monitor";

// The key list shown by "Keys...".
std::string KeyListText();

// The picture browser switches between lists and the picture list (program-wide).
extern bool FolderMode;

class frmSSetup : public platform::Form {
public:
    ~frmSSetup() override;

    // Window flags.
    bool Loading = false;
    bool BuildingList = false;

    platform::Frame frPicFolder;
    platform::ComboBox cboPicFolder;
    platform::CommandButton cmdPicFolder;
    platform::CommandButton cmdClearList[2];
    platform::CheckBox chkIncludeSubsfolders;

    platform::Frame frSpeed;
    platform::Label lblNote[2];
    platform::ScrollBar scrSpeed, scrQuick;
    platform::Label lblSpeed, lblQuick;

    platform::Frame frOptions;
    platform::CheckBox chkShowPicsRandomly, chkAllowMouseMovement, chkBestFitPics, chkTilePics;
    platform::TextBox txtTilePicsPercent;
    platform::ScrollBar scrTilePicsPercent;
    platform::Label lblTilePics;
    platform::CheckBox chkSkipPicErrors, chkRandomBackColor, chkDisplayTimeLeft, chkDisplayFilename;
    platform::CheckBox chkAllMonitors;  // "All Monitors"
    platform::CheckBox chkMorePicTypes;

    platform::Label lblVersion;
    platform::CommandButton cmdOK, cmdCancel, cmdPreview, cmdWallpaper, cmdClearWP, cmdKeys, cmdAbout;

    // Window routines.
    void UpdateFolderList(const std::string& folder, bool add);
    void LoadFolderHistory();
    bool BuildPicList(const std::string& folder);
    void AfterFolderChange();
    void EnableDisplayProperties(bool enable);

    // Events.
    void cboPicFolder_Click();
    void cboPicFolder_DropDown();
    void cmdPicFolder_Click();
    void cmdClearList_Click(int index);
    void chkIncludeSubsfolders_Click();
    void scrSpeed_Change();
    void scrQuick_Change();
    void chkShowPicsRandomly_Click();
    void chkAllowMouseMovement_Click();
    void chkBestFitPics_Click();
    void chkTilePics_Click();
    void scrTilePicsPercent_Change();
    void chkSkipPicErrors_Click();
    void chkMorePicTypes_Click();
    void chkRandomBackColor_Click();
    void chkDisplayTimeLeft_Click();
    void chkDisplayFilename_Click();
    void chkAllMonitors_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdPreview_Click();
    void cmdWallpaper_Click();
    void cmdClearWP_Click();
    void cmdKeys_Click();
    void cmdAbout_Click();

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;

private:
    void CreateControls();
    void WireEvents();
    void CopyTogglesToControls();

    HFONT systemFont_ = nullptr;
};

// The setup dialog while the program shows it.
extern std::unique_ptr<frmSSetup> SetupDialog;

}  // namespace slide_saver
