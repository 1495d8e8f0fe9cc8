// The system's Save and Open file dialogs, remembering for each of the two the filter
// and the folder the user chose last.
#pragma once
#include <windows.h>
// after windows.h, which it needs
#include <commdlg.h>

#include <functional>
#include <string>
#include <vector>

namespace paste_inspector {

inline constexpr const char* kAllFilesFilter = "All Files (*.*)\0*.*";  // ends in its own NUL
inline constexpr size_t kAllFilesFilterLength = 19;

enum class FileDialogMode { Save, Open };

// The dialog calls, replaceable so that tests can answer in place of a user.
namespace seams {
extern std::function<BOOL(OPENFILENAMEA*)> GetSaveFileNameA;
extern std::function<BOOL(OPENFILENAMEA*)> GetOpenFileNameA;
extern std::function<DWORD()> CommDlgExtendedError;
}  // namespace seams

// "An error occurred with Windows Common Dialogs (code <code>)."
std::string CommonDialogErrorText(unsigned long code);

// Shows the dialog of `mode`; returns the chosen path, or "" on cancel or failure. The
// filter is "Description" NUL "*.ext" (more pairs may follow). `filterIndex` is handed
// back as the user left it. With `multiSelect`, every chosen file is in FileDialogFiles().
// `readOnly` non-null shows the dialog's read-only box.
std::string ShowFileDialog(FileDialogMode mode, HWND owner, const std::string& filter, long& filterIndex,
                           const std::string& startFolder, const std::string& fileName, const std::string& title,
                           bool multiSelect, bool* readOnly);

std::string SaveFileDialog(HWND owner, const std::string& filter, long& filterIndex, const std::string& startFolder,
                           const std::string& fileName, const std::string& title);

// The files of the last multiple selection, as full paths.
const std::vector<std::string>& FileDialogFiles();

// Forgets the remembered filters and folders (a new run starts without them).
void ResetFileDialogMemory();

}  // namespace paste_inspector
