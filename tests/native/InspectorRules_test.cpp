#include <gtest/gtest.h>

#include <set>

#include "paste_inspector/InspectorRules_.h"

using namespace paste_inspector;

TEST(ClipboardFormats, FirstPresentFollowsTheListOrderNotTheClipboards) {
    std::set<int> held{vbCFFiles, vbCFText};
    auto has = [&held](int format) { return held.count(format) > 0; };
    EXPECT_EQ(FirstFormatPresent(kTextFormats, has), vbCFText);
    held = {vbCFFiles, vbCFLink};
    EXPECT_EQ(FirstFormatPresent(kTextFormats, has), vbCFLink);
    held = {vbCFPalette, vbCFEMetafile, vbCFMetafile};
    EXPECT_EQ(FirstFormatPresent(kPictureFormats, has), vbCFMetafile);
    EXPECT_EQ(FirstFormatPresent(kTextFormats, has), 0);
    // Every format either part shows makes the clipboard worth clearing.
    for (int format : kTextFormats) EXPECT_NE(FirstFormatPresent(kClearFormats, [=](int f) { return f == format; }), 0);
    for (int format : kPictureFormats)
        EXPECT_NE(FirstFormatPresent(kClearFormats, [=](int f) { return f == format; }), 0);
}

TEST(PicDisplay, CaptionOffersTheOtherLayout) {
    EXPECT_STREQ(PicDisplayCaption(false), "Best Fit &Display");
    EXPECT_STREQ(PicDisplayCaption(true), "Normal &Display");
}

TEST(SaveNames, ExtensionAppendedUnlessPresentInAnyCase) {
    EXPECT_EQ(WithExtension("C:\\a\\notes", ".txt"), "C:\\a\\notes.txt");
    EXPECT_EQ(WithExtension("C:\\a\\NOTES.TXT", ".txt"), "C:\\a\\NOTES.TXT");
    EXPECT_EQ(WithExtension("C:\\a\\notes.txt.bak", ".txt"), "C:\\a\\notes.txt.bak.txt");
    EXPECT_EQ(WithExtension("C:\\a\\pic.Bmp", ".bmp"), "C:\\a\\pic.Bmp");
    EXPECT_EQ(WithExtension("xt", ".txt"), "xt.txt");
    EXPECT_EQ(SaveErrorText("C:\\x.txt", "Access denied."),
              "An error occurred attempting to save the 'C:\\x.txt' file:\r\n\r\nAccess denied.");
}

TEST(Layout, TextTakesAThirdAndThePaneTheRestBelowOnePixel) {
    EXPECT_EQ(TextBoxHeight(4500), 1500);
    EXPECT_EQ(TextBoxHeight(4501), 1500);
    InspectorLayout layout = PaneBelowText(4500, 1500, 15);
    EXPECT_EQ(layout.PicTop, 1515);
    EXPECT_EQ(layout.PicHeight, 2985);
    EXPECT_EQ(layout.PicTop + layout.PicHeight, 4500);
    // A window squeezed to nothing leaves the pane a height below zero (not applied).
    EXPECT_LT(PaneBelowText(10, 3, 15).PicHeight, 0);
}

TEST(ClipboardTexts, StopAtTheFirstNulAndJoinALinksParts) {
    const char text[] = "abc\0garbage";
    EXPECT_EQ(ClipboardText(text, sizeof text), "abc");
    EXPECT_EQ(ClipboardText("no nul", 6), "no nul");
    EXPECT_EQ(ClipboardText(nullptr, 4), "");
    const char link[] = "Excel\0[Book1]Sheet1\0R1C1:R2C2\0";
    EXPECT_EQ(DdeLinkText(link, sizeof link), "Excel|[Book1]Sheet1!R1C1:R2C2");
    EXPECT_EQ(DdeLinkText("App", 3), "App|!");
}

TEST(ClipboardTexts, RichTextNamesItsCodePageInItsHeader) {
    EXPECT_EQ(RtfCodePage("{\\rtf1\\ansi\\ansicpg1252\\deff0 caf\\'e9}"), 1252u);
    EXPECT_EQ(RtfCodePage("{\\rtf1\\ansi\\ansicpg932 x}"), 932u);
    EXPECT_EQ(RtfCodePage("{\\rtf1\\ansi\\ansicpg"), 0u);
    EXPECT_EQ(RtfCodePage("{\\rtf1\\ansi\\deff0 plain}"), 0u);
    EXPECT_EQ(RtfCodePage("{\\rtf1\\ansicpg99999999999}"), 0u);
}

TEST(DialogAnswers, FolderAndMultipleSelection) {
    EXPECT_EQ(DialogFolder("C:\\pics\\a.bmp", 8), "C:\\pics");
    EXPECT_EQ(DialogFolder("C:\\a.bmp", 3), "C:\\");
    EXPECT_EQ(DialogFolder("a.bmp", 0), "");
    const char one[] = "C:\\pics\\a.bmp\0";
    EXPECT_EQ(SelectedFiles(one, sizeof one), std::vector<std::string>{"C:\\pics\\a.bmp"});
    const char many[] = "C:\\pics\0a.bmp\0b.gif\0";
    EXPECT_EQ(SelectedFiles(many, sizeof many), (std::vector<std::string>{"C:\\pics\\a.bmp", "C:\\pics\\b.gif"}));
    const char root[] = "C:\\\0a.bmp\0b.gif\0";
    EXPECT_EQ(SelectedFiles(root, sizeof root)[1], "C:\\b.gif");
}
