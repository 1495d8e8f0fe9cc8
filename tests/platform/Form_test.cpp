// The form runtime against real windows.
#include <gtest/gtest.h>

#include "platform/App.h"
#include "platform/Form.h"
#include "support/TestSupport.h"

namespace {

class TestForm : public platform::Form {
public:
    platform::CheckBox chk;
    platform::OptionButton opt[2];
    platform::ComboBox cbo;
    platform::ScrollBar scr;
    platform::CommandButton cmd;
    platform::Timer tmr;
    int checkClicks = 0, optionClicks = 0, comboClicks = 0, scrollChanges = 0, buttonClicks = 0, ticks = 0;
    int unloadRequests = 0;
    bool refuseUnload = false;

protected:
    void Form_Load() override {
        chk.Create(*this, "Check", 120, 120, 1500, 300);
        chk.Click = [this] { ++checkClicks; };
        opt[0].Create(*this, "One", 120, 500, 1500, 300, true);
        opt[1].Create(*this, "Two", 120, 800, 1500, 300);
        for (auto& o : opt) o.Click = [this] { ++optionClicks; };
        cbo.Create(*this, 120, 1200, 2000, 1500, CBS_DROPDOWNLIST);
        cbo.Click = [this] { ++comboClicks; };
        scr.Create(*this, true, 120, 1700, 2000, 250);
        scr.SetRange(1, 100);
        scr.Change = [this] { ++scrollChanges; };
        cmd.Create(*this, "Go", 120, 2100, 1000, 350);
        cmd.Click = [this] { ++buttonClicks; };
        tmr.Create(*this, 10, false);
        tmr.Tick = [this] { ++ticks; };
    }
    bool Form_QueryUnload(platform::UnloadMode) override {
        ++unloadRequests;
        return refuseUnload;
    }
};

}  // namespace

TEST(Form, ControlsRaiseTheirEventsForUserAndProgramChanges) {
    TestForm form;
    form.Load();
    ASSERT_TRUE(form.IsLoaded());
    EXPECT_FALSE(form.Visible());

    form.chk.SetValue(1);
    form.chk.SetValue(1);  // no change, no event
    EXPECT_EQ(form.checkClicks, 1);
    SendMessageA(form.chk.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.chk.Value(), 0);
    EXPECT_EQ(form.checkClicks, 2);

    form.opt[1].SetValue(true);
    EXPECT_TRUE(form.opt[1].Value());
    form.opt[0].SetValue(true);
    EXPECT_TRUE(form.opt[0].Value());
    EXPECT_FALSE(form.opt[1].Value());
    EXPECT_EQ(form.optionClicks, 2);

    form.cbo.AddItem("a");
    form.cbo.AddItem("b");
    EXPECT_EQ(form.cbo.ListCount(), 2);
    EXPECT_EQ(form.cbo.ListIndex(), -1);
    form.cbo.SetListIndex(1);
    EXPECT_EQ(form.cbo.List(1), "b");
    EXPECT_EQ(form.comboClicks, 1);

    form.scr.SetValue(50);
    form.scr.SetValue(500);  // clamped to the maximum
    EXPECT_EQ(form.scr.Value(), 100);
    SendMessageA(form.hWnd(), WM_HSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(form.scr.hWnd()));
    EXPECT_EQ(form.scr.Value(), 99);
    EXPECT_EQ(form.scrollChanges, 3);

    form.cmd.PerformClick();
    EXPECT_EQ(form.buttonClicks, 1);
}

// A page of controls moved into a container, as option pages are built: an option group
// followed by a check box that does not start a group of its own.
class PageForm : public platform::Form {
public:
    platform::PictureBox page;
    platform::OptionButton opt[2];
    platform::CheckBox chk;

protected:
    void Form_Load() override {
        page.Create(*this, 0, 0, 4000, 3000, 0);
        opt[0].Create(*this, "One", 120, 120, 1500, 300, true);
        opt[1].Create(*this, "Two", 120, 500, 1500, 300);
        chk.Create(*this, "Check", 120, 900, 1500, 300);
        for (platform::Control* control : std::initializer_list<platform::Control*>{&opt[0], &opt[1], &chk})
            control->SetContainer(page);
    }
};

TEST(Form, OptionGroupInAContainerClearsOnlyItsOptions) {
    PageForm form;
    form.Load();
    // The container keeps the order of creation.
    EXPECT_EQ(GetWindow(form.page.hWnd(), GW_CHILD), form.opt[0].hWnd());
    EXPECT_EQ(GetWindow(form.opt[0].hWnd(), GW_HWNDNEXT), form.opt[1].hWnd());
    EXPECT_EQ(GetWindow(form.opt[1].hWnd(), GW_HWNDNEXT), form.chk.hWnd());
    form.chk.SetValue(1);
    form.opt[0].SetValue(true);
    form.opt[1].SetValue(true);
    EXPECT_FALSE(form.opt[0].Value());
    EXPECT_TRUE(form.opt[1].Value());
    EXPECT_EQ(form.chk.Value(), 1);
}

TEST(Form, GeometryIsInTwips) {
    TestForm form;
    form.Load();
    form.cmd.Move(300, 450, 1500, 600);
    double tx = platform::TwipsPerPixelX(), ty = platform::TwipsPerPixelY();
    EXPECT_NEAR(form.cmd.Left(), 300, tx);
    EXPECT_NEAR(form.cmd.Top(), 450, ty);
    EXPECT_NEAR(form.cmd.Width(), 1500, tx);
    EXPECT_NEAR(form.cmd.Height(), 600, ty);
    form.Move(1500, 1500, 6000, 4500);
    EXPECT_NEAR(form.Width(), 6000, tx);
    EXPECT_LT(form.ScaleWidth(), form.Width());
}

TEST(Form, TimerTicksOnlyWhileEnabled) {
    TestForm form;
    form.Load();
    auto pumpFor = [](DWORD ms) {
        DWORD end = GetTickCount() + ms;
        while (GetTickCount() < end) {
            testing_support::PumpMessages();
            Sleep(5);
        }
    };
    pumpFor(60);
    EXPECT_EQ(form.ticks, 0);
    form.tmr.SetEnabled(true);
    pumpFor(120);
    EXPECT_GT(form.ticks, 0);
    form.tmr.SetEnabled(false);
    int seen = form.ticks;
    pumpFor(60);
    EXPECT_EQ(form.ticks, seen);
}

TEST(Form, UnloadAsksQueryUnloadAndCanBeRefused) {
    TestForm form;
    form.Load();
    size_t before = platform::Form::LoadedForms().size();
    form.refuseUnload = true;
    SendMessageA(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.IsLoaded());
    form.refuseUnload = false;
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.unloadRequests, 2);
    EXPECT_EQ(platform::Form::LoadedForms().size(), before - 1);
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the last form posted a quit
}

namespace {

// Ends a modal form from another thread, as another process would (an automation tool closing
// it), then waits and posts the program a message, the input that would otherwise be the first
// to wake its loop.
struct RemoteEnd {
    static inline HWND form = nullptr;
    static inline DWORD hostThread = 0;
    static inline bool hide = false;
    static inline volatile LONG wakePosted = 0;
    static DWORD WINAPI Run(void*) {
        for (int i = 0; i < 500 && !IsWindowVisible(form); ++i) Sleep(10);
        if (hide)
            ShowWindow(form, SW_HIDE);
        else
            SendMessageA(form, WM_CLOSE, 0, 0);
        Sleep(1000);
        InterlockedExchange(&wakePosted, 1);
        PostThreadMessageA(hostThread, WM_NULL, 0, 0);
        return 0;
    }
};

}  // namespace

TEST(Form, AModalFormEndedFromElsewhereReturnsAtOnce) {
    TestForm host;  // the program's own window stays loaded, as a host's does
    host.Load();
    for (bool hide : {false, true}) {
        TestForm modal;
        modal.Load();
        RemoteEnd::form = modal.hWnd();
        RemoteEnd::hostThread = GetCurrentThreadId();
        RemoteEnd::hide = hide;
        RemoteEnd::wakePosted = 0;
        HANDLE thread = CreateThread(nullptr, 0, &RemoteEnd::Run, nullptr, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        modal.ShowModal();
        EXPECT_EQ(RemoteEnd::wakePosted, 0) << (hide ? "hidden" : "closed") << ": the loop waited for the next message";
        EXPECT_EQ(modal.IsLoaded(), hide);
        EXPECT_TRUE(IsWindowEnabled(host.hWnd()));
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        testing_support::PumpMessages();
    }
}

TEST(Form, ToolTipsCanBeSetAndRemoved) {
    TestForm form;
    form.Load();
    form.cmd.SetToolTipText("Starts it");
    EXPECT_EQ(form.cmd.ToolTipText(), "Starts it");
    form.cmd.SetToolTipText("");
    EXPECT_EQ(form.cmd.ToolTipText(), "");
}

TEST(App, IdentityComesFromTheExecutable) {
    platform::Application& app = platform::App();
    EXPECT_EQ(app.EXEName, "platform_tests");
    EXPECT_EQ(app.Extension, ".exe");
    EXPECT_FALSE(app.Path.empty());
    EXPECT_NE(app.Path.back(), '\\');
    EXPECT_GT(platform::TwipsPerPixelX(), 0);
}
