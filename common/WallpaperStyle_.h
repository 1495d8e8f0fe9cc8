// The registry form of a wallpaper style code. Portable: no Windows headers.
#pragma once
#include <string>

namespace common {

// The two "Control Panel\Desktop" values for a style code: 0 Center, 1 Tile, 2 Stretch;
// any other code n is passed on as "TileWallpaper" n.
struct WallpaperStyleValues {
    std::string WallpaperStyle;
    std::string TileWallpaper;
};

WallpaperStyleValues StyleValues(long style);

}  // namespace common
