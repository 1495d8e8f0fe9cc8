#include "common/Geometry_.h"

#include "platform/Format.h"

namespace common {

using platform::RoundHalfEven;

DesktopAreaRecord AreaFromWorkArea(long left, long top, long right, long bottom, double f, double g) {
    DesktopAreaRecord area;
    area.Left = static_cast<long>(RoundHalfEven(left * f));
    area.Top = static_cast<long>(RoundHalfEven(top * g));
    area.Right = static_cast<long>(RoundHalfEven(right * f));
    area.Bottom = static_cast<long>(RoundHalfEven(bottom * g));
    area.Width = area.Right - area.Left;
    area.Height = area.Bottom - area.Top;
    return area;
}

DesktopAreaRecord AreaFromScreen(double widthTwips, double heightTwips, double f, double g) {
    DesktopAreaRecord area;
    area.Right = static_cast<long>(RoundHalfEven(widthTwips / f));
    area.Bottom = static_cast<long>(RoundHalfEven(heightTwips / g));
    area.Width = area.Right;
    area.Height = area.Bottom;
    return area;
}

long PickDesktopValue(const DesktopAreaRecord& area, const std::string& which) {
    std::string key = platform::LowerCase(which);
    if (key == "l") return area.Left;
    if (key == "t") return area.Top;
    if (key == "r") return area.Right;
    if (key == "b") return area.Bottom;
    if (key == "h") return area.Height;
    return area.Width;
}

int ClampDivisor(int divisor) {
    if (divisor < 1) return 2;
    if (divisor > 10) return 10;
    return divisor;
}

long PlaceOffset(long origin, long freeSpace, double windowSize, int divisor) {
    long space = static_cast<long>(RoundHalfEven(freeSpace - windowSize));
    return space / divisor + origin;  // C++ division truncates toward zero, as wanted
}

long DropDownWidthPixels(bool hasEntries, double widestTwips, double twipsPerPixelX, long scrollBarWidth) {
    if (!hasEntries) return 0;
    long widest = static_cast<long>(RoundHalfEven(widestTwips));
    return static_cast<long>(widest / static_cast<long>(RoundHalfEven(twipsPerPixelX))) + scrollBarWidth + 10;
}

long AvailableTextWidth(double controlWidthTwips, long marginPixels, double twipsPerPixelX) {
    return static_cast<long>(RoundHalfEven(controlWidthTwips - (marginPixels + 10) * twipsPerPixelX));
}

}  // namespace common
