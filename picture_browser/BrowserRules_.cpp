#include "picture_browser/BrowserRules_.h"

#include <algorithm>

#include "platform/Format.h"

namespace picture_browser {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCase(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = Upper(c);
    return out;
}

bool WildMatch(const char* name, const char* pattern) {
    // Iterative glob with backtracking to the last "*".
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || (*pattern && Upper(*pattern) == Upper(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

long Round(double value) { return static_cast<long>(platform::RoundHalfEven(value)); }

}  // namespace

std::string HistoryKey(int index) { return "Folder " + platform::PadNumber(index, 2); }

int UpdateHistoryList(std::vector<std::string>& items, const std::string& folder, bool addFolder) {
    if (platform::Trim(folder).empty()) return -1;
    std::string wanted = UpperCase(folder);
    int count = static_cast<int>(items.size());
    int found = -1;
    for (int i = 0; i < std::min(count, kHistoryCount); ++i)
        if (UpperCase(items[i]) == wanted) {
            found = i;
            break;
        }
    // A new folder in a full list pushes out the twentieth; a removal only ever takes
    // the folder itself, never an unrelated oldest entry.
    int removed = found >= 0 ? found : (addFolder ? kHistoryCount - 1 : -1);
    if (removed >= 0 && removed < count)
        items.erase(items.begin() + removed);
    else
        removed = -1;
    if (addFolder) items.insert(items.begin(), folder);
    return removed;
}

int NextIndex(int current, int count) {
    if (count <= 0) return -1;
    int index = current + 1;
    return index >= count ? 0 : index;
}

int PreviousIndex(int current, int count) {
    if (count <= 0) return -1;
    int index = current - 1;
    return index < 0 ? count - 1 : index;
}

int RandomIndex(int current, int count, const std::function<double()>& random) {
    if (count <= 0) return -1;
    if (count == 1) return 0;
    constexpr int kPatience = 1000;
    for (int attempt = 0; attempt < kPatience; ++attempt) {
        int index = static_cast<int>(random() * count);
        index = std::clamp(index, 0, count - 1);
        if (index != current) return index;
    }
    return NextIndex(current, count);
}

std::string FileCountText(long count, const std::string& folder) {
    return platform::FormatNumber(count, "#,0") + " pic file" + (count == 1 ? "" : "s") + " found in " + folder;
}

std::string WithBackslash(const std::string& folder) {
    return (!folder.empty() && folder.back() == '\\') ? folder : folder + "\\";
}

std::vector<std::string> SplitPatternList(const std::string& patterns) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos) end = patterns.size();
        std::string pattern = platform::Trim(patterns.substr(start, end - start));
        if (!pattern.empty()) parts.push_back(std::move(pattern));
        start = end + 1;
    }
    return parts;
}

bool MatchesAnyPattern(const std::string& name, const std::vector<std::string>& patterns) {
    for (const std::string& pattern : patterns)
        if (WildMatch(name.c_str(), pattern.c_str())) return true;
    return false;
}

bool MatchesPatternList(const std::string& name, const std::string& patterns) {
    return MatchesAnyPattern(name, SplitPatternList(patterns));
}

bool NameLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Upper(x) < Upper(y); });
}

bool SameText(const std::string& a, const std::string& b) { return UpperCase(a) == UpperCase(b); }

BrowserLayout LayoutBrowser(const LayoutInput& in) {
    BrowserLayout out;
    const long gx = Round(6 * in.TwipsPerPixelX), gy = Round(6 * in.TwipsPerPixelY);
    const long onePixel = Round(in.TwipsPerPixelX), twoPixels = Round(2 * in.TwipsPerPixelX);
    const long W = in.Width, H = in.Height;

    const long T = gy + in.FileListTextHeight + gy;
    out.FileListText = {gx, gy, W - Round(90 * in.TwipsPerPixelX), in.FileListTextHeight};
    out.PicNumberLeft = W - in.PicNumberWidth - gx - onePixel;
    out.PicNumberTop = gy;

    const long C = Round(W - 3.5 * gx) / 3;
    const long L = H - T - gy;
    const long R = Round(gx + C + 1.5 * gx);
    const long RW = W - R - gx;
    const long P = H - T - gy - in.PicInfoHeight - gy - in.FrameHeight - gy;

    out.Resizer = {W - in.ResizerWidth, H - in.ResizerHeight, in.ResizerWidth, in.ResizerHeight};
    out.Frame = {R + (RW - in.FrameWidth) / 2, T + P + gy + in.PicInfoHeight + gy, in.FrameWidth, in.FrameHeight};
    out.PicInfo = {R + (RW - in.PicInfoWidth) / 2, T + P + gy, in.PicInfoWidth, in.PicInfoHeight};

    const long historyWidth = C - in.ClearListWidth0 - in.ClearListWidth1 - onePixel;
    out.History = {gx, T, historyWidth, in.HistoryHeight};
    out.ClearList0 = {gx + historyWidth + onePixel, T, in.ClearListWidth0, in.HistoryHeight};
    out.ClearList1 = {out.ClearList0.Left + in.ClearListWidth0, T, in.ClearListWidth1, in.HistoryHeight};
    out.Drive = {gx, T + in.HistoryHeight + gy, C, in.DriveHeight};
    const long folderTop = out.Drive.Top + in.DriveHeight + gy;
    out.Folder = {gx, folderTop, C, (L - in.HistoryHeight - in.DriveHeight - 3 * gy) / 4};
    const long filesTop = folderTop + out.Folder.Height + gy;
    out.Files = {gx - onePixel, filesTop, C + twoPixels, H - gy - filesTop};

    out.List = {gx, T, C, L};
    out.Pic = {R, T, RW, P};
    return out;
}

}  // namespace picture_browser
