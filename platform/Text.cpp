#include "platform/Text.h"

#include <climits>

namespace platform {

namespace {

// Our code page: the process's ANSI code page, UTF-8 by the manifest.
constexpr UINT kOurCodePage = CP_ACP;
// Windows' own choice when a locale names no Windows code page.
constexpr UINT kWesternCodePage = 1252;

int Length(size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

std::wstring ToWide(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), Length(bytes.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), Length(bytes.size()), wide.data(), length);
    return wide;
}

UINT LocaleNumber(LCID locale, LCTYPE type) {
    DWORD value = 0;
    if (!GetLocaleInfoW(locale, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&value),
                        sizeof value / sizeof(WCHAR)))
        return 0;
    return value;
}

UINT CodePageOf(LCID locale, LCTYPE type) {
    UINT codePage = LocaleNumber(locale, type);
    // 0 is the answer of a locale that has only Unicode.
    if (codePage != 0 && IsValidCodePage(codePage)) return codePage;
    if (locale != LOCALE_SYSTEM_DEFAULT) return CodePageOf(LOCALE_SYSTEM_DEFAULT, type);
    return kWesternCodePage;
}

}  // namespace

std::wstring Wide(std::string_view text) { return ToWide(text, kOurCodePage); }

std::string FromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int length =
        WideCharToMultiByte(kOurCodePage, 0, text.data(), Length(text.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(kOurCodePage, 0, text.data(), Length(text.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::string FromCodePage(std::string_view bytes, UINT codePage) { return FromWide(ToWide(bytes, codePage)); }

UINT AnsiCodePageOf(LCID locale) { return CodePageOf(locale, LOCALE_IDEFAULTANSICODEPAGE); }
UINT OemCodePageOf(LCID locale) { return CodePageOf(locale, LOCALE_IDEFAULTCODEPAGE); }

SIZE TextExtent(HDC dc, std::string_view text) {
    SIZE size{0, 0};
    const std::wstring wide = Wide(text);
    GetTextExtentPoint32W(dc, wide.data(), Length(wide.size()), &size);
    return size;
}

int PaintText(HDC dc, std::string_view text, RECT& area, UINT format) {
    const std::wstring wide = Wide(text);
    return DrawTextW(dc, wide.data(), Length(wide.size()), &area, format);
}

void PaintTextAt(HDC dc, int x, int y, std::string_view text) {
    const std::wstring wide = Wide(text);
    TextOutW(dc, x, y, wide.data(), Length(wide.size()));
}

}  // namespace platform
