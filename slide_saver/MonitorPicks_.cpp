#include "slide_saver/MonitorPicks_.h"

#include <algorithm>
#include <cmath>

namespace slide_saver {

namespace {

int32_t InOrder(int32_t primaryIndex, size_t k, int32_t count) {
    const int64_t from = std::clamp<int64_t>(primaryIndex, 1, count) - 1;
    return static_cast<int32_t>((from + static_cast<int64_t>(k) + 1) % count) + 1;
}

int32_t Draw(double random, int32_t count) {
    const double value = std::floor(random * count);
    if (!(value >= 0)) return 1;
    if (value > count - 1) return count;
    return static_cast<int32_t>(value) + 1;
}

}  // namespace

void PickOtherMonitors(std::vector<common::PickState>& others, int32_t primaryIndex, int32_t count, bool previous,
                       bool random, const std::function<double()>& rnd) {
    if (count < 1) return;
    if (previous) {
        for (common::PickState& state : others)
            common::PickNextIndex(state, count, true, random, rnd, common::SinglePicture::KeepPrevious);
        return;
    }
    std::vector<int32_t> taken{primaryIndex};
    auto isTaken = [&taken](int32_t index) { return std::find(taken.begin(), taken.end(), index) != taken.end(); };
    for (size_t k = 0; k < others.size(); ++k) {
        common::PickState& state = others[k];
        int32_t next = InOrder(primaryIndex, k, count);
        if (random) {
            // Free pictures, first without the monitor's own last one; a list too short for
            // that takes its pictures in order.
            auto allowed = [&](int32_t index, bool avoidLast) {
                return !isTaken(index) && !(avoidLast && index == state.LastPick);
            };
            bool avoidLast = false;
            for (int32_t i = 1; i <= count && !avoidLast; ++i) avoidLast = allowed(i, true);
            bool any = avoidLast;
            for (int32_t i = 1; i <= count && !any; ++i) any = allowed(i, false);
            if (any) {
                int32_t drawn = Draw(rnd(), count);
                for (int draws = 1; !allowed(drawn, avoidLast) && draws < common::kMaxRandomDraws; ++draws)
                    drawn = Draw(rnd(), count);
                // A generator stuck on taken pictures: the next free one after its number.
                while (!allowed(drawn, avoidLast)) drawn = drawn % count + 1;
                next = drawn;
            }
        }
        state.PreviousIndex = state.CurrentIndex;
        state.CurrentIndex = next;
        state.LastPick = next;
        taken.push_back(next);
    }
}

}  // namespace slide_saver
