#include "backdrop_changer/SettingsRecord.h"

#include "common/FolderWalk_.h"
#include "common/SettingsText_.h"
#include "platform/Format.h"

namespace backdrop_changer {

using common::BoolText;

SettingsRecord ReadSettings(const SettingReader& read) {
    SettingsRecord s;
    const SettingsRecord d;  // the defaults
    const common::SettingsConverter c(read);
    s.Active = c.Flag("Active", d.Active);
    s.PicsFolder = c.Text("Pics Folder", d.PicsFolder);
    s.PicsSubfolders = c.Flag("Pics Subfolders", d.PicsSubfolders);
    s.ShowDelay = c.Number("Show Delay", d.ShowDelay, 1, 21600);
    s.QuickDelay = c.Number("Quick Delay", d.QuickDelay, 1, 21600);
    s.ShowRandom = c.Flag("Show Random", d.ShowRandom);
    s.SkipErrors = c.Flag("Skip Errors", d.SkipErrors);
    s.StretchFit = c.Flag("Stretch Fit", d.StretchFit);
    s.StretchType = c.Number("Stretch Type", d.StretchType);
    s.TileSmall = c.Flag("Tile Small", d.TileSmall);
    s.TilePercent = c.Number("Tile Percent", d.TilePercent, 1, 100);
    s.RandomColor = c.Flag("Random Color", d.RandomColor);
    s.ResetDesktop = c.Flag("Reset Desktop", d.ResetDesktop);
    s.ResetColor = c.Number("Reset Color", d.ResetColor, 0, 1);
    s.DisplayTime = c.Flag("Display Time", d.DisplayTime);
    s.ClearWallpaper = c.Flag("Clear Wallpaper", d.ClearWallpaper);
    s.TwoColumnMenu = c.Flag("2-Column Menu", d.TwoColumnMenu);
    s.DesktopText = c.Flag("Desktop Text", d.DesktopText);
    s.DesktopView = c.Number("Desktop View", d.DesktopView);
    s.MorePicTypes = c.Flag(common::kMorePicTypesKey, d.MorePicTypes);
    return s;
}

std::vector<std::pair<std::string, std::string>> SettingsTexts(const SettingsRecord& s) {
    auto n = [](int32_t value) { return std::to_string(value); };
    return {
        {"Active", BoolText(s.Active)},
        {"Pics Folder", s.PicsFolder},
        {"Pics Subfolders", BoolText(s.PicsSubfolders)},
        {"Show Delay", n(s.ShowDelay)},
        {"Quick Delay", n(s.QuickDelay)},
        {"Show Random", BoolText(s.ShowRandom)},
        {"Skip Errors", BoolText(s.SkipErrors)},
        {"Stretch Fit", BoolText(s.StretchFit)},
        {"Stretch Type", n(s.StretchType)},
        {"Tile Small", BoolText(s.TileSmall)},
        {"Tile Percent", n(s.TilePercent)},
        {"Random Color", BoolText(s.RandomColor)},
        {"Reset Desktop", BoolText(s.ResetDesktop)},
        {"Reset Color", n(s.ResetColor)},
        {"Display Time", BoolText(s.DisplayTime)},
        {"Clear Wallpaper", BoolText(s.ClearWallpaper)},
        {"2-Column Menu", BoolText(s.TwoColumnMenu)},
        {"Desktop Text", BoolText(s.DesktopText)},
        {"Desktop View", n(s.DesktopView)},
        {common::kMorePicTypesKey, BoolText(s.MorePicTypes)},
    };
}

std::string FolderHistoryKey(int index) { return "Pics Folder " + platform::PadNumber(index, 2); }

}  // namespace backdrop_changer
