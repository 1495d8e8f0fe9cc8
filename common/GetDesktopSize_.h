// Measures the usable desktop and places windows on it.
#pragma once
#include <string>

#include "common/Geometry_.h"

namespace platform {
class Form;
}

namespace common {

// Filled by every call of GetDesktopSize; read it right after the call.
extern DesktopAreaRecord DesktopArea;

// The work area (or, when not asked or not available, the whole screen), in pixels or
// twips; returns the value named by `which` ("l", "t", "r", "b", "h"; else the width).
long GetDesktopSize(bool useWorkArea, bool inPixels, const std::string& which);

// Moves the form so that its free height is split 1 : divisor - 1 above and below,
// centred across. The divisor is clamped to 2 (below 1) or 10 (above 10) in place.
void PlaceFormOnDesktop(platform::Form& form, int& divisor);

}  // namespace common
