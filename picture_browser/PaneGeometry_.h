// The arithmetic of the picture pane: fitting, scrolling and the info line.
// All lengths in twips unless a name says pixels. Portable: no Windows headers.
#pragma once
#include <string>

namespace picture_browser {

// Scroll bar values and maxima are 16-bit.
inline constexpr long kScrollLimit = 32767;

struct PaneBox {
    long Left = 0;
    long Top = 0;
    long Width = 0;
    long Height = 0;
};

// Best Fit: shrinks a picture that does not fit, never enlarges; keeps the aspect ratio.
struct BestFitPlacement {
    PaneBox Image;         // where Image1 goes and how big it is
    bool Stretch = false;  // the picture is drawn scaled to Image's size
};
BestFitPlacement BestFit(long scaleWidth, long scaleHeight, long picWidth, long picHeight);

// Normal size: the picture at its own size, with the scroll bars it needs.
struct NormalPlacement {
    bool Fits = false;  // no bar needed: the picture is centred at Image
    PaneBox Image;      // only when Fits
    bool NeedV = false;
    bool NeedH = false;
    long VMax = 0;  // meaningful when NeedV
    long HMax = 0;  // meaningful when NeedH
    PaneBox VBar, HBar, Corner;
    // The centred coordinate across a dimension without a bar (the other keeps its place).
    long CenteredTop = 0;   // when NeedH and not NeedV
    long CenteredLeft = 0;  // when NeedV and not NeedH
};
NormalPlacement NormalSize(long scaleWidth, long scaleHeight, long picWidth, long picHeight, long vBarWidth,
                           long hBarHeight);

// A maximum beyond the 16-bit range cannot be set; the bar keeps its previous one.
bool ScrollMaxSettable(long maximum);

// The corner button's value for a bar: half its maximum, halves to even.
long CornerValue(long maximum);

// Small and large scroll steps: 10 and 100 pixels in twips, rounded.
long SmallScrollStep(double twipsPerPixel);
long LargeScrollStep(double twipsPerPixel);

// "1,024 x 768 - Fits on desktop - 87K".
std::string PicInfoText(long pixelWidth, long pixelHeight, long screenWidth, long screenHeight, double fileBytes);

// "Pic " and the one-based number with thousands separators.
std::string PicNumberText(long index);

}  // namespace picture_browser
