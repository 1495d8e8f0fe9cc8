#include "common/FileFolderFunctions_.h"

#include <windows.h>

#include "common/FFF.h"

namespace common {

std::vector<std::string> PicFiles(1);
std::vector<std::string> PicFolders(1);

long FindFiles(const std::string& Path, const std::string& FileSpec, bool SubsToo, bool CheckOnly) {
    // A fresh window per search; it is destroyed on leaving, without the unload that would
    // end the program when a search runs before any of its windows is loaded.
    FFF form;
    form.Load();
    return form.GFF_Proc(Path, FileSpec, SubsToo, CheckOnly);
}

namespace {

std::string Folder(UINT (WINAPI* get)(LPSTR, UINT), bool withBackslash) {
    char buffer[512];
    UINT length = get(buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return std::string();
    std::string folder(buffer, length);
    if (withBackslash && folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace

std::string WindowsFolder(bool withBackslash) { return Folder(GetWindowsDirectoryA, withBackslash); }

std::string SystemFolder(bool withBackslash) { return Folder(GetSystemDirectoryA, withBackslash); }

}  // namespace common
