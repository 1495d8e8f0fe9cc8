#include <gtest/gtest.h>

#include "common/WallpaperStyle_.h"

TEST(WallpaperStyle, Table) {
    struct Row {
        long style;
        const char* wallpaperStyle;
        const char* tileWallpaper;
    };
    const Row rows[] = {{0, "0", "0"}, {1, "0", "1"}, {2, "2", "0"}, {3, "0", "3"}, {-1, "0", "-1"},
                        {2147483647L, "0", "2147483647"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.style);
        const common::WallpaperStyleValues values = common::StyleValues(row.style);
        EXPECT_EQ(values.WallpaperStyle, row.wallpaperStyle);
        EXPECT_EQ(values.TileWallpaper, row.tileWallpaper);
    }
}
