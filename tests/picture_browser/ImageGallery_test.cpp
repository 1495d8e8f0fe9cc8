// Image Gallery as a program: where it lives, one copy at a time, the browser on its own.
// And the browser's timing on a large folder, run by scripts/bench-gallery.
#include <algorithm>
#include <cstdio>

#include <windows.h>
#include <psapi.h>

#include "BrowserHarness.h"
#include "common/FFF.h"
#include "picture_browser/BrowserRules_.h"
#include "platform/Handles.h"
#include "platform/Text.h"

using namespace browser_test;
using testing_support::RegString;
using testing_support::RegValueExists;

namespace {

const char kSettingsKey[] = "Software\\VB and VBA Program Settings\\Sorvita Image Gallery";
const char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Sorvita Image Gallery.exe";

BOOL CALLBACK FindCountLine(HWND hwnd, LPARAM data) {
    char text[512] = {};
    // Another process's control: only WM_GETTEXT reads its text.
    SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (strstr(text, " found in ")) {
        *reinterpret_cast<std::string*>(data) = text;
        return FALSE;
    }
    return TRUE;
}

// The processor time a process has used, in milliseconds: on a shared machine it says what
// the wall-clock figures cannot.
double CpuMilliseconds(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    const auto ticks = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}

// This process's working set.
std::string MemoryFigures() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    char text[48];
    snprintf(text, sizeof text, "working set %.1f MiB", counters.WorkingSetSize / 1048576.0);
    return text;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1000.0 / frequency.QuadPart;
}

}  // namespace

TEST(ImageGallery, RunsOnceOnItsOwnAtTheCurrentFolderAndRegistersWhereItLives) {
    const std::string exe = testing_support::WinePathFromEnv("SORVITA_GALLERY_EXE");
    ASSERT_FALSE(exe.empty()) << "SORVITA_GALLERY_EXE is not set";
    testing_support::RegDeleteTree(HKEY_CURRENT_USER, kSettingsKey);
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, kAppPathsKey);
    testing_support::TempFolder start("gallery-start");
    WriteBitmap(start.File("one.bmp"), 10, 10);
    WriteBitmap(start.File("two.bmp"), 10, 10);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + exe + "\" ignored arguments";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               start.Path().c_str(), &startup, &process));
    platform::UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    testing_support::TopWindows windows;
    for (int i = 0; i < 200 && !windows.mine; ++i) {
        Sleep(50);
        windows = testing_support::FindTopWindows(kGalleryTitle, process.dwProcessId);
    }
    ASSERT_TRUE(windows.mine) << "no window";

    // Registered where it runs.
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\Settings", "App Path"), exe);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kAppPathsKey, ""), exe);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path"), exe.substr(0, exe.rfind('\\') + 1));
    // The browser on its own, in folder mode at the current folder, with no history yet.
    std::string countLine;
    EnumChildWindows(windows.mine, FindCountLine, reinterpret_cast<LPARAM>(&countLine));
    EXPECT_EQ(countLine, "2 pic files found in " + start.Path());
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\Browse Pics", "Folder 00"));

    // A second copy, from another folder: it refreshes the records, shows nothing and ends.
    testing_support::TempFolder moved("gallery-moved");
    const std::string copy = moved.File("Sorvita Image Gallery.exe");
    ASSERT_TRUE(CopyFileA(exe.c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(testing_support::RunProgram(copy, "", 20000), 0);
    EXPECT_EQ(testing_support::FindTopWindows(kGalleryTitle, process.dwProcessId).all.size(), 1u);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\Settings", "App Path"), copy);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path"), moved.Path() + "\\");

    // Closing its only window ends the program and writes the history.
    PostMessageA(windows.mine, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\Browse Pics", "Folder 00"), "");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\Browse Pics", "Folder 19"), "");
}

// Prints the time to list a large folder and from a click to the picture shown. Run by
// scripts/bench-gallery with SORVITA_BENCH_FOLDER naming the folder; no timed asserts.
TEST_F(BrowserHarness, DISABLED_BenchLargeFolder) {
    const std::string folder = testing_support::WinePathFromEnv("SORVITA_BENCH_FOLDER");
    if (folder.empty()) GTEST_SKIP() << "SORVITA_BENCH_FOLDER is not set";
    auto& form = OpenOwn();
    form.Show();
    testing_support::PumpMessages();

    LARGE_INTEGER t0, t1;
    std::vector<std::string> names;
    printf("reading: before, %s\n", MemoryFigures().c_str());
    {
        // What the system's own reading of the folder leaves in the working set.
        std::vector<unsigned long long> buffer;
        common::ForEachFolderEntry(platform::Wide(folder + "\\"), buffer, [](const FILE_ID_BOTH_DIR_INFO&) {});
        printf("reading the folder's entries, nothing kept: %s\n", MemoryFigures().c_str());
    }

    QueryPerformanceCounter(&t0);
    double cpu = CpuMilliseconds(GetCurrentProcess());
    picture_browser::ListPictureNames(folder, picture_browser::kPicturePattern, names);
    QueryPerformanceCounter(&t1);
    printf("reading the folder's names alone: %.0f ms (processor %.0f ms)\n", Milliseconds(t0, t1),
           CpuMilliseconds(GetCurrentProcess()) - cpu);
    printf("reading: the names read, %s\n", MemoryFigures().c_str());
    {
        // What a list box of as many names holds of its own.
        HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 0, 0, 100, 100, form.hWnd(), nullptr, nullptr, nullptr);
        SendMessageA(list, LB_INITSTORAGE, names.size(), names.size() * 16);
        for (const std::string& name : names) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        printf("reading: the names in a list box of their own too, %s\n", MemoryFigures().c_str());
        DestroyWindow(list);
    }
    names = {};
    printf("reading: the names and the list box let go, %s\n", MemoryFigures().c_str());
    QueryPerformanceCounter(&t0);
    cpu = CpuMilliseconds(GetCurrentProcess());
    ASSERT_TRUE(form.PicsFolder.SetPath(folder));
    QueryPerformanceCounter(&t1);
    const int count = form.PicsFileList.ListCount();
    printf("listing %d pictures: %.0f ms, processor %.0f ms (target under 1000 ms)\n", count, Milliseconds(t0, t1),
           CpuMilliseconds(GetCurrentProcess()) - cpu);
    printf("listing: done, %s\n", MemoryFigures().c_str());
    ASSERT_GT(count, 0);

    std::vector<double> times;
    for (int index : {0, count / 2, count - 1, count / 3, 7, count / 4, count / 5, count - 2}) {
        QueryPerformanceCounter(&t0);
        Choose(form.PicsFileList, index);  // returns with the picture painted
        QueryPerformanceCounter(&t1);
        EXPECT_TRUE(form.Pane.PictureLoaded());
        times.push_back(Milliseconds(t0, t1));
        testing_support::PumpMessages();
    }
    std::sort(times.begin(), times.end());
    printf("click to picture shown (%s, %d x %d): median %.0f ms, best %.0f ms, worst %.0f ms (target under 150 ms)\n",
           form.labPicInfo.Text().c_str(), form.Pane.Picture().Width(), form.Pane.Picture().Height(),
           times[times.size() / 2], times.front(), times.back());
    Click(form.cmdGraphicDisplay);
    QueryPerformanceCounter(&t0);
    Choose(form.PicsFileList, 1);
    QueryPerformanceCounter(&t1);
    printf("click to picture shown at its own size (Normal): %.0f ms\n", Milliseconds(t0, t1));
}

// Prints, for the folder of large photos named in SORVITA_BENCH_PHOTOS, the time from "-->"
// to the next photo on screen, each step after a viewer's look at the photo before: the first
// step and the median of the others, with the read-ahead and without it (what was read ahead
// dropped before each step). Run by scripts/bench-gallery; no timed asserts.
TEST_F(BrowserHarness, DISABLED_BenchNextPhoto) {
    const std::string folder = testing_support::WinePathFromEnv("SORVITA_BENCH_PHOTOS");
    if (folder.empty()) GTEST_SKIP() << "SORVITA_BENCH_PHOTOS is not set";
    auto& form = OpenOwn();
    form.Show();
    ASSERT_TRUE(form.PicsFolder.SetPath(folder));
    const int count = form.PicsFileList.ListCount();
    ASSERT_GT(count, 2);
    for (const bool readAhead : {true, false}) {
        Choose(form.PicsFileList, 0);
        std::vector<double> times;
        for (int step = 1; step < count; ++step) {
            for (const DWORD start = GetTickCount(); GetTickCount() - start < 1500;) {
                testing_support::PumpMessages();
                Sleep(10);
            }
            if (!readAhead) form.ReadAhead.Cancel();
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            Click(form.cmdNext);
            UpdateWindow(form.hWnd());
            QueryPerformanceCounter(&t1);
            ASSERT_EQ(form.PicsFileList.ListIndex(), step);
            ASSERT_TRUE(form.Pane.PictureLoaded());
            times.push_back(Milliseconds(t0, t1));
        }
        std::sort(times.begin() + 1, times.end());
        printf("next photo on screen (%d x %d), %s: first step %.0f ms, median of the next %zu %.0f ms%s\n",
               form.Pane.Picture().Width(), form.Pane.Picture().Height(),
               readAhead ? "read ahead" : "not read ahead", times[0], times.size() - 1,
               times[1 + (times.size() - 1) / 2], readAhead ? " (target under 60 ms)" : "");
    }
}

// Prints, for each folder named in SORVITA_BENCH_START_FOLDERS (separated by ";"), the time
// from starting Image Gallery in that folder to its count line on screen, and the program's
// working set then. The first folder is the baseline the working sets are compared with.
// Run by scripts/bench-gallery; no timed asserts.
TEST(ImageGallery, DISABLED_BenchStartToCountLine) {
    const std::string exe = testing_support::WinePathFromEnv("SORVITA_GALLERY_EXE");
    const char* list = getenv("SORVITA_BENCH_START_FOLDERS");
    if (exe.empty() || !list) GTEST_SKIP() << "SORVITA_GALLERY_EXE or SORVITA_BENCH_START_FOLDERS is not set";
    std::vector<std::string> folders;
    for (std::string rest = list; !rest.empty();) {
        const size_t end = rest.find(';');
        folders.push_back(testing_support::WinePath(rest.substr(0, end)));
        rest = end == std::string::npos ? "" : rest.substr(end + 1);
    }
    double baseline = 0;
    for (size_t f = 0; f < folders.size(); ++f) {
        // No history: the program lists the folder it starts in.
        testing_support::RegDeleteTree(HKEY_CURRENT_USER, kSettingsKey);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::string commandLine = "\"" + exe + "\"";
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        ASSERT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   folders[f].c_str(), &startup, &process));
        platform::UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
        std::string countLine;
        HWND window = nullptr;
        for (int i = 0; i < 60000 && countLine.find(folders[f]) == std::string::npos; ++i) {
            if (!window) window = testing_support::FindTopWindows(kGalleryTitle, process.dwProcessId).mine;
            if (window) EnumChildWindows(window, FindCountLine, reinterpret_cast<LPARAM>(&countLine));
            if (countLine.find(folders[f]) == std::string::npos) Sleep(2);
        }
        QueryPerformanceCounter(&t1);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        K32GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters);
        const double mib = counters.WorkingSetSize / 1048576.0;
        if (f == 0) baseline = mib;
        printf("start to count line \"%s\": %.0f ms (the program's processor time %.0f ms), working set %.1f MiB "
               "(%+.1f MiB on the first folder)\n",
               countLine.substr(0, countLine.find(" found in ")).c_str(), Milliseconds(t0, t1),
               CpuMilliseconds(process.hProcess), mib, mib - baseline);
        if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    }
    testing_support::RegDeleteTree(HKEY_CURRENT_USER, kSettingsKey);
}
