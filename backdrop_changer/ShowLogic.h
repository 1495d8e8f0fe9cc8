// The decisions of the wallpaper rotation: which picture comes next, whether the delay
// has run out, how a picture is laid out on the desktop. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <functional>

namespace backdrop_changer {

// Where the rotation stands in the picture list (indices 1 to N; 0 means none).
struct PickState {
    int32_t CurrentIndex = 0;   // the picture being shown or tried
    int32_t LastPick = 0;       // what a random pick must not repeat
    int32_t PreviousIndex = 0;  // the picture shown before the current one
};

// Draws a random pick makes before it takes the next picture in order instead, so that
// a generator stuck on one number cannot hold the program in the loop.
inline constexpr int kMaxRandomDraws = 1000;

// Moves `state` to the next picture of a list of `count`: one step back with `previous`,
// else at random (never the last pick again) or in order. Returns false, leaving `state`
// alone, when there is nothing to pick: an empty list, or no previous picture in it.
bool PickNextIndex(PickState& state, int32_t count, bool previous, bool random, const std::function<double()>& rnd);

// Seconds between two times of day, either way round: passing midnight gives a long time.
double ElapsedSeconds(double now, float lastShowTime);
bool DelayHasPassed(double now, float lastShowTime, int32_t delay);
// The delay less the whole seconds elapsed.
long TimeLeftSeconds(double now, float lastShowTime, int32_t delay);

// How the wallpaper is laid out.
enum class Hang { Center, Tile, Stretch };

struct FitOptions {
    bool StretchFit = false;
    int32_t StretchType = 0;  // 0 big pictures only, 1 all
    bool TileSmall = false;
    int32_t TilePercent = 50;
};

// A length in twips as whole pixels, halves to even.
long PixelsFromTwips(double twips, double twipsPerPixel);
// The picture's area as a whole percentage of the screen's, halves to even.
long ScreenPercent(long width, long height, long screenWidth, long screenHeight);
// Stretch, tile or centre for a picture of width x height pixels on a screen of
// screenWidth x screenHeight pixels.
Hang ChooseHang(long width, long height, long screenWidth, long screenHeight, const FitOptions& options);

// Load failures in one call that are skipped silently before the last one is reported.
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

}  // namespace backdrop_changer
