// Which picture each monitor beside the primary shows at a change of picture. Portable: no
// Windows headers.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "common/PicturePick_.h"

namespace slide_saver {

// Moves every other monitor's place in the list (`others`, in the monitors' order) along
// with the primary, which has just moved to `primaryIndex` of a list of `count`:
// - in order, the k-th other monitor shows the k-th picture after the primary's;
// - at random, a picture that neither the primary nor another monitor shows now, and not
//   the monitor's own last one, as far as the list has pictures enough; a short list
//   shares pictures rather than leave a monitor empty;
// - back (`previous`), each monitor returns to the picture it showed before, so that the
//   whole desk shows again what it showed together.
void PickOtherMonitors(std::vector<common::PickState>& others, int32_t primaryIndex, int32_t count, bool previous,
                       bool random, const std::function<double()>& rnd);

}  // namespace slide_saver
