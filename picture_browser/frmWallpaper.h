// The picture browser window. On its own (Image Gallery's only window) or hosted: a
// program that has another window loaded opens it modally with its own picture list.
//
// A host opens it like this, and rebuilds its picture list when ShowModal returns:
//     picture_browser::frmWallpaper browser(PicFiles, FolderMode, Settings.PicsFolder);
//     browser.ShowModal();
#pragma once
#include <string>
#include <vector>

#include "picture_browser/FileListControls.h"
#include "picture_browser/PicturePane.h"
#include "platform/Form.h"
#include "platform/Menu.h"
#include "platform/PictureReadAhead.h"

namespace picture_browser {

inline constexpr const char* kLoadErrorStart = "An error occurred attempting to load or display the '";
inline constexpr const char* kLoadErrorEnd = "' file:";
inline constexpr const char* kRemoveFolderQuestion = "Are you sure you want to remove the current folder?";
inline constexpr const char* kClearListQuestion = "Are you sure you want to clear the folder list?";
inline constexpr const char* kOpenPicTip = "Right-click or press Enter to open selected pic.";
inline constexpr const char* kHostedCaptionStart = "Browse Pics - ";

// Window geometry in pixels.
inline constexpr int kDefaultWidth = 630;
inline constexpr int kDefaultHeight = 470;
inline constexpr int kMinimumWidth = 503;
inline constexpr int kMinimumHeight = 335;

// The size grip in the window's bottom-right corner.
class SizeGrip : public platform::Control {
public:
    void Create(platform::Form& form, int left, int top, int width, int height);
};

class frmWallpaper : public platform::Form {
public:
    // The program's picture list (element 0 describes the search, 1 to N are paths), its
    // FolderMode flag and its picture folder; all three are read when the window loads,
    // and FolderMode is written back whenever the user switches the mode.
    frmWallpaper(const std::vector<std::string>& picFiles, bool& folderMode, const std::string& hostPicsFolder);

    platform::ComboBox cboPicFolder;
    platform::CommandButton cmdClearList[2];
    DriveList PicsDrive;
    FolderList PicsFolder;
    FileList PicsFileList;
    PickListBox List1;
    platform::TextBox txtFileList;
    platform::Label labPicNumber;
    platform::Label labPicInfo;
    PicturePane Pane;  // Pic, Image1, GraphicHScroll, GraphicVScroll, GraphicCorner
    platform::PictureBox Frame1;
    platform::CommandButton cmdPrevious, cmdNext, cmdRndSelect, cmdOpenPic, cmdGraphicDisplay, cmdSetWallpaper,
        cmdClearWallpaper, cmdFileListMode, cmdCancel;
    SizeGrip imgResizer;

    platform::MenuItem Graphic_Popup;
    platform::MenuItem Graphic_Popup_BestFit, Graphic_Popup_Normal, zsep0, Graphic_Popup_OpenPic, zsep1,
        Graphic_Popup_CenterWin, Graphic_Popup_MinSize, zsep3, Graphic_Popup_MorePicTypes, zsep2, Graphic_Popup_About;
    platform::MenuItem Wallpaper_Popup;
    platform::MenuItem Wallpaper_Popup_Centered, Wallpaper_Popup_Tiled, Wallpaper_Popup_Stretched;

    // The picture the last kind of step ("-->", "<--" or Random Select) would show next,
    // decoded while the one shown is looked at.
    platform::PictureReadAhead ReadAhead;

    // More than one window loaded in the program: the browser is hosted.
    static bool Hosted();
    bool FolderMode() const { return folderMode_; }

    void ShowPicture(const std::string& path, int index);
    void LoadFolderHistory();
    void UpdateFolderHistory(const std::string& folder, bool addFolder);
    void UpdateFileCount();

    // Event handlers.
    void cboPicFolder_Change();
    void cboPicFolder_Click();
    void cboPicFolder_DropDown();
    void cmdClearList_Click(int index);
    void PicsDrive_Change();
    void PicsFolder_Change();
    void PicsFileList_PathChange();
    void PicsFileList_Click();
    void List1_Click();
    void cmdNext_Click();
    void cmdPrevious_Click();
    void cmdRndSelect_Click();
    void cmdOpenPic_Click();
    void cmdSetWallpaper_Click();
    void cmdClearWallpaper_Click();
    void cmdFileListMode_Click();
    void cmdCancel_Click();
    void Graphic_Popup_Normal_Click();
    void Graphic_Popup_CenterWin_Click();
    void Graphic_Popup_MinSize_Click();
    void Graphic_Popup_MorePicTypes_Click();
    void Graphic_Popup_Show(POINT at);
    void Wallpaper_Popup_Click(long style);

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_DpiChanged() override;
    void Form_Unload() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void CreateMenus();
    void ShowFolderControls(bool show);
    PickListBox& SteppingList();
    int HostPicCount() const;
    // The full path of a picture of the list that steps.
    std::string PicturePath(int index);
    bool LoadsMorePicTypes() const;
    void ReadAheadFrom(int index);

    const std::vector<std::string>& picFiles_;
    bool& folderMode_;
    std::string hostPicsFolder_;
    // The picture shown was transparent: hung as wallpaper, it is put over the desktop's
    // colour instead of the pane's.
    bool shownTransparent_ = false;
    // What the picture being shown was reached by; a click in a list counts as "-->".
    enum class Step { Next, Previous, Random };
    Step step_ = Step::Next;
    // The entry the next Random Select shows, drawn ahead so that it can be read ahead;
    // -1 when not drawn, or drawn from another entry than the one selected now.
    int randomPick_ = -1;
    int randomPickFrom_ = -1;
};

}  // namespace picture_browser
