#include "common/ShellCommands_.h"

#include <commctrl.h>
#include <shellapi.h>

#include "common/WindowsWallpaper_.h"
#include "platform/MsgBox.h"

namespace common {

namespace seams {
std::function<HINSTANCE(HWND, const char*, const char*, const char*, const char*, INT)> ShellExecuteA =
    [](HWND owner, const char* verb, const char* file, const char* parameters, const char* folder, INT show) {
        return ::ShellExecuteA(owner, verb, file, parameters, folder, show);
    };
}  // namespace seams

namespace {

static_assert(kViewMask == LVS_TYPEMASK);
constexpr INT kShowNormal = SW_SHOWDEFAULT;          // 10
constexpr INT kShowMinimized = SW_SHOWMINNOACTIVE;   // 7
constexpr INT_PTR kNoAssociation = SE_ERR_NOASSOC;  // 31

constexpr const char* kNoAssociation1 = "There is no association configured for opening the '";
constexpr const char* kNoAssociation2 = "' file or address.";
constexpr const char* kOpenError1 = "An error occurred attempting to open the '";
constexpr const char* kOpenError2 = "' file or address (ShellExecute API code ";
constexpr const char* kOpenError3 = ").";
constexpr const char* kShowDesktopError =
    "The \"Show Desktop\" command file could not be executed.  "
    "Please note that either the MSIE 4.0 Windows Desktop Update, "
    "Windows 98, or Windows NT 5.0 is required for this to work.";

// The view the list shows now. The list view keeps its view apart from its stored
// style, which a style-change message leaves as it was, so only the list knows it.
LONG ViewInEffect(HWND list, LONG storedStyle) {
    return ViewCodeInEffect(static_cast<long>(SendMessageA(list, LVM_GETVIEW, 0, 0)), storedStyle);
}

}  // namespace

void SetDesktopViewStyle(int viewCode) {
    HWND list = FindDesktopListView();
    LONG style = GetWindowLongA(list, GWL_STYLE);
    STYLESTRUCT change{};
    change.styleOld = static_cast<DWORD>((style & ~kViewMask) | (list ? ViewInEffect(list, style) : (style & kViewMask)));
    change.styleNew = static_cast<DWORD>((style & ~kViewMask) | (viewCode & kViewMask));
    SendMessageA(list, WM_STYLECHANGED, static_cast<WPARAM>(GWL_STYLE), reinterpret_cast<LPARAM>(&change));
}

bool OpenWithShell(const std::string& target, bool minimized, bool quiet) {
    INT_PTR result = reinterpret_cast<INT_PTR>(
        seams::ShellExecuteA(GetDesktopWindow(), nullptr, target.c_str(), "", "", minimized ? kShowMinimized : kShowNormal));
    if (result > 32) return true;
    if (quiet) return false;
    if (result == kNoAssociation)
        platform::MsgBox(kNoAssociation1 + target + kNoAssociation2, platform::kMsgInformation | MB_SYSTEMMODAL);
    else
        platform::MsgBox(kOpenError1 + target + kOpenError2 + std::to_string(result) + kOpenError3,
                         platform::kMsgWarning);
    return false;
}

void ShowDesktop(bool quiet) {
    if (!OpenWithShell(kShowDesktopFile, false, true) && !quiet)
        platform::MsgBox(kShowDesktopError, platform::kMsgWarning);
}

}  // namespace common
