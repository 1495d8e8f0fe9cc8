#include "backdrop_changer/basSSaver.h"

#include "common/SettingsApp_.h"
#include "platform/App.h"

namespace backdrop_changer {

SettingsRecord Settings;

void LoadSettings() {
    Settings = ReadSettings([](const std::string& key, const std::string& defaultText) {
        return common::GetAppSetting(kSettingsSection, key, defaultText, true);
    });
}

void SaveSettings() {
    for (const auto& [key, text] : SettingsTexts(Settings)) common::SaveAppSetting(kSettingsSection, key, text, false);
}

void SaveFolderHistory(const std::vector<std::string>& folderList) {
    for (int i = 0; i < kFolderHistoryCount; ++i)
        common::SaveAppSetting(kSettingsSection, FolderHistoryKey(i),
                               i < static_cast<int>(folderList.size()) ? folderList[i] : "", true);
}

void InitIdentity() {
    platform::SetAppVersion(2, 0, 0, "Copyright (C) 2026 Sorvita. Free to use and share.");
}

int Main() {
    InitIdentity();
    // 1. where the program lives, refreshed even by a start that ends at once
    common::RegisterAppPath();
    // 2. one copy at a time, silently
    if (platform::App().PrevInstance()) return 0;
    // The setup window, tray and rotation arrive with their own modules; until then the
    // program reads its settings and ends.
    LoadSettings();
    return 0;
}

}  // namespace backdrop_changer
