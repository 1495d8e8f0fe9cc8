// The arithmetic of desktop measuring and placing. Portable: no Windows headers.
#pragma once
#include <string>

namespace common {

struct DesktopAreaRecord {
    long Left = 0;
    long Top = 0;
    long Right = 0;
    long Bottom = 0;
    long Width = 0;
    long Height = 0;
};

// Work-area edges in pixels scaled by f and g (1 for pixels, twips per pixel for twips).
DesktopAreaRecord AreaFromWorkArea(long left, long top, long right, long bottom, double f, double g);
// The whole screen from its size in twips, divided by f and g (twips per pixel, or 1).
DesktopAreaRecord AreaFromScreen(double widthTwips, double heightTwips, double f, double g);
// "l", "t", "r", "b", "h" (any case); anything else gives the width.
long PickDesktopValue(const DesktopAreaRecord& area, const std::string& which);

// Below 1 becomes 2, above 10 becomes 10.
int ClampDivisor(int divisor);
// (free space rounded to an integer) divided with the remainder dropped, plus the origin.
long PlaceOffset(long origin, long freeSpace, double windowSize, int divisor);

// Drop-down width in pixels for the widest entry in twips (0 when the list is empty).
long DropDownWidthPixels(bool hasEntries, double widestTwips, double twipsPerPixelX, long scrollBarWidth);
// The width in twips a text may take in a control.
long AvailableTextWidth(double controlWidthTwips, long marginPixels, double twipsPerPixelX);

}  // namespace common
