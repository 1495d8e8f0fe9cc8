#include "platform/PictureHeader.h"

#include <cstring>
#include <vector>

namespace platform {

namespace {

// Byte access at any offset through a window of the file, so that walking a GIF's many
// small data blocks does not cost one read each.
class Bytes {
public:
    explicit Bytes(const ReadAt& read) : read_(read), window_(kWindow) {}

    // The byte at `at`, or -1 past the end of the file.
    int At(std::uint64_t at) {
        if (at < start_ || at >= start_ + filled_) {
            start_ = at;
            filled_ = read_(at, window_.data(), window_.size());
            if (filled_ == 0) return -1;
        }
        return window_[static_cast<std::size_t>(at - start_)];
    }
    // Little- and big-endian fields; -1 when the file ends inside them.
    std::int64_t Le(std::uint64_t at, int size) {
        std::int64_t value = 0;
        for (int i = size - 1; i >= 0; --i) {
            const int byte = At(at + static_cast<std::uint64_t>(i));
            if (byte < 0) return -1;
            value = (value << 8) | byte;
        }
        return value;
    }
    std::int64_t Be16(std::uint64_t at) {
        const int high = At(at), low = At(at + 1);
        return high < 0 || low < 0 ? -1 : (high << 8) | low;
    }
    std::int64_t Be(std::uint64_t at, int size) {
        std::int64_t value = 0;
        for (int i = 0; i < size; ++i) {
            const int byte = At(at + static_cast<std::uint64_t>(i));
            if (byte < 0) return -1;
            value = (value << 8) | byte;
        }
        return value;
    }

private:
    static constexpr std::size_t kWindow = 64 * 1024;
    const ReadAt& read_;
    std::vector<std::uint8_t> window_;
    std::uint64_t start_ = 0;
    std::size_t filled_ = 0;
};

bool IsFrameMarker(int marker) {
    // SOF0 to SOF15, except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// What the first directory of a TIFF structure of `size` bytes at `start` says: the
// orientation (1 unless the directory lies wholly inside the structure and its tag is a SHORT
// of 1 to 8) and the picture's size (-1 where not given as one SHORT or LONG). Only the first
// directory is read, so a damaged chain of directories cannot lead anywhere.
struct TiffDirectory {
    int orientation = 1;
    std::int64_t width = -1, height = -1;
};

TiffDirectory FirstDirectory(Bytes& bytes, std::uint64_t start, std::uint64_t size) {
    TiffDirectory result;
    if (size < 8) return result;
    const int order = bytes.At(start), order2 = bytes.At(start + 1);
    if (order != order2 || (order != 'I' && order != 'M')) return result;
    const bool little = order == 'I';
    const auto field = [&](std::uint64_t offset, int width) {
        return little ? bytes.Le(start + offset, width) : bytes.Be(start + offset, width);
    };
    if (field(2, 2) != 42) return result;
    const std::int64_t directory = field(4, 4);
    // Inside the header, or past the block: the directory is not where it says.
    if (directory < 8 || static_cast<std::uint64_t>(directory) > size - 2) return result;
    const std::int64_t entries = field(static_cast<std::uint64_t>(directory), 2);
    if (entries < 0) return result;
    const std::uint64_t end = static_cast<std::uint64_t>(directory) + 2 + 12 * static_cast<std::uint64_t>(entries);
    // A directory cut off by the block's end, or by the file's, is not trusted at all.
    if (end > size || bytes.At(start + end - 1) < 0) return result;
    constexpr std::int64_t kShort = 3, kLong = 4;
    bool orientationSeen = false;
    for (std::int64_t i = 0; i < entries; ++i) {
        const std::uint64_t entry = static_cast<std::uint64_t>(directory) + 2 + 12 * static_cast<std::uint64_t>(i);
        const std::int64_t tag = field(entry, 2), type = field(entry + 2, 2), count = field(entry + 4, 4);
        // A single value sits at the start of the value field.
        const std::int64_t value = count != 1 ? -1 : type == kShort ? field(entry + 8, 2) : type == kLong ? field(entry + 8, 4) : -1;
        if (tag == 0x0112 && !orientationSeen) {
            orientationSeen = true;
            if (type == kShort && value >= 1 && value <= 8) result.orientation = static_cast<int>(value);
        } else if (tag == 0x0100) {
            result.width = value;
        } else if (tag == 0x0101) {
            result.height = value;
        }
    }
    return result;
}

int ExifOrientation(Bytes& bytes, std::uint64_t start, std::uint64_t size) {
    return FirstDirectory(bytes, start, size).orientation;
}

void Jpeg(Bytes& bytes, PictureHeader& header) {
    bool exifSeen = false;
    std::uint64_t at = 2;
    for (;;) {
        // As the decoder does: bytes other than 0xFF before a marker are skipped, so are
        // fill bytes, and 0xFF 0x00 is no marker.
        int byte = bytes.At(at);
        while (byte >= 0 && byte != 0xFF) byte = bytes.At(++at);
        while (byte == 0xFF) byte = bytes.At(++at);
        if (byte < 0) return;
        ++at;
        const int marker = byte;
        if (marker == 0x00 || marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        if (marker == 0xD9 || marker == 0xDA) return;  // image end or scan data before any frame
        const std::int64_t length = bytes.Be16(at);
        if (length < 2) return;
        // "Exif\0\0", then the TIFF structure; other APP1 blocks (XMP) are passed by, and a
        // second EXIF block (an editor's leftover) does not overrule the first.
        if (marker == 0xE1 && !exifSeen && length >= 8 && bytes.Be(at + 2, 4) == 0x45786966 &&
            bytes.Be16(at + 6) == 0) {
            exifSeen = true;
            header.orientation = ExifOrientation(bytes, at + 8, static_cast<std::uint64_t>(length) - 8);
        }
        if (IsFrameMarker(marker)) {
            const std::int64_t height = bytes.Be16(at + 3);
            const std::int64_t width = bytes.Be16(at + 5);
            if (height < 0 || width < 0) return;
            header.sized = true;
            header.width = static_cast<std::uint32_t>(width);
            header.height = static_cast<std::uint32_t>(height);
            return;
        }
        at += static_cast<std::uint64_t>(length);
    }
}

void Keep(PictureHeader& header, std::uint32_t width, std::uint32_t height) {
    if (!header.sized || std::uint64_t{width} * height > std::uint64_t{header.width} * header.height) {
        header.width = width;
        header.height = height;
    }
    header.sized = true;
}

// Past a run of data sub-blocks (each a length byte and that many bytes, ended by 0).
// False when the file ends first.
bool SkipBlocks(Bytes& bytes, std::uint64_t& at) {
    for (;;) {
        const int size = bytes.At(at++);
        if (size < 0) return false;
        if (size == 0) return true;
        at += static_cast<std::uint64_t>(size);
    }
}

void Gif(Bytes& bytes, PictureHeader& header) {
    const std::int64_t width = bytes.Le(6, 2), height = bytes.Le(8, 2), flags = bytes.At(10);
    if (width < 0 || height < 0 || flags < 0) return;
    Keep(header, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    std::uint64_t at = 13;
    if (flags & 0x80) at += 3u << ((flags & 7) + 1);
    for (;;) {
        const int block = bytes.At(at++);
        if (block == 0x21) {  // extension: label, then data blocks
            ++at;
            if (!SkipBlocks(bytes, at)) return;
        } else if (block == 0x2C) {  // image: descriptor, colour table, code size, data blocks
            const std::int64_t frameWidth = bytes.Le(at + 4, 2), frameHeight = bytes.Le(at + 6, 2);
            const int frameFlags = bytes.At(at + 8);
            if (frameWidth < 0 || frameHeight < 0 || frameFlags < 0) return;
            Keep(header, static_cast<std::uint32_t>(frameWidth), static_cast<std::uint32_t>(frameHeight));
            at += 9;
            if (frameFlags & 0x80) at += 3u << ((frameFlags & 7) + 1);
            ++at;
            if (!SkipBlocks(bytes, at)) return;
        } else {
            return;  // trailer, or something the decoder stops at as well
        }
    }
}

void Bmp(Bytes& bytes, PictureHeader& header) {
    const std::int64_t infoSize = bytes.Le(14, 4);
    std::int64_t width = -1, height = -1;
    if (infoSize == 12) {  // the old core header: 16-bit sizes
        width = bytes.Le(18, 2);
        height = bytes.Le(20, 2);
    } else if (infoSize >= 16) {
        width = bytes.Le(18, 4);
        height = bytes.Le(22, 4);
        if (width >= 0) width = static_cast<std::int32_t>(static_cast<std::uint32_t>(width));
        if (height >= 0) {
            height = static_cast<std::int32_t>(static_cast<std::uint32_t>(height));
            if (height < 0) height = -height;  // rows stored top-down
        }
    }
    if (width < 0 || height < 0) return;
    header.sized = true;
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(height);
}

// Chunks: length, type, data, check sum. The header chunk comes first; an eXIf chunk counts
// only before the pixel data, as its readers take it.
void Png(Bytes& bytes, PictureHeader& header) {
    if (bytes.Be(12, 4) != 0x49484452) return;  // IHDR
    const std::int64_t width = bytes.Be(16, 4), height = bytes.Be(20, 4);
    if (width < 0 || height < 0) return;
    header.sized = true;
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(height);
    std::uint64_t at = 8;
    for (;;) {
        const std::int64_t length = bytes.Be(at, 4), type = bytes.Be(at + 4, 4);
        if (length < 0 || type < 0 || length > 0x7FFFFFFF) return;
        if (type == 0x49444154 || type == 0x49454E44) return;  // IDAT, IEND
        if (type == 0x65584966) {                              // eXIf
            header.orientation = ExifOrientation(bytes, at + 8, static_cast<std::uint64_t>(length));
            return;
        }
        at += 12 + static_cast<std::uint64_t>(length);
    }
}

void Tiff(Bytes& bytes, PictureHeader& header) {
    // The file is the structure; how long it is, only reading can tell.
    const TiffDirectory directory = FirstDirectory(bytes, 0, std::uint64_t{1} << 62);
    header.orientation = directory.orientation;
    if (directory.width < 0 || directory.height < 0) return;
    header.sized = true;
    header.width = static_cast<std::uint32_t>(directory.width);
    header.height = static_cast<std::uint32_t>(directory.height);
}

// RIFF chunks after "WEBP": the canvas (VP8X) or the one frame's header (VP8 or VP8L) gives
// the size; an EXIF chunk, which only a file with a canvas has, after the pixels, the orientation.
void WebP(Bytes& bytes, PictureHeader& header) {
    const std::int64_t riffEnd = bytes.Le(4, 4);
    if (riffEnd < 0) return;
    bool canvas = false;
    std::uint64_t at = 12;
    while (at + 8 <= static_cast<std::uint64_t>(riffEnd) + 8) {
        const std::int64_t type = bytes.Be(at, 4), length = bytes.Le(at + 4, 4);
        if (type < 0 || length < 0) return;
        const std::uint64_t data = at + 8;
        std::int64_t width = -1, height = -1;
        if (type == 0x56503858 && !header.sized) {  // VP8X
            canvas = true;
            const std::int64_t w = bytes.Le(data + 4, 3), h = bytes.Le(data + 7, 3);
            if (w >= 0 && h >= 0) width = w + 1, height = h + 1;
        } else if (type == 0x56503820 && !header.sized) {  // "VP8 ": frame tag, start code, sizes
            if (bytes.Be(data + 3, 3) != 0x9D012A) return;
            const std::int64_t w = bytes.Le(data + 6, 2), h = bytes.Le(data + 8, 2);
            if (w >= 0 && h >= 0) width = w & 0x3FFF, height = h & 0x3FFF;
        } else if (type == 0x5650384C && !header.sized) {  // VP8L: signature, 14 bits each less one
            if (bytes.At(data) != 0x2F) return;
            const std::int64_t bits = bytes.Le(data + 1, 4);
            if (bits >= 0) width = (bits & 0x3FFF) + 1, height = ((bits >> 14) & 0x3FFF) + 1;
        } else if (type == 0x45584946) {  // EXIF, with or without the JPEG's "Exif\0\0"
            std::uint64_t start = data, size = static_cast<std::uint64_t>(length);
            if (size >= 6 && bytes.Be(data, 4) == 0x45786966 && bytes.Be16(data + 4) == 0) start += 6, size -= 6;
            header.orientation = ExifOrientation(bytes, start, size);
            return;
        }
        if (width >= 0 && height >= 0) {
            header.sized = true;
            header.width = static_cast<std::uint32_t>(width);
            header.height = static_cast<std::uint32_t>(height);
        }
        if (!canvas && (type == 0x56503820 || type == 0x5650384C)) return;  // a simple file: nothing more
        at = data + static_cast<std::uint64_t>(length) + (length & 1);
    }
}

// An ISO media file whose first box is "ftyp" naming a HEIF or AVIF brand, major or compatible.
bool IsHeif(Bytes& bytes) {
    const std::int64_t size = bytes.Be(0, 4);
    if (bytes.Be(4, 4) != 0x66747970 || size < 16 || size > 4096) return false;  // ftyp
    for (std::uint64_t at = 8; at + 4 <= static_cast<std::uint64_t>(size); at += at == 8 ? 8 : 4) {
        const std::int64_t brand = bytes.Be(at, 4);
        if (brand < 0) return false;
        for (const char* name : {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif", "avis"})
            if (brand == ((std::int64_t{name[0]} << 24) | (name[1] << 16) | (name[2] << 8) | name[3])) return true;
    }
    return false;
}

}  // namespace

PictureHeader ReadPictureHeader(const ReadAt& read) {
    PictureHeader header;
    Bytes bytes(read);
    std::uint8_t signature[6] = {};
    for (int i = 0; i < 6; ++i) {
        const int byte = bytes.At(static_cast<std::uint64_t>(i));
        if (byte < 0) break;
        signature[i] = static_cast<std::uint8_t>(byte);
    }
    if (signature[0] == 0xFF && signature[1] == 0xD8 && signature[2] == 0xFF) {
        header.kind = PictureKind::Jpeg;
        Jpeg(bytes, header);
    } else if (std::memcmp(signature, "GIF87a", 6) == 0 || std::memcmp(signature, "GIF89a", 6) == 0) {
        header.kind = PictureKind::Gif;
        Gif(bytes, header);
    } else if (signature[0] == 'B' && signature[1] == 'M') {
        header.kind = PictureKind::Bmp;
        Bmp(bytes, header);
    } else if (bytes.Be(0, 4) == 0x89504E47 && bytes.Be(4, 4) == 0x0D0A1A0A) {
        header.kind = PictureKind::Png;
        Png(bytes, header);
    } else if (std::memcmp(signature, "II*\0", 4) == 0 || std::memcmp(signature, "MM\0*", 4) == 0) {
        header.kind = PictureKind::Tiff;
        Tiff(bytes, header);
    } else if (std::memcmp(signature, "RIFF", 4) == 0 && bytes.Be(8, 4) == 0x57454250) {  // WEBP
        header.kind = PictureKind::WebP;
        WebP(bytes, header);
    } else if (IsHeif(bytes)) {
        header.kind = PictureKind::Heif;
    }
    return header;
}

bool PictureFitsInMemory(std::uint32_t width, std::uint32_t height) {
    return width > 0 && height > 0 && width <= 0x7FFFFFFF / 4 && height <= 0x7FFFFFFF &&
           std::uint64_t{width} * height * 4 <= kMaxPictureBytes;
}

}  // namespace platform
