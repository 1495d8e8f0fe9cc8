// Desk Commander's window loaded for real in the test process, with the seams that a
// test scripts: message boxes, started programs, sleeping, the pointer and the screen
// saver parameters (passed to Wine's real SystemParametersInfoA unless told to fail).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/clsTaskBar.h"
#include "desk_commander/MainForm.h"
#include "desk_commander/basPublic.h"
#include "platform/App.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

namespace commander_test {

inline const char kKey[] = "Software\\VB and VBA Program Settings\\Sorvita Desk Commander\\Settings";

// The protected steps of the tray owner, reachable from the tests.
class TestMainForm : public desk_commander::MainForm {
public:
    using MainForm::BeforeTrayMenu;
};

inline void Set(const std::string& name, const std::string& value) {
    testing_support::RegSetString(HKEY_CURRENT_USER, kKey, name, value);
}

inline BOOL SaverActive() {
    BOOL active = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    return active;
}

inline UINT SaverTimeout() {
    UINT seconds = 0;
    SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0);
    return seconds;
}

// The shell's desktop icon list, which Wine's desktop lacks: Progman > SHELLDLL_DefView > SysListView32.
class StandInDesktop {
public:
    StandInDesktop() {
        for (const char* name : {"Progman", "SHELLDLL_DefView"}) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = name;
            RegisterClassA(&wc);
        }
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        progman_ = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        HWND view = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, progman_,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON, 0, 0, 300, 200, view, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    }
    ~StandInDesktop() { DestroyWindow(progman_); }
    LRESULT View() const { return SendMessageA(list_, LVM_GETVIEW, 0, 0); }

private:
    HWND progman_ = nullptr, list_ = nullptr;
};

class Commander : public ::testing::Test {
protected:
    testing_support::MsgBoxRecorder boxes;
    // Programs started, by command line; a non-zero startError makes each start fail, and
    // startForReal hands each on to the system.
    std::vector<std::string> started;
    unsigned long startError = 0;
    bool startForReal = false;
    std::function<unsigned long(const std::string&)> systemStart = desk_commander::seams::StartProgram;
    platform::ScopedSeam<std::function<unsigned long(const std::string&)>> starter{
        desk_commander::seams::StartProgram, [this](const std::string& line) {
            started.push_back(line);
            return startForReal ? systemStart(line) : startError;
        }};
    // Sleeps are recorded, and may move the pointer as time passes.
    std::vector<DWORD> sleeps;
    std::function<void()> whileSleeping;
    platform::ScopedSeam<std::function<void(DWORD)>> sleeper{platform::seams::Sleep, [this](DWORD ms) {
                                                                 sleeps.push_back(ms);
                                                                 if (whileSleeping) whileSleeping();
                                                             }};
    POINT pointer{500, 400};
    platform::ScopedSeam<std::function<BOOL(POINT*)>> cursor{platform::seams::GetCursorPos, [this](POINT* p) {
                                                                 *p = pointer;
                                                                 return TRUE;
                                                             }};
    // SystemParametersInfoA codes that fail; the rest reach Wine.
    std::set<UINT> failingParameters;
    platform::ScopedSeam<std::function<BOOL(UINT, UINT, void*, UINT)>> parameters{
        platform::seams::SystemParametersInfoA, [this](UINT action, UINT ui, void* pv, UINT flags) -> BOOL {
            if (failingParameters.count(action)) return FALSE;
            return ::SystemParametersInfoA(action, ui, pv, flags);
        }};
    std::unique_ptr<TestMainForm> window = std::make_unique<TestMainForm>();
    UINT savedTimeout = 0;

    void SetUp() override {
        desk_commander::InitIdentity();
        platform::App().Title = "Sorvita Desk Commander";
        testing_support::RegDeleteTree(HKEY_CURRENT_USER, kKey);
        desk_commander::CornerActivated = desk_commander::CornerPrevented = false;
        desk_commander::SavedScreenSaveTimeout = 0;
        savedTimeout = SaverTimeout();
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDWININICHANGE);
    }
    void TearDown() override {
        if (window->IsLoaded()) {
            boxes.Answer(IDNO);
            window->Unload();
        }
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDWININICHANGE);
        SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, savedTimeout, nullptr, SPIF_SENDWININICHANGE);
    }
    void Load() {
        window->Load();
        testing_support::PumpMessages();
    }
    // The icon last handed to the shell.
    HICON ShellIcon() const { return common::TaskBar().Record().hIcon; }
};

}  // namespace commander_test
