#include "platform/Orientation.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace platform {

namespace {

// Quarter turns read a stored column while writing an upright row; in square tiles both
// stay in the cache, instead of one cache line written per pixel down a whole column.
constexpr int kTile = 32;

}  // namespace

bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

void TurnRows(const std::uint32_t* stored, int width, int height, int top, int rows, int orientation,
              std::uint32_t* upright) {
    if (width <= 0 || height <= 0 || rows <= 0) return;
    const std::size_t storedWidth = static_cast<std::size_t>(width);
    if (!SwapsSides(orientation)) {
        const bool mirrored = orientation == 2 || orientation == 3;
        const bool upsideDown = orientation == 3 || orientation == 4;
        for (int r = 0; r < rows; ++r) {
            const int y = top + r;
            const std::uint32_t* from = stored + static_cast<std::size_t>(r) * storedWidth;
            std::uint32_t* to = upright + static_cast<std::size_t>(upsideDown ? height - 1 - y : y) * storedWidth;
            if (mirrored)
                std::reverse_copy(from, from + storedWidth, to);
            else
                std::memcpy(to, from, storedWidth * sizeof *from);
        }
        return;
    }
    // A stored row becomes an upright column: from the right edge inward for 6 and 7, from
    // the left for 5 and 8. A stored column becomes an upright row: from the bottom up for
    // 7 and 8, from the top for 5 and 6.
    const bool rowsFromRight = orientation == 6 || orientation == 7;
    const bool columnsFromBottom = orientation == 7 || orientation == 8;
    const std::size_t uprightWidth = static_cast<std::size_t>(height);
    for (int x0 = 0; x0 < width; x0 += kTile) {
        const int x1 = std::min(width, x0 + kTile);
        for (int r0 = 0; r0 < rows; r0 += kTile) {
            const int r1 = std::min(rows, r0 + kTile);
            const int firstColumn = rowsFromRight ? height - 1 - (top + r0) : top + r0;
            const int step = rowsFromRight ? -1 : 1;
            for (int x = x0; x < x1; ++x) {
                const std::size_t uprightRow = static_cast<std::size_t>(columnsFromBottom ? width - 1 - x : x);
                std::uint32_t* line = upright + uprightRow * uprightWidth;
                for (int r = r0, column = firstColumn; r < r1; ++r, column += step)
                    line[column] = stored[static_cast<std::size_t>(r) * storedWidth + static_cast<std::size_t>(x)];
            }
        }
    }
}

}  // namespace platform
