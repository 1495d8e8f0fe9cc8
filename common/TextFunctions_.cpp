#include "common/TextFunctions_.h"

#include "platform/Format.h"

namespace common {

namespace {

std::string Dd(long value) { return platform::PadNumber(value, 2); }

std::string ClockText(long h, long m, long s, bool padded) {
    if (padded) return (h != 0 ? Dd(h) + ":" : "") + Dd(m) + ":" + Dd(s);
    std::string text = h != 0 ? std::to_string(h) : "";
    if (m != 0) {
        if (h != 0) text += ':';
        text += h != 0 ? Dd(m) : std::to_string(m);
    } else if (h != 0) {
        text += ":00";
    }
    text += ':';
    return text + Dd(s);
}

std::string WordText(const long values[3], bool longUnits) {
    static const char* const single[3] = {" hour", " minute", " second"};
    static const char* const longUnit[3] = {" hr ", " min ", " sec"};
    static const char* const shortUnit[3] = {" h ", " m ", " s"};
    std::string text;
    for (int i = 0; i < 3; ++i) {
        long v = values[i];
        if (v == 0) continue;
        bool othersZero = values[(i + 1) % 3] == 0 && values[(i + 2) % 3] == 0;
        text += std::to_string(v);
        if (othersZero)
            text += std::string(single[i]) + (v == 1 ? "" : "s");
        else
            text += longUnits ? longUnit[i] : shortUnit[i];
    }
    return text;
}

}  // namespace

std::string TimeLeftText(long seconds, bool clockStyle, bool padded, bool longUnits) {
    // No caller passes a negative count; show such a count as none left.
    if (seconds < 0) seconds = 0;
    long values[3] = {seconds / 3600, (seconds % 3600) / 60, seconds % 60};
    return clockStyle ? ClockText(values[0], values[1], values[2], padded) : WordText(values, longUnits);
}

}  // namespace common
