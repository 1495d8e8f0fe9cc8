#include "common/BrowseForFolder_.h"

#include <cstring>

#include "platform/Text.h"

namespace common {

namespace seams {
std::function<PIDLIST_ABSOLUTE(BROWSEINFOA*)> SHBrowseForFolderA = [](BROWSEINFOA* info) {
    return ::SHBrowseForFolderA(info);
};
}  // namespace seams

int CALLBACK BrowseCallbackProc(HWND window, UINT message, LPARAM /*lParam*/, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) {
        const char* start = reinterpret_cast<const char*>(data);
        std::string folder(static_cast<size_t>(lstrlenA(start)), '\0');
        lstrcpyA(folder.data(), start);
        SendMessageA(window, BFFM_SETSELECTIONA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(folder.c_str()));
    }
    return 0;
}

std::string BrowseForFolder(HWND window, const std::string& prompt, const std::string& startFolder) {
    HLOCAL start = nullptr;
    if (!startFolder.empty()) {
        start = LocalAlloc(LPTR, startFolder.size() + 1);
        if (start) std::memcpy(start, startFolder.c_str(), startFolder.size());
    }
    BROWSEINFOA info{};
    info.hwndOwner = window;
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &BrowseCallbackProc;
    info.lParam = reinterpret_cast<LPARAM>(start);
    info.iImage = 0;

    std::string chosen;
    if (PIDLIST_ABSOLUTE list = seams::SHBrowseForFolderA(&info)) {
        // The ANSI call writes at most MAX_PATH bytes, fewer than a long path takes in UTF-8.
        wchar_t buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListW(list, buffer)) chosen = platform::FromWide(buffer);
        CoTaskMemFree(list);
    }
    if (start) LocalFree(start);
    return chosen;
}

}  // namespace common
