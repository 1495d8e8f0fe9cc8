// The Windows desktop wallpaper for the whole suite: the one wallpaper bitmap file,
// its layout style, and the desktop icon text background kept transparent across changes.
#pragma once
#include <windows.h>
#include <string>

#include "platform/Picture.h"

namespace common {

inline constexpr const char* kWallpaperFileName = "Sorvita Wallpaper.bmp";
// The folder of the per-user wallpaper file, in the user's local application data folder.
inline constexpr const char* kUserWallpaperFolder = "Sorvita";

inline constexpr const char* kWallpaperSaveError1 = "An error occurred attempting to save the '";
inline constexpr const char* kWallpaperSaveError2 = "' file to use as wallpaper:";
inline constexpr const char* kWallpaperRegistryQuestion =
    "An error occurred attempting to set a wallpaper-related registry setting.  Do you want to set the wallpaper anyway?";
inline constexpr const char* kWallpaperRegistryError =
    "An error occurred attempting to set a wallpaper-related registry setting.";
inline constexpr const char* kWallpaperSetError = "An error occurred attempting to set the Windows wallpaper.";
inline constexpr const char* kWallpaperClearError = "An error occurred attempting to clear the Windows wallpaper.";
inline constexpr const char* kWallpaperResetError = "An error occurred attempting to reset the Windows wallpaper style.";

// Style codes.
inline constexpr long kStyleCenter = 0;
inline constexpr long kStyleTile = 1;
inline constexpr long kStyleStretch = 2;

// Where the style values and the current wallpaper live, under HKEY_CURRENT_USER.
inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";

// The wallpaper file every program hangs, clears and recognises: the Windows folder followed by
// "Sorvita Wallpaper.bmp" where this program may write the Windows folder; elsewhere (a standard
// user, or an administrator's program that is not elevated) the per-user file, whose folder is
// made here when missing.
std::string WallpaperFilePath();
// The two places of the wallpaper file; either is empty when the system cannot name its folder.
std::string WindowsWallpaperFilePath();
std::string UserWallpaperFilePath();
// Whether `path` names the wallpaper file in either place.
bool IsWallpaperFile(const std::string& path);

// Writes `picture` to `filePath` as a bitmap, writes the style values and hangs the file.
bool SetWallpaper(const std::string& filePath, const platform::Picture& picture, long style, bool silent);
// Deletes `filePath` (when given; the wallpaper file in both places when it names either) and
// sets the wallpaper to none.
bool ClearWallpaper(const std::string& filePath, bool silent);
// Writes the style values and hangs the current wallpaper again so that they take effect.
bool ResetWallpaperStyle(long style, bool silent);

// The desktop's icon list window; null when there is none.
HWND FindDesktopListView();
bool IsDesktopTextTransparent();
// Transparent, or the desktop colour.
void SetDesktopTextBackground(bool transparent);

}  // namespace common
