// The slide-show window under Wine: real windows and files, keys and clicks sent as
// messages, the clock and random numbers scripted.
#include <windows.h>

#include <gtest/gtest.h>

#include "SaverHarness.h"

using namespace slide_saver;
using saver_test::SaverTest;

namespace {

class SlideShow : public SaverTest {};

TEST_F(SlideShow, FirstTickShowsTheFirstPictureCentredAtItsOwnSize) {
    Picture("a.bmp", 400, 300, RGB(200, 40, 40));
    frmSSaver& show = Open();
    Tick();
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
    EXPECT_TRUE(show.Pic[show.ActiveFrame].Visible());
    RECT frame{};
    GetWindowRect(show.Pic[show.ActiveFrame].hWnd(), &frame);
    MapWindowPoints(nullptr, show.hWnd(), reinterpret_cast<POINT*>(&frame), 2);
    EXPECT_EQ(frame.left, (1024 - 400) / 2);
    EXPECT_EQ(frame.top, (768 - 300) / 2);
    UpdateWindow(show.hWnd());
    EXPECT_EQ(saver_test::ScreenColor(show.hWnd(), 512, 384), RGB(200, 40, 40));
    EXPECT_EQ(saver_test::ScreenColor(show.hWnd(), 10, 10), RGB(0, 0, 0));
}

}  // namespace
