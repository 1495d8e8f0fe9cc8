#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

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
