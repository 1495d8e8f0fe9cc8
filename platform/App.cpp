#include "platform/App.h"

#include <windows.h>

#include "platform/Handles.h"
#include "platform/Text.h"

namespace platform {

namespace {

Application ReadIdentity() {
    Application app;
    // Wide: an ANSI buffer of MAX_PATH characters' worth of bytes holds fewer of them in UTF-8.
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
    std::string full = FromWide(std::wstring_view(buffer, length));
    size_t slash = full.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? "" : full.substr(0, slash);
    std::string file = slash == std::string::npos ? full : full.substr(slash + 1);
    if (folder.size() == 2 && folder[1] == ':') folder += "\\";
    size_t dot = file.find_last_of('.');
    app.Path = folder;
    app.EXEName = dot == std::string::npos ? file : file.substr(0, dot);
    app.Extension = dot == std::string::npos ? "" : file.substr(dot);
    app.Title = app.EXEName;
    return app;
}

bool busyPointer = false;

}  // namespace

Application& App() {
    static Application app = ReadIdentity();
    return app;
}

void SetAppVersion(int major, int minor, int revision, const std::string& legalCopyright) {
    App().Major = major;
    App().Minor = minor;
    App().Revision = revision;
    App().LegalCopyright = legalCopyright;
}

bool Application::PrevInstance() {
    static UniqueHandle marker;
    static bool another = false;
    static std::string claimedFor;
    if (claimedFor != Title) {
        std::string title = Title;
        for (char& c : title)
            if (c == '\\') c = '/';  // a backslash would name a namespace
        std::string name = "Local\\Sorvita instance " + title;
        SetLastError(0);
        marker.reset(CreateMutexA(nullptr, FALSE, name.c_str()));
        another = GetLastError() == ERROR_ALREADY_EXISTS;
        claimedFor = Title;
    }
    return another;
}

int SystemDpi() {
    // Fixed for the program's life: a per-monitor aware program is told of changes per window.
    static const int dpi = [] {
        ScreenDC dc;
        const int logical = GetDeviceCaps(dc.get(), LOGPIXELSY);
        return logical > 0 ? logical : 96;
    }();
    return dpi;
}

double TwipsPerPixelX() { return 1440.0 / SystemDpi(); }
double TwipsPerPixelY() { return 1440.0 / SystemDpi(); }
double ScreenWidthTwips() { return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX(); }
double ScreenHeightTwips() { return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY(); }

void SetBusyPointer(bool busy) {
    busyPointer = busy;
    SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool IsBusyPointer() { return busyPointer; }

std::string ErrorDescription(unsigned long errorCode) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, errorCode, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string description;
    if (length && text) {
        description.assign(text, length);
        LocalFree(text);
    }
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r' || description.back() == ' '))
        description.pop_back();
    if (description.empty()) description = "Error " + std::to_string(errorCode) + ".";
    return description;
}

}  // namespace platform
