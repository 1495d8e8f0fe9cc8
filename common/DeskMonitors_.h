// The monitors of a desk as rectangles of the virtual screen: where its outer corners are,
// and the order in which the monitors beside the primary are taken. Portable: no Windows
// headers.
#pragma once
#include <vector>

namespace common {

// A monitor's area in virtual-screen pixels; right and bottom lie just outside it.
struct MonitorBox {
    long Left = 0, Top = 0, Right = 0, Bottom = 0;
    long Width() const { return Right - Left; }
    long Height() const { return Bottom - Top; }
    bool operator==(const MonitorBox&) const = default;
};

// The rectangle around every monitor; an empty box for none.
MonitorBox DeskBounds(const std::vector<MonitorBox>& monitors);

// The monitor whose corner is the desk's corner (0 upper-left, 1 upper-right, 2 lower-left,
// 3 lower-right), as the pointer reaches it when pushed to the desk's side and then along
// it: of the monitors along the desk's left edge (right edge for the right corners), the
// highest for an upper corner and the lowest for a lower one. A corner where two monitors
// meet inside the desk is never one. An empty box for no monitors.
MonitorBox DeskCornerMonitor(int corner, const std::vector<MonitorBox>& monitors);

// The monitors other than the first (the primary), from left to right, then top to bottom.
std::vector<MonitorBox> OtherMonitorsInOrder(const std::vector<MonitorBox>& monitors);

}  // namespace common
