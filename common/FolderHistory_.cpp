#include "common/FolderHistory_.h"

#include "platform/Format.h"

namespace common {

std::string FolderFrameCaption(const std::string& folder, bool folderExists, long picsFound) {
    std::string caption = kFolderFrameCaption;
    if (folder.empty()) return caption;
    if (folderExists) return caption + "  (" + platform::FormatNumber(static_cast<double>(picsFound), "#,0") + " found)";
    return caption + "  (no longer exists)";
}

int FolderHistorySlot(const std::vector<std::string>& entries, const std::string& folder) {
    const std::string wanted = platform::LowerCase(folder);
    const int count = static_cast<int>(entries.size()) < kFolderListMax ? static_cast<int>(entries.size()) : kFolderListMax;
    for (int i = 0; i < count; ++i)
        if (platform::LowerCase(entries[i]) == wanted) return i;
    return kFolderListMax - 1;
}

}  // namespace common
