#include "platform/Picture.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/App.h"
#include "platform/BitmapFile.h"
#include "platform/BitmapReader.h"
#include "platform/Handles.h"
#include "platform/Orientation.h"
#include "platform/PictureHeader.h"
#include "platform/Text.h"

namespace platform {

namespace {

constexpr const char* kNotAPicture = "The file is not a valid JPEG, GIF or bitmap picture.";
constexpr const char* kNotAPictureOfMoreTypes =
    "The file is not a valid JPEG, GIF, bitmap, PNG, TIFF, WebP, HEIC or AVIF picture.";
constexpr const char* kNoDecoder = "This system has no decoder for this kind of picture.";
constexpr const char* kTooLargeToLoad = "The picture is too large to be loaded.";
// The decoder knows the file but has no way to turn its pixels into the ones the programs hold.
constexpr const char* kCannotConvert = "The picture could not be read: its pixel format is not supported.";
constexpr const char* kTooLargeToSave = "The picture is too large to be saved as a bitmap file.";
constexpr const char* kNothingToSave = "There is no picture to save.";

// Pixels converted per call while loading.
constexpr UINT kStripBytes = 4 << 20;

void SetError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

std::string HresultDescription(HRESULT hr, const char* notAPicture) {
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return ErrorDescription(HRESULT_CODE(hr));
    switch (hr) {
        case E_OUTOFMEMORY:
            return ErrorDescription(ERROR_NOT_ENOUGH_MEMORY);
        case WINCODEC_ERR_COMPONENTNOTFOUND:
        case WINCODEC_ERR_UNKNOWNIMAGEFORMAT:
        case WINCODEC_ERR_BADHEADER:
        case WINCODEC_ERR_BADIMAGE:
        case WINCODEC_ERR_BADSTREAMDATA:
        case WINCODEC_ERR_STREAMREAD:
        case WINCODEC_ERR_STREAMNOTAVAILABLE:
        case WINCODEC_ERR_FRAMEMISSING:
        case E_FAIL:
            return notAPicture;
        case WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT:
            return kCannotConvert;
        default:
            return ErrorDescription(static_cast<unsigned long>(hr));
    }
}

std::size_t ReadFileAt(HANDLE file, std::uint64_t offset, void* out, std::size_t size) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD done = 0;
    return ReadFile(file, out, static_cast<DWORD>(size), &done, &at) ? done : 0;
}

// The decoders' stream over the file the picture is read from, which is opened leaving others
// free to delete, rename or save over it meanwhile: a picture may be read in the background,
// ahead of being shown, and a user deleting it in a file window must not be told that it is in
// use. The system's own file streams deny that. The stream starts at the file's beginning,
// wherever the reads at given offsets before it have left the position.
class SharedReadStream final : public IStream {
public:
    static HRESULT Open(HANDLE file, IStream** out) {
        *out = nullptr;
        HANDLE own = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), file, GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS))
            return HRESULT_FROM_WIN32(GetLastError());
        SetFilePointerEx(own, LARGE_INTEGER{}, nullptr, FILE_BEGIN);
        *out = new SharedReadStream(own);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_ISequentialStream || iid == IID_IStream) {
            *out = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const auto left = static_cast<ULONG>(InterlockedDecrement(&references_));
        if (left == 0) delete this;
        return left;
    }

    // Plain reads at the file's position: the decoders read a few kilobytes at a time, and under
    // Wine reads at given offsets made a photo's decoding two and a half times as slow.
    HRESULT STDMETHODCALLTYPE Read(void* out, ULONG size, ULONG* done) override {
        DWORD read = 0;
        const BOOL ok = ReadFile(file_.get(), out, size, &read, nullptr);
        if (done) *done = read;
        if (!ok) return HRESULT_FROM_WIN32(GetLastError());
        return read < size ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
        // The stream's origins are the file's: set, current, end.
        LARGE_INTEGER to{};
        if (!SetFilePointerEx(file_.get(), move, &to, origin)) return STG_E_INVALIDFUNCTION;
        if (position) position->QuadPart = static_cast<ULONGLONG>(to.QuadPart);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->grfMode = STGM_READ | STGM_SHARE_DENY_NONE;
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file_.get(), &size)) return HRESULT_FROM_WIN32(GetLastError());
        stat->cbSize.QuadPart = static_cast<ULONGLONG>(size.QuadPart);
        return S_OK;
    }
    // Read only.
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    explicit SharedReadStream(HANDLE file) : file_(file) {}
    ~SharedReadStream() = default;
    UniqueHandle file_;
    LONG references_ = 1;
};

// Containers that Windows may or may not have decoders for; the SDK's names are not in
// every tool set's headers.
constexpr GUID kContainerWebp = {0xe094b0e2, 0x67f2, 0x45b3, {0xb0, 0xea, 0x11, 0x53, 0x37, 0xca, 0x7c, 0xf3}};
constexpr GUID kContainerHeif = {0xe1e62521, 0x6787, 0x405b, {0xa3, 0x39, 0x50, 0x07, 0x15, 0xb5, 0x76, 0x3f}};

bool IsBasicKind(PictureKind kind) {
    return kind == PictureKind::Jpeg || kind == PictureKind::Gif || kind == PictureKind::Bmp;
}

// The containers the programs accept; the header has already said which kind the file is.
bool AcceptedContainer(const GUID& container, PictureKind kind, bool moreTypes) {
    if (container == GUID_ContainerFormatJpeg || container == GUID_ContainerFormatGif ||
        container == GUID_ContainerFormatBmp)
        return true;
    if (!moreTypes) return false;
    // An AVIF may come through a decoder of its own rather than the HEIF one.
    return container == GUID_ContainerFormatPng || container == GUID_ContainerFormatTiff ||
           container == kContainerWebp || container == kContainerHeif || kind == PictureKind::Heif;
}

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

Picture::Picture(Picture&& other) noexcept
    : bitmap_(std::exchange(other.bitmap_, nullptr)),
      bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      alpha_(std::exchange(other.alpha_, false)),
      flattened_(std::exchange(other.flattened_, false)) {}

Picture& Picture::operator=(Picture&& other) noexcept {
    if (this != &other) {
        Release();
        bitmap_ = std::exchange(other.bitmap_, nullptr);
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        alpha_ = std::exchange(other.alpha_, false);
        flattened_ = std::exchange(other.flattened_, false);
    }
    return *this;
}

Picture::~Picture() { Release(); }

void Picture::Release() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
    alpha_ = false;
    flattened_ = false;
}

bool Picture::Empty() const { return bitmap_ == nullptr; }
bool Picture::HasAlpha() const { return alpha_; }
bool Picture::Flattened() const { return flattened_; }

void Picture::Flatten(COLORREF background) {
    if (!alpha_) return;
    GdiFlush();
    FlattenOver(static_cast<std::uint8_t*>(bits_), static_cast<size_t>(width_) * static_cast<size_t>(height_),
                GetRValue(background), GetGValue(background), GetBValue(background));
    alpha_ = false;
    flattened_ = true;
}
int Picture::Width() const { return width_; }
int Picture::Height() const { return height_; }
double Picture::WidthTwips() const { return width_ * TwipsPerPixelX(); }
double Picture::HeightTwips() const { return height_ * TwipsPerPixelY(); }
HBITMAP Picture::Bitmap() const { return bitmap_; }

Picture Picture::Load(const std::string& path, std::string* error, bool moreTypes) {
    const char* notAPicture = moreTypes ? kNotAPictureOfMoreTypes : kNotAPicture;
    int orientation = 1;
    PictureKind kind = PictureKind::Unknown;
    // One opening for every reader of the file, sharing it as the decoders' stream explains.
    HANDLE opened = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        SetError(error, ErrorDescription(GetLastError()));
        return Picture();
    }
    const UniqueHandle file(opened);
    {
        // Some systems' decoders decode the whole picture as soon as the file is opened, at
        // whatever size its headers declare: a small file may ask for gigabytes and minutes.
        // So the declared size is read first, and other kinds of file go no further.
        const PictureHeader header = ReadPictureHeader(
            [&](std::uint64_t offset, void* out, size_t size) { return ReadFileAt(file.get(), offset, out, size); });
        kind = header.kind;
        if (kind == PictureKind::Unknown || (!moreTypes && !IsBasicKind(kind))) {
            SetError(error, notAPicture);
            return Picture();
        }
        orientation = header.orientation;
        const bool swap = SwapsSides(orientation);
        if (header.sized &&
            !PictureFitsInMemory(swap ? header.height : header.width, swap ? header.width : header.height)) {
            SetError(error, header.width && header.height ? kTooLargeToLoad : notAPicture);
            return Picture();
        }
    }
    // Valid bitmaps that the system's decoder refuses (channel masks or headers it does not
    // know) are read by our own reader; other files keep the decoder's verdict.
    const auto refused = [&](const std::string& description) -> Picture {
        BitmapRead read = BitmapRead::Invalid;
        Picture own;
        if (kind == PictureKind::Bmp) {
            read = ReadBitmap(
                [&](std::uint64_t offset, void* out, std::size_t size) {
                    return ReadFileAt(file.get(), offset, out, size);
                },
                [&](std::uint32_t width, std::uint32_t height) -> std::uint8_t* {
                    BITMAPINFO info = TopDown32(static_cast<int>(width), static_cast<int>(height));
                    own.bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &own.bits_, nullptr, 0);
                    if (!own.bitmap_) return nullptr;
                    own.width_ = static_cast<int>(width);
                    own.height_ = static_cast<int>(height);
                    return static_cast<std::uint8_t*>(own.bits_);
                });
        }
        if (read == BitmapRead::Done) return own;
        SetError(error, read == BitmapRead::TooLarge   ? std::string(kTooLargeToLoad)
                        : read == BitmapRead::NoMemory ? ErrorDescription(ERROR_NOT_ENOUGH_MEMORY)
                                                       : description);
        return Picture();
    };
    ComApartment apartment;
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.put_void());
    ComPtr<IWICBitmapDecoder> decoder;
    if (SUCCEEDED(hr)) {
        ComPtr<IStream> stream;
        hr = SharedReadStream::Open(file.get(), stream.put());
        if (SUCCEEDED(hr))
            hr = factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put());
    }
    GUID container{};
    if (SUCCEEDED(hr)) hr = decoder->GetContainerFormat(&container);
    // WIC knows more formats than the programs offer; without more types a PNG named .jpg is
    // not a picture to them.
    if (SUCCEEDED(hr) && !AcceptedContainer(container, kind, moreTypes)) hr = WINCODEC_ERR_COMPONENTNOTFOUND;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, frame.put());
    UINT width = 0, height = 0;
    if (SUCCEEDED(hr)) hr = frame->GetSize(&width, &height);
    if (FAILED(hr)) {
        // A sound WebP, HEIC or AVIF file that no decoder takes: Windows without the codec
        // (Wine has none).
        const bool noDecoder = (hr == WINCODEC_ERR_COMPONENTNOTFOUND || hr == WINCODEC_ERR_UNKNOWNIMAGEFORMAT) &&
                               (kind == PictureKind::WebP || kind == PictureKind::Heif);
        if (noDecoder) {
            SetError(error, kNoDecoder);
            return Picture();
        }
        return refused(HresultDescription(hr, notAPicture));
    }
    // Photos are turned upright before anyone sees them, so every size below is the upright one.
    // The orientation comes from the headers this kind of file carries it in.
    if (container != GUID_ContainerFormatJpeg && container != GUID_ContainerFormatPng &&
        container != GUID_ContainerFormatTiff && container != kContainerWebp)
        orientation = 1;
    const bool swap = SwapsSides(orientation);
    const UINT uprightWidth = swap ? height : width, uprightHeight = swap ? width : height;
    if (!PictureFitsInMemory(uprightWidth, uprightHeight)) {
        SetError(error, width && height ? kTooLargeToLoad : notAPicture);
        return Picture();
    }

    WICPixelFormatGUID format{};
    if (FAILED(frame->GetPixelFormat(&format))) format = GUID_WICPixelFormatUndefined;
    // Baseline JPEGs and 24-bit bitmaps come as 24-bit rows, which are widened here: the
    // system's general converter takes many times longer over a photo of a few megapixels.
    const bool widen24 = format == GUID_WICPixelFormat24bppBGR;
    // The new kinds may be transparent: their alpha is kept until the program flattens them.
    const bool keepAlpha = !widen24 && !IsBasicKind(kind);
    ComPtr<IWICBitmapSource> converted;
    if (!widen24) {
        hr = WICConvertBitmapSource(keepAlpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat32bppBGR, frame.get(),
                                    converted.put());
        if (FAILED(hr))
            return refused(hr == E_OUTOFMEMORY ? HresultDescription(hr, notAPicture) : std::string(kCannotConvert));
    }
    Picture picture;
    BITMAPINFO info = TopDown32(static_cast<int>(uprightWidth), static_cast<int>(uprightHeight));
    picture.bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &picture.bits_, nullptr, 0);
    if (!picture.bitmap_) {
        SetError(error, ErrorDescription(ERROR_NOT_ENOUGH_MEMORY));
        return Picture();
    }
    picture.width_ = static_cast<int>(uprightWidth);
    picture.height_ = static_cast<int>(uprightHeight);
    // In strips: a converter given the whole picture at once first copies all of it in the
    // source's format, which for a large JPEG is most of another picture's worth of memory.
    // A photo to be turned goes through one strip of its own on the way, never a whole copy.
    const UINT stride = width * 4;
    const UINT stripRows = std::max<UINT>(1, kStripBytes / stride);
    const bool turn = orientation != 1;
    auto* bits = static_cast<BYTE*>(picture.bits_);
    std::vector<BYTE> narrow;
    if (widen24) narrow.resize(static_cast<size_t>(width) * 3 * std::min(stripRows, height));
    std::vector<std::uint32_t> stored;
    if (turn) stored.resize(static_cast<size_t>(width) * std::min(stripRows, height));
    for (UINT top = 0; top < height && SUCCEEDED(hr); top += stripRows) {
        const UINT rows = std::min(stripRows, height - top);
        const WICRect strip{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
        BYTE* out = turn ? reinterpret_cast<BYTE*>(stored.data()) : bits + static_cast<size_t>(top) * stride;
        if (!widen24) {
            hr = converted->CopyPixels(&strip, stride, stride * rows, out);
        } else {
            hr = frame->CopyPixels(&strip, width * 3, width * 3 * rows, narrow.data());
            if (SUCCEEDED(hr)) Rows24To32(narrow.data(), static_cast<int>(width), static_cast<int>(rows), out);
        }
        if (SUCCEEDED(hr) && turn)
            TurnRows(stored.data(), static_cast<int>(width), static_cast<int>(height), static_cast<int>(top),
                     static_cast<int>(rows), orientation, static_cast<std::uint32_t*>(picture.bits_));
    }
    if (FAILED(hr)) {
        picture.Release();
        return refused(HresultDescription(hr, notAPicture));
    }
    if (keepAlpha)
        picture.alpha_ = AnyTransparent(static_cast<const std::uint8_t*>(picture.bits_),
                                        static_cast<size_t>(uprightWidth) * uprightHeight);
    return picture;
}

Picture Picture::FromBitmap(HBITMAP bitmap) {
    BITMAP header{};
    if (!bitmap || !GetObjectA(bitmap, sizeof header, &header)) return Picture();
    if (header.bmWidth <= 0 || header.bmHeight <= 0 ||
        !PictureFitsInMemory(static_cast<UINT>(header.bmWidth), static_cast<UINT>(header.bmHeight)))
        return Picture();
    Picture picture;
    BITMAPINFO info = TopDown32(header.bmWidth, header.bmHeight);
    picture.bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &picture.bits_, nullptr, 0);
    if (!picture.bitmap_) return Picture();
    picture.width_ = header.bmWidth;
    picture.height_ = header.bmHeight;
    ScreenDC screen;
    if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(header.bmHeight), picture.bits_, &info,
                  DIB_RGB_COLORS) != header.bmHeight)
        return Picture();
    return picture;
}

void Picture::Draw(HDC dc, int x, int y, int width, int height) const {
    if (Empty() || !dc) return;
    GdiFlush();  // the bits may have been written through the section's memory
    BITMAPINFO info = TopDown32(width_, height_);
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    POINT oldOrigin{};
    SetBrushOrgEx(dc, 0, 0, &oldOrigin);  // HALFTONE requires it after the mode is set
    StretchDIBits(dc, x, y, width, height, 0, 0, width_, height_, bits_, &info, DIB_RGB_COLORS, SRCCOPY);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    if (oldMode) SetStretchBltMode(dc, oldMode);
}

bool Picture::SaveAsBitmapFile(const std::string& path, std::string* error) const {
    if (Empty()) {
        SetError(error, kNothingToSave);
        return false;
    }
    if (BitmapFileSize(width_, height_) == 0) {
        SetError(error, kTooLargeToSave);
        return false;
    }
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        SetError(error, ErrorDescription(GetLastError()));
        return false;
    }
    GdiFlush();
    DWORD failure = ERROR_SUCCESS;
    const auto* pixels = static_cast<const std::uint8_t*>(bits_);
    const size_t stride = static_cast<size_t>(width_) * 4;
    bool written = WriteBitmap(
        width_, height_, [&](int row) { return pixels + stride * static_cast<size_t>(row); },
        [&](const void* data, size_t size) {
            DWORD done = 0;
            if (WriteFile(file.get(), data, static_cast<DWORD>(size), &done, nullptr) && done == size) return true;
            failure = GetLastError();
            if (failure == ERROR_SUCCESS) failure = ERROR_DISK_FULL;  // a short write without an error
            return false;
        });
    if (written && !CloseHandle(file.release())) {
        written = false;
        failure = GetLastError();
    }
    if (!written) {
        file.reset();
        // A half-written bitmap is worse than none: another program might hang it.
        DeleteFileA(path.c_str());
        SetError(error, ErrorDescription(failure));
        return false;
    }
    return true;
}

}  // namespace platform
