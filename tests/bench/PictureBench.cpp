// Measures FindFiles against a plain FindFirstFileA walk of the same tree and against the
// list box search it replaced, SetWallpaper of a large JPEG or PNG (time and peak working set),
// and SetWallpaper of a photo stored turned against the same photo without its orientation
// tag. Prints figures; asserts nothing.
//   picture_bench find FOLDER [ROUNDS]
//   picture_bench wallpaper PICTURE [BMP]
//   picture_bench turned PLAIN_JPEG TAGGED_JPEG [ROUNDS]
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <string>
#include <vector>

#include "ListBoxFinder.h"
#include "common/FolderWalk_.h"
#include "common/FileFolderFunctions_.h"
#include "common/WindowsWallpaper_.h"
#include "platform/Picture.h"

namespace {

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool IsPicture(const char* name) {
    const char* dot = std::strrchr(name, '.');
    if (!dot) return false;
    std::string ext(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".jpg" || ext.rfind(".jpe", 0) == 0 || ext == ".gif" || ext == ".bmp";
}

// What a program without the listing engine would do: one recursive FindFirstFileA pass.
long PlainWalk(const std::string& folder, std::vector<std::string>& found) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return 0;
    std::vector<std::string> subfolders;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (std::strcmp(data.cFileName, ".") && std::strcmp(data.cFileName, ".."))
                subfolders.push_back(folder + "\\" + data.cFileName);
        } else if (IsPicture(data.cFileName)) {
            found.push_back(folder + "\\" + data.cFileName);
        }
    } while (FindNextFileA(search, &data));
    FindClose(search);
    for (const std::string& sub : subfolders) PlainWalk(sub, found);
    return static_cast<long>(found.size());
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The plain walk, FindFiles, and the list box search FindFiles replaced, in turns in one run,
// so that the file cache and the machine's load treat them alike.
int Find(const std::string& folder, int rounds) {
    std::vector<double> plain, finder, listBox;
    long plainCount = 0, finderCount = 0, listBoxCount = 0;
    bool same = true;
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::string> found;
        found.reserve(100000);
        double start = Seconds();
        plainCount = PlainWalk(folder, found);
        plain.push_back(Seconds() - start);

        start = Seconds();
        finderCount = common::FindFiles(folder, common::PicFileSpec(false), true, false);
        finder.push_back(Seconds() - start);
        const std::vector<std::string> files = common::PicFiles, folders = common::PicFolders;

        start = Seconds();
        listBoxCount = testing_support::ListBoxFinder::FindFiles(folder, common::PicFileSpec(false), true, false);
        listBox.push_back(Seconds() - start);
        same = same && files == common::PicFiles && folders == common::PicFolders;

        std::printf("  round %d: plain walk %.3f s (%ld files), FindFiles %.3f s (%ld files, %ld folders), "
                    "list box search %.3f s (%ld files)\n",
                    round + 1, plain.back(), plainCount, finder.back(), finderCount,
                    common::UBound(common::PicFolders) + 1, listBox.back(), listBoxCount);
        std::fflush(stdout);
    }
    const double p = Median(plain), f = Median(finder), l = Median(listBox);
    std::printf("plain FindFirstFileA walk median %.3f s\n", p);
    std::printf("FindFiles median %.3f s: %.2fx the plain walk (target at most 2x, aim 1.3x)\n", f, f / p);
    std::printf("list box search (before) median %.3f s: %.2fx the plain walk\n", l, l / p);
    std::printf("FindFiles and the list box search found %s\n",
                same ? "the same files and folders in the same order" : "DIFFERENT files or folders");
    return plainCount == finderCount && same ? 0 : 1;
}

double PeakMB() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / (1024.0 * 1024.0);
}

// As Backdrop Changer hangs it, with more picture types on.
int Wallpaper(const std::string& path, const std::string& bitmap) {
    const double peakBefore = PeakMB();
    const double start = Seconds();
    std::string error;
    bool set = false;
    int width = 0, height = 0;
    double loaded = 0, peakLoaded = 0;
    {
        platform::Picture picture = platform::Picture::Load(path, &error, true);
        picture.Flatten(GetSysColor(COLOR_BACKGROUND));
        loaded = Seconds() - start;
        peakLoaded = PeakMB();
        width = picture.Width();
        height = picture.Height();
        if (!picture.Empty()) set = common::SetWallpaper(bitmap, picture, common::kStyleStretch, true);
    }
    const double elapsed = Seconds() - start;
    const double pixels = 4.0 * width * height / (1024.0 * 1024.0);
    const char* dot = std::strrchr(path.c_str(), '.');
    std::printf("SetWallpaper of a %dx%d %s (load, write %s, hang): %s in %.3f s (loading %.3f s)\n", width, height,
                dot ? dot + 1 : "picture", bitmap.c_str(), set ? "set" : ("FAILED " + error).c_str(), elapsed, loaded);
    std::printf("  peak working set %.1f MB (%.1f MB before loading, %.1f MB after loading); 32-bit pixels %.1f MB,\n"
                "  limit 2 x pixels + 16 MB = %.1f MB above the start\n",
                PeakMB(), peakBefore, peakLoaded, pixels, 2 * pixels + 16);
    return set ? 0 : 1;
}

// One SetWallpaper of a freshly loaded picture: the whole time and the loading part.
struct Hang {
    double seconds = 0, loading = 0;
    int width = 0, height = 0;
    bool set = false;
};
Hang HangOnce(const std::string& jpeg) {
    Hang hang;
    const double start = Seconds();
    platform::Picture picture = platform::Picture::Load(jpeg);
    hang.loading = Seconds() - start;
    hang.width = picture.Width();
    hang.height = picture.Height();
    if (!picture.Empty())
        hang.set = common::SetWallpaper(common::WallpaperFilePath(), picture, common::kStyleStretch, true);
    hang.seconds = Seconds() - start;
    return hang;
}

int Turned(const std::string& plain, const std::string& tagged, int rounds) {
    std::vector<double> plainTimes, taggedTimes, plainLoads, taggedLoads;
    bool allSet = true;
    HangOnce(plain);  // the file cache and the decoder's first start are no one's cost
    for (int round = 0; round < rounds; ++round) {
        // Taken in turns, so that whatever else the machine is doing falls on both alike.
        const Hang a = HangOnce(plain);
        const Hang b = HangOnce(tagged);
        allSet = allSet && a.set && b.set;
        plainTimes.push_back(a.seconds);
        plainLoads.push_back(a.loading);
        taggedTimes.push_back(b.seconds);
        taggedLoads.push_back(b.loading);
        std::printf("  round %d: without the tag %dx%d %.3f s (loading %.3f s), orientation 6 %dx%d %.3f s "
                    "(loading %.3f s)\n",
                    round + 1, a.width, a.height, a.seconds, a.loading, b.width, b.height, b.seconds, b.loading);
        std::fflush(stdout);
    }
    const double p = Median(plainTimes), t = Median(taggedTimes);
    std::printf("SetWallpaper with orientation 6 median %.3f s (loading %.3f s), without the tag %.3f s (loading "
                "%.3f s): %.2fx (target at most 1.3x)%s\n",
                t, Median(taggedLoads), p, Median(plainLoads), t / p, allSet ? "" : "; SOME FAILED");
    return allSet ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int result = 2;
    if (argc >= 3 && std::string(argv[1]) == "find")
        result = Find(argv[2], argc >= 4 ? std::max(1, std::atoi(argv[3])) : 3);
    else if (argc >= 3 && std::string(argv[1]) == "wallpaper")
        result = Wallpaper(argv[2], argc >= 4 ? argv[3] : common::WallpaperFilePath());
    else if (argc >= 4 && std::string(argv[1]) == "turned")
        result = Turned(argv[2], argv[3], argc >= 5 ? std::max(1, std::atoi(argv[4])) : 5);
    else
        std::fprintf(stderr,
                     "usage: picture_bench find FOLDER [ROUNDS] | wallpaper PICTURE [BMP] | turned PLAIN TAGGED [ROUNDS]\n");
    CoUninitialize();
    return result;
}
