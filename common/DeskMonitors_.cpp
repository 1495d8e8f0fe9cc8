#include "common/DeskMonitors_.h"

#include <algorithm>

namespace common {

MonitorBox DeskBounds(const std::vector<MonitorBox>& monitors) {
    if (monitors.empty()) return {};
    MonitorBox bounds = monitors.front();
    for (const MonitorBox& m : monitors) {
        bounds.Left = std::min(bounds.Left, m.Left);
        bounds.Top = std::min(bounds.Top, m.Top);
        bounds.Right = std::max(bounds.Right, m.Right);
        bounds.Bottom = std::max(bounds.Bottom, m.Bottom);
    }
    return bounds;
}

MonitorBox DeskCornerMonitor(int corner, const std::vector<MonitorBox>& monitors) {
    if (monitors.empty() || corner < 0 || corner > 3) return {};
    const MonitorBox bounds = DeskBounds(monitors);
    const bool right = corner == 1 || corner == 3, lower = corner >= 2;
    const MonitorBox* best = nullptr;
    for (const MonitorBox& m : monitors) {
        if ((right ? m.Right : m.Left) != (right ? bounds.Right : bounds.Left)) continue;
        if (!best || (lower ? m.Bottom > best->Bottom : m.Top < best->Top)) best = &m;
    }
    return best ? *best : MonitorBox{};
}

std::vector<MonitorBox> OtherMonitorsInOrder(const std::vector<MonitorBox>& monitors) {
    if (monitors.size() < 2) return {};
    std::vector<MonitorBox> others(monitors.begin() + 1, monitors.end());
    std::stable_sort(others.begin(), others.end(), [](const MonitorBox& a, const MonitorBox& b) {
        return a.Left != b.Left ? a.Left < b.Left : a.Top < b.Top;
    });
    return others;
}

}  // namespace common
