#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/BitmapFile.h"

using platform::BitmapFileSize;
using platform::BitmapRowSize;
using platform::WriteBitmap;

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }

// 32-bit top-down pixels with a pattern that differs in every channel and row.
std::vector<std::uint8_t> Pixels(int width, int height, unsigned seed) {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    std::mt19937 random(seed);
    for (auto& byte : pixels) byte = static_cast<std::uint8_t>(random());
    return pixels;
}

std::vector<std::uint8_t> Write(int width, int height, const std::vector<std::uint8_t>& pixels) {
    std::vector<std::uint8_t> file;
    bool ok = WriteBitmap(
        width, height, [&](int y) { return pixels.data() + static_cast<size_t>(y) * width * 4; },
        [&](const void* data, size_t size) {
            auto bytes = static_cast<const std::uint8_t*>(data);
            file.insert(file.end(), bytes, bytes + size);
            return true;
        });
    EXPECT_TRUE(ok);
    return file;
}

// Reads back what a bitmap reader would take from the file: headers checked, pixels as
// top-down 32-bit rows with the unused byte left 0.
std::vector<std::uint8_t> Read(const std::vector<std::uint8_t>& file, int* width, int* height) {
    EXPECT_GE(file.size(), 54u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), file.size());
    EXPECT_EQ(U32(file, 10), 54u);
    EXPECT_EQ(U32(file, 14), 40u);
    *width = static_cast<int>(U32(file, 18));
    *height = static_cast<int>(U32(file, 22));
    EXPECT_EQ(U16(file, 26), 1);
    EXPECT_EQ(U16(file, 28), 24);
    EXPECT_EQ(U32(file, 30), 0u);
    const size_t stride = (static_cast<size_t>(*width) * 3 + 3) / 4 * 4;
    EXPECT_EQ(U32(file, 34), stride * *height);
    EXPECT_EQ(file.size(), 54 + stride * *height);
    std::vector<std::uint8_t> pixels(static_cast<size_t>(*width) * *height * 4, 0);
    for (int y = 0; y < *height; ++y) {
        const std::uint8_t* row = file.data() + 54 + stride * (*height - 1 - y);
        for (int x = 0; x < *width; ++x)
            for (int c = 0; c < 3; ++c) pixels[(static_cast<size_t>(y) * *width + x) * 4 + c] = row[x * 3 + c];
        for (size_t pad = static_cast<size_t>(*width) * 3; pad < stride; ++pad) EXPECT_EQ(row[pad], 0) << "row " << y;
    }
    return pixels;
}

}  // namespace

TEST(BitmapFile, Sizes) {
    EXPECT_EQ(BitmapRowSize(1), 4u);
    EXPECT_EQ(BitmapRowSize(3), 12u);
    EXPECT_EQ(BitmapRowSize(4), 12u);
    EXPECT_EQ(BitmapRowSize(5), 16u);
    EXPECT_EQ(BitmapRowSize(0), 0u);
    EXPECT_EQ(BitmapFileSize(1, 1), 58u);
    EXPECT_EQ(BitmapFileSize(4000, 3000), 54u + 12000u * 3000u);
    EXPECT_EQ(BitmapFileSize(0, 5), 0u);
    EXPECT_EQ(BitmapFileSize(5, 0), 0u);
    EXPECT_EQ(BitmapFileSize(-1, 5), 0u);
    // The format's sizes are 32-bit: 40000 x 20000 is 2.4 GB of rows.
    EXPECT_EQ(BitmapFileSize(40000, 20000), 0u);
    EXPECT_EQ(BitmapFileSize(0x7FFFFFFF, 0x7FFFFFFF), 0u);
    EXPECT_NE(BitmapFileSize(16384, 16384), 0u);
}

TEST(BitmapFile, RoundTripOddSizes) {
    const int sizes[][2] = {{1, 1}, {2, 1}, {3, 2}, {5, 7}, {4, 4}, {13, 1}, {1, 13}, {255, 3}, {1023, 5}, {700, 500}};
    unsigned seed = 1;
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size[0] << "x" << size[1]);
        std::vector<std::uint8_t> pixels = Pixels(size[0], size[1], seed++);
        int width = 0, height = 0;
        std::vector<std::uint8_t> back = Read(Write(size[0], size[1], pixels), &width, &height);
        ASSERT_EQ(width, size[0]);
        ASSERT_EQ(height, size[1]);
        for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0;  // the unused byte is not stored
        EXPECT_EQ(back, pixels);
    }
}

TEST(BitmapFile, OnePixelFileBytes) {
    const std::vector<std::uint8_t> pixel{0x10, 0x20, 0x30, 0xFF};
    const std::vector<std::uint8_t> file = Write(1, 1, pixel);
    ASSERT_EQ(file.size(), 58u);
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 54, file.end()), (std::vector<std::uint8_t>{0x10, 0x20, 0x30, 0}));
    EXPECT_EQ(U32(file, 38), 3780u);  // 96 dots per inch
}

TEST(BitmapFile, StopsAtTheFirstFailedWrite) {
    const std::vector<std::uint8_t> pixels = Pixels(600, 2000, 7);  // several blocks
    int writes = 0;
    bool ok = WriteBitmap(
        600, 2000, [&](int y) { return pixels.data() + static_cast<size_t>(y) * 600 * 4; },
        [&](const void*, size_t) { return ++writes < 2; });
    EXPECT_FALSE(ok);
    EXPECT_EQ(writes, 2);
}

TEST(BitmapFile, RefusesSizesTheFormatCannotHold) {
    int rowsAsked = 0, writes = 0;
    EXPECT_FALSE(WriteBitmap(
        50000, 50000, [&](int) { ++rowsAsked; return static_cast<const std::uint8_t*>(nullptr); },
        [&](const void*, size_t) { ++writes; return true; }));
    EXPECT_FALSE(WriteBitmap(
        0, 1, [&](int) { ++rowsAsked; return static_cast<const std::uint8_t*>(nullptr); },
        [&](const void*, size_t) { ++writes; return true; }));
    EXPECT_EQ(rowsAsked, 0);
    EXPECT_EQ(writes, 0);
}
