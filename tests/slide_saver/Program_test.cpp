// Slide Saver as Windows starts it: the switches of its command line, one show and one
// setup dialog at a time, the live preview inside another program's window.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "SaverHarness.h"
#include "common/CheckWindowsVersion_.h"
#include "platform/Handles.h"
#include "platform/SaverPassword.h"

namespace {

const char kTitle[] = "Sorvita Slide Saver";
const char kSetupCaption[] = "Sorvita Slide Saver Setup";
const char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Sorvita Slide Saver.scr";
const char kSettingsKey[] = "Software\\VB and VBA Program Settings\\Sorvita Slide Saver\\Settings";

std::string SaverExe() { return testing_support::WinePathFromEnv("SORVITA_SAVER_EXE"); }

// The program started with a command line, ended at the latest when the test is done.
class Started {
public:
    explicit Started(const std::string& arguments) {
        const std::string exe = SaverExe();
        std::string commandLine = "\"" + exe + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &info)) {
            process_.reset(info.hProcess);
            CloseHandle(info.hThread);
            id_ = info.dwProcessId;
        }
    }
    ~Started() {
        if (process_.get() && WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
    }
    // Its visible top-level window with that caption, waited for.
    HWND Window(const std::string& caption) const {
        for (int i = 0; i < 200; ++i) {
            if (HWND found = testing_support::FindTopWindows(caption, id_).mine) return found;
            Sleep(50);
        }
        return nullptr;
    }
    // The exit code, or -1 while it still runs after `ms`.
    long Ended(DWORD ms) const {
        if (WaitForSingleObject(process_.get(), ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 1;
        GetExitCodeProcess(process_.get(), &code);
        return static_cast<long>(code);
    }
    DWORD Id() const { return id_; }

private:
    platform::UniqueHandle process_;
    DWORD id_ = 0;
};

std::string BoxText(HWND box) {
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

class SaverProgram : public ::testing::Test {
protected:
    SaverProgram() { testing_support::RegDeleteTree(HKEY_CURRENT_USER, kSettingsKey); }
    ~SaverProgram() override { testing_support::RegDeleteTree(HKEY_CURRENT_USER, kSettingsKey); }
};

TEST_F(SaverProgram, FullScreenRunRegistersItselfAndAllowsOneCopy) {
    ASSERT_FALSE(SaverExe().empty()) << "SORVITA_SAVER_EXE is not set";
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, kAppPathsKey);
    Started show("/S");
    HWND window = show.Window(kTitle);
    ASSERT_TRUE(window);
    RECT area{};
    GetWindowRect(window, &area);
    EXPECT_EQ(area.right - area.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(area.bottom - area.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(testing_support::RegString(HKEY_CURRENT_USER, kSettingsKey, "App Path"), SaverExe());
    EXPECT_EQ(testing_support::RegString(HKEY_LOCAL_MACHINE, kAppPathsKey, ""), SaverExe());

    // A second show ends at once; a setup dialog is another matter.
    EXPECT_EQ(testing_support::RunProgram(SaverExe(), "/s", 20000), 0);
    {
        Started setup("/c:1234");
        HWND dialog = setup.Window(kSetupCaption);
        EXPECT_TRUE(dialog);
        // ... and a second setup request ends at once while this one is open.
        EXPECT_EQ(testing_support::RunProgram(SaverExe(), "", 20000), 0);
        EXPECT_EQ(testing_support::FindTopWindows(kSetupCaption, 0).all.size(), 1u);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_EQ(setup.Ended(20000), 0);
    }
    // Any key ends the show, and with it the program.
    PostMessageA(window, WM_KEYDOWN, 'Q', 0);
    EXPECT_EQ(show.Ended(20000), 0);
    EXPECT_EQ(testing_support::RegString(HKEY_CURRENT_USER, kSettingsKey, "Best Fit"), "False") << "toggles saved";
}

// The file's version resource: the numbers and the text, as the file's properties show them.
std::string FileVersion(const std::string& exe) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    char* text = nullptr;
    UINT length = 0;
    if (!size || !GetFileVersionInfoA(exe.c_str(), 0, size, data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        !VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\FileVersion", reinterpret_cast<void**>(&text),
                        &length))
        return "";
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
           "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS)) +
           " " + text;
}

TEST(SaverVersion, RevisionOneOfItsOwnWhileTheOthersKeepTheSuites) {
    EXPECT_EQ(FileVersion(SaverExe()), "2.0.0.1 2.0.0.1");
    EXPECT_EQ(FileVersion(testing_support::WinePathFromEnv("SORVITA_GALLERY_EXE")), "2.0.0.0 2.0.0.0");
}

TEST_F(SaverProgram, PreviewLivesInsideTheGivenWindowUntilItGoes) {
    HWND host = CreateWindowExA(0, "STATIC", "preview area", WS_POPUP | WS_VISIBLE, 100, 100, 152, 112, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(host);
    Started preview("/p " + std::to_string(reinterpret_cast<uintptr_t>(host)));
    HWND child = nullptr;
    // Found once it is placed and shown, its last step: it is a child a moment before that.
    for (int i = 0; i < 200 && !(child && IsWindowVisible(child)); ++i) {
        testing_support::PumpMessages();
        Sleep(50);
        child = FindWindowExA(host, nullptr, nullptr, "Preview");
    }
    ASSERT_TRUE(child) << "no preview window inside the host";
    EXPECT_TRUE(GetWindowLongA(child, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(GetAncestor(child, GA_PARENT), host);
    RECT area{};
    GetWindowRect(child, &area);
    EXPECT_EQ(area.right - area.left, 152);
    EXPECT_EQ(area.bottom - area.top, 112);
    EXPECT_EQ(preview.Ended(500), -1);
    DestroyWindow(host);
    EXPECT_EQ(preview.Ended(20000), 0) << "the preview ends with the window that holds it";
}

TEST_F(SaverProgram, BadPreviewHandleIsReportedAndEnds) {
    for (const char* arguments : {"/p", "/p 4294967296", "/p 123456789"}) {
        Started preview(arguments);
        HWND box = preview.Window(kTitle);
        ASSERT_TRUE(box) << arguments;
        EXPECT_EQ(BoxText(box),
                  "Screen saver could not determine the handle of the preview area of the Display Properties dialog.");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(preview.Ended(20000), 0) << arguments;
    }
}

TEST_F(SaverProgram, PasswordSwitchOpensTheSetupDialogOnWindowsNt) {
    Started change("/a 1234");
    HWND dialog = change.Window(kSetupCaption);
    ASSERT_TRUE(dialog);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(change.Ended(20000), 0);
}

TEST(SaverPasswordChange, OlderFamilyAsksTheSystemWithTheOwnerWindow) {
    HMODULE standIn = LoadLibraryA("password.cpl");
    ASSERT_TRUE(standIn);
    using Script = void(WINAPI*)(int);
    using Owner = HWND(WINAPI*)();
    using Provider = const char*(WINAPI*)();
    const auto script = reinterpret_cast<Script>(reinterpret_cast<void*>(GetProcAddress(standIn, "StandInScript")));
    const auto owner = reinterpret_cast<Owner>(reinterpret_cast<void*>(GetProcAddress(standIn, "StandInLastOwner")));
    const auto provider =
        reinterpret_cast<Provider>(reinterpret_cast<void*>(GetProcAddress(standIn, "StandInLastProvider")));
    // Windows 98, whose password change comes from the stand-in.
    platform::ScopedSeam<std::function<BOOL(OSVERSIONINFOA*)>> version(
        common::seams::GetVersionExA, [](OSVERSIONINFOA* info) {
            info->dwMajorVersion = 4;
            info->dwMinorVersion = 10;
            info->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
            return TRUE;
        });
    platform::ScopedSeam<std::function<HMODULE(const char*)>> library(
        platform::seams::LoadPasswordLibrary,
        [](const char* name) { return LoadLibraryA(lstrcmpiA(name, "mpr.dll") == 0 ? "password.cpl" : name); });
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    script(1);
    EXPECT_EQ(slide_saver::Main("/a " + std::to_string(reinterpret_cast<uintptr_t>(window))), 0);
    EXPECT_STREQ(provider(), "SCRSAVE");
    EXPECT_EQ(owner(), window);
    script(1);
    EXPECT_EQ(slide_saver::Main("/A 77"), 0);
    EXPECT_STREQ(provider(), "SCRSAVE");
    EXPECT_EQ(owner(), nullptr) << "not a window: no owner";
    DestroyWindow(window);
    EXPECT_TRUE(slide_saver::IsWin9x);
    slide_saver::IsWin9x = false;
    FreeLibrary(standIn);
}

TEST(SaverPasswordChange, MissingServicesMeanNoPassword) {
    platform::ScopedSeam<std::function<HMODULE(const char*)>> library(
        platform::seams::LoadPasswordLibrary, [](const char*) { return static_cast<HMODULE>(nullptr); });
    EXPECT_TRUE(platform::VerifyScreenSaverPassword(nullptr));
    EXPECT_FALSE(platform::ChangeScreenSaverPassword(nullptr));
}

}  // namespace
