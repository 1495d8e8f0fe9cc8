// Counts of the GDI and USER objects the test process holds, for leak checks.
// GetGuiResources is the system's count; Wine answers it with 0, so the GDI objects are
// also counted in the process's shared GDI handle table, and the windows by enumeration.
#pragma once
#include <windows.h>
#include <winternl.h>
#include <tlhelp32.h>

#include <cstdint>
#include <cstring>
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

// The GDI handle table Windows and Wine share. Its entries keep the 64-bit layout (24 bytes)
// on any 64-bit system, WoW64 included; only a 32-bit system has 16-byte ones.
struct GdiHandleTable {
    const std::uint8_t* entries = nullptr;
    size_t entrySize = 0;
};

inline GdiHandleTable FindGdiHandleTable() {
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) < 0) return {};
    const auto* peb = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
#ifdef _WIN64
    return {*reinterpret_cast<const std::uint8_t* const*>(peb + 0xF8), 24};
#else
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    const size_t entrySize = wow64 ? 24 : 16;
    if (const auto* table = *reinterpret_cast<const std::uint8_t* const*>(peb + 0x94)) return {table, entrySize};
    if (!wow64) return {};
    // Wine under WoW64 publishes the table only in the process's 64-bit PEB; the 32-bit TEB's
    // GdiBatchCount field holds the 64-bit TEB's address there.
    using QueryThread = LONG(WINAPI*)(HANDLE, THREADINFOCLASS, void*, ULONG, ULONG*);
    const auto queryThread = reinterpret_cast<QueryThread>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
    struct ThreadBasics {  // THREAD_BASIC_INFORMATION, missing from MinGW's headers
        LONG exitStatus;
        void* teb;
        CLIENT_ID clientId;
        ULONG_PTR affinityMask;
        LONG priority, basePriority;
    } thread{};
    if (!queryThread || queryThread(GetCurrentThread(), ThreadBasicInformation, &thread, sizeof thread, nullptr) < 0 ||
        !thread.teb)
        return {};
    const auto teb64 = *reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(thread.teb) + 0xF70);
    if (!teb64) return {};
    const std::uint64_t peb64 = *reinterpret_cast<const std::uint64_t*>(std::uintptr_t{teb64} + 0x60);
    if (!peb64 || peb64 >> 32) return {};
    const std::uint64_t table = *reinterpret_cast<const std::uint64_t*>(static_cast<std::uintptr_t>(peb64) + 0xF8);
    if (!table || table >> 32) return {};
    return {reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(table)), 24};
#endif
}

inline unsigned long CountGdiTableEntries() {
    const GdiHandleTable table = FindGdiHandleTable();
    if (!table.entries) return 0;
    // Each entry: the object pointer, then the owner (16 bits), two more 16-bit fields and the
    // type byte, 0 in a free entry. Wine's table is per process and leaves the owner 0.
    const size_t ownerAt = table.entrySize == 24 ? 8 : 4, typeAt = ownerAt + 6;
    const auto self = static_cast<std::uint16_t>(GetCurrentProcessId());
    unsigned long count = 0;
    for (size_t i = 0; i < 0x10000; ++i) {
        const std::uint8_t* entry = table.entries + i * table.entrySize;
        std::uint16_t owner;
        std::memcpy(&owner, entry + ownerAt, sizeof owner);
        if (entry[typeAt] && (owner == self || owner == 0)) ++count;
    }
    return count;
}

inline BOOL CALLBACK CountChildWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<unsigned long*>(count);
    return TRUE;
}

inline BOOL CALLBACK CountWindow(HWND hwnd, LPARAM count) {
    ++*reinterpret_cast<unsigned long*>(count);
    EnumChildWindows(hwnd, CountChildWindow, count);
    return TRUE;
}

// Threads of this process.
inline unsigned long CountThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    unsigned long count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
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
