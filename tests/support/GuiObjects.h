// Counts of the GDI and USER objects the test process holds, for leak checks.
// GetGuiResources is the system's count; Wine answers it with 0, so the GDI objects are
// also counted in the process's shared GDI handle table, and the windows by enumeration.
#pragma once
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <ostream>

namespace testing_support {

struct GuiObjects {
    unsigned long gdi = 0;      // GetGuiResources
    unsigned long user = 0;     // GetGuiResources
    unsigned long gdiTable = 0; // live entries of this process in the GDI handle table
    unsigned long windows = 0;  // windows of this thread, children included

    bool operator==(const GuiObjects&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const GuiObjects& counts) {
    return out << "{GDI " << counts.gdi << ", USER " << counts.user << ", GDI table " << counts.gdiTable
               << ", windows " << counts.windows << "}";
}

inline unsigned long CountGdiTableEntries() {
    // The layout Windows and Wine share: 24-byte entries (32-bit: 16) behind the PEB's
    // GdiSharedHandleTable; Wine's table is per process and leaves the owner 0.
#ifdef _WIN64
    struct Entry { std::uint64_t object; std::uint16_t owner; std::uint16_t lock; std::uint16_t unique; std::uint8_t type; std::uint8_t flags; std::uint64_t user; };
    constexpr size_t kTableOffset = 0xF8;
#else
    struct Entry { std::uint32_t object; std::uint16_t owner; std::uint16_t lock; std::uint16_t unique; std::uint8_t type; std::uint8_t flags; std::uint32_t user; };
    constexpr size_t kTableOffset = 0x94;
#endif
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) < 0) return 0;
    const auto* peb = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const Entry* const*>(peb + kTableOffset);
    if (!table) return 0;
    const auto self = static_cast<std::uint16_t>(GetCurrentProcessId());
    unsigned long count = 0;
    for (size_t i = 0; i < 0x10000; ++i)
        if (table[i].type && (table[i].owner == self || table[i].owner == 0)) ++count;
    return count;
}

inline BOOL CALLBACK CountWindow(HWND hwnd, LPARAM count) {
    ++*reinterpret_cast<unsigned long*>(count);
    EnumChildWindows(hwnd, [](HWND, LPARAM n) -> BOOL { ++*reinterpret_cast<unsigned long*>(n); return TRUE; }, count);
    return TRUE;
}

inline GuiObjects CountGuiObjects() {
    GuiObjects counts;
    counts.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    counts.gdiTable = CountGdiTableEntries();
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&counts.windows));
    return counts;
}

}  // namespace testing_support
