// The monitors of the desk as the system lists them. "The desktop" of GetDesktopSize stays
// the primary monitor alone, wherever the others lie.
#pragma once
#include <vector>

#include "common/DeskMonitors_.h"

namespace common {

// Every monitor of the desk, the primary first.
std::vector<MonitorBox> GetDeskMonitors();

}  // namespace common
