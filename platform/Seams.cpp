#include "platform/Seams.h"

#include <random>

namespace platform {

namespace {

double SystemTimer() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

// One generator for the whole run, seeded once: reseeding from a clock that has not
// moved would hand out the same number again.
double SystemRandom() {
    static std::mt19937 generator([] {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        return static_cast<unsigned>(counter.QuadPart ^ GetCurrentProcessId() ^ GetTickCount());
    }());
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

}  // namespace

namespace seams {
std::function<double()> Timer = SystemTimer;
std::function<void(DWORD)> Sleep = [](DWORD ms) { ::Sleep(ms); };
std::function<double()> Random = SystemRandom;
std::function<SHORT(int)> GetAsyncKeyState = [](int key) { return ::GetAsyncKeyState(key); };
std::function<SHORT(int)> GetKeyState = [](int key) { return ::GetKeyState(key); };
std::function<BOOL(POINT*)> GetCursorPos = [](POINT* point) { return ::GetCursorPos(point); };
std::function<LONG(HKEY, const char*, DWORD, char*, DWORD, REGSAM, SECURITY_ATTRIBUTES*, HKEY*, DWORD*)>
    RegCreateKeyExA = ::RegCreateKeyExA;
std::function<LONG(HKEY, const char*, DWORD, DWORD, const BYTE*, DWORD)> RegSetValueExA = ::RegSetValueExA;
std::function<BOOL(UINT, UINT, void*, UINT)> SystemParametersInfoA = ::SystemParametersInfoA;
}  // namespace seams

void DoEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace platform
