// Small rules of the setup window that need no Windows API. Portable: no Windows headers.
#pragma once
#include <string>
#include <vector>

namespace backdrop_changer {

// Control Panel's "Background" text, "red green blue". False when it has fewer than two
// blanks; a piece that is not a number counts as 0.
bool ParseColorText(const std::string& text, int& red, int& green, int& blue);

// The folder frame's caption: its fixed text, then the count found or that the folder is gone.
inline constexpr const char* kFolderFrameCaption = "Fo&lder containing the pic files";
std::string FolderFrameCaption(const std::string& folder, bool folderExists, long picsFound);

// At most this many folders in the history.
inline constexpr int kFolderListMax = 20;
// Where `folder` stands in the history, letter case ignored; the last slot (19) when it is
// not there, which a full list gives up for a new folder.
int FolderHistorySlot(const std::vector<std::string>& entries, const std::string& folder);

}  // namespace backdrop_changer
