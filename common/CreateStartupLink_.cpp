#include "common/CreateStartupLink_.h"

#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/MsgBox.h"
#include "platform/Text.h"

namespace common {

namespace seams {
std::function<HMODULE(const char*)> LoadLibraryA = [](const char* name) { return ::LoadLibraryA(name); };
std::function<HRESULT(HWND, int, PIDLIST_ABSOLUTE*)> SHGetSpecialFolderLocation =
    [](HWND window, int code, PIDLIST_ABSOLUTE* list) { return ::SHGetSpecialFolderLocation(window, code, list); };
}  // namespace seams

namespace {

// The support library's functions, as it exports them.
using CreateShellFolderFunction = long(WINAPI*)(const char* folder);
using CreateShellLinkFunction = long(WINAPI*)(const char* folder, const char* link, const char* target,
                                               const char* arguments);
using RemoveShellLinkFunction = long(WINAPI*)(const char* folder, const char* link);

template <class Function>
Function Find(const platform::Library& library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library.get(), name)));
}

// The group name the support library expects; "StartUp" when the folder is unknown.
std::string StartupGroup(HWND window) {
    std::string name = GetSpecialFolder(window, kStartupFolderCode, false);
    return name.empty() ? kStartupGroupName : name;
}

std::string ProgramFile() {
    const platform::Application& app = platform::App();
    std::string target = app.Path;
    if (target.empty() || target.back() != '\\') target += "\\";
    return target + app.EXEName + ".exe";
}

// The library or a function in it could not be had: the system's error.
long SystemError() {
    DWORD code = GetLastError();
    return code ? static_cast<long>(code) : static_cast<long>(ERROR_MOD_NOT_FOUND);
}

}  // namespace

std::string GetSpecialFolder(HWND window, int code, bool fullPath) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(seams::SHGetSpecialFolderLocation(window, code, &list)) || !list) return "";
    // Wide, as in BrowseForFolder: the ANSI call has room for MAX_PATH bytes only.
    wchar_t buffer[MAX_PATH] = {};
    BOOL found = SHGetPathFromIDListW(list, buffer);
    CoTaskMemFree(list);
    if (!found) return "";
    std::string path = platform::FromWide(buffer);
    if (path.empty() || fullPath) return path;
    return LastPathComponent(path);
}

bool CreateStartupShortcut(HWND window) {
    long error = 0;
    std::string group = StartupGroup(window);
    platform::Library library(seams::LoadLibraryA(kSupportLibrary));
    auto createFolder = library ? Find<CreateShellFolderFunction>(library, "fCreateShellFolder") : nullptr;
    auto createLink = library ? Find<CreateShellLinkFunction>(library, "fCreateShellLink") : nullptr;
    if (!createFolder || !createLink)
        error = SystemError();
    else if (createFolder(group.c_str()) == 0)
        error = kErrStartupGroup;
    else if (createLink(group.c_str(), platform::App().Title.c_str(), ProgramFile().c_str(), "") == 0)
        error = kErrShortcut;
    if (error == 0) return true;
    ReportStartupShortcutError(error, true);
    return false;
}

bool RemoveStartupShortcut(HWND window) {
    long error = 0;
    std::string group = StartupGroup(window);
    platform::Library library(seams::LoadLibraryA(kSupportLibrary));
    auto removeLink = library ? Find<RemoveShellLinkFunction>(library, "fRemoveShellLink") : nullptr;
    if (!removeLink)
        error = SystemError();
    else if (removeLink(group.c_str(), platform::App().Title.c_str()) == 0)
        error = kErrShortcut;
    if (error == 0) return true;
    ReportStartupShortcutError(error, false);
    return false;
}

void ReportStartupShortcutError(long code, bool create) {
    std::string description;
    if (code != kErrShortcut && code != kErrStartupGroup)
        description = platform::ErrorDescription(static_cast<unsigned long>(code));
    platform::MsgBox(StartupShortcutErrorText(code, create, platform::App().Title, description), platform::kMsgWarning);
}

}  // namespace common
