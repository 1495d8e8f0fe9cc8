#include "slide_saver/SaverRules_.h"

#include <cctype>

#include "common/FolderWalk_.h"
#include "common/PicturePick_.h"
#include "common/SettingsText_.h"
#include "platform/Format.h"

namespace slide_saver {

using common::BoolText;

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

SaverSettingsRecord ReadSaverSettings(const SettingReader& read) {
    SaverSettingsRecord s;
    const SaverSettingsRecord d;  // the defaults
    const common::SettingsConverter c(read);
    s.PicsFolder = c.Text("Pics Folder", d.PicsFolder);
    s.PicsSubfolders = c.Flag("Pics Subfolders", d.PicsSubfolders);
    s.ShowDelay = c.Number("Show Delay", d.ShowDelay, 1, 600);
    s.QuickDelay = c.Number("Quick Delay", d.QuickDelay, 1, 600);
    s.ShowRandom = c.Flag("Show Random", d.ShowRandom);
    s.AllowMouse = c.Flag("Allow Mouse", d.AllowMouse);
    s.BestFit = c.Flag("Best Fit", d.BestFit);
    s.TileSmall = c.Flag("Tile Small", d.TileSmall);
    s.TilePercent = c.Number("Tile Percent", d.TilePercent, 1, 100);
    s.SkipErrors = c.Flag("Skip Errors", d.SkipErrors);
    s.RandomColor = c.Flag("Random Color", d.RandomColor);
    s.DisplayTime = c.Flag("Display Time", d.DisplayTime);
    s.DisplayName = c.Flag("Display Name", d.DisplayName);
    s.AllMonitors = c.Flag("All Monitors", d.AllMonitors);
    s.MorePicTypes = c.Flag(common::kMorePicTypesKey, d.MorePicTypes);
    return s;
}

SettingTexts ToggleTexts(const SaverSettingsRecord& s) {
    return {
        {"Best Fit", BoolText(s.BestFit)},
        {"Tile Small", BoolText(s.TileSmall)},
        {"Random Color", BoolText(s.RandomColor)},
        {"Display Time", BoolText(s.DisplayTime)},
        {"Display Name", BoolText(s.DisplayName)},
    };
}

SettingTexts SetupTexts(const SaverSettingsRecord& s) {
    auto n = [](int32_t value) { return std::to_string(value); };
    return {
        {"Pics Folder", s.PicsFolder},
        {"Pics Subfolders", BoolText(s.PicsSubfolders)},
        {"Show Delay", n(s.ShowDelay)},
        {"Quick Delay", n(s.QuickDelay)},
        {"Show Random", BoolText(s.ShowRandom)},
        {"Allow Mouse", BoolText(s.AllowMouse)},
        {"Tile Percent", n(s.TilePercent)},
        {"Skip Errors", BoolText(s.SkipErrors)},
        {"All Monitors", BoolText(s.AllMonitors)},
        {common::kMorePicTypesKey, BoolText(s.MorePicTypes)},
    };
}

std::string FolderHistoryKey(int index) { return "Pics Folder " + platform::PadNumber(index, 2); }

SaverCommand SplitCommandLine(const std::string& commandLine) {
    const std::string line = Lower(platform::Trim(commandLine));
    SaverCommand command;
    command.Switch = line.substr(0, 2);
    const std::string rest = line.size() > 2 ? line.substr(2) : std::string();
    size_t i = 0;
    while (i < rest.size() && (rest[i] == ' ' || rest[i] == '\t')) ++i;
    uint64_t value = 0;
    bool any = false;
    for (; i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i])); ++i) {
        value = value * 10 + static_cast<unsigned>(rest[i] - '0');
        any = true;
        // Past a handle's 32 bits it can name no window, however it goes on.
        if (value > 0xFFFFFFFFu) return command;
    }
    if (any) command.Handle = static_cast<uint32_t>(value);
    return command;
}

BestFit LayOutBestFit(long w, long h, long W, long H) {
    BestFit fit;
    if (w <= W && h <= H) {
        fit.Frame = {(W - w) / 2, (H - h) / 2, w, h};
        return fit;
    }
    // In 64 bits: a huge picture on a big screen overflows 32.
    long long fitH = H, fitW = h > 0 ? static_cast<long long>(w) * H / h : W;
    if (fitW > W) {
        fitW = W;
        fitH = w > 0 ? static_cast<long long>(h) * W / w : H;
    }
    fit.Frame = {static_cast<long>((W - fitW) / 2), static_cast<long>((H - fitH) / 2), static_cast<long>(fitW),
                 static_cast<long>(fitH)};
    fit.Stretched = true;
    return fit;
}

ActualSize LayOutActualSize(long w, long h, long W, long H, long verticalBarWidth, long horizontalBarHeight) {
    ActualSize a;
    a.NeedVertical = H < h;
    a.NeedHorizontal = W < w;
    if (a.NeedVertical && !a.NeedHorizontal) a.NeedHorizontal = W - verticalBarWidth < w;
    if (a.NeedHorizontal && !a.NeedVertical) a.NeedVertical = H - horizontalBarHeight < h;
    const long barW = a.NeedVertical ? verticalBarWidth : 0;
    const long barH = a.NeedHorizontal ? horizontalBarHeight : 0;
    if (a.NeedVertical) {
        a.VerticalMax = h - H + barH;
        a.Vertical = {W - verticalBarWidth, 0, verticalBarWidth, H - barH};
    }
    if (a.NeedHorizontal) {
        a.HorizontalMax = w - W + barW;
        a.Horizontal = {0, H - horizontalBarHeight, W - barW, horizontalBarHeight};
    }
    const long availableW = W - barW, availableH = H - barH;
    a.Frame = {w <= availableW ? (availableW - w) / 2 : 0, h <= availableH ? (availableH - h) / 2 : 0, w, h};
    return a;
}

bool ShouldTile(long w, long h, long W, long H, int32_t tilePercent) {
    if (w > W || h > H) return false;
    return common::ScreenPercent(w, h, W, H) < tilePercent;
}

std::vector<std::pair<long, long>> TileOrigins(long w, long h, long W, long H) {
    std::vector<std::pair<long, long>> origins;
    if (w <= 0 || h <= 0) return origins;
    for (long x = 0; x <= W; x += w)
        for (long y = 0; y <= H; y += h) origins.emplace_back(x, y);
    return origins;
}

}  // namespace slide_saver
