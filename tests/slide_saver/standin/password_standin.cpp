// Stands in for the screen saver password services that only the Windows 95/98 family
// has: the tests script the answer and read back how they were called.
#include <windows.h>

namespace {
int answer = 1;
int verifyCalls = 0;
HWND lastOwner = nullptr;
char lastProvider[64] = "";
}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner) {
    ++verifyCalls;
    lastOwner = owner;
    return answer;
}

__declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD, DWORD) {
    lastOwner = owner;
    lstrcpynA(lastProvider, provider ? provider : "", sizeof lastProvider);
    return 0;
}

__declspec(dllexport) void WINAPI StandInScript(int verifyAnswer) {
    answer = verifyAnswer;
    verifyCalls = 0;
    lastOwner = nullptr;
    lastProvider[0] = '\0';
}

__declspec(dllexport) int WINAPI StandInVerifyCalls() { return verifyCalls; }
__declspec(dllexport) HWND WINAPI StandInLastOwner() { return lastOwner; }
__declspec(dllexport) const char* WINAPI StandInLastProvider() { return lastProvider; }
}
