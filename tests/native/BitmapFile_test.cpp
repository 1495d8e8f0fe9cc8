#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/BitmapFile.h"
#include "platform/BitmapReader.h"

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

// ---------------------------------------------------------------- our own bitmap reader

namespace {

using platform::BitmapRead;
using Bytes = std::vector<std::uint8_t>;

// What a reading gave: the result, the size asked for and the pixels, each blue, green, red, 0.
struct Decoded {
    BitmapRead result = BitmapRead::Invalid;
    int allocations = 0;
    std::uint32_t width = 0, height = 0;
    Bytes pixels;
    std::uint32_t At(std::uint32_t x, std::uint32_t y) const {
        const std::uint8_t* p = pixels.data() + (static_cast<size_t>(y) * width + x) * 4;
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    }
};

// Reads from memory into pixels of exactly the size asked for, so that the sanitizers see any
// access past the file or the pixels.
Decoded Decode(const Bytes& file) {
    Decoded d;
    d.result = platform::ReadBitmap(
        [&](std::uint64_t offset, void* out, std::size_t size) -> std::size_t {
            if (offset >= file.size()) return 0;
            const std::size_t n = std::min<std::size_t>(size, file.size() - static_cast<std::size_t>(offset));
            std::memcpy(out, file.data() + offset, n);
            return n;
        },
        [&](std::uint32_t width, std::uint32_t height) -> std::uint8_t* {
            ++d.allocations;
            if (std::uint64_t{width} * height > 1 << 20) return nullptr;  // damage made it large: no need to fill it
            d.width = width;
            d.height = height;
            d.pixels.assign(static_cast<size_t>(width) * height * 4, 0xCD);
            return d.pixels.data();
        });
    return d;
}

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// A bitmap file of the test picture: quadrants red, green / blue, white (through a palette of
// fewer colours, entry "quadrant modulo palette size"). Layout fields as the format names them.
struct Spec {
    Spec(const char* name_, int bits_ = 24, std::uint32_t compression_ = 0, std::vector<std::uint32_t> masks_ = {},
         std::uint32_t infoSize_ = 40, bool topDown_ = false, int width_ = 10, int height_ = 6)
        : name(name_), bits(bits_), compression(compression_), masks(std::move(masks_)), infoSize(infoSize_),
          topDown(topDown_), width(width_), height(height_) {}
    const char* name;
    int bits;
    std::uint32_t compression;  // 0 RGB, 1 RLE8, 2 RLE4, 3 BITFIELDS, 6 ALPHABITFIELDS
    std::vector<std::uint32_t> masks;  // red, green, blue[, alpha]
    std::uint32_t infoSize;
    bool topDown;
    int width, height;
};

int Quadrant(int x, int y, int width, int height) { return (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1); }
const std::uint32_t kQuadrants[4] = {kRed, kGreen, kBlue, kWhite};

void Put(Bytes& b, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) b.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 16- or 32-bit pixel: each full channel is its whole mask; alpha opaque; for BI_RGB the
// unused bits are set, which the reader must ignore.
std::uint32_t Packed(const Spec& s, std::uint32_t colour) {
    std::vector<std::uint32_t> masks = s.masks;
    if (s.compression == 0) masks = s.bits == 16 ? std::vector<std::uint32_t>{0x7C00, 0x03E0, 0x001F, 0x8000}
                                                 : std::vector<std::uint32_t>{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    std::uint32_t v = 0;
    if (colour & 0xFF0000) v |= masks[0];
    if (colour & 0x00FF00) v |= masks[1];
    if (colour & 0x0000FF) v |= masks[2];
    if (masks.size() > 3) v |= masks[3];
    return v;
}

Bytes Make(const Spec& s) {
    const bool core = s.infoSize == 12;
    const int paletteSize = s.bits <= 8 ? std::min(4, 1 << s.bits) : 0;
    const auto index = [&](int x, int y) { return Quadrant(x, y, s.width, s.height) % std::max(paletteSize, 1); };
    Bytes info;
    Put(info, s.infoSize, 4);
    if (core) {
        Put(info, static_cast<std::uint32_t>(s.width), 2);
        Put(info, static_cast<std::uint32_t>(s.height), 2);
        Put(info, 1, 2);
        Put(info, static_cast<std::uint32_t>(s.bits), 2);
    } else {
        Put(info, static_cast<std::uint32_t>(s.width), 4);
        Put(info, static_cast<std::uint32_t>(s.topDown ? -s.height : s.height), 4);
        Put(info, 1, 2);
        Put(info, static_cast<std::uint32_t>(s.bits), 2);
        Put(info, s.compression, 4);
        Put(info, 0, 4);
        Put(info, 3780, 4);
        Put(info, 3780, 4);
        Put(info, static_cast<std::uint32_t>(paletteSize), 4);
        Put(info, 0, 4);
        for (size_t i = 0; i < 4 && s.infoSize >= 44 + 4 * i; ++i) Put(info, i < s.masks.size() ? s.masks[i] : 0, 4);
        info.resize(s.infoSize, 0);
        if (s.infoSize == 40)
            for (std::uint32_t m : s.masks) Put(info, m, 4);
    }
    for (int i = 0; i < paletteSize; ++i) {
        const std::uint32_t c = kQuadrants[i];
        info.push_back(static_cast<std::uint8_t>(c));
        info.push_back(static_cast<std::uint8_t>(c >> 8));
        info.push_back(static_cast<std::uint8_t>(c >> 16));
        if (!core) info.push_back(0x77);  // the fourth byte of an entry means nothing
    }
    Bytes data;
    for (int row = 0; row < s.height; ++row) {
        const int y = s.topDown ? row : s.height - 1 - row;
        if (s.compression == 1 || s.compression == 2) {
            // Runs of one index each, then the end of the row; the last row ends the picture.
            for (int x = 0; x < s.width;) {
                int n = 1;
                while (x + n < s.width && index(x + n, y) == index(x, y)) ++n;
                data.push_back(static_cast<std::uint8_t>(n));
                data.push_back(static_cast<std::uint8_t>(s.compression == 1 ? index(x, y) : index(x, y) * 17));
                x += n;
            }
            data.push_back(0);
            data.push_back(row + 1 == s.height ? 1 : 0);
            continue;
        }
        Bytes line;
        if (s.bits <= 8) {
            int acc = 0, filled = 0;
            for (int x = 0; x < s.width; ++x) {
                acc = acc << s.bits | index(x, y);
                if ((filled += s.bits) == 8) {
                    line.push_back(static_cast<std::uint8_t>(acc));
                    acc = filled = 0;
                }
            }
            if (filled) line.push_back(static_cast<std::uint8_t>(acc << (8 - filled)));
        } else {
            for (int x = 0; x < s.width; ++x) {
                const std::uint32_t colour = kQuadrants[Quadrant(x, y, s.width, s.height)];
                Put(line, s.bits == 24 ? colour : Packed(s, colour), s.bits / 8);
            }
        }
        line.resize((line.size() + 3) / 4 * 4, 0);
        data.insert(data.end(), line.begin(), line.end());
    }
    Bytes file{'B', 'M'};
    Put(file, static_cast<std::uint32_t>(14 + info.size() + data.size()), 4);
    Put(file, 0, 4);
    Put(file, static_cast<std::uint32_t>(14 + info.size()), 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

const std::vector<Spec>& EveryStorage() {
    static const std::vector<Spec> specs = {
        {"1 bit", 1},
        {"2 bits", 2},
        {"4 bits", 4},
        {"8 bits", 8},
        {"16 bits 5-5-5", 16},
        {"24 bits", 24},
        {"32 bits", 32},
        {"24 bits top-down", 24, 0, {}, 40, true},
        {"8 bits top-down, odd width", 8, 0, {}, 40, true, 7, 4},
        {"RLE8", 8, 1},
        {"RLE4", 4, 2},
        {"RLE8 top-down", 8, 1, {}, 40, true},
        {"core header, 8 bits", 8, 0, {}, 12},
        {"core header, 24 bits", 24, 0, {}, 12},
        {"OS/2 2.x short header, 4 bits", 4, 0, {}, 16},
        {"OS/2 2.x header, RLE8", 8, 1, {}, 64},
        {"5-6-5", 16, 3, {0xF800, 0x07E0, 0x001F}},
        {"2-3-1", 16, 3, {0x0030, 0x000E, 0x0001}},
        {"3-10-3", 16, 3, {0xE000, 0x1FF8, 0x0007}},
        {"alpha 1-5-5-5", 16, 6, {0x7C00, 0x03E0, 0x001F, 0x8000}},
        {"alpha 4-4-4-4 in a version 3 header", 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, 56},
        {"8-8-8 in a version 2 header", 32, 3, {0xFF0000, 0xFF00, 0xFF}, 52},
        {"11-11-10", 32, 3, {0xFFE00000, 0x001FFC00, 0x000003FF}},
        {"7-18-7", 32, 3, {0xFE000000, 0x01FFFF80, 0x0000007F}},
        {"alpha 2-10-10-10 in a version 4 header", 32, 3, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}, 108},
        {"alpha 8-8-8-8 blue first in a version 5 header", 32, 3, {0x0000FF00, 0x00FF0000, 0xFF000000, 0xFF}, 124},
        {"32 bits, version 5 header, top-down", 32, 0, {}, 124, true},
    };
    return specs;
}

std::uint32_t Expected(const Spec& s, int x, int y) {
    const int paletteSize = s.bits <= 8 ? std::min(4, 1 << s.bits) : 4;
    return kQuadrants[Quadrant(x, y, s.width, s.height) % paletteSize];
}

}  // namespace

TEST(BitmapReader, EveryDepthMaskCompressionAndHeader) {
    for (const Spec& s : EveryStorage()) {
        SCOPED_TRACE(s.name);
        const Decoded d = Decode(Make(s));
        ASSERT_EQ(d.result, BitmapRead::Done);
        ASSERT_EQ(d.allocations, 1);
        ASSERT_EQ(d.width, static_cast<std::uint32_t>(s.width));
        ASSERT_EQ(d.height, static_cast<std::uint32_t>(s.height));
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                ASSERT_EQ(d.At(x, y), Expected(s, x, y)) << x << "," << y;
    }
}

TEST(BitmapReader, ChannelsOfAnyWidthScaleToTheFullRange) {
    // One pixel per file: 2-3-1 with red 1 of 3 and green 5 of 7; 3-10-3 with green 512 of 1023.
    Spec s{"", 16, 3, {0x0030, 0x000E, 0x0001}};
    s.width = s.height = 1;
    Bytes file = Make(s);
    file[file.size() - 4] = 0x1A;  // red 01, green 101, blue 0
    file[file.size() - 3] = 0;
    EXPECT_EQ(Decode(file).At(0, 0), 85u << 16 | 182u << 8);
    s.masks = {0xE000, 0x1FF8, 0x0007};
    file = Make(s);
    file[file.size() - 4] = 0x00;
    file[file.size() - 3] = 0x10;  // green 1000000000
    EXPECT_EQ(Decode(file).At(0, 0), 128u << 8);
}

TEST(BitmapReader, ReadsWhatTheWriterWrites) {
    for (auto [width, height] : {std::pair{1, 1}, {3, 2}, {5, 7}, {255, 3}}) {
        std::vector<std::uint8_t> pixels = Pixels(width, height, 11);
        const Decoded d = Decode(Write(width, height, pixels));
        ASSERT_EQ(d.result, BitmapRead::Done);
        for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0;
        EXPECT_EQ(d.pixels, pixels) << width << "x" << height;
    }
}

TEST(BitmapReader, RleEscapesAndRunsThatOverrun) {
    // 6 x 4 at 8 bits, palette red, green, blue, white; rows from the bottom.
    Spec s{"", 8, 1};
    s.width = 6;
    s.height = 4;
    Bytes file = Make(s);
    const size_t pixelsAt = file[10];
    file.resize(pixelsAt);
    const Bytes data = {
        9, 1,              // a run longer than the row: the rest is dropped
        0, 0,              // end of row 0
        0, 3, 2, 3, 2, 0,  // three pixels as they are, padded to an even length
        0, 2, 1, 1,        // one right and one up: row 1's other pixels and row 2's first stay black
        0, 2, 200, 0,      // past the row's end: nothing lands
        2, 3,              // ... and nothing here either
        0, 0,              // row 3
        4, 2, 0, 2, 9, 9,  // a jump past the last row ends the picture
        7, 3,              // never reached
    };
    file.insert(file.end(), data.begin(), data.end());
    const Decoded d = Decode(file);
    ASSERT_EQ(d.result, BitmapRead::Done);
    const auto row = [&](std::uint32_t y) {  // top-down
        std::vector<std::uint32_t> colours;
        for (std::uint32_t x = 0; x < 6; ++x) colours.push_back(d.At(x, y));
        return colours;
    };
    EXPECT_EQ(row(3), std::vector<std::uint32_t>(6, kGreen));
    EXPECT_EQ(row(2), (std::vector<std::uint32_t>{kBlue, kWhite, kBlue, 0, 0, 0}));
    EXPECT_EQ(row(1), std::vector<std::uint32_t>(6, 0));
    EXPECT_EQ(row(0), (std::vector<std::uint32_t>{kBlue, kBlue, kBlue, kBlue, 0, 0}));

    // RLE4: runs alternate two indexes; literal nibbles padded to an even number of bytes.
    s = Spec{"", 4, 2};
    s.width = 7;
    s.height = 1;
    file = Make(s);
    file.resize(file[10]);
    for (int b : {5, 0x12, 0, 3, 0x30, 0x20, 0, 1}) file.push_back(static_cast<std::uint8_t>(b));
    const Decoded four = Decode(file);
    std::vector<std::uint32_t> colours;
    for (std::uint32_t x = 0; x < 7; ++x) colours.push_back(four.At(x, 0));
    EXPECT_EQ(colours, (std::vector<std::uint32_t>{kGreen, kBlue, kGreen, kBlue, kGreen, kWhite, kRed}));
}

TEST(BitmapReader, DamagedHeadersAreRefusedBeforeAnythingIsAllocated) {
    const Bytes good = Make({"", 32, 3, {0xFF0000, 0xFF00, 0xFF}});
    struct Damage {
        const char* what;
        std::vector<std::pair<size_t, std::uint32_t>> fields;  // 4-byte fields (2 bytes at 28)
        BitmapRead result;
    };
    const Damage damages[] = {
        {"not BM", {{0, 'B' | 'A' << 8 | 0x36 << 16}}, BitmapRead::Invalid},
        {"header size unknown", {{14, 41}}, BitmapRead::Invalid},
        {"header size past the file", {{14, 0xFFFFFFF0}}, BitmapRead::Invalid},
        {"width 0", {{18, 0}}, BitmapRead::Invalid},
        {"width negative", {{18, 0xFFFFFFFF}}, BitmapRead::Invalid},
        {"height 0", {{22, 0}}, BitmapRead::Invalid},
        {"30000 x 30000: 3.6 GB of pixels", {{18, 30000}, {22, 30000}}, BitmapRead::TooLarge},
        {"height the most negative", {{22, 0x80000000}}, BitmapRead::TooLarge},
        {"width absurd", {{18, 0x7FFFFFFF}}, BitmapRead::TooLarge},
        {"3 bits", {{28, 3}}, BitmapRead::Invalid},
        {"64 bits", {{28, 64}}, BitmapRead::Invalid},
        {"JPEG inside", {{30, 4}}, BitmapRead::Invalid},
        {"no such compression", {{30, 0x12345678}}, BitmapRead::Invalid},
        {"RLE8 at 32 bits", {{30, 1}}, BitmapRead::Invalid},
        {"mask with a gap", {{54, 0xFF00FF}}, BitmapRead::Invalid},
        {"no masks at all", {{54, 0}, {58, 0}, {62, 0}}, BitmapRead::Invalid},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        Bytes file = good;
        for (auto [at, value] : damage.fields)
            for (size_t i = 0; i < (at == 28 ? 2u : 4u); ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        const Decoded d = Decode(file);
        EXPECT_EQ(d.result, damage.result);
        EXPECT_EQ(d.allocations, 0);
    }
    // A 16-bit mask reaching past the pixel's 16 bits.
    EXPECT_EQ(Decode(Make({"", 16, 3, {0x1F0000, 0x07E0, 0x001F}})).result, BitmapRead::Invalid);
}

TEST(BitmapReader, PixelDataOffsets) {
    const Spec s{"", 8};
    const Bytes good = Make(s);
    // Past the end of the file: nothing to read.
    Bytes file = good;
    file[10] = 0xF0, file[11] = 0xFF;
    EXPECT_EQ(Decode(file).result, BitmapRead::Invalid);
    // Inside the headers (0, as some writers leave it): the pixels follow the palette.
    for (std::uint8_t offset : {0, 20}) {
        file = good;
        file[10] = offset, file[11] = 0;
        const Decoded d = Decode(file);
        ASSERT_EQ(d.result, BitmapRead::Done);
        EXPECT_EQ(d.At(9, 5), kWhite);
    }
    // Pixels said to begin inside the palette: the palette is as long as the room before them.
    file = good;
    file[10] = static_cast<std::uint8_t>(file[10] - 8);  // two entries fewer; the pixels move with the offset
    file.erase(file.begin() + file[10], file.begin() + file[10] + 8);
    const Decoded d = Decode(file);
    ASSERT_EQ(d.result, BitmapRead::Done);
    EXPECT_EQ(d.At(0, 0), kRed);
    EXPECT_EQ(d.At(0, 5), 0u);  // blue's entry is gone: black
}

TEST(BitmapReader, EveryTruncationAndDamageStaysInBounds) {
    std::mt19937 random(2024);
    for (const Spec& s : EveryStorage()) {
        SCOPED_TRACE(s.name);
        const Bytes whole = Make(s);
        const bool rle = s.compression == 1 || s.compression == 2;
        const size_t headers = 14 + s.infoSize + (s.infoSize == 40 ? 4 * s.masks.size() : 0);
        // Uncompressed pixels are needed up to the last one (not the last row's padding); RLE
        // data may stop anywhere.
        const size_t stride = (static_cast<size_t>(s.width) * s.bits + 31) / 32 * 4;
        const size_t needed = rle ? headers
                                  : (whole[10] | whole[11] << 8) + stride * (s.height - 1) +
                                        (static_cast<size_t>(s.width) * s.bits + 7) / 8;
        for (size_t length = 0; length < whole.size(); ++length) {
            const Decoded d = Decode(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
            EXPECT_EQ(d.result, length < needed ? BitmapRead::Invalid : BitmapRead::Done) << "cut at " << length;
        }
        // Random damage anywhere, a few bytes at a time: whatever comes, nothing is touched
        // out of bounds (the sanitizers watch), and pixels are asked for once at most.
        for (int trial = 0; trial < 300; ++trial) {
            Bytes file = whole;
            for (int k = 0, n = 1 + static_cast<int>(random() % 4); k < n; ++k)
                file[random() % file.size()] = static_cast<std::uint8_t>(random());
            const Decoded d = Decode(file);
            EXPECT_LE(d.allocations, 1);
        }
    }
}
