#include "backdrop_changer/ShowLogic.h"

namespace backdrop_changer {

Hang ChooseHang(long width, long height, long screenWidth, long screenHeight, const FitOptions& options) {
    bool big = width > screenWidth || height > screenHeight;
    bool tileable = !big && options.TileSmall &&
                    ScreenPercent(width, height, screenWidth, screenHeight) < options.TilePercent;
    if (options.StretchFit && (options.StretchType == 1 || (options.StretchType == 0 && big))) return Hang::Stretch;
    if (tileable) return Hang::Tile;
    return Hang::Center;
}

}  // namespace backdrop_changer
