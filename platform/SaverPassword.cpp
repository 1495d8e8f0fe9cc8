#include "platform/SaverPassword.h"

#include "platform/Handles.h"

namespace platform {

namespace seams {
std::function<HMODULE(const char*)> LoadPasswordLibrary = [](const char* name) { return LoadLibraryA(name); };
}  // namespace seams

namespace {

using VerifyFunction = BOOL(WINAPI*)(HWND);
using ChangeFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);

template <class F>
F Entry(const Library& library, const char* name) {
    if (!library.get()) return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library.get(), name)));
}

}  // namespace

bool VerifyScreenSaverPassword(HWND owner) {
    Library library(seams::LoadPasswordLibrary("password.cpl"));
    const auto verify = Entry<VerifyFunction>(library, "VerifyScreenSavePwd");
    if (!verify) return true;
    return verify(owner) != FALSE;
}

bool ChangeScreenSaverPassword(HWND owner) {
    Library library(seams::LoadPasswordLibrary("mpr.dll"));
    const auto change = Entry<ChangeFunction>(library, "PwdChangePasswordA");
    if (!change) return false;
    change("SCRSAVE", owner, 0, nullptr);
    return true;
}

}  // namespace platform
