// Texts for delays and time left. Portable: no Windows headers.
#pragma once
#include <string>

namespace common {

// Clock style (":45", "1:30", padded "00:45") or word style ("1 min 30 sec", "10 minutes").
std::string TimeLeftText(long seconds, bool clockStyle, bool padded, bool longUnits);

}  // namespace common
