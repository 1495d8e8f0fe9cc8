// The shell's folder picker.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

namespace common {

// The chosen folder's path; empty when the user cancelled or the path could not be read.
// The picker opens with `startFolder` selected, or at the desktop when it is empty.
std::string BrowseForFolder(HWND window, const std::string& prompt, const std::string& startFolder);

// The picker's callback: selects the start folder (the text at `data`) once the picker is up.
int CALLBACK BrowseCallbackProc(HWND window, UINT message, LPARAM lParam, LPARAM data);

namespace seams {
// The modal picker, so that tests can script the user's choice.
extern std::function<PIDLIST_ABSOLUTE(BROWSEINFOA*)> SHBrowseForFolderA;
}  // namespace seams

}  // namespace common
