#include "platform/BitmapReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace platform {

namespace {

constexpr std::uint64_t kInfoAt = 14;
// After a version 1 info header: the masks of BI_BITFIELDS (three) or BI_ALPHABITFIELDS (four),
// which later headers hold at the same place.
constexpr std::uint64_t kMasksAt = kInfoAt + 40;
constexpr std::uint32_t kCoreSize = 12, kInfoSize = 40, kLargestInfo = 124;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// Bytes read from the file at most per call.
constexpr std::size_t kChunk = 1 << 20;

std::uint32_t Le(const std::uint8_t* at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}

using Colour = std::array<std::uint8_t, 4>;  // blue, green, red, 0: as the pixels are held

// One colour channel of a 16- or 32-bit pixel: its bits, scaled to 0..255.
class Channel {
public:
    // False when the mask's bits are not one run.
    bool Set(std::uint32_t mask) {
        mask_ = mask;
        shift_ = 0;
        if (mask == 0) return true;  // the channel is always 0
        while (!(mask & 1)) {
            mask >>= 1;
            ++shift_;
        }
        if (mask & (std::uint64_t{mask} + 1)) return false;
        max_ = mask;
        // Up to 16 bits a table is at most 64 K entries; wider channels are scaled as they come.
        table_.clear();
        if (max_ <= 0xFFFF)
            for (std::uint32_t v = 0; v <= max_; ++v) table_.push_back(Scale(v));
        return true;
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (mask_ == 0) return 0;
        const std::uint32_t v = (pixel & mask_) >> shift_;
        return table_.empty() ? Scale(v) : table_[v];
    }

private:
    std::uint8_t Scale(std::uint32_t v) const {
        return static_cast<std::uint8_t>((std::uint64_t{v} * 255 + max_ / 2) / max_);
    }
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    std::uint64_t max_ = 0;
    std::vector<std::uint8_t> table_;
};

struct Layout {
    std::uint32_t width = 0, height = 0;
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = kRgb;
    std::uint64_t pixelsAt = 0;
    std::array<Colour, 256> palette{};  // entries the file lacks stay black
    Channel red, green, blue;
};

// The file's bytes in order from one offset, read a chunk at a time; -1 past the end.
class Stream {
public:
    Stream(const ReadAt& read, std::uint64_t at) : read_(read), at_(at), buffer_(64 * 1024) {}
    int Next() {
        if (next_ == filled_) {
            filled_ = std::min(read_(at_, buffer_.data(), buffer_.size()), buffer_.size());
            at_ += filled_;
            next_ = 0;
            if (filled_ == 0) return -1;
        }
        return buffer_[next_++];
    }

private:
    const ReadAt& read_;
    std::uint64_t at_;
    std::vector<std::uint8_t> buffer_;
    std::size_t next_ = 0, filled_ = 0;
};

BitmapRead ReadLayout(const ReadAt& read, Layout& layout) {
    // The file header, the largest info header and four masks after a version 1 one.
    std::uint8_t head[kInfoAt + kLargestInfo + 16] = {};
    const std::size_t have = std::min(read(0, head, sizeof head), sizeof head);
    if (have < kInfoAt + 4 || head[0] != 'B' || head[1] != 'M') return BitmapRead::Invalid;
    const std::uint32_t offBits = Le(head + 10, 4);
    const std::uint32_t infoSize = Le(head + kInfoAt, 4);
    // OS/2 2.x headers are 16 to 64 bytes; 40, 52 and 56 are Windows' versions 1 to 3 (the
    // last two with the masks inside), 108 and 124 its versions 4 and 5.
    const bool core = infoSize == kCoreSize;
    const bool os2 = !core && infoSize >= 16 && infoSize <= 64 && infoSize != 40 && infoSize != 52 && infoSize != 56;
    if (!core && !os2 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return BitmapRead::Invalid;
    if (have < kInfoAt + infoSize) return BitmapRead::Invalid;
    const std::uint8_t* info = head + kInfoAt;
    // Fields past the end of a short OS/2 2.x header are 0.
    const auto field = [&](std::uint32_t at, int size) { return at + size <= infoSize ? Le(info + at, size) : 0u; };

    std::int64_t width = 0, height = 0;
    std::uint32_t colours = 0;
    if (core) {
        width = Le(info + 4, 2);
        height = Le(info + 6, 2);
        layout.bits = static_cast<int>(Le(info + 10, 2));
    } else {
        width = static_cast<std::int32_t>(field(4, 4));
        height = static_cast<std::int32_t>(field(8, 4));
        layout.bits = static_cast<int>(field(14, 2));
        layout.compression = field(16, 4);
        colours = field(32, 4);
    }
    layout.topDown = height < 0;
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0) return BitmapRead::Invalid;
    layout.width = static_cast<std::uint32_t>(width);
    layout.height = static_cast<std::uint32_t>(height);

    const int bits = layout.bits;
    const std::uint32_t compression = layout.compression;
    std::uint64_t masksEnd = kInfoAt + infoSize;
    switch (compression) {
        case kRgb:
            if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
                return BitmapRead::Invalid;
            break;
        case kRle8:
        case kRle4:
            if (bits != (compression == kRle8 ? 8 : 4)) return BitmapRead::Invalid;
            break;
        case kBitFields:
        case kAlphaBitFields: {
            // To OS/2 these codes mean Huffman and RLE24 compression.
            if (os2 || (bits != 16 && bits != 32)) return BitmapRead::Invalid;
            if (infoSize == kInfoSize) masksEnd = kMasksAt + (compression == kBitFields ? 12 : 16);
            if (have < masksEnd) return BitmapRead::Invalid;
            const std::uint32_t red = Le(head + kMasksAt, 4), green = Le(head + kMasksAt + 4, 4),
                                blue = Le(head + kMasksAt + 8, 4);
            const std::uint32_t pixelBits = bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
            if ((red | green | blue) == 0 || ((red | green | blue) & ~pixelBits)) return BitmapRead::Invalid;
            if (!layout.red.Set(red) || !layout.green.Set(green) || !layout.blue.Set(blue)) return BitmapRead::Invalid;
            break;
        }
        default:
            return BitmapRead::Invalid;  // JPEG or PNG inside, or no compression there is
    }
    if (compression == kRgb && bits == 16) {
        layout.red.Set(0x7C00);
        layout.green.Set(0x03E0);
        layout.blue.Set(0x001F);
    } else if (compression == kRgb && bits == 32) {
        layout.red.Set(0xFF0000);
        layout.green.Set(0x00FF00);
        layout.blue.Set(0x0000FF);
    }
    if (!PictureFitsInMemory(layout.width, layout.height)) return BitmapRead::TooLarge;

    // The palette follows the headers: entries of three bytes after a core header, of four after
    // the others; as many as the depth allows unless the header names fewer.
    const std::uint64_t entrySize = core ? 3 : 4;
    std::uint64_t entries = bits <= 8 ? std::uint64_t{1} << bits : 0;
    if (bits <= 8 && colours > 0 && colours < entries) entries = colours;
    if (bits > 8) entries = colours;  // an optional palette for displays with fewer colours
    // Pixel data said to begin inside the headers begins where writers put it: after the palette.
    layout.pixelsAt = offBits >= masksEnd ? offBits : masksEnd + entries * entrySize;
    if (bits <= 8) {
        // A palette that runs into the pixels is as long as the room before them.
        entries = std::min(entries, (layout.pixelsAt - masksEnd) / entrySize);
        std::vector<std::uint8_t> table(static_cast<std::size_t>(entries * entrySize));
        const std::size_t got = std::min(read(masksEnd, table.data(), table.size()), table.size());
        for (std::size_t i = 0; i < entries && (i + 1) * entrySize <= got; ++i) {
            const std::uint8_t* entry = table.data() + i * entrySize;
            layout.palette[i] = {entry[0], entry[1], entry[2], 0};
        }
    }
    return BitmapRead::Done;
}

std::uint64_t Stride(const Layout& layout) { return (std::uint64_t{layout.width} * layout.bits + 31) / 32 * 4; }
// Bytes of a row that hold pixels.
std::uint64_t UsedBytes(const Layout& layout) { return (std::uint64_t{layout.width} * layout.bits + 7) / 8; }
// Where the last byte of uncompressed pixels lies: the last row's padding is not needed.
std::uint64_t LastPixelByte(const Layout& layout) {
    return layout.pixelsAt + Stride(layout) * (layout.height - 1) + UsedBytes(layout) - 1;
}

// Uncompressed rows: only the bytes that hold pixels are read (the last row's padding may be
// missing), a chunk at a time, so a very wide row does not need a second copy of itself.
BitmapRead ReadRows(const ReadAt& read, const Layout& layout, std::uint8_t* out) {
    const int bits = layout.bits;
    const std::uint64_t stride = Stride(layout);
    const std::uint64_t used = UsedBytes(layout);
    // Whole pixels per chunk: bytes hold whole pixels up to 8 bits, 3 divides 24-bit chunks.
    const std::size_t bytesPerPixel = bits >= 8 ? static_cast<std::size_t>(bits / 8) : 1;
    const std::size_t chunkBytes = static_cast<std::size_t>(std::min<std::uint64_t>(used, kChunk / bytesPerPixel * bytesPerPixel));
    std::vector<std::uint8_t> chunk(chunkBytes);
    const int perByte = bits < 8 ? 8 / bits : 1;
    const std::uint32_t indexMask = (1u << std::min(bits, 8)) - 1;
    for (std::uint32_t row = 0; row < layout.height; ++row) {
        std::uint8_t* target =
            out + std::uint64_t{layout.topDown ? row : layout.height - 1 - row} * layout.width * 4;
        const std::uint64_t rowAt = layout.pixelsAt + stride * row;
        std::uint64_t x = 0;  // next pixel of the row
        for (std::uint64_t done = 0; done < used;) {
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(chunkBytes, used - done));
            if (read(rowAt + done, chunk.data(), want) < want) return BitmapRead::Invalid;
            const std::uint8_t* p = chunk.data();
            const std::uint8_t* end = p + want;
            if (bits <= 8) {
                for (; p < end; ++p)
                    for (int k = perByte - 1; k >= 0 && x < layout.width; --k, ++x) {
                        const Colour& c = layout.palette[(*p >> (k * bits)) & indexMask];
                        std::memcpy(target + x * 4, c.data(), 4);
                    }
            } else if (bits == 24) {
                for (; p + 3 <= end; p += 3, ++x) {
                    const Colour c{p[0], p[1], p[2], 0};
                    std::memcpy(target + x * 4, c.data(), 4);
                }
            } else {
                for (; p + bytesPerPixel <= end; p += bytesPerPixel, ++x) {
                    const std::uint32_t v = Le(p, static_cast<int>(bytesPerPixel));
                    const Colour c{layout.blue(v), layout.green(v), layout.red(v), 0};
                    std::memcpy(target + x * 4, c.data(), 4);
                }
            }
            done += want;
        }
    }
    return BitmapRead::Done;
}

// RLE8 and RLE4: runs of one index (of two alternating ones for RLE4) and literal runs, with
// escapes for the end of a row, the end of the picture and a jump ahead. Whatever would land
// outside the picture is dropped; data that ends without the end mark ends the picture there.
void ReadRle(const ReadAt& read, const Layout& layout, std::uint8_t* out) {
    const bool four = layout.compression == kRle4;
    Stream data(read, layout.pixelsAt);
    std::uint64_t x = 0, y = 0;  // y counts rows in the order the file stores them
    const auto put = [&](int index) {
        if (x < layout.width && y < layout.height) {
            const std::uint64_t row = layout.topDown ? y : layout.height - 1 - y;
            std::memcpy(out + (row * layout.width + x) * 4, layout.palette[static_cast<std::size_t>(index)].data(), 4);
        }
        ++x;
    };
    while (y < layout.height) {
        const int count = data.Next(), value = data.Next();
        if (count < 0 || value < 0) return;
        if (count > 0) {
            for (int i = 0; i < count && x < layout.width; ++i)
                put(four ? (i % 2 ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of row
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            return;
        } else if (value == 2) {  // jump right and up
            const int dx = data.Next(), dy = data.Next();
            if (dx < 0 || dy < 0) return;
            x += static_cast<std::uint64_t>(dx);
            y += static_cast<std::uint64_t>(dy);
        } else {  // `value` pixels as they are, padded to an even number of bytes
            const int bytes = four ? (value + 1) / 2 : value;
            for (int i = 0; i < bytes; ++i) {
                const int byte = data.Next();
                if (byte < 0) return;
                if (!four) {
                    put(byte);
                } else {
                    put(byte >> 4);
                    if (2 * i + 1 < value) put(byte & 15);
                }
            }
            if (bytes % 2 && data.Next() < 0) return;
        }
    }
}

}  // namespace

BitmapRead ReadBitmap(const ReadAt& read, const BitmapPixels& allocate) {
    Layout layout;
    const BitmapRead result = ReadLayout(read, layout);
    if (result != BitmapRead::Done) return result;
    // A damaged size in a small file asks for much memory: uncompressed pixels must all be
    // there before any is taken.
    const bool rle = layout.compression == kRle8 || layout.compression == kRle4;
    if (!rle) {
        std::uint8_t last = 0;
        if (read(LastPixelByte(layout), &last, 1) != 1) return BitmapRead::Invalid;
    }
    std::uint8_t* out = allocate(layout.width, layout.height);
    if (!out) return BitmapRead::NoMemory;
    if (rle) {
        std::memset(out, 0, std::uint64_t{layout.width} * layout.height * 4);
        ReadRle(read, layout, out);
        return BitmapRead::Done;
    }
    return ReadRows(read, layout, out);
}

}  // namespace platform
