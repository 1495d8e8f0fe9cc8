// A shortcut to the running program in the user's StartUp program group, made by the
// setup toolkit's support library "vb5stkit", which is loaded by name when needed.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

#include "common/ShellText_.h"

namespace common {

inline constexpr int kStartupFolderCode = CSIDL_STARTUP;  // 7
inline constexpr const char* kSupportLibrary = "vb5stkit";
inline constexpr const char* kStartupGroupName = "StartUp";

// The error codes kErrStartupGroup and kErrShortcut are in ShellText_.h.

// The special folder's full path, or its last component; empty on failure.
std::string GetSpecialFolder(HWND window, int code, bool fullPath);
bool CreateStartupShortcut(HWND window);
bool RemoveStartupShortcut(HWND window);
// Shows the warning for a failed create (`create` true) or remove.
void ReportStartupShortcutError(long code, bool create);

namespace seams {
// Loading the support library and finding the special folder, so that tests can take
// either away.
extern std::function<HMODULE(const char*)> LoadLibraryA;
extern std::function<HRESULT(HWND, int, PIDLIST_ABSOLUTE*)> SHGetSpecialFolderLocation;
}  // namespace seams

}  // namespace common
