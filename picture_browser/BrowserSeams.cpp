#include "picture_browser/BrowserSeams.h"

#include "platform/Form.h"
#include "platform/Menu.h"

namespace picture_browser::seams {

std::function<void()> Beep = [] { MessageBeep(MB_OK); };

std::function<void(platform::MenuItem&, POINT, unsigned)> ShowPopupMenu = [](platform::MenuItem& menu, POINT at,
                                                                            unsigned flags) {
    HMENU popup = menu.SubMenu();
    platform::Form* form = menu.Owner();
    if (!popup || !form || !form->hWnd()) return;
    HWND owner = form->hWnd();
    // A pop-up menu of a window in the background would not close on a click elsewhere.
    SetForegroundWindow(owner);
    int chosen = static_cast<int>(TrackPopupMenu(popup, flags | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    if (chosen) platform::MenuCommand(chosen);
};

}  // namespace picture_browser::seams
