#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Orientation.h"

using platform::SwapsSides;
using platform::TurnRows;

namespace {

struct Turned {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

constexpr std::uint32_t kGuard = 0xDEADBEEF;
constexpr std::size_t kGuardPixels = 16;

// Turns a whole stored picture, handing it over `stripRows` rows at a time as the loader
// does, into a buffer with guard pixels on both sides that must come out untouched.
Turned Turn(const std::vector<std::uint32_t>& stored, int width, int height, int orientation, int stripRows) {
    Turned out;
    out.width = SwapsSides(orientation) ? height : width;
    out.height = SwapsSides(orientation) ? width : height;
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint32_t> buffer(size + 2 * kGuardPixels, kGuard);
    for (int top = 0; top < height; top += stripRows) {
        const int rows = std::min(stripRows, height - top);
        // Each strip in a buffer of its own, so that reading past it is caught.
        const std::vector<std::uint32_t> strip(stored.begin() + static_cast<std::ptrdiff_t>(top) * width,
                                               stored.begin() + static_cast<std::ptrdiff_t>(top + rows) * width);
        TurnRows(strip.data(), width, height, top, rows, orientation, buffer.data() + kGuardPixels);
    }
    for (std::size_t i = 0; i < kGuardPixels; ++i) {
        EXPECT_EQ(buffer[i], kGuard) << "before, orientation " << orientation;
        EXPECT_EQ(buffer[kGuardPixels + size + i], kGuard) << "after, orientation " << orientation;
    }
    out.pixels.assign(buffer.begin() + kGuardPixels, buffer.end() - kGuardPixels);
    return out;
}

// Every pixel different, and none equal to the guard.
std::vector<std::uint32_t> Distinct(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0x01000000u + static_cast<std::uint32_t>(i);
    return pixels;
}

std::string Text(const Turned& turned) {
    std::string text;
    for (int y = 0; y < turned.height; ++y) {
        if (y) text += '/';
        for (int x = 0; x < turned.width; ++x)
            text += static_cast<char>(turned.pixels[static_cast<std::size_t>(y * turned.width + x)]);
    }
    return text;
}

}  // namespace

TEST(Orientation, EachOfTheEightOnAThreeByTwoPicture) {
    // Stored: a b c over d e f.
    const std::vector<std::uint32_t> stored{'a', 'b', 'c', 'd', 'e', 'f'};
    const char* upright[] = {
        "abc/def",     // 1 as stored
        "cba/fed",     // 2 mirrored left to right
        "fed/cba",     // 3 half round
        "def/abc",     // 4 mirrored top to bottom
        "ad/be/cf",    // 5 mirrored along the diagonal from the top left
        "da/eb/fc",    // 6 a quarter clockwise
        "fc/eb/da",    // 7 mirrored along the other diagonal
        "cf/be/ad",    // 8 a quarter anticlockwise
    };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (int strip : {1, 2}) {
            const Turned turned = Turn(stored, 3, 2, orientation, strip);
            EXPECT_EQ(Text(turned), upright[orientation - 1]) << orientation << ", strips of " << strip;
        }
        EXPECT_EQ(SwapsSides(orientation), orientation >= 5) << orientation;
    }
    // Values no photo has are taken as "as stored".
    for (int orientation : {0, 9, -1, 65535}) {
        EXPECT_FALSE(SwapsSides(orientation));
        EXPECT_EQ(Text(Turn(stored, 3, 2, orientation, 1)), "abc/def") << orientation;
    }
}

TEST(Orientation, StripsOfAnySizeGiveTheSameTurn) {
    // Sizes across the tiles of the quarter turns, odd ones, and single rows and columns.
    const std::pair<int, int> sizes[] = {{70, 45}, {33, 1}, {1, 40}, {64, 64}, {1, 1}, {97, 31}};
    for (auto [width, height] : sizes) {
        const std::vector<std::uint32_t> stored = Distinct(width, height);
        for (int orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE(testing::Message() << width << "x" << height << ", orientation " << orientation);
            const Turned whole = Turn(stored, width, height, orientation, height);
            for (int strip : {1, 7, 32, 33}) EXPECT_EQ(Turn(stored, width, height, orientation, strip).pixels, whole.pixels);
        }
    }
}

TEST(Orientation, TurnsComposeAsTheirGeometrySays) {
    const int width = 45, height = 38;
    const std::vector<std::uint32_t> stored = Distinct(width, height);
    const auto twice = [&](int first, int second) {
        const Turned once = Turn(stored, width, height, first, 9);
        return Turn(once.pixels, once.width, once.height, second, 9).pixels;
    };
    const auto single = [&](int orientation) { return Turn(stored, width, height, orientation, height).pixels; };
    EXPECT_EQ(twice(6, 8), stored);  // a quarter round and back
    EXPECT_EQ(twice(8, 6), stored);
    for (int mirror : {2, 4, 5, 7}) EXPECT_EQ(twice(mirror, mirror), stored) << mirror;
    EXPECT_EQ(twice(6, 6), single(3));
    EXPECT_EQ(twice(8, 8), single(3));
    EXPECT_EQ(twice(2, 4), single(3));
    EXPECT_EQ(twice(6, 2), single(5));
    EXPECT_EQ(twice(6, 4), single(7));
    EXPECT_EQ(twice(3, 6), single(8));
}
