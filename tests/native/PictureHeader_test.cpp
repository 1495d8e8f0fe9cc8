#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "platform/PictureHeader.h"

using platform::PictureFitsInMemory;
using platform::PictureHeader;
using platform::PictureKind;
using platform::ReadPictureHeader;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Reads from memory; `reads` counts the calls, so a test can see that a file is not read byte by byte.
PictureHeader Header(const Bytes& file, int* reads = nullptr) {
    return ReadPictureHeader([&](std::uint64_t offset, void* out, std::size_t size) -> std::size_t {
        if (reads) ++*reads;
        if (offset >= file.size()) return 0;
        const std::size_t n = std::min<std::size_t>(size, file.size() - static_cast<std::size_t>(offset));
        std::memcpy(out, file.data() + offset, n);
        return n;
    });
}

void Append(Bytes& file, std::initializer_list<int> bytes) {
    for (int b : bytes) file.push_back(static_cast<std::uint8_t>(b));
}
void Segment(Bytes& file, int marker, std::size_t payload, std::uint8_t fill = 0x11) {
    Append(file, {0xFF, marker, static_cast<int>((payload + 2) >> 8), static_cast<int>((payload + 2) & 0xFF)});
    file.insert(file.end(), payload, fill);
}
void Frame(Bytes& file, int marker, int width, int height) {
    Append(file, {0xFF, marker, 0, 11, 8, height >> 8, height & 0xFF, width >> 8, width & 0xFF, 1, 1, 0x11, 0});
}

void ExpectSize(const PictureHeader& header, PictureKind kind, std::uint32_t width, std::uint32_t height) {
    EXPECT_EQ(header.kind, kind);
    EXPECT_TRUE(header.sized);
    EXPECT_EQ(header.width, width);
    EXPECT_EQ(header.height, height);
}

// A GIF screen with a global colour table of 2 entries.
Bytes GifStart(int width, int height) {
    Bytes file{'G', 'I', 'F', '8', '9', 'a'};
    Append(file, {width & 0xFF, width >> 8, height & 0xFF, height >> 8, 0x80, 0, 0, 0, 0, 0, 255, 255, 255});
    return file;
}
void GifFrame(Bytes& file, int width, int height, bool localTable, std::size_t dataBlocks) {
    Append(file, {0x2C, 0, 0, 0, 0, width & 0xFF, width >> 8, height & 0xFF, height >> 8, localTable ? 0x81 : 0});
    if (localTable) file.insert(file.end(), 12, 0x22);  // 4 entries
    Append(file, {2});
    for (std::size_t i = 0; i < dataBlocks; ++i) {
        Append(file, {255});
        file.insert(file.end(), 255, 0x2C);  // bytes that look like descriptors must not be taken for one
    }
    Append(file, {0});
}

}  // namespace

TEST(PictureHeader, JpegFrameSizeFoundPastOtherSegments) {
    Bytes file{0xFF, 0xD8};
    Segment(file, 0xE0, 14);
    Segment(file, 0xE1, 65000, 0xFF);  // a large metadata segment full of 0xFF bytes
    Append(file, {0x12, 0x34});        // stray bytes
    Append(file, {0xFF, 0x00});        // not a marker
    Append(file, {0xFF, 0xFF, 0xFF});  // fill bytes before the next marker
    Segment(file, 0xDB, 67);
    Append(file, {0xFF, 0xD0});  // a marker without a length
    Segment(file, 0xC4, 30);     // DHT is no frame, whatever its number
    Segment(file, 0xFE, 5);
    Frame(file, 0xC2, 4000, 3000);
    Segment(file, 0xDA, 8);
    ExpectSize(Header(file), PictureKind::Jpeg, 4000, 3000);

    for (int marker : {0xC0, 0xC1, 0xC3, 0xC9, 0xCF}) {
        Bytes other{0xFF, 0xD8};
        Frame(other, marker, 65535, 1);
        ExpectSize(Header(other), PictureKind::Jpeg, 65535, 1);
    }
}

TEST(PictureHeader, JpegWithoutFrameIsNotSized) {
    Bytes scanFirst{0xFF, 0xD8};
    Segment(scanFirst, 0xDA, 8);
    Frame(scanFirst, 0xC0, 50000, 50000);  // after the scan: never reached by a decoder either
    EXPECT_FALSE(Header(scanFirst).sized);
    EXPECT_EQ(Header(scanFirst).kind, PictureKind::Jpeg);

    Bytes cut{0xFF, 0xD8};
    Segment(cut, 0xE1, 100);
    cut.erase(cut.end() - 50, cut.end());  // the file ends inside a segment
    EXPECT_FALSE(Header(cut).sized);

    Bytes frameCut{0xFF, 0xD8};
    Frame(frameCut, 0xC0, 300, 200);
    frameCut.resize(8);  // the file ends inside the frame's size
    EXPECT_FALSE(Header(frameCut).sized);

    Bytes badLength{0xFF, 0xD8, 0xFF, 0xE0, 0, 1};
    EXPECT_FALSE(Header(badLength).sized);
}

TEST(PictureHeader, GifTakesTheLargestOfScreenAndFrames) {
    Bytes file = GifStart(20, 10);
    Append(file, {0x21, 0xF9, 4, 0, 0, 0, 0, 0});  // graphic control extension
    GifFrame(file, 20, 10, false, 3);
    Append(file, {0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0});  // comment in two blocks
    GifFrame(file, 60000, 50000, true, 1);                         // a frame far larger than the screen
    GifFrame(file, 5, 5, false, 0);
    Append(file, {0x3B});
    int reads = 0;
    ExpectSize(Header(file, &reads), PictureKind::Gif, 60000, 50000);
    EXPECT_LE(reads, 3);

    Bytes plain = GifStart(640, 480);
    GifFrame(plain, 16, 16, false, 1);
    ExpectSize(Header(plain), PictureKind::Gif, 640, 480);

    // Cut off in the middle of the data: what was declared so far.
    Bytes cut = GifStart(8, 8);
    GifFrame(cut, 9, 9, false, 2);
    cut.erase(cut.end() - 300, cut.end());
    ExpectSize(Header(cut), PictureKind::Gif, 9, 9);

    Bytes old{'G', 'I', 'F', '8', '7', 'a', 3, 0, 2, 0, 0, 0, 0, 0x3B};
    ExpectSize(Header(old), PictureKind::Gif, 3, 2);
}

TEST(PictureHeader, BitmapInfoAndCoreHeaders) {
    Bytes info(54, 0);
    info[0] = 'B';
    info[1] = 'M';
    info[14] = 40;
    const std::uint32_t width = 70000;
    const std::int32_t height = -30000;  // top-down
    std::memcpy(&info[18], &width, 4);
    std::memcpy(&info[22], &height, 4);
    ExpectSize(Header(info), PictureKind::Bmp, 70000, 30000);

    Bytes core(26, 0);
    core[0] = 'B';
    core[1] = 'M';
    core[14] = 12;
    core[18] = 0x34;
    core[19] = 0x12;
    core[20] = 7;
    ExpectSize(Header(core), PictureKind::Bmp, 0x1234, 7);

    const std::int32_t negativeWidth = -5;
    std::memcpy(&info[18], &negativeWidth, 4);
    EXPECT_FALSE(Header(info).sized);
    info.resize(20);
    EXPECT_FALSE(Header(info).sized);
}

TEST(PictureHeader, OtherFilesAreUnknown) {
    for (const Bytes& file : {Bytes{}, Bytes{0xFF}, Bytes{0xFF, 0xD8}, Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10},
                              Bytes{'G', 'I', 'F', '9', '0', 'a', 1, 0, 1, 0}, Bytes{'b', 'm', 0, 0}}) {
        const PictureHeader header = Header(file);
        EXPECT_EQ(header.kind, PictureKind::Unknown) << file.size();
        EXPECT_FALSE(header.sized);
    }
}

TEST(PictureHeader, ArbitraryBytesEndTheWalk) {
    // Random tails after each signature must neither loop for ever nor read past the end.
    std::uint32_t state = 12345;
    for (int round = 0; round < 300; ++round) {
        for (const Bytes& start : {Bytes{0xFF, 0xD8, 0xFF}, GifStart(4, 4), Bytes{'B', 'M'}}) {
            Bytes file = start;
            const std::size_t tail = round * 7 % 700;
            for (std::size_t i = 0; i < tail; ++i) {
                state = state * 1103515245u + 12345u;
                file.push_back(static_cast<std::uint8_t>(state >> 24));
            }
            const PictureHeader header = Header(file);
            EXPECT_NE(header.kind, PictureKind::Unknown);
        }
    }
}

TEST(PictureMemory, FourBytesAPixelUpTo512MegabytesAndNotOneRowMore) {
    // 16384 x 8192 takes exactly 512 MB; a row or a column more is refused, whichever side.
    EXPECT_TRUE(PictureFitsInMemory(16384, 8192));
    EXPECT_TRUE(PictureFitsInMemory(8192, 16384));
    EXPECT_FALSE(PictureFitsInMemory(16384, 8193));
    EXPECT_FALSE(PictureFitsInMemory(16385, 8192));
    EXPECT_FALSE(PictureFitsInMemory(16384, 16384));  // 1 GB, the size users meet
    // The same edge on a single row.
    EXPECT_TRUE(PictureFitsInMemory(1, 134217728));
    EXPECT_FALSE(PictureFitsInMemory(1, 134217729));
    EXPECT_TRUE(PictureFitsInMemory(134217728, 1));
    EXPECT_FALSE(PictureFitsInMemory(134217729, 1));
    // No picture at all, and sizes whose product overflows 32 bits.
    EXPECT_FALSE(PictureFitsInMemory(0, 1));
    EXPECT_FALSE(PictureFitsInMemory(1, 0));
    EXPECT_FALSE(PictureFitsInMemory(0xFFFFFFFF, 0xFFFFFFFF));
    EXPECT_FALSE(PictureFitsInMemory(65536, 65536));
}
