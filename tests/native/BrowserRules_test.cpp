#include <gtest/gtest.h>

#include <deque>

#include "picture_browser/BrowserRules_.h"

using namespace picture_browser;

namespace {
std::vector<std::string> Folders(int n) {
    std::vector<std::string> items;
    for (int i = 0; i < n; ++i) items.push_back("C:\\F" + std::to_string(i));
    return items;
}
}  // namespace

TEST(FolderHistory, KeysHaveTwoDigits) {
    EXPECT_EQ(HistoryKey(0), "Folder 00");
    EXPECT_EQ(HistoryKey(19), "Folder 19");
}

TEST(FolderHistory, NewFolderGoesOnTopAndPushesTheOldestOutOfAFullList) {
    std::vector<std::string> items = Folders(20);
    EXPECT_EQ(UpdateHistoryList(items, "D:\\New", true), 19);
    ASSERT_EQ(items.size(), 20u);
    EXPECT_EQ(items.front(), "D:\\New");
    EXPECT_EQ(items[1], "C:\\F0");
    EXPECT_EQ(items.back(), "C:\\F18");
}

TEST(FolderHistory, KnownFolderMovesUpWithoutACopyWhateverItsCase) {
    std::vector<std::string> items = Folders(20);
    EXPECT_EQ(UpdateHistoryList(items, "c:\\f7", true), 7);
    ASSERT_EQ(items.size(), 20u);
    EXPECT_EQ(items.front(), "c:\\f7");
    EXPECT_EQ(items[7], "C:\\F6");
    EXPECT_EQ(items.back(), "C:\\F19");  // nothing else pushed out
}

TEST(FolderHistory, ShortListGrows) {
    std::vector<std::string> items = Folders(3);
    EXPECT_EQ(UpdateHistoryList(items, "D:\\New", true), -1);
    EXPECT_EQ(items.size(), 4u);
}

TEST(FolderHistory, RemovalTakesOnlyTheFolderItself) {
    std::vector<std::string> items = Folders(20);
    EXPECT_EQ(UpdateHistoryList(items, "C:\\F3", false), 3);
    EXPECT_EQ(items.size(), 19u);
    // A text that is not in a full list leaves the oldest entry alone.
    items = Folders(20);
    EXPECT_EQ(UpdateHistoryList(items, "C:\\Elsewhere", false), -1);
    EXPECT_EQ(items.size(), 20u);
}

TEST(FolderHistory, BlankTextChangesNothing) {
    std::vector<std::string> items = Folders(2);
    EXPECT_EQ(UpdateHistoryList(items, "   ", true), -1);
    EXPECT_EQ(UpdateHistoryList(items, "", false), -1);
    EXPECT_EQ(items, Folders(2));
}

TEST(Stepping, NextAndPreviousWrapAround) {
    EXPECT_EQ(NextIndex(4, 5), 0);
    EXPECT_EQ(NextIndex(2, 5), 3);
    EXPECT_EQ(PreviousIndex(0, 5), 4);
    EXPECT_EQ(PreviousIndex(3, 5), 2);
}

TEST(Stepping, NothingSelectedStartsAtEitherEnd) {
    EXPECT_EQ(NextIndex(-1, 5), 0);
    EXPECT_EQ(PreviousIndex(-1, 5), 4);
    EXPECT_EQ(NextIndex(-1, 0), -1);
    EXPECT_EQ(PreviousIndex(-1, 0), -1);
}

TEST(Stepping, RandomDrawsUntilTheIndexDiffers) {
    std::deque<double> draws{0.2, 0.25, 0.29, 0.9};
    int calls = 0;
    auto random = [&] {
        ++calls;
        double d = draws.front();
        draws.pop_front();
        return d;
    };
    EXPECT_EQ(RandomIndex(1, 5, random), 4);  // 0.2, 0.25, 0.29 all give 1
    EXPECT_EQ(calls, 4);
}

TEST(Stepping, RandomWithOneEntryOrAStuckSource) {
    int calls = 0;
    auto stuck = [&] {
        ++calls;
        return 0.5;
    };
    EXPECT_EQ(RandomIndex(0, 1, stuck), 0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(RandomIndex(-1, 0, stuck), -1);
    // A source that always repeats the current entry does not hang the window.
    EXPECT_EQ(RandomIndex(2, 4, stuck), 3);
    EXPECT_EQ(RandomIndex(2, 4, [] { return 0.9999999999999999; }), 3);
}

TEST(CountLine, SingularOnlyForExactlyOne) {
    EXPECT_EQ(FileCountText(1024, "C:\\Pictures"), "1,024 pic files found in C:\\Pictures");
    EXPECT_EQ(FileCountText(1, "C:\\"), "1 pic file found in C:\\");
    EXPECT_EQ(FileCountText(0, "C:\\"), "0 pic files found in C:\\");
    EXPECT_EQ(WithBackslash("C:\\"), "C:\\");
    EXPECT_EQ(WithBackslash("C:\\Pics"), "C:\\Pics\\");
}

TEST(Patterns, ThePictureListMatchesAnyCase) {
    for (const char* name : {"a.jpg", "B.JPG", "c.jpe", "d.jpeg", "e.JPEG", "f.gif", "g.bmp", "x.y.bmp"})
        EXPECT_TRUE(MatchesPatternList(name, kPicturePattern)) << name;
    for (const char* name : {"a.jpg.txt", "jpg", "a.png", "a.gi", "bmp.txt", ""})
        EXPECT_FALSE(MatchesPatternList(name, kPicturePattern)) << name;
    EXPECT_TRUE(MatchesPatternList("ab", "?b"));
    EXPECT_FALSE(MatchesPatternList("abc", "?b"));
    EXPECT_TRUE(MatchesPatternList("anything", "*"));
}

TEST(Patterns, NamesSortWithoutRegardToCase) {
    EXPECT_TRUE(NameLess("apple.jpg", "Banana.jpg"));
    EXPECT_FALSE(NameLess("Banana.jpg", "apple.jpg"));
    EXPECT_TRUE(NameLess("a", "ab"));
    EXPECT_TRUE(SameText("C:\\Pics", "c:\\PICS"));
}

TEST(Layout, DefaultSizeInTwips) {
    LayoutInput in;
    in.Width = 9300;  // 620 x 436 pixels inside
    in.Height = 6540;
    in.FileListTextHeight = 315;
    in.PicNumberWidth = 1080;
    in.PicInfoWidth = 4500;
    in.PicInfoHeight = 225;
    in.FrameWidth = 4320;
    in.FrameHeight = 930;
    in.HistoryHeight = 315;
    in.ClearListWidth0 = 270;
    in.ClearListWidth1 = 270;
    in.DriveHeight = 315;
    in.ResizerWidth = 255;
    in.ResizerHeight = 255;
    BrowserLayout out = LayoutBrowser(in);
    const long gx = 90, gy = 90, T = 90 + 315 + 90;
    EXPECT_EQ(out.FileListText.Left, gx);
    EXPECT_EQ(out.FileListText.Width, 9300 - 1350);
    EXPECT_EQ(out.PicNumberLeft, 9300 - 1080 - gx - 15);
    const long C = (9300 - 315) / 3;  // 2995
    EXPECT_EQ(out.List.Width, C);
    EXPECT_EQ(out.List.Height, 6540 - T - gy);
    EXPECT_EQ(out.Pic.Left, 90 + 2995 + 135);
    EXPECT_EQ(out.Pic.Width, 9300 - out.Pic.Left - gx);
    const long P = 6540 - T - gy - 225 - gy - 930 - gy;
    EXPECT_EQ(out.Pic.Height, P);
    EXPECT_EQ(out.PicInfo.Top, T + P + gy);
    EXPECT_EQ(out.Frame.Top, T + P + gy + 225 + gy);
    EXPECT_EQ(out.Frame.Top + out.Frame.Height, 6540 - gy);  // the frame ends one margin above the edge
    EXPECT_EQ(out.Frame.Left, out.Pic.Left + (out.Pic.Width - 4320) / 2);
    EXPECT_EQ(out.Resizer.Left, 9300 - 255);
    // Folder column: history with its two buttons, drive, folder, files down to the edge.
    EXPECT_EQ(out.History.Width, C - 540 - 15);
    EXPECT_EQ(out.ClearList0.Left, gx + out.History.Width + 15);
    EXPECT_EQ(out.ClearList1.Left + out.ClearList1.Width, gx + C);
    EXPECT_EQ(out.Drive.Top, T + 315 + gy);
    EXPECT_EQ(out.Folder.Height, (6540 - T - gy - 315 - 315 - 3 * gy) / 4);
    EXPECT_EQ(out.Files.Left, gx - 15);
    EXPECT_EQ(out.Files.Width, C + 30);
    EXPECT_EQ(out.Files.Top + out.Files.Height, 6540 - gy);
}

TEST(Layout, MarginsRoundAtOddScreenFactors) {
    LayoutInput in;
    in.Width = 7000;
    in.Height = 5000;
    in.TwipsPerPixelX = 11.25;  // 128 DPI
    in.TwipsPerPixelY = 11.25;
    BrowserLayout out = LayoutBrowser(in);
    // gx = 67.5 -> 68; C = round(7000 - 238) / 3 = 2254; R = round(68 + 2254 + 102) = 2424.
    EXPECT_EQ(out.List.Left, 68);
    EXPECT_EQ(out.List.Width, 2254);
    EXPECT_EQ(out.Pic.Left, 2424);
    EXPECT_EQ(out.FileListText.Width, 7000 - 1012);  // 90 x 11.25 = 1012.5 -> 1012
}
