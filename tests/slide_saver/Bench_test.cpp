// Figures for scripts/bench-saver (not run by the test suite): the time from the N key to
// the next picture on screen, whether the screen ever shows bare background between two
// pictures, and the program's peak working set while it shows a 12-megapixel picture.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "SaverHarness.h"
#include "platform/Handles.h"

using namespace slide_saver;

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Samples the screen while pictures change, counting samples of bare black background.
class BlankWatch {
public:
    void Start() {
        running_ = true;
        thread_ = std::thread([this] {
            HDC screen = GetDC(nullptr);
            const POINT points[] = {{512, 384}, {100, 100}, {900, 650}, {100, 650}, {900, 100}};
            while (running_) {
                for (POINT p : points) {
                    ++samples_;
                    if (GetPixel(screen, p.x, p.y) == RGB(0, 0, 0)) ++black_;
                }
            }
            ReleaseDC(nullptr, screen);
        });
    }
    void Stop() {
        running_ = false;
        if (thread_.joinable()) thread_.join();
    }
    long Samples() const { return samples_; }
    long Black() const { return black_; }

private:
    std::atomic<bool> running_{false};
    std::atomic<long> samples_{0}, black_{0};
    std::thread thread_;
};

class SaverBench : public saver_test::SaverTest {};

TEST_F(SaverBench, DISABLED_BenchNextPicture) {
    const std::string pictures = testing_support::WinePathFromEnv("SORVITA_BENCH_FOLDER");
    ASSERT_FALSE(pictures.empty()) << "SORVITA_BENCH_FOLDER is not set";
    const int rounds = 5;
    for (bool bestFit : {false, true}) {
        SaverSettings = {};
        SaverSettings.PicsFolder = pictures;
        SaverSettings.BestFit = bestFit;
        frmSSaver& show = Open();
        // Paused, N shows the next picture at once.
        SendMessageA(show.hWnd(), WM_KEYDOWN, 'P', 0);
        UpdateWindow(show.hWnd());
        long black = 0, samples = 0;
        std::vector<double> times[2];
        // Timed first, then watched: the watching itself slows the screen down.
        for (int i = 0; i < 4 * rounds; ++i) {
            // A look at the picture before N, time for the next one to be read ahead.
            for (const DWORD start = GetTickCount(); GetTickCount() - start < 1500;) {
                testing_support::PumpMessages();
                Sleep(10);
            }
            BlankWatch watch;
            const bool watched = i >= 2 * rounds;
            if (watched) watch.Start();
            const double start = Seconds();
            SendMessageA(show.hWnd(), WM_KEYDOWN, 'N', 0);
            RedrawWindow(show.hWnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            // On several monitors: until every monitor shows its new picture.
            for (const auto& other : show.OtherMonitors) RedrawWindow(other->hWnd(), nullptr, nullptr, RDW_UPDATENOW);
            GdiFlush();
            const double elapsed = Seconds() - start;
            const int shown = show.Pick.CurrentIndex;  // 1: the 12-megapixel picture ("big"), 2: "medium"
            testing_support::PumpMessages();
            Sleep(100);
            if (!watched) {
                times[shown - 1].push_back(elapsed);
                continue;
            }
            watch.Stop();
            black += watch.Black();
            samples += watch.Samples();
        }
        for (int which : {1, 0}) {
            std::vector<double>& t = times[which];
            std::sort(t.begin(), t.end());
            printf("next picture %s, %s, %d monitor(s): median %.0f ms, worst %.0f ms over %zu changes\n",
                   which == 0 ? "12 MP" : "2 MP", bestFit ? "best fit" : "own size",
                   1 + static_cast<int>(show.OtherMonitors.size()), 1000 * t[t.size() / 2], 1000 * t.back(),
                   t.size());
        }
        printf("bare background seen between pictures (%s): %ld of %ld screen samples\n",
               bestFit ? "best fit" : "own size", black, samples);
        SaverWindow.reset();
    }
}

// The program's peak working set after 8 seconds of a show that changes every second.
double PeakOfShow(const std::string& exe, const std::string& folder, bool bestFit) {
    const std::string key = "Software\\VB and VBA Program Settings\\Sorvita Slide Saver\\Settings";
    testing_support::RegSetString(HKEY_CURRENT_USER, key, "Pics Folder", folder);
    testing_support::RegSetString(HKEY_CURRENT_USER, key, "Best Fit", bestFit ? "True" : "False");
    testing_support::RegSetString(HKEY_CURRENT_USER, key, "Show Delay", "1");
    std::string commandLine = "\"" + exe + "\" /s";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return 0;
    platform::UniqueHandle process(info.hProcess), thread(info.hThread);
    Sleep(8000);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(process.get(), &counters, sizeof counters);
    TerminateProcess(process.get(), 0);
    WaitForSingleObject(process.get(), 5000);
    testing_support::RegDeleteTree(HKEY_CURRENT_USER, key);
    return counters.PeakWorkingSetSize / 1048576.0;
}

TEST(SaverBenchProgram, DISABLED_BenchPeakWorkingSet) {
    const std::string exe = testing_support::WinePathFromEnv("SORVITA_SAVER_EXE");
    const std::string big = testing_support::WinePathFromEnv("SORVITA_BENCH_BIG_FOLDER");
    const std::string tiny = testing_support::WinePathFromEnv("SORVITA_BENCH_TINY_FOLDER");
    ASSERT_FALSE(exe.empty() || big.empty() || tiny.empty());
    const double pixelMiB = 4000.0 * 3000 * 4 / 1048576;
    const int monitors = GetSystemMetrics(SM_CMONITORS);
    const double baseline = PeakOfShow(exe, tiny, false);
    printf("peak working set of the program showing a 64 x 48 picture (its base under Wine): %.1f MiB\n", baseline);
    for (bool bestFit : {false, true}) {
        const double peak = PeakOfShow(exe, big, bestFit);
        printf("peak working set showing 12 MP pictures one after another (%s, %d monitor(s)): %.1f MiB, %.1f MiB "
               "above the base (limit 2 x %.1f MiB + %d x 16 MiB = %.1f MiB, and one picture read ahead: %.1f MiB)\n",
               bestFit ? "best fit" : "own size", monitors, peak, peak - baseline, pixelMiB, monitors,
               2 * pixelMiB + 16.0 * monitors, 3 * pixelMiB + 16.0 * monitors);
    }
}

}  // namespace
