#include "paste_inspector/MainForm.h"

#include <commctrl.h>

#include <cmath>

#include "common/About.h"
#include "paste_inspector/CommonDialogFile_.h"
#include "paste_inspector/InspectorRules_.h"
#include "picture_browser/PaneGeometry_.h"
#include "platform/App.h"
#include "platform/Clipboard.h"
#include "platform/MsgBox.h"
#include "platform/Text.h"

namespace paste_inspector {

namespace {

// Save failures are modal to the program only.
constexpr unsigned kMsgSaveWarning = MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND;
constexpr UINT_PTR kKeyPreviewId = 0x5049;
// A metafile is drawn into a bitmap no larger than this on either side.
constexpr long kLargestMetafilePixels = 8192;

// The multi-line text box wraps its lines, so it leaves out the single-line box's
// horizontal auto-scroll.
class ClipboardTextBox : public platform::TextBox {
public:
    static void CreateIn(platform::TextBox& box, platform::Form& form) {
        static_cast<ClipboardTextBox&>(box).Control::Create(
            form, "EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, WS_EX_CLIENTEDGE, "",
            0, 0, 0, 0);
    }
};

// Opens the clipboard for the window and closes it again on every way out.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

// The text of one of the text formats as ours, from the open clipboard. Other programs
// write rich text and links in their ANSI code page; rich text may name its own.
std::string DecodedText(int format) {
    if (format == vbCFText) return platform::ClipboardText();
    const std::string bytes = platform::ClipboardBytes(ClipboardFormatOf(format));
    if (format == vbCFRTF) {
        const std::string markup = ClipboardText(bytes.data(), bytes.size());
        UINT codePage = RtfCodePage(markup);
        if (codePage == 0 || !IsValidCodePage(codePage)) codePage = platform::ClipboardAnsiCodePage();
        return platform::FromCodePage(markup, codePage);
    }
    const std::string link = platform::FromCodePage(bytes, platform::ClipboardAnsiCodePage());
    return DdeLinkText(link.data(), link.size());
}

// The metafile drawn on white at the size it was made for.
platform::Picture DrawMetafile(HENHMETAFILE metafile) {
    ENHMETAHEADER header{};
    if (!metafile || !GetEnhMetaFileHeader(metafile, sizeof header, &header)) return {};
    long width = header.rclBounds.right - header.rclBounds.left + 1;
    long height = header.rclBounds.bottom - header.rclBounds.top + 1;
    if (header.szlMillimeters.cx > 0 && header.szlMillimeters.cy > 0) {
        long frameWidth = header.rclFrame.right - header.rclFrame.left;
        long frameHeight = header.rclFrame.bottom - header.rclFrame.top;
        if (frameWidth > 0 && frameHeight > 0) {
            width =
                std::lround(frameWidth * static_cast<double>(header.szlDevice.cx) / (header.szlMillimeters.cx * 100.0));
            height = std::lround(frameHeight * static_cast<double>(header.szlDevice.cy) /
                                 (header.szlMillimeters.cy * 100.0));
        }
    }
    if (width <= 0 || height <= 0 || width > kLargestMetafilePixels || height > kLargestMetafilePixels) return {};
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    platform::Picture picture;
    if (dc && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT area{0, 0, width, height};
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        PlayEnhMetaFile(dc, metafile, &area);
        SelectObject(dc, old);
        picture = platform::Picture::FromBitmap(bitmap);
    }
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    return picture;
}

// A Windows metafile from the clipboard, as an enhanced metafile of its own.
HENHMETAFILE ConvertOldMetafile(HANDLE data) {
    auto* picture = static_cast<METAFILEPICT*>(data ? GlobalLock(data) : nullptr);
    if (!picture) return nullptr;
    HENHMETAFILE converted = nullptr;
    UINT size = GetMetaFileBitsEx(picture->hMF, 0, nullptr);
    if (size > 0) {
        std::string bits(size, '\0');
        if (GetMetaFileBitsEx(picture->hMF, size, bits.data()) == size)
            converted = SetWinMetaFileBits(size, reinterpret_cast<const BYTE*>(bits.data()), nullptr, picture);
    }
    GlobalUnlock(data);
    return converted;
}

}  // namespace

UINT ClipboardFormatOf(int code) {
    switch (code) {
        case vbCFRTF:
            return RegisterClipboardFormatA("Rich Text Format");
        case vbCFLink:
            return RegisterClipboardFormatA("Link");
        case vbCFText:
            return CF_TEXT;
        case vbCFBitmap:
            return CF_BITMAP;
        case vbCFMetafile:
            return CF_METAFILEPICT;
        case vbCFDIB:
            return CF_DIB;
        case vbCFPalette:
            return CF_PALETTE;
        case vbCFEMetafile:
            return CF_ENHMETAFILE;
        case vbCFFiles:
            return CF_HDROP;
        default:
            return 0;
    }
}

bool ClipboardHas(int code) {
    if (code == vbCFText) return platform::ClipboardHasText();
    UINT format = ClipboardFormatOf(code);
    return format != 0 && IsClipboardFormatAvailable(format);
}

MainForm::~MainForm() { ReleaseMetafile(); }

platform::FormStyle MainForm::Style() const {
    platform::FormStyle style;
    style.style = WS_OVERLAPPEDWINDOW;
    style.width = 7200;
    style.height = 5400;
    style.caption = platform::App().Title;
    return style;
}

void MainForm::Form_Load() {
    SetCaption(platform::App().Title);
    ClipboardTextBox::CreateIn(txtClipboard, *this);
    Pane.Create(*this, 0, 0, ScaleWidth(), ScaleHeight());
    Pane.NormalMode = !BestFitDisplay;
    for (platform::ScrollBar* bar : {&Pane.GraphicHScroll, &Pane.GraphicVScroll}) {
        double factor = bar == &Pane.GraphicHScroll ? platform::TwipsPerPixelX() : platform::TwipsPerPixelY();
        bar->SmallChange = picture_browser::SmallScrollStep(factor);
        bar->LargeChange = picture_browser::LargeScrollStep(factor);
    }
    // A double-click switches the layout, with or without a picture.
    Pane.Pic.DblClick = [this] { mnuPicDisplay_Click(); };
    Pane.Image1.DblClick = [this] { mnuPicDisplay_Click(); };
    for (platform::Control* control : std::initializer_list<platform::Control*>{
             &txtClipboard, &Pane.GraphicCorner, &Pane.GraphicHScroll, &Pane.GraphicVScroll, &Pane.Pic, &Pane.Image1})
        PreviewKeysOf(*control);

    mnuFile.Create(*this, "&File");
    mnuTextSave.Create(mnuFile, "Save &Text\tCtrl+T");
    mnuPicSave.Create(mnuFile, "Save &Graphic\tCtrl+G");
    zsep0.Create(mnuFile, "-");
    mnuFileExit.Create(mnuFile, "E&xit");
    mnuPicDisplay.Create(*this, PicDisplayCaption(BestFitDisplay));
    mnuClearClipboard.Create(*this, "&Clear Clipboard");
    mnuAbout.Create(*this, "About");
    mnuExit.Create(*this, "x");
    mnuTextSave.Click = [this] { mnuTextSave_Click(); };
    mnuPicSave.Click = [this] { mnuPicSave_Click(); };
    mnuFileExit.Click = [this] { mnuExit_Click(); };
    mnuPicDisplay.Click = [this] { mnuPicDisplay_Click(); };
    mnuClearClipboard.Click = [this] { mnuClearClipboard_Click(); };
    mnuAbout.Click = [this] { mnuAbout_Click(); };
    mnuExit.Click = [this] { mnuExit_Click(); };
    mnuFileExit.SetCaption(mnuFileExit.Caption() + "\tEsc");

    tmrClipboard.Create(*this, 3000, true);
    tmrClipboard.Tick = [this] { RefreshFromClipboard(); };
    Form_Resize();
    RefreshFromClipboard();
}

void MainForm::Form_DpiChanged() { Pane.DpiChanged(); }

void MainForm::Form_Resize() {
    if (!txtClipboard.hWnd() || Minimized()) return;
    const int width = ScaleWidth(), height = ScaleHeight();
    txtClipboard.Move(0, 0, width, TextBoxHeight(height));
    InspectorLayout layout =
        PaneBelowText(height, txtClipboard.Height(), static_cast<int>(std::lround(platform::TwipsPerPixelY())));
    if (layout.PicHeight >= 0) Pane.Pic.Move(0, layout.PicTop, width, layout.PicHeight);
}

void MainForm::Form_Unload() {
    tmrClipboard.SetEnabled(false);
    Pane.SetPicture({});
    ReleaseMetafile();
}

void MainForm::RefreshFromClipboard() {
    ShowClipboardText();
    ShowClipboardPicture();
    mnuTextSave.SetEnabled(!txtClipboard.Text().empty());
    mnuPicSave.SetEnabled(Pane.PictureLoaded());
    mnuClearClipboard.SetEnabled(FirstFormatPresent(kClearFormats, ClipboardHas) != 0);
}

void MainForm::ShowClipboardText() {
    int format = FirstFormatPresent(kTextFormats, ClipboardHas);
    if (format == vbCFFiles) {
        txtClipboard.SetText(kShellFileObject);
        return;
    }
    std::string text;
    if (format != 0) {
        OpenedClipboard clipboard(hWnd());
        if (clipboard.IsOpen()) text = DecodedText(format);
    }
    txtClipboard.SetText(text);
}

void MainForm::ShowClipboardPicture() {
    if (!BestFitDisplay) Pane.ResetPicDisplay(true);
    Pane.SetPicture({});
    ReleaseMetafile();
    int format = FirstFormatPresent(kPictureFormats, ClipboardHas);
    if (format == 0 && BestFitDisplay) {
        Pane.ResetPicDisplay(true);
        return;
    }
    LoadClipboardPicture(format);
    // The picture's own size, whatever size the last layout gave Image1; no picture has none,
    // so that an empty pane shows no scroll bars.
    Pane.SetStretch(false);
    if (!Pane.PictureLoaded()) Pane.Image1.Move(Pane.Image1.Left(), Pane.Image1.Top(), 0, 0);
    Pane.PicWidth = Pane.Image1.Width();
    Pane.PicHeight = Pane.Image1.Height();
    Pane.NormalMode = !BestFitDisplay;
    Pane.ShowByMode();
}

void MainForm::LoadClipboardPicture(int format) {
    OpenedClipboard clipboard(hWnd());
    if (!clipboard.IsOpen()) return;
    switch (format) {
        case vbCFBitmap:
        case vbCFDIB:
            // The system gives a device-independent bitmap as a bitmap too.
            Pane.SetPicture(platform::Picture::FromBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))));
            break;
        case vbCFEMetafile:
            metafile_ = CopyEnhMetaFileA(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)), nullptr);
            break;
        case vbCFMetafile:
            // The system's own enhanced form of the metafile, when it offers one, is kept by the
            // clipboard; converting it ourselves costs Wine a GDI object each time.
            if (IsClipboardFormatAvailable(CF_ENHMETAFILE))
                metafile_ = CopyEnhMetaFileA(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)), nullptr);
            if (!metafile_) metafile_ = ConvertOldMetafile(GetClipboardData(CF_METAFILEPICT));
            oldMetafile_ = metafile_ != nullptr;
            break;
        default:
            // A palette alone is no picture.
            break;
    }
    if (metafile_) {
        platform::Picture drawn = DrawMetafile(metafile_);
        if (drawn.Empty()) ReleaseMetafile();
        Pane.SetPicture(std::move(drawn));
    }
}

void MainForm::ReleaseMetafile() {
    if (metafile_) DeleteEnhMetaFile(metafile_);
    metafile_ = nullptr;
    oldMetafile_ = false;
}

void MainForm::mnuTextSave_Click() {
    long filterIndex = 0;
    std::string path =
        SaveFileDialog(hWnd(), std::string(kTextFilter, sizeof kTextFilter - 1), filterIndex, "", "", kSaveTextTitle);
    if (path.empty()) return;
    path = WithExtension(path, ".txt");
    // Our text, UTF-8, holds whatever the box shows, where a Western code page would lose
    // all it cannot spell; text in plain ASCII is the same bytes either way. No byte-order
    // mark, which would be the one difference.
    std::string text = txtClipboard.Text() + platform::vbCrLf;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = 0;
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
    } else {
        DWORD written = 0;
        if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) error = GetLastError();
        if (!CloseHandle(file) && !error) error = GetLastError();
    }
    if (error) platform::MsgBox(SaveErrorText(path, platform::ErrorDescription(error)), kMsgSaveWarning);
}

void MainForm::mnuPicSave_Click() {
    long filterIndex = 0;
    std::string path = SaveFileDialog(hWnd(), std::string(kBitmapFilter, sizeof kBitmapFilter - 1), filterIndex, "", "",
                                      kSaveGraphicTitle);
    if (path.empty()) return;
    SavePicture(WithExtension(path, ".bmp"));
}

void MainForm::SavePicture(const std::string& path) {
    std::string error;
    if (metafile_) {
        // A metafile keeps its own form, under the name chosen.
        HENHMETAFILE saved = CopyEnhMetaFileA(metafile_, path.c_str());
        if (saved)
            DeleteEnhMetaFile(saved);
        else
            error = platform::ErrorDescription(GetLastError());
    } else if (!Pane.Picture().SaveAsBitmapFile(path, &error) && error.empty()) {
        error = platform::ErrorDescription(ERROR_WRITE_FAULT);
    }
    if (!error.empty()) platform::MsgBox(SaveErrorText(path, error), kMsgSaveWarning);
}

void MainForm::mnuPicDisplay_Click() {
    BestFitDisplay = mnuPicDisplay.Caption() == kBestFitCaption;
    mnuPicDisplay.SetCaption(PicDisplayCaption(BestFitDisplay));
    Pane.NormalMode = !BestFitDisplay;
    if (Pane.PictureLoaded()) {
        Pane.ResetPicDisplay(true);
        Pane.ShowByMode();
    }
}

void MainForm::mnuClearClipboard_Click() {
    {
        OpenedClipboard clipboard(hWnd());
        if (clipboard.IsOpen()) EmptyClipboard();
    }
    RefreshFromClipboard();
}

void MainForm::mnuAbout_Click() { common::ShowAboutMessage(); }

void MainForm::mnuExit_Click() { Unload(); }

bool MainForm::Form_KeyDown(int key, bool control) {
    if (key == VK_ESCAPE) {
        Unload();
        return true;
    }
    if (control && key == 'T') {
        if (mnuTextSave.Enabled()) mnuTextSave_Click();
        return true;
    }
    if (control && key == 'G') {
        if (mnuPicSave.Enabled()) mnuPicSave_Click();
        return true;
    }
    return false;
}

void MainForm::PreviewKeysOf(platform::Control& control) {
    SetWindowSubclass(control.hWnd(), KeyPreviewProc, kKeyPreviewId, reinterpret_cast<DWORD_PTR>(this));
}

// The window's keys reach the window whichever control has the focus: the control
// claims them from the dialog navigation and hands them over.
LRESULT CALLBACK MainForm::KeyPreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
    auto* form = reinterpret_cast<MainForm*>(data);
    auto isFormKey = [](WPARAM key) {
        return key == VK_ESCAPE || ((key == 'T' || key == 'G') && GetKeyState(VK_CONTROL) < 0);
    };
    switch (message) {
        case WM_GETDLGCODE: {
            auto* msg = reinterpret_cast<const MSG*>(lParam);
            LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
            if (msg && msg->message == WM_KEYDOWN && isFormKey(msg->wParam)) code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
            if (isFormKey(wParam) && form->Form_KeyDown(static_cast<int>(wParam), GetKeyState(VK_CONTROL) < 0))
                return 0;
            break;
        case WM_CHAR:
            // The characters of the window's keys (Esc, Ctrl+T, Ctrl+G) would only beep.
            if (wParam == 0x1B || wParam == 0x14 || wParam == 0x07) return 0;
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, KeyPreviewProc, kKeyPreviewId);
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT MainForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            if (Form_KeyDown(static_cast<int>(wParam), GetKeyState(VK_CONTROL) < 0)) return 0;
            break;
        case WM_COMMAND:
            // Esc turned into Cancel by the dialog navigation.
            if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
                Unload();
                return 0;
            }
            break;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace paste_inspector
