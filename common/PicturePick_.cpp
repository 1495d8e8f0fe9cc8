#include "common/PicturePick_.h"

#include <cmath>

#include "platform/Format.h"

namespace common {

namespace {

// The whole part of (random x n), kept inside 0 to n - 1 whatever the generator hands out.
int32_t Scaled(double random, int32_t n) {
    double value = std::floor(random * n);
    if (!(value >= 0)) return 0;
    if (value > n - 1) return n - 1;
    return static_cast<int32_t>(value);
}

}  // namespace

bool PickNextIndex(PickState& state, int32_t count, bool previous, bool random, const std::function<double()>& rnd,
                   SinglePicture single) {
    if (count < 1) return false;
    const int32_t p = state.PreviousIndex;
    // Going back needs a picture that is still in the list; the list's entry 0 is no picture.
    if (previous && (p < 1 || p > count)) return false;
    state.PreviousIndex = state.CurrentIndex;
    if (previous) {
        state.CurrentIndex = p;
        state.LastPick = p;
    } else if (random && count > 1) {
        int draws = 0;
        do {
            state.CurrentIndex = Scaled(rnd(), count) + 1;
        } while (state.CurrentIndex == state.LastPick && ++draws < kMaxRandomDraws);
        if (state.CurrentIndex == state.LastPick) state.CurrentIndex = state.LastPick % count + 1;
        state.LastPick = state.CurrentIndex;
    } else if (random) {
        state.CurrentIndex = 1;
    } else {
        state.CurrentIndex = state.CurrentIndex + 1 > count ? 1 : state.CurrentIndex + 1;
    }
    // A single picture must stay pickable.
    if (count == 1) {
        if (single == SinglePicture::ForgetPrevious) state.PreviousIndex = 0;
        state.LastPick = 0;
    }
    return true;
}

double ElapsedSeconds(double now, float startTime) { return std::fabs(now - static_cast<double>(startTime)); }

bool DelayHasPassed(double now, float startTime, int32_t delay) { return ElapsedSeconds(now, startTime) >= delay; }

long TimeLeftSeconds(double now, float startTime, int32_t delay) {
    return delay - static_cast<long>(std::floor(ElapsedSeconds(now, startTime)));
}

long PixelsFromTwips(double twips, double twipsPerPixel) {
    if (twipsPerPixel <= 0) return 0;
    return static_cast<long>(platform::RoundHalfEven(twips / twipsPerPixel));
}

long ScreenPercent(long width, long height, long screenWidth, long screenHeight) {
    double screenArea = static_cast<double>(screenWidth) * static_cast<double>(screenHeight);
    // A screen that reports no size makes no picture small.
    if (screenArea <= 0) return 100;
    return static_cast<long>(
        platform::RoundHalfEven(static_cast<double>(width) * static_cast<double>(height) / screenArea * 100.0));
}

uint32_t RandomColor(uint32_t current, const std::function<double()>& rnd) {
    for (int draw = 0; draw < kMaxRandomDraws; ++draw) {
        uint32_t red = static_cast<uint32_t>(Scaled(rnd(), 256));
        uint32_t green = static_cast<uint32_t>(Scaled(rnd(), 256));
        uint32_t blue = static_cast<uint32_t>(Scaled(rnd(), 256));
        uint32_t color = red | (green << 8) | (blue << 16);
        if (color != current) return color;
    }
    return (current ^ 0xFFFFFFu) & 0xFFFFFFu;
}

}  // namespace common
