#include <gtest/gtest.h>

#include <map>

#include "backdrop_changer/SettingsRecord.h"
#include "common/VersionText_.h"

using namespace common;

TEST(VersionText, RevisionSplitsIntoTwoPairsOfDigits) {
    EXPECT_EQ(VersionText(2, 0, 1), "2.0.0.1");
    EXPECT_EQ(VersionText(2, 0, 0), "2.0.0.0");
    EXPECT_EQ(VersionText(2, 0, 1203), "2.0.12.3");
    EXPECT_EQ(VersionText(3, 1, 99), "3.1.0.99");
}

TEST(VersionText, AboutTextHasItsSixLines) {
    std::string text = AboutText("Sorvita Slide Saver", 2, 0, 1, "Notice");
    EXPECT_EQ(text, std::string("Sorvita Slide Saver\r\nVersion 2.0.0.1\r\nNotice\r\n\r\nWeb:  ") + kSuiteWebAddress +
                        "\r\nE-mail:  Please check web site.");
}

TEST(WindowsVersion, FamiliesAndOneDecimal) {
    EXPECT_EQ(WindowsVersionText(true, 4, 10, 1), "9x 4.1");
    EXPECT_EQ(WindowsVersionText(true, 4, 0, 1), "9x 4.0");
    EXPECT_EQ(WindowsVersionText(true, 4, 0, 2), "NT 4.0");
    EXPECT_EQ(WindowsVersionText(true, 5, 0, 2), "NT 5.0");
    EXPECT_EQ(WindowsVersionText(true, 3, 51, 2), "NT 3.5");
    EXPECT_EQ(WindowsVersionText(true, 3, 10, 0), "32s 3.1");
    EXPECT_EQ(WindowsVersionText(true, 10, 0, 3), "");
    EXPECT_EQ(WindowsVersionText(false, 4, 10, 1), "");
    EXPECT_EQ(WindowsTypeFromVersion("9x 4.1"), "9x");
    EXPECT_EQ(WindowsTypeFromVersion("NT 5.0"), "NT");
    EXPECT_EQ(WindowsTypeFromVersion("32s 3.1"), "32s");
    EXPECT_EQ(WindowsTypeFromVersion(""), "");
}

TEST(BackdropSettingsRecord, RangesAndConversions) {
    using backdrop_changer::ReadSettings;
    std::map<std::string, std::string> stored = {{"Show Delay", "21601"}, {"Quick Delay", "1"},
                                                 {"Reset Color", "2"},    {"Tile Percent", "x"},
                                                 {"Stretch Type", "7"},   {"Desktop View", "3"}};
    std::vector<std::string> order;
    auto settings = ReadSettings([&](const std::string& key, const std::string& defaultText) {
        order.push_back(key);
        auto it = stored.find(key);
        return it == stored.end() ? defaultText : it->second;
    });
    EXPECT_EQ(settings.ShowDelay, 300);
    EXPECT_EQ(settings.QuickDelay, 1);
    EXPECT_EQ(settings.ResetColor, 0);
    EXPECT_EQ(settings.TilePercent, 50);
    EXPECT_EQ(settings.StretchType, 7);  // no range on this one
    EXPECT_EQ(settings.DesktopView, 3);
    EXPECT_FALSE(settings.MorePicTypes);  // missing means off
    // Keys are read in the order they are written; the option goes last, "True" or "False".
    settings.MorePicTypes = true;
    auto texts = backdrop_changer::SettingsTexts(settings);
    ASSERT_EQ(texts.size(), 20u);
    ASSERT_EQ(order.size(), 20u);
    EXPECT_EQ(texts.back(), (std::pair<std::string, std::string>{"More Pic Types", "True"}));
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(order[i], texts[i].first);
    EXPECT_EQ(backdrop_changer::FolderHistoryKey(0), "Pics Folder 00");
    EXPECT_EQ(backdrop_changer::FolderHistoryKey(19), "Pics Folder 19");
}

TEST(VersionLabel, ShowsTheRevisionsHighDigitsOnlyWhenSet) {
    EXPECT_EQ(VersionLabel(2, 0, 0), "2.0");
    EXPECT_EQ(RevisionToolTip(0), "");
    EXPECT_EQ(VersionLabel(2, 0, 105), "2.0.1");
    EXPECT_EQ(RevisionToolTip(105), "Revision 5");
    EXPECT_EQ(VersionLabel(2, 1, 1203), "2.1.12");
    EXPECT_EQ(RevisionToolTip(1203), "Revision 3");
    EXPECT_EQ(VersionLabel(2, 0, 1), "2.0");
    EXPECT_EQ(RevisionToolTip(1), "Revision 1");
    EXPECT_EQ(RevisionToolTip(1200), "");
    EXPECT_EQ(VersionLabel(2, 1, 305), "2.1.3");
}
