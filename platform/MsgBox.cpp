#include "platform/MsgBox.h"

#include <vector>

#include "platform/App.h"

namespace platform {

namespace {
MsgBoxHook& Hook() {
    static MsgBoxHook hook;
    return hook;
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}
}  // namespace

void SetMsgBoxHook(MsgBoxHook hook) { Hook() = std::move(hook); }

int MsgBox(const std::string& text, unsigned flags, const std::string& title) {
    MsgBoxCall call{text, flags, title.empty() ? App().Title : title};
    if (Hook()) return Hook()(call);
    // A busy pointer must not hide the box's own pointer.
    bool wasBusy = IsBusyPointer();
    if (wasBusy) SetCursor(LoadCursor(nullptr, IDC_ARROW));
    // Modal to the program's own windows, as task modality would make it, while the flags
    // keep system modality where it is asked for: the active form owns the box, and the
    // program's other windows take no input until it closes.
    HWND owner = GetActiveWindow();
    if (owner && !IsWindowVisible(owner)) owner = nullptr;
    std::vector<HWND> others;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&others));
    for (HWND window : others)
        if (window != owner) EnableWindow(window, FALSE);
    int answer = MessageBoxA(owner, call.text.c_str(), call.title.c_str(), call.flags);
    for (HWND window : others)
        if (window != owner && IsWindow(window)) EnableWindow(window, TRUE);
    if (wasBusy) SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return answer;
}

}  // namespace platform
