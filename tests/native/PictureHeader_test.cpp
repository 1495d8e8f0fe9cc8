#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
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
    for (const Bytes& file : {Bytes{}, Bytes{0xFF}, Bytes{0xFF, 0xD8}, Bytes{0x89, 'P', 'N', 'G', 13, 10, 26},
                              Bytes{'G', 'I', 'F', '9', '0', 'a', 1, 0, 1, 0}, Bytes{'b', 'm', 0, 0},
                              Bytes{'I', 'I', 42, 1}, Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'},
                              Bytes{0, 0, 0, 16, 'f', 't', 'y', 'p', 'i', 's', 'o', 'm', 0, 0, 0, 0}}) {
        const PictureHeader header = Header(file);
        EXPECT_EQ(header.kind, PictureKind::Unknown) << file.size();
        EXPECT_FALSE(header.sized);
    }
}

TEST(PictureHeader, ArbitraryBytesEndTheWalk) {
    // Random tails after each signature must neither loop for ever nor read past the end.
    std::uint32_t state = 12345;
    for (int round = 0; round < 300; ++round) {
        for (const Bytes& start : {Bytes{0xFF, 0xD8, 0xFF}, GifStart(4, 4), Bytes{'B', 'M'},
                                   Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10}, Bytes{'I', 'I', 42, 0},
                                   Bytes{'M', 'M', 0, 42}, Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'},
                                   Bytes{0, 0, 0, 16, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c', 0, 0, 0, 0}}) {
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

namespace {

// A TIFF structure as an EXIF block holds it: the header, then what the test appends.
class Tiff {
public:
    struct Entry {
        int tag, type;
        std::uint32_t count, value;
    };
    explicit Tiff(bool little, std::uint32_t firstDirectory = 8) : little_(little) {
        Append(bytes, {little ? 'I' : 'M', little ? 'I' : 'M'});
        U16(42);
        U32(firstDirectory);
    }
    void U16(std::uint32_t value) {
        if (little_)
            Append(bytes, {static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF)});
        else
            Append(bytes, {static_cast<int>(value >> 8 & 0xFF), static_cast<int>(value & 0xFF)});
    }
    void U32(std::uint32_t value) {
        if (little_) {
            U16(value & 0xFFFF);
            U16(value >> 16);
        } else {
            U16(value >> 16);
            U16(value & 0xFFFF);
        }
    }
    // One directory where the bytes end now; a single SHORT sits at the start of its value field.
    void Directory(std::initializer_list<Entry> entries, std::uint32_t next = 0) {
        U16(static_cast<std::uint32_t>(entries.size()));
        for (const Entry& e : entries) {
            U16(static_cast<std::uint32_t>(e.tag));
            U16(static_cast<std::uint32_t>(e.type));
            U32(e.count);
            if (e.type == 3 && e.count == 1) {
                U16(e.value);
                U16(0);
            } else {
                U32(e.value);
            }
        }
        U32(next);
    }
    Bytes bytes;

private:
    bool little_;
};

constexpr Tiff::Entry kMake{0x010F, 2, 4, 0x006D6143};
constexpr Tiff::Entry Orientation(std::uint32_t value) { return {0x0112, 3, 1, value}; }

void App1(Bytes& file, const std::string& signature, const Bytes& body) {
    Bytes payload(signature.begin(), signature.end());
    payload.insert(payload.end(), body.begin(), body.end());
    Append(file, {0xFF, 0xE1, static_cast<int>((payload.size() + 2) >> 8), static_cast<int>((payload.size() + 2) & 0xFF)});
    file.insert(file.end(), payload.begin(), payload.end());
}
const std::string kExif("Exif\0\0", 6);

// A JPEG with the EXIF block right after its start, as cameras write it.
Bytes Photo(const Tiff& tiff) {
    Bytes file{0xFF, 0xD8};
    App1(file, kExif, tiff.bytes);
    Frame(file, 0xC0, 300, 200);
    Segment(file, 0xDA, 8);
    return file;
}

int OrientationOf(const Bytes& file) { return Header(file).orientation; }

Tiff Tagged(bool little, std::uint32_t value) {
    Tiff tiff(little);
    tiff.Directory({kMake, Orientation(value), {0x8769, 4, 1, 0}});
    return tiff;
}

}  // namespace

TEST(PictureHeaderExif, OrientationInEitherByteOrderWherePhotosPutIt) {
    for (bool little : {true, false}) {
        for (std::uint32_t value = 1; value <= 8; ++value) {
            SCOPED_TRACE(testing::Message() << (little ? "II " : "MM ") << value);
            const Bytes file = Photo(Tagged(little, value));
            int reads = 0;
            const PictureHeader header = Header(file, &reads);
            EXPECT_EQ(header.orientation, static_cast<int>(value));
            ExpectSize(header, PictureKind::Jpeg, 300, 200);  // the stored size: turning is the loader's
            EXPECT_LE(reads, 2);

            // After a JFIF segment and an XMP block, and with the tag alone in its directory.
            Bytes later{0xFF, 0xD8};
            Segment(later, 0xE0, 14);
            App1(later, std::string("http://ns.adobe.com/xap/1.0/\0", 29), Bytes(40, 'x'));
            Tiff alone(little);
            alone.Directory({Orientation(value)});
            App1(later, kExif, alone.bytes);
            Segment(later, 0xDB, 67);
            Frame(later, 0xC2, 300, 200);
            EXPECT_EQ(OrientationOf(later), static_cast<int>(value));
        }
    }
}

TEST(PictureHeaderExif, NoTagOrAnUnusableOneMeansAsStored) {
    Bytes plain{0xFF, 0xD8};
    Segment(plain, 0xE0, 14);
    Frame(plain, 0xC0, 300, 200);
    EXPECT_EQ(OrientationOf(plain), 1);

    // EXIF bytes inside another APP1 block are not an EXIF block.
    Bytes xmp{0xFF, 0xD8};
    Bytes hidden(kExif.begin(), kExif.end());
    const Bytes tagged = Tagged(true, 6).bytes;
    hidden.insert(hidden.end(), tagged.begin(), tagged.end());
    App1(xmp, std::string("http://ns.adobe.com/xap/1.0/\0", 29), hidden);
    Frame(xmp, 0xC0, 300, 200);
    EXPECT_EQ(OrientationOf(xmp), 1);

    Tiff untagged(true);
    untagged.Directory({kMake});
    EXPECT_EQ(OrientationOf(Photo(untagged)), 1);

    for (std::uint32_t value : {0u, 9u, 0x0600u, 0xFFFFu}) EXPECT_EQ(OrientationOf(Photo(Tagged(false, value))), 1) << value;

    // Only a single SHORT is an orientation.
    for (Tiff::Entry entry : {Tiff::Entry{0x0112, 4, 1, 6}, Tiff::Entry{0x0112, 3, 2, 6}, Tiff::Entry{0x0112, 3, 0, 6},
                              Tiff::Entry{0x0112, 8, 1, 6}}) {
        Tiff odd(true);
        odd.Directory({entry});
        EXPECT_EQ(OrientationOf(Photo(odd)), 1) << entry.type << " " << entry.count;
    }
    // The first tag decides, even when it cannot be used.
    Tiff twice(true);
    twice.Directory({Orientation(9), Orientation(6)});
    EXPECT_EQ(OrientationOf(Photo(twice)), 1);

    // A second EXIF block does not overrule the first, nor does one past the frame header count.
    Bytes second{0xFF, 0xD8};
    App1(second, kExif, untagged.bytes);
    App1(second, kExif, Tagged(true, 6).bytes);
    Frame(second, 0xC0, 300, 200);
    EXPECT_EQ(OrientationOf(second), 1);
    Bytes afterFrame{0xFF, 0xD8};
    Frame(afterFrame, 0xC0, 300, 200);
    App1(afterFrame, kExif, Tagged(true, 6).bytes);
    EXPECT_EQ(OrientationOf(afterFrame), 1);

    // Other kinds of picture have none.
    Bytes gif = GifStart(4, 4);
    App1(gif, kExif, Tagged(true, 6).bytes);
    EXPECT_EQ(OrientationOf(gif), 1);
}

TEST(PictureHeaderExif, DamagedBlocksMeanAsStored) {
    // Byte order and the TIFF mark.
    for (const char* order : {"IM", "MI", "ii", "\0\0"}) {
        Bytes file = Photo(Tagged(true, 6));
        file[12] = static_cast<std::uint8_t>(order[0]);
        file[13] = static_cast<std::uint8_t>(order[1]);
        EXPECT_EQ(OrientationOf(file), 1) << order;
    }
    Bytes wrongMark = Photo(Tagged(false, 6));
    wrongMark[15] = 43;
    EXPECT_EQ(OrientationOf(wrongMark), 1);

    // The first directory inside the header, or where the block does not reach.
    const std::uint32_t blockSize = 8 + 2 + 12 + 4;
    for (std::uint32_t at : {0u, 4u, 7u, blockSize - 1, blockSize, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        for (bool little : {true, false}) {
            Tiff misplaced(little, at);
            misplaced.Directory({Orientation(6)});
            EXPECT_EQ(OrientationOf(Photo(misplaced)), 1) << at;
        }
    }

    // More entries declared than the block holds: the directory runs past its end.
    for (std::uint32_t count : {4u, 65535u}) {
        Tiff overlong(true);
        overlong.Directory({kMake, Orientation(6), kMake});
        overlong.bytes[8] = static_cast<std::uint8_t>(count & 0xFF);
        overlong.bytes[9] = static_cast<std::uint8_t>(count >> 8);
        EXPECT_EQ(OrientationOf(Photo(overlong)), 1) << count;
    }

    // The block's declared length ends inside the directory; the bytes that follow in the
    // file (here the rest of the directory, then a frame) are not the block's.
    Bytes cut = Photo(Tagged(true, 6));
    cut[5] = static_cast<std::uint8_t>(cut[5] - 20);
    EXPECT_EQ(OrientationOf(cut), 1);

    // The directory said to lie just past the block, where a comment holds one that says 6.
    Tiff pointsOut(false, 12 + 4);
    pointsOut.U32(0);
    Tiff stray(false);
    stray.Directory({Orientation(6)});
    Bytes outside{0xFF, 0xD8};
    App1(outside, kExif, pointsOut.bytes);
    Segment(outside, 0xFE, stray.bytes.size() - 8);
    std::copy(stray.bytes.begin() + 8, stray.bytes.end(), outside.end() - static_cast<std::ptrdiff_t>(stray.bytes.size() - 8));
    Frame(outside, 0xC0, 300, 200);
    EXPECT_EQ(OrientationOf(outside), 1);
    outside[19] = 8;  // with the offset pointing back inside, the empty space there is no directory either
    EXPECT_EQ(OrientationOf(outside), 1);

    // Loops in the chain of directories: only the first directory counts, and is read once.
    Tiff selfLoop(true);
    selfLoop.Directory({Orientation(6)}, 8);
    EXPECT_EQ(OrientationOf(Photo(selfLoop)), 6);
    Tiff thumbnailLoop(true);
    thumbnailLoop.Directory({kMake}, 8 + 2 + 12 + 4);
    thumbnailLoop.Directory({Orientation(6)}, 8);
    EXPECT_EQ(OrientationOf(Photo(thumbnailLoop)), 1);
}

TEST(PictureHeaderExif, FileEndingInsideTheDirectoryMeansAsStored) {
    const Bytes file = Photo(Tagged(false, 6));
    const std::size_t directoryEnd = 2 + 4 + 6 + 8 + 2 + 3 * 12;
    for (std::size_t size = 0; size <= file.size(); ++size) {
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(OrientationOf(cut), size >= directoryEnd ? 6 : 1) << size;
    }
}

TEST(PictureHeaderExif, MutatedBlocksStayInRangeAndInBounds) {
    // Random damage to every field of the block, its segment's length included, and random
    // cuts: the reader must end, read nothing outside the file (the sanitizers watch the
    // exact-size buffers) and give 1 to 8.
    std::uint32_t state = 2024;
    const auto next = [&] {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    for (bool little : {true, false}) {
        Tiff rich(little);
        rich.Directory({kMake, {0x0110, 2, 20, 200}, Orientation(3), {0x8769, 4, 1, 80}}, 8);
        const Bytes original = Photo(rich);
        const std::size_t blockEnd = 2 + 4 + kExif.size() + rich.bytes.size();
        for (int round = 0; round < 3000; ++round) {
            Bytes file = original;
            const int changes = 1 + static_cast<int>(next() % 4);
            for (int i = 0; i < changes; ++i) {
                const std::size_t at = 4 + next() % (blockEnd - 4);
                file[at] = static_cast<std::uint8_t>(next() % 5 == 0 ? 0xFF : next());
            }
            if (next() % 3 == 0) file.resize(next() % file.size());
            const int orientation = OrientationOf(file);
            EXPECT_GE(orientation, 1);
            EXPECT_LE(orientation, 8);
        }
        // Random bytes after a sound TIFF header.
        for (int round = 0; round < 1000; ++round) {
            Tiff noise(little);
            const std::size_t size = next() % 300;
            for (std::size_t i = 0; i < size; ++i) noise.bytes.push_back(static_cast<std::uint8_t>(next()));
            const int orientation = OrientationOf(Photo(noise));
            EXPECT_GE(orientation, 1);
            EXPECT_LE(orientation, 8);
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

// The more picture types: PNG, TIFF, WebP, HEIC and AVIF.
namespace {

void Be32(Bytes& file, std::uint32_t value) {
    Append(file, {static_cast<int>(value >> 24), static_cast<int>(value >> 16 & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                  static_cast<int>(value & 0xFF)});
}
void Le32(Bytes& file, std::uint32_t value) {
    Append(file, {static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF), static_cast<int>(value >> 16 & 0xFF),
                  static_cast<int>(value >> 24)});
}
void PngChunk(Bytes& file, const char* type, const Bytes& data) {
    Be32(file, static_cast<std::uint32_t>(data.size()));
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    Be32(file, 0);  // the check sum, which the header reader leaves to the decoder
}
Bytes PngStart(std::uint32_t width, std::uint32_t height) {
    Bytes file{0x89, 'P', 'N', 'G', 13, 10, 26, 10}, header;
    Be32(header, width);
    Be32(header, height);
    Append(header, {16, 6, 0, 0, 0});
    PngChunk(file, "IHDR", header);
    return file;
}
// A PNG with a text chunk, an eXIf chunk saying `orientation`, and its pixel data.
Bytes PngPhoto(int orientation, bool exifAfterPixels = false) {
    Bytes file = PngStart(4000, 3000);
    PngChunk(file, "tEXt", Bytes(30, 'c'));
    Tiff exif(false);
    exif.Directory({kMake, Orientation(static_cast<std::uint32_t>(orientation))});
    if (exifAfterPixels) PngChunk(file, "IDAT", Bytes(20, 0x55));
    PngChunk(file, "eXIf", exif.bytes);
    PngChunk(file, "IDAT", Bytes(20, 0x55));
    PngChunk(file, "IEND", {});
    return file;
}
// A TIFF file: its first directory gives the size as SHORTs or LONGs, and the orientation.
Bytes TiffFile(bool little, bool longs, std::uint32_t width, std::uint32_t height, int orientation) {
    Tiff tiff(little);
    const int type = longs ? 4 : 3;
    tiff.Directory({{0x0100, type, 1, width}, {0x0101, type, 1, height}, {0x0103, 3, 1, 1}, kMake,
                    Orientation(static_cast<std::uint32_t>(orientation))},
                   8 + 2 + 5 * 12 + 4);
    // A second page, far larger: only the first is shown, so only it counts.
    tiff.Directory({{0x0100, 4, 1, 60000}, {0x0101, 4, 1, 60000}});
    tiff.bytes.insert(tiff.bytes.end(), 40, 0x77);
    return tiff.bytes;
}
Bytes WebPFile(const char* type, const Bytes& frame, const Bytes* exif = nullptr) {
    Bytes chunks;
    const auto chunk = [&](const char* kind, const Bytes& data) {
        chunks.insert(chunks.end(), kind, kind + 4);
        Le32(chunks, static_cast<std::uint32_t>(data.size()));
        chunks.insert(chunks.end(), data.begin(), data.end());
        if (data.size() % 2) chunks.push_back(0);
    };
    if (exif) {
        Bytes canvas{0x08, 0, 0, 0};  // flags: EXIF present
        Append(canvas, {0x9F, 0x0F, 0, 0xB7, 0x0B, 0});  // 4000 x 3000, each less one
        chunk("VP8X", canvas);
    }
    chunk(type, frame);
    if (exif) chunk("EXIF", *exif);
    Bytes file{'R', 'I', 'F', 'F'};
    Le32(file, static_cast<std::uint32_t>(chunks.size() + 4));
    Append(file, {'W', 'E', 'B', 'P'});
    file.insert(file.end(), chunks.begin(), chunks.end());
    return file;
}
Bytes Lossy(int width, int height) {
    Bytes frame{0x10, 0x02, 0x00, 0x9D, 0x01, 0x2A};
    Append(frame, {width & 0xFF, width >> 8, height & 0xFF, height >> 8});
    frame.insert(frame.end(), 10, 0x33);
    return frame;
}
Bytes Lossless(int width, int height) {
    const std::uint32_t bits = static_cast<std::uint32_t>(width - 1) | static_cast<std::uint32_t>(height - 1) << 14;
    Bytes frame{0x2F};
    Le32(frame, bits);
    frame.insert(frame.end(), 10, 0x33);
    return frame;
}
Bytes IsoFile(const char* major, const char* compatible) {
    Bytes file;
    Be32(file, 24);
    Append(file, {'f', 't', 'y', 'p'});
    file.insert(file.end(), major, major + 4);
    Be32(file, 0);
    file.insert(file.end(), compatible, compatible + 4);
    file.insert(file.end(), compatible, compatible + 4);
    Be32(file, 8);
    Append(file, {'m', 'e', 't', 'a'});
    return file;
}

}  // namespace

TEST(PictureHeaderMoreTypes, SizeAndOrientationWhereEachKindKeepsThem) {
    for (int orientation : {1, 6, 8}) {
        SCOPED_TRACE(orientation);
        // PNG: the header chunk, and an eXIf chunk before the pixel data.
        PictureHeader png = Header(PngPhoto(orientation));
        ExpectSize(png, PictureKind::Png, 4000, 3000);
        EXPECT_EQ(png.orientation, orientation);
        EXPECT_EQ(Header(PngPhoto(orientation, true)).orientation, 1);
        // TIFF: its own first directory, either byte order, SHORT or LONG sizes.
        for (bool little : {true, false})
            for (bool longs : {true, false}) {
                const PictureHeader tiff = Header(TiffFile(little, longs, 640, 480, orientation));
                ExpectSize(tiff, PictureKind::Tiff, 640, 480);
                EXPECT_EQ(tiff.orientation, orientation);
            }
        // WebP: the canvas and an EXIF chunk, with or without the JPEG's signature before it.
        Tiff exif(true);
        exif.Directory({Orientation(static_cast<std::uint32_t>(orientation))});
        Bytes signed_(kExif.begin(), kExif.end());
        signed_.insert(signed_.end(), exif.bytes.begin(), exif.bytes.end());
        for (const Bytes* block : {&exif.bytes, &signed_}) {
            const PictureHeader webp = Header(WebPFile("VP8 ", Lossy(4000, 3000), block));
            ExpectSize(webp, PictureKind::WebP, 4000, 3000);
            EXPECT_EQ(webp.orientation, orientation);
        }
    }
    ExpectSize(Header(WebPFile("VP8 ", Lossy(321, 123))), PictureKind::WebP, 321, 123);
    ExpectSize(Header(WebPFile("VP8L", Lossless(16384, 1))), PictureKind::WebP, 16384, 1);
    // HEIC and AVIF by their brands, major or compatible; sized only by their decoders.
    for (const Bytes& file : {IsoFile("heic", "mif1"), IsoFile("avif", "mif1"), IsoFile("isom", "avif")}) {
        const PictureHeader heif = Header(file);
        EXPECT_EQ(heif.kind, PictureKind::Heif);
        EXPECT_FALSE(heif.sized);
    }
    EXPECT_EQ(Header(IsoFile("isom", "mp42")).kind, PictureKind::Unknown);  // a video
}

TEST(PictureHeaderMoreTypes, CutAtEveryLengthOrMutatedStaysInBoundsAndInRange) {
    // The sanitizers watch the exact-size buffers; a cut file may lose the size or the
    // orientation, never invent another.
    const Bytes files[] = {PngPhoto(6), TiffFile(true, true, 640, 480, 6), TiffFile(false, false, 640, 480, 6),
                           WebPFile("VP8L", Lossless(640, 480)), IsoFile("heic", "mif1")};
    std::uint32_t state = 23;
    const auto next = [&] {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    for (const Bytes& whole : files) {
        const PictureHeader full = Header(whole);
        ASSERT_NE(full.kind, PictureKind::Unknown);
        for (std::size_t size = 0; size <= whole.size(); ++size) {
            const PictureHeader cut = Header(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
            if (cut.kind == PictureKind::Unknown) continue;
            EXPECT_EQ(cut.kind, full.kind) << size;
            if (cut.sized) {
                EXPECT_EQ(cut.width, full.width) << size;
                EXPECT_EQ(cut.height, full.height) << size;
            }
            EXPECT_TRUE(cut.orientation == 1 || cut.orientation == full.orientation) << size;
        }
        for (int round = 0; round < 2000; ++round) {
            Bytes file = whole;
            const int changes = 1 + static_cast<int>(next() % 4);
            for (int i = 0; i < changes; ++i)
                file[next() % file.size()] = static_cast<std::uint8_t>(next() % 5 == 0 ? 0xFF : next());
            if (next() % 3 == 0) file.resize(next() % file.size());
            const PictureHeader header = Header(file);
            EXPECT_GE(header.orientation, 1);
            EXPECT_LE(header.orientation, 8);
        }
    }
}
