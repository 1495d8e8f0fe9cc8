// The browser window: history, navigation, stepping, the two situations, its size.
#include <algorithm>
#include <deque>

#include "BrowserHarness.h"
#include "common/SettingsApp_.h"
#include "common/WindowsWallpaper_.h"
#include "picture_browser/BrowserRules_.h"
#include "picture_browser/SubclassWP_.h"
#include "platform/Handles.h"
#include "platform/Text.h"
#include "support/GuiObjects.h"

using namespace browser_test;
using testing_support::MsgBoxRecorder;
using testing_support::RegString;
using testing_support::RegValueExists;

namespace {

class Browser : public BrowserHarness {
protected:
    void PresetHistory(const std::vector<std::string>& folders) {
        for (size_t i = 0; i < folders.size(); ++i)
            common::SaveAppSetting("Browse Pics", picture_browser::HistoryKey(static_cast<int>(i)), folders[i], true);
    }
    std::string Upper(std::string text) {
        for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        return text;
    }
};

// The picture's colours, top row first.
std::vector<DWORD> Colours(const platform::Picture& picture) {
    DIBSECTION section{};
    if (!GetObjectA(picture.Bitmap(), sizeof section, &section)) return {};
    const auto* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
    std::vector<DWORD> colours(bits, bits + static_cast<size_t>(picture.Width()) * picture.Height());
    for (DWORD& colour : colours) colour &= 0xFFFFFF;
    return colours;
}

}  // namespace

TEST_F(Browser, FirstOpeningShowsTheCurrentFolderWithAnEmptyHistory) {
    SetCurrentDirectoryA(pics.c_str());
    auto& form = OpenOwn();
    EXPECT_EQ(form.PicsFolder.Path(), pics);
    EXPECT_EQ(form.PicsFileList.Path(), pics);
    EXPECT_EQ(form.PicsFileList.ListCount(), 3);
    EXPECT_EQ(form.cboPicFolder.ListCount(), 0);
    EXPECT_EQ(form.txtFileList.Text(), "3 pic files found in " + pics);
    EXPECT_FALSE(form.cmdClearList[0].Enabled());
    EXPECT_FALSE(form.cmdClearList[1].Enabled());
    EXPECT_TRUE(form.FolderMode());
    EXPECT_EQ(form.PicsDrive.Drive(), std::string(1, static_cast<char>(tolower(pics[0]))) + ":");
    // Nothing shown yet.
    EXPECT_FALSE(form.cmdOpenPic.Enabled());
    EXPECT_EQ(form.labPicNumber.Text(), "");
    EXPECT_EQ(form.PicsFileList.ToolTipText(), "Right-click or press Enter to open selected pic.");
    EXPECT_EQ(form.Pane.Pic.ToolTipText(), "Right-click for display menu; Double-click to open pic.");
    EXPECT_EQ(form.Pane.Image1.ToolTipText(), form.Pane.Pic.ToolTipText());
}

TEST_F(Browser, FilesMatchThePatternOnlyInNameOrder) {
    WriteBitmap(pics + "\\D.BMP", 4, 4);
    testing_support::WriteFile(pics + "\\e.jpeg", "x");
    testing_support::WriteFile(pics + "\\f.JPE", "x");
    testing_support::WriteFile(pics + "\\g.gif", "x");
    testing_support::WriteFile(pics + "\\h.png", "x");
    testing_support::WriteFile(pics + "\\i.jpg.txt", "x");
    CreateDirectoryA((pics + "\\sub.jpg").c_str(), nullptr);
    auto& form = OpenOwn();
    EnterFolder("Pics");
    std::vector<std::string> names;
    for (int i = 0; i < form.PicsFileList.ListCount(); ++i) names.push_back(form.PicsFileList.List(i));
    EXPECT_EQ(names, (std::vector<std::string>{"a.bmp", "b.bmp", "c.bmp", "D.BMP", "e.jpeg", "f.JPE", "g.gif"}));
    // The folder list: the path down to here, then the subfolders.
    EXPECT_EQ(form.PicsFolder.List(form.PicsFolder.ListIndex()), "Pics");
    EXPECT_EQ(form.PicsFolder.List(form.PicsFolder.ListCount() - 1), "sub.jpg");
}

// The folder is read a block of entries at a time: a folder that takes several blocks, with
// names that sort and match in tricky ways, lists exactly what a name-by-name search of the
// folder finds, in name order.
TEST_F(Browser, FileListOfALargeFolderOfTrickyNamesHoldsWhatANameByNameSearchFinds) {
    for (const char* name : {"[a].jpg", "-b.jpg", "_c.jpg", "\xc3\x89t\xc3\xa9.jpg", "\xc3\xa9" "a.gif", "Ab.jpg",
                             "aC.jpeg", "a b.jpg", "a-b.JPG", "z.jpg.bmp", "x.jpgx", "y.gif.txt", "hidden.jpg",
                             "system.bmp"})
        testing_support::WriteFile(pics + "\\" + name, "x");
    WriteBitmap(pics + "\\z.jpg.bmp", 4, 4);  // shown when the keyboard selects it
    SetFileAttributesA((pics + "\\hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((pics + "\\system.bmp").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryA((pics + "\\folder.jpg").c_str(), nullptr);
    // Long names: a few hundred of them fill more than one block.
    for (int i = 0; i < 400; ++i) {
        char name[96];
        snprintf(name, sizeof name, "%s picture with a long name to fill the listing %03d.jpg",
                 i % 3 == 0 ? "Another" : i % 3 == 1 ? "another" : "ANOTHER", i);
        testing_support::WriteFile(pics + "\\" + name, "");
    }
    std::vector<std::string> expected;
    WIN32_FIND_DATAW data;
    platform::FindHandle find(FindFirstFileW(platform::Wide(pics + "\\*").c_str(), &data));
    ASSERT_TRUE(find);
    do {
        const std::string name = platform::FromWide(data.cFileName);
        if (!(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) &&
            picture_browser::MatchesPatternList(name, picture_browser::kPicturePattern))
            expected.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    std::sort(expected.begin(), expected.end(), picture_browser::NameLess);
    ASSERT_EQ(expected.size(), 3 + 400 + 10u);

    auto& form = OpenOwn();
    EnterFolder("Pics");
    std::vector<std::string> names;
    for (int i = 0; i < form.PicsFileList.ListCount(); ++i) names.push_back(form.PicsFileList.List(i));
    EXPECT_EQ(names, expected);
    EXPECT_EQ(form.txtFileList.Text(), "413 pic files found in " + pics);
    // Keyboard search by first letter still finds the first name with that letter.
    SendMessageA(form.PicsFileList.hWnd(), WM_CHAR, 'z', 0);
    EXPECT_EQ(form.PicsFileList.List(form.PicsFileList.ListIndex()), "z.jpg.bmp");
}

TEST_F(Browser, FolderWithPicturesEntersTheHistoryAndOneWithoutNever) {
    auto& form = OpenOwn();
    EnterFolder("Empty");
    EXPECT_EQ(form.txtFileList.Text(), "0 pic files found in " + empty);
    EXPECT_TRUE(HistoryItems().empty());
    EXPECT_FALSE(form.cmdNext.Enabled());
    EXPECT_FALSE(form.cmdPrevious.Enabled());
    EXPECT_FALSE(form.cmdRndSelect.Enabled());
    DoubleClick(form.PicsFolder, form.PicsFolder.ListIndex() - 1);  // up to the parent
    EnterFolder("Pics");
    EXPECT_EQ(HistoryItems(), std::vector<std::string>{pics});
    EXPECT_EQ(form.cboPicFolder.Text(), pics);
    EXPECT_TRUE(form.cmdClearList[0].Enabled());
    EXPECT_TRUE(form.cmdClearList[1].Enabled());
    EXPECT_EQ(beeps, 0);
}

TEST_F(Browser, HistoryKeepsTwentyFoldersNewestFirstWithoutRegardToCase) {
    std::vector<std::string> preset{empty};
    for (int i = 1; i < 19; ++i) preset.push_back("C:\\Old\\" + std::to_string(i));
    preset.push_back(Upper(pics));
    PresetHistory(preset);
    auto& form = OpenOwn();
    EXPECT_EQ(HistoryItems(), preset);
    EXPECT_EQ(form.PicsFolder.Path(), empty);  // the first item was chosen at load
    EXPECT_EQ(beeps, 0);

    // A folder already there, spelt in other letter case, moves up without a copy.
    DoubleClick(form.PicsFolder, form.PicsFolder.ListIndex() - 1);
    EnterFolder("Pics");
    std::vector<std::string> items = HistoryItems();
    ASSERT_EQ(items.size(), 20u);
    EXPECT_EQ(items[0], pics);
    EXPECT_EQ(items[1], empty);
    EXPECT_EQ(items[19], "C:\\Old\\18");
    int copies = 0;
    for (const std::string& item : items) copies += lstrcmpiA(item.c_str(), pics.c_str()) == 0;
    EXPECT_EQ(copies, 1);

    // A new folder in the full list pushes the oldest out.
    const std::string other = root.File("Other");
    CreateDirectoryA(other.c_str(), nullptr);
    WriteBitmap(other + "\\d.bmp", 8, 8);
    DoubleClick(form.PicsFolder, form.PicsFolder.ListIndex() - 1);
    EnterFolder("Other");
    items = HistoryItems();
    ASSERT_EQ(items.size(), 20u);
    EXPECT_EQ(items[0], other);
    EXPECT_EQ(items[1], pics);
    EXPECT_EQ(items[19], "C:\\Old\\17");

    // Choosing an item moves the lists there, and the folder to the top.
    Choose(form.cboPicFolder, 1);
    EXPECT_EQ(form.PicsFolder.Path(), pics);
    EXPECT_EQ(form.PicsFileList.Path(), pics);
    EXPECT_EQ(form.cboPicFolder.Text(), pics);
    items = HistoryItems();
    EXPECT_EQ(items[0], pics);
    EXPECT_EQ(items[1], other);
    EXPECT_EQ(items.size(), 20u);
    EXPECT_EQ(beeps, 0);
}

TEST_F(Browser, ChoosingAMissingHistoryFolderBeepsAndStays) {
    PresetHistory({pics, "C:\\No Such Folder"});
    auto& form = OpenOwn();
    EXPECT_EQ(form.PicsFolder.Path(), pics);
    Choose(form.cboPicFolder, 1);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(form.PicsFolder.Path(), pics);
    EXPECT_EQ(form.PicsFileList.Path(), pics);
    EXPECT_EQ(form.txtFileList.Text(), "3 pic files found in " + pics);
}

TEST_F(Browser, RemoveWaitsForTheCloseClearDeletesTheKeysAtOnce) {
    PresetHistory({pics, empty, "C:\\Third"});
    auto& form = OpenOwn();
    MsgBoxRecorder boxes;
    boxes.Answer(IDNO);
    Click(form.cmdClearList[0]);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Are you sure you want to remove the current folder?");
    EXPECT_EQ(boxes.Last().flags & (MB_ICONMASK | MB_TYPEMASK | MB_DEFMASK),
              static_cast<unsigned>(MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON1));
    EXPECT_EQ(HistoryItems().size(), 3u);

    Click(form.cmdClearList[0]);  // Yes
    EXPECT_EQ(HistoryItems(), (std::vector<std::string>{empty, "C:\\Third"}));
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kHistoryKey, "Folder 00"), pics);  // not yet

    boxes.Answer(IDNO);
    Click(form.cmdClearList[1]);
    EXPECT_EQ(boxes.Last().text, "Are you sure you want to clear the folder list?");
    EXPECT_EQ(boxes.Last().flags & MB_DEFMASK, static_cast<unsigned>(MB_DEFBUTTON2));
    EXPECT_EQ(HistoryItems().size(), 2u);
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kHistoryKey, "Folder 02"));

    Close();  // the removal reaches the registry with the close
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kHistoryKey, "Folder 00"), empty);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kHistoryKey, "Folder 01"), "C:\\Third");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kHistoryKey, "Folder 02"), "");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kHistoryKey, "Folder 19"), "");

    auto& again = OpenOwn();
    Click(again.cmdClearList[1]);  // Yes
    EXPECT_TRUE(HistoryItems().empty());
    EXPECT_FALSE(again.cmdClearList[0].Enabled());
    EXPECT_FALSE(again.cmdClearList[1].Enabled());
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kHistoryKey, picture_browser::HistoryKey(i))) << i;
}

TEST_F(Browser, RemovingATextThatIsNotInTheHistoryKeepsEveryFolder) {
    std::vector<std::string> preset{pics};
    for (int i = 1; i < 20; ++i) preset.push_back("C:\\Old\\" + std::to_string(i));
    PresetHistory(preset);
    auto& form = OpenOwn();
    form.cboPicFolder.SetText("C:\\Typed");
    MsgBoxRecorder boxes;
    Click(form.cmdClearList[0]);
    EXPECT_EQ(HistoryItems(), preset);
}

TEST_F(Browser, LongHistoryTextGetsItselfAsTooltip) {
    auto& form = OpenOwn();
    auto type = [&](const std::string& text) {
        form.cboPicFolder.SetText(text);
        SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(form.cboPicFolder.Id(), CBN_EDITCHANGE),
                     reinterpret_cast<LPARAM>(form.cboPicFolder.hWnd()));
    };
    const std::string longText = "C:\\" + std::string(120, 'W') + "\\Pictures";
    type(longText);
    EXPECT_EQ(form.cboPicFolder.ToolTipText(), longText);
    type("C:\\Pics");
    EXPECT_EQ(form.cboPicFolder.ToolTipText(), "");
    // Dropping the list down widens it to the widest folder.
    form.cboPicFolder.AddItem(longText);
    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(form.cboPicFolder.Id(), CBN_DROPDOWN),
                 reinterpret_cast<LPARAM>(form.cboPicFolder.hWnd()));
    EXPECT_GT(SendMessageA(form.cboPicFolder.hWnd(), CB_GETDROPPEDWIDTH, 0, 0),
              platform::TwipsToPixelsX(form.cboPicFolder.Width()));
}

TEST_F(Browser, DriveThatFailsBeepsAndGoesBack) {
    ASSERT_TRUE(DefineDosDeviceA(0, "Q:", "C:\\sorvita-no-such-folder"));
    auto& form = OpenOwn();
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, "Q:", nullptr);
    EnterFolder("Pics");
    const std::string drive = form.PicsDrive.Drive();
    int q = -1;
    for (int i = 0; i < form.PicsDrive.ListCount(); ++i)
        if (form.PicsDrive.List(i).rfind("q:", 0) == 0) q = i;
    ASSERT_GE(q, 0);
    Choose(form.PicsDrive, q);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(form.PicsDrive.Drive(), drive);
    EXPECT_EQ(form.PicsFolder.Path(), pics);
    EXPECT_EQ(form.PicsFileList.Path(), pics);
    // A drive that works moves the lists there.
    int z = -1;
    for (int i = 0; i < form.PicsDrive.ListCount(); ++i)
        if (form.PicsDrive.List(i).rfind("z:", 0) == 0) z = i;
    ASSERT_GE(z, 0);
    Choose(form.PicsDrive, z);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(toupper(form.PicsFolder.Path()[0]), 'Z');
    EXPECT_EQ(form.PicsFileList.Path(), form.PicsFolder.Path());
}

TEST_F(Browser, NextAndPreviousWrapAroundAndStartAtEitherEnd) {
    auto& form = OpenOwn();
    EnterFolder("Pics");
    ASSERT_EQ(form.PicsFileList.ListIndex(), -1);
    Click(form.cmdNext);
    EXPECT_EQ(form.PicsFileList.ListIndex(), 0);
    EXPECT_EQ(form.labPicNumber.Text(), "Pic 1");
    EXPECT_EQ(form.Pane.Pic.Tag, pics + "\\a.bmp");
    Click(form.cmdPrevious);
    EXPECT_EQ(form.PicsFileList.ListIndex(), 2);
    EXPECT_EQ(form.labPicNumber.Text(), "Pic 3");
    Click(form.cmdNext);
    EXPECT_EQ(form.PicsFileList.ListIndex(), 0);

    Choose(form.PicsFileList, -1);
    Click(form.cmdPrevious);
    EXPECT_EQ(form.PicsFileList.ListIndex(), 2);
    EXPECT_EQ(form.Pane.Pic.Tag, pics + "\\c.bmp");
}

TEST_F(Browser, RandomSelectNeverRepeatsAndNeedsTwoPictures) {
    auto& form = OpenOwn();
    EnterFolder("Pics");
    Choose(form.PicsFileList, 1);
    {
        std::deque<double> draws{0.4, 0.5, 0.6, 0.1, 0.9};
        int drawn = 0;
        platform::ScopedSeam<std::function<double()>> random(platform::seams::Random, [&] {
            ++drawn;
            double d = draws.front();
            draws.pop_front();
            return d;
        });
        Click(form.cmdRndSelect);
        // 0.4, 0.5 and 0.6 all give the current picture; 0.9, the next Random Select's pick,
        // is drawn as soon as a picture is shown, so that its picture is read ahead.
        EXPECT_EQ(drawn, 5);
        EXPECT_EQ(form.PicsFileList.ListIndex(), 0);
        EXPECT_EQ(form.Pane.Pic.Tag, pics + "\\a.bmp");
        EXPECT_EQ(form.ReadAhead.Path(), pics + "\\c.bmp");
    }
    Click(form.cmdRndSelect);
    EXPECT_EQ(form.Pane.Pic.Tag, pics + "\\c.bmp");
    // A long run of real draws: never the same picture twice in a row.
    int previous = form.PicsFileList.ListIndex();
    for (int i = 0; i < 30; ++i) {
        Click(form.cmdRndSelect);
        EXPECT_NE(form.PicsFileList.ListIndex(), previous);
        previous = form.PicsFileList.ListIndex();
    }

    // A picture may be deleted while it is read ahead; it is listed until the reading lets go.
    EXPECT_TRUE(DeleteFileA((pics + "\\b.bmp").c_str()));
    EXPECT_TRUE(DeleteFileA((pics + "\\c.bmp").c_str()));
    form.ReadAhead.Settle();
    DoubleClick(form.PicsFolder, form.PicsFolder.ListIndex() - 1);
    EnterFolder("Pics");
    EXPECT_EQ(form.txtFileList.Text(), "1 pic file found in " + pics);
    EXPECT_FALSE(form.cmdRndSelect.Enabled());
    EXPECT_TRUE(form.cmdNext.Enabled());
}

TEST_F(Browser, EachStepReadsAheadWhatTheSameStepShowsNextAndShowsFilesAsTheyAreWhenShown) {
    auto& form = OpenOwn();
    EnterFolder("Pics");
    Click(form.cmdNext);
    EXPECT_EQ(form.ReadAhead.Path(), pics + "\\b.bmp");
    Click(form.cmdPrevious);
    EXPECT_EQ(form.ReadAhead.Path(), pics + "\\b.bmp") << "back from c.bmp comes b.bmp";
    form.ReadAhead.Settle();
    // Steps of every kind, each reading ahead while the next comes: nothing left behind.
    const testing_support::GuiObjects objects = testing_support::CountGuiObjects();
    const unsigned long threads = testing_support::CountThreads();
    for (int i = 0; i < 500; ++i) Click(i % 5 == 4 ? form.cmdRndSelect : i % 7 == 6 ? form.cmdPrevious : form.cmdNext);
    form.ReadAhead.Settle();
    EXPECT_EQ(objects, testing_support::CountGuiObjects());
    EXPECT_EQ(threads, testing_support::CountThreads());

    // A file written over after it was read ahead shows as it is now.
    Choose(form.PicsFileList, 0);
    form.ReadAhead.Settle();
    WriteBitmap(pics + "\\b.bmp", 7, 5);
    Click(form.cmdNext);
    EXPECT_EQ(form.Pane.Picture().Width(), 7);
    // A picture over the size limit and a damaged one fail only when they are shown.
    ASSERT_TRUE(CopyFileA(testing_support::WinePathFromEnv("SORVITA_TEST_DATA").append("\\huge-header.bmp").c_str(),
                          (pics + "\\c.bmp").c_str(), FALSE));
    testing_support::WriteFile(pics + "\\d.bmp", "this is no bitmap");
    form.PicsFileList.Refresh();
    MsgBoxRecorder boxes;
    Choose(form.PicsFileList, 1);
    form.ReadAhead.Settle();
    EXPECT_EQ(boxes.Count(), 0u);
    Click(form.cmdNext);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.Last().text.find("c.bmp' file:\r\n\r\nThe picture is too large to be loaded."), std::string::npos);
    form.ReadAhead.Settle();
    Click(form.cmdNext);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_NE(boxes.Last().text.find("d.bmp' file:"), std::string::npos);
    // Another folder: nothing of this one is read ahead.
    DoubleClick(form.PicsFolder, form.PicsFolder.ListIndex() - 1);
    EXPECT_EQ(form.ReadAhead.Path(), "");
}

TEST_F(Browser, EnterOrRightClickInTheFileListOpensTheShownPicture) {
    auto& form = OpenOwn();
    EnterFolder("Pics");
    SendMessageA(form.PicsFileList.hWnd(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(opened.empty());  // nothing selected
    ChooseFile("c.bmp");
    EXPECT_EQ(SendMessageA(form.PicsFileList.hWnd(), WM_GETDLGCODE, VK_RETURN, 0) & DLGC_WANTMESSAGE, 0);
    MSG enter{form.PicsFileList.hWnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_NE(SendMessageA(form.PicsFileList.hWnd(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                  DLGC_WANTMESSAGE,
              0);
    SendMessageA(form.PicsFileList.hWnd(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(form.PicsFileList.hWnd(), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
    Click(form.cmdOpenPic);
    ASSERT_EQ(opened.size(), 3u);
    for (const std::string& path : opened) EXPECT_EQ(path, pics + "\\c.bmp");
}

TEST_F(Browser, WallpaperMenuHangsTheShownPictureAndClearRemovesIt) {
    MsgBoxRecorder boxes;
    auto& form = OpenOwn();
    EnterFolder("Pics");
    ChooseFile("b.bmp");
    std::vector<std::string> hung;
    platform::ScopedSeam<std::function<BOOL(UINT, UINT, void*, UINT)>> spi(
        platform::seams::SystemParametersInfoA, [&](UINT action, UINT value, void* param, UINT flags) {
            if (action == SPI_SETDESKWALLPAPER) hung.push_back(static_cast<const char*>(param));
            return ::SystemParametersInfoA(action, value, param, flags);
        });
    popupChoice = &form.Wallpaper_Popup_Tiled;
    Click(form.cmdSetWallpaper);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].menu, &form.Wallpaper_Popup);
    POINT corner{0, 0};
    ClientToScreen(form.cmdSetWallpaper.hWnd(), &corner);
    EXPECT_EQ(popups[0].at.x, corner.x + 1);
    EXPECT_EQ(popups[0].at.y, corner.y + 1);
    const std::string file = common::WallpaperFilePath();
    ASSERT_EQ(hung.size(), 1u);
    EXPECT_EQ(hung[0], file);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "TileWallpaper"), "1");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"), file);
    platform::Picture written = platform::Picture::Load(file);
    EXPECT_EQ(written.Width(), 50);  // the picture at its own size, whatever the display mode
    EXPECT_EQ(written.Height(), 20);
    written.Release();

    Click(form.cmdClearWallpaper);
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(hung.size(), 2u);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"), "(None)");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Browser, PhotoStoredTurnedIsShownDescribedAndHungUpright) {
    // Stored 16 x 24 with a quarter turn clockwise; upright 24 x 16.
    auto& form = OpenOwn();
    EnterFolder("Pics");
    const std::string data = testing_support::WinePathFromEnv("SORVITA_TEST_DATA");
    ASSERT_TRUE(CopyFileA((data + "\\orient-6.jpg").c_str(), (pics + "\\phone.jpg").c_str(), FALSE));
    form.PicsFileList.Refresh();
    ChooseFile("phone.jpg");
    const std::string info = form.labPicInfo.Text();
    EXPECT_EQ(info.substr(0, info.find(" - ")), "24 x 16") << info;
    EXPECT_EQ(form.Pane.PicWidth, platform::PixelsToTwipsX(24));
    EXPECT_EQ(form.Pane.PicHeight, platform::PixelsToTwipsY(16));

    platform::ScopedSeam<std::function<BOOL(UINT, UINT, void*, UINT)>> spi(
        platform::seams::SystemParametersInfoA, [](UINT, UINT, void*, UINT) { return TRUE; });
    popupChoice = &form.Wallpaper_Popup_Centered;
    Click(form.cmdSetWallpaper);
    const platform::Picture written = platform::Picture::Load(common::WallpaperFilePath());
    const platform::Picture upright = platform::Picture::Load(data + "\\orient-1.jpg");
    ASSERT_EQ(written.Width(), 24);
    ASSERT_EQ(written.Height(), 16);
    EXPECT_EQ(Colours(written), Colours(upright));
}

TEST_F(Browser, MorePicTypesFromTheDisplayMenuAreListedShownHungAndKept) {
    const std::string data = testing_support::WinePathFromEnv("SORVITA_TEST_DATA") + "\\";
    for (auto [from, to] : {std::pair{"quad-alpha.png", "x.png"}, {"quad.webp", "y.webp"}, {"quad-16.tif", "z.TIF"}})
        ASSERT_TRUE(CopyFileA((data + from).c_str(), (pics + "\\" + to).c_str(), FALSE));
    const auto names = [](picture_browser::frmWallpaper& form) {
        std::vector<std::string> list;
        for (int i = 0; i < form.PicsFileList.ListCount(); ++i) list.push_back(form.PicsFileList.List(i));
        return list;
    };
    auto& form = OpenOwn();
    EnterFolder("Pics");
    EXPECT_EQ(form.Graphic_Popup_MorePicTypes.Caption(), "Also use PNG, TIFF, WebP, HEIC and AVIF pictures");
    EXPECT_FALSE(form.Graphic_Popup_MorePicTypes.Checked());
    EXPECT_EQ(names(form), (std::vector<std::string>{"a.bmp", "b.bmp", "c.bmp"}));
    popupChoice = &form.Graphic_Popup_MorePicTypes;
    form.Graphic_Popup_Show(POINT{0, 0});
    EXPECT_TRUE(form.Graphic_Popup_MorePicTypes.Checked());
    EXPECT_EQ(names(form), (std::vector<std::string>{"a.bmp", "b.bmp", "c.bmp", "x.png", "y.webp", "z.TIF"}));
    EXPECT_EQ(form.txtFileList.Text(), "6 pic files found in " + pics);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kHistoryKey, "More Pic Types"), "True");

    // Shown over the pane's colour; hung over the desktop's.
    ChooseFile("x.png");
    ASSERT_EQ(form.Pane.Picture().Width(), 10);
    std::vector<DWORD> shown = Colours(form.Pane.Picture());
    const COLORREF pane = form.Pane.Pic.BackColor();
    EXPECT_EQ(shown[9], static_cast<DWORD>(RGB(GetBValue(pane), GetGValue(pane), GetRValue(pane))));
    EXPECT_EQ(shown[0], 0xFF0000u);
    const COLORREF savedDesktop = GetSysColor(COLOR_BACKGROUND), desktop = RGB(10, 100, 200);
    const INT element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &desktop);
    platform::ScopedSeam<std::function<BOOL(UINT, UINT, void*, UINT)>> spi(
        platform::seams::SystemParametersInfoA, [](UINT, UINT, void*, UINT) { return TRUE; });
    popupChoice = &form.Wallpaper_Popup_Centered;
    Click(form.cmdSetWallpaper);
    SetSysColors(1, &element, &savedDesktop);
    std::vector<DWORD> hung = Colours(platform::Picture::Load(common::WallpaperFilePath()));
    ASSERT_EQ(hung.size(), 60u);
    EXPECT_EQ(hung[9], 0x0A64C8u);  // 10, 100, 200 as blue, green, red bytes read back
    EXPECT_EQ(hung[0], 0xFF0000u);

    // The 16-bit TIFF shows as the quadrants; the WebP, where there is no decoder, is a load error.
    ChooseFile("z.TIF");
    shown = Colours(form.Pane.Picture());
    ASSERT_EQ(shown.size(), 60u);
    EXPECT_EQ(shown[59], 0xFFFFFFu);
    EXPECT_EQ(shown[50], 0x0000FFu);
    MsgBoxRecorder boxes;
    std::string error;
    if (platform::Picture::Load(pics + "\\y.webp", &error, true).Empty()) {
        ChooseFile("y.webp");
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, "An error occurred attempting to load or display the '" + pics +
                                         "\\y.webp' file:\r\n\r\nThis system has no decoder for this kind of picture.");
    }
    // Kept for the next opening.
    Close();
    auto& again = OpenOwn();
    EnterFolder("Pics");
    EXPECT_TRUE(again.Graphic_Popup_MorePicTypes.Checked());
    EXPECT_EQ(again.PicsFileList.ListCount(), 6);
    popupChoice = &again.Graphic_Popup_MorePicTypes;
    again.Graphic_Popup_Show(POINT{0, 0});
    EXPECT_EQ(again.PicsFileList.ListCount(), 3);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kHistoryKey, "More Pic Types"), "False");
}

TEST_F(Browser, WindowRefusesToGetSmallerThanItsMinimumAndMinimumSizeGivesIt) {
    auto& form = OpenOwn();
    form.Show();
    RECT r{};
    GetWindowRect(form.hWnd(), &r);
    EXPECT_EQ(r.right - r.left, 630);
    EXPECT_EQ(r.bottom - r.top, 470);
    MINMAXINFO info{};
    SendMessageA(form.hWnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 503);
    EXPECT_EQ(info.ptMinTrackSize.y, 335);
    SetWindowPos(form.hWnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(form.hWnd(), &r);
    EXPECT_EQ(r.right - r.left, 503);
    EXPECT_EQ(r.bottom - r.top, 335);

    ShowWindow(form.hWnd(), SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(form.hWnd()));
    EXPECT_FALSE(form.imgResizer.Visible());
    Menu(form.Graphic_Popup_MinSize);
    EXPECT_FALSE(IsZoomed(form.hWnd()));
    GetWindowRect(form.hWnd(), &r);
    EXPECT_EQ(r.right - r.left, 503);
    EXPECT_EQ(r.bottom - r.top, 335);
    EXPECT_TRUE(form.imgResizer.Visible());
}

TEST_F(Browser, CenterWindowCentresOnTheWorkArea) {
    auto& form = OpenOwn();
    form.Show();
    form.Move(0, 0);
    Menu(form.Graphic_Popup_CenterWin);
    RECT work{}, r{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(form.hWnd(), &r);
    EXPECT_NEAR(r.left, work.left + (work.right - work.left - (r.right - r.left)) / 2, 1);
    EXPECT_NEAR(r.top, work.top + (work.bottom - work.top - (r.bottom - r.top)) / 2, 1);
}

TEST_F(Browser, HostedAndOnItsOwnSideBySide) {
    struct Seen {
        std::string caption, cancel;
        bool modeButton, modeEnabled, aboutItem, aboutSeparator, minimizedStays, aboutOnRightClick;
        int setWallpaperLeft;
    };
    auto look = [&](picture_browser::frmWallpaper& form) {
        Seen seen;
        seen.caption = form.Caption();
        seen.cancel = form.cmdCancel.Text();
        seen.modeButton = form.cmdFileListMode.Visible();
        seen.modeEnabled = form.cmdFileListMode.Enabled();
        seen.aboutItem = form.Graphic_Popup_About.Visible();
        seen.aboutSeparator = form.zsep2.Visible();
        seen.setWallpaperLeft = form.cmdSetWallpaper.Left();
        form.Show();
        ShowWindow(form.hWnd(), SW_MINIMIZE);
        seen.minimizedStays = IsIconic(form.hWnd()) != FALSE;
        ShowWindow(form.hWnd(), SW_RESTORE);
        MsgBoxRecorder boxes;
        SendMessageA(form.hWnd(), WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
        seen.aboutOnRightClick = boxes.Count() == 1 && boxes.Last().title == "About";
        return seen;
    };
    Seen own = look(OpenOwn());
    const int modeLeft = browser->cmdFileListMode.Left();
    Close();
    picFiles = {"", pics + "\\a.bmp"};
    Seen hosted = look(OpenHosted(pics));

    EXPECT_EQ(own.caption, "Sorvita Image Gallery");
    EXPECT_EQ(hosted.caption, "Browse Pics - Sorvita Image Gallery");
    EXPECT_FALSE(own.modeButton);
    EXPECT_TRUE(hosted.modeButton);
    EXPECT_TRUE(hosted.modeEnabled);
    EXPECT_EQ(own.setWallpaperLeft, modeLeft);  // takes the hidden mode button's place
    EXPECT_GT(hosted.setWallpaperLeft, modeLeft);
    EXPECT_EQ(own.cancel, "Exit");
    EXPECT_EQ(hosted.cancel, "Close");
    EXPECT_TRUE(own.aboutItem && own.aboutSeparator);
    EXPECT_FALSE(hosted.aboutItem || hosted.aboutSeparator);
    EXPECT_TRUE(own.minimizedStays);
    EXPECT_FALSE(hosted.minimizedStays);
    EXPECT_TRUE(own.aboutOnRightClick);
    EXPECT_FALSE(hosted.aboutOnRightClick);
}

TEST_F(Browser, HostedWithItsListStartsInListModeAndSwitches) {
    picFiles = {"search", pics + "\\a.bmp", pics + "\\b.bmp", root.File("Other Folder With A Long Name\\c.bmp")};
    folderMode = false;
    auto& form = OpenHosted("C:\\Host Pictures");
    EXPECT_FALSE(form.FolderMode());
    EXPECT_TRUE(form.List1.Visible());
    EXPECT_FALSE(form.PicsFileList.Visible() || form.PicsFolder.Visible() || form.cboPicFolder.Visible());
    ASSERT_EQ(form.List1.ListCount(), 3);
    EXPECT_EQ(form.List1.List(2), picFiles[3]);
    EXPECT_EQ(form.txtFileList.Text(), "3 pic files found in C:\\Host Pictures");
    EXPECT_EQ(form.cmdFileListMode.Text(), "&Folder");
    // The list scrolls sideways as far as its widest entry.
    {
        platform::ScreenDC dc;
        platform::SelectedObject font(dc.get(), platform::DefaultFont());
        SIZE size{};
        GetTextExtentPoint32A(dc.get(), picFiles[3].c_str(), static_cast<int>(picFiles[3].size()), &size);
        EXPECT_EQ(SendMessageA(form.List1.hWnd(), LB_GETHORIZONTALEXTENT, 0, 0), size.cx + 6);
    }
    Choose(form.List1, 1);
    EXPECT_EQ(form.Pane.Pic.Tag, pics + "\\b.bmp");
    EXPECT_EQ(form.labPicNumber.Text(), "Pic 2");
    {
        MsgBoxRecorder boxes;
        Click(form.cmdNext);
        EXPECT_EQ(form.List1.ListIndex(), 2);
        EXPECT_EQ(boxes.Count(), 1u);  // that picture is missing
        EXPECT_EQ(form.labPicNumber.Text(), "Pic 3");
    }
    Click(form.cmdFileListMode);
    EXPECT_TRUE(folderMode);
    EXPECT_EQ(form.cmdFileListMode.Text(), "&Files");
    EXPECT_TRUE(form.PicsFileList.Visible());
    EXPECT_FALSE(form.List1.Visible());
    Click(form.cmdFileListMode);
    EXPECT_FALSE(folderMode);
    EXPECT_TRUE(form.List1.Visible());
}

TEST_F(Browser, HostedListOfOnePictureStepsOnlyToIt) {
    picFiles = {"search", pics + "\\c.bmp"};
    folderMode = false;
    auto& form = OpenHosted("C:\\Host Pictures");
    EXPECT_EQ(form.txtFileList.Text(), "1 pic file found in C:\\Host Pictures");
    EXPECT_FALSE(form.cmdRndSelect.Enabled());
    int drawn = 0;
    platform::ScopedSeam<std::function<double()>> random(platform::seams::Random, [&] {
        ++drawn;
        return 0.0;
    });
    form.cmdRndSelect_Click();  // even when called while disabled: the one picture, no draw
    EXPECT_EQ(drawn, 0);
    EXPECT_EQ(form.List1.ListIndex(), 0);
    EXPECT_EQ(form.Pane.Pic.Tag, pics + "\\c.bmp");
    Click(form.cmdNext);
    Click(form.cmdPrevious);
    EXPECT_EQ(form.List1.ListIndex(), 0);
    EXPECT_EQ(form.labPicNumber.Text(), "Pic 1");
}

TEST_F(Browser, HostedWithoutListOrHistoryStartsInTheHostsFolder) {
    folderMode = false;
    auto& form = OpenHosted(pics);
    EXPECT_TRUE(folderMode);
    EXPECT_TRUE(form.cmdFileListMode.Visible());
    EXPECT_FALSE(form.cmdFileListMode.Enabled());
    EXPECT_EQ(form.PicsFolder.Path(), pics);
    EXPECT_EQ(form.PicsFileList.Path(), pics);
    EXPECT_EQ(form.txtFileList.Text(), "3 pic files found in " + pics);
    EXPECT_EQ(HistoryItems(), std::vector<std::string>{pics});
}

TEST_F(Browser, ControlsNeitherOverlapNorLeaveTheWindowAtDefaultAndMinimumSize) {
    auto& form = OpenOwn();
    form.Show();
    for (int size = 0; size < 2; ++size) {
        RECT client{};
        GetClientRect(form.hWnd(), &client);
        std::vector<const platform::Control*> controls{
            &form.txtFileList, &form.labPicNumber, &form.cboPicFolder, &form.cmdClearList[0], &form.cmdClearList[1],
            &form.PicsDrive,   &form.PicsFolder,   &form.PicsFileList, &form.Pane.Pic,        &form.labPicInfo,
            &form.Frame1,      &form.imgResizer};
        for (size_t i = 0; i < controls.size(); ++i) {
            RECT a = ClientRectOf(*controls[i]);
            EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= client.right && a.bottom <= client.bottom)
                << "control " << i << " at size " << size;
            for (size_t j = i + 1; j < controls.size(); ++j) {
                RECT b = ClientRectOf(*controls[j]), overlap{};
                EXPECT_FALSE(IntersectRect(&overlap, &a, &b)) << "controls " << i << " and " << j << " at size " << size;
            }
        }
        Menu(form.Graphic_Popup_MinSize);
    }
}

TEST_F(Browser, GrowingOrMaximisingLeavesNothingStaleOnScreen) {
    // Hosted and on its own the layout is the same; the history box's two buttons, the picture
    // number and the file list are what moved over other controls' old places.
    for (bool hosted : {false, true}) {
        auto& form = hosted ? OpenHosted() : OpenOwn();
        form.Show();
        EnterFolder("Pics");
        ASSERT_EQ(HistoryItems(), std::vector<std::string>{pics});
        ChooseFile("b.bmp");
        ASSERT_EQ(form.labPicNumber.Text(), "Pic 2");
        SetFocus(form.PicsFileList.hWnd());  // no caret blinking in the count line
        SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
        EXPECT_TRUE(testing_support::ShowsWhatARepaintShows(form.hWnd())) << "hosted " << hosted;

        RECT r{};
        GetWindowRect(form.hWnd(), &r);
        SetWindowPos(form.hWnd(), nullptr, 0, 0, r.right - r.left + 170, r.bottom - r.top + 130,
                     SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_TRUE(testing_support::ShowsWhatARepaintShows(form.hWnd())) << "grown, hosted " << hosted;
        ShowWindow(form.hWnd(), SW_MAXIMIZE);
        ASSERT_TRUE(IsZoomed(form.hWnd()));
        EXPECT_TRUE(testing_support::ShowsWhatARepaintShows(form.hWnd())) << "maximised, hosted " << hosted;
        ShowWindow(form.hWnd(), SW_RESTORE);
        EXPECT_TRUE(testing_support::ShowsWhatARepaintShows(form.hWnd())) << "restored, hosted " << hosted;
        Close();
    }
}

TEST(SubclassWP, HookCountsHoldersAndReportsAFailure) {
    ASSERT_EQ(picture_browser::HookCount(), 0);
    MsgBoxRecorder boxes;
    EXPECT_FALSE(picture_browser::HookWindow(nullptr));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "Window subclassing could not be initiated, and as a result some program features will not be "
              "available.\r\n\r\nThis problem indicates a current underlying Windows problem, and it is probably "
              "best if you restart Windows soon.");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);

    HostForm form;
    form.Load();
    LONG_PTR original = GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC);
    picture_browser::MinWindowWidth = 300;
    picture_browser::MinWindowHeight = 200;
    EXPECT_TRUE(picture_browser::HookWindow(form.hWnd()));
    EXPECT_TRUE(picture_browser::HookWindow(form.hWnd()));
    EXPECT_EQ(picture_browser::HookCount(), 2);
    picture_browser::UnhookWindow(form.hWnd());
    EXPECT_NE(GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC), original);
    MINMAXINFO info{};
    SendMessageA(form.hWnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 300);
    picture_browser::UnhookWindow(form.hWnd());
    EXPECT_EQ(GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC), original);
    EXPECT_EQ(picture_browser::HookCount(), 0);
    form.Unload();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}
