// The clipboard's text, in whatever form another program or the system left it, as our
// text; and our text put on it in the form every program reads right.
#pragma once
#include <windows.h>

#include <string>

namespace platform {

// True when the clipboard offers text in any of its forms (Unicode, ANSI, OEM).
bool ClipboardHasText();

// The following read a clipboard that the caller has opened.

// Its text as ours, up to the first NUL: from CF_UNICODETEXT when offered, else from
// CF_TEXT in the clipboard's ANSI code page, else from CF_OEMTEXT in its OEM code page.
// "" when there is none.
std::string ClipboardText();
// The code pages of the clipboard's ANSI and OEM text: those of the locale that CF_LOCALE
// names, else the system's (never ours: other programs write their own code page).
UINT ClipboardAnsiCodePage();
UINT ClipboardOemCodePage();
// The bytes of a format's memory block, all of them; "" when it cannot be read.
std::string ClipboardBytes(UINT format);

// Empties the clipboard and puts `text` on it as CF_UNICODETEXT, from which the system
// offers the ANSI and OEM forms to programs that ask for them. False when the clipboard
// could not be had.
bool PutClipboardText(HWND owner, const std::string& text);

}  // namespace platform
