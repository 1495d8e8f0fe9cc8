#include "common/WallpaperStyle_.h"

namespace common {

WallpaperStyleValues StyleValues(long style) {
    switch (style) {
        case 0:
            return {"0", "0"};
        case 1:
            return {"0", "1"};
        case 2:
            return {"2", "0"};
        default:
            return {"0", std::to_string(style)};
    }
}

}  // namespace common
