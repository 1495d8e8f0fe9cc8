// Desktop measuring, window placing and text fitting against real windows.
#include <gtest/gtest.h>

#include <cmath>

#include "common/FitStuff_.h"
#include "common/GetDeskMonitors_.h"
#include "common/GetDesktopSize_.h"
#include "platform/App.h"
#include "platform/Form.h"

using namespace common;

namespace {

class HostForm : public platform::Form {
public:
    platform::ComboBox cbo;
    platform::Label lbl;
    HFONT bigFont = nullptr;

    ~HostForm() override {
        if (bigFont) DeleteObject(bigFont);
    }

protected:
    void Form_Load() override {
        cbo.Create(*this, 120, 120, 1500, 2000);
        lbl.Create(*this, "", 120, 900, 3000, 300);
        bigFont = CreateFontA(-24, 0, 0, 0, FW_BOLD, TRUE, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        cbo.SetFont(bigFont);
    }
};

double TextTwips(HFONT font, const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx * platform::TwipsPerPixelX();
}

}  // namespace

TEST(GetDesktopSize, ScreenAndWorkAreaInPixelsAndTwips) {
    long width = GetDesktopSize(false, true, "w");
    EXPECT_EQ(width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(DesktopArea.Left, 0);
    EXPECT_EQ(DesktopArea.Top, 0);
    EXPECT_EQ(DesktopArea.Height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetDesktopSize(false, true, "H"), GetSystemMetrics(SM_CYSCREEN));

    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(GetDesktopSize(true, true, "b"), work.bottom);
    EXPECT_EQ(DesktopArea.Width, work.right - work.left);
    EXPECT_EQ(DesktopArea.Height, work.bottom - work.top);
    EXPECT_LE(DesktopArea.Height, GetSystemMetrics(SM_CYSCREEN));

    double tx = platform::TwipsPerPixelX();
    EXPECT_EQ(GetDesktopSize(true, false, "r"), std::lround(work.right * tx));
    EXPECT_EQ(GetDesktopSize(false, false, ""), std::lround(GetSystemMetrics(SM_CXSCREEN) * tx));
}

TEST(GetDesktopSizeTwoMonitors, TheDesktopIsThePrimaryMonitor) {
    if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "one monitor";
    // The test environment's desk: 1024 x 768 primary, 768 x 1024 to its right.
    EXPECT_EQ(GetDesktopSize(false, true, "w"), 1024);
    EXPECT_EQ(DesktopArea.Height, 768);
    EXPECT_LE(GetDesktopSize(true, true, "r"), 1024);
    EXPECT_LE(DesktopArea.Bottom, 768);
    const std::vector<MonitorBox> desk = GetDeskMonitors();
    ASSERT_EQ(desk.size(), 2u);
    EXPECT_EQ(desk[0], (MonitorBox{0, 0, 1024, 768}));
    EXPECT_EQ(desk[1], (MonitorBox{1024, 0, 1792, 1024}));
}

TEST(PlaceFormOnDesktop, CentresAndClampsTheDivisor) {
    HostForm form;
    form.Load();
    form.Move(0, 0, 6000, 3000);
    GetDesktopSize(true, false, "w");
    DesktopAreaRecord work = DesktopArea;
    double tx = platform::TwipsPerPixelX();

    for (int given : {0, -5, 2}) {
        int divisor = given;
        PlaceFormOnDesktop(form, divisor);
        EXPECT_EQ(divisor, 2);
        EXPECT_NEAR(form.Top(), work.Top + (work.Height - form.Height()) / 2, tx);
        EXPECT_NEAR(form.Left(), work.Left + (work.Width - form.Width()) / 2, tx);
    }
    int divisor = 11;
    PlaceFormOnDesktop(form, divisor);
    EXPECT_EQ(divisor, 10);
    EXPECT_NEAR(form.Top(), work.Top + (work.Height - form.Height()) / 10, tx);
    int size = form.Width();
    divisor = 3;
    PlaceFormOnDesktop(form, divisor);
    EXPECT_NEAR(form.Top(), work.Top + (work.Height - form.Height()) / 3, tx);
    EXPECT_EQ(form.Width(), size);  // placing never resizes
}

TEST(PlaceFormOnDesktop, WindowLargerThanTheWorkAreaStartsAboveAndLeftOfIt) {
    HostForm form;
    form.Load();
    GetDesktopSize(true, false, "w");
    DesktopAreaRecord work = DesktopArea;
    form.Move(0, 0, work.Width + 3000, work.Height + 3000);
    int divisor = 2;
    PlaceFormOnDesktop(form, divisor);
    EXPECT_LT(form.Left(), work.Left);
    EXPECT_LT(form.Top(), work.Top);
}

TEST(FitDropDownWidth, WidensToTheLongestEntryInTheBoxsFontAndGivesTheFontBack) {
    HostForm form;
    form.Load();
    HFONT before = form.Font();
    FitDropDownWidth(form.cbo);
    EXPECT_EQ(SendMessageA(form.cbo.hWnd(), CB_GETDROPPEDWIDTH, 0, 0), form.cbo.Width() / platform::TwipsPerPixelX())
        << "an empty list is as wide as the box";
    std::string longest = "C:\\A rather long folder name\\with another level below it";
    form.cbo.AddItem("C:\\Short");
    form.cbo.AddItem(longest);
    FitDropDownWidth(form.cbo);
    long expected = std::lround(TextTwips(form.bigFont, longest)) / std::lround(platform::TwipsPerPixelX()) +
                    GetSystemMetrics(SM_CXVSCROLL) + 10;
    EXPECT_EQ(SendMessageA(form.cbo.hWnd(), CB_GETDROPPEDWIDTH, 0, 0), expected);
    EXPECT_EQ(form.Font(), before);
}

TEST(TextFitsControl, ExactWidthFitsAndAnyLessDoesNot) {
    HostForm form;
    form.Load();
    HFONT before = form.Font();
    std::string text = "Holiday pictures 2026";
    long margin = 5;
    auto setWidthPixels = [&](long pixels) {
        MoveWindow(form.lbl.hWnd(), 8, 60, static_cast<int>(pixels), 20, FALSE);
    };
    // Also on a monitor of another DPI than the system's, where the form's twips are smaller.
    for (const int dpi : {form.Dpi(), form.Dpi() * 5 / 4}) {
        if (dpi != form.Dpi()) SendMessageA(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
        long textPixels = std::lround(TextTwips(form.lbl.Font(), text) / platform::TwipsPerPixelX());
        setWidthPixels(textPixels + margin + 10);  // exactly as wide as needed
        EXPECT_TRUE(TextFitsControl(text, form.lbl, margin)) << dpi << " DPI";
        setWidthPixels(textPixels + margin + 9);
        EXPECT_FALSE(TextFitsControl(text, form.lbl, margin)) << dpi << " DPI";
        EXPECT_TRUE(TextFitsControl(text, form.lbl, margin - 1)) << dpi << " DPI";
    }
    EXPECT_EQ(form.Font(), before);
}
