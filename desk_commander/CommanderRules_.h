// Small rules of Desk Commander that need no Windows API: settings ranges, corner
// geometry, the version label, the tray pictures' pixels and the texts built from
// run-time values. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string>

namespace desk_commander {

// Corner indices.
inline constexpr int kUpperLeft = 0;
inline constexpr int kUpperRight = 1;
inline constexpr int kLowerLeft = 2;
inline constexpr int kLowerRight = 3;
inline constexpr int kCornerCount = 4;

// The stored options, each range-checked against its default.
struct Options {
    int32_t ActivateCorner = kUpperLeft;
    int32_t PreventCorner = kUpperRight;
    int32_t CornerSize = 3;
    int32_t ActivateDelay = 1;
    bool ActivateOn = false;
    bool PreventOn = false;
    bool TwoColumnMenu = false;
    bool DesktopText = false;
    int32_t DesktopView = 0;
};

inline constexpr int32_t kCornerSizeMin = 1, kCornerSizeMax = 20;
inline constexpr int32_t kActivateDelayMin = 0, kActivateDelayMax = 5;

// A stored number: decimal text within [low, high], else `fallback`.
int32_t NumberSetting(const std::string& text, int32_t low, int32_t high, int32_t fallback);
// A stored check box value: "0" or "1", else `fallback`.
bool FlagSetting(const std::string& text, bool fallback);

// The corner that a clash moves the other option to: the next one, upper-left after lower-right.
int NextCorner(int corner);

// Whether the pixel (x, y) lies in the `size`-pixel square of `corner` of the screen whose
// edges are left, top (the first pixel) and right, bottom (one past the last).
bool PointInCorner(int corner, long x, long y, long left, long top, long right, long bottom, long size);

// The scroll bars run opposite to their numbers; the same rule maps both ways.
inline int32_t ReverseScroll(int32_t maximum, int32_t value, int32_t minimum) { return maximum - value + minimum; }

// "pixel"/"pixels", "second"/"seconds".
std::string CornerSizeUnit(int32_t size);
std::string DelayUnit(int32_t seconds);

// A sibling program's title: its file name without the extension.
std::string ProgramTitle(const std::string& fileName);
// The file in a folder chosen in the picker.
std::string FileInFolder(const std::string& folder, const std::string& fileName);
// The command line that starts `program` with `arguments`: the program's path quoted, since
// Windows would otherwise try each part of a path with blanks as a program of its own (a
// "C:\Program.exe" runs for "C:\Program Files\x.exe"), then a blank and the arguments as
// they are, when there are any.
std::string CommandLine(const std::string& program, const std::string& arguments);

// ---- Tray pictures: 16 x 16 rows of palette letters, "." transparent.
inline constexpr int kTrayIconNormal = 1;
inline constexpr int kTrayIconSaverOff = 2;
inline constexpr int kTrayIconStarting = 3;
inline constexpr int kTrayIconWaiting = 4;
inline constexpr int kTrayIconSize = 16;

// The rows of tray picture `index` (1 to 4); picture 1 for any other index.
const char* const* TrayIconRows(int index);
// The colour of a palette letter as 0xRRGGBB; -1 for the transparent ".".
long PaletteColor(char letter);
// The screen of the monitor: its first and last row and column.
inline constexpr int kScreenTop = 3, kScreenBottom = 9, kScreenLeft = 3, kScreenRight = 12;

}  // namespace desk_commander
