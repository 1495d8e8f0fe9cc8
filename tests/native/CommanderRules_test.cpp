// Desk Commander's portable rules: stored options, corner squares, labels, tray pictures.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/DeskMonitors_.h"
#include "desk_commander/CommanderRules_.h"

using namespace desk_commander;

TEST(CommanderSettings, NumbersOutsideTheirRangeOrNotNumbersTakeTheDefault) {
    EXPECT_EQ(NumberSetting("25", kCornerSizeMin, kCornerSizeMax, 3), 3);
    EXPECT_EQ(NumberSetting("20", kCornerSizeMin, kCornerSizeMax, 3), 20);
    EXPECT_EQ(NumberSetting("1", kCornerSizeMin, kCornerSizeMax, 3), 1);
    EXPECT_EQ(NumberSetting("0", kCornerSizeMin, kCornerSizeMax, 3), 3);
    EXPECT_EQ(NumberSetting("0", kActivateDelayMin, kActivateDelayMax, 1), 0);
    EXPECT_EQ(NumberSetting("-1", kActivateDelayMin, kActivateDelayMax, 1), 1);
    EXPECT_EQ(NumberSetting(" 3 ", 0, 3, 0), 3);
    EXPECT_EQ(NumberSetting("three", 0, 3, 1), 1);
    EXPECT_EQ(NumberSetting("", 0, 3, 1), 1);
    EXPECT_EQ(NumberSetting("99999999999", 0, 3, 1), 1);
    EXPECT_TRUE(FlagSetting("1", false));
    EXPECT_FALSE(FlagSetting("0", true));
    EXPECT_TRUE(FlagSetting("2", true));
    EXPECT_FALSE(FlagSetting("True", false));  // check box values are stored as numbers
}

TEST(CommanderCorners, SquaresCountTheOutermostPixelAsOne) {
    const long right = 1024, bottom = 768;
    auto in = [&](int corner, long x, long y) { return PointInCorner(corner, x, y, 0, 0, right, bottom, 3); };
    // Upper-left: x and y 0 to 2.
    EXPECT_TRUE(in(kUpperLeft, 0, 0));
    EXPECT_TRUE(in(kUpperLeft, 2, 2));
    EXPECT_FALSE(in(kUpperLeft, 3, 0));
    EXPECT_FALSE(in(kUpperLeft, 0, 3));
    // Lower-right: the three last columns and rows.
    EXPECT_TRUE(in(kLowerRight, right - 3, bottom - 3));
    EXPECT_TRUE(in(kLowerRight, right - 1, bottom - 1));
    EXPECT_FALSE(in(kLowerRight, right - 4, bottom - 1));
    EXPECT_FALSE(in(kLowerRight, right - 1, bottom - 4));
    EXPECT_TRUE(in(kUpperRight, right - 1, 2));
    EXPECT_FALSE(in(kUpperRight, right - 1, 3));
    EXPECT_TRUE(in(kLowerLeft, 2, bottom - 3));
    EXPECT_FALSE(in(kLowerLeft, 3, bottom - 1));
    // A corner square never holds a point of another.
    EXPECT_FALSE(in(kUpperRight, 0, 0));
    EXPECT_FALSE(in(kLowerLeft, 0, 0));
    EXPECT_FALSE(in(4, 0, 0));
    EXPECT_FALSE(in(-1, 0, 0));
    // Size 1: only the corner pixel itself.
    EXPECT_TRUE(PointInCorner(kLowerRight, right - 1, bottom - 1, 0, 0, right, bottom, 1));
    EXPECT_FALSE(PointInCorner(kLowerRight, right - 2, bottom - 1, 0, 0, right, bottom, 1));
}

TEST(CommanderCorners, TheDesksOuterCornersOnSeveralMonitors) {
    using common::DeskCornerMonitor;
    using common::MonitorBox;
    const MonitorBox primary{0, 0, 1024, 768}, portrait{1024, 0, 1792, 1024};
    // A primary and a taller monitor to its right: the lower-left corner is the primary's,
    // though the desk's bounding box reaches lower; the inner edge has no corner.
    const std::vector<MonitorBox> desk{primary, portrait};
    EXPECT_EQ(DeskCornerMonitor(kUpperLeft, desk), primary);
    EXPECT_EQ(DeskCornerMonitor(kLowerLeft, desk), primary);
    EXPECT_EQ(DeskCornerMonitor(kUpperRight, desk), portrait);
    EXPECT_EQ(DeskCornerMonitor(kLowerRight, desk), portrait);
    auto hot = [&](long x, long y) {
        for (int corner = 0; corner < kCornerCount; ++corner) {
            const MonitorBox m = DeskCornerMonitor(corner, desk);
            if (PointInCorner(corner, x, y, m.Left, m.Top, m.Right, m.Bottom, 3)) return corner;
        }
        return -1;
    };
    EXPECT_EQ(hot(0, 767), kLowerLeft);
    EXPECT_EQ(hot(1791, 1023), kLowerRight);
    EXPECT_EQ(hot(1791, 0), kUpperRight);
    EXPECT_EQ(hot(1023, 0), -1) << "where the two monitors meet";
    EXPECT_EQ(hot(1024, 0), -1);
    EXPECT_EQ(hot(1023, 767), -1);
    EXPECT_EQ(hot(1024, 1023), -1);
    // The primary at the right of a monitor further up: the desk's left corners are the other's.
    const MonitorBox left{-1280, -200, 0, 824};
    EXPECT_EQ(DeskCornerMonitor(kUpperLeft, {primary, left}), left);
    EXPECT_EQ(DeskCornerMonitor(kLowerLeft, {primary, left}), left);
    EXPECT_EQ(DeskCornerMonitor(kLowerRight, {primary, left}), primary);
    // One monitor: the screen's own corners.
    EXPECT_EQ(DeskCornerMonitor(kLowerRight, {primary}), primary);
    EXPECT_EQ(DeskCornerMonitor(kUpperLeft, {}), MonitorBox{});
    // The others in order from the left, whatever order the system lists them in.
    const MonitorBox far{1792, 0, 2816, 768};
    EXPECT_EQ(common::OtherMonitorsInOrder({primary, far, left, portrait}),
              (std::vector<MonitorBox>{left, portrait, far}));
}

TEST(CommanderCorners, AClashMovesToTheNextCornerInOrder) {
    EXPECT_EQ(NextCorner(kUpperLeft), kUpperRight);
    EXPECT_EQ(NextCorner(kUpperRight), kLowerLeft);
    EXPECT_EQ(NextCorner(kLowerLeft), kLowerRight);
    EXPECT_EQ(NextCorner(kLowerRight), kUpperLeft);
}

TEST(CommanderTexts, UnitsAndFileNames) {
    EXPECT_EQ(CornerSizeUnit(1), "pixel");
    EXPECT_EQ(CornerSizeUnit(2), "pixels");
    EXPECT_EQ(DelayUnit(0), "seconds");
    EXPECT_EQ(DelayUnit(1), "second");
    EXPECT_EQ(DelayUnit(5), "seconds");
    EXPECT_EQ(ReverseScroll(20, 18, 1), 3);
    EXPECT_EQ(ReverseScroll(20, ReverseScroll(20, 7, 1), 1), 7);
    EXPECT_EQ(ProgramTitle("Sorvita Slide Saver.scr"), "Sorvita Slide Saver");
    EXPECT_EQ(FileInFolder("C:\\Apps", "a.exe"), "C:\\Apps\\a.exe");
    EXPECT_EQ(FileInFolder("C:\\", "a.exe"), "C:\\a.exe");
    // The program's path quoted, the arguments after it as they are.
    EXPECT_EQ(CommandLine("C:\\Program Files\\Sorvita\\Sorvita Slide Saver.scr", "/S"),
              "\"C:\\Program Files\\Sorvita\\Sorvita Slide Saver.scr\" /S");
    EXPECT_EQ(CommandLine("C:\\Windows\\system32\\rundll32.exe", "shell32.dll,Control_RunDLL main.cpl @0"),
              "\"C:\\Windows\\system32\\rundll32.exe\" shell32.dll,Control_RunDLL main.cpl @0");
    EXPECT_EQ(CommandLine("C:\\My Apps\\a.exe", ""), "\"C:\\My Apps\\a.exe\"");
}

TEST(CommanderTrayPictures, OnlyTheScreenDiffersAndEachStateHasItsColour) {
    const long screens[] = {0, 0xFF0000, 0x00FF00, 0xFFFF00};  // picture 1 is a picture
    for (int index = 1; index <= 4; ++index) {
        const char* const* rows = TrayIconRows(index);
        std::set<long> screenColours;
        for (int y = 0; y < kTrayIconSize; ++y) {
            ASSERT_EQ(std::string(rows[y]).size(), static_cast<size_t>(kTrayIconSize)) << index << " row " << y;
            for (int x = 0; x < kTrayIconSize; ++x) {
                const bool onScreen = y >= kScreenTop && y <= kScreenBottom && x >= kScreenLeft && x <= kScreenRight;
                if (onScreen) {
                    screenColours.insert(PaletteColor(rows[y][x]));
                } else {
                    EXPECT_EQ(rows[y][x], TrayIconRows(1)[y][x]) << index << " at " << x << "," << y;
                }
            }
        }
        if (index == 1) {
            EXPECT_EQ(screenColours, (std::set<long>{0xFF00FF, 0x800080, 0x808080}));
        } else {
            EXPECT_EQ(screenColours, std::set<long>{screens[index - 1]}) << index;
        }
    }
    // Transparent around the monitor; out-of-range indices give the normal picture.
    EXPECT_EQ(PaletteColor(TrayIconRows(1)[0][0]), -1);
    EXPECT_EQ(TrayIconRows(7), TrayIconRows(1));
    EXPECT_EQ(TrayIconRows(0), TrayIconRows(1));
}
