// The About form and message, and the Windows version check.
#include <gtest/gtest.h>

#include "common/About.h"
#include "common/CheckWindowsVersion_.h"
#include "common/SettingsApp_.h"
#include "common/VersionText_.h"
#include "platform/App.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

using namespace common;
using testing_support::MsgBoxRecorder;

namespace {

const char kSettings[] = "Software\\VB and VBA Program Settings\\Sorvita About Test\\Settings";

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = platform::App();
        platform::App().Title = "Sorvita About Test";
        platform::SetAppVersion(2, 0, 1, "Copyright (C) 2026 Sorvita.");
        testing_support::RegDeleteTree(HKEY_CURRENT_USER, kSettings);
    }
    void TearDown() override { platform::App() = saved_; }
    platform::Application saved_;
};

// Holds Ctrl, Alt and Shift down as far as the form can tell.
platform::ScopedSeam<std::function<SHORT(int)>> HoldCtrlAltShift(bool held) {
    return {platform::seams::GetAsyncKeyState, [held](int key) -> SHORT {
                bool down = held && (key == VK_CONTROL || key == VK_MENU || key == VK_SHIFT);
                return down ? static_cast<SHORT>(0x8000) : 0;
            }};
}

}  // namespace

TEST_F(AboutBox, MessageShowsTheAboutText) {
    MsgBoxRecorder boxes;
    ShowAboutMessage();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().title, "About");
    EXPECT_EQ(boxes.Last().flags, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND));
    EXPECT_EQ(boxes.Last().text, std::string("Sorvita About Test\r\nVersion 2.0.0.1\r\nCopyright (C) 2026 Sorvita.\r\n"
                                             "\r\nWeb:  ") +
                                     kSuiteWebAddress + "\r\nE-mail:  Please check web site.");
}

TEST_F(AboutBox, WithoutTheSettingThePhotographStaysHiddenAndNothingIsWritten) {
    auto keys = HoldCtrlAltShift(false);
    About form;
    form.Load();
    EXPECT_EQ(form.Caption(), "About");
    EXPECT_EQ(form.Text1.Text(), AboutTextOfApp());
    EXPECT_FALSE(form.PhotoShown());
    EXPECT_FALSE(form.Image1[0].Visible());
    EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, kSettings, "Kid About"));
    EXPECT_EQ(form.Image1[1].ToolTipText(), kIconToolTip);
    // The layout closes up: the text box sits 10 pixels below the top.
    EXPECT_NEAR(form.Text1.Top(), platform::PixelsToTwipsY(10), platform::TwipsPerPixelY());
    EXPECT_GT(form.cmdOK.Top(), form.Text1.Top() + form.Text1.Height());
    EXPECT_LE(form.cmdOK.Top() + form.cmdOK.Height(), form.ScaleHeight());
    form.cmdOK.PerformClick();
    EXPECT_FALSE(form.IsLoaded());
}

TEST_F(AboutBox, CtrlAltShiftSwitchesThePhotographOnAndOffForGood) {
    {
        auto keys = HoldCtrlAltShift(true);
        About form;
        form.Load();
        EXPECT_TRUE(form.PhotoShown());
        EXPECT_TRUE(form.Image1[0].Visible());
        EXPECT_EQ(form.Image1[1].ToolTipText(), "");
        EXPECT_GT(form.Text1.Top(), form.Image1[0].Top() + form.Image1[0].Height() - platform::TwipsPerPixelY());
        form.Unload();
    }
    EXPECT_EQ(GetAppSetting("Settings", "Kid About", "", true), "False");
    {
        auto keys = HoldCtrlAltShift(false);
        About form;
        form.Load();
        EXPECT_TRUE(form.PhotoShown()) << "stays on at every opening";
        form.Unload();
    }
    {
        auto keys = HoldCtrlAltShift(true);
        About form;
        form.Load();
        EXPECT_FALSE(form.PhotoShown());
        form.Unload();
    }
    EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, kSettings, "Kid About"));
}

TEST_F(AboutBox, ControlsDoNotOverlapInEitherLayout) {
    for (bool held : {false, true}) {
        auto keys = HoldCtrlAltShift(held);
        About form;
        form.Load();
        RECT text{}, ok{}, icon{}, client{};
        GetWindowRect(form.Text1.hWnd(), &text);
        GetWindowRect(form.cmdOK.hWnd(), &ok);
        GetWindowRect(form.Image1[1].hWnd(), &icon);
        RECT overlap{};
        EXPECT_FALSE(IntersectRect(&overlap, &text, &ok));
        EXPECT_FALSE(IntersectRect(&overlap, &text, &icon));
        EXPECT_FALSE(IntersectRect(&overlap, &icon, &ok));
        if (held) {
            RECT photo{};
            GetWindowRect(form.Image1[0].hWnd(), &photo);
            EXPECT_FALSE(IntersectRect(&overlap, &photo, &text));
        }
        GetClientRect(form.hWnd(), &client);
        MapWindowPoints(form.hWnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        EXPECT_LE(ok.bottom, client.bottom);
        EXPECT_LE(text.right, client.right);
        form.Unload();
    }
}

TEST(WindowsVersionCheck, FamiliesFromTheVersionQuery) {
    struct Case {
        DWORD major, minor, platform;
        const char* text;
        const char* type;
    };
    const Case cases[] = {{4, 10, VER_PLATFORM_WIN32_WINDOWS, "9x 4.1", "9x"},
                          {4, 0, VER_PLATFORM_WIN32_NT, "NT 4.0", "NT"},
                          {5, 0, VER_PLATFORM_WIN32_NT, "NT 5.0", "NT"}};
    for (const Case& c : cases) {
        platform::ScopedSeam seam(seams::GetVersionExA, [&c](OSVERSIONINFOA* info) -> BOOL {
            EXPECT_EQ(info->dwOSVersionInfoSize, 148u);
            info->dwMajorVersion = c.major;
            info->dwMinorVersion = c.minor;
            info->dwPlatformId = c.platform;
            return TRUE;
        });
        EXPECT_EQ(CheckWindowsVersion(), c.text);
        EXPECT_EQ(GetWindowsType(), c.type);
    }
    platform::ScopedSeam failing(seams::GetVersionExA, [](OSVERSIONINFOA*) -> BOOL { return FALSE; });
    EXPECT_EQ(CheckWindowsVersion(), "");
    EXPECT_EQ(GetWindowsType(), "");
}

TEST(WindowsVersionCheck, WineAnswersAsAnNtSystem) { EXPECT_EQ(GetWindowsType(), "NT"); }
