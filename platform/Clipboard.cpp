#include "platform/Clipboard.h"

#include <cstring>
#include <cwchar>

#include "platform/Text.h"

namespace platform {

namespace {

LCID ClipboardLocale() {
    LCID locale = LOCALE_SYSTEM_DEFAULT;
    if (!IsClipboardFormatAvailable(CF_LOCALE)) return locale;
    HANDLE data = GetClipboardData(CF_LOCALE);
    const void* bytes = data ? GlobalLock(data) : nullptr;
    if (!bytes) return locale;
    if (GlobalSize(data) >= sizeof(LCID)) std::memcpy(&locale, bytes, sizeof locale);
    GlobalUnlock(data);
    return locale;
}

// The text of a block of 8-bit text: the bytes before the first NUL, within the block.
std::string BytesBeforeNul(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

// The text of a block of UTF-16 text, within the block; false when the format cannot be read.
bool UnicodeText(std::wstring& text) {
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* chars = static_cast<const wchar_t*>(data ? GlobalLock(data) : nullptr);
    if (!chars) return false;
    const size_t count = GlobalSize(data) / sizeof(wchar_t);
    text.assign(chars, wmemchr(chars, L'\0', count) ? std::wcslen(chars) : count);
    GlobalUnlock(data);
    return true;
}

}  // namespace

bool ClipboardHasText() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT) ||
           IsClipboardFormatAvailable(CF_OEMTEXT);
}

UINT ClipboardAnsiCodePage() { return AnsiCodePageOf(ClipboardLocale()); }
UINT ClipboardOemCodePage() { return OemCodePageOf(ClipboardLocale()); }

std::string ClipboardBytes(UINT format) {
    HANDLE data = GetClipboardData(format);
    const char* bytes = static_cast<const char*>(data ? GlobalLock(data) : nullptr);
    if (!bytes) return {};
    std::string copy(bytes, GlobalSize(data));
    GlobalUnlock(data);
    return copy;
}

std::string ClipboardText() {
    std::wstring unicode;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && UnicodeText(unicode)) return FromWide(unicode);
    if (IsClipboardFormatAvailable(CF_TEXT))
        return FromCodePage(BytesBeforeNul(ClipboardBytes(CF_TEXT)), ClipboardAnsiCodePage());
    if (IsClipboardFormatAvailable(CF_OEMTEXT))
        return FromCodePage(BytesBeforeNul(ClipboardBytes(CF_OEMTEXT)), ClipboardOemCodePage());
    return {};
}

bool PutClipboardText(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    const std::wstring wide = Wide(text);
    const size_t size = (wide.size() + 1) * sizeof(wchar_t);
    bool put = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size)) {
        if (void* data = GlobalLock(memory)) {
            std::memcpy(data, wide.c_str(), size);
            GlobalUnlock(memory);
            put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!put) GlobalFree(memory);
    }
    CloseClipboard();
    return put;
}

}  // namespace platform
