#include "common/GetDeskMonitors_.h"

#include "platform/Monitors.h"

namespace common {

std::vector<MonitorBox> GetDeskMonitors() {
    std::vector<MonitorBox> monitors;
    for (const RECT& r : platform::MonitorRects()) monitors.push_back({r.left, r.top, r.right, r.bottom});
    return monitors;
}

}  // namespace common
