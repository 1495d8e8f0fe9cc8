// Another program at the clipboard, for the tests: it runs in the system's code page (it
// carries no manifest) and puts or reads text exactly as told, so that the tests see what
// our programs hand over and how they read what others leave.
//
//   put-unicode HEX               UTF-8 bytes in hex, put as CF_UNICODETEXT only
//   put FORMAT LCID HEX           the bytes as they are, in the format "text", "oemtext" or a
//                                 registered name; with CF_LOCALE = LCID (hex) unless LCID is "-"
//   read-unicode FILE             writes CF_UNICODETEXT (UTF-16LE, up to its NUL) to FILE
//
// Exit code 0 on success, 2 for a bad command line, 3 when the clipboard could not be had
// or held no such text.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string FromHex(const char* hex) {
    std::string bytes;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        const char pair[3] = {hex[i], hex[i + 1], '\0'};
        bytes += static_cast<char>(std::strtoul(pair, nullptr, 16));
    }
    return bytes;
}

HGLOBAL GlobalCopy(const void* data, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory) {
        std::memcpy(GlobalLock(memory), data, size);
        GlobalUnlock(memory);
    }
    return memory;
}

// The clipboard, opened for a window of ours (a clipboard opened for no window cannot be
// written), with a few tries while another program holds it.
bool Open(HWND owner) {
    for (int tries = 0; tries < 100; ++tries) {
        if (OpenClipboard(owner)) return true;
        Sleep(20);
    }
    return false;
}

int PutFormat(HWND owner, UINT format, const std::string& bytes, const char* locale) {
    if (!format || !Open(owner)) return 3;
    EmptyClipboard();
    if (std::strcmp(locale, "-") != 0) {
        const LCID lcid = std::strtoul(locale, nullptr, 16);
        SetClipboardData(CF_LOCALE, GlobalCopy(&lcid, sizeof lcid));
    }
    const bool put = SetClipboardData(format, GlobalCopy(bytes.data(), bytes.size())) != nullptr;
    CloseClipboard();
    return put ? 0 : 3;
}

int PutUnicode(HWND owner, const std::string& utf8) {
    std::wstring wide(utf8.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(length) + 1);
    return PutFormat(owner, CF_UNICODETEXT,
                     std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)), "-");
}

int ReadUnicode(HWND owner, const char* file) {
    if (!Open(owner)) return 3;
    std::wstring text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* chars = static_cast<const wchar_t*>(data ? GlobalLock(data) : nullptr);
    if (chars) {
        const size_t count = GlobalSize(data) / sizeof(wchar_t);
        for (size_t i = 0; i < count && chars[i]; ++i) text += chars[i];
        GlobalUnlock(data);
    }
    CloseClipboard();
    if (!chars) return 3;
    FILE* out = std::fopen(file, "wb");
    if (!out) return 3;
    std::fwrite(text.data(), sizeof(wchar_t), text.size(), out);
    std::fclose(out);
    return 0;
}

UINT FormatNamed(const char* name) {
    if (std::strcmp(name, "text") == 0) return CF_TEXT;
    if (std::strcmp(name, "oemtext") == 0) return CF_OEMTEXT;
    return RegisterClipboardFormatA(name);
}

}  // namespace

int main(int argc, char** argv) {
    HWND owner = CreateWindowExA(0, "STATIC", "clipboard stand-in", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    int result = 2;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "put-unicode" && argc == 3)
        result = PutUnicode(owner, FromHex(argv[2]));
    else if (command == "put" && argc == 5)
        result = PutFormat(owner, FormatNamed(argv[2]), FromHex(argv[4]), argv[3]);
    else if (command == "read-unicode" && argc == 3)
        result = ReadUnicode(owner, argv[2]);
    DestroyWindow(owner);
    return result;
}
