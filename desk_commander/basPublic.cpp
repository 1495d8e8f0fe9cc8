#include "desk_commander/basPublic.h"

#include "desk_commander/CommanderRules_.h"
#include "desk_commander/MainForm.h"
#include "platform/App.h"
#include "platform/Form.h"

namespace desk_commander {

int32_t ActivateCorner = 0;
int32_t PreventCorner = 1;
int32_t CornerSize = 3;
int32_t ActivateDelay = 1;
int32_t TrayIconIndex = 1;
int32_t SavedScreenSaveTimeout = 0;
bool CornerActivated = false;
bool CornerPrevented = false;

std::unique_ptr<MainForm> MainWindow;

namespace seams {
std::function<unsigned long(const std::string&)> StartProgram = [](const std::string& commandLine) -> unsigned long {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return GetLastError();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
};
}  // namespace seams

unsigned long StartProgram(const std::string& program, const std::string& arguments) {
    return seams::StartProgram(CommandLine(program, arguments));
}

void InitIdentity() { platform::SetAppVersion(SORVITA_VERSION_MAJOR, SORVITA_VERSION_MINOR, SORVITA_VERSION_REVISION, "Copyright (C) 2026 Sorvita. Free to use and share."); }

int Main() {
    InitIdentity();
    // 1. one copy at a time, silently; this program keeps no path record
    if (platform::App().PrevInstance()) return 0;
    // 2. the window does the rest as it loads, hidden in the tray, and the program runs until it unloads
    MainWindow = std::make_unique<MainForm>();
    MainWindow->Load();
    const int exitCode = platform::Form::RunMessageLoop();
    MainWindow.reset();
    return exitCode;
}

}  // namespace desk_commander
