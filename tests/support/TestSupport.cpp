#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/Handles.h"

namespace testing_support {

namespace {
// Message boxes that no test expected fail the test instead of waiting for a click.
int UnexpectedBox(const platform::MsgBoxCall& call) {
    ADD_FAILURE() << "unexpected message box: " << call.text;
    return (call.flags & 0xF) == MB_YESNO ? IDNO : IDOK;
}
}  // namespace

void InstallUnexpectedBoxGuard() { platform::SetMsgBoxHook(UnexpectedBox); }

MsgBoxRecorder::MsgBoxRecorder() {
    platform::SetMsgBoxHook([this](const platform::MsgBoxCall& call) {
        calls_.push_back(call);
        if (!answers_.empty()) {
            int answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        return (call.flags & 0xF) == MB_YESNO ? IDYES : IDOK;
    });
}

MsgBoxRecorder::~MsgBoxRecorder() { InstallUnexpectedBoxGuard(); }

bool RegValueExists(HKEY root, const std::string& key, const std::string& name) {
    platform::RegKey handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, handle.put()) != ERROR_SUCCESS) return false;
    return RegQueryValueExA(handle.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string RegString(HKEY root, const std::string& key, const std::string& name) {
    platform::RegKey handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, handle.put()) != ERROR_SUCCESS) return "<no key>";
    char buffer[4096] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    if (RegQueryValueExA(handle.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return "<no value>";
    return std::string(buffer);
}

void RegSetString(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
    platform::RegKey handle;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, handle.put(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(handle.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

void RegSetDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
    platform::RegKey handle;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, handle.put(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(handle.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void RegDeleteTree(HKEY root, const std::string& key) { RegDeleteTreeA(root, key.c_str()); }

TempFolder::TempFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "sorvita-" + name + "-" + std::to_string(GetCurrentProcessId());
    DeleteTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { DeleteTree(path_); }

void WriteFile(const std::string& path, const std::string& contents) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ::WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
}

void WriteBmp(const std::string& path, int width, int height, COLORREF color) {
    const int rowSize = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(rowSize * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    std::string row(static_cast<size_t>(rowSize), '\0');
    for (int x = 0; x < width; ++x) {
        row[x * 3] = static_cast<char>(GetBValue(color));
        row[x * 3 + 1] = static_cast<char>(GetGValue(color));
        row[x * 3 + 2] = static_cast<char>(GetRValue(color));
    }
    for (int y = 0; y < height; ++y) bytes += row;
    testing_support::WriteFile(path, bytes);
}

void DeleteTree(const std::string& path) {
    std::string from = path + std::string(1, '\0');  // double NUL-terminated list
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

std::string WinePath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string WinePathFromEnv(const char* variable) {
    const char* value = getenv(variable);
    return value ? WinePath(value) : std::string();
}

long RunProgram(const std::string& exe, const std::string& arguments, unsigned long timeoutMs) {
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    platform::UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<long>(code);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::wstring Utf16(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(std::max(length, 0)));
    return wide;
}

std::wstring RegStringW(HKEY root, const std::string& key, const std::string& name) {
    platform::RegKey handle;
    if (RegOpenKeyExW(root, Utf16(key).c_str(), 0, KEY_QUERY_VALUE, handle.put()) != ERROR_SUCCESS) return L"<none>";
    wchar_t buffer[2048] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegQueryValueExW(handle.get(), Utf16(name).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS)
        return L"<none>";
    return buffer;
}

std::wstring WindowTextW(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())), 0)));
    return text;
}

int InkWidth(HDC dc, const RECT& area, COLORREF background, bool greyOnly) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, dc, area.left, area.top, SRCCOPY);
    GdiFlush();
    int first = width, last = -1;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const DWORD pixel = pixels[y * width + x];
            const BYTE blue = pixel & 0xFF, green = (pixel >> 8) & 0xFF, red = (pixel >> 16) & 0xFF;
            if (RGB(red, green, blue) == background || (greyOnly && (red != green || green != blue))) continue;
            first = std::min(first, x);
            last = std::max(last, x);
        }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(copy);
    return last < first ? 0 : last - first + 1;
}

int UnicodeInkWidth(HFONT font, const std::wstring& text, bool greyOnly) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 2000, 100);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT area{0, 0, 2000, 100};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 10, 10, text.data(), static_cast<int>(text.size()));
    const int width = InkWidth(dc, area, RGB(255, 255, 255), greyOnly);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return width;
}

namespace other_program {

namespace {
long RunStandin(const std::string& arguments) {
    const std::string exe = WinePathFromEnv("SORVITA_CLIPBOARD_STANDIN");
    if (exe.empty()) ADD_FAILURE() << "SORVITA_CLIPBOARD_STANDIN is not set";
    return exe.empty() ? -1 : RunProgram(exe, arguments, 20000);
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}
}  // namespace

bool PutUnicodeText(const std::string& text) { return RunStandin("put-unicode " + Hex(text)) == 0; }

bool PutBytes(const std::string& format, LCID locale, const std::string& bytes) {
    char lcid[16] = "-";
    if (locale) snprintf(lcid, sizeof lcid, "%lx", static_cast<unsigned long>(locale));
    return RunStandin("put \"" + format + "\" " + lcid + " " + Hex(bytes)) == 0;
}

bool ReadUnicodeText(std::wstring& text) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "sorvita-standin-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(file.c_str());
    if (RunStandin("read-unicode \"" + file + "\"") != 0) return false;
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    text.assign(GetFileSize(handle, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ReadFile(handle, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(handle);
    DeleteFileA(file.c_str());
    return read == text.size() * sizeof(wchar_t);
}

}  // namespace other_program

void Settle(unsigned long ms) {
    const DWORD start = GetTickCount();
    do {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
    PumpMessages();
}

ScreenShot CaptureWindow(HWND hwnd) {
    Settle();
    ScreenShot shot;
    RECT window{}, r{};
    GetWindowRect(hwnd, &window);
    // Only what lies on the screen: a maximised window's frame reaches past its edges.
    const RECT screenArea{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&r, &window, &screenArea);
    shot.width = r.right - r.left;
    shot.height = r.bottom - r.top;
    if (shot.width <= 0 || shot.height <= 0) return shot;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* words = static_cast<const DWORD*>(bits);
    shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
    for (size_t i = 0; i < shot.pixels.size(); ++i)
        shot.pixels[i] = RGB((words[i] >> 16) & 0xFF, (words[i] >> 8) & 0xFF, words[i] & 0xFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

::testing::AssertionResult ShowsWhatARepaintShows(HWND hwnd) {
    const ScreenShot shown = CaptureWindow(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const ScreenShot repainted = CaptureWindow(hwnd);
    if (shown.width != repainted.width || shown.height != repainted.height)
        return ::testing::AssertionFailure() << "the window changed size while it was repainted";
    size_t differing = 0;
    int firstX = -1, firstY = -1;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (shown.At(x, y) != repainted.At(x, y) && differing++ == 0) {
                firstX = x;
                firstY = y;
            }
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ from a full repaint, the first at (" << firstX
                                         << ", " << firstY << ") of " << shown.width << " x " << shown.height;
}

namespace {

struct TopWindowSearch {
    const std::string* caption;
    DWORD processId;
    TopWindows found;
};

BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<TopWindowSearch*>(data);
    char caption[256] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (IsWindowVisible(hwnd) && *search->caption == caption) {
        search->found.all.push_back(hwnd);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == search->processId) search->found.mine = hwnd;
    }
    return TRUE;
}

}  // namespace

TopWindows FindTopWindows(const std::string& caption, DWORD processId) {
    TopWindowSearch search{&caption, processId, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LaunchProbes::LaunchProbes(const TempFolder& folder)
    : program_(WinePathFromEnv("SORVITA_PROBE_EXE")), log_(folder.File("starts.log")) {
    SetEnvironmentVariableA("SORVITA_PROBE_LOG", log_.c_str());
}

LaunchProbes::~LaunchProbes() { SetEnvironmentVariableA("SORVITA_PROBE_LOG", nullptr); }

bool LaunchProbes::Place(const std::string& path) {
    return !program_.empty() && CopyFileA(program_.c_str(), path.c_str(), FALSE);
}

std::vector<std::string> LaunchProbes::Starts(size_t count, unsigned long timeoutMs) {
    std::vector<std::string> starts;
    const DWORD begin = GetTickCount();
    for (;;) {
        starts.clear();
        std::string text;
        HANDLE file = CreateFileA(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char buffer[4096];
            DWORD read = 0;
            while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
            CloseHandle(file);
        }
        for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            starts.push_back(text.substr(at, end - at));
        if (starts.size() >= count || GetTickCount() - begin > timeoutMs) return starts;
        Sleep(50);
    }
}

FolderPickerScript::FolderPickerScript(std::vector<std::string> script)
    : answers_(script.begin(), script.end()), saved_(std::move(common::seams::SHBrowseForFolderA)) {
    common::seams::SHBrowseForFolderA = [this](BROWSEINFOA* info) -> PIDLIST_ABSOLUTE {
        prompts.push_back(info->lpszTitle ? info->lpszTitle : "");
        if (answers_.empty()) return nullptr;
        const std::string next = answers_.front();
        answers_.pop_front();
        return next.empty() ? nullptr : ILCreateFromPathA(next.c_str());
    };
}

FolderPickerScript::~FolderPickerScript() { common::seams::SHBrowseForFolderA = std::move(saved_); }

}  // namespace testing_support
