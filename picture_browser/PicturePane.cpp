#include "picture_browser/PicturePane.h"

#include "picture_browser/PaneGeometry_.h"
#include "platform/App.h"

namespace picture_browser {

namespace {

// Failures while placing are ignored: a size below zero is simply not applied.
void Place(platform::Control& control, const PaneBox& box) {
    if (box.Width < 0 || box.Height < 0) return;
    control.Move(box.Left, box.Top, box.Width, box.Height);
}

}  // namespace

void PicturePane::Create(platform::Form& form, int left, int top, int width, int height) {
    Pic.Create(form, left, top, width, height);
    int barWidth = platform::PixelsToTwipsX(GetSystemMetrics(SM_CXVSCROLL));
    int barHeight = platform::PixelsToTwipsY(GetSystemMetrics(SM_CYHSCROLL));
    GraphicHScroll.Create(form, true, 0, 0, barHeight * 4, barHeight);
    GraphicHScroll.SetContainer(Pic);
    GraphicVScroll.Create(form, false, 0, 0, barWidth, barWidth * 4);
    GraphicVScroll.SetContainer(Pic);
    GraphicCorner.Create(form, "", 0, 0, barWidth, barHeight);
    GraphicCorner.SetContainer(Pic);
    Image1.Create(form, 0, 0, 0, 0, 0);
    Image1.SetContainer(Pic);
    // Beneath the bars and the corner button.
    SetWindowPos(Image1.hWnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The bars keep the runtime's own maximum (32767) until a picture sets one, so that a
    // first picture too large for a 16-bit maximum still scrolls as far as one reaches.
    GraphicCorner.SetToolTipText(kGraphicCornerTip);

    Image1.Paint = [this](HDC dc) {
        RECT r{};
        GetClientRect(Image1.hWnd(), &r);
        if (!picture_.Empty()) picture_.Draw(dc, 0, 0, r.right, r.bottom);
    };
    GraphicHScroll.Change = [this] { GraphicHScroll_Change(); };
    GraphicHScroll.Scroll = [this] { GraphicHScroll_Change(); };
    GraphicVScroll.Change = [this] { GraphicVScroll_Change(); };
    GraphicVScroll.Scroll = [this] { GraphicVScroll_Change(); };
    GraphicCorner.Click = [this] { GraphicCorner_Click(); };
    Pic.Resize = [this] { Pic_Resize(); };
    Pic.MouseUp = [this](int button, int x, int y) { Pic_MouseUp(Pic, button, x, y); };
    Image1.MouseUp = [this](int button, int x, int y) { Pic_MouseUp(Image1, button, x, y); };
    Pic.DblClick = [this] { Pic_DblClick(); };
    Image1.DblClick = [this] { Pic_DblClick(); };
    ResetPicDisplay(true);
}

void PicturePane::SetPicture(platform::Picture picture) {
    picture_ = std::move(picture);
    if (!stretch_) SetStretch(false);
    Image1.Refresh();
}

void PicturePane::SetStretch(bool stretch) {
    stretch_ = stretch;
    if (!stretch && !picture_.Empty())
        // Pixel for pixel, whatever the window's DPI.
        Image1.Move(Image1.Left(), Image1.Top(), Image1.Parent()->PixelsToTwips(picture_.Width()),
                    Image1.Parent()->PixelsToTwips(picture_.Height()));
}

void PicturePane::ResetPicDisplay(bool resetPosition) {
    GraphicVScroll.SetVisible(false);
    GraphicHScroll.SetVisible(false);
    GraphicCorner.SetVisible(false);
    Image1.SetVisible(false);
    SetStretch(false);
    if (resetPosition) {
        Image1.Move(0, 0);
        GraphicHScroll.SetValue(0);
        GraphicVScroll.SetValue(0);
    }
}

void PicturePane::ShowBestFit() {
    BestFitPlacement placement = BestFit(Pic.ScaleWidth(), Pic.ScaleHeight(), PicWidth, PicHeight);
    if (placement.Stretch) {
        Place(Image1, placement.Image);
        SetStretch(true);
    } else {
        Image1.Move(placement.Image.Left, placement.Image.Top);
    }
}

void PicturePane::ShowNormalSize() {
    const long scaleWidth = Pic.ScaleWidth(), scaleHeight = Pic.ScaleHeight();
    NormalPlacement p = NormalSize(scaleWidth, scaleHeight, PicWidth, PicHeight, GraphicVScroll.Width(),
                                   GraphicHScroll.Height());
    if (p.Fits) {
        Image1.Move(p.Image.Left, p.Image.Top);
        return;
    }
    if (p.NeedV) {
        if (ScrollMaxSettable(p.VMax)) GraphicVScroll.SetRange(0, p.VMax);
        Place(GraphicVScroll, p.VBar);
    } else {
        GraphicVScroll.SetValue(0);
    }
    if (p.NeedH) {
        if (ScrollMaxSettable(p.HMax)) GraphicHScroll.SetRange(0, p.HMax);
        Place(GraphicHScroll, p.HBar);
    } else {
        GraphicHScroll.SetValue(0);
    }
    if (p.NeedV && p.NeedH) Place(GraphicCorner, p.Corner);
    if (p.NeedV)
        GraphicVScroll_Change();
    else
        Image1.Move(Image1.Left(), p.CenteredTop);
    if (p.NeedH)
        GraphicHScroll_Change();
    else
        Image1.Move(p.CenteredLeft, Image1.Top());
    GraphicCorner.SetVisible(p.NeedV && p.NeedH);
    GraphicVScroll.SetVisible(p.NeedV);
    GraphicHScroll.SetVisible(p.NeedH);
}

void PicturePane::ShowByMode() {
    if (NormalMode)
        ShowNormalSize();
    else
        ShowBestFit();
    Image1.SetVisible(true);
}

void PicturePane::GraphicHScroll_Change() {
    Image1.Move(-GraphicHScroll.Value(), Image1.Top());
    Image1.Refresh();
}

void PicturePane::GraphicVScroll_Change() {
    Image1.Move(Image1.Left(), -GraphicVScroll.Value());
    Image1.Refresh();
}

void PicturePane::GraphicCorner_Click() {
    GraphicHScroll.SetValue(CornerValue(GraphicHScroll.Max()));
    GraphicVScroll.SetValue(CornerValue(GraphicVScroll.Max()));
}

void PicturePane::Pic_Resize() {
    if (!PictureLoaded()) return;
    ResetPicDisplay(false);
    ShowByMode();
}

void PicturePane::DpiChanged() {
    if (!PictureLoaded()) return;
    PicWidth = Image1.Parent()->PixelsToTwips(picture_.Width());
    PicHeight = Image1.Parent()->PixelsToTwips(picture_.Height());
    Pic_Resize();
}

void PicturePane::Pic_MouseUp(platform::PictureBox& box, int button, int x, int y) {
    if (button != 2 || !RightClick) return;
    POINT at{box.Parent()->TwipsToPixels(x), box.Parent()->TwipsToPixels(y)};
    ClientToScreen(box.hWnd(), &at);
    RightClick(at);
}

void PicturePane::Pic_DblClick() {
    if (PictureLoaded() && DblClick) DblClick();
}

}  // namespace picture_browser
