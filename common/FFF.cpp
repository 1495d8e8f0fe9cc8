#include "common/FFF.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "common/FileFolderExists_.h"
#include "common/FileFolderFunctions_.h"
#include "platform/Handles.h"

namespace common {

namespace {

// Ordinary files, and folders only.
constexpr unsigned kListFiles = DDL_READWRITE;
constexpr unsigned kListFolders = DDL_EXCLUSIVE | DDL_DIRECTORY;
// Short path names are fetched into a buffer of this many characters; a folder whose short
// form does not fit is not listed.
constexpr size_t kPathBuffer = 512;
// Well below the length at which the ANSI file functions give up on a path: a folder path this
// short can be opened and asked for by name, so what its parent's listing says of it is what
// those questions would answer. Longer paths are asked about all the same, to fail as they do.
constexpr size_t kSafePathLength = 200;

std::string IdentityText(unsigned long long index, long long created) {
    if (index == 0) return std::string();
    char text[40];
    std::snprintf(text, sizeof text, "%llx:%llx", index, static_cast<unsigned long long>(created));
    return text;
}

// Program text and file names meet in the ANSI code page, as the ANSI file functions and the
// list box's ANSI messages convert them.
std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

// Upper case as the file system compares names: its own table, which leaves letters such as
// the dotless i alone where a language's rules would not.
std::wstring Upper(const std::wstring& text) {
    using Upcase = WCHAR(WINAPI*)(WCHAR);
    static const auto upcase = reinterpret_cast<Upcase>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlUpcaseUnicodeChar")));
    std::wstring upper(text);
    for (wchar_t& c : upper) {
        if (c < 0x80) {
            if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        } else if (upcase) {
            c = upcase(c);
        } else {
            c = static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(ULONG_PTR{c}))));
        }
    }
    return upper;
}

// The 8.3 form of a folder path with its backslash, which the listing takes whatever the
// length of the long names; empty when the system cannot give it.
std::string ShortPathOf(const std::string& longPath) {
    char buffer[kPathBuffer];
    const DWORD length = GetShortPathNameA(longPath.c_str(), buffer, sizeof buffer);
    return length != 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// A folder opened for reading its entries, leaving others free to change it meanwhile; empty
// when it cannot be opened.
platform::UniqueHandle OpenFolderToList(const std::wstring& folder) {
    HANDLE handle = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return platform::UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// Wine keeps the whole listing of a folder read through a handle until the process next asks
// for a folder's entries, whether the handle is closed or not: megabytes for a folder of
// 100,000 pictures, held as long as the program shows them. Asking for the folder's own "."
// entry takes one look instead of a listing and lets that go; elsewhere it is one cheap call.
void LetGoOfListing(const std::wstring& folder) {
    using QueryDirectoryFile = LONG(WINAPI*)(HANDLE, HANDLE, void*, void*, IO_STATUS_BLOCK*, void*, ULONG, int,
                                             BOOLEAN, UNICODE_STRING*, BOOLEAN);
    constexpr int kFileNamesInformation = 12;
    static const auto query = reinterpret_cast<QueryDirectoryFile>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryDirectoryFile")));
    platform::UniqueHandle handle = OpenFolderToList(folder);
    if (!query || !handle) return;
    wchar_t dot[] = L".";
    UNICODE_STRING mask{sizeof(wchar_t), sizeof dot, dot};
    IO_STATUS_BLOCK status{};
    unsigned long long entry[64];
    query(handle.get(), nullptr, nullptr, nullptr, &status, entry, sizeof entry, kFileNamesInformation, TRUE, &mask,
          TRUE);
}

}  // namespace

bool ForEachFolderEntry(const std::wstring& folder, std::vector<unsigned long long>& buffer,
                        const std::function<void(const FILE_ID_BOTH_DIR_INFO&)>& visit) {
    platform::UniqueHandle handle = OpenFolderToList(folder);
    if (!handle) return false;
    buffer.resize(64 * 1024 / sizeof buffer[0]);
    FILE_INFO_BY_HANDLE_CLASS request = FileIdBothDirectoryRestartInfo;
    int blocks = 0;
    while (GetFileInformationByHandleEx(handle.get(), request, buffer.data(),
                                        static_cast<DWORD>(buffer.size() * sizeof buffer[0]))) {
        request = FileIdBothDirectoryInfo;
        ++blocks;
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
        for (;;) {
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes);
            visit(*info);
            if (info->NextEntryOffset == 0) break;
            bytes += info->NextEntryOffset;
        }
    }
    // A folder of one block costs Wine next to nothing to keep.
    if (blocks > 1) {
        handle.reset();
        LetGoOfListing(folder);
    }
    return true;
}

// What a folder path leads to, whichever links it passed: the file index and the creation
// time. Every path of one walk starts with the same drive, and Wine's drive Z: maps Unix file
// systems whose index numbers may repeat, so the creation time tells such folders apart where
// a volume serial number cannot. Empty when the folder cannot be opened.
std::string FolderIdentity(const std::string& folder) {
    using QueryInformationFile = LONG(WINAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);
    constexpr int kFileInternalInformation = 6;
    static const auto query = reinterpret_cast<QueryInformationFile>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationFile")));
    platform::UniqueHandle handle(CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle.get() == INVALID_HANDLE_VALUE) {
        handle.release();
        return std::string();
    }
    IO_STATUS_BLOCK status{};
    unsigned long long index = 0;
    FILE_BASIC_INFO basic{};
    if (!query || query(handle.get(), &status, &index, sizeof index, kFileInternalInformation) < 0 ||
        !GetFileInformationByHandleEx(handle.get(), FileBasicInfo, &basic, sizeof basic))
        return std::string();
    return IdentityText(index, basic.CreationTime.QuadPart);
}

FFF::FolderPaths FFF::StartPaths(const std::string& Path) {
    const std::string longPath = WithBackslash(Path);
    return {ShortPathOf(longPath), Wide(longPath)};
}

platform::FormStyle FFF::Style() const {
    platform::FormStyle style;
    style.style = WS_POPUP;
    style.exStyle = WS_EX_TOOLWINDOW;
    style.caption = "FFF";
    return style;
}

void FFF::Form_Load() {
    List.Create(*this, 0, 0, 2400, 2400);
    // Never shown: without redrawing, filling it does not update its scroll bar per name.
    SendMessageA(List.hWnd(), WM_SETREDRAW, FALSE, 0);
    locale_ = static_cast<unsigned long>(SendMessageA(List.hWnd(), LB_GETLOCALE, 0, 0));
}

bool FFF::ListBoxKeeps(unsigned mode, const std::wstring& shortPath, const std::vector<Entry>& entries,
                       const Entry& entry) {
    const auto keyOf = [mode](const Entry& e) { return (static_cast<unsigned long long>(mode) << 32) | e.attributes; };
    const auto known = keeps_.find(keyOf(entry));
    if (known != keeps_.end()) return known->second;

    // The list box decides by attributes alone: one listing of this folder shows, for each
    // kind of entry in it, whether that kind is left out.
    List.Clear();
    const std::wstring all = shortPath + L"*.*";
    SendMessageW(List.hWnd(), LB_DIR, mode, reinterpret_cast<LPARAM>(all.c_str()));
    std::unordered_set<std::wstring> shown;
    const int count = List.ListCount();
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(List.hWnd(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(
            SendMessageW(List.hWnd(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()))));
        shown.insert(std::move(text));
    }
    List.Clear();

    const bool folders = mode == kListFolders;
    std::unordered_map<unsigned long long, bool> learnt;
    for (const Entry& other : entries) {
        if (((other.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folders || other.name == L".") continue;
        if (keeps_.count(keyOf(other))) continue;
        bool& keeps = learnt[keyOf(other)];
        keeps = keeps || shown.count(folders ? L"[" + other.name + L"]" : other.name) != 0;
    }
    const bool result = learnt[keyOf(entry)];
    // A listing that shows nothing may have failed; what it says holds for this folder only.
    if (!shown.empty()) keeps_.insert(learnt.begin(), learnt.end());
    return result;
}

std::vector<const FFF::Entry*> FFF::InListBoxOrder(std::vector<const Entry*> entries, bool folders) {
    // The list box compares the texts it holds, brackets and all for folders.
    std::vector<std::wstring> bracketed;
    if (folders)
        for (const Entry* entry : entries) bracketed.push_back(L"[" + entry->name + L"]");
    const auto text = [&](size_t i) -> const std::wstring& { return folders ? bracketed[i] : entries[i]->name; };
    const std::vector<size_t> order = ListBoxOrder(entries.size(), [&](size_t a, size_t b) {
        const int kind = ListingKindOrder(text(a), text(b));
        if (kind != 2) return kind;
        const int result = CompareStringW(locale_, NORM_IGNORECASE, text(a).c_str(), -1, text(b).c_str(), -1);
        return result == CSTR_EQUAL ? 0 : result == CSTR_GREATER_THAN ? 1 : -1;
    });
    std::vector<const Entry*> ordered;
    ordered.reserve(order.size());
    for (size_t i : order) ordered.push_back(entries[i]);
    return ordered;
}

// This listing also gives each entry's file index and creation time, which the link-loop guard
// would otherwise open every folder to ask.
std::function<std::vector<FolderEntry>(const std::wstring&, std::vector<unsigned long long>&)> seams::ReadFolder =
    [](const std::wstring& folder, std::vector<unsigned long long>& buffer) {
    std::vector<FolderEntry> entries;
    ForEachFolderEntry(folder, buffer, [&entries](const FILE_ID_BOTH_DIR_INFO& info) {
        FolderEntry entry;
        entry.name.assign(info.FileName, info.FileNameLength / sizeof(WCHAR));
        entry.shortName.assign(info.ShortName, static_cast<size_t>(info.ShortNameLength) / sizeof(WCHAR));
        entry.attributes = info.FileAttributes;
        entry.fileId = static_cast<unsigned long long>(info.FileId.QuadPart);
        entry.created = info.CreationTime.QuadPart;
        entries.push_back(std::move(entry));
    });
    return entries;
};

namespace {

// What the system's own pattern search finds, for the patterns whose rules are its own.
template <class Entry>
std::vector<Entry> SearchFolder(const std::wstring& pathPattern) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW data;
    platform::FindHandle search(FindFirstFileW(pathPattern.c_str(), &data));
    if (!search) return entries;
    do {
        Entry entry;
        entry.name = data.cFileName;
        entry.shortName = data.cAlternateFileName;
        entry.attributes = data.dwFileAttributes;
        entries.push_back(std::move(entry));
    } while (FindNextFileW(search.get(), &data));
    return entries;
}

}  // namespace

void FFF::AddFiles(const std::wstring& shortPath, const std::string& longPath, const std::vector<Entry>& entries,
                   size_t index, FileSearch& files) {
    std::vector<const Entry*> candidates;
    std::vector<std::wstring> upperNames, upperShortNames;
    bool upperDone = false;
    // With the longer picture list a file that two patterns take is listed once, under the
    // first: "x.tiff" is also "X~1.TIF" to "*.tif". Other lists list pattern by pattern as they
    // always have.
    std::unordered_set<std::wstring> listed;
    for (size_t p = 0; p < files.patterns.size(); ++p) {
        if (files.checkOnly && files.matched) return;
        std::vector<Entry> searched;
        std::vector<const Entry*> matches;
        if (files.upperPatterns[p].empty()) {
            searched = SearchFolder<Entry>(shortPath + files.patterns[p]);
            for (const Entry& entry : searched)
                if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && ListBoxKeeps(kListFiles, shortPath, searched, entry))
                    matches.push_back(&entry);
        } else {
            if (!upperDone) {
                for (const Entry& entry : entries) {
                    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                    if (!ListBoxKeeps(kListFiles, shortPath, entries, entry)) continue;
                    candidates.push_back(&entry);
                    upperNames.push_back(Upper(entry.name));
                    upperShortNames.push_back(Upper(entry.shortName));
                }
                upperDone = true;
            }
            // A long name also matches through its short form ("x.jpgx" as "X~1.JPG").
            const std::wstring& mask = files.upperPatterns[p];
            for (size_t i = 0; i < candidates.size(); ++i)
                if (MatchesMask(mask, upperNames[i]) ||
                    (!upperShortNames[i].empty() && MatchesMask(mask, upperShortNames[i])))
                    matches.push_back(candidates[i]);
        }
        if (files.onceEach)
            matches.erase(std::remove_if(matches.begin(), matches.end(),
                                         [&](const Entry* entry) { return !listed.insert(Upper(entry->name)).second; }),
                          matches.end());
        if (matches.empty()) continue;
        if (files.checkOnly) {
            files.matched = true;
            return;
        }
        if (files.found.size() <= index) files.found.resize(index + 1);
        for (const Entry* entry : InListBoxOrder(std::move(matches), false))
            files.found[index].push_back(longPath + Narrow(entry->name));
    }
}

std::vector<Subfolder<FFF::FolderPaths>> FFF::ListFolder(const std::string& longPath, size_t index,
                                                          const FolderPaths& via, FileSearch* files, bool wantFolders) {
    std::vector<Subfolder<FolderPaths>> subfolders;
    const std::string& shortPath = via.shortPath;
    if (shortPath.empty()) return subfolders;
    const std::wstring wideShort = Wide(shortPath);
    const std::vector<Entry> entries = seams::ReadFolder(via.path, buffer_);
    const std::string prefix = WithBackslash(longPath);
    if (files) AddFiles(wideShort, prefix, entries, index, *files);
    if (!wantFolders) return subfolders;

    std::vector<const Entry*> folders;
    for (const Entry& entry : entries)
        if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && entry.name != L"." &&
            ListBoxKeeps(kListFolders, wideShort, entries, entry))
            folders.push_back(&entry);
    // ".." stays in until the order is settled: it is among the names the list box compares.
    for (const Entry* entry : InListBoxOrder(std::move(folders), true)) {
        if (entry->name == L"..") continue;
        Subfolder<FolderPaths> sub;
        sub.name = Narrow(entry->name);
        const std::string path = prefix + sub.name;
        std::string& subShort = sub.via.shortPath;
        if (path.size() < kSafePathLength) {
            subShort = shortPath + Narrow(entry->shortName.empty() ? entry->name : entry->shortName) + "\\";
            if (subShort.size() >= kPathBuffer) subShort.clear();
        } else {
            WIN32_FIND_DATAA data;
            platform::FindHandle search(FindFirstFileA(path.c_str(), &data));
            if (search) {
                subShort = shortPath + (data.cAlternateFileName[0] ? data.cAlternateFileName : data.cFileName) + "\\";
                if (subShort.size() >= kPathBuffer) subShort.clear();
            } else {
                subShort = ShortPathOf(path + "\\");
            }
        }
        sub.via.path = via.path + entry->name + L"\\";
        // A plain folder's listing tells what it is; a link's tells only of the link itself
        // on Windows, so only a link (or a path too long to trust) is opened and asked.
        if (path.size() >= kSafePathLength || (entry->attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            sub.identity = FolderIdentity(path);
        else
            sub.identity = IdentityText(entry->fileId, entry->created);
        subfolders.push_back(std::move(sub));
    }
    return subfolders;
}

long FFF::WalkFrom(const std::string& Path, FileSearch* files) {
    const size_t startIndex = depth_ == 0 ? 0 : static_cast<size_t>(-1);
    if (depth_ == 0) {
        PicFolders.assign(1, Path);
        if (!FolderExists(Path)) return 0;
    }
    ++depth_;
    // One pass with its own stack lists every level: a deep tree or a link loop on a drive
    // that maps a Unix tree must neither exhaust the call stack nor run for ever.
    WalkFolders<FolderPaths>(
        Path, startIndex, FolderIdentity(Path), StartPaths(Path),
        [this, files](const std::string& folder, size_t index, const FolderPaths& via) {
            return ListFolder(folder, index, via, files, true);
        },
        PicFolders);
    --depth_;
    return depth_ == 0 ? UBound(PicFolders) : 0;
}

long FFF::GSF_Proc(std::string Path) { return WalkFrom(Path, nullptr); }

long FFF::GFF_Proc(std::string Path, const std::string& FileSpec, bool SubsToo, bool CheckOnly) {
    if (!CheckOnly) PicFiles.assign(1, WithBackslash(Path) + FileSpec);
    if (!FolderExists(Path)) return 0;

    FileSearch files;
    files.checkOnly = CheckOnly;
    files.onceEach = _stricmp(FileSpec.c_str(), PicFileSpec(true).c_str()) == 0;
    for (const std::string& pattern : SplitFileSpec(FileSpec)) {
        files.patterns.push_back(Wide(pattern));
        files.upperPatterns.push_back(IsPlainMask(files.patterns.back()) ? Upper(files.patterns.back())
                                                                         : std::wstring());
    }
    // Files go folder by folder in the order of PicFolders, which is not the order in which
    // the walk visits them.
    if (SubsToo)
        WalkFrom(Path, &files);
    else
        ListFolder(Path, 0, StartPaths(Path), &files, false);
    if (CheckOnly) return files.matched ? -1 : 0;
    for (std::vector<std::string>& folder : files.found)
        for (std::string& path : folder) PicFiles.push_back(std::move(path));
    return UBound(PicFiles);
}

}  // namespace common
