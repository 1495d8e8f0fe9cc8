// Turning a picture's stored pixels upright, as the EXIF orientation of a photo says.
// Portable: no Windows headers.
//
// Orientations: 1 as stored, 2 mirrored left to right, 3 turned half round, 4 mirrored top
// to bottom, 5 mirrored along the diagonal from the top left corner, 6 turned a quarter
// clockwise, 7 mirrored along the other diagonal, 8 turned a quarter anticlockwise.
// Any other value counts as 1.
#pragma once
#include <cstdint>

namespace platform {

// True for 5 to 8: the upright picture is as wide as the stored one is high.
bool SwapsSides(int orientation);

// Puts `rows` stored rows of 32-bit pixels (packed, `width` pixels each), which are rows
// `top` onwards of a stored picture of `width` x `height`, where the orientation moves
// them in `upright`: the whole upright picture, top-down, its rows packed. Called strip by
// strip while decoding, so that no second copy of the whole picture is needed.
void TurnRows(const std::uint32_t* stored, int width, int height, int top, int rows, int orientation,
              std::uint32_t* upright);

}  // namespace platform
