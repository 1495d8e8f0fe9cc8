// Paste Inspector's window against the real clipboard: what it shows, when its commands
// are offered, saving, clearing, the layouts and the keys.
#include <cmath>

#include "InspectorHarness.h"
#include "paste_inspector/InspectorRules_.h"
#include "platform/App.h"
#include "platform/Picture.h"
#include "support/GuiObjects.h"

using namespace inspector_test;
using namespace paste_inspector;

namespace {

bool Greyed(platform::MenuItem& item) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    GetMenuItemInfoA(item.ContainingMenu(), item.Id(), FALSE, &info);
    return (info.fState & MFS_GRAYED) != 0 && !item.Enabled();
}

}  // namespace

TEST_F(Inspector, WindowCarriesItsTitleMenusAndPane) {
    Open();
    EXPECT_EQ(form->Caption(), platform::App().Title);
    EXPECT_EQ(form->mnuFile.Caption(), "&File");
    EXPECT_EQ(form->mnuFileExit.Caption(), "E&xit\tEsc");
    EXPECT_EQ(form->mnuPicDisplay.Caption(), "Best Fit &Display");
    EXPECT_EQ(form->mnuClearClipboard.Caption(), "&Clear Clipboard");
    EXPECT_EQ(form->mnuAbout.Caption(), "About");
    EXPECT_EQ(form->mnuExit.Caption(), "x");
    EXPECT_TRUE(form->zsep0.IsSeparator());
    // The menu bar in its order.
    HMENU bar = GetMenu(form->hWnd());
    ASSERT_EQ(GetMenuItemCount(bar), 5);
    EXPECT_EQ(GetMenuItemID(bar, 1), static_cast<UINT>(form->mnuPicDisplay.Id()));
    EXPECT_EQ(GetMenuItemID(bar, 4), static_cast<UINT>(form->mnuExit.Id()));
    EXPECT_EQ(form->Pane.GraphicCorner.ToolTipText(), "Go to center of pic.");
    EXPECT_TRUE(form->tmrClipboard.Enabled());
    EXPECT_EQ(form->tmrClipboard.Interval(), 3000);
    EXPECT_FALSE(form->BestFitDisplay);
    LONG style = GetWindowLongA(form->txtClipboard.hWnd(), GWL_STYLE);
    EXPECT_TRUE((style & ES_MULTILINE) && (style & ES_READONLY) && (style & WS_VSCROLL));
}

TEST_F(Inspector, EmptyClipboardGreysEveryCommandThatNeedsContents) {
    clipboard.PutText("something");
    Open();
    EXPECT_FALSE(Greyed(form->mnuTextSave));
    EXPECT_FALSE(Greyed(form->mnuClearClipboard));
    clipboard.Empty();
    form->RefreshFromClipboard();
    EXPECT_EQ(form->txtClipboard.Text(), "");
    EXPECT_TRUE(Greyed(form->mnuTextSave));
    EXPECT_TRUE(Greyed(form->mnuPicSave));
    EXPECT_TRUE(Greyed(form->mnuClearClipboard));
}

TEST_F(Inspector, TextFormatsInTheirOrder) {
    Open();
    clipboard.PutText("Hello\r\nclipboard");
    form->RefreshFromClipboard();
    EXPECT_EQ(form->txtClipboard.Text(), "Hello\r\nclipboard");
    EXPECT_FALSE(form->Pane.PictureLoaded());
    EXPECT_TRUE(Greyed(form->mnuPicSave));
    // Rich text arrives as its markup.
    clipboard.PutRegistered("Rich Text Format", std::string("{\\rtf1 bold \\b x}") + '\0');
    form->RefreshFromClipboard();
    EXPECT_EQ(form->txtClipboard.Text(), "{\\rtf1 bold \\b x}");
    EXPECT_FALSE(Greyed(form->mnuClearClipboard));
    // A DDE link.
    clipboard.PutRegistered("Link", std::string("Excel\0Sheet1\0R1C1\0\0", 20));
    form->RefreshFromClipboard();
    EXPECT_EQ(form->txtClipboard.Text(), "Excel|Sheet1!R1C1");
    // Files copied in the shell.
    clipboard.PutFiles({"C:\\windows\\win.ini"});
    form->RefreshFromClipboard();
    EXPECT_EQ(form->txtClipboard.Text(), "<Shell file object>");
    EXPECT_FALSE(Greyed(form->mnuTextSave));
    EXPECT_FALSE(Greyed(form->mnuClearClipboard));
}

TEST_F(Inspector, OfTwoFormatsAtOnceTheEarlierInTheOrderIsShown) {
    Open();
    const std::string rtf = std::string("{\\rtf1 bold \\b x}") + '\0';
    const std::string link("Excel\0Sheet1\0R1C1\0\0", 20);
    // A word processor's copy: plain text and rich text.
    clipboard.PutRegistered("Rich Text Format", rtf);
    clipboard.AddNext();
    clipboard.PutText("bold x");
    form->RefreshFromClipboard();
    EXPECT_EQ(form->txtClipboard.Text(), "bold x");
    // Each neighbouring pair of the order: text, rich text, link, files.
    clipboard.PutRegistered("Link", link);
    clipboard.AddNext();
    clipboard.PutRegistered("Rich Text Format", rtf);
    form->RefreshFromClipboard();
    EXPECT_EQ(form->txtClipboard.Text(), "{\\rtf1 bold \\b x}");
    clipboard.PutFiles({"C:\\windows\\win.ini"});
    clipboard.AddNext();
    clipboard.PutRegistered("Link", link);
    form->RefreshFromClipboard();
    EXPECT_EQ(form->txtClipboard.Text(), "Excel|Sheet1!R1C1");

    // Pictures: a bitmap before a metafile (the system offers each family in both its forms),
    // and a metafile before a palette.
    clipboard.PutEnhMetafile(30, 20);
    clipboard.AddNext();
    clipboard.PutBitmap(60, 40, RGB(0, 128, 0));
    form->RefreshFromClipboard();
    ASSERT_TRUE(form->Pane.PictureLoaded());
    EXPECT_EQ(form->ShownMetafile(), nullptr);
    EXPECT_EQ(form->Pane.Picture().Width(), 60);
    clipboard.PutPalette();
    clipboard.AddNext();
    clipboard.PutEnhMetafile(30, 20);
    form->RefreshFromClipboard();
    EXPECT_TRUE(form->Pane.PictureLoaded());
    EXPECT_NE(form->ShownMetafile(), nullptr);
}

TEST_F(Inspector, TimerShowsNewTextWithinThreeSeconds) {
    Open();
    clipboard.PutText("copied elsewhere");
    DWORD start = GetTickCount();
    while (form->txtClipboard.Text() != "copied elsewhere" && GetTickCount() - start < 4000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        testing_support::PumpMessages();
    }
    EXPECT_EQ(form->txtClipboard.Text(), "copied elsewhere");
    EXPECT_LE(GetTickCount() - start, 3500u);
}

TEST_F(Inspector, BitmapIsShownAtItsOwnSizeWithBarsWhenLarger) {
    Open();
    auto& pane = form->Pane;
    clipboard.PutBitmap(60, 40, RGB(0, 128, 0));
    form->RefreshFromClipboard();
    ASSERT_TRUE(pane.PictureLoaded());
    EXPECT_EQ(pane.Picture().Width(), 60);
    EXPECT_EQ(pane.PicWidth, platform::PixelsToTwipsX(60));
    EXPECT_EQ(pane.PicHeight, platform::PixelsToTwipsY(40));
    EXPECT_TRUE(pane.Image1.Visible());
    EXPECT_FALSE(pane.Stretch());
    EXPECT_NEAR(pane.Image1.Left(), (pane.Pic.ScaleWidth() - pane.PicWidth) / 2, platform::TwipsPerPixelX());
    EXPECT_FALSE(Greyed(form->mnuPicSave));
    EXPECT_TRUE(Greyed(form->mnuTextSave));
    // Larger than the pane: both bars and the corner button.
    const int paneX = platform::TwipsToPixelsX(pane.Pic.ScaleWidth()),
              paneY = platform::TwipsToPixelsY(pane.Pic.ScaleHeight());
    clipboard.PutBitmap(paneX * 2, paneY * 2, RGB(0, 0, 128));
    form->RefreshFromClipboard();
    EXPECT_EQ(pane.Picture().Width(), paneX * 2);
    EXPECT_TRUE(pane.GraphicHScroll.Visible() && pane.GraphicVScroll.Visible() && pane.GraphicCorner.Visible());
    // Text only now: the pane is empty, without bars.
    clipboard.PutText("words");
    form->RefreshFromClipboard();
    EXPECT_FALSE(pane.PictureLoaded());
    EXPECT_FALSE(pane.GraphicHScroll.Visible() || pane.GraphicVScroll.Visible() || pane.GraphicCorner.Visible());
    EXPECT_EQ(pane.PicWidth, 0);
    // A device-independent bitmap alone.
    clipboard.PutDib(33, 21);
    form->RefreshFromClipboard();
    ASSERT_TRUE(pane.PictureLoaded());
    EXPECT_EQ(pane.Picture().Width(), 33);
    EXPECT_EQ(pane.Picture().Height(), 21);
}

TEST_F(Inspector, LayoutSwitchOffersTheOtherModeAndRelaysTheShownPicture) {
    Open();
    auto& pane = form->Pane;
    // No picture: only the caption and the mode change.
    Click(form->mnuPicDisplay);
    EXPECT_TRUE(form->BestFitDisplay);
    EXPECT_EQ(form->mnuPicDisplay.Caption(), "Normal &Display");
    EXPECT_FALSE(pane.PictureLoaded());
    EXPECT_FALSE(pane.Stretch());
    // The next picture is fitted.
    const int paneX = platform::TwipsToPixelsX(pane.Pic.ScaleWidth()),
              paneY = platform::TwipsToPixelsY(pane.Pic.ScaleHeight());
    clipboard.PutBitmap(paneX * 2, paneY, RGB(200, 0, 0));
    form->RefreshFromClipboard();
    EXPECT_TRUE(pane.Stretch());
    EXPECT_EQ(pane.Image1.Width(), pane.Pic.ScaleWidth());
    EXPECT_NEAR(pane.Image1.Height(), pane.Pic.ScaleHeight() / 2, platform::TwipsPerPixelY());
    EXPECT_FALSE(pane.GraphicHScroll.Visible());
    // Its own size is still known after a fitted layout.
    form->RefreshFromClipboard();
    EXPECT_EQ(pane.PicWidth, platform::PixelsToTwipsX(paneX * 2));
    // Double-click on the picture: back to its own size, with a bar.
    SendMessageA(pane.Image1.hWnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    testing_support::PumpMessages();
    EXPECT_FALSE(form->BestFitDisplay);
    EXPECT_EQ(form->mnuPicDisplay.Caption(), "Best Fit &Display");
    EXPECT_FALSE(pane.Stretch());
    EXPECT_TRUE(pane.GraphicHScroll.Visible());
    EXPECT_TRUE(pane.Image1.Visible());
    // Picture gone while fitted: the pane is emptied.
    Click(form->mnuPicDisplay);
    clipboard.PutText("no picture now");
    form->RefreshFromClipboard();
    EXPECT_FALSE(pane.PictureLoaded());
    EXPECT_FALSE(pane.Image1.Visible());
    EXPECT_FALSE(pane.GraphicHScroll.Visible());
}

TEST_F(Inspector, ClearClipboardEmptiesBothPartsAtOnce) {
    clipboard.PutTextAndBitmap("both", 30, 30);
    Open();
    EXPECT_EQ(form->txtClipboard.Text(), "both");
    EXPECT_TRUE(form->Pane.PictureLoaded());
    Click(form->mnuClearClipboard);
    EXPECT_EQ(form->txtClipboard.Text(), "");
    EXPECT_FALSE(form->Pane.PictureLoaded());
    EXPECT_EQ(CountClipboardFormats(), 0);
    EXPECT_TRUE(Greyed(form->mnuClearClipboard));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Inspector, SaveTextAppendsTheExtensionAndEndsTheText) {
    testing_support::TempFolder folder("inspector-text");
    clipboard.PutText("line one\r\nline two");
    Open();
    Answer(folder.File("notes"));
    Click(form->mnuTextSave);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Save Text");
    EXPECT_EQ(dialogs[0].filter, std::string("Text Files (*.txt)\0*.txt\0", 25));
    EXPECT_EQ(dialogs[0].filterIndex, 1u);
    EXPECT_EQ(ReadFile(folder.File("notes.txt")), "line one\r\nline two\r\n");
    // Already ending in ".txt", in capitals: used as typed. The second dialog opens in
    // the folder the first one chose.
    Answer(folder.File("LOUD.TXT"));
    Click(form->mnuTextSave);
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].initialDir, folder.Path());
    EXPECT_EQ(ReadFile(folder.File("LOUD.TXT")), "line one\r\nline two\r\n");
    EXPECT_EQ(GetFileAttributesA(folder.File("LOUD.TXT.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    // Cancel writes nothing and says nothing.
    Answer("");
    Click(form->mnuTextSave);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Inspector, SaveFailureNamesTheFile) {
    testing_support::TempFolder folder("inspector-fail");
    clipboard.PutText("text");
    Open();
    const std::string path = folder.File("missing\\sub\\x.txt");
    Answer(path);
    Click(form->mnuTextSave);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text.rfind("An error occurred attempting to save the '" + path + "' file:\r\n\r\n", 0), 0u)
        << boxes.Last().text;
    EXPECT_GT(boxes.Last().text.size(), path.size() + 50);
    EXPECT_EQ(boxes.Last().flags & MB_ICONEXCLAMATION, static_cast<unsigned>(MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes.Last().flags & MB_SYSTEMMODAL, 0u);
}

TEST_F(Inspector, SaveGraphicWritesTheBitmapOrTheMetafile) {
    testing_support::TempFolder folder("inspector-graphic");
    clipboard.PutBitmap(24, 16, RGB(10, 200, 30));
    Open();
    Answer(folder.File("shot"));
    Click(form->mnuPicSave);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Save Graphic");
    EXPECT_EQ(dialogs[0].filter, std::string("Bitmap Files (*.bmp)\0*.bmp\0", 27));
    platform::Picture saved = platform::Picture::Load(folder.File("shot.bmp"));
    ASSERT_FALSE(saved.Empty());
    EXPECT_EQ(saved.Width(), 24);
    EXPECT_EQ(saved.Height(), 16);
    // An enhanced metafile is shown drawn and saved as itself.
    clipboard.PutEnhMetafile(50, 30);
    form->RefreshFromClipboard();
    ASSERT_TRUE(form->Pane.PictureLoaded());
    EXPECT_NEAR(form->Pane.Picture().Width(), 50, 2);
    EXPECT_NEAR(form->Pane.Picture().Height(), 30, 2);
    Answer(folder.File("drawing.bmp"));
    Click(form->mnuPicSave);
    std::string bytes = ReadFile(folder.File("drawing.bmp"));
    ASSERT_GT(bytes.size(), 88u);
    EXPECT_EQ(bytes.substr(40, 4), " EMF");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Inspector, WindowSplitsIntoTextAboveAndPaneBelow) {
    Open();
    form->Move(form->Left(), form->Top(), 9000, 6600);
    testing_support::PumpMessages();
    const int onePixel = static_cast<int>(std::lround(platform::TwipsPerPixelY()));
    EXPECT_EQ(form->txtClipboard.Left(), 0);
    EXPECT_EQ(form->txtClipboard.Top(), 0);
    EXPECT_EQ(form->txtClipboard.Width(), form->ScaleWidth());
    EXPECT_NEAR(form->txtClipboard.Height(), form->ScaleHeight() / 3, onePixel);
    EXPECT_EQ(form->Pane.Pic.Top(), form->txtClipboard.Height() + onePixel);
    EXPECT_EQ(form->Pane.Pic.Width(), form->ScaleWidth());
    EXPECT_EQ(form->Pane.Pic.Top() + form->Pane.Pic.Height(), form->ScaleHeight());
    // Minimized: nothing moves.
    const int textHeight = form->txtClipboard.Height();
    ShowWindow(form->hWnd(), SW_MINIMIZE);
    testing_support::PumpMessages();
    EXPECT_EQ(form->txtClipboard.Height(), textHeight);
    ShowWindow(form->hWnd(), SW_RESTORE);
}

TEST_F(Inspector, KeysReachTheWindowBeforeItsControls) {
    clipboard.PutTextAndBitmap("keys", 20, 20);
    Open();
    testing_support::TempFolder folder("inspector-keys");
    // Ctrl+T and Ctrl+G from the text box open their save dialogs.
    Answer("");
    PressKey(form->txtClipboard.hWnd(), 'T', true);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Save Text");
    Answer("");
    PressKey(form->txtClipboard.hWnd(), 'G', true);
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].title, "Save Graphic");
    // Plain T is the text box's.
    PressKey(form->txtClipboard.hWnd(), 'T', false);
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_TRUE(form->IsLoaded());
    // Esc in the text box closes the window and lets the picture go.
    PressKey(form->txtClipboard.hWnd(), VK_ESCAPE, false);
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_FALSE(form->Pane.PictureLoaded());
    EXPECT_FALSE(form->tmrClipboard.Enabled());
}

TEST_F(Inspector, EscapeFromThePaneButtonAndExitItemsClose) {
    clipboard.PutBitmap(3000, 3000, RGB(1, 2, 3));
    Open();
    ASSERT_TRUE(form->Pane.GraphicCorner.Visible());
    PressKey(form->Pane.GraphicCorner.hWnd(), VK_ESCAPE, false);
    EXPECT_FALSE(form->IsLoaded());
    for (platform::MenuItem paste_inspector::MainForm::*item :
         {&paste_inspector::MainForm::mnuFileExit, &paste_inspector::MainForm::mnuExit}) {
        Open();
        Click((*form).*item);
        EXPECT_FALSE(form->IsLoaded());
    }
}

TEST_F(Inspector, AboutShowsTheProgramsAboutMessage) {
    Open();
    Click(form->mnuAbout);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().title, "About");
}

TEST_F(Inspector, OldMetafileIsDrawnAtItsSizeAndAPaletteAloneIsNoPicture) {
    testing_support::TempFolder folder("inspector-wmf");
    Open();
    // 2.54 cm by 1.27 cm: one inch by half an inch.
    clipboard.PutOldMetafile(2540, 1270);
    form->RefreshFromClipboard();
    ASSERT_TRUE(form->Pane.PictureLoaded());
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_NEAR(form->Pane.Picture().Width(), dpi, 3);
    EXPECT_NEAR(form->Pane.Picture().Height(), dpi / 2, 3);
    EXPECT_TRUE(form->ShownOldMetafile());
    Answer(folder.File("old"));
    Click(form->mnuPicSave);
    EXPECT_EQ(ReadFile(folder.File("old.bmp")).substr(40, 4), " EMF");
    // A palette is worth clearing but shows nothing.
    clipboard.PutPalette();
    form->RefreshFromClipboard();
    EXPECT_FALSE(form->Pane.PictureLoaded());
    EXPECT_FALSE(form->ShownMetafile());
    EXPECT_TRUE(Greyed(form->mnuPicSave));
    EXPECT_FALSE(Greyed(form->mnuClearClipboard));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Inspector, PollingHoldsNoMoreObjectsOverTime) {
    clipboard.PutTextAndBitmap("steady", 200, 150);
    Open();
    form->RefreshFromClipboard();
    const testing_support::GuiObjects before = testing_support::CountGuiObjects();
    for (int i = 0; i < 60; ++i) form->RefreshFromClipboard();
    EXPECT_EQ(testing_support::CountGuiObjects(), before);
    clipboard.PutEnhMetafile(120, 80);
    form->RefreshFromClipboard();
    const testing_support::GuiObjects withMetafile = testing_support::CountGuiObjects();
    for (int i = 0; i < 60; ++i) form->RefreshFromClipboard();
    EXPECT_EQ(testing_support::CountGuiObjects(), withMetafile);
}
