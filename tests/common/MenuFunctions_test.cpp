// The tray menu's column layout, read back from the real system menu.
#include <gtest/gtest.h>

#include <string>

#include "TrayTestOwner.h"
#include "common/MenuFunctions_.h"
#include "common/Subclass_.h"
#include "common/clsTaskBar.h"
#include "support/TestSupport.h"

namespace {

struct ItemInfo {
    UINT type = 0;
    std::string text;
};

ItemInfo ReadItem(HMENU menu, int position) {
    char text[300] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    return {info.fType, text};
}

int CountBreaks(HMENU menu) {
    int breaks = 0;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) breaks += (ReadItem(menu, i).type & MFT_MENUBARBREAK) != 0;
    return breaks;
}

class TrayMenuLayout : public ::testing::Test {
protected:
    void SetUp() override { owner.Load(); }
    void TearDown() override {
        if (common::TaskBar().MainInTray()) common::TaskBar().Shutdown(owner, false, true);
        testing_support::PumpMessages();
    }
    void GoToTray() {
        ShowWindow(owner.hWnd(), SW_MINIMIZE);
        ASSERT_TRUE(common::TaskBar().MainInTray());
    }
    tray_test::TestOwner owner;
};

}  // namespace

TEST_F(TrayMenuLayout, TwoColumnsBreakAtPositionElevenWithoutTheSeparator) {
    owner.twoColumns = true;
    GoToTray();
    HMENU bar = GetMenu(owner.hWnd());
    ASSERT_NE(bar, nullptr);  // the menu sits on the hidden window's bar
    HMENU popup = GetSubMenu(bar, 0);
    ASSERT_EQ(popup, owner.TrayIcon_Popup.SubMenu());
    EXPECT_EQ(GetMenuItemCount(popup), 16);

    ItemInfo first = ReadItem(popup, 11);
    EXPECT_EQ(first.text, "Reset Wallpaper Style");
    EXPECT_TRUE(first.type & MFT_MENUBARBREAK);
    EXPECT_EQ(GetSubMenu(popup, 11), owner.TrayIcon_Popup_ResetWP.SubMenu());  // still opens its submenu
    EXPECT_FALSE(ReadItem(popup, 10).type & MFT_SEPARATOR);
    EXPECT_EQ(ReadItem(popup, 10).text, "Item 9");
    EXPECT_EQ(CountBreaks(popup), 1);
}

TEST_F(TrayMenuLayout, SetupTakesTheMenuBarAwayAndOneColumnComesBack) {
    owner.twoColumns = true;
    GoToTray();
    owner.TrayIcon_Popup_Restore.Click();
    EXPECT_EQ(GetMenu(owner.hWnd()), nullptr);
    EXPECT_TRUE(IsWindowVisible(owner.hWnd()));

    owner.twoColumns = false;
    GoToTray();
    HMENU popup = owner.TrayIcon_Popup.SubMenu();
    EXPECT_EQ(GetMenu(owner.hWnd()), nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), 17);
    EXPECT_TRUE(ReadItem(popup, 11).type & MFT_SEPARATOR);
    EXPECT_EQ(ReadItem(popup, 12).text, "Reset Wallpaper Style");
    EXPECT_EQ(CountBreaks(popup), 0);
}

TEST_F(TrayMenuLayout, TheBreakIsSetAgainOnEveryTrip) {
    owner.twoColumns = true;
    for (int trip = 0; trip < 3; ++trip) {
        GoToTray();
        HMENU popup = owner.TrayIcon_Popup.SubMenu();
        EXPECT_TRUE(ReadItem(popup, 11).type & MFT_MENUBARBREAK) << trip;
        EXPECT_EQ(CountBreaks(popup), 1) << trip;
        owner.TrayIcon_Popup_Restore.Click();
        EXPECT_EQ(GetMenu(owner.hWnd()), nullptr) << trip;
    }
}

TEST_F(TrayMenuLayout, ColumnBreakKeepsLongCaptionsAndIgnoresMissingItems) {
    std::string caption(255, 'c');
    owner.TrayIcon_Popup_Item[3].SetCaption(caption);
    owner.TrayIcon_Popup.SetVisible(true);
    HMENU popup = owner.TrayIcon_Popup.SubMenu();
    common::SetMenuColumnBreak(owner.TrayIcon_Popup, 0, 5);
    EXPECT_EQ(ReadItem(popup, 5).text, caption);
    EXPECT_TRUE(ReadItem(popup, 5).type & MFT_MENUBARBREAK);

    common::SetMenuColumnBreak(owner.TrayIcon_Popup, 0, 40);  // no such item
    common::SetMenuColumnBreak(owner.TrayIcon_Popup, 3, 1);   // no such menu
    EXPECT_EQ(CountBreaks(popup), 1);
    owner.TrayIcon_Popup.SetVisible(false);
}

TEST_F(TrayMenuLayout, RebuildingTheMenuInTheTraySetsTheBreakAgain) {
    owner.twoColumns = true;
    GoToTray();
    HMENU popup = owner.TrayIcon_Popup.SubMenu();
    // Items shown or hidden after the trip rebuild the system menu from the items' state.
    owner.TrayIcon_Popup_Default.SetVisible(false);
    EXPECT_EQ(ReadItem(popup, 11).text, "Reset Wallpaper Style");
    EXPECT_TRUE(ReadItem(popup, 11).type & MFT_MENUBARBREAK);
    EXPECT_EQ(CountBreaks(popup), 1);
    owner.TrayIcon_Popup_Default.SetVisible(true);
    owner.TrayIcon_Popup_Item[0].SetVisible(false);
    owner.TrayIcon_Popup_Item[0].SetVisible(true);
    EXPECT_EQ(ReadItem(popup, 11).text, "Reset Wallpaper Style");
    EXPECT_TRUE(ReadItem(popup, 11).type & MFT_MENUBARBREAK);
    EXPECT_EQ(CountBreaks(popup), 1);

    // Back on screen, a rebuild leaves the menu in one column.
    owner.TrayIcon_Popup_Restore.Click();
    owner.TrayIcon_Popup_Default.SetVisible(false);
    owner.TrayIcon_Popup_Default.SetVisible(true);
    EXPECT_EQ(CountBreaks(popup), 0);
    EXPECT_EQ(GetMenu(owner.hWnd()), nullptr);
}
