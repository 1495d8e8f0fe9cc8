#include "ListBoxFinder.h"

#include <windows.h>
#include <winternl.h>

#include <cstdio>

#include "common/FFF.h"
#include "common/FileFolderExists_.h"
#include "common/FileFolderFunctions_.h"
#include "common/FolderWalk_.h"
#include "platform/Handles.h"

using common::PicFiles;
using common::PicFolders;
using common::UBound;
using common::WithBackslash;

namespace testing_support {

namespace {

constexpr unsigned kListFiles = DDL_READWRITE;
constexpr unsigned kListFolders = DDL_EXCLUSIVE | DDL_DIRECTORY;

}  // namespace

long ListBoxFinder::FindFiles(const std::string& Path, const std::string& FileSpec, bool SubsToo, bool CheckOnly) {
    ListBoxFinder form;
    form.Load();
    return form.GFF_Proc(Path, FileSpec, SubsToo, CheckOnly);
}

platform::FormStyle ListBoxFinder::Style() const {
    platform::FormStyle style;
    style.style = WS_POPUP;
    style.exStyle = WS_EX_TOOLWINDOW;
    style.caption = "ListBoxFinder";
    return style;
}

void ListBoxFinder::Form_Load() {
    List.Create(*this, 0, 0, 2400, 2400);
    SendMessageA(List.hWnd(), WM_SETREDRAW, FALSE, 0);
}

std::vector<std::string> ListBoxFinder::ListNames(const std::string& pathPattern, unsigned attributes) {
    List.Clear();
    SendMessageA(List.hWnd(), LB_DIR, attributes, reinterpret_cast<LPARAM>(pathPattern.c_str()));
    std::vector<std::string> names;
    const int count = List.ListCount();
    names.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) names.push_back(List.List(i));
    return names;
}

std::string ListBoxFinder::ShortPath(const std::string& longPath) {
    auto known = shortPaths_.find(longPath);
    if (known != shortPaths_.end()) return known->second;
    constexpr size_t kBufferSize = 512;
    std::string shortPath;
    const std::string folder = longPath.substr(0, longPath.size() - 1);
    const std::string::size_type cut = folder.rfind('\\');
    auto parent = cut == std::string::npos ? shortPaths_.end() : shortPaths_.find(folder.substr(0, cut + 1));
    WIN32_FIND_DATAA entry;
    platform::FindHandle search;
    if (parent != shortPaths_.end() && !parent->second.empty()) search.reset(FindFirstFileA(folder.c_str(), &entry));
    if (search) {
        shortPath = parent->second + (entry.cAlternateFileName[0] ? entry.cAlternateFileName : entry.cFileName) + "\\";
        if (shortPath.size() >= kBufferSize) shortPath.clear();
    } else {
        char buffer[kBufferSize];
        const DWORD length = GetShortPathNameA(longPath.c_str(), buffer, sizeof buffer);
        if (length != 0 && length < sizeof buffer) shortPath.assign(buffer, length);
    }
    shortPaths_.emplace(longPath, shortPath);
    return shortPath;
}

std::vector<std::string> ListBoxFinder::Subfolders(const std::string& folder) {
    std::vector<std::string> names;
    const std::string shortPath = ShortPath(WithBackslash(folder));
    if (shortPath.empty()) return names;
    for (const std::string& entry : ListNames(shortPath + "*.*", kListFolders)) {
        if (entry == "[..]" || entry == "[.]" || entry.size() < 3) continue;
        names.push_back(entry.substr(1, entry.size() - 2));
    }
    return names;
}

long ListBoxFinder::GSF_Proc(std::string Path) {
    if (depth_ == 0) {
        PicFolders.assign(1, Path);
        shortPaths_.clear();
        if (!common::FolderExists(Path)) return 0;
    }
    ++depth_;
    common::WalkFolders<std::string>(
        Path, 0, common::FolderIdentity(Path), std::string(),
        [this](const std::string& folder, size_t, const std::string&) {
            std::vector<common::Subfolder<std::string>> subfolders;
            for (std::string& name : Subfolders(folder)) {
                const std::string identity = common::FolderIdentity(WithBackslash(folder) + name);
                subfolders.push_back({std::move(name), identity, std::string()});
            }
            return subfolders;
        },
        PicFolders);
    --depth_;
    return depth_ == 0 ? UBound(PicFolders) : 0;
}

long ListBoxFinder::GFF_Proc(std::string Path, const std::string& FileSpec, bool SubsToo, bool CheckOnly) {
    if (!CheckOnly) PicFiles.assign(1, WithBackslash(Path) + FileSpec);
    shortPaths_.clear();
    if (!common::FolderExists(Path)) return 0;

    const std::vector<std::string> patterns = common::SplitFileSpec(FileSpec);
    const long folderCount = SubsToo ? (GSF_Proc(Path), UBound(PicFolders)) : 0;

    for (long k = 0; k <= folderCount; ++k) {
        const std::string longPath = WithBackslash(SubsToo ? PicFolders[static_cast<size_t>(k)] : Path);
        const std::string shortPath = ShortPath(longPath);
        if (shortPath.empty()) continue;
        for (const std::string& pattern : patterns) {
            for (const std::string& name : ListNames(shortPath + pattern, kListFiles)) {
                if (CheckOnly) return -1;
                PicFiles.push_back(longPath + name);
            }
        }
    }
    return CheckOnly ? 0 : UBound(PicFiles);
}

}  // namespace testing_support
