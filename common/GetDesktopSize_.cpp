#include "common/GetDesktopSize_.h"

#include <windows.h>

#include "platform/App.h"
#include "platform/Form.h"

namespace common {

DesktopAreaRecord DesktopArea;

long GetDesktopSize(bool useWorkArea, bool inPixels, const std::string& which) {
    RECT work{};
    bool haveWorkArea = useWorkArea && SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    double f = inPixels ? 1.0 : platform::TwipsPerPixelX();
    double g = inPixels ? 1.0 : platform::TwipsPerPixelY();
    if (haveWorkArea)
        DesktopArea = AreaFromWorkArea(work.left, work.top, work.right, work.bottom, f, g);
    else
        DesktopArea = AreaFromScreen(platform::ScreenWidthTwips(), platform::ScreenHeightTwips(),
                                     inPixels ? platform::TwipsPerPixelX() : 1.0,
                                     inPixels ? platform::TwipsPerPixelY() : 1.0);
    return PickDesktopValue(DesktopArea, which);
}

void PlaceFormOnDesktop(platform::Form& form, int& divisor) {
    divisor = ClampDivisor(divisor);
    GetDesktopSize(true, false, "w");
    long top = PlaceOffset(DesktopArea.Top, DesktopArea.Height, form.Height(), divisor);
    long left = PlaceOffset(DesktopArea.Left, DesktopArea.Width, form.Width(), 2);
    form.Move(left, top);
}

}  // namespace common
