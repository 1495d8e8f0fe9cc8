// The one entry point for every message box of the suite.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace platform {

// The styles the programs use, composed from the system's MB_ flags.
constexpr unsigned kMsgWarning = MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL | MB_SETFOREGROUND;
constexpr unsigned kMsgQuestion = MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL | MB_SETFOREGROUND;
constexpr unsigned kMsgInformation = MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND;

struct MsgBoxCall {
    std::string text;
    unsigned flags;
    std::string title;
};

// Shows a message box; `flags` are MB_ values (buttons, icon, default button, modality,
// foreground). The title defaults to the program's title. Returns IDOK, IDYES, IDNO, ...
int MsgBox(const std::string& text, unsigned flags, const std::string& title = std::string());

// Test seam: when set, receives every box instead of the screen and returns the answer.
using MsgBoxHook = std::function<int(const MsgBoxCall&)>;
void SetMsgBoxHook(MsgBoxHook hook);

// Line break inside message texts.
inline constexpr const char* vbCrLf = "\r\n";

}  // namespace platform
