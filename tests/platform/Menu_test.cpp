// Form menus against the real system menus.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/Form.h"
#include "platform/Menu.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

namespace {

class MenuForm : public platform::Form {
public:
    platform::MenuItem mnuFile, mnuFile_Open, mnuFile_Sep, mnuFile_Save, mnuFile_Recent, mnuFile_Recent_One,
        mnuFile_Exit;
    platform::MenuItem Popup, Popup_First, Popup_Second, Popup_Third;
    std::string ran;

protected:
    void Form_Load() override {
        mnuFile.Create(*this, "&File");
        mnuFile_Open.Create(mnuFile, "Open");
        mnuFile_Sep.Create(mnuFile, "-");
        mnuFile_Save.Create(mnuFile, "Save");
        mnuFile_Recent.Create(mnuFile, "Recent");
        mnuFile_Recent_One.Create(mnuFile_Recent, "One");
        mnuFile_Exit.Create(mnuFile, "Exit");
        Popup.Create(*this, "Popup", false);
        Popup_First.Create(Popup, "First");
        Popup_Second.Create(Popup, "Second");
        Popup_Third.Create(Popup, "Third");
        mnuFile_Open.Click = [this] { ran += "open;"; };
        mnuFile_Recent_One.Click = [this] { ran += "one;"; };
        Popup_First.Click = [this] { ran += "first;"; };
        Popup_Second.Click = [this] { ran += "second;"; };
        Popup_Third.Click = [this] { ran += "third;"; };
    }
};

std::string MenuText(HMENU menu, int position) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

UINT MenuType(HMENU menu, int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    return info.fType;
}

// Runs `action` from a timer while a modal loop (a pop-up menu) is running.
struct DuringModalLoop {
    static inline std::function<void()> action;
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (action) action();
    }
    explicit DuringModalLoop(std::function<void()> what) {
        action = std::move(what);
        SetTimer(nullptr, 0, 50, &Fire);
    }
    ~DuringModalLoop() { action = nullptr; }
};

HWND OpenPopupMenuWindow() {
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32768", nullptr); window;
         window = FindWindowExA(nullptr, window, "#32768", nullptr))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

}  // namespace

TEST(Menu, HiddenItemsLeaveTheSystemMenuAndComeBackInPlace) {
    MenuForm form;
    form.Load();
    HMENU file = form.mnuFile.SubMenu();
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(GetMenuItemCount(file), 5);
    EXPECT_EQ(MenuType(file, 1) & MFT_SEPARATOR, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(GetSubMenu(file, 3), form.mnuFile_Recent.SubMenu());

    form.mnuFile_Sep.SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(MenuText(file, 1), "Save");  // later items move up one position
    EXPECT_EQ(form.mnuFile_Save.Position(), 1);
    EXPECT_EQ(form.mnuFile_Sep.Position(), -1);
    form.mnuFile_Open.SetVisible(false);
    EXPECT_EQ(MenuText(file, 0), "Save");

    form.mnuFile_Sep.SetVisible(true);
    form.mnuFile_Open.SetVisible(true);
    ASSERT_EQ(GetMenuItemCount(file), 5);
    EXPECT_EQ(MenuText(file, 0), "Open");
    EXPECT_EQ(MenuType(file, 1) & MFT_SEPARATOR, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(MenuText(file, 2), "Save");
    EXPECT_EQ(GetSubMenu(file, 3), form.mnuFile_Recent.SubMenu());  // the submenu survives the rebuild
    EXPECT_EQ(MenuText(form.mnuFile_Recent.SubMenu(), 0), "One");
}

TEST(Menu, StateReachesTheSystemMenuAndSurvivesHiding) {
    MenuForm form;
    form.Load();
    HMENU file = form.mnuFile.SubMenu();
    form.mnuFile_Save.SetChecked(true);
    form.mnuFile_Exit.SetEnabled(false);
    form.mnuFile_Save.SetCaption("Save As");
    EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(file, 4, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ(MenuText(file, 2), "Save As");

    form.mnuFile_Save.SetVisible(false);
    form.mnuFile_Exit.SetEnabled(true);  // changed while another item is hidden
    EXPECT_FALSE(GetMenuState(file, 3, MF_BYPOSITION) & MF_GRAYED);
    form.mnuFile_Save.SetVisible(true);
    EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ(MenuText(file, 2), "Save As");
    EXPECT_TRUE(form.mnuFile_Save.Checked());

    // A hidden item keeps what is set on it while it is away.
    form.mnuFile_Open.SetVisible(false);
    form.mnuFile_Open.SetCaption("Open...");
    form.mnuFile_Open.SetEnabled(false);
    form.mnuFile_Open.SetVisible(true);
    EXPECT_EQ(MenuText(file, 0), "Open...");
    EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_GRAYED);
}

TEST(Menu, RebuiltRunsAfterEachRebuildButNotWhenTheFormGoesAway) {
    int rebuilds = 0;
    UINT separatorType = 0;
    {
        MenuForm form;
        form.Load();
        HMENU file = form.mnuFile.SubMenu();
        form.mnuFile.Rebuilt = [&rebuilds, &separatorType, file] {
            ++rebuilds;
            separatorType = MenuType(file, 1);
        };
        form.mnuFile_Save.SetChecked(true);
        form.mnuFile_Exit.SetEnabled(false);
        form.mnuFile_Save.SetCaption("Save As");
        EXPECT_EQ(rebuilds, 0);  // changed in place
        form.mnuFile_Sep.SetVisible(false);
        EXPECT_EQ(rebuilds, 1);
        form.mnuFile_Sep.SetVisible(true);
        EXPECT_EQ(rebuilds, 2);
        EXPECT_TRUE(separatorType & MFT_SEPARATOR);  // it runs once the menu is complete
        form.mnuFile_Sep.SetVisible(true);  // no change, no rebuild
        EXPECT_EQ(rebuilds, 2);
        form.mnuFile_Recent_One.SetVisible(false);  // another submenu's rebuild
        EXPECT_EQ(rebuilds, 2);
        rebuilds = 0;
    }
    EXPECT_EQ(rebuilds, 0);
}

TEST(Menu, TheMenuBarHoldsOnlyVisibleTopLevelMenus) {
    MenuForm form;
    form.Load();
    HMENU bar = GetMenu(form.hWnd());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(GetSubMenu(bar, 0), form.mnuFile.SubMenu());

    form.Popup.SetVisible(true);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetSubMenu(bar, 1), form.Popup.SubMenu());
    form.mnuFile.SetVisible(false);
    EXPECT_EQ(GetSubMenu(GetMenu(form.hWnd()), 0), form.Popup.SubMenu());
    form.Popup.SetVisible(false);
    EXPECT_EQ(GetMenu(form.hWnd()), nullptr);  // no visible menu, no menu bar
    form.mnuFile.SetVisible(true);
    EXPECT_EQ(GetSubMenu(GetMenu(form.hWnd()), 0), form.mnuFile.SubMenu());
}

TEST(Menu, CommandsRunTheirItemsClick) {
    MenuForm form;
    form.Load();
    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(form.mnuFile_Open.Id(), 0), 0);
    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(form.mnuFile_Recent_One.Id(), 0), 0);
    EXPECT_EQ(form.ran, "open;one;");
    EXPECT_FALSE(platform::MenuCommand(0));
    EXPECT_NE(form.mnuFile_Open.Id(), form.Popup_First.Id());
}

TEST(Menu, ReloadedFormGetsItsMenusBack) {
    MenuForm form;
    form.Load();
    form.Unload();
    EXPECT_FALSE(platform::MenuCommand(0));
    form.Load();
    ASSERT_NE(GetMenu(form.hWnd()), nullptr);
    EXPECT_EQ(GetMenuItemCount(form.mnuFile.SubMenu()), 5);
    EXPECT_EQ(form.mnuFile.Items().size(), 5u);
    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(form.mnuFile_Open.Id(), 0), 0);
    EXPECT_EQ(form.ran, "open;");
    testing_support::PumpMessages();  // the unload's quit message
}

TEST(Menu, PopupShowsTheDefaultItemInBoldAndRunsTheChoiceAfterClosing) {
    MenuForm form;
    form.Load();
    platform::ScopedSeam pointer(platform::seams::GetCursorPos, [](POINT* point) {
        point->x = 200;
        point->y = 150;
        return TRUE;
    });
    UINT boldDuringMenu = 0;
    bool menuWindowShown = false;
    {
        DuringModalLoop step([&] {
            boldDuringMenu = GetMenuDefaultItem(form.Popup.SubMenu(), FALSE, 0);
            HWND menuWindow = OpenPopupMenuWindow();
            menuWindowShown = menuWindow != nullptr;
            // Down twice and Enter: the second item.
            for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
                PostMessageA(menuWindow ? menuWindow : form.hWnd(), WM_KEYDOWN, key, 0);
                PostMessageA(menuWindow ? menuWindow : form.hWnd(), WM_KEYUP, key, 0);
            }
        });
        platform::PopupMenu(form.Popup, TPM_RIGHTBUTTON, &form.Popup_Third);
    }
    EXPECT_TRUE(menuWindowShown);
    EXPECT_EQ(boldDuringMenu, static_cast<UINT>(form.Popup_Third.Id()));
    EXPECT_EQ(form.ran, "second;");
    EXPECT_EQ(GetMenuDefaultItem(form.Popup.SubMenu(), FALSE, 0), static_cast<UINT>(-1));

    {
        DuringModalLoop step([] { EndMenu(); });
        platform::PopupMenu(form.Popup, TPM_RIGHTBUTTON, &form.Popup_Third);
    }
    EXPECT_EQ(form.ran, "second;");  // closed without a choice
    testing_support::PumpMessages();
}
