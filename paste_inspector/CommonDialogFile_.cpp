#include "paste_inspector/CommonDialogFile_.h"

#include <cstddef>

#include "common/FileFolderExists_.h"
#include "paste_inspector/InspectorRules_.h"
#include "platform/MsgBox.h"

namespace paste_inspector {

namespace seams {
std::function<BOOL(OPENFILENAMEA*)> GetSaveFileNameA = ::GetSaveFileNameA;
std::function<BOOL(OPENFILENAMEA*)> GetOpenFileNameA = ::GetOpenFileNameA;
std::function<DWORD()> CommDlgExtendedError = ::CommDlgExtendedError;
}  // namespace seams

namespace {

constexpr DWORD kBaseFlags = OFN_EXPLORER | OFN_LONGNAMES | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT;
constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_NODEREFERENCELINKS;
constexpr size_t kFileBufferSize = 32767;
static_assert(sizeof(void*) != 4 || offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the record every Windows version reads");

struct Remembered {
    long filterIndex = 0;
    std::string folder;
};
Remembered memory[2];
std::vector<std::string> files;

Remembered& MemoryOf(FileDialogMode mode) { return memory[mode == FileDialogMode::Save ? 0 : 1]; }

}  // namespace

std::string CommonDialogErrorText(unsigned long code) {
    return "An error occurred with Windows Common Dialogs (code " + std::to_string(code) + ").";
}

std::string ShowFileDialog(FileDialogMode mode, HWND owner, const std::string& filter, long& filterIndex,
                           const std::string& startFolder, const std::string& fileName, const std::string& title,
                           bool multiSelect, bool* readOnly) {
    Remembered& remembered = MemoryOf(mode);
    // 1. the filter and which of its entries is selected
    std::string filters = filter;
    if (filter.find_first_not_of(' ') == std::string::npos) {
        filters.assign(kAllFilesFilter, kAllFilesFilterLength);
        filterIndex = 1;
    } else if (filterIndex < 1) {
        filterIndex = remembered.filterIndex > 0 ? remembered.filterIndex : 1;
    }
    // 2. the folder it opens in
    std::string folder = startFolder;
    if (!common::FolderExists(folder)) {
        if (!remembered.folder.empty() && common::FolderExists(remembered.folder)) {
            folder = remembered.folder;
        } else {
            // Room for MAX_PATH characters in UTF-8, three bytes at most each.
            char current[MAX_PATH * 3] = {};
            GetCurrentDirectoryA(sizeof current, current);
            folder = current;
        }
    }
    // 3. the file buffer
    std::string buffer = fileName;
    buffer.append(kFileBufferSize + 1, '\0');
    filters.append(2, '\0');
    // 4. the dialog record, in the size every Windows version understands
    OPENFILENAMEA record{};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = owner;
    record.lpstrFilter = filters.c_str();
    record.nFilterIndex = static_cast<DWORD>(filterIndex);
    record.lpstrFile = buffer.data();
    record.nMaxFile = kFileBufferSize;
    record.lpstrInitialDir = folder.c_str();
    record.lpstrTitle = title.c_str();
    record.Flags = kBaseFlags | (mode == FileDialogMode::Save ? kSaveFlags : kOpenFlags);
    if (multiSelect) record.Flags |= OFN_ALLOWMULTISELECT;
    if (!readOnly || !*readOnly) record.Flags |= OFN_HIDEREADONLY;
    // 5. the dialog
    BOOL chosen = mode == FileDialogMode::Save ? seams::GetSaveFileNameA(&record) : seams::GetOpenFileNameA(&record);
    filterIndex = static_cast<long>(record.nFilterIndex);
    remembered.filterIndex = filterIndex;
    // 6. a cancel says nothing; a failure says its code
    if (!chosen) {
        DWORD code = seams::CommDlgExtendedError();
        if (code != 0) platform::MsgBox(CommonDialogErrorText(code), platform::kMsgWarning);
        return {};
    }
    if (readOnly) *readOnly = (record.Flags & OFN_READONLY) != 0;
    // 7. the folder to start in next time, and the answer
    std::string path = ClipboardText(buffer.data(), buffer.size());
    remembered.folder = DialogFolder(path, record.nFileOffset);
    files.clear();
    if (multiSelect) {
        files = SelectedFiles(buffer.data(), buffer.size());
        if (!files.empty()) path = files.front();
    }
    return path;
}

std::string SaveFileDialog(HWND owner, const std::string& filter, long& filterIndex, const std::string& startFolder,
                           const std::string& fileName, const std::string& title) {
    return ShowFileDialog(FileDialogMode::Save, owner, filter, filterIndex, startFolder, fileName, title, false,
                          nullptr);
}

const std::vector<std::string>& FileDialogFiles() { return files; }

void ResetFileDialogMemory() {
    memory[0] = {};
    memory[1] = {};
    files.clear();
}

}  // namespace paste_inspector
