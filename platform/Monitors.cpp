#include "platform/Monitors.h"

#include <algorithm>

namespace platform {

namespace seams {
std::function<BOOL(HDC, LPCRECT, MONITORENUMPROC, LPARAM)> EnumDisplayMonitors = ::EnumDisplayMonitors;
}  // namespace seams

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT area, LPARAM list) {
    if (area) reinterpret_cast<std::vector<RECT>*>(list)->push_back(*area);
    return TRUE;
}

}  // namespace

std::vector<RECT> MonitorRects() {
    std::vector<RECT> monitors;
    seams::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    const auto primary =
        std::find_if(monitors.begin(), monitors.end(), [](const RECT& r) { return r.left == 0 && r.top == 0; });
    if (primary == monitors.end())
        monitors.insert(monitors.begin(), RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    else
        std::rotate(monitors.begin(), primary, primary + 1);
    return monitors;
}

}  // namespace platform
