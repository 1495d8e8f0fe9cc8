// Where the programs' text meets text in another encoding.
//
// Inside the programs text is in the process's ANSI code page, the one every ...A function
// of the system reads and writes; the manifest makes it UTF-8. Whatever comes from or goes
// to another encoding (UTF-16, another program's code page, GDI's text functions) is
// converted here, with explicit lengths, so that no text is read past its end.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

// Our text as UTF-16, and back. A sequence that is not valid in our code page becomes
// U+FFFD; an incomplete one at the end does too and never reaches past the end.
std::wstring Wide(std::string_view text);
std::string FromWide(std::wstring_view text);

// Text in another code page (a program's CF_TEXT, a file meant for other programs) as ours.
std::string FromCodePage(std::string_view bytes, UINT codePage);

// The Windows (ANSI) and OEM code pages of a locale, as the system converts text for
// it; for the system's own locale (LOCALE_SYSTEM_DEFAULT) these are what GetACP and
// GetOEMCP would say in a program without our manifest. A locale without code pages of
// its own, or one the system does not know, gives the system's.
UINT AnsiCodePageOf(LCID locale);
UINT OemCodePageOf(LCID locale);

// GDI's ...A text functions read their bytes in the selected font's code page, not in
// ours, so the programs measure and draw text through these.
SIZE TextExtent(HDC dc, std::string_view text);
// (DrawText and TextOut, by names the system's headers leave free.)
int PaintText(HDC dc, std::string_view text, RECT& area, UINT format);
void PaintTextAt(HDC dc, int x, int y, std::string_view text);

}  // namespace platform
