#include "picture_browser/FileListControls.h"

#include <commctrl.h>

#include <algorithm>

#include "common/FFF.h"
#include "picture_browser/BrowserRules_.h"
#include "picture_browser/BrowserSeams.h"
#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/Text.h"

namespace picture_browser {

namespace {

// A drive without a disk fails quietly instead of asking the user to insert one.
class QuietDriveErrors {
public:
    QuietDriveErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~QuietDriveErrors() { SetErrorMode(old_); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    UINT old_;
};

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Length of the root part of a full path: "C:\" or "\\server\share\".
size_t RootLength(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return 3;
    if (path.rfind("\\\\", 0) == 0) {
        size_t server = path.find('\\', 2);
        if (server == std::string::npos) return path.size();
        size_t share = path.find('\\', server + 1);
        return share == std::string::npos ? path.size() : share + 1;
    }
    return 0;
}

// A folder's subfolders and the files a list may show (neither hidden nor system), each in
// name order, read in one pass of the system's listing.
struct FolderNames {
    std::string folder;
    std::vector<std::string> folders;
    std::vector<std::string> files;
};

// False when the folder cannot be read.
bool ReadFolderNames(const std::string& folder, FolderNames& names) {
    names = FolderNames{folder, {}, {}};
    std::vector<unsigned long long> buffer;
    const bool read = common::ForEachFolderEntry(
        platform::Wide(WithBackslash(folder)), buffer, [&names](const FILE_ID_BOTH_DIR_INFO& info) {
            std::string name = platform::FromWide(std::wstring_view(info.FileName, info.FileNameLength / sizeof(WCHAR)));
            if (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != "." && name != "..") names.folders.push_back(std::move(name));
            } else if (!(info.FileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
                names.files.push_back(std::move(name));
            }
        });
    if (!read) {
        names = FolderNames{};
        return false;
    }
    // Stable: names equal but for case (a Unix folder can hold both) keep the system's order
    // whichever of them a pattern leaves out.
    std::stable_sort(names.folders.begin(), names.folders.end(), NameLess);
    std::stable_sort(names.files.begin(), names.files.end(), NameLess);
    return true;
}

std::vector<std::string> MatchingNames(std::vector<std::string> files, const std::string& patterns) {
    // Parsed once for the whole folder, whichever pattern list the list is given.
    const std::vector<std::string> masks = SplitPatternList(patterns);
    std::erase_if(files, [&masks](const std::string& name) { return !MatchesAnyPattern(name, masks); });
    return files;
}

char LowerLetter(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Fills a list box through the list box's own procedure, past the subclasses on it (the
// key and mouse hook, the tooltip's): they have nothing to do with adding strings, and
// under Wine every message through them costs a round trip to the server, which made
// listing a folder of 10,000 pictures take over a second.
void AddStrings(HWND list, const std::vector<std::string>& items) {
    auto listProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(list, GCLP_WNDPROC));
    size_t bytes = 0;
    for (const std::string& item : items) bytes += item.size() + 1;
    SendMessageA(list, LB_INITSTORAGE, items.size(), bytes);
    for (const std::string& item : items)
        CallWindowProcA(listProc, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

}  // namespace

std::string NormalFolderPath(const std::string& path) {
    if (path.empty()) return "";
    char buffer[MAX_PATH * 4];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer) return "";
    std::string full(buffer, length);
    while (full.size() > RootLength(full) && full.back() == '\\') full.pop_back();
    return full;
}

bool ListPictureNames(const std::string& folder, const std::string& patterns, std::vector<std::string>& names) {
    QuietDriveErrors quiet;
    names.clear();
    if (folder.empty() || !IsFolder(folder)) return false;
    FolderNames listing;
    if (!ReadFolderNames(folder, listing)) return false;
    names = MatchingNames(std::move(listing.files), patterns);
    return true;
}

// ---------------------------------------------------------------- PickListBox

PickListBox::~PickListBox() {
    if (hWnd()) RemoveWindowSubclass(hWnd(), &PickListBox::SubProc, 1);
}

void PickListBox::Create(platform::Form& form, int left, int top, int width, int height, DWORD extraStyle) {
    platform::ListBox::Create(form, left, top, width, height, extraStyle);
    SetWindowSubclass(hWnd(), &PickListBox::SubProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void PickListBox::SelectQuietly(int index) { SendMessageA(hWnd(), LB_SETCURSEL, index, 0); }

LRESULT CALLBACK PickListBox::SubProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
    auto* list = reinterpret_cast<PickListBox*>(data);
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter belongs to the list, not to the dialog's default button.
            auto* msg = reinterpret_cast<MSG*>(lParam);
            if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
                return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTMESSAGE;
            break;
        }
        case WM_KEYDOWN:
            if (list->KeyDown) list->KeyDown(static_cast<int>(wParam));
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            if (list->MouseUp) list->MouseUp(message == WM_LBUTTONUP ? 1 : 2);
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, &PickListBox::SubProc, 1);
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------- DriveList

void DriveList::Create(platform::Form& form, int left, int top, int width, int dropHeight) {
    platform::ComboBox::Create(form, left, top, width, dropHeight, CBS_DROPDOWNLIST);
    Click = [this] {
        selected_ = Drive();
        if (Change) Change();
    };
    Reload();
}

void DriveList::Reload() {
    std::string keep = selected_;
    Clear();
    char buffer[512] = {};
    DWORD length = GetLogicalDriveStringsA(sizeof buffer - 1, buffer);
    // Letters only: asking for labels would spin up floppies and wake sleeping network drives.
    for (const char* root = buffer; length && *root; root += strlen(root) + 1)
        AddItem(std::string{LowerLetter(root[0]), ':'});
    selected_.clear();
    if (!keep.empty()) SetDrive(keep, false);
}

std::string DriveList::Drive() const {
    int index = ListIndex();
    return index < 0 ? std::string() : List(index).substr(0, 2);
}

bool DriveList::SetDrive(const std::string& path, bool raiseChange) {
    if (path.size() < 2 || path[1] != ':') return false;
    char letter = LowerLetter(path[0]);
    for (int i = 0, n = ListCount(); i < n; ++i) {
        std::string item = List(i);
        if (item.size() >= 2 && item[0] == letter && item[1] == ':') {
            bool changed = ListIndex() != i;
            SendMessageA(hWnd(), CB_SETCURSEL, i, 0);
            selected_ = item.substr(0, 2);
            if (changed && raiseChange && Change) Change();
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- FolderList

void FolderList::Create(platform::Form& form, int left, int top, int width, int height) {
    PickListBox::Create(form, left, top, width, height, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
    SendMessageA(hWnd(), LB_SETITEMHEIGHT, 0, std::max(16, platform::TwipsToPixelsY(240)));
    DblClick = [this] { EnterSelected(); };
    KeyDown = [this](int key) {
        if (key == VK_RETURN) EnterSelected();
    };
}

void FolderList::EnterSelected() {
    int index = ListIndex();
    if (index < 0) return;
    std::string target = EntryPath(index);
    if (!SameText(target, path_) && !SetPath(target)) {
        seams::Beep();
        SetPath(path_);
    }
}

std::string FolderList::EntryPath(int index) const {
    return index >= 0 && index < static_cast<int>(entries_.size()) ? entries_[index].path : std::string();
}

bool FolderList::SetPath(const std::string& path) {
    QuietDriveErrors quiet;
    std::string full = NormalFolderPath(path);
    if (full.empty() || !IsFolder(full)) return false;
    std::vector<Entry> entries;
    // The root and each folder down to this one.
    size_t rootLength = RootLength(full);
    std::string root = full.substr(0, rootLength);
    entries.push_back({root, root, 0, true});
    size_t start = rootLength;
    while (start < full.size()) {
        size_t end = full.find('\\', start);
        if (end == std::string::npos) end = full.size();
        entries.push_back({full.substr(0, end), full.substr(start, end - start), static_cast<int>(entries.size()), true});
        start = end + 1;
    }
    int current = static_cast<int>(entries.size()) - 1;
    FolderNames listing;
    if (!ReadFolderNames(full, listing)) return false;
    const std::vector<std::string>& subfolders = listing.folders;
    for (const std::string& name : subfolders) entries.push_back({WithBackslash(full) + name, name, current + 1, false});

    bool changed = !SameText(full, path_);
    path_ = full;
    entries_ = std::move(entries);
    SendMessageA(hWnd(), WM_SETREDRAW, FALSE, 0);
    Clear();
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const Entry& entry : entries_) names.push_back(entry.name);
    AddStrings(hWnd(), names);
    SelectQuietly(current);
    SendMessageA(hWnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hWnd(), nullptr, TRUE);
    // Kept for the file list that follows into this folder; not kept (for the working set's
    // sake) when no file list will.
    freshFolder_ = changed ? full : std::string();
    freshFiles_ = changed ? std::move(listing.files) : std::vector<std::string>();
    if (changed && Change) Change();
    return true;
}

bool FolderList::TakeFiles(const std::string& folder, std::vector<std::string>& files) {
    if (freshFolder_.empty() || freshFolder_ != folder) return false;
    files = std::move(freshFiles_);
    freshFiles_.clear();
    freshFolder_.clear();
    return true;
}

void FolderList::ScrollToSelection() {
    int index = ListIndex();
    if (index >= 0) SelectQuietly(index);
}

void FolderList::DrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= entries_.size()) return;
    const Entry& entry = entries_[item.itemID];
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    int x = r.left + 2 + entry.depth * 8;
    int mid = (r.top + r.bottom) / 2;
    // A small folder: its tab, and its body (drawn lighter while open).
    HBRUSH body = CreateSolidBrush(entry.open ? RGB(252, 222, 130) : RGB(236, 190, 70));
    HPEN outline = CreatePen(PS_SOLID, 1, RGB(150, 110, 30));
    {
        platform::SelectedObject pen(dc, outline);
        platform::SelectedObject brush(dc, body);
        Rectangle(dc, x, mid - 5, x + 6, mid - 2);
        Rectangle(dc, x, mid - 3, x + 14, mid + 6);
    }
    DeleteObject(body);
    DeleteObject(outline);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = r;
    text.left = x + 18;
    platform::PaintText(dc, entry.name, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

// ---------------------------------------------------------------- FileList

void FileList::Create(platform::Form& form, int left, int top, int width, int height) {
    PickListBox::Create(form, left, top, width, height);
}

bool FileList::Fill(const std::string& folder, FolderList* readBy) {
    std::vector<std::string> names;
    if (readBy && readBy->TakeFiles(folder, names))
        names = MatchingNames(std::move(names), Pattern);
    else if (!ListPictureNames(folder, Pattern, names))
        return false;
    HWND list = hWnd();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    Clear();
    AddStrings(list, names);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return true;
}

bool FileList::SetPath(const std::string& path, FolderList* readBy) {
    std::string full = NormalFolderPath(path);
    if (full.empty() || !Fill(full, readBy)) return false;
    bool changed = !SameText(full, path_);
    path_ = full;
    if (changed && PathChange) PathChange();
    return true;
}

void FileList::Refresh() {
    if (!path_.empty()) Fill(path_);
}

}  // namespace picture_browser
