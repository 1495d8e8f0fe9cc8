#include <gtest/gtest.h>

#include "backdrop_changer/SetupRules_.h"

using namespace backdrop_changer;

TEST(SetupRules, ControlPanelColorSplitsAtTheFirstTwoBlanks) {
    int r = -1, g = -1, b = -1;
    ASSERT_TRUE(ParseColorText("0 128 128", r, g, b));
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 128);
    EXPECT_EQ(b, 128);
    ASSERT_TRUE(ParseColorText("10 x 255", r, g, b));
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 255);
    EXPECT_FALSE(ParseColorText("", r, g, b));
    EXPECT_FALSE(ParseColorText("0 128", r, g, b));
    EXPECT_FALSE(ParseColorText("teal", r, g, b));
}

TEST(SetupRules, FolderFrameCaptionCountsOrSaysTheFolderIsGone) {
    EXPECT_EQ(FolderFrameCaption("", false, 0), "Fo&lder containing the pic files");
    EXPECT_EQ(FolderFrameCaption("C:\\P", true, 1024), "Fo&lder containing the pic files  (1,024 found)");
    EXPECT_EQ(FolderFrameCaption("C:\\P", true, 0), "Fo&lder containing the pic files  (0 found)");
    EXPECT_EQ(FolderFrameCaption("C:\\Gone", false, 0), "Fo&lder containing the pic files  (no longer exists)");
}

TEST(SetupRules, FolderHistorySlotIgnoresCaseAndFallsBackToTheLast) {
    const std::vector<std::string> list{"C:\\A", "D:\\Pics", "E:\\B"};
    EXPECT_EQ(FolderHistorySlot(list, "d:\\PICS"), 1);
    EXPECT_EQ(FolderHistorySlot(list, "F:\\New"), 19);
    EXPECT_EQ(FolderHistorySlot({}, "F:\\New"), 19);
}
