#include "common/WindowsWallpaper_.h"

#include <commctrl.h>
#include <shlobj.h>

#include "common/FileFolderFunctions_.h"
#include "common/SettingsReg_.h"
#include "common/WallpaperStyle_.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"
#include "platform/Text.h"

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

// Whether a new file can be made in `folder` (ending with a backslash): on Windows Vista and later
// only an elevated program may write the Windows folder.
bool MayWriteFolder(const std::string& folder) {
    const std::string probe = folder + "Sorvita Wallpaper " + std::to_string(GetCurrentProcessId()) + ".tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool SamePath(const std::string& a, const std::string& b) {
    const std::wstring wideA = platform::Wide(a), wideB = platform::Wide(b);
    return CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

void DeleteWallpaperFile(const std::string& path) {
    if (path.empty()) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

HWND ChildWindow(HWND parent, const char* className, const char* title) {
    return parent ? FindWindowExA(parent, nullptr, className, title) : nullptr;
}

}  // namespace

std::string WindowsWallpaperFilePath() {
    const std::string folder = WindowsFolder(true);
    return folder.empty() ? std::string() : folder + kWallpaperFileName;
}

std::string UserWallpaperFilePath() {
    // Wide, since the ANSI call has room for MAX_PATH bytes only.
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return "";
    std::string path = platform::FromWide(folder);
    if (path.empty()) return "";
    if (path.back() != '\\') path += '\\';
    return path + kUserWallpaperFolder + "\\" + kWallpaperFileName;
}

std::string WallpaperFilePath() {
    const std::string windowsFile = WindowsWallpaperFilePath();
    if (!windowsFile.empty() && MayWriteFolder(WindowsFolder(true))) return windowsFile;
    const std::string userFile = UserWallpaperFilePath();
    if (userFile.empty()) return windowsFile.empty() ? kWallpaperFileName : windowsFile;
    CreateDirectoryA(userFile.substr(0, userFile.rfind('\\')).c_str(), nullptr);
    return userFile;
}

bool IsWallpaperFile(const std::string& path) {
    for (const std::string& place : {WindowsWallpaperFilePath(), UserWallpaperFilePath()})
        if (!place.empty() && SamePath(path, place)) return true;
    return false;
}

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
    // A file hung by an elevated run and one hung by a standard run are both ours; the one this
    // user may not delete stays, quietly.
    if (IsWallpaperFile(filePath)) {
        DeleteWallpaperFile(WindowsWallpaperFilePath());
        DeleteWallpaperFile(UserWallpaperFilePath());
    } else {
        DeleteWallpaperFile(filePath);
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
