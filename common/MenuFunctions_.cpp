#include "common/MenuFunctions_.h"

#include <cstddef>
#include <cstring>

#include "platform/Form.h"

namespace common {

namespace {
// The record's first layout, without the item bitmap: 44 bytes in a 32-bit program.
constexpr UINT kMenuItemRecordSize = offsetof(MENUITEMINFOA, hbmpItem);
static_assert(sizeof(void*) != 4 || kMenuItemRecordSize == 44);
constexpr UINT kTextBufferLength = 256;
}  // namespace

void SetMenuColumnBreak(platform::MenuItem& menu, int menuPosition, int itemPosition) {
    platform::Form* form = menu.Owner();
    if (!form || !form->hWnd()) return;
    HMENU subMenu = GetSubMenu(GetMenu(form->hWnd()), menuPosition);
    if (!subMenu) return;

    char text[kTextBufferLength + 1];
    std::memset(text, ' ', kTextBufferLength);
    text[kTextBufferLength] = '\0';
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemRecordSize;
    info.fMask = MIIM_TYPE;
    info.fType = 0;
    info.dwTypeData = text;
    info.cch = kTextBufferLength;
    if (!GetMenuItemInfoA(subMenu, static_cast<UINT>(itemPosition), TRUE, &info)) return;

    info.fMask = MIIM_TYPE;
    info.fType = MFT_MENUBARBREAK;
    info.dwTypeData = text;
    SetMenuItemInfoA(subMenu, static_cast<UINT>(itemPosition), TRUE, &info);
}

void LayoutTrayMenu(platform::MenuItem& trayPopup, platform::MenuItem& separator, bool twoColumns) {
    if (!twoColumns) {
        separator.SetVisible(true);
        return;
    }
    separator.SetVisible(false);
    trayPopup.SetVisible(true);
    SetMenuColumnBreak(trayPopup, 0, kTrayMenuBreakPosition);
}

}  // namespace common
