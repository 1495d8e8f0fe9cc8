// The decisions of the wallpaper rotation: how a picture is laid out on the desktop;
// the picking and timing it shares with the slide show. Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <functional>

#include "common/PicturePick_.h"

namespace backdrop_changer {

using common::ConsecutiveErrors;
using common::DelayHasPassed;
using common::ElapsedSeconds;
using common::kMaxConsecutiveErrors;
using common::kMaxRandomDraws;
using common::PickNextIndex;
using common::PickState;
using common::PixelsFromTwips;
using common::RandomColor;
using common::ScreenPercent;
using common::TimeLeftSeconds;

// How the wallpaper is laid out.
enum class Hang { Center, Tile, Stretch };

struct FitOptions {
    bool StretchFit = false;
    int32_t StretchType = 0;  // 0 big pictures only, 1 all
    bool TileSmall = false;
    int32_t TilePercent = 50;
};

// Stretch, tile or centre for a picture of width x height pixels on a screen of
// screenWidth x screenHeight pixels.
Hang ChooseHang(long width, long height, long screenWidth, long screenHeight, const FitOptions& options);

}  // namespace backdrop_changer
