// The wallpaper module against Wine's real registry, files and SystemParametersInfoA, with
// a stand-in for the shell's desktop icon list.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>

#include <string>
#include <vector>

#include "common/FileFolderFunctions_.h"
#include "common/WindowsWallpaper_.h"
#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/Seams.h"
#include "platform/Text.h"
#include "support/GuiObjects.h"
#include "support/TestSupport.h"

using namespace common;
using testing_support::MsgBoxRecorder;
using testing_support::RegString;
using testing_support::TempFolder;

namespace {

using SpiFunction = std::function<BOOL(UINT, UINT, void*, UINT)>;
using RegSetFunction = std::function<LONG(HKEY, const char*, DWORD, DWORD, const BYTE*, DWORD)>;

std::string CurrentWallpaper() {
    char path[MAX_PATH] = {};
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return path;
}

std::string DesktopValue(const char* name) { return RegString(HKEY_CURRENT_USER, kDesktopKey, name); }

platform::Picture SmallPicture(COLORREF colour = RGB(200, 40, 90)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 7, -5, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    platform::GdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < 35; ++i) pixels[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    return platform::Picture::FromBitmap(static_cast<HBITMAP>(bitmap.get()));
}

// Every call of SystemParametersInfoA, passed on to the real one unless told to fail.
struct SpiCall {
    UINT action;
    std::string path;
    UINT flags;
    bool busy;  // the hourglass was up during the call
};
class SpiRecorder {
public:
    explicit SpiRecorder(bool fail = false)
        : seam_(platform::seams::SystemParametersInfoA, [this, fail](UINT action, UINT param, void* data, UINT flags) {
              calls.push_back({action, data ? static_cast<const char*>(data) : "", flags, platform::IsBusyPointer()});
              if (fail) return FALSE;
              if (onCall) onCall();
              return ::SystemParametersInfoA(action, param, data, flags);
          }) {}
    std::vector<SpiCall> calls;
    std::function<void()> onCall;

private:
    platform::ScopedSeam<SpiFunction> seam_;
};

// Registry writes that fail for the named values; the order of all writes is kept.
class FailingRegistry {
public:
    explicit FailingRegistry(std::vector<std::string> failing)
        : failing_(std::move(failing)),
          seam_(platform::seams::RegSetValueExA,
                [this](HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
                    written.push_back(name);
                    for (const std::string& fail : failing_)
                        if (fail == name) return static_cast<LONG>(ERROR_ACCESS_DENIED);
                    return ::RegSetValueExA(key, name, reserved, type, data, size);
                }) {}
    std::vector<std::string> written;

private:
    std::vector<std::string> failing_;
    platform::ScopedSeam<RegSetFunction> seam_;
};

// The shell's desktop icon list as the module looks for it: Progman "Program Manager",
// its SHELLDLL_DefView, and the SysListView32 inside.
class StandInDesktop {
public:
    explicit StandInDesktop(bool underWorkerW = false) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        for (const char* name : {"Progman", "SHELLDLL_DefView", "WorkerW"}) {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = name;
            RegisterClassA(&windowClass);
        }
        progman_ = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP, 0, 0, 200, 150, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        HWND viewParent = progman_;
        if (underWorkerW) {
            worker_ = CreateWindowExA(0, "WorkerW", "", WS_POPUP, 0, 0, 200, 150, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
            viewParent = worker_;
        }
        view_ = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 150, viewParent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_ICON, 0, 0, 200, 150, view_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    }
    ~StandInDesktop() {
        if (worker_) DestroyWindow(worker_);
        DestroyWindow(progman_);
    }
    HWND List() const { return list_; }
    COLORREF TextBackground() const { return static_cast<COLORREF>(SendMessageA(list_, LVM_GETTEXTBKCOLOR, 0, 0)); }
    void SetTextBackground(COLORREF colour) { SendMessageA(list_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(colour)); }

private:
    HWND progman_ = nullptr;
    HWND worker_ = nullptr;
    HWND view_ = nullptr;
    HWND list_ = nullptr;
};

class Wallpaper : public ::testing::Test {
protected:
    void SetUp() override { path_ = folder_.File(kWallpaperFileName); }
    TempFolder folder_{"wallpaper"};
    std::string path_;
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The standard-user run of the test scripts says so: Wine run by a user who may not write
// the prefix's Windows folder, as a standard user finds it on Windows Vista and later.
bool StandardUser() {
    const char* value = std::getenv("SORVITA_STANDARD_USER");
    return value && *value == '1';
}

std::string LocalAppDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return platform::FromWide(folder);
}

bool IsBitmapFile(const std::string& path, int width, int height) {
    platform::Picture back = platform::Picture::Load(path);
    return !back.Empty() && back.Width() == width && back.Height() == height;
}

}  // namespace

TEST_F(Wallpaper, FileIsInTheWindowsFolderWhereWritableElseTheUsersOwnAndClearRemovesBoth) {
    const std::string inWindows = WindowsFolder(true) + "Sorvita Wallpaper.bmp";
    const std::string ofUser = LocalAppDataFolder() + "\\Sorvita\\Sorvita Wallpaper.bmp";
    const std::string file = WallpaperFilePath();
    EXPECT_EQ(file, StandardUser() ? ofUser : inWindows);
    EXPECT_TRUE(IsWallpaperFile(inWindows));
    EXPECT_TRUE(IsWallpaperFile(ofUser));
    EXPECT_FALSE(IsWallpaperFile(path_));

    MsgBoxRecorder boxes;
    ASSERT_TRUE(SetWallpaper(file, SmallPicture(), kStyleTile, false));
    EXPECT_EQ(DesktopValue("Wallpaper"), file);
    EXPECT_TRUE(IsBitmapFile(file, 7, 5));
    EXPECT_FALSE(StandardUser() && Exists(inWindows));

    // One left by an elevated run and one by a standard run: both ours, both cleared, by
    // whichever place the clearing program names. Where this user may not write the Windows
    // folder there is only the user's own.
    CreateDirectoryA((LocalAppDataFolder() + "\\Sorvita").c_str(), nullptr);
    for (const std::string& named : {inWindows, ofUser}) {
        if (!StandardUser()) testing_support::WriteFile(inWindows, "BM");
        testing_support::WriteFile(ofUser, "BM");
        SetFileAttributesA(ofUser.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(ClearWallpaper(named, false));
        EXPECT_FALSE(Exists(inWindows)) << named;
        EXPECT_FALSE(Exists(ofUser)) << named;
    }
    EXPECT_EQ(DesktopValue("Wallpaper"), "(None)");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Wallpaper, SetWritesTheBitmapTheStyleAndHangsIt) {
    MsgBoxRecorder boxes;
    SpiRecorder spi;
    ASSERT_TRUE(SetWallpaper(path_, SmallPicture(), kStyleTile, false));
    EXPECT_TRUE(IsBitmapFile(path_, 7, 5));
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "0");
    EXPECT_EQ(DesktopValue("TileWallpaper"), "1");
    EXPECT_EQ(CurrentWallpaper(), path_);
    EXPECT_EQ(DesktopValue("Wallpaper"), path_);
    ASSERT_EQ(spi.calls.size(), 1u);
    EXPECT_EQ(spi.calls[0].action, static_cast<UINT>(SPI_SETDESKWALLPAPER));
    EXPECT_EQ(spi.calls[0].path, path_);
    EXPECT_EQ(spi.calls[0].flags, static_cast<UINT>(SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE));
    EXPECT_TRUE(spi.calls[0].busy);
    EXPECT_FALSE(platform::IsBusyPointer());
    EXPECT_EQ(boxes.Count(), 0u);

    // The real wallpaper file.
    ASSERT_TRUE(SetWallpaper(WallpaperFilePath(), SmallPicture(), kStyleCenter, true));
    EXPECT_EQ(CurrentWallpaper(), WallpaperFilePath());
    EXPECT_FALSE(spi.calls[1].busy);  // silent: no hourglass
    EXPECT_TRUE(ClearWallpaper(WallpaperFilePath(), true));
}

TEST_F(Wallpaper, StyleTableInWriteOrder) {
    struct Row {
        long style;
        const char* wallpaperStyle;
        const char* tileWallpaper;
    };
    for (const Row& row : {Row{0, "0", "0"}, Row{1, "0", "1"}, Row{2, "2", "0"}, Row{7, "0", "7"}}) {
        SCOPED_TRACE(row.style);
        FailingRegistry order({});
        ASSERT_TRUE(SetWallpaper(path_, SmallPicture(), row.style, true));
        EXPECT_EQ(DesktopValue("WallpaperStyle"), row.wallpaperStyle);
        EXPECT_EQ(DesktopValue("TileWallpaper"), row.tileWallpaper);
        ASSERT_GE(order.written.size(), 2u);
        EXPECT_EQ(order.written[0], "WallpaperStyle");
        EXPECT_EQ(order.written[1], "TileWallpaper");

        ASSERT_TRUE(ResetWallpaperStyle(row.style == 2 ? 0 : 2, true));
        ASSERT_TRUE(ResetWallpaperStyle(row.style, true));
        EXPECT_EQ(DesktopValue("WallpaperStyle"), row.wallpaperStyle);
        EXPECT_EQ(DesktopValue("TileWallpaper"), row.tileWallpaper);
    }
}

TEST_F(Wallpaper, ReadOnlyHiddenFileIsOverwritten) {
    testing_support::WriteFile(path_, "an older wallpaper");
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    MsgBoxRecorder boxes;
    ASSERT_TRUE(SetWallpaper(path_, SmallPicture(), kStyleStretch, false));
    EXPECT_TRUE(IsBitmapFile(path_, 7, 5));
    EXPECT_EQ(GetFileAttributesA(path_.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Wallpaper, PictureThatCannotBeWrittenIsReportedUnlessSilent) {
    const std::string unwritable = folder_.File("no such folder\\" + std::string(kWallpaperFileName));
    SpiRecorder spi;
    {
        MsgBoxRecorder boxes;
        EXPECT_FALSE(SetWallpaper(unwritable, SmallPicture(), kStyleCenter, false));
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, "An error occurred attempting to save the '" + unwritable +
                                         "' file to use as wallpaper:\r\n\r\n" +
                                         platform::ErrorDescription(ERROR_PATH_NOT_FOUND));
        EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    }
    {
        MsgBoxRecorder boxes;
        EXPECT_FALSE(SetWallpaper(unwritable, SmallPicture(), kStyleCenter, true));
        EXPECT_FALSE(SetWallpaper(path_, platform::Picture(), kStyleCenter, true));  // no picture
        EXPECT_EQ(boxes.Count(), 0u);
    }
    EXPECT_TRUE(spi.calls.empty());
}

TEST_F(Wallpaper, RegistryFailureAsksEvenWhenSilent) {
    ASSERT_TRUE(ClearWallpaper("", true));
    const std::string before = CurrentWallpaper();
    testing_support::RegSetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "9");
    {
        // No: the picture file is written, the second value too, the wallpaper stays.
        FailingRegistry registry({"WallpaperStyle"});
        SpiRecorder spi;
        MsgBoxRecorder boxes;
        boxes.Answer(IDNO);
        EXPECT_FALSE(SetWallpaper(path_, SmallPicture(), kStyleTile, true));
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text,
                  "An error occurred attempting to set a wallpaper-related registry setting.  Do you want to set the "
                  "wallpaper anyway?");
        EXPECT_EQ(boxes.Last().flags, platform::kMsgQuestion);
        EXPECT_EQ(registry.written, (std::vector<std::string>{"WallpaperStyle", "TileWallpaper"}));
        EXPECT_EQ(DesktopValue("TileWallpaper"), "1");
        EXPECT_TRUE(IsBitmapFile(path_, 7, 5));
        EXPECT_TRUE(spi.calls.empty());
        EXPECT_EQ(CurrentWallpaper(), before);
    }
    {
        // Yes: the wallpaper is set all the same.
        FailingRegistry registry({"TileWallpaper"});
        MsgBoxRecorder boxes;
        boxes.Answer(IDYES);
        EXPECT_TRUE(SetWallpaper(path_, SmallPicture(), kStyleStretch, false));
        EXPECT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(DesktopValue("WallpaperStyle"), "2");
        EXPECT_EQ(CurrentWallpaper(), path_);
    }
}

TEST_F(Wallpaper, SystemRefusalIsReportedUnlessSilent) {
    ASSERT_TRUE(SetWallpaper(path_, SmallPicture(), kStyleCenter, true));
    SpiRecorder refusing(true);
    {
        MsgBoxRecorder boxes;
        EXPECT_FALSE(SetWallpaper(path_, SmallPicture(), kStyleCenter, false));
        EXPECT_FALSE(ClearWallpaper("", false));
        EXPECT_FALSE(ResetWallpaperStyle(kStyleTile, false));
        ASSERT_EQ(boxes.Count(), 3u);
        EXPECT_EQ(boxes.Calls()[0].text, "An error occurred attempting to set the Windows wallpaper.");
        EXPECT_EQ(boxes.Calls()[1].text, "An error occurred attempting to clear the Windows wallpaper.");
        EXPECT_EQ(boxes.Calls()[2].text, "An error occurred attempting to reset the Windows wallpaper style.");
        for (const auto& call : boxes.Calls()) EXPECT_EQ(call.flags, platform::kMsgWarning);
    }
    {
        MsgBoxRecorder boxes;
        EXPECT_FALSE(SetWallpaper(path_, SmallPicture(), kStyleCenter, true));
        EXPECT_FALSE(ClearWallpaper("", true));
        EXPECT_FALSE(ResetWallpaperStyle(kStyleTile, true));
        EXPECT_EQ(boxes.Count(), 0u);
    }
    ASSERT_EQ(refusing.calls.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(refusing.calls[i].busy, i < 3) << i;
    EXPECT_FALSE(platform::IsBusyPointer());
    EXPECT_EQ(CurrentWallpaper(), path_);
}

TEST_F(Wallpaper, ClearDeletesTheFileAndSetsNone) {
    MsgBoxRecorder boxes;
    ASSERT_TRUE(SetWallpaper(path_, SmallPicture(), kStyleCenter, true));
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY);
    SpiRecorder spi;
    EXPECT_TRUE(ClearWallpaper(path_, false));
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(spi.calls.size(), 1u);
    EXPECT_EQ(spi.calls[0].path, "(None)");
    EXPECT_TRUE(spi.calls[0].busy);
    EXPECT_NE(CurrentWallpaper(), path_);

    // Already gone: no message. Empty path: nothing deleted, the wallpaper cleared.
    EXPECT_TRUE(ClearWallpaper(path_, false));
    testing_support::WriteFile(path_, "kept");
    EXPECT_TRUE(ClearWallpaper("", false));
    EXPECT_NE(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(spi.calls.size(), 3u);
    EXPECT_EQ(spi.calls[2].path, "(None)");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Wallpaper, ResetRehangsTheCurrentWallpaperWithTheNewStyle) {
    MsgBoxRecorder boxes;
    ASSERT_TRUE(SetWallpaper(path_, SmallPicture(), kStyleCenter, true));
    SpiRecorder spi;
    EXPECT_TRUE(ResetWallpaperStyle(kStyleStretch, false));
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "2");
    EXPECT_EQ(DesktopValue("TileWallpaper"), "0");
    ASSERT_EQ(spi.calls.size(), 1u);
    EXPECT_EQ(spi.calls[0].path, path_);
    EXPECT_TRUE(spi.calls[0].busy);
    EXPECT_EQ(CurrentWallpaper(), path_);

    // No wallpaper value at all: an empty path goes to Windows, and its answer is the result.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegDeleteValueA(key, "Wallpaper");
    RegCloseKey(key);
    EXPECT_TRUE(ResetWallpaperStyle(kStyleTile, true));
    ASSERT_EQ(spi.calls.size(), 2u);
    EXPECT_EQ(spi.calls[1].path, "");
    EXPECT_FALSE(spi.calls[1].busy);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Wallpaper, ResetReportsRegistryFailureEvenWhenSilent) {
    for (bool silent : {false, true}) {
        FailingRegistry registry({"TileWallpaper"});
        SpiRecorder spi;
        MsgBoxRecorder boxes;
        EXPECT_FALSE(ResetWallpaperStyle(kStyleTile, silent));
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, "An error occurred attempting to set a wallpaper-related registry setting.");
        EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
        EXPECT_EQ(registry.written, (std::vector<std::string>{"WallpaperStyle", "TileWallpaper"}));
        EXPECT_TRUE(spi.calls.empty());
    }
}

TEST_F(Wallpaper, TransparentIconTextStaysTransparent) {
    EXPECT_EQ(FindDesktopListView(), nullptr);  // Wine's desktop has no icon list
    EXPECT_FALSE(IsDesktopTextTransparent());
    SetDesktopTextBackground(true);  // nothing to change: no effect

    StandInDesktop desktop;
    ASSERT_EQ(FindDesktopListView(), desktop.List());
    SpiRecorder spi;
    // As the shell does when the wallpaper changes: the text gets a background again.
    spi.onCall = [&] { desktop.SetTextBackground(RGB(1, 2, 3)); };

    desktop.SetTextBackground(CLR_NONE);
    EXPECT_TRUE(IsDesktopTextTransparent());
    ASSERT_TRUE(SetWallpaper(path_, SmallPicture(), kStyleCenter, true));
    EXPECT_EQ(desktop.TextBackground(), CLR_NONE);
    ASSERT_TRUE(ResetWallpaperStyle(kStyleTile, true));
    EXPECT_EQ(desktop.TextBackground(), CLR_NONE);
    ASSERT_TRUE(ClearWallpaper(path_, true));
    EXPECT_EQ(desktop.TextBackground(), CLR_NONE);

    // A coloured background is left as the change made it.
    spi.onCall = [&] { desktop.SetTextBackground(RGB(7, 8, 9)); };
    desktop.SetTextBackground(RGB(1, 2, 3));
    EXPECT_FALSE(IsDesktopTextTransparent());
    ASSERT_TRUE(SetWallpaper(path_, SmallPicture(), kStyleCenter, true));
    EXPECT_EQ(desktop.TextBackground(), RGB(7, 8, 9));

    SetDesktopTextBackground(false);
    EXPECT_EQ(desktop.TextBackground(), GetSysColor(COLOR_BACKGROUND));
    SetDesktopTextBackground(true);
    EXPECT_TRUE(IsDesktopTextTransparent());
}

TEST_F(Wallpaper, IconListIsFoundUnderWorkerWToo) {
    StandInDesktop desktop(true);
    EXPECT_EQ(FindDesktopListView(), desktop.List());
}

TEST_F(Wallpaper, NoGdiOrUserObjectLeaksOverManyChanges) {
    StandInDesktop desktop;
    desktop.SetTextBackground(CLR_NONE);
    // As the programs do it: each picture loaded from its file, hung, and released.
    const std::string data = testing_support::WinePathFromEnv("SORVITA_TEST_DATA") + "\\";
    const char* files[] = {"quad-baseline.jpg", "quad-animated.gif", "quad-rle8.bmp"};
    MsgBoxRecorder boxes;
    // One round first: Windows keeps the wallpaper bitmap it loaded.
    ASSERT_TRUE(SetWallpaper(path_, platform::Picture::Load(data + files[0]), kStyleCenter, false));
    ASSERT_TRUE(ClearWallpaper(path_, false));
    const testing_support::GuiObjects before = testing_support::CountGuiObjects();
    EXPECT_GT(before.gdiTable + before.gdi, 0u);
    for (int i = 0; i < 200; ++i) {
        platform::Picture picture = platform::Picture::Load(data + files[i % 3]);
        ASSERT_FALSE(picture.Empty()) << files[i % 3];
        ASSERT_TRUE(SetWallpaper(path_, picture, i % 3, false));
        picture.Release();
        ASSERT_TRUE(ClearWallpaper(path_, false));
    }
    EXPECT_EQ(testing_support::CountGuiObjects(), before);
    EXPECT_TRUE(IsDesktopTextTransparent());
    EXPECT_EQ(boxes.Count(), 0u);
}
