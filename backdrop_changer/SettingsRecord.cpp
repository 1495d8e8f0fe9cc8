#include "backdrop_changer/SettingsRecord.h"

#include "common/SettingsText_.h"
#include "platform/Format.h"

namespace backdrop_changer {

using common::BoolText;
using common::TextToBool;
using common::TextToLong;

namespace {

int32_t InRange(int32_t value, int32_t low, int32_t high, int32_t fallback) {
    return value < low || value > high ? fallback : value;
}

}  // namespace

SettingsRecord ReadSettings(const SettingReader& read) {
    SettingsRecord s;
    const SettingsRecord d;  // the defaults
    auto flag = [&](const char* key, bool fallback) { return TextToBool(read(key, BoolText(fallback)), fallback); };
    auto number = [&](const char* key, int32_t fallback) {
        return TextToLong(read(key, std::to_string(fallback)), fallback);
    };
    s.Active = flag("Active", d.Active);
    s.PicsFolder = platform::Trim(read("Pics Folder", d.PicsFolder));
    s.PicsSubfolders = flag("Pics Subfolders", d.PicsSubfolders);
    s.ShowDelay = InRange(number("Show Delay", d.ShowDelay), 1, 21600, d.ShowDelay);
    s.QuickDelay = InRange(number("Quick Delay", d.QuickDelay), 1, 21600, d.QuickDelay);
    s.ShowRandom = flag("Show Random", d.ShowRandom);
    s.SkipErrors = flag("Skip Errors", d.SkipErrors);
    s.StretchFit = flag("Stretch Fit", d.StretchFit);
    s.StretchType = number("Stretch Type", d.StretchType);
    s.TileSmall = flag("Tile Small", d.TileSmall);
    s.TilePercent = InRange(number("Tile Percent", d.TilePercent), 1, 100, d.TilePercent);
    s.RandomColor = flag("Random Color", d.RandomColor);
    s.ResetDesktop = flag("Reset Desktop", d.ResetDesktop);
    s.ResetColor = InRange(number("Reset Color", d.ResetColor), 0, 1, d.ResetColor);
    s.DisplayTime = flag("Display Time", d.DisplayTime);
    s.ClearWallpaper = flag("Clear Wallpaper", d.ClearWallpaper);
    s.TwoColumnMenu = flag("2-Column Menu", d.TwoColumnMenu);
    s.DesktopText = flag("Desktop Text", d.DesktopText);
    s.DesktopView = number("Desktop View", d.DesktopView);
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
    };
}

std::string FolderHistoryKey(int index) { return "Pics Folder " + platform::PadNumber(index, 2); }

}  // namespace backdrop_changer
