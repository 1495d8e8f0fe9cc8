// Pictures decoded through WIC under Wine: every format and depth the programs read, the
// bitmap files they write, drawing, and the failures a user's files can cause.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/Picture.h"
#include "platform/PictureHeader.h"
#include "support/GuiObjects.h"
#include "support/TestSupport.h"

#include <psapi.h>

using platform::Picture;
using testing_support::TempFolder;

namespace {

std::string Data(const std::string& name) { return testing_support::WinePathFromEnv("SORVITA_TEST_DATA") + "\\" + name; }

COLORREF Pixel(const Picture& picture, int x, int y) {
    DIBSECTION section{};
    if (!GetObjectA(picture.Bitmap(), sizeof section, &section)) return CLR_INVALID;
    const auto* p = static_cast<const BYTE*>(section.dsBm.bmBits) + (static_cast<size_t>(y) * picture.Width() + x) * 4;
    return RGB(p[2], p[1], p[0]);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

// The fixtures' four quadrants: red, green / blue, white.
COLORREF Quadrant(int x, int y, int width, int height) {
    if (y < height / 2) return x < width / 2 ? kRed : kGreen;
    return x < width / 2 ? kBlue : kWhite;
}

void ExpectQuadrants(const Picture& picture, int tolerance) {
    const int w = picture.Width(), h = picture.Height();
    if (tolerance == 0) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(Pixel(picture, x, y), Quadrant(x, y, w, h)) << x << "," << y;
        return;
    }
    // Lossy: the middle of each quadrant, away from the edges where colours bleed.
    for (int qy : {h / 4, 3 * h / 4})
        for (int qx : {w / 4, 3 * w / 4})
            EXPECT_TRUE(Near(Pixel(picture, qx, qy), Quadrant(qx, qy, w, h), tolerance))
                << qx << "," << qy << ": " << std::hex << Pixel(picture, qx, qy);
}

bool SamePixels(const Picture& a, const Picture& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (Pixel(a, x, y) != Pixel(b, x, y)) return false;
    return true;
}

// A picture with a distinct colour in every pixel, made through GDI.
Picture Pattern(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    platform::GdiObject section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* p = static_cast<BYTE*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, p += 4) {
            p[0] = static_cast<BYTE>(x * 37 + y);
            p[1] = static_cast<BYTE>(y * 53 + 7);
            p[2] = static_cast<BYTE>((x ^ y) * 11);
        }
    return Picture::FromBitmap(static_cast<HBITMAP>(section.get()));
}

// A 32-bit drawing surface filled with one colour.
class Canvas {
public:
    Canvas(int width, int height) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_.get());
        PatBlt(dc_, 0, 0, width, height, BLACKNESS);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const auto* p = static_cast<const BYTE*>(bits_) + (static_cast<size_t>(y) * width_ + x) * 4;
        return RGB(p[2], p[1], p[0]);
    }

private:
    int width_;
    void* bits_ = nullptr;
    platform::GdiObject bitmap_;
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace

TEST(Picture, LoadsEveryFormatAndBitmapDepth) {
    struct Case {
        const char* file;
        int width, height, tolerance;
    };
    const Case cases[] = {
        {"quad-baseline.jpg", 32, 16, 6}, {"quad-progressive.jpg", 32, 16, 6}, {"quad-animated.gif", 32, 16, 0},
        {"quad-24.bmp", 10, 6, 0},        {"quad-32.bmp", 10, 6, 0},         {"quad-16-555.bmp", 10, 6, 0},
        {"quad-16-565.bmp", 10, 6, 0},    {"quad-8.bmp", 10, 6, 0},          {"quad-4.bmp", 10, 6, 0},
        {"quad-rle8.bmp", 10, 6, 0},      {"quad-rle4.bmp", 10, 6, 0},       {"quad-topdown.bmp", 10, 6, 0},
        // Valid bitmaps the system's decoder may refuse, which our own reader reads.
        {"quad-16-231.bmp", 10, 6, 0},    {"quad-16-3103.bmp", 10, 6, 0},    {"quad-32-111110.bmp", 10, 6, 0},
        {"quad-32-7187.bmp", 10, 6, 0},   {"quad-32-alpha-v4.bmp", 10, 6, 0}, {"quad-16-alpha-v5.bmp", 10, 6, 0},
        {"quad-core.bmp", 10, 6, 0},      {"quad-os2.bmp", 10, 6, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string error = "unchanged";
        Picture picture = Picture::Load(Data(c.file), &error);
        ASSERT_FALSE(picture.Empty()) << error;
        EXPECT_EQ(picture.Width(), c.width);
        EXPECT_EQ(picture.Height(), c.height);
        EXPECT_DOUBLE_EQ(picture.WidthTwips(), c.width * platform::TwipsPerPixelX());
        EXPECT_DOUBLE_EQ(picture.HeightTwips(), c.height * platform::TwipsPerPixelY());
        ExpectQuadrants(picture, c.tolerance);
    }
    // One bit per pixel: black and white checks.
    Picture checks = Picture::Load(Data("checks-1.bmp"));
    ASSERT_FALSE(checks.Empty());
    EXPECT_EQ(Pixel(checks, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(checks, 9, 0), kWhite);
    EXPECT_EQ(Pixel(checks, 0, 5), kWhite);
    EXPECT_EQ(Pixel(checks, 9, 5), RGB(0, 0, 0));
}

TEST(Picture, LoadFailuresGiveAnEmptyPictureAndADescription) {
    TempFolder folder("picture-load");
    std::string error;
    EXPECT_TRUE(Picture::Load(folder.File("missing.jpg"), &error).Empty());
    EXPECT_EQ(error, platform::ErrorDescription(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(Picture::Load(folder.File("no folder\\missing.jpg"), &error).Empty());
    EXPECT_EQ(error, platform::ErrorDescription(ERROR_PATH_NOT_FOUND));

    for (const char* file : {"not-a-picture.gif", "png-named.jpg"}) {
        error.clear();
        EXPECT_TRUE(Picture::Load(Data(file), &error).Empty()) << file;
        EXPECT_EQ(error, "The file is not a valid JPEG, GIF or bitmap picture.") << file;
    }
    // A picture the decoder knows but cannot turn into pixels (a bitmap holding a JPEG, as
    // printers take) is unreadable, not invalid.
    error.clear();
    EXPECT_TRUE(Picture::Load(Data("jpeg-inside.bmp"), &error).Empty());
    EXPECT_EQ(error, "The picture could not be read: its pixel format is not supported.");
    // A header that asks for 3.6 GB is refused before anything is allocated.
    error.clear();
    EXPECT_TRUE(Picture::Load(Data("huge-header.bmp"), &error).Empty());
    EXPECT_EQ(error, "The picture is too large to be loaded.");
    // A truncated JPEG: the decoder either fills in the missing rows or fails; never a crash.
    error.clear();
    Picture truncated = Picture::Load(Data("truncated.jpg"), &error);
    if (truncated.Empty())
        EXPECT_FALSE(error.empty());
    else
        EXPECT_EQ(truncated.Width(), 32);
    // The error text is optional.
    EXPECT_TRUE(Picture::Load(folder.File("missing.gif")).Empty());
}

TEST(Picture, HugeDeclaredSizesAreRefusedBeforeDecoding) {
    // Small files whose headers ask for more than a 32-bit process can hold. Decoders fill in
    // what the data leaves out, so without the check each would take gigabytes and minutes.
    TempFolder folder("picture-huge");
    std::string jpeg;
    {
        std::ifstream in(Data("quad-baseline.jpg"), std::ios::binary);
        jpeg.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const size_t frame = jpeg.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    jpeg.replace(frame + 5, 4, "\xEA\x60\xEA\x60");  // 60000 x 60000
    testing_support::WriteFile(folder.File("huge.jpg"), jpeg);
    // One row past the most a picture may take: 16384 x 8193 at 4 bytes a pixel is 64 KB over
    // 512 MB, and its pixels alone would be 128 million.
    jpeg.replace(frame + 5, 4, std::string("\x20\x01\x40\x00", 4));
    testing_support::WriteFile(folder.File("one-row-over.jpg"), jpeg);

    // A GIF whose second frame is far larger than its screen.
    std::string gif("GIF89a\x02\x00\x02\x00\x00\x00\x00", 13);
    gif += std::string("\x2C\0\0\0\0\x02\0\x02\0\0\x02\x02\x44\x01\0", 15);
    gif += std::string("\x2C\0\0\0\0\x60\xEA\x60\xEA\0\x02\x02\x44\x01\0\x3B", 16);
    testing_support::WriteFile(folder.File("huge.gif"), gif);
    // A PNG and a TIFF (an 8-byte header and one directory) that declare 60000 x 60000.
    std::string png;
    {
        std::ifstream in(Data("quad.png"), std::ios::binary);
        png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    png.replace(16, 8, std::string("\0\0\xEA\x60\0\0\xEA\x60", 8));
    testing_support::WriteFile(folder.File("huge.png"), png);
    std::string tiff("II*\0\x08\0\0\0\x02\0", 10);
    tiff += std::string("\x00\x01\x04\0\x01\0\0\0\x60\xEA\0\0", 12);
    tiff += std::string("\x01\x01\x04\0\x01\0\0\0\x60\xEA\0\0", 12) + std::string(4, '\0');
    testing_support::WriteFile(folder.File("huge.tif"), tiff);

    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    for (const char* name : {"huge.jpg", "huge.gif", "one-row-over.jpg"}) {
        std::string error;
        EXPECT_TRUE(Picture::Load(folder.File(name), &error).Empty()) << name;
        EXPECT_EQ(error, "The picture is too large to be loaded.") << name;
    }
    for (const char* name : {"huge.png", "huge.tif"}) {
        std::string error;
        EXPECT_TRUE(Picture::Load(folder.File(name), &error, true).Empty()) << name;
        EXPECT_EQ(error, "The picture is too large to be loaded.") << name;
    }
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    EXPECT_LT(after.PeakWorkingSetSize - before.PeakWorkingSetSize, size_t{64} << 20);

    // The same files at their true size load as ever.
    jpeg.replace(frame + 5, 4, std::string("\x00\x10\x00\x20", 4));
    testing_support::WriteFile(folder.File("fine.jpg"), jpeg);
    Picture fine = Picture::Load(folder.File("fine.jpg"));
    EXPECT_EQ(fine.Width(), 32);
    EXPECT_EQ(fine.Height(), 16);
}

TEST(Picture, BitmapFileOfEachFormatReadsBackTheSamePixels) {
    TempFolder folder("picture-save");
    for (const char* file : {"quad-baseline.jpg", "quad-progressive.jpg", "quad-animated.gif", "quad-rle8.bmp",
                             "quad-16-565.bmp", "quad-topdown.bmp"}) {
        SCOPED_TRACE(file);
        Picture original = Picture::Load(Data(file));
        ASSERT_FALSE(original.Empty());
        const std::string saved = folder.File(std::string(file) + ".bmp");
        std::string error;
        ASSERT_TRUE(original.SaveAsBitmapFile(saved, &error)) << error;
        Picture back = Picture::Load(saved, &error);
        ASSERT_FALSE(back.Empty()) << error;
        EXPECT_TRUE(SamePixels(original, back));
    }
}

TEST(Picture, OddSizesSurviveTheBitmapFile) {
    TempFolder folder("picture-odd");
    for (auto [width, height] : {std::pair{1, 1}, {2, 1}, {3, 2}, {5, 7}, {13, 1}, {1, 13}, {257, 3}}) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        Picture original = Pattern(width, height);
        ASSERT_FALSE(original.Empty());
        ASSERT_TRUE(original.SaveAsBitmapFile(folder.File("odd.bmp")));
        Picture back = Picture::Load(folder.File("odd.bmp"));
        EXPECT_TRUE(SamePixels(original, back));
        // 24 bits per pixel, rows padded to 4 bytes.
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExA(folder.File("odd.bmp").c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(data.nFileSizeLow, 54u + (width * 3u + 3u) / 4u * 4u * height);
    }
}

TEST(Picture, SaveFailures) {
    TempFolder folder("picture-save-fail");
    Picture picture = Pattern(4, 4);
    std::string error;
    EXPECT_FALSE(picture.SaveAsBitmapFile(folder.File("no folder\\x.bmp"), &error));
    EXPECT_EQ(error, platform::ErrorDescription(ERROR_PATH_NOT_FOUND));

    EXPECT_FALSE(Picture().SaveAsBitmapFile(folder.File("empty.bmp"), &error));
    EXPECT_EQ(error, "There is no picture to save.");
    EXPECT_EQ(GetFileAttributesA(folder.File("empty.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Picture, FromBitmapCopiesScreenBitmaps) {
    platform::ScreenDC screen;
    platform::GdiObject bitmap(CreateCompatibleBitmap(screen.get(), 6, 4));
    HDC dc = CreateCompatibleDC(screen.get());
    HGDIOBJ old = SelectObject(dc, bitmap.get());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) SetPixel(dc, x, y, Quadrant(x, y, 6, 4));
    SelectObject(dc, old);
    DeleteDC(dc);

    Picture copy = Picture::FromBitmap(static_cast<HBITMAP>(bitmap.get()));
    ASSERT_FALSE(copy.Empty());
    EXPECT_NE(copy.Bitmap(), bitmap.get());
    ExpectQuadrants(copy, 0);
    bitmap.reset();  // the copy does not depend on the original
    ExpectQuadrants(copy, 0);

    EXPECT_TRUE(Picture::FromBitmap(nullptr).Empty());
}

TEST(Picture, DrawsAtItsOwnSizeAndScaled) {
    Picture picture = Picture::Load(Data("quad-24.bmp"));
    ASSERT_FALSE(picture.Empty());
    Canvas canvas(40, 30);
    picture.Draw(canvas.dc(), 2, 3, picture.Width(), picture.Height());
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(canvas.At(2 + x, 3 + y), Quadrant(x, y, 10, 6)) << x << "," << y;
    EXPECT_EQ(canvas.At(1, 3), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(12, 3), RGB(0, 0, 0));

    Canvas large(40, 30);
    picture.Draw(large.dc(), 0, 0, 40, 24);  // four times as wide and high
    EXPECT_EQ(large.At(5, 3), kRed);
    EXPECT_EQ(large.At(35, 3), kGreen);
    EXPECT_EQ(large.At(5, 20), kBlue);
    EXPECT_EQ(large.At(35, 20), kWhite);
    EXPECT_EQ(large.At(5, 27), RGB(0, 0, 0));

    Canvas small(40, 30);
    Picture big = Picture::Load(Data("quad-animated.gif"));
    big.Draw(small.dc(), 0, 0, 8, 4);  // a quarter of the size
    EXPECT_EQ(small.At(1, 0), kRed);
    EXPECT_EQ(small.At(6, 0), kGreen);
    EXPECT_EQ(small.At(1, 3), kBlue);
    EXPECT_EQ(small.At(6, 3), kWhite);
    EXPECT_EQ(small.At(9, 1), RGB(0, 0, 0));

    Picture().Draw(small.dc(), 0, 0, 8, 4);  // nothing to draw: nothing happens
    EXPECT_EQ(small.At(1, 0), kRed);
}

// The leak checks here and elsewhere prove nothing unless the counts see objects come and go,
// in 32-bit processes as much as in 64-bit ones.
TEST(GuiObjectCounts, SeeABitmapAndAWindowComeAndGo) {
    const auto gdi = [] {
        const testing_support::GuiObjects counts = testing_support::CountGuiObjects();
        return counts.gdi ? counts.gdi : counts.gdiTable;
    };
    const unsigned long gdiBefore = gdi();
    {
        platform::GdiObject bitmap(CreateBitmap(4, 4, 1, 32, nullptr));
        EXPECT_EQ(gdi(), gdiBefore + 1);
    }
    EXPECT_EQ(gdi(), gdiBefore);

    // While a thread has windows it also has an input method window; one stays up throughout.
    const auto makeWindow = [] {
        return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 4, 4, nullptr, nullptr, nullptr, nullptr);
    };
    HWND anchor = makeWindow();
    const unsigned long windowsBefore = testing_support::CountGuiObjects().windows;
    HWND window = makeWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(testing_support::CountGuiObjects().windows, windowsBefore + 1);
    DestroyWindow(window);
    EXPECT_EQ(testing_support::CountGuiObjects().windows, windowsBefore);
    DestroyWindow(anchor);
}

TEST(Picture, MovesOwnershipAndReleasesItsBitmap) {
    const testing_support::GuiObjects before = testing_support::CountGuiObjects();
    {
        Picture first = Picture::Load(Data("quad-24.bmp"));
        HBITMAP handle = first.Bitmap();
        ASSERT_NE(handle, nullptr);
        Picture second = std::move(first);
        EXPECT_TRUE(first.Empty());
        EXPECT_EQ(first.Width(), 0);
        EXPECT_EQ(second.Bitmap(), handle);
        EXPECT_EQ(second.Width(), 10);

        Picture third = Pattern(3, 3);
        third = std::move(second);  // the pattern's bitmap is released
        EXPECT_EQ(third.Bitmap(), handle);
        third.Release();
        EXPECT_TRUE(third.Empty());
        EXPECT_EQ(third.Height(), 0);
        EXPECT_EQ(GetObjectType(handle), 0u);
    }
    for (int i = 0; i < 50; ++i) {
        Picture picture = Picture::Load(Data(i % 2 ? "quad-baseline.jpg" : "quad-animated.gif"));
        Picture copy = Picture::FromBitmap(picture.Bitmap());
        Canvas canvas(8, 8);
        copy.Draw(canvas.dc(), 0, 0, 8, 8);
    }
    EXPECT_EQ(testing_support::CountGuiObjects(), before);
}

// Photos stored turned, with an EXIF orientation (tests/data/orient-*.jpg): upright they are
// 24 x 16 in six flat 8x8 blocks, which JPEG decodes to the same pixels wherever a block
// lies. So every orientation must load pixel for pixel like orient-1.jpg, and each block's
// colour is checked against its nominal one too, in case all eight were wrong alike.
namespace {

constexpr COLORREF kUprightBlocks[2][3] = {{kRed, kGreen, kBlue}, {RGB(255, 255, 0), kWhite, RGB(0, 0, 0)}};

void ExpectUpright(const Picture& picture, const Picture& reference) {
    ASSERT_EQ(picture.Width(), 24);
    ASSERT_EQ(picture.Height(), 16);
    EXPECT_TRUE(SamePixels(picture, reference));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_TRUE(Near(Pixel(picture, x, y), kUprightBlocks[y / 8][x / 8], 4))
                << x << "," << y << ": " << std::hex << Pixel(picture, x, y);
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(PictureOrientation, EachOfTheEightLoadsUpright) {
    std::string error;
    const Picture reference = Picture::Load(Data("orient-1.jpg"), &error);
    ASSERT_FALSE(reference.Empty()) << error;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(testing::Message() << "orientation " << orientation);
        const Picture picture = Picture::Load(Data("orient-" + std::to_string(orientation) + ".jpg"), &error);
        ASSERT_FALSE(picture.Empty()) << error;
        // The stored pixels of 5 to 8 are 16 wide and 24 high.
        ExpectUpright(picture, reference);
        EXPECT_DOUBLE_EQ(picture.WidthTwips(), 24 * platform::TwipsPerPixelX());
        EXPECT_DOUBLE_EQ(picture.HeightTwips(), 16 * platform::TwipsPerPixelY());
        // What the picture holds is what it draws and what it saves.
        Canvas canvas(24, 16);
        picture.Draw(canvas.dc(), 0, 0, 24, 16);
        EXPECT_EQ(canvas.At(20, 2), Pixel(picture, 20, 2));
        EXPECT_EQ(canvas.At(2, 13), Pixel(picture, 2, 13));
    }
}

TEST(PictureOrientation, DamagedOrUnusableTagsLoadAsStored) {
    const Picture reference = Picture::Load(Data("orient-1.jpg"));
    // Each would say "a quarter clockwise" (or 9) if it were read past its damage; the
    // pixels are stored upright.
    for (const char* file : {"orient-cut.jpg", "orient-offset.jpg", "orient-loop.jpg", "orient-9.jpg"}) {
        SCOPED_TRACE(file);
        std::string error;
        const Picture picture = Picture::Load(Data(file), &error);
        ASSERT_FALSE(picture.Empty()) << error;
        ExpectUpright(picture, reference);
    }
}

TEST(PictureOrientation, SizeLimitHoldsForTheTurnedPicture) {
    // A photo declaring 60000 x 60000 and a quarter turn is refused before anything is decoded.
    TempFolder folder("picture-orient-huge");
    std::string jpeg = FileBytes(Data("orient-6.jpg"));
    const size_t frame = jpeg.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    jpeg.replace(frame + 5, 4, "\xEA\x60\xEA\x60");
    testing_support::WriteFile(folder.File("huge.jpg"), jpeg);
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    std::string error;
    EXPECT_TRUE(Picture::Load(folder.File("huge.jpg"), &error).Empty());
    EXPECT_EQ(error, "The picture is too large to be loaded.");
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    EXPECT_LT(after.PeakWorkingSetSize - before.PeakWorkingSetSize, size_t{64} << 20);
}

TEST(PictureOrientation, TurnedPhotoSavesUprightAndLeaksNothing) {
    TempFolder folder("picture-orient-save");
    const testing_support::GuiObjects before = testing_support::CountGuiObjects();
    for (int orientation : {3, 6, 7}) {
        const Picture picture = Picture::Load(Data("orient-" + std::to_string(orientation) + ".jpg"));
        const std::string saved = folder.File("upright.bmp");
        ASSERT_TRUE(picture.SaveAsBitmapFile(saved));
        const Picture back = Picture::Load(saved);
        EXPECT_TRUE(SamePixels(back, picture)) << orientation;
    }
    EXPECT_EQ(testing_support::CountGuiObjects(), before);
}

// The more picture types (tests/data/quad*.png, .tif, .webp, .heic, .avif): the same quadrants.
namespace {

constexpr const char* kNotAPicture = "The file is not a valid JPEG, GIF or bitmap picture.";

}  // namespace

TEST(PictureMoreTypes, PngAndTiffOfEachDepthAndTheirFirstFrameLoadOnlyWithTheOption) {
    for (const char* file :
         {"quad.png", "quad-16.png", "quad-animated.png", "quad.tif", "quad-16.tif", "quad-pages.tif", "png-named.jpg"}) {
        SCOPED_TRACE(file);
        std::string error;
        EXPECT_TRUE(Picture::Load(Data(file), &error).Empty());
        EXPECT_EQ(error, kNotAPicture);
        const Picture picture = Picture::Load(Data(file), &error, true);
        ASSERT_FALSE(picture.Empty()) << error;
        EXPECT_FALSE(picture.HasAlpha());
        EXPECT_EQ(picture.Width(), 10);
        EXPECT_EQ(picture.Height(), 6);
        ExpectQuadrants(picture, 0);
    }
    std::string error;
    EXPECT_TRUE(Picture::Load(Data("not-a-picture.gif"), &error, true).Empty());
    EXPECT_EQ(error, "The file is not a valid JPEG, GIF, bitmap, PNG, TIFF, WebP, HEIC or AVIF picture.");
}

TEST(PictureMoreTypes, TransparencyIsPutOverTheColourGivenAndThatIsWhatDrawsAndSaves) {
    // Top right is transparent, bottom left blue at 128/255.
    TempFolder folder("picture-alpha");
    const COLORREF background = RGB(10, 100, 200);
    const COLORREF halfBlue = RGB(5, 50, 228);
    for (const char* file : {"quad-alpha.png", "quad-alpha-16.png", "quad-alpha.tif"}) {
        SCOPED_TRACE(file);
        std::string error;
        Picture picture = Picture::Load(Data(file), &error, true);
        ASSERT_FALSE(picture.Empty()) << error;
        EXPECT_TRUE(picture.HasAlpha());
        picture.Flatten(background);
        EXPECT_FALSE(picture.HasAlpha());
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 10; ++x) {
                const COLORREF expected = y < 3 ? (x < 5 ? kRed : background) : (x < 5 ? halfBlue : kWhite);
                ASSERT_EQ(Pixel(picture, x, y), expected) << x << "," << y << ": " << std::hex << Pixel(picture, x, y);
            }
        Canvas canvas(10, 6);
        picture.Draw(canvas.dc(), 0, 0, 10, 6);
        EXPECT_EQ(canvas.At(9, 0), background);
        EXPECT_EQ(canvas.At(0, 5), halfBlue);
        ASSERT_TRUE(picture.SaveAsBitmapFile(folder.File("flat.bmp")));
        EXPECT_TRUE(SamePixels(Picture::Load(folder.File("flat.bmp")), picture));
    }
}

TEST(PictureMoreTypes, WebPHeicAndAvifLoadWhereTheSystemHasDecodersElseSaySo) {
    for (const char* file : {"quad.webp", "quad.heic", "quad.avif"}) {
        SCOPED_TRACE(file);
        std::string error;
        const Picture picture = Picture::Load(Data(file), &error, true);
        std::printf("%s: %s\n", file, picture.Empty() ? error.c_str() : "decoded");
        if (picture.Empty()) {
            EXPECT_EQ(error, "This system has no decoder for this kind of picture.");
        } else {
            EXPECT_EQ(picture.Width(), 10);
            EXPECT_EQ(picture.Height(), 6);
        }
        EXPECT_TRUE(Picture::Load(Data(file), &error).Empty());
        EXPECT_EQ(error, kNotAPicture);
    }
}

TEST(PictureMoreTypes, CutOrDamagedPngAndTiffFailCleanlyInBoundedMemory) {
    TempFolder folder("picture-damaged");
    const std::string cut = folder.File("cut");
    std::uint32_t state = 7;
    const auto next = [&] {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    const testing_support::GuiObjects objects = testing_support::CountGuiObjects();
    // Each depth and layout once: 16-bit, alpha, an eXIf chunk; a TIFF of two pages.
    for (const char* file : {"quad-16.png", "quad-alpha.png", "orient-6.png", "quad.tif", "quad-pages.tif"}) {
        SCOPED_TRACE(file);
        const std::string whole = FileBytes(Data(file));
        ASSERT_FALSE(whole.empty());
        const auto check = [&](const std::string& bytes, const std::string& what) {
            testing_support::WriteFile(cut, bytes);
            std::string error;
            const Picture picture = Picture::Load(cut, &error, true);
            // A decoder may fill in what is missing; otherwise it says what went wrong.
            if (picture.Empty())
                EXPECT_FALSE(error.empty()) << what;
            else
                EXPECT_TRUE(platform::PictureFitsInMemory(picture.Width(), picture.Height())) << what;
        };
        for (size_t size = 0; size < whole.size(); ++size) check(whole.substr(0, size), "cut at " + std::to_string(size));
        for (int round = 0; round < 50; ++round) {
            std::string bytes = whole;
            const int changes = 1 + static_cast<int>(next() % 4);
            // Mostly the headers, where a damaged size or offset leads a reader astray.
            for (int i = 0; i < changes; ++i)
                bytes[next() % std::min<size_t>(bytes.size(), 64)] = static_cast<char>(next() % 5 == 0 ? 0xFF : next());
            check(bytes, "round " + std::to_string(round));
        }
    }
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    EXPECT_LT(after.PeakWorkingSetSize - before.PeakWorkingSetSize, size_t{64} << 20);
    EXPECT_EQ(testing_support::CountGuiObjects(), objects);
}

TEST(PictureOrientation, TiffsOwnTagAndAPngsExifChunkTurnThemUpright) {
    for (const char* file : {"orient-6.tif", "orient-6.png"}) {
        SCOPED_TRACE(file);
        std::string error;
        const Picture picture = Picture::Load(Data(file), &error, true);
        ASSERT_FALSE(picture.Empty()) << error;
        ASSERT_EQ(picture.Width(), 24);
        ASSERT_EQ(picture.Height(), 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 24; ++x) ASSERT_EQ(Pixel(picture, x, y), kUprightBlocks[y / 8][x / 8]) << x << "," << y;
    }
}
