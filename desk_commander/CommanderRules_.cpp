#include "desk_commander/CommanderRules_.h"

#include <cstdlib>

#include "common/SettingsText_.h"
#include "platform/Format.h"

namespace desk_commander {

int32_t NumberSetting(const std::string& text, int32_t low, int32_t high, int32_t fallback) {
    // The fallback is out of every range, so text that is no number falls back too.
    const int32_t value = common::TextToLong(text, low - 1);
    return value < low || value > high ? fallback : value;
}

bool FlagSetting(const std::string& text, bool fallback) {
    const int32_t value = NumberSetting(text, 0, 1, fallback ? 1 : 0);
    return value == 1;
}

int NextCorner(int corner) { return (corner + 1) % kCornerCount; }

bool PointInCorner(int corner, long x, long y, long left, long top, long right, long bottom, long size) {
    // Counted so that the outermost row or column is 1.
    const long fromLeft = x - left + 1, fromTop = y - top + 1;
    const long fromRight = right - x, fromBottom = bottom - y;
    switch (corner) {
        case kUpperLeft: return fromLeft <= size && fromTop <= size;
        case kUpperRight: return fromRight <= size && fromTop <= size;
        case kLowerLeft: return fromLeft <= size && fromBottom <= size;
        case kLowerRight: return fromRight <= size && fromBottom <= size;
        default: return false;
    }
}

std::string CornerSizeUnit(int32_t size) { return size == 1 ? "pixel" : "pixels"; }
std::string DelayUnit(int32_t seconds) { return seconds == 1 ? "second" : "seconds"; }

std::string ProgramTitle(const std::string& fileName) {
    return fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

std::string FileInFolder(const std::string& folder, const std::string& fileName) {
    if (!folder.empty() && folder.back() == '\\') return folder + fileName;
    return folder + "\\" + fileName;
}

std::string CommandLine(const std::string& program, const std::string& arguments) {
    std::string line = "\"" + program + "\"";
    if (!arguments.empty()) line += " " + arguments;
    return line;
}

namespace {

// A small monitor on a stand; "S" marks the screen, filled per picture.
const char* const kMonitor[kTrayIconSize] = {
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kLLLLLLLLLLLLk.",
    ".kLSSSSSSSSSSLk.",
    ".kLSSSSSSSSSSLk.",
    ".kLSSSSSSSSSSLk.",
    ".kLSSSSSSSSSSLk.",
    ".kLSSSSSSSSSSLk.",
    ".kLSSSSSSSSSSLk.",
    ".kLSSSSSSSSSSLk.",
    ".kLLLLLLLLLLLLk.",
    ".kkkkkkkkkkkkkk.",
    "......kLLk......",
    "......kLLk......",
    "...kkkkkkkkkk...",
    "...kLLLLLLLLk...",
};

// A magenta hill under a grey sky on purple ground.
const char* const kPicture[kScreenBottom - kScreenTop + 1] = {
    "GGGGGGGGGG", "GGGGGGMGGG", "GGGGGMMMGG", "GGMGMMMMMG", "GMMMMMMMMM", "PPPPPPPPPP", "PPPPPPPPPP",
};

struct IconRows {
    std::string text[kTrayIconSize];
    const char* rows[kTrayIconSize];
};

void MakeIcon(IconRows& icon, int index) {
    for (int y = 0; y < kTrayIconSize; ++y) {
        icon.text[y] = kMonitor[y];
        for (int x = kScreenLeft; x <= kScreenRight; ++x) {
            if (icon.text[y][x] != 'S') continue;
            char& pixel = icon.text[y][x];
            switch (index) {
                case kTrayIconSaverOff: pixel = 'R'; break;
                case kTrayIconStarting: pixel = 'N'; break;
                case kTrayIconWaiting: pixel = 'Y'; break;
                default: pixel = kPicture[y - kScreenTop][x - kScreenLeft]; break;
            }
        }
        icon.rows[y] = icon.text[y].c_str();
    }
}

}  // namespace

const char* const* TrayIconRows(int index) {
    // Built in place: the row pointers point into the texts beside them.
    static const IconRows* const icons = [] {
        static IconRows built[kTrayIconWaiting];
        for (int i = 0; i < kTrayIconWaiting; ++i) MakeIcon(built[i], i + 1);
        return built;
    }();
    if (index < kTrayIconNormal || index > kTrayIconWaiting) index = kTrayIconNormal;
    return icons[index - 1].rows;
}

long PaletteColor(char letter) {
    switch (letter) {
        case 'k': return 0x000000;  // black
        case 'L': return 0xC0C0C0;  // light grey
        case 'G': return 0x808080;  // grey
        case 'M': return 0xFF00FF;  // magenta
        case 'P': return 0x800080;  // purple
        case 'R': return 0xFF0000;  // red
        case 'N': return 0x00FF00;  // bright green
        case 'Y': return 0xFFFF00;  // yellow
        default: return -1;
    }
}

}  // namespace desk_commander
