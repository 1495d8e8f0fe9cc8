#include "slide_saver/basSSaver.h"

#include <windows.h>

#include "common/CheckWindowsVersion_.h"
#include "common/GetDesktopSize_.h"
#include "common/SettingsApp_.h"
#include "platform/App.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/SaverPassword.h"
#include "slide_saver/frmSSaver.h"
#include "slide_saver/frmSSetup.h"

namespace slide_saver {

SaverSettingsRecord SaverSettings;
bool IsWin9x = false;
bool InPreviewPane = false;
bool ShownFromSetup = false;
bool OpenedFromDisplayProperties = false;
std::unique_ptr<frmSSaver> SaverWindow;

namespace {

HWND ExistingWindow(uint32_t handle) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
    return handle && IsWindow(window) ? window : nullptr;
}

int ShowPreview(HWND host) {
    LoadSaverSettings();
    InPreviewPane = true;
    SaverWindow = std::make_unique<frmSSaver>();
    SaverWindow->Load();
    HWND self = SaverWindow->hWnd();
    // A child of the preview area, in place of the full-screen window it was made as.
    SetWindowLongA(self, GWL_STYLE, (GetWindowLongA(self, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
    SetParent(self, host);
    SetWindowLongPtrA(self, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(host));
    RECT area{};
    GetClientRect(host, &area);
    SetWindowPos(self, nullptr, 0, 0, area.right, area.bottom, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return platform::Form::RunMessageLoop();
}

}  // namespace

void LoadSaverSettings() {
    SaverSettings = ReadSaverSettings([](const std::string& key, const std::string& defaultText) {
        return common::GetAppSetting(kSettingsSection, key, defaultText, true);
    });
}

void SaveSaverToggles(bool quiet) {
    for (const auto& [key, text] : ToggleTexts(SaverSettings)) common::SaveAppSetting(kSettingsSection, key, text, quiet);
}

bool EndIfAlreadyRunning(int kind) {
    std::string caption = platform::App().Title;
    if (kind == kSetupDialog) caption += kSetupCaptionEnd;
    return FindWindowA(platform::Form::WindowClass(), caption.c_str()) != nullptr;
}

void ShowSaver(bool modal) {
    ShownFromSetup = modal;
    InPreviewPane = false;
    SaverWindow = std::make_unique<frmSSaver>();
    if (modal) {
        SaverWindow->ShowModal();
        if (SaverWindow->IsLoaded()) SaverWindow->Unload();
        return;
    }
    SaverWindow->Load();
    common::GetDesktopSize(false, true, "");
    SetWindowPos(SaverWindow->hWnd(), HWND_TOPMOST, 0, 0, common::DesktopArea.Width, common::DesktopArea.Height,
                 SWP_SHOWWINDOW);
    SetForegroundWindow(SaverWindow->hWnd());
    SetFocus(SaverWindow->hWnd());
}

void InitIdentity() { platform::SetAppVersion(SORVITA_VERSION_MAJOR, SORVITA_VERSION_MINOR, SORVITA_VERSION_REVISION, "Copyright (C) 2026 Sorvita. Free to use and share."); }

int Main(const std::string& commandLine) {
    InitIdentity();
    // 1. where the program lives, for Desk Commander
    common::RegisterAppPath();
    // 2. the password services exist only on the Windows 95/98 family
    IsWin9x = common::GetWindowsType() == "9x";
    // 3. what Windows asks for
    const SaverCommand command = SplitCommandLine(commandLine);
    if (command.Switch == "/p") {
        HWND host = ExistingWindow(command.Handle);
        if (!host) {
            platform::MsgBox(std::string(kBadPreviewHandle1) + kBadPreviewHandle2 + kBadPreviewHandle3,
                             platform::kMsgWarning);
            return 0;
        }
        const int exitCode = ShowPreview(host);
        SaverWindow.reset();
        return exitCode;
    }
    if (command.Switch == "/a" && IsWin9x) {
        platform::ChangeScreenSaverPassword(ExistingWindow(command.Handle));
        return 0;
    }
    if (command.Switch == "/s") {
        if (EndIfAlreadyRunning(kSaverWindow)) return 0;
        LoadSaverSettings();
        ShowSaver(false);
        const int exitCode = platform::Form::RunMessageLoop();
        SaverWindow.reset();
        return exitCode;
    }
    OpenedFromDisplayProperties = command.Switch == "/c";
    if (EndIfAlreadyRunning(kSetupDialog)) return 0;
    SetupDialog = std::make_unique<frmSSetup>();
    SetupDialog->Show();
    const int exitCode = platform::Form::RunMessageLoop();
    SaverWindow.reset();
    SetupDialog.reset();
    return exitCode;
}

}  // namespace slide_saver
