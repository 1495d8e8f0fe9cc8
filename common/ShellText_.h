// Texts and small rules of the tray icon, the shell commands and the StartUp shortcut.
// Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <string>

namespace common {

// View codes of the desktop icon list (the list view's view-type style bits).
inline constexpr int kViewLargeIcons = 0;  // LVS_ICON
inline constexpr int kViewDetails = 1;     // LVS_REPORT
inline constexpr int kViewSmallIcons = 2;  // LVS_SMALLICON
inline constexpr int kViewList = 3;        // LVS_LIST
inline constexpr long kViewMask = 3;

// The menus list the views as "Large Icons", "Small Icons", "List", "Details".
int ViewCodeFromMenuPosition(int position);

// The view code of the view a list view reports (LVM_GETVIEW: 0 icon, 1 details,
// 2 small icons, 3 list); a view without a code of its own (tiles) keeps the view bits
// of the stored style.
long ViewCodeInEffect(long reportedView, long storedStyle);

// A tray tip in the notify-icon record's 64-character field: left-aligned, a NUL,
// blanks after it; longer text is cut to 63 bytes so that the terminator fits, and no
// further than the start of the character that would not fit whole.
inline constexpr size_t kTipFieldLength = 64;
void SetTipField(char* field, const std::string& tip);

// The watchdog's give-up message for the program titled `title`.
std::string TrayIconLostMessage(const std::string& title);

// The last component of a folder path: the text between its last two backslashes once
// a missing final backslash is added.
std::string LastPathComponent(const std::string& path);

// Error codes of the shortcut operations; any other code is the system's.
inline constexpr long kErrStartupGroup = 65535;
inline constexpr long kErrShortcut = 65534;

// The warning for a failed create (`create` true) or remove of the program's StartUp
// shortcut; `description` is the system's text for a system error code.
std::string StartupShortcutErrorText(long code, bool create, const std::string& title, const std::string& description);

// The confirmations after a StartUp shortcut of the program `title` was made or removed.
std::string StartupShortcutCreatedText(const std::string& title);
std::string StartupShortcutRemovedText(const std::string& title);

}  // namespace common
