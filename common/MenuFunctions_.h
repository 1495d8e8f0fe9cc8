// Column layout of the tray pop-up menus.
#pragma once
#include "platform/Menu.h"

namespace common {

// The item of the tray menu that starts the second column, counted among the items
// shown while the separator before it is hidden.
inline constexpr int kTrayMenuBreakPosition = 11;

// Makes the item at `itemPosition` of the submenu at `menuPosition` on the menu bar of
// `menu`'s window start a new column. Nothing changes when either does not exist.
void SetMenuColumnBreak(platform::MenuItem& menu, int menuPosition, int itemPosition);

// The tray menu in two columns (the separator hidden, the menu on the hidden window's
// menu bar so that its window can find it, the break set) or in one.
void LayoutTrayMenu(platform::MenuItem& trayPopup, platform::MenuItem& separator, bool twoColumns);

}  // namespace common
