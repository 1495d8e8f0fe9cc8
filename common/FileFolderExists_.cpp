#include "common/FileFolderExists_.h"

#include <windows.h>
#include <shlwapi.h>

#include "platform/Format.h"
#include "platform/Handles.h"

namespace common {

bool FileExists(const std::string& path) {
    if (platform::Trim(path).empty()) return false;
    WIN32_FIND_DATAA found;
    platform::FindHandle search(FindFirstFileA(path.c_str(), &found));
    return static_cast<bool>(search);
}

bool FolderExists(const std::string& path) {
    if (platform::Trim(path).empty()) return false;
    const std::string entry = path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
    if (FileExists(entry)) return true;
    // A drive's root ("D:\", "\\server\share\") has no entry to find: ask for the folder itself.
    const std::string root = entry + "\\";
    if (!PathIsRootA(root.c_str())) return false;
    const DWORD attributes = GetFileAttributesA(root.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace common
