// Backdrop Changer's start-up module and program-wide state.
#pragma once
#include <string>
#include <vector>

#include "backdrop_changer/SettingsRecord.h"
#include "backdrop_changer/ShowLogic.h"
#include "common/PicFolderList_.h"

namespace platform {
class ComboBox;
class Timer;
}  // namespace platform

namespace backdrop_changer {

using common::kCheckingFolders;

inline constexpr const char* kSettingsSection = "Settings";

// The program's settings record, read once at start-up.
extern SettingsRecord Settings;
// The picture browser shows drive, folder and file lists (true) or the picture list.
extern bool FolderMode;

void LoadSettings();
void SaveSettings();
// Writes the 20 folder history keys from the folder list's entries (blank past its end).
void SaveFolderHistory(const std::vector<std::string>& folderList);

// ---- The wallpaper rotation

// What the rotation needs of the window that hosts it, the setup window.
class ShowHost {
public:
    virtual ~ShowHost() = default;
    // The show timer ssTimer, whose ticks run ssTimer_Timer.
    virtual class platform::Timer& ShowTimer() = 0;
    // Clears chkActive; its handler runs ActiveChanged(false).
    virtual void SwitchRotationOff() = 0;
    // The tag of the tray menu item TrayIcon_Popup_InfoWindow.
    virtual void SetTrayPicPath(const std::string& path) = 0;
    // The tag of the information window's lblFileName (loading the window when it is not).
    virtual void SetInfoPicPath(const std::string& path) = 0;
    // The caption of the information window's lblTimeLeft.
    virtual void SetTimeLeftText(const std::string& text) = 0;
    // The folder list cboPicFolder, and the flag BuildingList that makes its clicks ignored.
    virtual platform::ComboBox& FolderList() = 0;
    virtual void SetBuildingList(bool building) = 0;
};

// The window the rotation reports to; null while there is none.
void SetShowHost(ShowHost* host);

// The show timer's interval before its first tick and after.
inline constexpr int kFirstTickInterval = 1;
inline constexpr int kTickInterval = 500;

// The information window's time-left line while the rotation is off.
inline constexpr const char* kNotActive = "Not Active";

// Run-time state, never saved.
extern PickState PicPosition;   // CurrentIndex, LastPick, PreviousIndex
extern int32_t DelayInEffect;   // seconds
extern float LastShowTime;      // seconds since midnight
// 0 while the Startup delay ("Show Delay") is selected, 1 for the Other ("Quick Delay").
extern int SelectedDelay;

// Pictures in the list (its upper bound).
long PicCount();
// True while a picture is being picked and hung, its message boxes included.
bool ShowingPic();

void ssTimer_Timer();
void ShowNextPic(bool previous);
bool CheckPicsFolder();
void SetRandomDesktopColor();
// Searches `folder` into the picture list; true when pictures were found.
bool BuildPicList(const std::string& folder);

// The tray commands "Show Next Pic" and "Show Previous Pic".
void ShowNextPicCommand();
void ShowPreviousPicCommand();

// What chkActive does to the rotation: start it with the selected delay, or stop it.
void ActiveChanged(bool on);
// What optSpeed does: the delay in effect, and the countdown restarted.
void DelaySelected(int index);
// What AfterFolderChange does: nothing to go back to, and no rotation without pictures.
void FolderChanged();

// Sets the program's identity (title, version, legal notice).
void InitIdentity();

// The start-up routine; returns the process exit code.
int Main();

}  // namespace backdrop_changer
