// The picture pane inside the browser window: fitting, scrolling, the info line.
#include "BrowserHarness.h"
#include "picture_browser/PaneGeometry_.h"
#include "platform/Format.h"

using namespace browser_test;
using picture_browser::frmWallpaper;

namespace {

class PicturePane : public BrowserHarness {
protected:
    void SetUp() override {
        BrowserHarness::SetUp();
        OpenOwn();
        browser->Show();
        EnterFolder("Pics");
    }
    picture_browser::PicturePane& Pane() { return browser->Pane; }
    int PanePixelsX() { return platform::TwipsToPixelsX(Pane().Pic.ScaleWidth()); }
    int PanePixelsY() { return platform::TwipsToPixelsY(Pane().Pic.ScaleHeight()); }
    // A picture of this size in the shown folder, selected in the file list.
    void Show(const std::string& name, int width, int height, size_t fileSize = 0) {
        WriteBitmap(pics + "\\" + name, width, height, RGB(90, 90, 160), fileSize);
        browser->PicsFileList.Refresh();
        ChooseFile(name);
    }
    void SwitchToNormal() {
        Click(browser->cmdGraphicDisplay);
        ASSERT_TRUE(browser->Graphic_Popup_Normal.Checked());
    }
};

}  // namespace

TEST_F(PicturePane, SmallerPictureIsCentredAtItsOwnSizeInBothModes) {
    Show("small.bmp", 100, 60);
    auto& pane = Pane();
    const int w = pane.Pic.ScaleWidth(), h = pane.Pic.ScaleHeight();
    for (int mode = 0; mode < 2; ++mode) {
        EXPECT_TRUE(pane.Image1.Visible());
        EXPECT_FALSE(pane.Stretch());
        EXPECT_EQ(pane.Image1.Width(), platform::PixelsToTwipsX(100));
        EXPECT_EQ(pane.Image1.Height(), platform::PixelsToTwipsY(60));
        EXPECT_NEAR(pane.Image1.Left(), (w - pane.PicWidth) / 2, platform::TwipsPerPixelX());
        EXPECT_NEAR(pane.Image1.Top(), (h - pane.PicHeight) / 2, platform::TwipsPerPixelY());
        EXPECT_FALSE(pane.GraphicHScroll.Visible() || pane.GraphicVScroll.Visible() || pane.GraphicCorner.Visible());
        Click(browser->cmdGraphicDisplay);
    }
}

TEST_F(PicturePane, BestFitShowsAPictureTwiceAsWideAtHalfSizeCentredVertically) {
    Show("wide.bmp", 2 * PanePixelsX(), PanePixelsY());
    auto& pane = Pane();
    EXPECT_TRUE(pane.Stretch());
    EXPECT_EQ(pane.Image1.Left(), 0);
    EXPECT_EQ(pane.Image1.Width(), pane.Pic.ScaleWidth());
    EXPECT_NEAR(pane.Image1.Height(), pane.Pic.ScaleHeight() / 2, platform::TwipsPerPixelY());
    EXPECT_NEAR(pane.Image1.Top(), pane.Pic.ScaleHeight() / 4, platform::TwipsPerPixelY());
    EXPECT_FALSE(pane.GraphicHScroll.Visible());
}

TEST_F(PicturePane, BarTakingTheRoomBringsTheOtherBarAndTheCornerButton) {
    SwitchToNormal();
    // Narrower than the pane, but not once the vertical bar is in; taller than the pane.
    Show("tall.bmp", PanePixelsX() - 5, PanePixelsY() + 40);
    auto& pane = Pane();
    EXPECT_TRUE(pane.GraphicVScroll.Visible());
    EXPECT_TRUE(pane.GraphicHScroll.Visible());
    EXPECT_TRUE(pane.GraphicCorner.Visible());
    RECT corner = ClientRectOf(pane.GraphicCorner), v = ClientRectOf(pane.GraphicVScroll),
         h = ClientRectOf(pane.GraphicHScroll);
    EXPECT_EQ(corner.left, h.right);
    EXPECT_EQ(corner.top, v.bottom);
    EXPECT_EQ(pane.GraphicCorner.ToolTipText(), "Go to center of pic.");
    // Just fitting: no bar at all.
    Show("fits.bmp", PanePixelsX(), PanePixelsY());
    EXPECT_FALSE(pane.GraphicVScroll.Visible() || pane.GraphicHScroll.Visible() || pane.GraphicCorner.Visible());
}

TEST_F(PicturePane, CornerButtonShowsTheMiddleOfThePicture) {
    SwitchToNormal();
    Show("big.bmp", 900, 700);
    auto& pane = Pane();
    ASSERT_TRUE(pane.GraphicCorner.Visible());
    Click(pane.GraphicCorner);
    int h = pane.GraphicHScroll.Value(), v = pane.GraphicVScroll.Value();
    EXPECT_EQ(h, picture_browser::CornerValue(pane.GraphicHScroll.Max()));
    EXPECT_EQ(v, picture_browser::CornerValue(pane.GraphicVScroll.Max()));
    EXPECT_NEAR(pane.Image1.Left(), -h, platform::TwipsPerPixelX());
    EXPECT_NEAR(pane.Image1.Top(), -v, platform::TwipsPerPixelY());
    // The middle of the picture is the middle of the visible part.
    int visibleMiddle = (pane.Pic.ScaleWidth() - pane.GraphicVScroll.Width()) / 2;
    EXPECT_NEAR(-pane.Image1.Left() + visibleMiddle, pane.PicWidth / 2, 2 * platform::TwipsPerPixelX());
}

TEST_F(PicturePane, ScrollingByTheBarsAndKeepingThePlaceOverAResize) {
    SwitchToNormal();
    Show("big.bmp", 900, 700);
    auto& pane = Pane();
    EXPECT_EQ(pane.GraphicHScroll.LargeChange, picture_browser::LargeScrollStep(platform::TwipsPerPixelX()));
    // A page to the right, as a click in the bar's track sends it.
    SendMessageA(pane.Pic.hWnd(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(pane.GraphicHScroll.hWnd()));
    SendMessageA(pane.Pic.hWnd(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(pane.GraphicVScroll.hWnd()));
    const int h = pane.GraphicHScroll.Value(), v = pane.GraphicVScroll.Value();
    EXPECT_EQ(h, pane.GraphicHScroll.LargeChange);
    EXPECT_EQ(v, pane.GraphicVScroll.SmallChange);
    EXPECT_NEAR(pane.Image1.Left(), -h, platform::TwipsPerPixelX());

    browser->Move(browser->Left(), browser->Top(), browser->Width() + platform::PixelsToTwipsX(60),
                  browser->Height() + platform::PixelsToTwipsY(30));
    EXPECT_EQ(pane.GraphicHScroll.Value(), h);
    EXPECT_EQ(pane.GraphicVScroll.Value(), v);
    EXPECT_NEAR(pane.Image1.Left(), -h, platform::TwipsPerPixelX());
    EXPECT_NEAR(pane.Image1.Top(), -v, platform::TwipsPerPixelY());
    EXPECT_TRUE(pane.Image1.Visible());
}

TEST_F(PicturePane, MaximumBeyondSixteenBitsKeepsThePreviousOne) {
    SwitchToNormal();
    auto& pane = Pane();
    // 2,600 pixels are 39,000 twips at 15 twips per pixel: far beyond 32,767. Shown
    // first, it scrolls as far as the bar's own maximum reaches.
    Show("huge.bmp", 2600, 50);
    ASSERT_TRUE(pane.GraphicHScroll.Visible());
    EXPECT_EQ(pane.GraphicHScroll.Max(), 32767);
    SendMessageA(pane.Pic.hWnd(), WM_HSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(pane.GraphicHScroll.hWnd()));
    EXPECT_EQ(pane.GraphicHScroll.Value(), 32767);
    EXPECT_NEAR(pane.Image1.Left(), -32767, platform::TwipsPerPixelX());

    Show("big.bmp", 900, 100);
    const int previous = pane.GraphicHScroll.Max();
    ASSERT_GT(previous, 0);
    ASSERT_LT(previous, 32767);
    EXPECT_EQ(pane.GraphicHScroll.Value(), 0);  // a new picture starts at its left edge
    Show("huge.bmp", 2600, 50);
    ASSERT_TRUE(pane.GraphicHScroll.Visible());
    EXPECT_EQ(pane.GraphicHScroll.Max(), previous);
}

TEST_F(PicturePane, InfoLineWithSizesInKilobytes) {
    Show("ten.bmp", 64, 48, 10240);
    EXPECT_EQ(browser->labPicInfo.Text(), "64 x 48 - Fits on desktop - 10K");
    Show("small.bmp", 16, 16, 1536);
    EXPECT_EQ(browser->labPicInfo.Text(), "16 x 16 - Fits on desktop - 1.5K");
    EXPECT_EQ(browser->labPicNumber.Text(), "Pic " + std::to_string(FileIndex("small.bmp") + 1));
    // On a monitor of another scale than the system's, a picture still has its own pixels.
    const int dpi = browser->Dpi() * 5 / 4;
    SendMessageA(browser->hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
    ChooseFile("ten.bmp");
    EXPECT_EQ(browser->labPicInfo.Text(), "64 x 48 - Fits on desktop - 10K");
}

TEST_F(PicturePane, ExactlyTheScreenFitsOnePixelMoreIsBigger) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    Show("screen.bmp", sw, sh);
    std::string text = browser->labPicInfo.Text();
    EXPECT_NE(text.find(" - Fits on desktop - "), std::string::npos) << text;
    Show("wider.bmp", sw + 1, sh);
    text = browser->labPicInfo.Text();
    EXPECT_NE(text.find(" - Bigger than desktop - "), std::string::npos) << text;
    EXPECT_EQ(text.substr(0, text.find(" - ")), platform::FormatNumber(sw + 1, "#,0") + " x " +
                                                     platform::FormatNumber(sh, "#,0"));
}

TEST_F(PicturePane, ModeButtonAndMenuItemsToggleEvenWhenChosenChecked) {
    Show("a-wide.bmp", 2 * PanePixelsX(), 20);
    ASSERT_TRUE(browser->Graphic_Popup_BestFit.Checked());
    Menu(browser->Graphic_Popup_BestFit);  // already checked: switches to Normal
    EXPECT_TRUE(browser->Graphic_Popup_Normal.Checked());
    EXPECT_FALSE(browser->Graphic_Popup_BestFit.Checked());
    EXPECT_EQ(browser->cmdGraphicDisplay.Text(), "&Normal");
    EXPECT_FALSE(Pane().Stretch());
    EXPECT_TRUE(Pane().GraphicHScroll.Visible());
    Menu(browser->Graphic_Popup_Normal);
    EXPECT_TRUE(browser->Graphic_Popup_BestFit.Checked());
    EXPECT_EQ(browser->cmdGraphicDisplay.Text(), "&Best Fit");
    EXPECT_TRUE(Pane().Stretch());
    EXPECT_FALSE(Pane().GraphicHScroll.Visible());
}

TEST_F(PicturePane, PictureThatCannotBeLoadedWarnsAndLeavesThePaneEmpty) {
    Show("good.bmp", 20, 20);
    ASSERT_TRUE(browser->cmdOpenPic.Enabled());
    testing_support::WriteFile(pics + "\\broken.jpg", "this is no JPEG");
    browser->PicsFileList.Refresh();
    testing_support::MsgBoxRecorder boxes;
    ChooseFile("broken.jpg");
    ASSERT_EQ(boxes.Count(), 1u);
    const std::string path = pics + "\\broken.jpg";
    EXPECT_EQ(boxes.Last().text.rfind("An error occurred attempting to load or display the '" + path + "' file:\r\n\r\n", 0),
              0u)
        << boxes.Last().text;
    EXPECT_GT(boxes.Last().text.size(), path.size() + 70);  // the system's description follows
    EXPECT_EQ(boxes.Last().flags & (MB_ICONMASK | MB_TYPEMASK), static_cast<unsigned>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_FALSE(boxes.Last().flags & MB_SYSTEMMODAL);
    EXPECT_EQ(boxes.Last().title, kGalleryTitle);
    EXPECT_FALSE(browser->cmdOpenPic.Enabled());
    EXPECT_FALSE(browser->cmdSetWallpaper.Enabled());
    EXPECT_EQ(browser->labPicInfo.Text(), "");
    EXPECT_EQ(browser->labPicNumber.Text(), "Pic " + std::to_string(FileIndex("broken.jpg") + 1));
    EXPECT_EQ(Pane().Pic.Tag, "");
    EXPECT_FALSE(Pane().Image1.Visible());
    EXPECT_FALSE(Pane().PictureLoaded());
}

TEST_F(PicturePane, DoubleClickOpensTheShownPictureAndDoesNothingOnAnEmptyPane) {
    SendMessageA(Pane().Pic.hWnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(beeps, 0);
    ChooseFile("b.bmp");
    SendMessageA(Pane().Image1.hWnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(2, 2));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], pics + "\\b.bmp");
    EXPECT_EQ(Pane().Pic.Tag, pics + "\\b.bmp");
}

TEST_F(PicturePane, RightClickPopsUpTheDisplayMenuWithItsItemsEnabledByState) {
    SendMessageA(Pane().Pic.hWnd(), WM_RBUTTONUP, 0, MAKELPARAM(10, 12));
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].menu, &browser->Graphic_Popup);
    POINT expected{10, 12};
    ClientToScreen(Pane().Pic.hWnd(), &expected);
    EXPECT_EQ(popups[0].at.x, expected.x);
    EXPECT_EQ(popups[0].at.y, expected.y);
    EXPECT_TRUE(popups[0].flags & TPM_RIGHTBUTTON);
    EXPECT_FALSE(browser->Graphic_Popup_OpenPic.Enabled());  // nothing shown
    EXPECT_TRUE(browser->Graphic_Popup_CenterWin.Enabled());

    ChooseFile("a.bmp");
    SendMessageA(Pane().Image1.hWnd(), WM_RBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_TRUE(browser->Graphic_Popup_OpenPic.Enabled());
    DeleteFileA((pics + "\\a.bmp").c_str());
    ShowWindow(browser->hWnd(), SW_MAXIMIZE);
    SendMessageA(Pane().Image1.hWnd(), WM_RBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(popups.size(), 3u);
    EXPECT_FALSE(browser->Graphic_Popup_OpenPic.Enabled());
    EXPECT_FALSE(browser->Graphic_Popup_CenterWin.Enabled());
    // Open Pic on a file that has gone only beeps.
    Click(browser->cmdOpenPic);
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(opened.empty());
}
