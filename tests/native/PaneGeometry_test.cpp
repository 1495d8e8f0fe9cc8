#include <gtest/gtest.h>

#include "picture_browser/PaneGeometry_.h"

using namespace picture_browser;

namespace {
constexpr long kBar = 255;  // 17 pixels at 15 twips per pixel
}

TEST(BestFit, SmallerPictureIsCentredAtItsOwnSize) {
    BestFitPlacement p = BestFit(6000, 4500, 3000, 1500);
    EXPECT_FALSE(p.Stretch);
    EXPECT_EQ(p.Image.Left, 1500);
    EXPECT_EQ(p.Image.Top, 1500);
    EXPECT_EQ(p.Image.Width, 3000);
    EXPECT_EQ(p.Image.Height, 1500);
    // Exactly the pane's size is not enlarged either.
    EXPECT_FALSE(BestFit(6000, 4500, 6000, 4500).Stretch);
}

TEST(BestFit, TwiceAsWideAndAsHighShowsAtHalfSizeFullWidth) {
    BestFitPlacement p = BestFit(6000, 4500, 12000, 4500);
    EXPECT_TRUE(p.Stretch);
    EXPECT_EQ(p.Image.Left, 0);
    EXPECT_EQ(p.Image.Width, 6000);
    EXPECT_EQ(p.Image.Height, 2250);
    EXPECT_EQ(p.Image.Top, 1125);  // centred vertically
}

TEST(BestFit, TallPictureTakesTheFullHeightWithIntegerDivisions) {
    BestFitPlacement p = BestFit(6000, 4500, 3001, 9000);
    EXPECT_EQ(p.Image.Height, 4500);
    EXPECT_EQ(p.Image.Width, 1500);  // 4500 * 3001 / 9000 = 1500.5, remainder dropped
    EXPECT_EQ(p.Image.Left, 2250);
    EXPECT_EQ(p.Image.Top, 0);
}

TEST(BestFit, HugePictureDoesNotOverflow) {
    BestFitPlacement p = BestFit(200000, 150000, 3000000, 1500000);
    EXPECT_EQ(p.Image.Width, 200000);
    EXPECT_EQ(p.Image.Height, 100000);
}

TEST(NormalSize, FittingPictureIsCentredWithoutBars) {
    NormalPlacement p = NormalSize(6000, 4500, 3000, 1500, kBar, kBar);
    EXPECT_TRUE(p.Fits);
    EXPECT_FALSE(p.NeedV || p.NeedH);
    EXPECT_EQ(p.Image.Left, 1500);
    EXPECT_EQ(p.Image.Top, 1500);
}

TEST(NormalSize, TallerPictureGetsOnlyAVerticalBarWhenItsWidthStillFits) {
    NormalPlacement p = NormalSize(6000, 4500, 5000, 9000, kBar, kBar);
    EXPECT_TRUE(p.NeedV);
    EXPECT_FALSE(p.NeedH);
    EXPECT_EQ(p.VMax, 4500);
    EXPECT_EQ(p.VBar.Left, 6000 - kBar);
    EXPECT_EQ(p.VBar.Top, 0);
    EXPECT_EQ(p.VBar.Height, 4500);
    EXPECT_EQ(p.CenteredLeft, (6000 - kBar - 5000) / 2);
}

TEST(NormalSize, VerticalBarTakingTheWidthAddsTheHorizontalBarAndCorner) {
    // Slightly narrower than the pane, but not once the vertical bar is in.
    NormalPlacement p = NormalSize(6000, 4500, 5900, 9000, kBar, kBar);
    ASSERT_TRUE(p.NeedV);
    ASSERT_TRUE(p.NeedH);
    EXPECT_EQ(p.VMax, 9000 - 4500 + kBar);
    EXPECT_EQ(p.HMax, 5900 - 6000 + kBar);
    EXPECT_EQ(p.VBar.Height, 4500 - kBar);
    EXPECT_EQ(p.HBar.Top, 4500 - kBar);
    EXPECT_EQ(p.HBar.Width, 6000 - kBar);
    // The corner fills the square where both bars meet.
    EXPECT_EQ(p.Corner.Left, 6000 - kBar);
    EXPECT_EQ(p.Corner.Top, 4500 - kBar);
    EXPECT_EQ(p.Corner.Width, kBar);
    EXPECT_EQ(p.Corner.Height, kBar);
}

TEST(NormalSize, WiderPictureCentresVerticallyAboveTheHorizontalBar) {
    NormalPlacement p = NormalSize(6000, 4500, 9000, 3000, kBar, kBar);
    EXPECT_TRUE(p.NeedH);
    EXPECT_FALSE(p.NeedV);
    EXPECT_EQ(p.HMax, 3000);
    EXPECT_EQ(p.HBar.Width, 6000);
    EXPECT_EQ(p.CenteredTop, (4500 - kBar - 3000) / 2);
}

TEST(ScrollLimits, SixteenBitMaximaAndCornerHalves) {
    EXPECT_TRUE(ScrollMaxSettable(32767));
    EXPECT_FALSE(ScrollMaxSettable(32768));
    EXPECT_EQ(CornerValue(301), 150);  // 150.5 -> 150
    EXPECT_EQ(CornerValue(303), 152);  // 151.5 -> 152
    EXPECT_EQ(SmallScrollStep(15), 150);
    EXPECT_EQ(LargeScrollStep(11.25), 1125);
    EXPECT_EQ(SmallScrollStep(11.25), 112);  // 112.5 -> 112
}

TEST(PicInfo, SizeFitAndKilobytes) {
    EXPECT_EQ(PicInfoText(1024, 768, 1280, 1024, 89000), "1,024 x 768 - Fits on desktop - 87K");
    EXPECT_EQ(PicInfoText(100, 50, 1024, 768, 10240), "100 x 50 - Fits on desktop - 10K");
    EXPECT_EQ(PicInfoText(100, 50, 1024, 768, 1536), "100 x 50 - Fits on desktop - 1.5K");
    EXPECT_EQ(PicInfoText(100, 50, 1024, 768, 10239), "100 x 50 - Fits on desktop - 10.0K");
    EXPECT_EQ(PicInfoText(1, 1, 1024, 768, 0), "1 x 1 - Fits on desktop - 0.0K");
}

TEST(PicInfo, ExactlyTheScreenFitsOnePixelMoreDoesNot) {
    EXPECT_EQ(PicInfoText(1024, 768, 1024, 768, 2048), "1,024 x 768 - Fits on desktop - 2.0K");
    EXPECT_EQ(PicInfoText(1025, 768, 1024, 768, 2048), "1,025 x 768 - Bigger than desktop - 2.0K");
    EXPECT_EQ(PicInfoText(1024, 769, 1024, 768, 2048), "1,024 x 769 - Bigger than desktop - 2.0K");
}

TEST(PicInfo, NumberIsOneBasedWithSeparators) {
    EXPECT_EQ(PicNumberText(0), "Pic 1");
    EXPECT_EQ(PicNumberText(1233), "Pic 1,234");
}
