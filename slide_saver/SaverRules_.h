// Slide Saver's rules that need no window: its settings record, its command line and
// the arithmetic of laying a picture out on the screen. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/SettingsText_.h"

namespace slide_saver {

inline constexpr const char* kSettingsSection = "Settings";

struct SaverSettingsRecord {
    std::string PicsFolder;
    bool PicsSubfolders = false;
    int32_t ShowDelay = 10;
    int32_t QuickDelay = 1;
    bool ShowRandom = false;
    bool AllowMouse = false;
    bool BestFit = false;
    bool TileSmall = false;
    int32_t TilePercent = 50;
    bool SkipErrors = false;
    bool RandomColor = false;
    bool DisplayTime = false;
    bool DisplayName = false;
    bool AllMonitors = true;  // pictures on every monitor, not only the primary
    bool MorePicTypes = false;
};

using common::SettingReader;
using SettingTexts = std::vector<std::pair<std::string, std::string>>;

// Reads every key in the order of the record; numbers outside their range, or not
// numbers at all, take the default.
SaverSettingsRecord ReadSaverSettings(const SettingReader& read);
// The five settings the show's keys toggle, in the order they are saved.
SettingTexts ToggleTexts(const SaverSettingsRecord& settings);
// The settings the setup dialog saves before the toggles, in their order.
SettingTexts SetupTexts(const SaverSettingsRecord& settings);

// "Pics Folder 00" to "Pics Folder 19".
std::string FolderHistoryKey(int index);

// The command line as the screen saver protocol passes it: the switch (first two
// characters of the trimmed, lower-cased line) and the window handle behind it.
struct SaverCommand {
    std::string Switch;
    // A number that does not fit a window handle's 32 bits, or text that does not begin
    // with a number, is no window: 0.
    uint32_t Handle = 0;
};
SaverCommand SplitCommandLine(const std::string& commandLine);

// A rectangle in the window's pixels.
struct Box {
    long Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const Box&) const = default;
};

// A picture of w x h shrunk to fit a window of W x H when it is bigger, else centred.
struct BestFit {
    Box Frame;               // where the picture's frame goes
    bool Stretched = false;  // drawn at the frame's size rather than its own
};
BestFit LayOutBestFit(long w, long h, long W, long H);

// A picture at its own size, with scroll bars where it does not fit.
struct ActualSize {
    bool NeedVertical = false, NeedHorizontal = false;
    long VerticalMax = 0, HorizontalMax = 0;
    Box Vertical, Horizontal;  // the bars, where needed
    Box Frame;
};
ActualSize LayOutActualSize(long w, long h, long W, long H, long verticalBarWidth, long horizontalBarHeight);

// A picture that fits is tiled when its share of the screen (whole percent, halves to
// even) is below `tilePercent`.
bool ShouldTile(long w, long h, long W, long H, int32_t tilePercent);
// The top-left corners of the tiles: every multiple of w up to and including W, across
// every multiple of h up to and including H.
std::vector<std::pair<long, long>> TileOrigins(long w, long h, long W, long H);

}  // namespace slide_saver
