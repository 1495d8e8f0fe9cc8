#include <gtest/gtest.h>

#include "common/Geometry_.h"

using namespace common;

TEST(Geometry, WorkAreaInPixelsAndTwips) {
    DesktopAreaRecord pixels = AreaFromWorkArea(0, 0, 800, 572, 1, 1);
    EXPECT_EQ(pixels.Width, 800);
    EXPECT_EQ(pixels.Height, 572);
    DesktopAreaRecord twips = AreaFromWorkArea(10, 20, 800, 572, 15, 15);
    EXPECT_EQ(twips.Left, 150);
    EXPECT_EQ(twips.Top, 300);
    EXPECT_EQ(twips.Right, 12000);
    EXPECT_EQ(twips.Bottom, 8580);
    EXPECT_EQ(twips.Width, 11850);
    EXPECT_EQ(twips.Height, 8280);
}

TEST(Geometry, EachEdgeRoundsHalfToEven) {
    // 11.25 twips per pixel (128 DPI): 2 x 11.25 = 22.5 -> 22, 6 x 11.25 = 67.5 -> 68.
    DesktopAreaRecord area = AreaFromWorkArea(2, 6, 10, 14, 11.25, 11.25);
    EXPECT_EQ(area.Left, 22);
    EXPECT_EQ(area.Top, 68);
    EXPECT_EQ(area.Right, 112);   // 112.5
    EXPECT_EQ(area.Bottom, 158);  // 157.5
    EXPECT_EQ(area.Width, 90);
    EXPECT_EQ(area.Height, 90);
}

TEST(Geometry, WholeScreenStartsAtZero) {
    DesktopAreaRecord pixels = AreaFromScreen(15360, 11520, 15, 15);
    EXPECT_EQ(pixels.Left, 0);
    EXPECT_EQ(pixels.Top, 0);
    EXPECT_EQ(pixels.Right, 1024);
    EXPECT_EQ(pixels.Width, 1024);
    EXPECT_EQ(pixels.Height, 768);
    DesktopAreaRecord halves = AreaFromScreen(45, 75, 10, 10);  // 4.5 -> 4, 7.5 -> 8
    EXPECT_EQ(halves.Width, 4);
    EXPECT_EQ(halves.Height, 8);
}

TEST(Geometry, WhichLettersPickTheValue) {
    DesktopAreaRecord area{1, 2, 30, 40, 29, 38};
    EXPECT_EQ(PickDesktopValue(area, "l"), 1);
    EXPECT_EQ(PickDesktopValue(area, "L"), 1);
    EXPECT_EQ(PickDesktopValue(area, "t"), 2);
    EXPECT_EQ(PickDesktopValue(area, "R"), 30);
    EXPECT_EQ(PickDesktopValue(area, "b"), 40);
    EXPECT_EQ(PickDesktopValue(area, "h"), 38);
    EXPECT_EQ(PickDesktopValue(area, "w"), 29);
    EXPECT_EQ(PickDesktopValue(area, "x"), 29);
    EXPECT_EQ(PickDesktopValue(area, ""), 29);
    EXPECT_EQ(PickDesktopValue(area, "left"), 29);
}

TEST(Geometry, DivisorIsClampedAndOffsetsTruncate) {
    EXPECT_EQ(ClampDivisor(0), 2);
    EXPECT_EQ(ClampDivisor(-5), 2);
    EXPECT_EQ(ClampDivisor(1), 1);
    EXPECT_EQ(ClampDivisor(10), 10);
    EXPECT_EQ(ClampDivisor(11), 10);
    EXPECT_EQ(PlaceOffset(0, 9000, 3000, 3), 2000);
    EXPECT_EQ(PlaceOffset(100, 1001, 0, 2), 600);    // 1001 / 2 = 500, remainder dropped
    EXPECT_EQ(PlaceOffset(0, 1000, 2001, 2), -500);  // -1001 / 2 truncates toward zero
}

TEST(Geometry, DropDownAndTextWidths) {
    EXPECT_EQ(DropDownWidthPixels(false, 5000, 15, 17), 0);
    EXPECT_EQ(DropDownWidthPixels(true, 1514.6, 15, 17), 1515 / 15 + 17 + 10);
    EXPECT_EQ(AvailableTextWidth(3000, 17, 15), 3000 - 27 * 15);
}
