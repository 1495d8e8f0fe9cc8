// The Windows desktop wallpaper for the whole suite: the one wallpaper bitmap file,
// its layout style, and the desktop icon text background kept transparent across changes.
#pragma once
#include <windows.h>
#include <string>

#include "platform/Picture.h"

namespace common {

inline constexpr const char* kWallpaperFileName = "Sorvita Wallpaper.bmp";

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

// The Windows folder followed by "Sorvita Wallpaper.bmp".
std::string WallpaperFilePath();

// Writes `picture` to `filePath` as a bitmap, writes the style values and hangs the file.
bool SetWallpaper(const std::string& filePath, const platform::Picture& picture, long style, bool silent);
// Deletes `filePath` (when given) and sets the wallpaper to none.
bool ClearWallpaper(const std::string& filePath, bool silent);
// Writes the style values and hangs the current wallpaper again so that they take effect.
bool ResetWallpaperStyle(long style, bool silent);

// The desktop's icon list window; null when there is none.
HWND FindDesktopListView();
bool IsDesktopTextTransparent();
// Transparent, or the desktop colour.
void SetDesktopTextBackground(bool transparent);

}  // namespace common
