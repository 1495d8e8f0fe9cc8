// Our own reader of Windows and OS/2 bitmap files, for the valid ones the system's decoder
// refuses (channel masks or headers it does not know). Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/PictureHeader.h"

namespace platform {

enum class BitmapRead {
    Done,
    Invalid,   // not a bitmap, damaged headers, a storage no bitmap has, or pixel data cut short
    TooLarge,  // the declared size does not pass PictureFitsInMemory
    NoMemory,  // `allocate` gave nothing
};

// Where the pixels of a picture `width` x `height` go: width * height * 4 bytes, rows top-down,
// each pixel blue, green, red, 0. Null when that much cannot be had.
using BitmapPixels = std::function<std::uint8_t*(std::uint32_t width, std::uint32_t height)>;

// Reads the file through `read`: the core (OS/2 1.x), OS/2 2.x and Windows info headers up to
// version 5; 1, 2, 4 and 8 bits through a palette, 16, 24 and 32 bits, channel masks of any
// contiguous bits (an alpha channel is dropped, as it is when the system's pictures are
// converted), RLE8 and RLE4, rows bottom-up or top-down. `allocate` is called once, only when
// the headers are sound and the size fits. Uncompressed data must reach the last pixel; RLE
// data may end early, and what it leaves out (or skips) stays black. Never reads or writes
// outside the file and the pixels it was given, whatever the file says.
BitmapRead ReadBitmap(const ReadAt& read, const BitmapPixels& allocate);

}  // namespace platform
