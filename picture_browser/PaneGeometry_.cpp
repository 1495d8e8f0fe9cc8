#include "picture_browser/PaneGeometry_.h"

#include "platform/Format.h"

namespace picture_browser {

BestFitPlacement BestFit(long scaleWidth, long scaleHeight, long picWidth, long picHeight) {
    BestFitPlacement placement;
    if ((scaleWidth >= picWidth && scaleHeight >= picHeight) || picWidth <= 0 || picHeight <= 0) {
        placement.Image = {(scaleWidth - picWidth) / 2, (scaleHeight - picHeight) / 2, picWidth, picHeight};
        return placement;
    }
    // Full height first; the full width when that makes it too wide. 64-bit products:
    // a big picture times a big pane overflows 32 bits.
    long long h = scaleHeight;
    long long w = h * picWidth / picHeight;
    if (scaleWidth < w) {
        w = scaleWidth;
        h = w * picHeight / picWidth;
    }
    placement.Image = {static_cast<long>((scaleWidth - w) / 2), static_cast<long>((scaleHeight - h) / 2),
                       static_cast<long>(w), static_cast<long>(h)};
    placement.Stretch = true;
    return placement;
}

NormalPlacement NormalSize(long scaleWidth, long scaleHeight, long picWidth, long picHeight, long vBarWidth,
                           long hBarHeight) {
    NormalPlacement p;
    if (scaleWidth >= picWidth && scaleHeight >= picHeight) {
        p.Fits = true;
        p.Image = {(scaleWidth - picWidth) / 2, (scaleHeight - picHeight) / 2, picWidth, picHeight};
        return p;
    }
    p.NeedV = scaleHeight < picHeight;
    p.NeedH = scaleWidth < picWidth;
    // Each bar takes room from the other direction.
    if (p.NeedV && !p.NeedH) p.NeedH = scaleWidth - vBarWidth < picWidth;
    if (p.NeedH && !p.NeedV) p.NeedV = scaleHeight - hBarHeight < picHeight;
    long hBarRoom = p.NeedH ? hBarHeight : 0;
    long vBarRoom = p.NeedV ? vBarWidth : 0;
    if (p.NeedV) {
        p.VMax = picHeight - scaleHeight + hBarRoom;
        p.VBar = {scaleWidth - vBarWidth, 0, vBarWidth, scaleHeight - hBarRoom};
    }
    if (p.NeedH) {
        p.HMax = picWidth - scaleWidth + vBarRoom;
        p.HBar = {0, scaleHeight - hBarHeight, scaleWidth - vBarRoom, hBarHeight};
    }
    if (p.NeedV && p.NeedH)
        p.Corner = {p.HBar.Width, p.VBar.Height, scaleWidth - p.HBar.Width, scaleHeight - p.VBar.Height};
    if (!p.NeedV) p.CenteredTop = (scaleHeight - hBarHeight - picHeight) / 2;
    if (!p.NeedH) p.CenteredLeft = (scaleWidth - vBarWidth - picWidth) / 2;
    return p;
}

bool ScrollMaxSettable(long maximum) { return maximum >= 0 && maximum <= kScrollLimit; }

long CornerValue(long maximum) { return static_cast<long>(platform::RoundHalfEven(maximum / 2.0)); }

long SmallScrollStep(double twipsPerPixel) { return static_cast<long>(platform::RoundHalfEven(10 * twipsPerPixel)); }
long LargeScrollStep(double twipsPerPixel) { return static_cast<long>(platform::RoundHalfEven(100 * twipsPerPixel)); }

std::string PicInfoText(long pixelWidth, long pixelHeight, long screenWidth, long screenHeight, double fileBytes) {
    double kb = fileBytes / 1024;
    const char* fit = (pixelWidth > screenWidth || pixelHeight > screenHeight) ? "Bigger than desktop" : "Fits on desktop";
    return platform::FormatNumber(pixelWidth, "#,0") + " x " + platform::FormatNumber(pixelHeight, "#,0") + " - " +
           fit + " - " + platform::FormatNumber(kb, kb < 10 ? "0.0" : "#,0") + "K";
}

std::string PicNumberText(long index) { return "Pic " + platform::FormatNumber(index + 1.0, "#,0"); }

}  // namespace picture_browser
