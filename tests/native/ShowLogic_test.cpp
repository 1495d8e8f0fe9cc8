// The rotation's arithmetic; the behaviour end to end is tested under Wine.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <set>

#include "backdrop_changer/ShowLogic.h"

using namespace backdrop_changer;

namespace {

// Hands out the scripted numbers, then repeats the last one.
struct Script {
    std::deque<double> values;
    double last = 0;
    int draws = 0;
    double operator()() {
        ++draws;
        if (!values.empty()) {
            last = values.front();
            values.pop_front();
        }
        return last;
    }
};

int32_t Pick(PickState& state, int32_t count, bool random, Script& script) {
    EXPECT_TRUE(PickNextIndex(state, count, false, random, std::ref(script)));
    return state.CurrentIndex;
}

}  // namespace

TEST(PickNextIndex, RandomMapsTheNumberOntoTheListAndNeverRepeats) {
    PickState state;
    // 1.0 and negative numbers from a generator stay inside the list.
    Script script{{0.0, 0.99999, 0.5, 1.0, -0.25}};
    for (int32_t expected : {1, 4, 3, 4, 1}) EXPECT_EQ(Pick(state, 4, true, script), expected);

    std::mt19937 engine(11);
    std::set<int32_t> seen;
    PickState five;
    for (int i = 0; i < 2000; ++i) {
        int32_t last = five.CurrentIndex;
        ASSERT_TRUE(PickNextIndex(five, 5, false, true,
                                  [&] { return std::uniform_real_distribution<double>(0.0, 1.0)(engine); }));
        ASSERT_NE(five.CurrentIndex, last) << i;
        seen.insert(five.CurrentIndex);
    }
    EXPECT_EQ(seen.size(), 5u);
}

TEST(PickNextIndex, NeitherAStuckGeneratorNorAShrunkListHoldsThePickUp) {
    PickState state{2, 2, 0};
    Script stuck{{0.5}};  // always picture 2 of 3
    EXPECT_EQ(Pick(state, 3, true, stuck), 3);
    EXPECT_EQ(state.LastPick, 3);
    EXPECT_EQ(stuck.draws, kMaxRandomDraws);

    // The last pick of a longer list, then a one-picture folder.
    PickState single{1, 1, 0};
    Script none{{0.0}};
    EXPECT_EQ(Pick(single, 1, true, none), 1);
    EXPECT_EQ(none.draws, 0);
    EXPECT_EQ(single.LastPick, 0);
    EXPECT_EQ(single.PreviousIndex, 0);

    // In order past the end of a list rebuilt shorter: back to the first.
    PickState beyond{7, 0, 6};
    EXPECT_EQ(Pick(beyond, 3, false, none), 1);
}

TEST(PickNextIndex, PreviousNeedsAPictureStillInTheList) {
    PickState state{3, 3, 2};
    Script none;
    ASSERT_TRUE(PickNextIndex(state, 5, true, false, std::ref(none)));
    EXPECT_EQ(state.CurrentIndex, 2);
    EXPECT_EQ(state.LastPick, 2);
    EXPECT_EQ(state.PreviousIndex, 3);
    for (int32_t previous : {0, 9}) {
        PickState nothing{3, 3, previous};
        EXPECT_FALSE(PickNextIndex(nothing, 5, true, false, std::ref(none)));
        EXPECT_EQ(nothing.CurrentIndex, 3);
        EXPECT_EQ(nothing.PreviousIndex, previous);
    }
    EXPECT_FALSE(PickNextIndex(state, 0, false, false, std::ref(none)));
}

TEST(Delay, ElapsedAndTimeLeft) {
    EXPECT_FALSE(DelayHasPassed(1299.9, 1000.0f, 300));
    EXPECT_TRUE(DelayHasPassed(1300.0, 1000.0f, 300));
    // A clock set back counts as time gone by.
    EXPECT_TRUE(DelayHasPassed(700.0, 1000.0f, 300));
    EXPECT_TRUE(DelayHasPassed(2.0, 86395.0f, 21600));
    EXPECT_TRUE(DelayHasPassed(0.0, -300.0f, 300));
    EXPECT_EQ(TimeLeftSeconds(1000.99, 1000.0f, 300), 300);
    EXPECT_EQ(TimeLeftSeconds(1299.5, 1000.0f, 300), 1);
}

TEST(Fit, HalvesRoundToEvenAndTheStyleFollows) {
    EXPECT_EQ(PixelsFromTwips(1500, 15), 100);
    EXPECT_EQ(PixelsFromTwips(37.5, 15), 2);
    EXPECT_EQ(PixelsFromTwips(52.5, 15), 4);
    EXPECT_EQ(PixelsFromTwips(1125, 11.25), 100);
    EXPECT_EQ(ScreenPercent(25, 10, 100, 100), 2);  // 2.5
    EXPECT_EQ(ScreenPercent(35, 10, 100, 100), 4);  // 3.5
    EXPECT_EQ(ScreenPercent(10, 10, 0, 768), 100);
    // 2.5 percent is below 3; 49.8 rounds to 50, which is not below 50.
    EXPECT_EQ(ChooseHang(25, 10, 100, 100, FitOptions{false, 0, true, 3}), Hang::Tile);
    EXPECT_EQ(ChooseHang(510, 768, 1024, 768, FitOptions{false, 0, true, 50}), Hang::Center);
    EXPECT_EQ(ChooseHang(500, 768, 1024, 768, FitOptions{false, 0, true, 50}), Hang::Tile);
    // Only types 0 and 1 stretch; a big picture is never tiled.
    EXPECT_EQ(ChooseHang(10, 769, 1024, 768, FitOptions{true, 0, true, 50}), Hang::Stretch);
    EXPECT_EQ(ChooseHang(2000, 1500, 1024, 768, FitOptions{true, 2, true, 50}), Hang::Center);
    EXPECT_EQ(ChooseHang(100, 100, 1024, 768, FitOptions{true, 1, true, 50}), Hang::Stretch);
}

TEST(RandomColor, RedGreenBlueAndNeverTheCurrentColour) {
    Script script{{0.5, 0.0, 0.999}};
    EXPECT_EQ(RandomColor(0, std::ref(script)), 0xFF0080u);
    Script again{{0.0, 0.0, 0.0, 1.0 / 256, 0.0, 0.0}};
    EXPECT_EQ(RandomColor(0x000000, std::ref(again)), 0x000001u);
    Script stuck{{0.0}};
    EXPECT_NE(RandomColor(0x000000, std::ref(stuck)), 0x000000u);
}
