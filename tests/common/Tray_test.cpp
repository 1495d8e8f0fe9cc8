// The tray icon, the subclass and the tray owner contract, against Wine's real tray.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "TrayTestOwner.h"
#include "common/Subclass_.h"
#include "common/clsTaskBar.h"
#include "platform/App.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

using common::TaskBar;
using tray_test::TestOwner;

namespace {

// Asks the shell about an icon without changing it.
bool ShellHasIcon(HWND window, UINT id) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = common::kNotifyIconRecordSize;
    probe.hWnd = window;
    probe.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// The shell loses the icon behind the program's back, as when it restarts.
void ShellLosesIcon(HWND window, UINT id) {
    NOTIFYICONDATAA record{};
    record.cbSize = common::kNotifyIconRecordSize;
    record.hWnd = window;
    record.uID = id;
    Shell_NotifyIconA(NIM_DELETE, &record);
}

// Passes every call to the real shell, or fails the operations listed, and keeps a copy
// of each record handed over.
struct ShellRecorder {
    struct Call {
        DWORD message;
        NOTIFYICONDATAA record;
    };
    std::vector<Call> calls;
    std::set<DWORD> failing;
    platform::ScopedSeam<std::function<BOOL(DWORD, NOTIFYICONDATAA*)>> seam{
        common::seams::Shell_NotifyIconA, [this](DWORD message, NOTIFYICONDATAA* record) {
            calls.push_back({message, *record});
            if (failing.count(message)) return FALSE;
            return Shell_NotifyIconA(message, record);
        }};
    int Count(DWORD message) const {
        int count = 0;
        for (const Call& call : calls) count += call.message == message;
        return count;
    }
};

struct SleepRecorder {
    std::vector<DWORD> waits;
    platform::ScopedSeam<std::function<void(DWORD)>> seam{platform::seams::Sleep,
                                                           [this](DWORD ms) { waits.push_back(ms); }};
};

struct KeysDown {
    std::set<int> keys;
    platform::ScopedSeam<std::function<SHORT(int)>> seam{
        platform::seams::GetAsyncKeyState, [this](int key) { return static_cast<SHORT>(keys.count(key) ? 0x8000 : 0); }};
};

// Closes the pop-up menu from inside its modal loop, noting what it showed.
struct MenuCloser {
    static inline UINT boldItem = 0;
    static inline bool shown = false;
    static inline HMENU menu = nullptr;
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        boldItem = GetMenuDefaultItem(menu, FALSE, 0);
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
            shown = shown || IsWindowVisible(w);
        EndMenu();
    }
    explicit MenuCloser(HMENU popup) {
        menu = popup;
        boldItem = 0;
        shown = false;
        SetTimer(nullptr, 0, 50, &Fire);
    }
};

class Tray : public ::testing::Test {
protected:
    void SetUp() override {
        owner.Load();
        owner.Show();
    }
    void TearDown() override {
        if (TaskBar().MainInTray()) TaskBar().Shutdown(owner, false, true);
        while (common::SubclassCount() > 0) common::UnsubclassWindow(owner.hWnd());
        if (owner.hWnd()) ShellLosesIcon(owner.hWnd(), 1);
        testing_support::PumpMessages();
    }
    // Goes to the tray as the user's minimize does.
    void MinimizeOwner() {
        ShowWindow(owner.hWnd(), SW_MINIMIZE);
        testing_support::PumpMessages();
    }
    // Set-up minimizes the window, which must not start the owner's own trip to the tray.
    bool SetupAsGoToTrayDoes() {
        owner.InTrayTransition = true;
        bool ready = TaskBar().Setup(owner, true);
        owner.InTrayTransition = false;
        return ready;
    }
    bool WindowInTray() {
        return !IsWindowVisible(owner.hWnd()) && IsIconic(owner.hWnd()) && TaskBar().MainInTray() &&
               owner.TrayIcon_Timer.Enabled() && common::SubclassCount() == 1 && ShellHasIcon(owner.hWnd(), 1);
    }
    bool WindowOnScreen() {
        return IsWindowVisible(owner.hWnd()) && !TaskBar().MainInTray() && !owner.TrayIcon_Timer.Enabled() &&
               common::SubclassCount() == 0 && !ShellHasIcon(owner.hWnd(), 1);
    }
    TestOwner owner;
};

}  // namespace

TEST(TrayRecord, StartsEmptyWithTheFirstLayoutsSize) {
    common::clsTaskBar fresh;
    EXPECT_EQ(fresh.CallbackMessage(), 0u);
    EXPECT_EQ(fresh.Record().cbSize, common::kNotifyIconRecordSize);
    EXPECT_EQ(common::kNotifyIconRecordSize, sizeof(void*) == 4 ? 88u : 104u);
    EXPECT_FALSE(fresh.MainInTray());
    EXPECT_FALSE(fresh.IconPresent(0));
    EXPECT_FALSE(fresh.IconPresent(3));
}

TEST(Subclass, CountsNestedCallsAndPutsTheProcedureBackOnTheLast) {
    TestOwner window;
    window.Load();
    HWND hwnd = window.hWnd();
    auto original = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    auto tray = reinterpret_cast<LONG_PTR>(&common::TrayWindowProc);

    common::UnsubclassWindow(hwnd);  // never subclassed: only the count is reset
    EXPECT_EQ(common::SubclassCount(), 0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), original);

    ASSERT_TRUE(common::SubclassWindow(hwnd));
    ASSERT_TRUE(common::SubclassWindow(hwnd));
    EXPECT_EQ(common::SubclassCount(), 2);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(common::PrevWndProc()), original);
    common::UnsubclassWindow(hwnd);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), tray);  // still subclassed
    EXPECT_EQ(common::SubclassCount(), 1);
    common::UnsubclassWindow(hwnd);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(common::PrevWndProc(), nullptr);
    EXPECT_EQ(common::SubclassCount(), 0);

    // The window still works through the procedure put back.
    SetWindowTextA(hwnd, "after");
    EXPECT_EQ(window.Caption(), "after");
}

TEST(Subclass, RefusedSubclassIsReported) {
    testing_support::MsgBoxRecorder boxes;
    // Another process's window cannot be subclassed.
    EXPECT_FALSE(common::SubclassWindow(GetDesktopWindow()));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "Window subclassing could not be initiated, and as a result some program features will not be "
              "available.\r\n\r\nThis indicates a current underlying Windows problem, and it is probably best if you "
              "restart Windows soon.");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    EXPECT_EQ(common::SubclassCount(), 0);
}

TEST_F(Tray, MinimizingGoesToTheTrayAndSetupBringsTheWindowBack) {
    EXPECT_TRUE(TaskBar().Exists());  // Wine's desktop has a taskbar
    ShellRecorder shell;
    MinimizeOwner();
    ASSERT_TRUE(WindowInTray());
    EXPECT_EQ(TaskBar().CallbackMessage(), 0x0701u);
    ASSERT_EQ(shell.Count(NIM_ADD), 1);
    const NOTIFYICONDATAA& added = shell.calls.back().record;
    EXPECT_EQ(added.hWnd, owner.hWnd());
    EXPECT_EQ(added.uID, 1u);
    EXPECT_EQ(added.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(added.hIcon, owner.icon);
    EXPECT_EQ(std::string(added.szTip), platform::App().Title);
    EXPECT_FALSE(owner.InTrayTransition);

    owner.TrayIcon_Popup_Restore.Click();
    EXPECT_TRUE(WindowOnScreen());
    EXPECT_FALSE(IsIconic(owner.hWnd()));
    EXPECT_EQ(GetMenu(owner.hWnd()), nullptr);
    EXPECT_FALSE(owner.InTrayTransition);
}

TEST_F(Tray, KeyHintsFollowTheTwoCaptions) {
    EXPECT_EQ(owner.TrayIcon_Popup_Exit.Caption(), "Exit\tr+s");
    EXPECT_EQ(owner.TrayIcon_Popup_Restore.Caption(), "Setup...\tr+a");
    char text[64] = {};
    GetMenuStringA(owner.TrayIcon_Popup.SubMenu(), owner.TrayIcon_Popup_Exit.Id(), text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "Exit\tr+s");
}

TEST_F(Tray, WithoutTaskbarTheWindowStaysVisibleWithTheMessage) {
    testing_support::MsgBoxRecorder boxes;
    platform::ScopedSeam noTaskbar(common::seams::SHAppBarMessage, [](DWORD, APPBARDATA*) -> UINT_PTR { return 0; });
    EXPECT_FALSE(TaskBar().Exists());
    MinimizeOwner();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "The Windows taskbar could not be detected, therefore a tray icon cannot be created.\r\n\r\nThe tray "
              "icon feature is either not available on your system, such as under Windows NT 3.51; a Windows shell "
              "other than Windows Explorer is being used that is not completely compatible with the tray icon "
              "feature; or this indicates a current underlying Windows problem and it is probably best if you "
              "restart Windows soon.");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    EXPECT_TRUE(IsWindowVisible(owner.hWnd()));
    EXPECT_EQ(common::SubclassCount(), 0);
    EXPECT_FALSE(TaskBar().MainInTray());

    // Silent set-up says nothing.
    boxes.Clear();
    EXPECT_FALSE(TaskBar().Setup(owner, true));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Tray, IconThatCannotBeAddedBringsTheWindowBack) {
    testing_support::MsgBoxRecorder boxes;
    ShellRecorder shell;
    shell.failing = {NIM_ADD};
    MinimizeOwner();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "A taskbar tray icon could not be created.");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    EXPECT_TRUE(IsWindowVisible(owner.hWnd()));
    EXPECT_TRUE(IsIconic(owner.hWnd()));  // shown again, not restored
    EXPECT_EQ(common::SubclassCount(), 0);
    EXPECT_FALSE(owner.TrayIcon_Timer.Enabled());
}

TEST_F(Tray, AddingAPresentIconReplacesIt) {
    ASSERT_TRUE(SetupAsGoToTrayDoes());
    ShellRecorder shell;
    ASSERT_TRUE(TaskBar().AddIcon(owner, owner.icon, "first", 1));
    ASSERT_TRUE(TaskBar().AddIcon(owner, owner.icon, "second", 1));
    EXPECT_EQ(shell.Count(NIM_DELETE), 1);
    // Exactly one icon: the shell removes it once, and then has none.
    NOTIFYICONDATAA record{};
    record.cbSize = common::kNotifyIconRecordSize;
    record.hWnd = owner.hWnd();
    record.uID = 1;
    EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &record));
    EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &record));
}

TEST_F(Tray, OnlyIconNumbersOneAndTwoExist) {
    ASSERT_TRUE(SetupAsGoToTrayDoes());
    ShellRecorder shell;
    EXPECT_FALSE(TaskBar().AddIcon(owner, owner.icon, "tip", 3));
    EXPECT_FALSE(TaskBar().AddIcon(owner, owner.icon, "tip", 0));
    EXPECT_FALSE(TaskBar().ChangeIcon(owner.icon, 3));
    EXPECT_FALSE(TaskBar().ChangeTip("tip", -1));
    EXPECT_FALSE(TaskBar().DeleteIcon(owner, 3));
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_FALSE(owner.TrayIcon_Timer.Enabled());

    // Icon 2 lives apart from icon 1 and does not run the watchdog.
    ASSERT_TRUE(TaskBar().AddIcon(owner, owner.icon, "two", 2));
    EXPECT_TRUE(TaskBar().IconPresent(2));
    EXPECT_FALSE(TaskBar().MainInTray());
    EXPECT_FALSE(owner.TrayIcon_Timer.Enabled());
    EXPECT_TRUE(ShellHasIcon(owner.hWnd(), 2));
    TaskBar().Shutdown(owner, false, false);
    EXPECT_FALSE(TaskBar().IconPresent(2));
    EXPECT_FALSE(ShellHasIcon(owner.hWnd(), 2));
}

TEST_F(Tray, TipsAreCutTo63Characters) {
    ASSERT_TRUE(SetupAsGoToTrayDoes());
    ShellRecorder shell;
    std::string seventy;
    for (int i = 0; i < 70; ++i) seventy += static_cast<char>('a' + i % 26);
    ASSERT_TRUE(TaskBar().AddIcon(owner, owner.icon, seventy, 1));
    EXPECT_EQ(std::string(shell.calls.back().record.szTip), seventy.substr(0, 63));

    ASSERT_TRUE(TaskBar().ChangeTip("short", 1));
    const NOTIFYICONDATAA& changed = shell.calls.back().record;
    EXPECT_EQ(changed.uFlags, static_cast<UINT>(NIF_TIP));
    EXPECT_STREQ(changed.szTip, "short");
    EXPECT_EQ(std::string(changed.szTip + 6, 58), std::string(58, ' '));
    ASSERT_TRUE(TaskBar().ChangeIcon(LoadIcon(nullptr, IDI_WARNING), 1));
    EXPECT_EQ(shell.calls.back().record.uFlags, static_cast<UINT>(NIF_ICON));
    EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_MODIFY));
    // Each call fills in only its own fields: the rest stay as the last call left them.
    EXPECT_STREQ(shell.calls.back().record.szTip, "short");
    EXPECT_EQ(shell.calls.back().record.uCallbackMessage, 0x0701u);
    EXPECT_EQ(shell.calls.back().record.hWnd, owner.hWnd());
}

TEST_F(Tray, DeletedIconCountsAsGoneWhateverTheShellSays) {
    ASSERT_TRUE(SetupAsGoToTrayDoes());
    ASSERT_TRUE(TaskBar().AddIcon(owner, owner.icon, "tip", 1));
    ShellLosesIcon(owner.hWnd(), 1);
    EXPECT_FALSE(TaskBar().DeleteIcon(owner, 1));
    EXPECT_FALSE(TaskBar().MainInTray());
    EXPECT_FALSE(owner.TrayIcon_Timer.Enabled());
}

TEST_F(Tray, DoubleClickRunsTheDefaultCommandAndSingleClicksDoNothing) {
    MinimizeOwner();
    ASSERT_TRUE(WindowInTray());
    HWND hwnd = owner.hWnd();
    SendMessageA(hwnd, 0x0701, 1, WM_LBUTTONDOWN);
    SendMessageA(hwnd, 0x0701, 1, WM_LBUTTONUP);
    SendMessageA(hwnd, 0x0701, 1, WM_MOUSEMOVE);
    EXPECT_EQ(owner.log, "");
    EXPECT_EQ(SendMessageA(hwnd, 0x0701, 1, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(owner.log, "default;");
    EXPECT_TRUE(WindowInTray());
}

TEST_F(Tray, RightClickWithShiftExitsAndWithAltRestores) {
    MinimizeOwner();
    KeysDown keys;
    keys.keys = {VK_SHIFT};
    SendMessageA(owner.hWnd(), 0x0701, 1, WM_RBUTTONUP);
    EXPECT_EQ(owner.log, "exit;");
    EXPECT_TRUE(WindowInTray());

    keys.keys = {VK_MENU};
    SendMessageA(owner.hWnd(), 0x0701, 1, WM_RBUTTONUP);
    EXPECT_EQ(owner.log, "exit;");  // no menu either
    EXPECT_TRUE(WindowOnScreen());
}

TEST_F(Tray, ShiftRightClickThatUnloadsTheOwnerTakesItOutOfTheTray) {
    MinimizeOwner();
    owner.unloadOnExit = true;
    KeysDown keys;
    keys.keys = {VK_SHIFT};
    HWND hwnd = owner.hWnd();
    SendMessageA(hwnd, 0x0701, 1, WM_RBUTTONUP);
    EXPECT_FALSE(owner.IsLoaded());
    EXPECT_FALSE(TaskBar().MainInTray());
    EXPECT_EQ(common::SubclassCount(), 0);
    EXPECT_FALSE(ShellHasIcon(hwnd, 1));
}

TEST_F(Tray, PlainRightClickShowsTheMenuWithTheDefaultInBold) {
    MinimizeOwner();
    KeysDown keys;
    {
        MenuCloser closer(owner.TrayIcon_Popup.SubMenu());
        SendMessageA(owner.hWnd(), 0x0701, 1, WM_RBUTTONUP);
    }
    EXPECT_TRUE(MenuCloser::shown);
    EXPECT_EQ(MenuCloser::boldItem, static_cast<UINT>(owner.TrayIcon_Popup_Default.Id()));
    EXPECT_EQ(owner.log, "before;after;");
    EXPECT_TRUE(WindowInTray());
}

TEST_F(Tray, NotificationsWhileOneIsHandledAreIgnored) {
    MinimizeOwner();
    int nested = 0;
    owner.TrayIcon_Popup_Default.Click = [&] {
        ++nested;
        SendMessageA(owner.hWnd(), 0x0701, 1, WM_LBUTTONDBLCLK);
    };
    SendMessageA(owner.hWnd(), 0x0701, 1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(nested, 1);
    SendMessageA(owner.hWnd(), 0x0701, 1, WM_LBUTTONDBLCLK);  // the guard is cleared again
    EXPECT_EQ(nested, 2);
}

TEST_F(Tray, OtherMessagesReachTheWindowThroughTheSubclass) {
    MinimizeOwner();
    ASSERT_EQ(GetWindowLongPtrA(owner.hWnd(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&common::TrayWindowProc));
    SetWindowTextA(owner.hWnd(), "renamed");
    EXPECT_EQ(owner.Caption(), "renamed");
    // The form's own handling runs behind the subclass: a menu command arrives.
    SendMessageA(owner.hWnd(), WM_COMMAND, MAKEWPARAM(owner.TrayIcon_Popup_Default.Id(), 0), 0);
    EXPECT_EQ(owner.log, "default;");
}

TEST_F(Tray, WatchdogHidesAVisibleWindowAndKeepsAPresentIcon) {
    MinimizeOwner();
    ShowWindow(owner.hWnd(), SW_SHOWNORMAL);
    ShellRecorder shell;
    SleepRecorder sleeps;
    owner.TrayIcon_Timer_Timer();
    EXPECT_TRUE(WindowInTray());
    EXPECT_EQ(shell.Count(NIM_MODIFY), 1);
    EXPECT_EQ(shell.Count(NIM_ADD), 0);
    EXPECT_TRUE(sleeps.waits.empty());
    EXPECT_FALSE(owner.InTrayTransition);
}

TEST_F(Tray, WatchdogPutsALostIconBack) {
    MinimizeOwner();
    ShellLosesIcon(owner.hWnd(), 1);
    ASSERT_FALSE(ShellHasIcon(owner.hWnd(), 1));
    ShellRecorder shell;
    SleepRecorder sleeps;
    owner.TrayIcon_Timer_Timer();
    EXPECT_EQ(shell.Count(NIM_MODIFY), 3);
    EXPECT_EQ(shell.Count(NIM_ADD), 1);
    EXPECT_EQ(sleeps.waits, (std::vector<DWORD>{3000, 3000}));
    EXPECT_TRUE(WindowInTray());
    EXPECT_EQ(std::string(shell.calls.back().record.szTip), platform::App().Title);
    EXPECT_EQ(shell.calls.back().record.hIcon, owner.icon);
}

TEST_F(Tray, WatchdogGivesUpAfterThreeChangesAndThreeAdds) {
    MinimizeOwner();
    testing_support::MsgBoxRecorder boxes;
    ShellRecorder shell;
    shell.failing = {NIM_MODIFY, NIM_ADD};
    SleepRecorder sleeps;
    owner.TrayIcon_Timer_Timer();
    EXPECT_EQ(shell.Count(NIM_MODIFY), 3);
    EXPECT_EQ(shell.Count(NIM_ADD), 3);
    EXPECT_EQ(sleeps.waits, (std::vector<DWORD>{3000, 3000, 3000, 3000}));
    ASSERT_EQ(boxes.Count(), 1u);
    const std::string title = platform::App().Title;
    EXPECT_EQ(boxes.Last().text, "The " + title + " tray icon could not be updated due to an API call error, therefore the " +
                                     title + " window will now be restored.");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    EXPECT_TRUE(IsWindowVisible(owner.hWnd()));
    EXPECT_FALSE(TaskBar().MainInTray());
    EXPECT_FALSE(owner.TrayIcon_Timer.Enabled());
    EXPECT_EQ(common::SubclassCount(), 0);
    EXPECT_FALSE(owner.InTrayTransition);
}

TEST_F(Tray, WatchdogGivingUpAfterATwoColumnTripShowsNoMenuBar) {
    owner.twoColumns = true;
    MinimizeOwner();
    ASSERT_NE(GetMenu(owner.hWnd()), nullptr);  // the two-column layout put it there
    testing_support::MsgBoxRecorder boxes;
    ShellRecorder shell;
    shell.failing = {NIM_MODIFY, NIM_ADD};
    SleepRecorder sleeps;
    owner.TrayIcon_Timer_Timer();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_TRUE(IsWindowVisible(owner.hWnd()));
    EXPECT_EQ(GetMenu(owner.hWnd()), nullptr);
    EXPECT_FALSE(owner.TrayIcon_Popup.Visible());
    EXPECT_FALSE(owner.InTrayTransition);
}

TEST_F(Tray, WatchdogTimerTicksEveryThirtySecondsWhileTheIconIsPresent) {
    EXPECT_EQ(owner.TrayIcon_Timer.Interval(), 30000);
    EXPECT_FALSE(owner.TrayIcon_Timer.Enabled());
    MinimizeOwner();
    EXPECT_TRUE(owner.TrayIcon_Timer.Enabled());
    // A real tick runs the watchdog.
    ShellRecorder shell;
    SendMessageA(owner.hWnd(), WM_TIMER, owner.TrayIcon_Timer.Id(), 0);
    EXPECT_EQ(shell.Count(NIM_MODIFY), 1);
}

TEST_F(Tray, ShellRestartPutsTheIconBackAtOnce) {
    MinimizeOwner();
    ShellLosesIcon(owner.hWnd(), 1);
    ShellRecorder shell;
    SendMessageA(owner.hWnd(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(ShellHasIcon(owner.hWnd(), 1));
    EXPECT_TRUE(WindowInTray());
    ASSERT_EQ(shell.Count(NIM_ADD), 1);
    EXPECT_EQ(shell.calls.back().record.hIcon, owner.icon);
    EXPECT_EQ(std::string(shell.calls.back().record.szTip), platform::App().Title);
}

TEST_F(Tray, ClosingInTheTrayRemovesIconAndSubclass) {
    MinimizeOwner();
    HWND hwnd = owner.hWnd();
    owner.Unload();
    EXPECT_FALSE(TaskBar().MainInTray());
    EXPECT_EQ(common::SubclassCount(), 0);
    EXPECT_FALSE(ShellHasIcon(hwnd, 1));
}
