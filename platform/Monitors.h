// The monitors of the desk, as the system lists them.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

namespace platform {

namespace seams {
// The monitors, so that tests can add, remove and move them.
extern std::function<BOOL(HDC, LPCRECT, MONITORENUMPROC, LPARAM)> EnumDisplayMonitors;
}  // namespace seams

// The monitors' areas in virtual-screen pixels, the primary first (the monitor whose
// top-left corner is 0,0), the others in the system's order; the primary screen alone
// when the system lists none.
std::vector<RECT> MonitorRects();

}  // namespace platform
