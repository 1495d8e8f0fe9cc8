// The kind and declared pixel size of a picture file, read from its headers alone.
// Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

namespace platform {

// Png to Heif are read only with the "More Pic Types" option; Heif stands for HEIC and AVIF.
enum class PictureKind { Unknown, Jpeg, Gif, Bmp, Png, Tiff, WebP, Heif };

struct PictureHeader {
    PictureKind kind = PictureKind::Unknown;
    // False when the headers end or break off before the size is declared.
    bool sized = false;
    // The largest area the decoder will be asked to hold: for a GIF the larger of its
    // screen and each of its frames, since all frames are decoded when it is opened.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // The EXIF orientation (see Orientation.h): a JPEG's from the first EXIF block before its
    // frame header, a PNG's from its eXIf chunk before the pixel data, a WebP's from its EXIF
    // chunk, a TIFF's from its own first directory. Only the first directory's tag 0x0112 of
    // type SHORT with one value, 1 to 8, counts.
    // 1 where there is none, and where the block or the tag is damaged or out of range.
    int orientation = 1;
};

// The most pixel memory one decoded picture may take. A 32-bit process has 2 GB of address
// space, fragmented by the time a picture is loaded; past this size a single block is unlikely
// to be had, and the check must come before the allocation, not after a failure deep in a
// decoder.
inline constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{512} << 20;

// Whether a picture of this size can be held, at 4 bytes a pixel, within kMaxPictureBytes.
bool PictureFitsInMemory(std::uint32_t width, std::uint32_t height);

// Reads up to `size` bytes at `offset` into `out`; returns how many it read (fewer at the
// end of the file or on a read error).
using ReadAt = std::function<std::size_t(std::uint64_t offset, void* out, std::size_t size)>;

// Looks only at the signature and headers, the way the decoders find them: a JPEG's first
// frame marker past any other segments and stray bytes (reading its EXIF block on the way), a GIF's screen and image
// descriptors past its extensions and data blocks, a bitmap's info header, a PNG's header
// chunk (an animation's frames lie inside it), a TIFF's first directory (the page shown),
// a WebP's canvas or frame header. A HEIC or AVIF file is recognised by its brand but not
// sized: its size lies deep in its boxes, where only the decoder goes.
PictureHeader ReadPictureHeader(const ReadAt& read);

}  // namespace platform
