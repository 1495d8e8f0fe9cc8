// One decoded picture, held as a 32-bit top-down DIB section: loaded from a
// JPEG, GIF or BMP file (and with more types, PNG, TIFF, WebP, HEIC or AVIF) through WIC, or
// copied from a bitmap (the clipboard).
#pragma once
#include <windows.h>
#include <string>

namespace platform {

class Picture {
public:
    Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;
    ~Picture();

    // ".jpg", ".jpe*", ".gif" (first frame) and ".bmp" (every depth, RLE, top-down); with
    // `moreTypes` also PNG and TIFF (first frame or page, any depth) and WebP, HEIC and AVIF
    // where the system has their decoders; the file's contents decide, not its name.
    // A photo comes turned upright as its EXIF orientation says: from here on, its size and
    // pixels are the upright ones.
    // On failure: an empty picture, and the system's description of the error in *error.
    static Picture Load(const std::string& path, std::string* error = nullptr, bool moreTypes = false);
    // A copy of the bitmap; the caller keeps its own. Empty when the bitmap cannot be read.
    static Picture FromBitmap(HBITMAP bitmap);

    bool Empty() const;
    // True while the picture has transparent pixels: it must be flattened before it is shown.
    bool HasAlpha() const;
    // Puts the picture over a background colour, which shows through where it is transparent;
    // nothing happens to an opaque picture.
    void Flatten(COLORREF background);
    // True once Flatten has put transparent parts over a colour: over another colour (the
    // wallpaper's), the file must be loaded again.
    bool Flattened() const;
    int Width() const;   // pixels
    int Height() const;  // pixels
    double WidthTwips() const;
    double HeightTwips() const;
    // Owned by the picture; valid until it is released or moved from.
    HBITMAP Bitmap() const;
    // The whole picture into the rectangle, scaled with good quality when the size differs.
    void Draw(HDC dc, int x, int y, int width, int height) const;
    // Writes a Windows bitmap file (24 bits per pixel). On failure: false, and the
    // system's description of the error in *error.
    bool SaveAsBitmapFile(const std::string& path, std::string* error = nullptr) const;
    void Release();

private:
    HBITMAP bitmap_ = nullptr;
    void* bits_ = nullptr;  // 32-bit BGRX rows (BGRA while alpha_), top-down, owned by bitmap_
    int width_ = 0;
    int height_ = 0;
    bool alpha_ = false;
    bool flattened_ = false;
};

}  // namespace platform
