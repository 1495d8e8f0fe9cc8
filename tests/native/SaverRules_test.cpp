// Slide Saver's settings record, command line and layout arithmetic.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "slide_saver/MonitorPicks_.h"
#include "slide_saver/SaverRules_.h"

using namespace slide_saver;

namespace {

SaverSettingsRecord ReadFrom(const std::map<std::string, std::string>& stored) {
    return ReadSaverSettings([&](const std::string& key, const std::string& defaultText) {
        auto found = stored.find(key);
        return found == stored.end() ? defaultText : found->second;
    });
}

TEST(SaverSettings, DefaultsRangesAndTrimmedFolder) {
    const SaverSettingsRecord none = ReadFrom({});
    EXPECT_EQ(none.PicsFolder, "");
    EXPECT_EQ(none.ShowDelay, 10);
    EXPECT_EQ(none.QuickDelay, 1);
    EXPECT_EQ(none.TilePercent, 50);
    EXPECT_FALSE(none.BestFit || none.TileSmall || none.AllowMouse || none.DisplayName || none.MorePicTypes);
    EXPECT_TRUE(none.AllMonitors) << "a missing \"All Monitors\" means every monitor";
    EXPECT_FALSE(ReadFrom({{"All Monitors", "False"}}).AllMonitors);

    // Each number at and past both ends of its range, and text that is no number.
    struct Range {
        const char* key;
        int32_t SaverSettingsRecord::*field;
        int32_t low, high, fallback;
    } ranges[] = {
        {"Show Delay", &SaverSettingsRecord::ShowDelay, 1, 600, 10},
        {"Quick Delay", &SaverSettingsRecord::QuickDelay, 1, 600, 1},
        {"Tile Percent", &SaverSettingsRecord::TilePercent, 1, 100, 50},
    };
    for (const Range& r : ranges) {
        const std::pair<std::string, int32_t> cases[] = {
            {std::to_string(r.low - 1), r.fallback}, {std::to_string(r.low), r.low},
            {std::to_string(r.high), r.high},        {std::to_string(r.high + 1), r.fallback},
            {"abc", r.fallback},
        };
        for (const auto& [stored, expected] : cases)
            EXPECT_EQ(ReadFrom({{r.key, stored}}).*r.field, expected) << r.key << " stored as " << stored;
    }
    EXPECT_EQ(ReadFrom({{"Pics Folder", "  C:\\Pics  "}}).PicsFolder, "C:\\Pics");
    const SaverSettingsRecord on = ReadFrom(
        {{"Best Fit", "True"}, {"Display Name", "true"}, {"Allow Mouse", "-1"}, {"More Pic Types", "True"}});
    EXPECT_TRUE(on.BestFit && on.DisplayName && on.AllowMouse && on.MorePicTypes);
}

TEST(SaverSettings, TogglesAndSetupKeysInTheirOrder) {
    SaverSettingsRecord s;
    s.BestFit = true;
    s.DisplayName = true;
    s.PicsFolder = "C:\\Pics";
    s.ShowDelay = 90;
    s.MorePicTypes = true;
    const SettingTexts toggles = ToggleTexts(s);
    const SettingTexts expectedToggles = {{"Best Fit", "True"},
                                          {"Tile Small", "False"},
                                          {"Random Color", "False"},
                                          {"Display Time", "False"},
                                          {"Display Name", "True"}};
    EXPECT_EQ(toggles, expectedToggles);
    const SettingTexts setup = SetupTexts(s);
    const SettingTexts expectedSetup = {{"Pics Folder", "C:\\Pics"}, {"Pics Subfolders", "False"},
                                        {"Show Delay", "90"},        {"Quick Delay", "1"},
                                        {"Show Random", "False"},    {"Allow Mouse", "False"},
                                        {"Tile Percent", "50"},      {"Skip Errors", "False"},
                                        {"All Monitors", "True"},    {"More Pic Types", "True"}};
    EXPECT_EQ(setup, expectedSetup);
    EXPECT_EQ(FolderHistoryKey(0), "Pics Folder 00");
    EXPECT_EQ(FolderHistoryKey(19), "Pics Folder 19");
}

TEST(SaverCommandLine, SwitchFormsAndHandles) {
    struct Case {
        const char* line;
        const char* switchText;
        uint32_t handle;
    } cases[] = {
        {"/s", "/s", 0},
        {"  /S  ", "/s", 0},
        {"/c:1234", "/c", 0},  // ":1234" is no number
        {"/C", "/c", 0},
        {"/p 1234", "/p", 1234},
        {"/p1234", "/p", 1234},
        {"/P   66078", "/p", 66078},
        {"/p", "/p", 0},
        {"/p x12", "/p", 0},
        {"/p 12abc", "/p", 12},
        {"/a 4294967295", "/a", 4294967295u},
        {"/a 4294967296", "/a", 0},            // past 32 bits: no window
        {"/p 99999999999999999999999", "/p", 0},  // would overflow any integer
        {"/p -5", "/p", 0},
        {"", "", 0},
        {"x", "x", 0},
    };
    for (const Case& c : cases) {
        const SaverCommand command = SplitCommandLine(c.line);
        EXPECT_EQ(command.Switch, c.switchText) << c.line;
        EXPECT_EQ(command.Handle, c.handle) << c.line;
    }
}

TEST(SaverLayout, BestFitShrinksOnlyWhatDoesNotFit) {
    BestFit small = LayOutBestFit(400, 300, 1024, 768);
    EXPECT_FALSE(small.Stretched);
    EXPECT_EQ(small.Frame, (Box{312, 234, 400, 300}));
    BestFit wide = LayOutBestFit(2000, 500, 1024, 768);
    EXPECT_TRUE(wide.Stretched);
    EXPECT_EQ(wide.Frame, (Box{0, 256, 1024, 256}));
    BestFit tall = LayOutBestFit(600, 1536, 1024, 768);
    EXPECT_EQ(tall.Frame, (Box{(1024 - 300) / 2, 0, 300, 768}));
    // Exactly the screen's size fits as it is.
    EXPECT_FALSE(LayOutBestFit(1024, 768, 1024, 768).Stretched);
    // Too big for 32-bit arithmetic of width x height.
    BestFit huge = LayOutBestFit(60000, 60000, 3840, 2160);
    EXPECT_EQ(huge.Frame, (Box{840, 0, 2160, 2160}));
}

TEST(SaverLayout, ActualSizeBarsOnlyWhereNeeded) {
    const long bar = 16;
    ActualSize wide = LayOutActualSize(2000, 500, 1024, 768, bar, bar);
    EXPECT_TRUE(wide.NeedHorizontal);
    EXPECT_FALSE(wide.NeedVertical);  // 500 still fits above the bar
    EXPECT_EQ(wide.HorizontalMax, 976);
    EXPECT_EQ(wide.Horizontal, (Box{0, 752, 1024, 16}));
    EXPECT_EQ(wide.Frame, (Box{0, (752 - 500) / 2, 2000, 500}));

    // One bar takes the room that makes the other one needed.
    ActualSize nearly = LayOutActualSize(1020, 1000, 1024, 768, bar, bar);
    EXPECT_TRUE(nearly.NeedVertical && nearly.NeedHorizontal);
    EXPECT_EQ(nearly.VerticalMax, 1000 - 768 + 16);
    EXPECT_EQ(nearly.HorizontalMax, 1020 - 1024 + 16);
    EXPECT_EQ(nearly.Vertical, (Box{1008, 0, 16, 752}));
    EXPECT_EQ(nearly.Horizontal, (Box{0, 752, 1008, 16}));

    ActualSize fits = LayOutActualSize(1024, 768, 1024, 768, bar, bar);
    EXPECT_FALSE(fits.NeedVertical || fits.NeedHorizontal);
    EXPECT_EQ(fits.Frame, (Box{0, 0, 1024, 768}));
}

TEST(SaverLayout, TilingAtTheEdgeOfThePercentage) {
    // 400 x 300 is 15.26 % of 1024 x 768: 15.
    EXPECT_TRUE(ShouldTile(400, 300, 1024, 768, 16));
    EXPECT_FALSE(ShouldTile(400, 300, 1024, 768, 15));
    // A half rounds to even: 2.5 % is 2, 3.5 % is 4.
    EXPECT_TRUE(ShouldTile(25, 10, 100, 100, 3));
    EXPECT_FALSE(ShouldTile(35, 10, 100, 100, 4));
    // Only pictures that fit are tiled.
    EXPECT_FALSE(ShouldTile(1025, 10, 1024, 768, 100));

    const auto tiles = TileOrigins(400, 300, 1024, 768);
    // x 0, 400, 800 and y 0, 300, 600: the last row and column go past the edges.
    ASSERT_EQ(tiles.size(), 9u);
    EXPECT_EQ(tiles.front(), std::make_pair(0L, 0L));
    EXPECT_EQ(tiles.back(), std::make_pair(800L, 600L));
    // A grid that ends exactly on the edge still draws the tile there.
    EXPECT_EQ(TileOrigins(512, 384, 1024, 768).size(), 9u);
    EXPECT_TRUE(TileOrigins(0, 10, 100, 100).empty());
}

}  // namespace

namespace {

TEST(SaverMonitors, InOrderTheNextPicturesAfterThePrimarysAndBackTogether) {
    std::vector<common::PickState> others(2);
    auto never = [] { return 0.0; };
    PickOtherMonitors(others, 4, 5, false, false, never);
    EXPECT_EQ(others[0].CurrentIndex, 5);
    EXPECT_EQ(others[1].CurrentIndex, 1) << "past the last picture comes the first";
    PickOtherMonitors(others, 5, 5, false, false, never);
    EXPECT_EQ(others[0].CurrentIndex, 1);
    EXPECT_EQ(others[1].CurrentIndex, 2);
    PickOtherMonitors(others, 4, 5, true, false, never);
    EXPECT_EQ(others[0].CurrentIndex, 5);
    EXPECT_EQ(others[1].CurrentIndex, 1);
    // Fewer pictures than monitors: shared, never none.
    std::vector<common::PickState> many(3);
    PickOtherMonitors(many, 1, 2, false, false, never);
    EXPECT_EQ(many[0].CurrentIndex, 2);
    EXPECT_EQ(many[1].CurrentIndex, 1);
    EXPECT_EQ(many[2].CurrentIndex, 2);
}

TEST(SaverMonitors, AtRandomNoTwoMonitorsShowTheSamePicture) {
    // A generator stuck on one number still gives every monitor a picture of its own.
    for (double stuck : {0.0, 0.5, 0.99}) {
        std::vector<common::PickState> others(3);
        for (int32_t primary : {1, 2, 3, 4}) {
            const std::vector<common::PickState> before = others;
            PickOtherMonitors(others, primary, 4, false, true, [stuck] { return stuck; });
            std::set<int32_t> shown{primary};
            for (size_t k = 0; k < others.size(); ++k) {
                EXPECT_TRUE(shown.insert(others[k].CurrentIndex).second) << stuck << " " << primary;
                EXPECT_EQ(others[k].PreviousIndex, before[k].CurrentIndex);
            }
        }
    }
    // Pictures enough: a monitor does not show its own last picture again either.
    std::vector<common::PickState> one(1);
    one[0].CurrentIndex = one[0].LastPick = 3;
    PickOtherMonitors(one, 1, 3, false, true, [] { return 0.99; });
    EXPECT_EQ(one[0].CurrentIndex, 2);
    // Only the primary's picture is left besides: then the monitor's own last one again.
    PickOtherMonitors(one, 1, 2, false, true, [] { return 0.0; });
    EXPECT_EQ(one[0].CurrentIndex, 2);
    // One picture: every monitor shows it.
    PickOtherMonitors(one, 1, 1, false, true, [] { return 0.5; });
    EXPECT_EQ(one[0].CurrentIndex, 1);
}

}  // namespace
