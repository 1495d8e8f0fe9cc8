// The picture-folder history of the setup windows: where a folder stands in it and the
// caption of the frame around it. Portable: no Windows headers.
#pragma once
#include <string>
#include <vector>

namespace common {

// The folder frame's caption: its fixed text, then the count found or that the folder is gone.
inline constexpr const char* kFolderFrameCaption = "Fo&lder containing the pic files";
std::string FolderFrameCaption(const std::string& folder, bool folderExists, long picsFound);

// At most this many folders in the history.
inline constexpr int kFolderListMax = 20;
// Where `folder` stands in the history, letter case ignored; the last slot (19) when it is
// not there, which a full list gives up for a new folder.
int FolderHistorySlot(const std::vector<std::string>& entries, const std::string& folder);

}  // namespace common
