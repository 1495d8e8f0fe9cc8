#include "common/WindowsWallpaper_.h"

#include <commctrl.h>

#include "common/FileFolderFunctions_.h"
#include "common/SettingsReg_.h"
#include "common/WallpaperStyle_.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"

namespace common {

namespace {

constexpr const char* kNoWallpaper = "(None)";
constexpr UINT kUpdateAndBroadcast = SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE;

// Both values are written even when the first write fails; nothing is rolled back.
bool WriteStyleValues(long style) {
    const WallpaperStyleValues values = StyleValues(style);
    const bool styleWritten = SaveRegValue(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", values.WallpaperStyle, true);
    const bool tileWritten = SaveRegValue(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", values.TileWallpaper, true);
    return styleWritten && tileWritten;
}

// Hangs `path` (or none) as the wallpaper, with the hourglass around exactly the system call,
// and keeps a transparent icon text background transparent.
bool ApplyWallpaper(const std::string& path, bool silent) {
    const bool transparent = IsDesktopTextTransparent();
    if (!silent) platform::SetBusyPointer(true);
    const BOOL applied = platform::seams::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0,
                                                                const_cast<char*>(path.c_str()), kUpdateAndBroadcast);
    if (!silent) platform::SetBusyPointer(false);
    if (!applied) return false;
    if (transparent) SetDesktopTextBackground(true);
    return true;
}

HWND ChildWindow(HWND parent, const char* className, const char* title) {
    return parent ? FindWindowExA(parent, nullptr, className, title) : nullptr;
}

}  // namespace

std::string WallpaperFilePath() { return WindowsFolder(true) + kWallpaperFileName; }

bool SetWallpaper(const std::string& filePath, const platform::Picture& picture, long style, bool silent) {
    // An earlier wallpaper file may have been made read-only, hidden or system.
    SetFileAttributesA(filePath.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::string error;
    if (!picture.SaveAsBitmapFile(filePath, &error)) {
        if (!silent)
            platform::MsgBox(kWallpaperSaveError1 + filePath + kWallpaperSaveError2 + platform::vbCrLf + platform::vbCrLf +
                                 error,
                             platform::kMsgWarning);
        return false;
    }
    // Asked whatever `silent` says: the user decides whether a half-set style is acceptable.
    if (!WriteStyleValues(style) && platform::MsgBox(kWallpaperRegistryQuestion, platform::kMsgQuestion) == IDNO)
        return false;
    if (ApplyWallpaper(filePath, silent)) return true;
    if (!silent) platform::MsgBox(kWallpaperSetError, platform::kMsgWarning);
    return false;
}

bool ClearWallpaper(const std::string& filePath, bool silent) {
    if (!filePath.empty()) {
        SetFileAttributesA(filePath.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(filePath.c_str());
    }
    if (ApplyWallpaper(kNoWallpaper, silent)) return true;
    if (!silent) platform::MsgBox(kWallpaperClearError, platform::kMsgWarning);
    return false;
}

bool ResetWallpaperStyle(long style, bool silent) {
    if (!WriteStyleValues(style)) {
        platform::MsgBox(kWallpaperRegistryError, platform::kMsgWarning);
        return false;
    }
    const std::string current = GetRegValue(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper", "", true);
    if (ApplyWallpaper(current, silent)) return true;
    if (!silent) platform::MsgBox(kWallpaperResetError, platform::kMsgWarning);
    return false;
}

HWND FindDesktopListView() {
    HWND progman = FindWindowExA(GetDesktopWindow(), nullptr, "Progman", "Program Manager");
    HWND view = ChildWindow(progman, "SHELLDLL_DefView", "");
    // Later shells move the icon view into a "WorkerW" window beside Progman.
    for (HWND worker = nullptr; !view && (worker = FindWindowExA(GetDesktopWindow(), worker, "WorkerW", nullptr));)
        view = ChildWindow(worker, "SHELLDLL_DefView", "");
    return ChildWindow(view, "SysListView32", "");
}

bool IsDesktopTextTransparent() {
    HWND list = FindDesktopListView();
    if (!list) return false;
    return static_cast<COLORREF>(SendMessageA(list, LVM_GETTEXTBKCOLOR, 0, 0)) == CLR_NONE;
}

void SetDesktopTextBackground(bool transparent) {
    HWND list = FindDesktopListView();
    // Without the list there is nothing to change; invalidating a null window would
    // redraw every window on the screen instead.
    if (!list) return;
    const COLORREF color = transparent ? CLR_NONE : GetSysColor(COLOR_BACKGROUND);
    SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(color));
    InvalidateRect(list, nullptr, TRUE);
    SendMessageA(list, WM_PAINT, 0, 0);
}

}  // namespace common
