// Texts and small rules of the tray icon, the shell commands and the StartUp shortcut.
#include <gtest/gtest.h>

#include <string>

#include "common/ShellText_.h"

using namespace common;

TEST(ShellText, ViewCodesFollowTheMenuOrder) {
    EXPECT_EQ(ViewCodeFromMenuPosition(0), kViewLargeIcons);
    EXPECT_EQ(ViewCodeFromMenuPosition(1), kViewSmallIcons);
    EXPECT_EQ(ViewCodeFromMenuPosition(2), kViewList);
    EXPECT_EQ(ViewCodeFromMenuPosition(3), kViewDetails);
    EXPECT_EQ(kViewSmallIcons, 2);
    EXPECT_EQ(kViewList, 3);
    EXPECT_EQ(kViewDetails, 1);
    EXPECT_EQ(ViewCodeFromMenuPosition(-1), kViewLargeIcons);
    EXPECT_EQ(ViewCodeFromMenuPosition(4), kViewLargeIcons);
}

TEST(ShellText, ViewInEffectComesFromTheListUnlessItHasNoCode) {
    const long stored = 0x50000A48L;  // large icons stored, other bits set
    EXPECT_EQ(ViewCodeInEffect(2, stored), kViewSmallIcons);
    EXPECT_EQ(ViewCodeInEffect(1, stored), kViewDetails);
    EXPECT_EQ(ViewCodeInEffect(3, stored | 1), kViewList);
    EXPECT_EQ(ViewCodeInEffect(0, stored | 3), kViewLargeIcons);
    EXPECT_EQ(ViewCodeInEffect(4, stored | 2), kViewSmallIcons);  // tiles: the stored view bits
    EXPECT_EQ(ViewCodeInEffect(-1, stored | 1), kViewDetails);
}

TEST(ShellText, TipFieldIsTerminatedAndBlankFilled) {
    char field[kTipFieldLength + 1];
    field[kTipFieldLength] = '#';  // must stay untouched
    SetTipField(field, "Sorvita Desk Commander");
    EXPECT_STREQ(field, "Sorvita Desk Commander");
    for (size_t i = 23; i < kTipFieldLength; ++i) ASSERT_EQ(field[i], ' ') << i;
    EXPECT_EQ(field[kTipFieldLength], '#');

    std::string seventy;
    for (int i = 0; i < 70; ++i) seventy += static_cast<char>('a' + i % 26);
    SetTipField(field, seventy);
    EXPECT_EQ(std::string(field), seventy.substr(0, 63));
    EXPECT_EQ(field[kTipFieldLength], '#');

    SetTipField(field, std::string(63, 'z'));
    EXPECT_EQ(std::string(field), std::string(63, 'z'));
    SetTipField(field, "");
    EXPECT_EQ(field[0], '\0');
    EXPECT_EQ(field[1], ' ');
}

TEST(ShellText, TipFieldNeverCutsACharacterInTwo) {
    char field[kTipFieldLength];
    // 61 bytes, then "é" (2 bytes) ends exactly at the 63rd: kept whole.
    const std::string fits = std::string(61, 'a') + "\xc3\xa9" + "tail";
    SetTipField(field, fits);
    EXPECT_EQ(std::string(field), fits.substr(0, 63));
    // 62 bytes, then "é": its first byte alone would fit, so the cut comes before it.
    SetTipField(field, std::string(62, 'a') + "\xc3\xa9");
    EXPECT_EQ(std::string(field), std::string(62, 'a'));
    EXPECT_EQ(field[63], ' ');
    // "☀" (3 bytes) from the 62nd byte on.
    SetTipField(field, std::string(61, 'a') + "\xe2\x98\x80");
    EXPECT_EQ(std::string(field), std::string(61, 'a'));
}

TEST(ShellText, TrayIconLostNamesTheProgramTwice) {
    EXPECT_EQ(TrayIconLostMessage("Sorvita Desk Commander"),
              "The Sorvita Desk Commander tray icon could not be updated due to an API call error, therefore the "
              "Sorvita Desk Commander window will now be restored.");
}

TEST(ShellText, LastPathComponentIsBetweenTheLastTwoBackslashes) {
    EXPECT_EQ(LastPathComponent("C:\\WINDOWS\\Start Menu\\Programs\\StartUp"), "StartUp");
    EXPECT_EQ(LastPathComponent("C:\\WINDOWS\\Start Menu\\Programs\\StartUp\\"), "StartUp");
    EXPECT_EQ(LastPathComponent("Startup"), "Startup");
    EXPECT_EQ(LastPathComponent("C:\\"), "C:");
    EXPECT_EQ(LastPathComponent("\\"), "");
    EXPECT_EQ(LastPathComponent(""), "");
}

TEST(ShellText, StartupShortcutTexts) {
    const std::string title = "Sorvita Backdrop Changer";
    EXPECT_EQ(StartupShortcutErrorText(kErrShortcut, true, title, ""),
              "An error occurred attempting to create the Sorvita Backdrop Changer shortcut in the StartUp program "
              "group.");
    EXPECT_EQ(StartupShortcutErrorText(kErrShortcut, false, title, ""),
              "An error occurred attempting to remove the Sorvita Backdrop Changer shortcut from the StartUp program "
              "group.");
    EXPECT_EQ(StartupShortcutErrorText(kErrStartupGroup, false, title, ""),
              "An error occurred attempting to create the StartUp program group.");
    EXPECT_EQ(StartupShortcutErrorText(126, true, title, "The specified module could not be found."),
              "An error occurred attempting to create the Sorvita Backdrop Changer shortcut:\r\n\r\nThe specified "
              "module could not be found.\r\n\r\nThe probable cause of this error is the Vb5stkit.dll support file "
              "does not exist in the Windows System folder.");
    EXPECT_EQ(kErrStartupGroup, 65535);
    EXPECT_EQ(kErrShortcut, 65534);
}
