// What the slide shows of the suite share: which picture comes next, whether the delay
// has run out, a random colour, the count of load failures, the share of the screen a
// picture takes. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <functional>

namespace common {

// Where a show stands in the picture list (indices 1 to N; 0 means none).
struct PickState {
    int32_t CurrentIndex = 0;   // the picture being shown or tried
    int32_t LastPick = 0;       // what a random pick must not repeat
    int32_t PreviousIndex = 0;  // the picture shown before the current one
    bool operator==(const PickState&) const = default;
};

// Draws a random pick makes before it takes the next picture in order instead, so that
// a generator stuck on one number cannot hold the program in the loop.
inline constexpr int kMaxRandomDraws = 1000;

// What a list of one picture keeps of the step before: the wallpaper rotation forgets
// it (nothing to go back to), the slide show keeps it (going back shows the picture again).
enum class SinglePicture { ForgetPrevious, KeepPrevious };

// Moves `state` to the next picture of a list of `count`: one step back with `previous`,
// else at random (never the last pick again) or in order. Returns false, leaving `state`
// alone, when there is nothing to pick: an empty list, or no previous picture in it.
bool PickNextIndex(PickState& state, int32_t count, bool previous, bool random, const std::function<double()>& rnd,
                   SinglePicture single = SinglePicture::ForgetPrevious);

// Seconds between two times of day, either way round: passing midnight gives a long time.
double ElapsedSeconds(double now, float startTime);
bool DelayHasPassed(double now, float startTime, int32_t delay);
// The delay less the whole seconds elapsed.
long TimeLeftSeconds(double now, float startTime, int32_t delay);

// A length in twips as whole pixels, halves to even.
long PixelsFromTwips(double twips, double twipsPerPixel);
// The picture's area as a whole percentage of the screen's, halves to even.
long ScreenPercent(long width, long height, long screenWidth, long screenHeight);

// Load failures in one change of picture that are skipped silently before the last one
// is reported.
inline constexpr int kMaxConsecutiveErrors = 10;

class ConsecutiveErrors {
public:
    // Counts one failure; true when it is the one to report.
    bool Add() { return ++count_ >= kMaxConsecutiveErrors; }
    int Count() const { return count_; }

private:
    int count_ = 0;
};

// A colour (red in the low byte, then green, then blue) built from three random numbers,
// differing from `current`.
uint32_t RandomColor(uint32_t current, const std::function<double()>& rnd);

}  // namespace common
