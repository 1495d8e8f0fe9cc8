#include "common/Subclass_.h"

#include "common/TrayOwner.h"
#include "common/clsTaskBar.h"
#include "platform/MsgBox.h"

namespace common {

namespace {

WNDPROC prevWndProc = nullptr;
int subclassCount = 0;

// The shell broadcasts this after it has (re)started and lost every icon.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

TrayOwner* OwnerOf(HWND hWnd) {
    for (platform::Form* form : platform::Form::LoadedForms())
        if (form->hWnd() == hWnd) return dynamic_cast<TrayOwner*>(form);
    return nullptr;
}

}  // namespace

WNDPROC PrevWndProc() { return prevWndProc; }
int SubclassCount() { return subclassCount; }

bool SubclassWindow(HWND hWnd) {
    if (prevWndProc) {
        ++subclassCount;
        return true;
    }
    TaskbarCreatedMessage();
    prevWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayWindowProc)));
    if (prevWndProc) {
        subclassCount = 1;
        return true;
    }
    platform::MsgBox(kSubclassFailedMessage, platform::kMsgWarning);
    return false;
}

void UnsubclassWindow(HWND hWnd) {
    if (!prevWndProc) {
        subclassCount = 0;
        return;
    }
    if (subclassCount == 1) {
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prevWndProc));
        prevWndProc = nullptr;
    }
    --subclassCount;
}

LRESULT CALLBACK TrayWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    UINT callback = TaskBar().CallbackMessage();
    if (callback != 0 && message == callback) {
        try {
            if (TrayOwner* owner = OwnerOf(hWnd)) owner->TaskBarHandler(static_cast<long>(lParam));
        } catch (...) {
            // A notification must never take the window procedure down.
        }
        return 0;
    }
    if (message == TaskbarCreatedMessage()) {
        try {
            if (TrayOwner* owner = OwnerOf(hWnd)) owner->TaskbarCreated();
        } catch (...) {
        }
    }
    // The window may have been unsubclassed by the handler above; the replaced
    // procedure is still the right one to call.
    WNDPROC previous = prevWndProc;
    if (!previous) previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    if (previous == &TrayWindowProc) return DefWindowProcA(hWnd, message, wParam, lParam);
    return CallWindowProcA(previous, hWnd, message, wParam, lParam);
}

}  // namespace common
