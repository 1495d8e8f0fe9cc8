// What the browser's tests replace: the beep and the modal pop-up menu.
#pragma once
#include <windows.h>

#include <functional>

namespace platform {
class MenuItem;
}

namespace picture_browser::seams {

extern std::function<void()> Beep;
// Shows `menu`'s items at a screen point (pixels) with TPM_ `flags`, and runs the Click
// of the item chosen, if any.
extern std::function<void(platform::MenuItem& menu, POINT at, unsigned flags)> ShowPopupMenu;

}  // namespace picture_browser::seams
