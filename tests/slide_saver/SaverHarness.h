// What the Slide Saver tests share: pictures written as bitmap files, a scripted clock and
// random source, a clean settings area, and the slide show opened as Windows opens it.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "common/FileFolderFunctions_.h"
#include "platform/Form.h"
#include "platform/Seams.h"
#include "slide_saver/basSSaver.h"
#include "slide_saver/frmSSaver.h"
#include "support/TestSupport.h"

namespace saver_test {

// The settings area of the test program (its title is the test executable's name).
std::string SettingsKey();

// The colour on screen at a point of the window's client area, as the user sees it.
COLORREF ScreenColor(HWND window, int x, int y);

class SaverTest : public ::testing::Test {
protected:
    SaverTest();
    ~SaverTest() override;

    // Opens the show full screen (as "/s" does) with the settings as they stand.
    slide_saver::frmSSaver& Open();
    // One tick of the show timer at the scripted time.
    void Tick();
    // Moves the clock on and ticks.
    void Advance(double seconds);
    void Key(int key);
    void KeyUp(int key);
    std::string Picture(const std::string& name, int width, int height, COLORREF color);
    bool SaverOpen() const;

    testing_support::TempFolder folder{"slides"};
    double clock = 36000;
    std::deque<double> randoms;
    testing_support::MsgBoxRecorder boxes;

private:
    platform::ScopedSeam<std::function<double()>> timer_;
    platform::ScopedSeam<std::function<double()>> random_;
};

}  // namespace saver_test
