// The Windows bitmap file format, written from 32-bit pixel rows. Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

// Headers: BITMAPFILEHEADER (14 bytes) and BITMAPINFOHEADER (40 bytes).
inline constexpr std::size_t kBitmapHeaderSize = 54;

// Bytes of one 24-bit row in the file, padded to a multiple of 4; 0 when the width is not positive.
std::uint64_t BitmapRowSize(int width);

// Size of the whole 24-bit file; 0 when the picture cannot be written as a bitmap file
// (no pixels, or larger than the format's 32-bit size fields allow).
std::uint64_t BitmapFileSize(int width, int height);

// The two headers of a bottom-up 24-bit uncompressed bitmap, at 96 dots per inch.
// Precondition: BitmapFileSize(width, height) != 0.
std::vector<std::uint8_t> BitmapHeaders(int width, int height);

// One file row from one row of 32-bit pixels (blue, green, red, unused), padding zeroed.
// `out` holds BitmapRowSize(width) bytes.
void BitmapRowFrom32(const std::uint8_t* pixels, int width, std::uint8_t* out);

// Widens `rows` rows of 24-bit pixels (blue, green, red; rows packed, `width` * 3 bytes
// apart) into 32-bit rows, unused byte zeroed, as a decoded picture is held.
void Rows24To32(const std::uint8_t* pixels, int width, int rows, std::uint8_t* out);

// Whether any of `count` 32-bit pixels (blue, green, red, alpha) is less than opaque.
bool AnyTransparent(const std::uint8_t* pixels, std::size_t count);
// Puts `count` 32-bit pixels with straight alpha over the colour (red, green, blue), rounding
// to the nearest value, and zeroes the alpha byte, as an opaque picture is held.
void FlattenOver(std::uint8_t* pixels, std::size_t count, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Writes the whole file through `write`, taking the picture's rows (top row first) from
// `row`. Rows are gathered into blocks so that the sink sees few large writes. Returns
// false when the size is not writable or a write fails (the sink's failure is the caller's
// to describe).
bool WriteBitmap(int width, int height, const std::function<const std::uint8_t*(int y)>& row,
                 const std::function<bool(const void* data, std::size_t size)>& write);

}  // namespace platform
