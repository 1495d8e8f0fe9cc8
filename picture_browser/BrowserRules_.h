// The browser window's rules that need no window: the folder history, stepping through
// a list, the count line, file patterns and the layout of the window.
// Portable: no Windows headers.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "picture_browser/PaneGeometry_.h"

namespace picture_browser {

inline constexpr int kHistoryCount = 20;
inline constexpr const char* kHistorySection = "Browse Pics";
// The file list's pattern without the "More Pic Types" option (common::PicFileSpec).
inline constexpr const char* kPicturePattern = "*.jpg;*.jpe*;*.gif;*.bmp";

// "Folder 00" to "Folder 19".
std::string HistoryKey(int index);

// Moves `folder` to the top of the history (addFolder) or takes it out. Folders are
// compared without regard to letter case; at most 20 are kept, the oldest goes first.
// Returns the index of the item removed, or -1.
int UpdateHistoryList(std::vector<std::string>& items, const std::string& folder, bool addFolder);

// Stepping through a list of `count` entries from `current` (-1: nothing selected).
// Both give -1 for an empty list.
int NextIndex(int current, int count);
int PreviousIndex(int current, int count);
// A random entry other than the current one (index 0 when there is only one). `random`
// gives numbers in [0, 1); a source that keeps repeating the current entry gives way
// to the next entry instead of spinning forever.
int RandomIndex(int current, int count, const std::function<double()>& random);

// "1,024 pic files found in C:\Pictures".
std::string FileCountText(long count, const std::string& folder);

// The folder with a backslash appended unless it ends with one.
std::string WithBackslash(const std::string& folder);

// True when `name` matches one of the ";"-separated patterns ("*" and "?", any case).
bool MatchesPatternList(const std::string& name, const std::string& patterns);
// The same in two steps, for many names against one list: the list's patterns, trimmed,
// empty ones left out; and whether `name` matches one of them.
std::vector<std::string> SplitPatternList(const std::string& patterns);
bool MatchesAnyPattern(const std::string& name, const std::vector<std::string>& patterns);
// Case-insensitive order of file and folder names, as the lists show them.
bool NameLess(const std::string& a, const std::string& b);
bool SameText(const std::string& a, const std::string& b);

// Sizes of the controls that the layout does not compute, in twips.
struct LayoutInput {
    long Width = 0;  // inner size of the window
    long Height = 0;
    double TwipsPerPixelX = 15;
    double TwipsPerPixelY = 15;
    bool FolderMode = true;
    long FileListTextHeight = 0;  // txtFileList
    long PicNumberWidth = 0;      // labPicNumber
    long PicInfoWidth = 0;        // labPicInfo
    long PicInfoHeight = 0;
    long FrameWidth = 0;  // Frame1
    long FrameHeight = 0;
    long HistoryHeight = 0;  // cboPicFolder
    long ClearListWidth0 = 0;
    long ClearListWidth1 = 0;
    long DriveHeight = 0;  // PicsDrive
    long ResizerWidth = 0;
    long ResizerHeight = 0;
};

struct BrowserLayout {
    PaneBox FileListText;  // height unchanged
    long PicNumberLeft = 0, PicNumberTop = 0;
    PaneBox Pic, Frame, PicInfo, Resizer;  // Frame, PicInfo, Resizer: position only
    // Folder mode.
    PaneBox History, ClearList0, ClearList1, Drive, Folder, Files;  // History, Drive: height unchanged
    // List mode.
    PaneBox List;
};
BrowserLayout LayoutBrowser(const LayoutInput& in);

}  // namespace picture_browser
