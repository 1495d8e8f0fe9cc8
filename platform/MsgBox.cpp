#include "platform/MsgBox.h"

#include "platform/App.h"

namespace platform {

namespace {
MsgBoxHook& Hook() {
    static MsgBoxHook hook;
    return hook;
}
}  // namespace

void SetMsgBoxHook(MsgBoxHook hook) { Hook() = std::move(hook); }

int MsgBox(const std::string& text, unsigned flags, const std::string& title) {
    MsgBoxCall call{text, flags, title.empty() ? App().Title : title};
    if (Hook()) return Hook()(call);
    // A busy pointer must not hide the box's own pointer.
    bool wasBusy = IsBusyPointer();
    if (wasBusy) SetCursor(LoadCursor(nullptr, IDC_ARROW));
    int answer = MessageBoxA(nullptr, call.text.c_str(), call.title.c_str(), call.flags);
    if (wasBusy) SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return answer;
}

}  // namespace platform
