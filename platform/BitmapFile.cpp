#include "platform/BitmapFile.h"

#include <algorithm>

namespace platform {

namespace {

void PutU16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* at, std::uint32_t value) {
    PutU16(at, value & 0xFFFF);
    PutU16(at + 2, value >> 16);
}

// 96 dots per inch in dots per metre, the value Windows writes.
constexpr std::uint32_t kPixelsPerMetre = 3780;
// Largest block handed to the sink at once.
constexpr std::uint64_t kBlockSize = 1 << 20;

}  // namespace

std::uint64_t BitmapRowSize(int width) {
    if (width <= 0) return 0;
    return (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
}

std::uint64_t BitmapFileSize(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    std::uint64_t size = kBitmapHeaderSize + BitmapRowSize(width) * static_cast<std::uint64_t>(height);
    // bfSize is a DWORD, and readers take the image size as a signed 32-bit count.
    if (size > 0x7FFFFFFF) return 0;
    return size;
}

std::vector<std::uint8_t> BitmapHeaders(int width, int height) {
    std::vector<std::uint8_t> headers(kBitmapHeaderSize, 0);
    const std::uint64_t fileSize = BitmapFileSize(width, height);
    std::uint8_t* at = headers.data();
    at[0] = 'B';
    at[1] = 'M';
    PutU32(at + 2, static_cast<std::uint32_t>(fileSize));
    PutU32(at + 10, kBitmapHeaderSize);
    at += 14;
    PutU32(at, 40);
    PutU32(at + 4, static_cast<std::uint32_t>(width));
    PutU32(at + 8, static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
    PutU16(at + 12, 1);
    PutU16(at + 14, 24);
    PutU32(at + 16, 0);  // BI_RGB
    PutU32(at + 20, static_cast<std::uint32_t>(fileSize - kBitmapHeaderSize));
    PutU32(at + 24, kPixelsPerMetre);
    PutU32(at + 28, kPixelsPerMetre);
    return headers;
}

void BitmapRowFrom32(const std::uint8_t* pixels, int width, std::uint8_t* out) {
    std::uint8_t* at = out;
    for (int x = 0; x < width; ++x, pixels += 4, at += 3) {
        at[0] = pixels[0];
        at[1] = pixels[1];
        at[2] = pixels[2];
    }
    std::fill(at, out + BitmapRowSize(width), std::uint8_t{0});
}

void Rows24To32(const std::uint8_t* pixels, int width, int rows, std::uint8_t* out) {
    if (width <= 0 || rows <= 0) return;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(rows);
    for (std::size_t i = 0; i < count; ++i, pixels += 3, out += 4) {
        out[0] = pixels[0];
        out[1] = pixels[1];
        out[2] = pixels[2];
        out[3] = 0;
    }
}

bool AnyTransparent(const std::uint8_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (pixels[i * 4 + 3] != 255) return true;
    return false;
}

void FlattenOver(std::uint8_t* pixels, std::size_t count, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const unsigned background[3] = {blue, green, red};
    for (std::size_t i = 0; i < count; ++i, pixels += 4) {
        const unsigned alpha = pixels[3];
        for (int c = 0; c < 3; ++c)
            pixels[c] = static_cast<std::uint8_t>((pixels[c] * alpha + background[c] * (255 - alpha) + 127) / 255);
        pixels[3] = 0;
    }
}

bool WriteBitmap(int width, int height, const std::function<const std::uint8_t*(int y)>& row,
                 const std::function<bool(const void* data, std::size_t size)>& write) {
    if (BitmapFileSize(width, height) == 0) return false;
    const std::vector<std::uint8_t> headers = BitmapHeaders(width, height);
    if (!write(headers.data(), headers.size())) return false;

    const std::uint64_t rowSize = BitmapRowSize(width);
    const int rowsPerBlock = static_cast<int>(std::max<std::uint64_t>(1, kBlockSize / rowSize));
    std::vector<std::uint8_t> block(static_cast<std::size_t>(rowSize) * static_cast<std::size_t>(std::min(rowsPerBlock, height)));
    int y = height - 1;
    while (y >= 0) {
        std::size_t used = 0;
        for (int n = 0; n < rowsPerBlock && y >= 0; ++n, --y) {
            BitmapRowFrom32(row(y), width, block.data() + used);
            used += static_cast<std::size_t>(rowSize);
        }
        if (!write(block.data(), used)) return false;
    }
    return true;
}

}  // namespace platform
