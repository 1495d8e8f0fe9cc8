// Backdrop Changer's settings record: keys, defaults, ranges and conversions.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/SettingsText_.h"

namespace backdrop_changer {

struct SettingsRecord {
    bool Active = false;
    std::string PicsFolder;
    bool PicsSubfolders = false;
    int32_t ShowDelay = 300;
    int32_t QuickDelay = 300;
    bool ShowRandom = false;
    bool SkipErrors = false;
    bool StretchFit = false;
    int32_t StretchType = 0;
    bool TileSmall = false;
    int32_t TilePercent = 50;
    bool RandomColor = false;
    bool ResetDesktop = true;
    int32_t ResetColor = 0;
    bool DisplayTime = false;
    bool ClearWallpaper = false;
    bool TwoColumnMenu = false;
    bool DesktopText = false;
    int32_t DesktopView = 0;
    bool MorePicTypes = false;
};

using common::SettingReader;

// Reads every key in the order of the record, converts, and puts values outside
// their range (or not convertible) back to the default.
SettingsRecord ReadSettings(const SettingReader& read);

// The 20 keys with their stored texts, in the order of the record.
std::vector<std::pair<std::string, std::string>> SettingsTexts(const SettingsRecord& settings);

// "Pics Folder 00" to "Pics Folder 19".
inline constexpr int kFolderHistoryCount = 20;
std::string FolderHistoryKey(int index);

}  // namespace backdrop_changer
