#include "backdrop_changer/basSSaver.h"

#include "backdrop_changer/frmSSetup.h"

#include <windows.h>

#include <algorithm>

#include "common/FileFolderExists_.h"
#include "common/FileFolderFunctions_.h"
#include "common/FolderWalk_.h"
#include "common/GetDesktopSize_.h"
#include "common/PicFolderList_.h"
#include "common/SettingsApp_.h"
#include "common/TextFunctions_.h"
#include "common/WindowsWallpaper_.h"
#include "platform/App.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Picture.h"
#include "platform/Seams.h"

namespace backdrop_changer {

SettingsRecord Settings;
bool FolderMode = false;

PickState PicPosition;
int32_t DelayInEffect = 0;
float LastShowTime = 0;
int SelectedDelay = 0;

namespace {

ShowHost* host = nullptr;
bool showingPic = false;

// Holds off a second pick while one runs; the message boxes of a pick pump the timer.
class ShowingPicGuard {
public:
    ShowingPicGuard() { showingPic = true; }
    ~ShowingPicGuard() { showingPic = false; }
    ShowingPicGuard(const ShowingPicGuard&) = delete;
    ShowingPicGuard& operator=(const ShowingPicGuard&) = delete;
};

float TimeOfDay() { return static_cast<float>(platform::Timer()); }

void SwitchRotationOff() {
    if (host) host->SwitchRotationOff();
}

constexpr const char* kNoFolderSelected = "The pics folder has not been selected.";
constexpr const char* kFolderQuote = "The '";
constexpr const char* kFolderGone = "' folder no longer exists.";
constexpr const char* kFolderHasNoPics = "' folder does not contain any pic files ";

constexpr const char* kLoadError1 = "An error occurred attempting to load the '";
constexpr const char* kLoadError2 = "' file:";
constexpr const char* kTooManyErrors = "10 consecutive errors have occurred attempting to load a pic file.";
constexpr const char* kLastFile = "Last file:  ";
constexpr const char* kLastError = "Last error:  ";

long StyleCode(Hang how) {
    switch (how) {
        case Hang::Stretch: return common::kStyleStretch;
        case Hang::Tile: return common::kStyleTile;
        case Hang::Center: break;
    }
    return common::kStyleCenter;
}

// Measures the picture against the whole screen, chooses its layout and hangs it.
void HangPicture(platform::Picture& picture, const std::string& path) {
    common::GetDesktopSize(false, true, "");
    const long w = PixelsFromTwips(picture.WidthTwips(), platform::TwipsPerPixelX());
    const long h = PixelsFromTwips(picture.HeightTwips(), platform::TwipsPerPixelY());
    const FitOptions options{Settings.StretchFit, Settings.StretchType, Settings.TileSmall, Settings.TilePercent};
    const Hang how = ChooseHang(w, h, common::DesktopArea.Width, common::DesktopArea.Height, options);
    if (how == Hang::Center) SetRandomDesktopColor();
    // What shows through a transparent picture is the desktop's colour, as around it.
    picture.Flatten(GetSysColor(COLOR_BACKGROUND));
    if (!common::SetWallpaper(common::WallpaperFilePath(), picture, StyleCode(how), false)) return;
    if (!host) return;
    if (Settings.DisplayTime) host->SetInfoPicPath(path);
    host->SetTrayPicPath(path);
}

}  // namespace

void SetShowHost(ShowHost* newHost) { host = newHost; }

long PicCount() { return std::max(0L, common::UBound(common::PicFiles)); }

bool ShowingPic() { return showingPic; }

void ssTimer_Timer() {
    // A tick that arrives while a pick waits on its message box leaves the countdown alone.
    if (!host || showingPic) return;
    auto& ssTimer = host->ShowTimer();
    if (ssTimer.Interval() == kFirstTickInterval) {
        ssTimer.SetInterval(kTickInterval);
        ShowNextPic(false);
        LastShowTime = TimeOfDay();
    } else if (DelayHasPassed(platform::Timer(), LastShowTime, DelayInEffect)) {
        ShowNextPic(false);
        // Taken after the hang, so that the time spent hanging does not count.
        LastShowTime = TimeOfDay();
    }
    // A pick that switched the rotation off has left "Not Active" showing.
    if (Settings.DisplayTime && Settings.Active)
        host->SetTimeLeftText(
            common::TimeLeftText(TimeLeftSeconds(platform::Timer(), LastShowTime, DelayInEffect), true, false, true));
}

void ShowNextPic(bool previous) {
    if (showingPic) return;
    ShowingPicGuard guard;
    if (!CheckPicsFolder()) return;
    const long count = PicCount();
    ConsecutiveErrors errors;
    for (;;) {
        if (!PickNextIndex(PicPosition, count, previous, Settings.ShowRandom, platform::Rnd)) return;
        const std::string path = common::PicFiles[PicPosition.CurrentIndex];
        std::string error;
        platform::Picture picture = platform::Picture::Load(path, &error, Settings.MorePicTypes);
        if (!picture.Empty()) {
            HangPicture(picture, path);
            return;
        }
        if (!Settings.SkipErrors) {
            platform::MsgBox(kLoadError1 + path + kLoadError2 + platform::vbCrLf + platform::vbCrLf + error,
                             platform::kMsgWarning);
            return;
        }
        if (errors.Add()) {
            platform::MsgBox(std::string(kTooManyErrors) + platform::vbCrLf + platform::vbCrLf + kLastFile + path +
                                 platform::vbCrLf + kLastError + error,
                             platform::kMsgWarning);
            return;
        }
    }
}

bool CheckPicsFolder() {
    const std::string& folder = Settings.PicsFolder;
    if (folder.empty()) {
        SwitchRotationOff();
        platform::MsgBox(kNoFolderSelected, platform::kMsgWarning);
        return false;
    }
    if (!common::FolderExists(folder)) {
        SwitchRotationOff();
        platform::MsgBox(kFolderQuote + folder + kFolderGone, platform::kMsgWarning);
        return false;
    }
    if (PicCount() == 0) {
        SwitchRotationOff();
        platform::MsgBox(kFolderQuote + folder + kFolderHasNoPics + common::PicFileTypes(Settings.MorePicTypes) + ".", platform::kMsgWarning);
        return false;
    }
    return true;
}

void SetRandomDesktopColor() {
    if (!Settings.RandomColor) return;
    const COLORREF current = GetSysColor(COLOR_BACKGROUND);
    const COLORREF color = RandomColor(current, platform::Rnd);
    const bool transparent = common::IsDesktopTextTransparent();
    // Until Windows restarts: nothing goes to the registry.
    const INT element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &color);
    // The colour change puts the icon text background back to the colour.
    if (transparent) common::SetDesktopTextBackground(true);
}

bool BuildPicList(const std::string& folder) {
    if (host) host->SetBuildingList(true);
    const bool found = common::SearchPicFolder(host ? &host->FolderList() : nullptr, folder, Settings.PicsSubfolders,
                                               Settings.MorePicTypes);
    if (host) host->SetBuildingList(false);
    return found;
}

void ShowNextPicCommand() {
    // The next tick (within half a second) hangs the picture and restarts the countdown.
    if (Settings.Active)
        LastShowTime = -static_cast<float>(DelayInEffect);
    else
        ShowNextPic(false);
}

void ShowPreviousPicCommand() {
    if (showingPic) return;
    ShowNextPic(true);
    if (Settings.Active) LastShowTime = TimeOfDay();
}

void ActiveChanged(bool on) {
    Settings.Active = on;
    if (!host) return;
    auto& ssTimer = host->ShowTimer();
    ssTimer.SetEnabled(on);
    if (on) {
        DelayInEffect = SelectedDelay == 0 ? Settings.ShowDelay : Settings.QuickDelay;
        LastShowTime = TimeOfDay();
    } else {
        ssTimer.SetInterval(kFirstTickInterval);
        if (Settings.DisplayTime) host->SetTimeLeftText(kNotActive);
    }
}

void DelaySelected(int index) {
    SelectedDelay = index == 0 ? 0 : 1;
    DelayInEffect = SelectedDelay == 0 ? Settings.ShowDelay : Settings.QuickDelay;
    LastShowTime = TimeOfDay();
}

void FolderChanged() {
    PicPosition.PreviousIndex = 0;
    if (PicCount() == 0) SwitchRotationOff();
}

void LoadSettings() {
    Settings = ReadSettings([](const std::string& key, const std::string& defaultText) {
        return common::GetAppSetting(kSettingsSection, key, defaultText, true);
    });
}

void SaveSettings() {
    for (const auto& [key, text] : SettingsTexts(Settings)) common::SaveAppSetting(kSettingsSection, key, text, false);
}

void SaveFolderHistory(const std::vector<std::string>& folderList) {
    for (int i = 0; i < kFolderHistoryCount; ++i)
        common::SaveAppSetting(kSettingsSection, FolderHistoryKey(i),
                               i < static_cast<int>(folderList.size()) ? folderList[i] : "", true);
}

void InitIdentity() {
    platform::SetAppVersion(SORVITA_VERSION_MAJOR, SORVITA_VERSION_MINOR, SORVITA_VERSION_REVISION, "Copyright (C) 2026 Sorvita. Free to use and share.");
}

int Main() {
    InitIdentity();
    // 1. where the program lives, refreshed even by a start that ends at once
    common::RegisterAppPath();
    // 2. one copy at a time, silently
    if (platform::App().PrevInstance()) return 0;
    // 3. the setup window does the rest as it loads, and the program runs until it unloads
    SetupWindow = std::make_unique<frmSSetup>();
    SetupWindow->Load();
    const int exitCode = platform::Form::RunMessageLoop();
    SetupWindow.reset();
    return exitCode;
}

}  // namespace backdrop_changer
