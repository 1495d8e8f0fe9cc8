// Desktop icon view, opening with the shell, "Show Desktop" and the blank screen.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "common/ShellCommands_.h"
#include "common/GetDeskMonitors_.h"
#include "common/frmBlankScreen.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

namespace {

// The shell's desktop icon list as Windows builds it: Progman > SHELLDLL_DefView >
// SysListView32. Wine's desktop has none, so the test makes one and records the style
// changes the list receives.
class StandInDesktop {
public:
    static constexpr LONG kOtherBits = LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS | LVS_ALIGNLEFT;

    StandInDesktop() {
        RegisterPlainClass("Progman");
        RegisterPlainClass("SHELLDLL_DefView");
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        progman_ = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        view_ = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, progman_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON | kOtherBits, 0, 0, 300,
                                200, view_, nullptr, GetModuleHandleA(nullptr), nullptr);
        self = this;
        listProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
    }
    ~StandInDesktop() {
        DestroyWindow(progman_);
        self = nullptr;
    }
    HWND List() const { return list_; }
    LRESULT View() const { return SendMessageA(list_, LVM_GETVIEW, 0, 0); }
    std::vector<STYLESTRUCT> changes;

private:
    static void RegisterPlainClass(const char* name) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    static LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_STYLECHANGED && self && static_cast<int>(wParam) == GWL_STYLE)
            self->changes.push_back(*reinterpret_cast<STYLESTRUCT*>(lParam));
        return CallWindowProcA(self->listProc_, hwnd, message, wParam, lParam);
    }
    static inline StandInDesktop* self = nullptr;
    HWND progman_ = nullptr, view_ = nullptr, list_ = nullptr;
    WNDPROC listProc_ = nullptr;
};

struct ShellExecuteCall {
    HWND owner;
    bool noVerb;
    std::string file, parameters, folder;
    INT show;
};

// Records what is handed to the shell and answers with `result`.
struct ShellExecuteRecorder {
    std::vector<ShellExecuteCall> calls;
    INT_PTR result = 42;
    platform::ScopedSeam<std::function<HINSTANCE(HWND, const char*, const char*, const char*, const char*, INT)>> seam{
        common::seams::ShellExecuteA,
        [this](HWND owner, const char* verb, const char* file, const char* parameters, const char* folder, INT show) {
            calls.push_back({owner, verb == nullptr, file, parameters, folder, show});
            return reinterpret_cast<HINSTANCE>(result);
        }};
};

}  // namespace

TEST(DesktopView, EachViewCodeArrivesWithTheOtherStyleBitsKept) {
    StandInDesktop desktop;
    LONG stored = GetWindowLongA(desktop.List(), GWL_STYLE);
    for (int code : {common::kViewSmallIcons, common::kViewList, common::kViewDetails, common::kViewLargeIcons}) {
        desktop.changes.clear();
        common::SetDesktopViewStyle(code);
        ASSERT_EQ(desktop.changes.size(), 1u) << code;
        const STYLESTRUCT& change = desktop.changes[0];
        EXPECT_EQ(change.styleNew & LVS_TYPEMASK, static_cast<DWORD>(code));
        EXPECT_EQ(change.styleNew & ~LVS_TYPEMASK, static_cast<DWORD>(stored & ~LVS_TYPEMASK));
        EXPECT_EQ(change.styleOld & ~LVS_TYPEMASK, static_cast<DWORD>(stored & ~LVS_TYPEMASK));
        EXPECT_EQ(desktop.View(), code);  // the list shows the view
    }
    // The window's stored style is left alone.
    EXPECT_EQ(GetWindowLongA(desktop.List(), GWL_STYLE), stored);
}

TEST(DesktopView, LargeIconsAfterAnotherViewTakesEffect) {
    StandInDesktop desktop;
    common::SetDesktopViewStyle(common::kViewSmallIcons);
    ASSERT_EQ(desktop.View(), LV_VIEW_SMALLICON);
    desktop.changes.clear();
    common::SetDesktopViewStyle(common::kViewLargeIcons);
    ASSERT_EQ(desktop.changes.size(), 1u);
    // The old style names the view in effect, so the list sees a change.
    EXPECT_EQ(desktop.changes[0].styleOld & LVS_TYPEMASK, static_cast<DWORD>(LVS_SMALLICON));
    EXPECT_EQ(desktop.changes[0].styleNew & LVS_TYPEMASK, static_cast<DWORD>(LVS_ICON));
    EXPECT_EQ(desktop.View(), LV_VIEW_ICON);
}

TEST(DesktopView, WithoutADesktopListNothingHappens) {
    ASSERT_EQ(FindWindowA("Progman", "Program Manager"), nullptr);
    common::SetDesktopViewStyle(common::kViewDetails);  // must not fail
}

TEST(OpenWithShell, APictureInAFolderWithBlanksReachesItsProgramNeverOneAtAShorterPath) {
    // "Open Pic" hands the shell the file, not a command line: the shell quotes it for the
    // program the file type names, and no "<base>\\My.exe" runs for "<base>\\My Pics\\...".
    testing_support::TempFolder base{"open-pic"};
    testing_support::LaunchProbes probes{base};
    const std::string viewer = base.File("Picture Viewer") + "\\viewer.exe";
    ASSERT_TRUE(CreateDirectoryA(base.File("Picture Viewer").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(base.File("My Pics").c_str(), nullptr));
    ASSERT_TRUE(probes.Place(viewer)) << "SORVITA_PROBE_EXE is not set";
    ASSERT_TRUE(probes.Place(base.File("My.exe")));
    ASSERT_TRUE(probes.Place(base.File("Picture.exe")));
    const std::string picture = base.File("My Pics") + "\\a b.sorvitapic";
    testing_support::WriteFile(picture, "pixels");
    testing_support::RegSetString(HKEY_CLASSES_ROOT, ".sorvitapic", "", "SorvitaTestPicture");
    testing_support::RegSetString(HKEY_CLASSES_ROOT, "SorvitaTestPicture\\shell\\open\\command", "",
                                  "\"" + viewer + "\" \"%1\"");
    EXPECT_TRUE(common::OpenWithShell(picture, false, false));
    std::vector<std::string> starts = probes.Starts(1);
    Sleep(300);  // a start too many would show now
    starts = probes.Starts(2, 0);
    EXPECT_EQ(starts, std::vector<std::string>{viewer + "|\"" + viewer + "\" \"" + picture + "\""});
    testing_support::RegDeleteTree(HKEY_CLASSES_ROOT, ".sorvitapic");
    testing_support::RegDeleteTree(HKEY_CLASSES_ROOT, "SorvitaTestPicture");
}

TEST(OpenWithShell, HandsTheTargetToTheShellWithTheShowCode) {
    ShellExecuteRecorder shell;
    EXPECT_TRUE(common::OpenWithShell("C:\\pics\\a.jpg", false, false));
    EXPECT_TRUE(common::OpenWithShell("http://example.invalid/", true, false));
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].owner, GetDesktopWindow());
    EXPECT_TRUE(shell.calls[0].noVerb);
    EXPECT_EQ(shell.calls[0].file, "C:\\pics\\a.jpg");
    EXPECT_EQ(shell.calls[0].parameters, "");
    EXPECT_EQ(shell.calls[0].folder, "");
    EXPECT_EQ(shell.calls[0].show, 10);
    EXPECT_EQ(shell.calls[1].show, 7);
}

TEST(OpenWithShell, MissingFileShowsTheShellCode) {
    testing_support::MsgBoxRecorder boxes;
    testing_support::TempFolder folder("open-missing");
    std::string missing = folder.File("no such picture.jpg");
    EXPECT_FALSE(common::OpenWithShell(missing, false, false));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "An error occurred attempting to open the '" + missing + "' file or address (ShellExecute API code 2).");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);

    boxes.Clear();
    EXPECT_FALSE(common::OpenWithShell(missing, false, true));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(OpenWithShell, FileWithoutAssociationSaysSo) {
    testing_support::MsgBoxRecorder boxes;
    testing_support::TempFolder folder("open-noassoc");
    std::string file = folder.File("data.sorvitaqq");
    testing_support::WriteFile(file, "x");
    EXPECT_FALSE(common::OpenWithShell(file, false, false));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "There is no association configured for opening the '" + file + "' file or address.");
    EXPECT_EQ(boxes.Last().flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONINFORMATION));
    EXPECT_TRUE(boxes.Last().flags & MB_SYSTEMMODAL);

    boxes.Clear();
    EXPECT_FALSE(common::OpenWithShell(file, true, true));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(ShowDesktop, MissingCommandFileShowsOnlyItsOwnMessage) {
    testing_support::MsgBoxRecorder boxes;
    common::ShowDesktop(false);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "The \"Show Desktop\" command file could not be executed.  Please note that either the MSIE 4.0 Windows "
              "Desktop Update, Windows 98, or Windows NT 5.0 is required for this to work.");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    boxes.Clear();
    common::ShowDesktop(true);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(ShowDesktop, RunsTheCommandFileByItsBareName) {
    testing_support::MsgBoxRecorder boxes;
    ShellExecuteRecorder shell;
    common::ShowDesktop(false);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, "Show Desktop.scf");
    EXPECT_EQ(shell.calls[0].show, 10);
    EXPECT_EQ(boxes.Count(), 0u);
}

namespace {

// Posts `messages` to the blank screen once its modal loop runs, then checks it is still
// up before the closing message follows.
struct BlankScreenScript {
    static inline std::vector<std::pair<UINT, WPARAM>> before;
    static inline std::pair<UINT, WPARAM> closing;
    static inline bool openAfterPresses = false;
    static inline int step = 0;
    static inline HWND window = nullptr;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND screen = nullptr;
        for (HWND w = FindWindowExA(nullptr, nullptr, "SorvitaForm", nullptr); w;
             w = FindWindowExA(nullptr, w, "SorvitaForm", nullptr))
            if (IsWindowVisible(w) && (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST)) screen = w;
        if (!screen) return;
        window = screen;
        if (step == 0) {
            for (auto [message, wParam] : before) PostMessageA(screen, message, wParam, MAKELPARAM(10, 10));
            step = 1;
        } else {
            openAfterPresses = IsWindow(screen) && IsWindowVisible(screen);
            PostMessageA(screen, closing.first, closing.second, MAKELPARAM(10, 10));
            KillTimer(nullptr, id);
        }
    }
    static void Run(std::vector<std::pair<UINT, WPARAM>> presses, std::pair<UINT, WPARAM> release) {
        before = std::move(presses);
        closing = release;
        openAfterPresses = false;
        step = 0;
        window = nullptr;
        UINT_PTR timer = SetTimer(nullptr, 0, 30, &Tick);
        common::ShowBlankScreen();
        KillTimer(nullptr, timer);
    }
};

// The program's other window, so that closing the blank screen does not end the message loop.
class HostForm : public platform::Form {};

}  // namespace

TEST(BlankScreen, CoversTheScreenInBlackAboveAllWithoutAPointer) {
    HostForm host;
    host.Load();
    common::frmBlankScreen screen;
    screen.Load();
    RECT rect{};
    GetWindowRect(screen.hWnd(), &rect);
    // Every monitor: on one, the screen.
    EXPECT_EQ(rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_TRUE(GetWindowLongA(screen.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    LONG style = GetWindowLongA(screen.hWnd(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));

    // Painted black.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetPixel(dc, 3, 3, RGB(255, 255, 255));
    SendMessageA(screen.hWnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);

    // The pointer over it: a 32 x 32 cursor whose mask keeps the screen and whose image adds nothing.
    SendMessageA(screen.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(screen.hWnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_NE(screen.Cursor(), nullptr);
    EXPECT_EQ(GetCursor(), screen.Cursor());
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(screen.Cursor(), &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    std::vector<BYTE> bits(static_cast<size_t>(mask.bmWidthBytes) * mask.bmHeight);
    GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data());
    size_t half = bits.size() / 2;  // monochrome: AND plane above, XOR plane below
    if (info.hbmColor) half = bits.size();
    for (size_t i = 0; i < half; ++i) ASSERT_EQ(bits[i], 0xFF) << i;
    for (size_t i = half; i < bits.size(); ++i) ASSERT_EQ(bits[i], 0x00) << i;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    screen.Unload();
}

TEST(BlankScreenTwoMonitors, CoversBothMonitors) {
    if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "one monitor";
    HostForm host;
    host.Load();
    common::frmBlankScreen screen;
    screen.Load();
    ShowWindow(screen.hWnd(), SW_SHOWNA);
    for (const common::MonitorBox& m : common::GetDeskMonitors())
        for (const POINT& at : {POINT{m.Left, m.Top}, POINT{m.Right - 1, m.Bottom - 1}})
            EXPECT_EQ(WindowFromPoint(at), screen.hWnd()) << at.x << "," << at.y;
    screen.Unload();
}

TEST(BlankScreen, ClosesOnKeyReleaseNotOnPressOrMove) {
    HostForm host;
    host.Load();
    BlankScreenScript::Run({{WM_KEYDOWN, 'A'}, {WM_SYSKEYDOWN, VK_F4}, {WM_MOUSEMOVE, 0}}, {WM_KEYUP, 'A'});
    EXPECT_TRUE(BlankScreenScript::openAfterPresses);
    EXPECT_FALSE(IsWindow(BlankScreenScript::window));
}

TEST(BlankScreen, ClosesOnMouseButtonReleaseAndIsFreshEachTime) {
    HostForm host;
    host.Load();
    BlankScreenScript::Run({{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_RBUTTONDOWN, MK_RBUTTON}}, {WM_RBUTTONUP, 0});
    EXPECT_TRUE(BlankScreenScript::openAfterPresses);
    HWND first = BlankScreenScript::window;
    EXPECT_FALSE(IsWindow(first));

    BlankScreenScript::Run({{WM_MBUTTONDOWN, MK_MBUTTON}}, {WM_LBUTTONUP, 0});
    EXPECT_TRUE(BlankScreenScript::openAfterPresses);
    EXPECT_FALSE(IsWindow(BlankScreenScript::window));
    EXPECT_TRUE(IsWindowEnabled(host.hWnd()));  // the modal screen gave the host back
}
