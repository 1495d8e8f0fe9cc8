// The slide-show window under Wine: real windows and files, keys and clicks sent as
// messages, the clock and random numbers scripted.
#include <windows.h>

#include <gtest/gtest.h>

#include <psapi.h>

#include <set>

#include "SaverHarness.h"
#include "common/FolderWalk_.h"
#include "common/DeskMonitors_.h"
#include "common/GetDeskMonitors_.h"
#include "common/SettingsApp_.h"
#include "common/WallpaperStyle_.h"
#include "common/WindowsWallpaper_.h"
#include "platform/App.h"
#include "platform/Monitors.h"
#include "support/GuiObjects.h"

using namespace slide_saver;
using saver_test::SaverTest;
using saver_test::ScreenColor;
using testing_support::RegString;

namespace {

class SlideShow : public SaverTest {};

RECT FrameRect(const frmSSaver& show, const platform::Control& control) {
    RECT rect{};
    GetWindowRect(control.hWnd(), &rect);
    MapWindowPoints(nullptr, show.hWnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ShownName(const frmSSaver& show) { return common::PicFiles[show.Pick.CurrentIndex]; }

TEST_F(SlideShow, FirstTickShowsTheFirstPictureCentredAtItsOwnSize) {
    Picture("a.bmp", 400, 300, RGB(200, 40, 40));
    // The first tick comes as soon as the window runs.
    frmSSaver& show = Open();
    EXPECT_EQ(show.Caption(), platform::App().Title);
    EXPECT_EQ(show.ssTimer.Interval(), kTickInterval);
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
    ASSERT_TRUE(show.Pic[show.ActiveFrame].Visible());
    const RECT frame = FrameRect(show, show.Pic[show.ActiveFrame]);
    EXPECT_EQ(frame.left, (1024 - 400) / 2);
    EXPECT_EQ(frame.top, (768 - 300) / 2);
    UpdateWindow(show.hWnd());
    EXPECT_EQ(ScreenColor(show.hWnd(), 512, 384), RGB(200, 40, 40));
    EXPECT_EQ(ScreenColor(show.hWnd(), 10, 10), RGB(0, 0, 0));
}

TEST_F(SlideShow, DelayCountsDownAndTheNextPictureComesInOrder) {
    Picture("a.bmp", 40, 30, RGB(200, 0, 0));
    Picture("b.bmp", 40, 30, RGB(0, 200, 0));
    Picture("c.bmp", 40, 30, RGB(0, 0, 200));
    SaverSettings.ShowDelay = 10;
    SaverSettings.DisplayTime = true;
    frmSSaver& show = Open();
    Tick();
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
    EXPECT_EQ(show.ReadAhead.Path(), folder.File("b.bmp"));
    Advance(4.5);
    EXPECT_EQ(show.lblTimeLeft.Tag, ":06");
    Advance(5.5);
    EXPECT_EQ(show.Pick.CurrentIndex, 2);
    EXPECT_EQ(show.lblTimeLeft.Tag, ":10");
    Advance(10);
    Advance(10);
    EXPECT_EQ(show.Pick.CurrentIndex, 1) << "after the last picture comes the first";
    // N: the next picture at the next tick, and the countdown starts again from there.
    Key('N');
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
    Advance(0.5);
    EXPECT_EQ(show.Pick.CurrentIndex, 2);
    EXPECT_EQ(show.lblTimeLeft.Tag, ":10");
}

TEST_F(SlideShow, OnePictureShowsAgainInOrderAndAtRandom) {
    Picture("only.bmp", 40, 30, RGB(200, 0, 0));
    for (bool random : {false, true}) {
        SaverSettings.ShowRandom = random;
        frmSSaver& show = Open();
        Key('B');  // nothing before the first picture
        EXPECT_TRUE(SaverOpen());
        Tick();
        for (int change = 0; change < 3; ++change) {
            Advance(SaverSettings.ShowDelay);
            EXPECT_EQ(show.Pick.CurrentIndex, 1);
            EXPECT_TRUE(show.Pic[show.ActiveFrame].Visible());
        }
        SaverWindow.reset();
    }
}

TEST_F(SlideShow, RandomNeverRepeatsAndBackTwiceReturns) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) Picture(name, 40, 30, RGB(10, 10, 10));
    SaverSettings.ShowRandom = true;
    randoms = {0.0};
    frmSSaver& show = Open();
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
    // A source stuck on the same number: still never the same picture twice in a row.
    for (int change = 0; change < 5; ++change) {
        const int before = show.Pick.CurrentIndex;
        randoms = {0.0, 0.0, 0.0};
        Advance(10);
        EXPECT_NE(show.Pick.CurrentIndex, before);
    }
    randoms = {0.99};
    Advance(10);
    const int current = show.Pick.CurrentIndex, previous = show.Pick.PreviousIndex;
    ASSERT_NE(current, previous);
    Key('B');
    EXPECT_EQ(show.Pick.CurrentIndex, previous);
    Key('B');
    EXPECT_EQ(show.Pick.CurrentIndex, current);
}

TEST_F(SlideShow, AtRandomTheNextPickIsMadeAheadForItsPictureToBeReadAhead) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) Picture(name, 40, 30, RGB(10, 10, 10));
    SaverSettings.ShowRandom = true;
    randoms = {0.0, 0.99};
    frmSSaver& show = Open();
    ASSERT_EQ(show.Pick.CurrentIndex, 1);
    EXPECT_EQ(show.ReadAhead.Path(), folder.File("c.bmp"));
    randoms = {0.4};
    Advance(SaverSettings.ShowDelay);
    EXPECT_EQ(show.Pick.CurrentIndex, 3) << "the pick made ahead";
    EXPECT_EQ(show.ReadAhead.Path(), folder.File("b.bmp"));
    // Back: what is read ahead follows the show from where it stands now.
    randoms = {0.99};
    Key('B');
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
    EXPECT_EQ(show.ReadAhead.Path(), folder.File("c.bmp"));
}

TEST_F(SlideShow, SmallPicturesAreTiledBelowThePercentage) {
    Picture("small.bmp", 400, 300, RGB(20, 160, 60));
    SaverSettings.TileSmall = true;
    for (int percent : {15, 16}) {
        SaverSettings.TilePercent = percent;
        frmSSaver& show = Open();
        Tick();
        UpdateWindow(show.hWnd());
        const bool tiled = percent == 16;
        EXPECT_EQ(show.Tiled, tiled) << percent;
        EXPECT_EQ(show.BackgroundPicture() != nullptr, tiled);
        EXPECT_EQ(show.Pic[show.ActiveFrame].Visible(), !tiled);
        // The corner and the tiles at the far edges show the picture only when tiled.
        for (POINT at : {POINT{5, 5}, POINT{1020, 765}, POINT{805, 605}})
            EXPECT_EQ(ScreenColor(show.hWnd(), at.x, at.y), tiled ? RGB(20, 160, 60) : RGB(0, 0, 0)) << percent;
        SaverWindow.reset();
    }
}

TEST_F(SlideShow, WidePictureBestFittedOrScrolled) {
    Picture("wide.bmp", 2000, 500, RGB(90, 90, 200));
    SaverSettings.BestFit = true;
    frmSSaver& show = Open();
    Tick();
    RECT frame = FrameRect(show, show.Pic[show.ActiveFrame]);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 256);
    EXPECT_EQ(frame.right - frame.left, 1024);
    EXPECT_EQ(frame.bottom - frame.top, 256);
    EXPECT_TRUE(show.Graphic[show.ActiveFrame].Stretch());
    EXPECT_FALSE(show.GraphicHScroll.Visible() || show.GraphicVScroll.Visible());

    // F: at its own size again, with the bar it needs.
    Key('F');
    EXPECT_FALSE(SaverSettings.BestFit);
    EXPECT_TRUE(show.GraphicHScroll.Visible());
    EXPECT_FALSE(show.GraphicVScroll.Visible());
    EXPECT_EQ(show.GraphicHScroll.Max(), 976);
    const int bar = GetSystemMetrics(SM_CYHSCROLL);
    frame = FrameRect(show, show.Pic[show.ActiveFrame]);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, (768 - bar - 500) / 2);
    EXPECT_EQ(frame.right - frame.left, 2000);
    EXPECT_EQ(GetFocus(), show.GraphicHScroll.hWnd());
    // The bar moves the picture; arrows on the bar scroll instead of ending the show.
    show.GraphicHScroll.SetValue(300);
    EXPECT_EQ(FrameRect(show, show.Pic[show.ActiveFrame]).left, -300);
    SendMessageA(show.GraphicHScroll.hWnd(), WM_KEYDOWN, VK_RIGHT, 0);
    testing_support::PumpMessages();
    EXPECT_TRUE(SaverOpen());
    EXPECT_EQ(show.GraphicHScroll.Value(), 301);
    Key(VK_END);
    EXPECT_TRUE(SaverOpen());
}

TEST_F(SlideShow, FolderMessagesRepeatEveryTickAndAnyKeyEnds) {
    struct Case {
        std::string folder;
        std::string message;
    };
    const std::string gone = folder.Path() + "\\gone";
    const std::vector<Case> cases = {
        {"", "The pics folder has\r\nnot been selected.\r\nGo to Control Panel,\r\nDisplay, Slide Saver,\r\nSettings to set it up."},
        {gone, "The '" + gone + "'\r\nfolder no longer exists."},
        {folder.Path(), "The '" + folder.Path() + "'\r\nfolder does not contain any\r\npic files (.jpg, .jpe*, .gif, .bmp)."},
    };
    for (const Case& c : cases) {
        SaverSettings.PicsFolder = c.folder;
        SaverSettings.DisplayTime = true;
        frmSSaver& show = Open();
        Tick();
        const std::string expected = platform::App().Title + "\r\n\r\n" + c.message;
        EXPECT_EQ(show.PrintedText(), expected);
        EXPECT_EQ(show.Delay, 0);
        EXPECT_FALSE(show.lblTimeLeft.Visible());
        EXPECT_EQ(show.BackColor(), RGB(0, 0, 0));
        Advance(0.5);
        EXPECT_EQ(show.PrintedText(), expected) << "printed again on the next tick";
        Key('P');  // any key, even one the show knows
        EXPECT_FALSE(SaverOpen()) << c.message;
        SaverWindow.reset();
    }
}

TEST_F(SlideShow, FolderThatGainsPicturesShowsThemOnTheNextTick) {
    frmSSaver& show = Open();
    Tick();
    ASSERT_EQ(show.Delay, 0);
    Picture("late.bmp", 40, 30, RGB(1, 2, 3));
    common::FindFiles(SaverSettings.PicsFolder, common::PicFileSpec(false), false, false);
    Advance(0.5);
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
}

TEST_F(SlideShow, FolderThatComesBackResumesTheShowAsItWas) {
    Picture("a.bmp", 40, 30, RGB(200, 0, 0));
    Picture("b.bmp", 40, 30, RGB(0, 200, 0));
    SaverSettings.ShowDelay = 30;
    SaverSettings.QuickDelay = 20;
    SaverSettings.DisplayTime = true;
    frmSSaver& show = Open();
    Tick();
    Key('O');  // the delay in force is the Other one
    // The drive goes away, and comes back.
    const std::string away = folder.Path() + " away";
    ASSERT_TRUE(MoveFileA(folder.Path().c_str(), away.c_str()));
    Advance(20);
    ASSERT_EQ(show.Delay, 0);
    ASSERT_FALSE(show.lblTimeLeft.Visible());
    ASSERT_TRUE(MoveFileA(away.c_str(), folder.Path().c_str()));
    Advance(0.5);
    EXPECT_TRUE(show.PrintedText().empty());
    EXPECT_TRUE(show.Pic[show.ActiveFrame].Visible());
    EXPECT_EQ(show.Delay, 20);
    EXPECT_TRUE(show.lblTimeLeft.Visible());
    const int shown = show.Pick.CurrentIndex;
    Advance(0.5);
    EXPECT_EQ(show.Pick.CurrentIndex, shown) << "not a new picture at every tick";
    EXPECT_EQ(show.lblTimeLeft.Tag, ":20");
    Key('N');
    EXPECT_TRUE(SaverOpen()) << "the keys act again";
    Advance(0.5);
    EXPECT_NE(show.Pick.CurrentIndex, shown);
}

TEST_F(SlideShow, LoadErrorsAreShownOrSkippedUpToTen) {
    testing_support::WriteFile(folder.File("bad.jpg"), "not a picture");
    const std::string good = Picture("good.bmp", 40, 30, RGB(200, 100, 50));
    frmSSaver& show = Open();
    Tick();
    EXPECT_EQ(show.PrintedText().find(platform::App().Title + "\r\n\r\nAn error occurred attempting\r\nto load or "
                                                                "display the file\r\n" +
                                      folder.File("bad.jpg") + ":\r\n\r\n"),
              0u);
    EXPECT_NE(show.Delay, 0) << "a picture error leaves the delay";
    Advance(10);
    EXPECT_EQ(ShownName(show), good);
    EXPECT_TRUE(show.PrintedText().empty());
    // The error again, over the good picture: Esc blacks out both, F1 brings both back.
    Advance(10);
    ASSERT_FALSE(show.PrintedText().empty());
    const std::string error = show.PrintedText();
    Key(VK_ESCAPE);
    UpdateWindow(show.hWnd());
    EXPECT_TRUE(show.PrintedText().empty());
    EXPECT_FALSE(show.Pic[0].Visible() || show.Pic[1].Visible());
    EXPECT_EQ(ScreenColor(show.hWnd(), 512, 384), RGB(0, 0, 0)) << "the good picture's place";
    Key(VK_F1);
    EXPECT_EQ(show.PrintedText(), error);
    EXPECT_TRUE(show.Pic[1 - show.ActiveFrame].Visible());
    SaverWindow.reset();

    SaverSettings.SkipErrors = true;
    frmSSaver& skipping = Open();
    Tick();
    EXPECT_EQ(ShownName(skipping), good);
    EXPECT_TRUE(skipping.PrintedText().empty());
    SaverWindow.reset();

    // Ten bad files in a row: the tenth is reported.
    DeleteFileA(good.c_str());
    for (int i = 0; i < 10; ++i) testing_support::WriteFile(folder.File("bad" + std::to_string(i) + ".jpg"), "x");
    frmSSaver& failing = Open();
    Tick();
    EXPECT_NE(failing.PrintedText().find("10 consecutive errors have\r\noccurred attempting to load\r\nor display a "
                                         "pic file.\r\n\r\nLast file: "),
              std::string::npos);
    EXPECT_NE(failing.PrintedText().find("\r\nLast error: "), std::string::npos);
}

TEST_F(SlideShow, MorePicTypesShowTransparencyOverTheScreensColourAndReportWhatCannotBeRead) {
    const std::string data = testing_support::WinePathFromEnv("SORVITA_TEST_DATA") + "\\";
    const std::string png = folder.File("a.png"), webp = folder.File("b.webp");
    ASSERT_TRUE(CopyFileA((data + "quad-alpha.png").c_str(), png.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((data + "quad.webp").c_str(), webp.c_str(), FALSE));
    const std::string title = platform::App().Title + "\r\n\r\n";
    // Off: nothing to show, as ever.
    frmSSaver& off = Open();
    Tick();
    EXPECT_EQ(off.PrintedText(), title + "The '" + folder.Path() +
                                     "'\r\nfolder does not contain any\r\npic files (.jpg, .jpe*, .gif, .bmp).");
    SaverWindow.reset();
    SaverSettings.MorePicTypes = true;
    testing_support::TempFolder none{"slides-none"};
    SaverSettings.PicsFolder = none.Path();
    frmSSaver& empty = Open();
    Tick();
    EXPECT_EQ(empty.PrintedText(), title + "The '" + none.Path() +
                                       "'\r\nfolder does not contain any\r\npic files (.jpg, .jpe*, .gif, .bmp, .png, "
                                       ".tif, .tiff, .webp, .heic, .heif, .avif).");
    SaverWindow.reset();

    // On: the transparent corner shows the random colour the screen gets around the picture.
    SaverSettings.PicsFolder = folder.Path();
    SaverSettings.RandomColor = true;
    SaverSettings.ShowDelay = 10;
    randoms = {0.5, 0.25, 0.75};
    frmSSaver& show = Open();
    Tick();
    ASSERT_EQ(ShownName(show), png);
    EXPECT_EQ(show.BackColor(), RGB(128, 64, 192));
    UpdateWindow(show.hWnd());
    const RECT frame = FrameRect(show, show.Pic[show.ActiveFrame]);
    ASSERT_EQ(frame.right - frame.left, 10);
    EXPECT_EQ(ScreenColor(show.hWnd(), frame.left, frame.top), RGB(255, 0, 0));
    EXPECT_EQ(ScreenColor(show.hWnd(), frame.left + 9, frame.top), RGB(128, 64, 192));
    EXPECT_EQ(ScreenColor(show.hWnd(), frame.left, frame.top + 5), RGB(64, 32, 224));  // blue at 128/255
    EXPECT_EQ(ScreenColor(show.hWnd(), 10, 10), RGB(128, 64, 192));
    // Hung as wallpaper, the transparent corner shows the desktop's colour instead.
    Key('W');
    KeyUp('W');
    {
        platform::Picture hung = platform::Picture::Load(common::WallpaperFilePath());
        ASSERT_EQ(hung.Width(), 10);
        DIBSECTION section{};
        ASSERT_TRUE(GetObjectA(hung.Bitmap(), sizeof section, &section));
        const DWORD corner = static_cast<const DWORD*>(section.dsBm.bmBits)[9];  // top row, BGRX
        EXPECT_EQ(RGB(corner >> 16 & 0xFF, corner >> 8 & 0xFF, corner & 0xFF), GetSysColor(COLOR_BACKGROUND));
    }
    // WebP where the system cannot read it (Wine): the usual error, or skipped.
    std::string error;
    if (!platform::Picture::Load(webp, &error, true).Empty()) return;
    Advance(10);
    EXPECT_EQ(show.PrintedText(), title + "An error occurred attempting\r\nto load or display the file\r\n" + webp +
                                      ":\r\n\r\nThis system has no decoder for this kind of picture.");
    SaverWindow.reset();
    SaverSettings.SkipErrors = true;
    frmSSaver& skipping = Open();
    Tick();
    Advance(10);
    EXPECT_EQ(ShownName(skipping), png);
    EXPECT_TRUE(skipping.PrintedText().empty());
}

TEST_F(SlideShow, BlackoutAndRestore) {
    Picture("a.bmp", 2000, 500, RGB(200, 40, 40));
    SaverSettings.DisplayName = true;
    SaverSettings.RandomColor = true;
    randoms = {0.5, 0.25, 0.75};
    frmSSaver& show = Open();
    Tick();
    const COLORREF color = show.BackColor();
    EXPECT_EQ(color, RGB(128, 64, 192));
    ASSERT_TRUE(show.GraphicHScroll.Visible());
    Key(VK_ESCAPE);
    EXPECT_TRUE(show.Blackout);
    EXPECT_FALSE(show.ssTimer.Enabled());
    EXPECT_FALSE(show.Pic[show.ActiveFrame].Visible() || show.GraphicHScroll.Visible() ||
                 show.lblFilename.Visible() || show.lblTimeLeft.Visible());
    EXPECT_EQ(show.BackColor(), RGB(0, 0, 0));
    Key(VK_F1);
    EXPECT_FALSE(show.Blackout);
    EXPECT_TRUE(show.ssTimer.Enabled());
    EXPECT_TRUE(show.Pic[show.ActiveFrame].Visible());
    EXPECT_TRUE(show.GraphicHScroll.Visible());
    EXPECT_FALSE(show.GraphicVScroll.Visible());
    EXPECT_TRUE(show.lblFilename.Visible());
    EXPECT_FALSE(show.lblTimeLeft.Visible());
    EXPECT_EQ(show.BackColor(), color);
    // A paused show is still paused after Esc and F1, on the same picture.
    Key('P');
    const int paused = show.Pick.CurrentIndex;
    Key(VK_ESCAPE);
    Key(VK_F1);
    EXPECT_FALSE(show.ssTimer.Enabled());
    EXPECT_EQ(show.Pick.CurrentIndex, paused);
    EXPECT_TRUE(show.lblTimeLeft.Visible());
    EXPECT_EQ(show.lblTimeLeft.Tag, kPaused);
    // Esc, then any key but F1, ends the show; so does F1 when nothing is blacked out.
    Key(VK_ESCAPE);
    Key('N');
    EXPECT_FALSE(SaverOpen());
    Open();
    Tick();
    Key(VK_F1);
    EXPECT_FALSE(SaverOpen());
}

TEST_F(SlideShow, PauseQuickModeAndTheTextBoxes) {
    Picture("a.bmp", 40, 30, RGB(1, 2, 3));
    Picture("b.bmp", 40, 30, RGB(3, 2, 1));
    SaverSettings.ShowDelay = 30;
    SaverSettings.QuickDelay = 5;
    frmSSaver& show = Open();
    Tick();
    EXPECT_FALSE(show.lblTimeLeft.Visible());
    Key('P');
    EXPECT_FALSE(show.ssTimer.Enabled());
    EXPECT_TRUE(show.lblTimeLeft.Visible()) << "shown while paused";
    EXPECT_EQ(show.lblTimeLeft.Tag, kPaused);
    Key('N');
    EXPECT_EQ(show.Pick.CurrentIndex, 2) << "paused: at once";
    EXPECT_EQ(show.lblTimeLeft.Tag, kPaused);
    Key('P');
    EXPECT_TRUE(show.ssTimer.Enabled());
    EXPECT_FALSE(show.lblTimeLeft.Visible());
    Key('O');
    EXPECT_TRUE(show.QuickMode);
    EXPECT_EQ(show.Delay, 5);
    EXPECT_EQ(show.TimeLeftColor(), kQuickTimeLeftColor);
    Advance(5);
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
    Key('O');
    EXPECT_EQ(show.Delay, 30);
    EXPECT_EQ(show.TimeLeftColor(), kTimeLeftColor);
    // The name box sits at the top right, sized to the name; I hides and shows it.
    Key('I');
    EXPECT_TRUE(show.lblFilename.Visible());
    const RECT name = FrameRect(show, show.lblFilename);
    EXPECT_EQ(name.right, 1024);
    EXPECT_EQ(name.top, 0);
    EXPECT_EQ(show.lblFilename.Tag, ShownName(show));
    Key('T');
    EXPECT_TRUE(show.lblTimeLeft.Visible());
    const RECT time = FrameRect(show, show.lblTimeLeft);
    EXPECT_EQ(time.left, 0);
    EXPECT_EQ(time.bottom, 768);
    Key('C');
    EXPECT_NE(show.BackColor(), RGB(0, 0, 0));
    Key('C');
    EXPECT_EQ(show.BackColor(), RGB(0, 0, 0));
}

TEST_F(SlideShow, TogglesAreSavedOnCloseAndReadByTheNextRun) {
    Picture("a.bmp", 40, 30, RGB(1, 2, 3));
    Open();
    Tick();
    for (int key : {'F', 'E', 'C', 'I', 'T'}) Key(key);
    EXPECT_TRUE(SaverOpen());
    Key('Q');
    EXPECT_FALSE(SaverOpen());
    const std::string key = saver_test::SettingsKey();
    for (const char* name : {"Best Fit", "Tile Small", "Random Color", "Display Time", "Display Name"})
        EXPECT_EQ(RegString(HKEY_CURRENT_USER, key, name), "True") << name;
    EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, key, "Show Delay")) << "only the toggles";
    SaverSettings = {};
    LoadSaverSettings();
    EXPECT_TRUE(SaverSettings.BestFit && SaverSettings.TileSmall && SaverSettings.RandomColor &&
                SaverSettings.DisplayTime && SaverSettings.DisplayName);
}

TEST_F(SlideShow, WHangsTheWallpaperInTheStyleOfTheHeldKey) {
    Picture("a.bmp", 64, 48, RGB(30, 60, 90));
    const std::string wallpaper = common::WallpaperFilePath();
    struct Case {
        int held;
        long style;
    } cases[] = {{0, common::kStyleCenter}, {VK_SHIFT, common::kStyleTile}, {VK_CONTROL, common::kStyleStretch}};
    for (const Case& c : cases) {
        DeleteFileA(wallpaper.c_str());
        Open();
        Tick();
        // Held as W came up, though already let go when the key is handled.
        platform::ScopedSeam<std::function<SHORT(int)>> keys(platform::seams::GetKeyState, [&](int key) {
            return static_cast<SHORT>(key == c.held ? 0x8000 : 0);
        });
        platform::ScopedSeam<std::function<SHORT(int)>> now(platform::seams::GetAsyncKeyState,
                                                             [](int) { return SHORT{0}; });
        Key('W');
        KeyUp('W');
        EXPECT_TRUE(SaverOpen());
        EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"), wallpaper);
        platform::Picture hung = platform::Picture::Load(wallpaper);
        EXPECT_EQ(std::make_pair(hung.Width(), hung.Height()), std::make_pair(64, 48));
        hung.Release();
        const common::WallpaperStyleValues values = common::StyleValues(c.style);
        EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "WallpaperStyle"), values.WallpaperStyle);
        EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "TileWallpaper"), values.TileWallpaper);
        EXPECT_TRUE(boxes.Calls().empty());
        // Letting go of Shift or Ctrl then ends the show.
        if (c.held) {
            KeyUp(c.held);
            EXPECT_FALSE(SaverOpen());
        }
        SaverWindow.reset();
    }
}

TEST_F(SlideShow, MouseMovementEndsOnlyWhenAllowedAndFast) {
    Picture("a.bmp", 40, 30, RGB(1, 2, 3));
    for (bool allowed : {false, true}) {
        SaverSettings.AllowMouse = allowed;
        frmSSaver& show = Open();
        Tick();
        auto move = [&](int x, int y) {
            SendMessageA(show.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
            testing_support::PumpMessages();
        };
        // Where the real pointer stands is not ours to know: start from nothing seen.
        show.LastMouseX = show.LastMouseY = 0;
        move(100, 100);
        for (int step = 1; step <= 20; ++step) move(100 + step * 9, 100 + step * 9);  // slow: below 10
        EXPECT_TRUE(SaverOpen());
        move(400, 400);
        EXPECT_EQ(SaverOpen(), !allowed);
        SaverWindow.reset();
    }
    // Over a picture the position counts in the window's pixels, not the picture's.
    SaverSettings.AllowMouse = true;
    frmSSaver& show = Open();
    Tick();
    show.LastMouseX = show.LastMouseY = 0;
    SendMessageA(show.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(490, 370));
    SendMessageA(show.Pic[show.ActiveFrame].hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));  // (497, 374)
    testing_support::PumpMessages();
    EXPECT_TRUE(SaverOpen());
}

TEST_F(SlideShow, ClicksAndDoubleClicks) {
    Picture("a.bmp", 40, 30, RGB(1, 2, 3));
    Picture("b.bmp", 40, 30, RGB(3, 2, 1));
    frmSSaver& show = Open();
    Tick();
    // The right button acts as N.
    SendMessageA(show.Pic[show.ActiveFrame].hWnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    Advance(0.5);
    EXPECT_EQ(show.Pick.CurrentIndex, 2);
    SendMessageA(show.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    testing_support::PumpMessages();
    EXPECT_FALSE(SaverOpen());
    Open();
    Tick();
    SendMessageA(SaverWindow->hWnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    testing_support::PumpMessages();
    EXPECT_FALSE(SaverOpen());
}

TEST_F(SlideShow, PreviewPaneIgnoresKeysAndStepsOnALeftClick) {
    Picture("a.bmp", 400, 300, RGB(1, 2, 3));
    Picture("b.bmp", 400, 300, RGB(3, 2, 1));
    InPreviewPane = true;
    SaverWindow = std::make_unique<frmSSaver>();
    frmSSaver& show = *SaverWindow;
    show.Load();
    SetWindowPos(show.hWnd(), nullptr, 0, 0, 152, 112, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EXPECT_EQ(show.Caption(), kPreviewCaption);
    Tick();
    // Always shrunk to fit the small pane.
    const RECT frame = FrameRect(show, show.Pic[show.ActiveFrame]);
    EXPECT_EQ(frame.right - frame.left, 149);
    EXPECT_EQ(frame.bottom - frame.top, 112);
    for (int key : {int{'Q'}, VK_ESCAPE, int{'N'}, VK_SHIFT}) {
        Key(key);
        KeyUp(key);
    }
    SendMessageA(show.hWnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    SendMessageA(show.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    SendMessageA(show.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
    testing_support::PumpMessages();
    EXPECT_TRUE(SaverOpen());
    EXPECT_FALSE(show.Blackout);
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
    SendMessageA(show.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    Advance(0.5);
    EXPECT_EQ(show.Pick.CurrentIndex, 2);
    // Closing saves nothing over what a full-screen run saved while the preview lived.
    testing_support::RegSetString(HKEY_CURRENT_USER, saver_test::SettingsKey(), "Best Fit", "True");
    show.Unload();
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, saver_test::SettingsKey(), "Best Fit"), "True");
    EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, saver_test::SettingsKey(), "Display Name"));
}

TEST_F(SlideShow, PasswordIsAskedOnlyOnTheOlderFamilyWhenInForce) {
    Picture("a.bmp", 40, 30, RGB(1, 2, 3));
    HMODULE standIn = LoadLibraryA("password.cpl");
    ASSERT_NE(standIn, nullptr) << "the stand-in password library lies beside the tests";
    using Script = void(WINAPI*)(int);
    using Calls = int(WINAPI*)();
    const auto script = reinterpret_cast<Script>(reinterpret_cast<void*>(GetProcAddress(standIn, "StandInScript")));
    const auto calls = reinterpret_cast<Calls>(reinterpret_cast<void*>(GetProcAddress(standIn, "StandInVerifyCalls")));
    std::vector<std::pair<UINT, UINT>> running;
    platform::ScopedSeam<std::function<BOOL(UINT, UINT, void*, UINT)>> spi(
        platform::seams::SystemParametersInfoA, [&](UINT action, UINT value, void* data, UINT flags) {
            if (action == 97) {
                running.emplace_back(value, flags);
                return TRUE;
            }
            return ::SystemParametersInfoA(action, value, data, flags);
        });
    testing_support::RegSetString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", "1");

    // Windows NT: no password asked, whatever the registry says.
    script(0);
    Open();
    Tick();
    EXPECT_FALSE(SaverWindow->UsePassword);
    Key('Q');
    EXPECT_FALSE(SaverOpen());
    EXPECT_EQ(calls(), 0);
    EXPECT_TRUE(running.empty());

    // Windows 98 with a password: a wrong one keeps the show going.
    IsWin9x = true;
    frmSSaver& show = Open();
    Tick();
    EXPECT_TRUE(show.UsePassword);
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running[0], std::make_pair(1u, static_cast<UINT>(SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE)));
    show.LastMouseX = show.LastMouseY = 5;
    Key('Q');
    EXPECT_TRUE(SaverOpen());
    EXPECT_EQ(calls(), 1);
    EXPECT_EQ(show.LastMouseX, 0);
    EXPECT_EQ(show.LastMouseY, 0);
    script(1);
    Key('Q');
    EXPECT_FALSE(SaverOpen());
    ASSERT_EQ(running.size(), 2u);
    EXPECT_EQ(running[1].first, 0u);

    // Opened by the setup dialog's Preview: no password.
    script(0);
    ShownFromSetup = true;
    SaverWindow = std::make_unique<frmSSaver>();
    SaverWindow->Load();
    Tick();
    Key('Q');
    EXPECT_FALSE(SaverOpen());
    EXPECT_EQ(calls(), 0);
    testing_support::RegSetString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", "0");
    FreeLibrary(standIn);
}

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

TEST_F(SlideShow, ThousandChangesLeaveNoObjectsBehind) {
    Picture("a.bmp", 300, 200, RGB(200, 0, 0));
    Picture("b.bmp", 1100, 800, RGB(0, 200, 0));
    Picture("c.bmp", 100, 80, RGB(0, 0, 200));
    SaverSettings.ShowDelay = 1;
    SaverSettings.TileSmall = true;
    SaverSettings.DisplayName = true;
    SaverSettings.DisplayTime = true;
    frmSSaver& show = Open();
    Tick();
    for (int i = 0; i < 30; ++i) Advance(1);
    show.ReadAhead.Settle();
    const testing_support::GuiObjects before = testing_support::CountGuiObjects();
    int changes = 0, last = show.Pick.CurrentIndex;
    SIZE_T halfway = 0;
    for (int i = 0; i < 1000; ++i) {
        Advance(1);
        if (show.Pick.CurrentIndex != last) ++changes;
        last = show.Pick.CurrentIndex;
        if (i % 97 == 0) Key(i % 2 ? 'F' : 'E');
        if (i == 499) halfway = PeakWorkingSet();
    }
    EXPECT_EQ(changes, 1000);
    show.ReadAhead.Settle();
    EXPECT_EQ(before, testing_support::CountGuiObjects());
    // The pictures held (the two frames and the one read ahead) stay as many: the second 500
    // changes need no more.
    EXPECT_LT(PeakWorkingSet(), halfway + 2 * 1024 * 1024);
}

}  // namespace

// ---------------------------------------------------------------- two monitors
// Run where the desk has two monitors (the test environment's two-monitor option): a
// 1024 x 768 primary and a 768 x 1024 portrait monitor to its right.
namespace {

class TwoMonitors : public SaverTest {
protected:
    void SetUp() override {
        if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "one monitor";
        second = common::OtherMonitorsInOrder(common::GetDeskMonitors()).front();
    }
    // The colour on screen at a point of the second monitor, as the user sees it.
    COLORREF SecondColor(long x, long y) {
        UpdateWindow(Other().hWnd());
        HDC screen = GetDC(nullptr);
        const COLORREF color = GetPixel(screen, second.Left + x, second.Top + y);
        ReleaseDC(nullptr, screen);
        return color;
    }
    OtherMonitor& Other() { return *SaverWindow->OtherMonitors.at(0); }
    common::MonitorBox second;
};

LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT r{};
        GetClientRect(hwnd, &r);
        HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The test's own list of monitors, handed to the show as the system would.
std::vector<RECT> listedMonitors;

BOOL ListMonitors(HDC, LPCRECT, MONITORENUMPROC proc, LPARAM data) {
    for (RECT& area : listedMonitors)
        if (!proc(nullptr, nullptr, &area, data)) return FALSE;
    return TRUE;
}

TEST_F(SlideShow, AMonitorPluggedInOrOutWhileTheShowRuns) {
    Picture("a.bmp", 40, 30, RGB(200, 0, 0));
    Picture("b.bmp", 40, 30, RGB(0, 200, 0));
    listedMonitors = {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
    platform::ScopedSeam<std::function<BOOL(HDC, LPCRECT, MONITORENUMPROC, LPARAM)>> monitors(
        platform::seams::EnumDisplayMonitors, ListMonitors);
    frmSSaver& show = Open();
    EXPECT_TRUE(show.OtherMonitors.empty());
    listedMonitors.push_back({-768, 0, 0, 1024});
    SendMessageA(show.hWnd(), WM_DISPLAYCHANGE, 32, 0);
    ASSERT_EQ(show.OtherMonitors.size(), 1u);
    RECT area{};
    GetWindowRect(show.OtherMonitors[0]->hWnd(), &area);
    EXPECT_EQ(area.left, -768);
    EXPECT_EQ(area.bottom, 1024);
    EXPECT_EQ(show.OtherMonitors[0]->Pick.CurrentIndex, 2) << "shows a picture at once";
    listedMonitors.pop_back();
    SendMessageA(show.hWnd(), WM_DISPLAYCHANGE, 32, 0);
    EXPECT_TRUE(show.OtherMonitors.empty());
    // The primary's own size changed: the window covers it again, the picture centred on it.
    SetWindowPos(show.hWnd(), nullptr, 0, 0, 500, 400, SWP_NOZORDER);
    SendMessageA(show.hWnd(), WM_DISPLAYCHANGE, 32, 0);
    GetWindowRect(show.hWnd(), &area);
    EXPECT_EQ(area.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(area.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(FrameRect(show, show.Pic[show.ActiveFrame]).left, (GetSystemMetrics(SM_CXSCREEN) - 40) / 2);
    Advance(10);
    EXPECT_TRUE(SaverOpen());
}

TEST_F(TwoMonitors, EachMonitorShowsItsOwnPictureByItsOwnSizeAndTheShowEndsOnBoth) {
    // A window left open on the second monitor.
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SaverTestPlainWindow";
    RegisterClassA(&wc);
    HWND left = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, second.Left + 100, 100, 300, 300,
                                nullptr, nullptr, wc.hInstance, nullptr);
    testing_support::PumpMessages();
    const POINT onIt{second.Left + 250, 250};
    ASSERT_EQ(WindowFromPoint(onIt), left);
    // Portrait pictures: best fitted on the primary, at their own size on the portrait monitor.
    Picture("a.bmp", 600, 800, RGB(200, 0, 0));
    Picture("b.bmp", 600, 800, RGB(0, 200, 0));
    Picture("c.bmp", 600, 800, RGB(0, 0, 200));
    SaverSettings.BestFit = true;
    frmSSaver& show = Open();
    ASSERT_EQ(show.OtherMonitors.size(), 1u);
    HWND other = Other().hWnd();
    EXPECT_NE(WindowFromPoint(onIt), left) << "the window on the second monitor is covered";
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
    EXPECT_EQ(Other().Pick.CurrentIndex, 2) << "the next picture after the primary's";
    EXPECT_EQ(show.ReadAhead.Path(), folder.File("c.bmp")) << "the primary's next is on the second monitor already";
    EXPECT_EQ(FrameRect(show, show.Pic[show.ActiveFrame]).left, (1024 - 576) / 2);
    EXPECT_EQ(Other().Frame(), (Box{(768 - 600) / 2, (1024 - 800) / 2, 600, 800}));
    EXPECT_EQ(SecondColor(384, 512), RGB(0, 200, 0));
    EXPECT_EQ(SecondColor(40, 40), RGB(0, 0, 0));
    EXPECT_EQ(SecondColor(384, 512), RGB(0, 200, 0));
    // Both change at each tick.
    Advance(10);
    EXPECT_EQ(show.Pick.CurrentIndex, 2);
    EXPECT_EQ(Other().Pick.CurrentIndex, 3);
    UpdateWindow(show.hWnd());
    EXPECT_EQ(ScreenColor(show.hWnd(), 512, 384), RGB(0, 200, 0));
    EXPECT_EQ(SecondColor(384, 512), RGB(0, 0, 200));
    // Back: the whole desk shows again what it showed before.
    Key('B');
    EXPECT_EQ(show.Pick.CurrentIndex, 1);
    EXPECT_EQ(Other().Pick.CurrentIndex, 2);
    EXPECT_EQ(SecondColor(384, 512), RGB(0, 200, 0));
    // Esc blacks out both; F1 brings both back.
    Key(VK_ESCAPE);
    EXPECT_EQ(SecondColor(384, 512), RGB(0, 0, 0));
    Key(VK_F1);
    EXPECT_EQ(SecondColor(384, 512), RGB(0, 200, 0));
    // A click on the second monitor ends the show everywhere.
    SendMessageA(other, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    testing_support::PumpMessages();
    EXPECT_FALSE(SaverOpen());
    EXPECT_FALSE(IsWindow(other));
    EXPECT_EQ(WindowFromPoint(onIt), left);
    DestroyWindow(left);
}

TEST_F(TwoMonitors, KeysEndTheShowOnBothAndRandomNeverShowsOnePictureTwice) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) Picture(name, 40, 30, RGB(10, 10, 10));
    SaverSettings.ShowRandom = true;
    randoms = {0.0, 0.0, 0.0};
    frmSSaver& show = Open();
    for (int change = 0; change < 6; ++change) {
        // A source stuck on one number.
        randoms.assign(20, change % 2 ? 0.99 : 0.0);
        Advance(10);
        EXPECT_NE(show.Pick.CurrentIndex, Other().Pick.CurrentIndex);
        EXPECT_EQ(Other().Path(), common::PicFiles[Other().Pick.CurrentIndex]);
    }
    HWND other = Other().hWnd();
    // A key pressed while the pointer rests on the second monitor still reaches the show.
    SendMessageA(other, WM_KEYDOWN, 'Q', 0);
    testing_support::PumpMessages();
    EXPECT_FALSE(SaverOpen());
    EXPECT_FALSE(IsWindow(other));
}

TEST_F(TwoMonitors, OptionOffLeavesTheSecondMonitorBlackButCovered) {
    Picture("a.bmp", 600, 800, RGB(200, 0, 0));
    Picture("b.bmp", 600, 800, RGB(0, 200, 0));
    SaverSettings.AllMonitors = false;
    SaverSettings.RandomColor = true;
    Open();
    Advance(10);
    ASSERT_EQ(SaverWindow->OtherMonitors.size(), 1u);
    EXPECT_EQ(WindowFromPoint(POINT{second.Left + 10, 10}), Other().hWnd());
    EXPECT_EQ(SecondColor(384, 512), RGB(0, 0, 0));
    EXPECT_EQ(SecondColor(5, 5), RGB(0, 0, 0));
    Key('C');
    Key('C');
    EXPECT_EQ(SecondColor(384, 512), RGB(0, 0, 0));
}

TEST_F(TwoMonitors, FiveHundredChangesOnBothLeaveNoObjectsBehind) {
    Picture("a.bmp", 300, 200, RGB(200, 0, 0));
    Picture("b.bmp", 1100, 800, RGB(0, 200, 0));
    Picture("c.bmp", 100, 80, RGB(0, 0, 200));
    SaverSettings.ShowDelay = 1;
    SaverSettings.TileSmall = true;
    SaverSettings.RandomColor = true;
    frmSSaver& show = Open();
    for (int i = 0; i < 10; ++i) Advance(1);
    const SaverSettingsRecord settings = SaverSettings;
    const int shown = show.Pick.CurrentIndex;
    int changes = 0;
    // Changes in order, then at random, with F, E and C among them; then back to the
    // settings and the picture of the start, which hold the same objects.
    auto soak = [&](int ticks) {
        int last = Other().Pick.CurrentIndex;
        for (int i = 0; i < ticks; ++i) {
            SaverSettings.ShowRandom = i >= ticks / 2;
            Advance(1);
            if (Other().Pick.CurrentIndex != last) ++changes;
            last = Other().Pick.CurrentIndex;
            EXPECT_NE(show.Pick.CurrentIndex, last);
            if (i % 37 == 0) Key(i % 2 ? 'F' : 'E');
            if (i % 29 == 0) Key('C');
        }
        if (SaverSettings.BestFit != settings.BestFit) Key('F');
        if (SaverSettings.TileSmall != settings.TileSmall) Key('E');
        if (SaverSettings.RandomColor != settings.RandomColor) Key('C');
        SaverSettings.ShowRandom = false;
        for (int i = 0; i < 3 && show.Pick.CurrentIndex != shown; ++i) Advance(1);
    };
    soak(100);  // every picture in every layout once
    show.ReadAhead.Settle();
    const testing_support::GuiObjects before = testing_support::CountGuiObjects();
    changes = 0;
    soak(500);
    EXPECT_GE(changes, 500);
    show.ReadAhead.Settle();
    EXPECT_EQ(before, testing_support::CountGuiObjects());
}

}  // namespace
