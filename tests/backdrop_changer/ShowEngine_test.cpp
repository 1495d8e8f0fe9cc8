// The wallpaper rotation against Wine's real files, registry and wallpaper, with the clock,
// random numbers and message boxes scripted through their seams.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <utility>
#include <vector>

#include "backdrop_changer/basSSaver.h"
#include "common/FileFolderFunctions_.h"
#include "common/FolderWalk_.h"
#include "common/GetDesktopSize_.h"
#include "common/TextFunctions_.h"
#include "common/WallpaperStyle_.h"
#include "common/WindowsWallpaper_.h"
#include "platform/App.h"
#include "platform/Form.h"
#include "platform/Handles.h"
#include "platform/MsgBox.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "support/GuiObjects.h"
#include "support/TestSupport.h"

using namespace backdrop_changer;
using testing_support::MsgBoxRecorder;
using testing_support::RegString;

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";

// A stand-in for the setup window: the show timer, chkActive and the folder list, wired
// as the real window wires them.
class HostForm : public platform::Form, public ShowHost {
public:
    class platform::Timer ssTimer;
    platform::CheckBox chkActive;
    platform::ComboBox cboPicFolder;
    std::string trayTag, infoTag, timeLeft;
    int timeLeftUpdates = 0;
    bool buildingList = false;
    std::vector<std::pair<bool, std::string>> folderClicks;  // BuildingList, selected entry

    class platform::Timer& ShowTimer() override { return ssTimer; }
    void SwitchRotationOff() override { chkActive.SetValue(0); }
    void SetTrayPicPath(const std::string& path) override { trayTag = path; }
    void SetInfoPicPath(const std::string& path) override { infoTag = path; }
    void SetTimeLeftText(const std::string& text) override {
        timeLeft = text;
        ++timeLeftUpdates;
    }
    platform::ComboBox& FolderList() override { return cboPicFolder; }
    void SetBuildingList(bool building) override { buildingList = building; }

protected:
    void Form_Load() override {
        chkActive.Create(*this, "Acti&ve", 120, 120, 1500, 300);
        chkActive.Click = [this] { ActiveChanged(chkActive.Value() == 1); };
        cboPicFolder.Create(*this, 120, 500, 4000, 1500, CBS_DROPDOWNLIST);
        cboPicFolder.Click = [this] {
            int index = cboPicFolder.ListIndex();
            folderClicks.emplace_back(buildingList, index < 0 ? "" : cboPicFolder.List(index));
        };
        ssTimer.Create(*this, kFirstTickInterval, false);
        ssTimer.Tick = [] { ssTimer_Timer(); };
    }
};

using testing_support::WriteBmp;

// Width and height of a bitmap file; 0, 0 when it cannot be read.
std::pair<long, long> BmpSize(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {0, 0};
    char header[54] = {};
    DWORD read = 0;
    ReadFile(file, header, sizeof header, &read, nullptr);
    CloseHandle(file);
    if (read != sizeof header) return {0, 0};
    BITMAPINFOHEADER info;
    memcpy(&info, header + sizeof(BITMAPFILEHEADER), sizeof info);
    return {info.biWidth, labs(info.biHeight)};
}

// The style code the two registry values stand for; -1 for none.
long HungStyle() {
    const std::string style = RegString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle");
    const std::string tile = RegString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper");
    for (long code = 0; code <= 2; ++code) {
        const common::WallpaperStyleValues values = common::StyleValues(code);
        if (values.WallpaperStyle == style && values.TileWallpaper == tile) return code;
    }
    return -1;
}

std::string LoadErrorOf(const std::string& path, bool moreTypes = false) {
    std::string error;
    platform::Picture::Load(path, &error, moreTypes);
    return error;
}

class ShowEngine : public ::testing::Test {
protected:
    double now = 1000;
    std::mt19937 generator{12345};
    std::deque<double> scriptedRandom;
    int randomDraws = 0;
    platform::ScopedSeam<std::function<double()>> clock{platform::seams::Timer, [this] { return now; }};
    platform::ScopedSeam<std::function<double()>> random{platform::seams::Random, [this] {
        ++randomDraws;
        if (!scriptedRandom.empty()) {
            double value = scriptedRandom.front();
            scriptedRandom.pop_front();
            return value;
        }
        return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
    }};
    testing_support::TempFolder folder{"show"};
    HostForm host;
    COLORREF desktopColor = GetSysColor(COLOR_BACKGROUND);
    long screenWidth = 0, screenHeight = 0;

    void SetUp() override {
        platform::App().Title = "Sorvita Backdrop Changer";
        Settings = SettingsRecord{};
        Settings.PicsFolder = folder.Path();
        PicPosition = PickState{};
        DelayInEffect = 0;
        LastShowTime = 0;
        SelectedDelay = 0;
        common::PicFiles.clear();
        host.Load();
        SetShowHost(&host);
        common::GetDesktopSize(false, true, "");
        screenWidth = common::DesktopArea.Width;
        screenHeight = common::DesktopArea.Height;
        ASSERT_GT(screenWidth, 0);
        ASSERT_GT(screenHeight, 0);
        ForgetStyle();
    }

    void TearDown() override {
        SetShowHost(nullptr);
        host.Unload();
        const INT element = COLOR_BACKGROUND;
        SetSysColors(1, &element, &desktopColor);
        common::PicFiles.clear();
    }

    // Writes the pictures into the folder and makes them the picture list, in this order.
    // Sizes of 0 make an unreadable file.
    void MakeList(const std::vector<std::pair<int, int>>& sizes) {
        common::PicFiles = {folder.Path() + "\\" + common::PicFileSpec(false)};
        for (size_t i = 0; i < sizes.size(); ++i) {
            char name[32];
            auto [w, h] = sizes[i];
            if (w > 0) {
                snprintf(name, sizeof name, "pic%02zu.bmp", i + 1);
                WriteBmp(folder.File(name), w, h);
            } else {
                snprintf(name, sizeof name, "bad%02zu.jpg", i + 1);
                testing_support::WriteFile(folder.File(name), "this is no picture");
            }
            common::PicFiles.push_back(folder.File(name));
        }
    }
    std::string Pic(long index) const { return common::PicFiles[index]; }

    void ForgetStyle() {
        testing_support::RegSetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", "9");
        testing_support::RegSetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "9");
        host.trayTag.clear();
        host.infoTag.clear();
    }

    // The path hung by one call; empty when none was.
    std::string HangNext(bool previous = false) {
        host.trayTag.clear();
        ShowNextPic(previous);
        return host.trayTag;
    }

    void SwitchOn() {
        host.chkActive.SetValue(1);
        ASSERT_TRUE(Settings.Active);
    }
};

}  // namespace

// ---------------------------------------------------------------- picking

TEST_F(ShowEngine, InOrderLoopsAndPreviousIsOneStepBack) {
    MsgBoxRecorder boxes;
    MakeList({{40, 30}, {50, 30}, {60, 30}});
    EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(HangNext(), Pic(2));
    EXPECT_EQ(HangNext(), Pic(3));
    EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(BmpSize(common::WallpaperFilePath()), std::make_pair(40L, 30L));
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), common::WallpaperFilePath());
    // Back twice: the previous picture, then the current one again.
    EXPECT_EQ(HangNext(true), Pic(3));
    EXPECT_EQ(HangNext(true), Pic(1));
    EXPECT_EQ(PicPosition.PreviousIndex, 3);
    EXPECT_EQ(boxes.Count(), 0u);
    // Nothing to go back to after a folder change: nothing is hung.
    FolderChanged();
    EXPECT_EQ(HangNext(true), "");
    EXPECT_EQ(PicPosition.CurrentIndex, 1);
}

TEST_F(ShowEngine, RandomNeverHangsAPictureTwiceInARowButOneAlone) {
    MsgBoxRecorder boxes;
    Settings.ShowRandom = true;
    MakeList({{40, 30}, {50, 30}});
    // The generator repeats itself three times before it moves on: the pick draws again.
    scriptedRandom = {0.1, 0.2, 0.3, 0.1, 0.9};
    EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(HangNext(), Pic(2));
    EXPECT_EQ(randomDraws, 5);
    std::string last = Pic(2);
    for (int i = 0; i < 30; ++i) {
        std::string hung = HangNext();
        ASSERT_NE(hung, last) << i;
        ASSERT_FALSE(hung.empty());
        last = hung;
    }
    // One picture: the same one every time, without searching for another.
    MakeList({{40, 30}});
    for (int i = 0; i < 3; ++i) EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(boxes.Count(), 0u);
}

// ---------------------------------------------------------------- measuring and styles

TEST_F(ShowEngine, PictureOfTheScreensSizeIsCentred) {
    MsgBoxRecorder boxes;
    Settings.StretchFit = true;
    Settings.StretchType = 0;
    Settings.TileSmall = true;
    Settings.TilePercent = 100;
    MakeList({{static_cast<int>(screenWidth), static_cast<int>(screenHeight)}});
    EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(HungStyle(), common::kStyleCenter);
    EXPECT_EQ(BmpSize(common::WallpaperFilePath()), std::make_pair(screenWidth, screenHeight));
    // "All pics" stretches it.
    Settings.StretchType = 1;
    ForgetStyle();
    EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(HungStyle(), common::kStyleStretch);
    // One pixel wider is big and is stretched with "Big pics".
    Settings.StretchType = 0;
    MakeList({{static_cast<int>(screenWidth) + 1, 16}});
    ForgetStyle();
    EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(HungStyle(), common::kStyleStretch);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(ShowEngine, PhotoIsMeasuredAndHungUpright) {
    // Stored 800 x 8 with a quarter turn: 8 x 800 upright, taller than the screen, while the
    // stored picture would fit it.
    if (screenHeight >= 800 || screenWidth < 800) GTEST_SKIP() << "needs a screen at least 800 wide, under 800 high";
    MsgBoxRecorder boxes;
    Settings.StretchFit = true;
    Settings.StretchType = 0;
    Settings.TileSmall = false;
    const std::string photo = folder.File("photo.jpg");
    ASSERT_TRUE(CopyFileA((testing_support::WinePathFromEnv("SORVITA_TEST_DATA") + "\\orient-6-tall.jpg").c_str(),
                          photo.c_str(), FALSE));
    common::PicFiles = {folder.Path() + "\\" + common::PicFileSpec(false), photo};
    EXPECT_EQ(HangNext(), photo);
    EXPECT_EQ(HungStyle(), common::kStyleStretch);
    EXPECT_EQ(BmpSize(common::WallpaperFilePath()), std::make_pair(8L, 800L));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(ShowEngine, TiledOnlyBelowTheTilePercentage) {
    MsgBoxRecorder boxes;
    Settings.TileSmall = true;
    Settings.TilePercent = 25;
    // Exactly a quarter of the screen, then clearly less.
    MakeList({{static_cast<int>(screenWidth / 2), static_cast<int>(screenHeight / 2)}, {64, 64}});
    ASSERT_EQ(screenWidth % 2, 0);
    ASSERT_EQ(screenHeight % 2, 0);
    EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(HungStyle(), common::kStyleCenter);
    ForgetStyle();
    EXPECT_EQ(HangNext(), Pic(2));
    EXPECT_EQ(HungStyle(), common::kStyleTile);
    // "Tile Small" off: centred.
    Settings.TileSmall = false;
    ForgetStyle();
    EXPECT_EQ(HangNext(), Pic(1));
    ForgetStyle();
    EXPECT_EQ(HangNext(), Pic(2));
    EXPECT_EQ(HungStyle(), common::kStyleCenter);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(ShowEngine, BigPictureWithoutStretchIsCentredOnARandomColour) {
    MsgBoxRecorder boxes;
    Settings.StretchFit = false;
    Settings.TileSmall = true;
    Settings.RandomColor = true;
    MakeList({{static_cast<int>(screenWidth) + 10, static_cast<int>(screenHeight) + 10}});
    // The first colour drawn is the desktop's own: it is drawn again.
    const double r = GetRValue(desktopColor) / 256.0 + 0.001, g = GetGValue(desktopColor) / 256.0 + 0.001,
                 b = GetBValue(desktopColor) / 256.0 + 0.001;
    scriptedRandom = {r, g, b, 0.5, 0.25, 0.75};
    EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(HungStyle(), common::kStyleCenter);
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), RGB(128, 64, 192));
    // Tiled and stretched pictures leave the colour alone.
    Settings.StretchFit = true;
    ForgetStyle();
    EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(HungStyle(), common::kStyleStretch);
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), RGB(128, 64, 192));
    // And "Random Color" off leaves it alone for a centred one.
    Settings.StretchFit = false;
    Settings.RandomColor = false;
    EXPECT_EQ(HangNext(), Pic(1));
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), RGB(128, 64, 192));
    EXPECT_EQ(boxes.Count(), 0u);
}

// ---------------------------------------------------------------- load errors

TEST_F(ShowEngine, LoadErrorIsReportedAndLeavesTheWallpaperAlone) {
    MsgBoxRecorder boxes;
    MakeList({{40, 30}, {0, 0}});
    EXPECT_EQ(HangNext(), Pic(1));
    SwitchOn();
    EXPECT_EQ(HangNext(), "");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "An error occurred attempting to load the '" + Pic(2) + "' file:\r\n\r\n" +
                                     LoadErrorOf(Pic(2)));
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    EXPECT_FALSE(LoadErrorOf(Pic(2)).empty());
    EXPECT_EQ(BmpSize(common::WallpaperFilePath()), std::make_pair(40L, 30L));
    EXPECT_TRUE(Settings.Active) << "a load error keeps the rotation on";
    EXPECT_TRUE(host.ssTimer.Enabled());
}

TEST_F(ShowEngine, NineSkippedErrorsThenAGoodPictureIsHungSilently) {
    MsgBoxRecorder boxes;
    Settings.SkipErrors = true;
    MakeList({{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {70, 20}});
    EXPECT_EQ(HangNext(), Pic(10));
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(PicPosition.PreviousIndex, 9);
}

TEST_F(ShowEngine, TenErrorsInARowGiveOneMessagePerCall) {
    MsgBoxRecorder boxes;
    Settings.SkipErrors = true;
    MakeList({{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {40, 30}});
    EXPECT_EQ(HangNext(), "");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "10 consecutive errors have occurred attempting to load a pic file.\r\n\r\nLast file:  " + Pic(10) +
                  "\r\nLast error:  " + LoadErrorOf(Pic(10)));
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    // The count starts again with each call: the 11th fails, the 12th is hung.
    EXPECT_EQ(HangNext(), Pic(12));
    EXPECT_EQ(boxes.Count(), 1u);
    // All unreadable: one message each time.
    MakeList({{0, 0}, {0, 0}, {0, 0}});
    PicPosition = PickState{};
    EXPECT_EQ(HangNext(), "");
    EXPECT_EQ(HangNext(), "");
    ASSERT_EQ(boxes.Count(), 3u);
    // The second call's ten tries ran 2, 3, 1, 2, 3, 1, 2, 3, 1, 2.
    EXPECT_NE(boxes.Last().text.find("Last file:  " + Pic(2) + "\r\n"), std::string::npos) << boxes.Last().text;
}

TEST_F(ShowEngine, TagsGetThePathOfEachPictureHung) {
    MsgBoxRecorder boxes;
    MakeList({{40, 30}, {50, 30}});
    ShowNextPic(false);
    EXPECT_EQ(host.trayTag, Pic(1));
    EXPECT_EQ(host.infoTag, "") << "the information window only while \"Display Time\" is on";
    Settings.DisplayTime = true;
    ShowNextPic(false);
    EXPECT_EQ(host.trayTag, Pic(2));
    EXPECT_EQ(host.infoTag, Pic(2));
    // A wallpaper that cannot be set is reported by the wallpaper module; the tags stay.
    platform::ScopedSeam<std::function<BOOL(UINT, UINT, void*, UINT)>> failing(
        platform::seams::SystemParametersInfoA,
        [](UINT action, UINT, void*, UINT) { return action != SPI_SETDESKWALLPAPER; });
    ShowNextPic(false);
    EXPECT_EQ(host.trayTag, Pic(2));
    EXPECT_EQ(host.infoTag, Pic(2));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, common::kWallpaperSetError);
}

// ---------------------------------------------------------------- folder checks

TEST_F(ShowEngine, FolderChecksReportAndSwitchTheRotationOff) {
    MsgBoxRecorder boxes;
    struct Case {
        std::string folder;
        bool withPictures;
        std::string text;
    };
    const std::string gone = folder.Path() + "\\gone";
    const std::vector<Case> cases = {
        {"", true, "The pics folder has not been selected."},
        {gone, true, "The '" + gone + "' folder no longer exists."},
        {folder.Path(), false,
         "The '" + folder.Path() + "' folder does not contain any pic files (.jpg, .jpe*, .gif, .bmp)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.withPictures)
            MakeList({{40, 30}});
        else
            common::PicFiles = {folder.Path() + "\\" + common::PicFileSpec(false)};
        Settings.PicsFolder = c.folder;
        Settings.DisplayTime = true;
        SwitchOn();
        host.ssTimer.SetInterval(kTickInterval);
        boxes.Clear();
        EXPECT_FALSE(CheckPicsFolder());
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, c.text);
        EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
        EXPECT_EQ(host.chkActive.Value(), 0);
        EXPECT_FALSE(Settings.Active);
        EXPECT_FALSE(host.ssTimer.Enabled());
        EXPECT_EQ(host.ssTimer.Interval(), kFirstTickInterval);
        EXPECT_EQ(host.timeLeft, kNotActive);
    }
    // Through the timer: its own tick does not overwrite "Not Active".
    Settings.PicsFolder = "";
    SwitchOn();
    boxes.Clear();
    ssTimer_Timer();
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(host.timeLeft, kNotActive);
    EXPECT_FALSE(host.ssTimer.Enabled());
}

TEST_F(ShowEngine, MorePicTypesAreFoundHungOverTheDesktopColourAndReported) {
    MsgBoxRecorder boxes;
    const std::string data = testing_support::WinePathFromEnv("SORVITA_TEST_DATA") + "\\";
    for (const char* file : {"quad.webp", "quad.tif", "quad-alpha.png"})
        ASSERT_TRUE(CopyFileA((data + file).c_str(), folder.File(file).c_str(), FALSE));
    const std::string png = folder.File("quad-alpha.png"), tif = folder.File("quad.tif"), webp = folder.File("quad.webp");
    // Off: a folder of only these has no pictures, as ever.
    EXPECT_FALSE(BuildPicList(folder.Path()));
    EXPECT_FALSE(CheckPicsFolder());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "The '" + folder.Path() + "' folder does not contain any pic files (.jpg, .jpe*, .gif, .bmp).");
    // On: the messages name every type, and the search finds them in the patterns' order.
    Settings.MorePicTypes = true;
    EXPECT_FALSE(CheckPicsFolder());
    EXPECT_EQ(boxes.Last().text, "The '" + folder.Path() +
                                     "' folder does not contain any pic files (.jpg, .jpe*, .gif, .bmp, .png, .tif, "
                                     ".tiff, .webp, .heic, .heif, .avif).");
    ASSERT_TRUE(BuildPicList(folder.Path()));
    EXPECT_EQ(common::PicFiles, (std::vector<std::string>{folder.Path() + "\\" + common::PicFileSpec(true), png, tif, webp}));

    // Centred at its own size, the transparent parts showing the desktop's colour.
    Settings.StretchFit = false;
    Settings.TileSmall = false;
    const COLORREF desktop = RGB(10, 100, 200);
    const INT element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &desktop);
    boxes.Clear();
    EXPECT_EQ(HangNext(), png);
    platform::Picture hung = platform::Picture::Load(common::WallpaperFilePath());
    ASSERT_EQ(hung.Width(), 10);
    const auto pixel = [&](int x, int y) {
        COLORREF color = CLR_INVALID;
        platform::ScreenDC screen;
        HDC dc = CreateCompatibleDC(screen.get());
        HGDIOBJ old = SelectObject(dc, hung.Bitmap());
        color = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteDC(dc);
        return color;
    };
    EXPECT_EQ(pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(pixel(9, 0), desktop);
    EXPECT_EQ(pixel(0, 5), RGB(5, 50, 228));  // blue at 128/255
    EXPECT_EQ(HangNext(), tif);
    EXPECT_EQ(BmpSize(common::WallpaperFilePath()), std::make_pair(10L, 6L));
    EXPECT_EQ(boxes.Count(), 0u);
    // Where the system has no WebP decoder (Wine has none): a load error like any other.
    const std::string webpError = LoadErrorOf(webp, true);
    if (webpError.empty()) {
        EXPECT_EQ(HangNext(), webp);
    } else {
        EXPECT_EQ(webpError, "This system has no decoder for this kind of picture.");
        EXPECT_EQ(HangNext(), "");
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text,
                  "An error occurred attempting to load the '" + webp + "' file:\r\n\r\n" + webpError);
        // Skipped with "Skip Errors": the next picture comes instead.
        Settings.SkipErrors = true;
        EXPECT_EQ(HangNext(), png);
        EXPECT_EQ(boxes.Count(), 1u);
    }
}

TEST_F(ShowEngine, FolderChangeForgetsThePreviousPictureAndStopsAnEmptyRotation) {
    MsgBoxRecorder boxes;
    MakeList({{40, 30}, {50, 30}});
    ShowNextPic(false);
    ShowNextPic(false);
    SwitchOn();
    FolderChanged();
    EXPECT_EQ(PicPosition.PreviousIndex, 0);
    EXPECT_TRUE(Settings.Active);
    common::PicFiles = {"empty"};
    FolderChanged();
    EXPECT_FALSE(Settings.Active);
    EXPECT_EQ(host.chkActive.Value(), 0);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(ShowEngine, BuildPicListShowsTheCheckOnTopOfTheFolderList) {
    MsgBoxRecorder boxes;
    CreateDirectoryA(folder.File("sub").c_str(), nullptr);
    WriteBmp(folder.File("sub\\deep.bmp"), 8, 8);
    WriteBmp(folder.File("top.bmp"), 8, 8);
    testing_support::WriteFile(folder.File("notes.txt"), "no picture");
    host.cboPicFolder.AddItem("C:\\First");
    host.cboPicFolder.AddItem(folder.Path());
    host.cboPicFolder.SetListIndex(1);
    host.folderClicks.clear();

    EXPECT_TRUE(BuildPicList(folder.Path()));
    EXPECT_EQ(PicCount(), 1);
    EXPECT_EQ(Pic(1), folder.File("top.bmp"));
    // The check was shown selected while the list was being built; then the old selection came back.
    ASSERT_EQ(host.folderClicks.size(), 2u);
    EXPECT_EQ(host.folderClicks[0], std::make_pair(true, std::string(kCheckingFolders)));
    EXPECT_EQ(host.folderClicks[1], std::make_pair(true, folder.Path()));
    EXPECT_FALSE(host.buildingList);
    EXPECT_EQ(host.cboPicFolder.ListCount(), 2);
    EXPECT_EQ(host.cboPicFolder.ListIndex(), 1);
    EXPECT_FALSE(platform::IsBusyPointer());

    Settings.PicsSubfolders = true;
    EXPECT_TRUE(BuildPicList(folder.Path()));
    EXPECT_EQ(PicCount(), 2);

    // No folder: no check entry, nothing found.
    host.folderClicks.clear();
    EXPECT_FALSE(BuildPicList(""));
    EXPECT_TRUE(host.folderClicks.empty());
    EXPECT_EQ(PicCount(), 0);
    EXPECT_FALSE(BuildPicList(folder.File("nothing here")));
    EXPECT_EQ(host.cboPicFolder.ListCount(), 2);
    EXPECT_EQ(boxes.Count(), 0u);
}

// ---------------------------------------------------------------- the show timer

TEST_F(ShowEngine, FirstTickHangsAtOnceThenTheDelayDecides) {
    MsgBoxRecorder boxes;
    MakeList({{40, 30}, {50, 30}, {60, 30}});
    Settings.ShowDelay = 300;
    Settings.QuickDelay = 20;
    Settings.DisplayTime = true;
    DelaySelected(0);
    SwitchOn();
    EXPECT_TRUE(host.ssTimer.Enabled());
    EXPECT_EQ(host.ssTimer.Interval(), kFirstTickInterval);
    EXPECT_EQ(DelayInEffect, 300);

    now = 1000.25;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(1));
    EXPECT_EQ(host.ssTimer.Interval(), kTickInterval);
    EXPECT_FLOAT_EQ(LastShowTime, 1000.25f);
    EXPECT_EQ(host.timeLeft, common::TimeLeftText(300, true, false, true));

    now = 1000.25 + 60.5;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(1));
    EXPECT_EQ(host.timeLeft, common::TimeLeftText(240, true, false, true));
    now = 1000.25 + 299.9;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(1));
    EXPECT_EQ(host.timeLeft, common::TimeLeftText(1, true, false, true));
    now = 1000.25 + 300;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(2));
    EXPECT_EQ(host.timeLeft, common::TimeLeftText(300, true, false, true));

    // The Other delay, selected while on, restarts the countdown from now.
    now = 1400;
    DelaySelected(1);
    EXPECT_EQ(DelayInEffect, 20);
    now = 1419;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(2));
    now = 1420;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(3));

    // Switched off: interval back to 1, "Not Active", and no more time left shown.
    host.chkActive.SetValue(0);
    EXPECT_FALSE(host.ssTimer.Enabled());
    EXPECT_EQ(host.ssTimer.Interval(), kFirstTickInterval);
    EXPECT_EQ(host.timeLeft, kNotActive);
    // Back on with the Other delay selected.
    SwitchOn();
    EXPECT_EQ(DelayInEffect, 20);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(ShowEngine, MidnightHangsAtOnce) {
    MsgBoxRecorder boxes;
    MakeList({{40, 30}, {50, 30}});
    Settings.ShowDelay = 21600;
    DelaySelected(0);
    now = 86399.5;
    SwitchOn();
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(1));
    now = 86399.9;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(1));
    now = 0.4;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(2));
    EXPECT_NEAR(LastShowTime, 0.4f, 1e-6);
}

TEST_F(ShowEngine, ShowNextAndPreviousCommandsRestartTheCountdown) {
    MsgBoxRecorder boxes;
    MakeList({{40, 30}, {50, 30}, {60, 30}});
    Settings.ShowDelay = 300;
    DelaySelected(0);
    // Off: "Show Next Pic" hangs at once.
    ShowNextPicCommand();
    EXPECT_EQ(host.trayTag, Pic(1));

    SwitchOn();
    ssTimer_Timer();  // first tick: picture 2
    EXPECT_EQ(host.trayTag, Pic(2));
    // On: the next tick hangs, whatever time is left.
    now = 1010;
    ShowNextPicCommand();
    EXPECT_FLOAT_EQ(LastShowTime, -300.0f);
    EXPECT_EQ(host.trayTag, Pic(2));
    now = 1010.5;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(3));
    EXPECT_FLOAT_EQ(LastShowTime, 1010.5f);

    // "Show Previous Pic" hangs at once and counts the delay from then.
    now = 1200;
    ShowPreviousPicCommand();
    EXPECT_EQ(host.trayTag, Pic(2));
    now = 1499;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(2));
    now = 1500;
    ssTimer_Timer();
    EXPECT_EQ(host.trayTag, Pic(3));
    EXPECT_EQ(boxes.Count(), 0u);
}

// A pick's message box lets the timer and the tray commands run; none may start a pick.
TEST_F(ShowEngine, NoNewPickWhileOneIsStillBeingHandled) {
    MsgBoxRecorder boxes;
    MakeList({{0, 0}, {40, 30}});
    Settings.ShowDelay = 5;
    DelaySelected(0);
    SwitchOn();
    ssTimer_Timer();  // the first tick fails on picture 1
    ASSERT_EQ(boxes.Count(), 1u);
    int nestedBoxes = 0;
    platform::SetMsgBoxHook([&](const platform::MsgBoxCall&) {
        ++nestedBoxes;
        EXPECT_TRUE(ShowingPic());
        now += 100;
        ssTimer_Timer();
        ShowNextPicCommand();
        ShowPreviousPicCommand();
        ShowNextPic(false);
        return IDOK;
    });
    PicPosition = PickState{};
    now = 1100;
    ssTimer_Timer();
    EXPECT_EQ(nestedBoxes, 1);
    EXPECT_EQ(PicPosition.CurrentIndex, 1);
    EXPECT_EQ(host.trayTag, "");
    EXPECT_FALSE(ShowingPic());
}

TEST_F(ShowEngine, RealTimerTicksFirstAfterAMillisecondThenEveryHalfSecond) {
    MsgBoxRecorder boxes;
    MakeList({{40, 30}, {50, 30}});
    Settings.ShowDelay = 300;
    DelaySelected(0);
    SwitchOn();
    const DWORD start = GetTickCount();
    while (host.trayTag.empty() && GetTickCount() - start < 3000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        testing_support::PumpMessages();
    }
    EXPECT_EQ(host.trayTag, Pic(1));
    EXPECT_EQ(host.ssTimer.Interval(), kTickInterval);
    // The clock stands still: later ticks change nothing.
    const DWORD again = GetTickCount();
    while (GetTickCount() - again < 1200) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        testing_support::PumpMessages();
    }
    EXPECT_EQ(host.trayTag, Pic(1));
    // Time runs out: the next real tick hangs.
    now += 300;
    const DWORD last = GetTickCount();
    while (host.trayTag == Pic(1) && GetTickCount() - last < 3000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        testing_support::PumpMessages();
    }
    EXPECT_EQ(host.trayTag, Pic(2));
    host.chkActive.SetValue(0);
    EXPECT_EQ(boxes.Count(), 0u);
}

// ---------------------------------------------------------------- soak

namespace {

// Live GDI and USER objects of this process; where the system does not count them (Wine),
// the GDI handle table's entries in use and this thread's windows.
long GdiObjects() {
    const testing_support::GuiObjects counts = testing_support::CountGuiObjects();
    return static_cast<long>(counts.gdi ? counts.gdi : counts.gdiTable);
}

long UserObjects() {
    const testing_support::GuiObjects counts = testing_support::CountGuiObjects();
    return static_cast<long>(counts.user ? counts.user : counts.windows);
}

SIZE_T WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

}  // namespace

TEST_F(ShowEngine, TwoThousandHangsLeakNothing) {
    MsgBoxRecorder boxes;
    // The GDI count must see a bitmap come and go, or it proves nothing.
    const long gdiBefore = GdiObjects();
    {
        platform::GdiObject probe(CreateBitmap(4, 4, 1, 32, nullptr));
        ASSERT_EQ(GdiObjects(), gdiBefore + 1);
    }
    ASSERT_EQ(GdiObjects(), gdiBefore);
    // Likewise the working set must see memory being touched.
    {
        const SIZE_T before = WorkingSet();
        std::vector<char> block(16u << 20, 1);
        ASSERT_GT(WorkingSet(), before + (8u << 20)) << static_cast<int>(block[block.size() / 2]);
    }

    // Every path: tiled, centred on a random colour, a skipped load error, stretched.
    MakeList({{32, 32}, {100, 100}, {0, 0}, {static_cast<int>(screenWidth) + 1, 8}});
    Settings.SkipErrors = true;
    Settings.TileSmall = true;
    Settings.TilePercent = 1;
    Settings.StretchFit = true;
    Settings.RandomColor = true;
    Settings.DisplayTime = true;
    Settings.ShowDelay = 1;
    DelaySelected(0);
    SwitchOn();

    int hangs = 0;
    auto run = [&](int count) {
        for (int i = 0; i < count; ++i) {
            now += 1.0;
            ssTimer_Timer();
            if (!host.trayTag.empty()) ++hangs;
            host.trayTag.clear();
        }
    };
    run(200);  // warm-up: caches, heaps and the decoder settle
    const long gdi = GdiObjects(), user = UserObjects();
    const SIZE_T warm = WorkingSet();
    run(900);
    const SIZE_T middle = WorkingSet();
    run(900);
    const SIZE_T end = WorkingSet();
    EXPECT_EQ(hangs, 2000);
    EXPECT_EQ(GdiObjects(), gdi);
    EXPECT_EQ(UserObjects(), user);
    // Settles: the second half grows no more than a little allocator slack.
    const SIZE_T slack = 2u << 20;
    EXPECT_LT(end, middle + slack) << "warm " << warm << " middle " << middle << " end " << end;
    EXPECT_LT(middle, warm + 2 * slack) << "warm " << warm << " middle " << middle;
    EXPECT_EQ(boxes.Count(), 0u);
    RecordProperty("WorkingSetWarm", std::to_string(warm));
    RecordProperty("WorkingSetEnd", std::to_string(end));
    printf("[soak] GDI %ld USER %ld, working set warm %zu, middle %zu, end %zu\n", gdi, user, static_cast<size_t>(warm),
           static_cast<size_t>(middle), static_cast<size_t>(end));
}
