#include "InspectorHarness.h"

#include <shlobj.h>

#include <fstream>
#include <sstream>

namespace inspector_test {

TestClipboard::TestClipboard() {
    owner_ = CreateWindowExA(0, "STATIC", "clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
}

TestClipboard::~TestClipboard() {
    Empty();
    if (owner_) DestroyWindow(owner_);
}

bool TestClipboard::Open() {
    const bool add = addNext_;
    addNext_ = false;
    // Another process (the system's clipboard keeper) may hold it for a moment.
    for (int tries = 0; tries < 50; ++tries) {
        if (OpenClipboard(owner_)) {
            if (!add) EmptyClipboard();
            return true;
        }
        Sleep(20);
    }
    ADD_FAILURE() << "the clipboard could not be opened";
    return false;
}

namespace {
HGLOBAL GlobalCopy(const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
    return memory;
}
HBITMAP MakeBitmap(int width, int height, COLORREF color) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT r{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}
}  // namespace

void TestClipboard::Empty() {
    if (Open()) CloseClipboard();
}

void TestClipboard::PutText(const std::string& text) {
    if (!Open()) return;
    SetClipboardData(CF_TEXT, GlobalCopy(text.c_str(), text.size() + 1));
    CloseClipboard();
}

void TestClipboard::PutRegistered(const char* formatName, const std::string& bytes) {
    if (!Open()) return;
    SetClipboardData(RegisterClipboardFormatA(formatName), GlobalCopy(bytes.data(), bytes.size()));
    CloseClipboard();
}

void TestClipboard::PutBitmap(int width, int height, COLORREF color) {
    if (!Open()) return;
    SetClipboardData(CF_BITMAP, MakeBitmap(width, height, color));
    CloseClipboard();
}

void TestClipboard::PutTextAndBitmap(const std::string& text, int width, int height) {
    if (!Open()) return;
    SetClipboardData(CF_TEXT, GlobalCopy(text.c_str(), text.size() + 1));
    SetClipboardData(CF_BITMAP, MakeBitmap(width, height, RGB(40, 120, 200)));
    CloseClipboard();
}

void TestClipboard::PutDib(int width, int height) {
    const int stride = ((width * 3) + 3) & ~3;
    std::string bytes(sizeof(BITMAPINFOHEADER) + stride * height, '\x60');
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    memcpy(bytes.data(), &header, sizeof header);
    if (!Open()) return;
    SetClipboardData(CF_DIB, GlobalCopy(bytes.data(), bytes.size()));
    CloseClipboard();
}

void TestClipboard::PutFiles(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& path : paths) names += path + '\0';
    names += '\0';
    std::string bytes(sizeof(DROPFILES), '\0');
    auto* drop = reinterpret_cast<DROPFILES*>(bytes.data());
    drop->pFiles = sizeof(DROPFILES);
    bytes += names;
    if (!Open()) return;
    SetClipboardData(CF_HDROP, GlobalCopy(bytes.data(), bytes.size()));
    CloseClipboard();
}

void TestClipboard::PutEnhMetafile(int width, int height) {
    HDC screen = GetDC(nullptr);
    // The frame in 0.01 mm, from the screen's own measures.
    RECT frame{0, 0, MulDiv(width, GetDeviceCaps(screen, HORZSIZE) * 100, GetDeviceCaps(screen, HORZRES)),
               MulDiv(height, GetDeviceCaps(screen, VERTSIZE) * 100, GetDeviceCaps(screen, VERTRES))};
    HDC dc = CreateEnhMetaFileA(screen, nullptr, &frame, nullptr);
    ReleaseDC(nullptr, screen);
    HBRUSH brush = CreateSolidBrush(RGB(200, 30, 30));
    RECT r{0, 0, width, height};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    if (!Open()) {
        DeleteEnhMetaFile(metafile);
        return;
    }
    SetClipboardData(CF_ENHMETAFILE, metafile);
    CloseClipboard();
}

void TestClipboard::PutOldMetafile(int widthHimetric, int heightHimetric) {
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowExtEx(dc, 100, 100, nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(20, 160, 20));
    RECT r{0, 0, 100, 100};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    HMETAFILE metafile = CloseMetaFile(dc);
    METAFILEPICT picture{MM_ANISOTROPIC, widthHimetric, heightHimetric, metafile};
    if (!Open()) {
        DeleteMetaFile(metafile);
        return;
    }
    SetClipboardData(CF_METAFILEPICT, GlobalCopy(&picture, sizeof picture));
    CloseClipboard();
}

void TestClipboard::PutPalette() {
    struct {
        LOGPALETTE header;
        PALETTEENTRY more[1];
    } palette{{0x300, 2, {{255, 0, 0, 0}}}, {{0, 0, 255, 0}}};
    if (!Open()) return;
    SetClipboardData(CF_PALETTE, CreatePalette(&palette.header));
    CloseClipboard();
}

void Inspector::SetUp() {
    paste_inspector::ResetFileDialogMemory();
    saveSeam_ = std::make_unique<platform::ScopedSeam<std::function<BOOL(OPENFILENAMEA*)>>>(
        paste_inspector::seams::GetSaveFileNameA, [this](OPENFILENAMEA* record) -> BOOL {
            DialogCall call;
            const char* end = record->lpstrFilter;
            while (*end || *(end + 1)) ++end;
            call.filter.assign(record->lpstrFilter, end + 1 - record->lpstrFilter);
            call.filterIndex = record->nFilterIndex;
            call.initialDir = record->lpstrInitialDir ? record->lpstrInitialDir : "";
            call.title = record->lpstrTitle ? record->lpstrTitle : "";
            call.flags = record->Flags;
            call.structSize = record->lStructSize;
            dialogs.push_back(call);
            if (answers_.empty() || answers_.front().empty()) {
                if (!answers_.empty()) answers_.erase(answers_.begin());
                return FALSE;
            }
            std::string path = answers_.front();
            answers_.erase(answers_.begin());
            lstrcpynA(record->lpstrFile, path.c_str(), static_cast<int>(record->nMaxFile));
            record->nFileOffset = static_cast<WORD>(path.find_last_of('\\') + 1);
            return TRUE;
        });
    clipboard.Empty();
}

void Inspector::TearDown() {
    if (form && form->IsLoaded()) form->Unload();
    form.reset();
    saveSeam_.reset();
    testing_support::PumpMessages();
}

void Inspector::Open() {
    form = std::make_unique<paste_inspector::MainForm>();
    form->Show();
    testing_support::PumpMessages();
}

void Inspector::Click(platform::MenuItem& item) {
    SendMessageA(form->hWnd(), WM_COMMAND, MAKEWPARAM(item.Id(), 0), 0);
    testing_support::PumpMessages();
}

void Inspector::PressKey(HWND focus, int key, bool control) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SetFocus(focus);
    MSG msg{focus, WM_KEYDOWN, static_cast<WPARAM>(key), 1, 0, {}};
    // The program's message loop: the dialog navigation sees every key first.
    if (!IsDialogMessageA(form->hWnd(), &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    testing_support::PumpMessages();
}

std::string Inspector::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

}  // namespace inspector_test
