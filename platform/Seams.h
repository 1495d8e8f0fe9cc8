// Replaceable entry points for what a test must script: the clock, sleeping, random
// numbers, key state and the pointer position. Production code calls these exactly
// like the system functions they stand for.
#pragma once
#include <windows.h>
#include <functional>
#include <type_traits>
#include <utility>

namespace platform {

namespace seams {
extern std::function<double()> Timer;                 // seconds since midnight, local time
extern std::function<void(DWORD)> Sleep;              // milliseconds
extern std::function<double()> Random;                // uniform in [0, 1)
extern std::function<SHORT(int)> GetAsyncKeyState;
// The key state as of the message being handled.
extern std::function<SHORT(int)> GetKeyState;
extern std::function<BOOL(POINT*)> GetCursorPos;
// Registry writes, so that tests can make them fail where the real registry won't.
extern std::function<LONG(HKEY, const char*, DWORD, char*, DWORD, REGSAM, SECURITY_ATTRIBUTES*, HKEY*, DWORD*)>
    RegCreateKeyExA;
extern std::function<LONG(HKEY, const char*, DWORD, DWORD, const BYTE*, DWORD)> RegSetValueExA;
// Desktop parameters (the wallpaper among them), so that tests can make a change fail.
extern std::function<BOOL(UINT, UINT, void*, UINT)> SystemParametersInfoA;
}  // namespace seams

// Puts a replacement into a seam for the lifetime of the object.
template <class F>
class ScopedSeam {
public:
    ScopedSeam(F& slot, std::type_identity_t<F> replacement) : slot_(slot), saved_(std::move(slot)) { slot_ = std::move(replacement); }
    ~ScopedSeam() { slot_ = std::move(saved_); }
    ScopedSeam(const ScopedSeam&) = delete;
    ScopedSeam& operator=(const ScopedSeam&) = delete;

private:
    F& slot_;
    F saved_;
};

// Seconds since midnight, with the clock's full resolution (the shape of a form
// runtime's Timer function).
inline double Timer() { return seams::Timer(); }
// A random number in [0, 1).
inline double Rnd() { return seams::Random(); }
// True while the key is held down.
inline bool KeyIsDown(int virtualKey) { return (seams::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
// True when the key was held down as the message being handled was sent; a key let go
// since then still counts.
inline bool KeyWasDown(int virtualKey) { return (seams::GetKeyState(virtualKey) & 0x8000) != 0; }

// Lets pending window messages run (the form runtime's DoEvents).
void DoEvents();

}  // namespace platform
