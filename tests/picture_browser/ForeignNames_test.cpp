// The picture browser on a folder and pictures with accented and non-Latin names: every
// list and line shows the names as they are, the picture loads and is hung, and the history
// keeps the folder unchanged. Names are read back as the system holds them (UTF-16).
#include "BrowserHarness.h"
#include "common/FileFolderFunctions_.h"
#include "common/WindowsWallpaper_.h"
#include "platform/Picture.h"

using namespace browser_test;
using testing_support::RegStringW;
using testing_support::Utf16;
using testing_support::WindowTextW;

namespace {

const std::string kFolder = "C:\\Fotos Café ☀";
const std::string kPicture = "Été à Paris ☀.jpg";
const std::string kSubfolder = "Ünter ☂ 日本";

std::wstring ListTextW(HWND list, int index, bool combo) {
    const LRESULT length = SendMessageW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    if (length < 0) return L"<none>";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got =
        SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<size_t>(got));
    return text;
}

class ForeignNames : public BrowserHarness {
protected:
    void SetUp() override {
        BrowserHarness::SetUp();
        testing_support::DeleteTree(kFolder);
        ASSERT_TRUE(CreateDirectoryW(Utf16(kFolder).c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(Utf16(kFolder + "\\" + kSubfolder).c_str(), nullptr));
        const std::string data = testing_support::WinePathFromEnv("SORVITA_TEST_DATA");
        ASSERT_TRUE(CopyFileW(Utf16(data + "\\quad-baseline.jpg").c_str(), Utf16(kFolder + "\\" + kPicture).c_str(),
                              FALSE));
        platform::Picture original = platform::Picture::Load(data + "\\quad-baseline.jpg");
        pictureWidth = original.Width();
        pictureHeight = original.Height();
    }
    void TearDown() override {
        BrowserHarness::TearDown();
        testing_support::DeleteTree(kFolder);
    }
    long pictureWidth = 0, pictureHeight = 0;
};

}  // namespace

TEST_F(ForeignNames, ListsLinesHistoryAndWallpaperCarryTheNamesAsTheyAre) {
    auto& form = OpenOwn();
    form.Show();
    ASSERT_TRUE(form.PicsFolder.SetPath(kFolder));
    // The count line and the history.
    EXPECT_EQ(WindowTextW(form.txtFileList.hWnd()), Utf16("1 pic file found in " + kFolder));
    ASSERT_EQ(form.cboPicFolder.ListCount(), 1);
    EXPECT_EQ(ListTextW(form.cboPicFolder.hWnd(), 0, true), Utf16(kFolder));
    EXPECT_EQ(WindowTextW(form.cboPicFolder.hWnd()), Utf16(kFolder));
    // The folder list: the root, the folder, its subfolder.
    ASSERT_EQ(form.PicsFolder.ListCount(), 3);
    EXPECT_EQ(ListTextW(form.PicsFolder.hWnd(), 1, false), L"Fotos Caf\u00E9 \u2600");
    EXPECT_EQ(ListTextW(form.PicsFolder.hWnd(), 2, false), Utf16(kSubfolder));
    EXPECT_EQ(form.PicsFolder.EntryPath(2), kFolder + "\\" + kSubfolder);
    // The file list, and the picture chosen from it.
    ASSERT_EQ(form.PicsFileList.ListCount(), 1);
    EXPECT_EQ(ListTextW(form.PicsFileList.hWnd(), 0, false), Utf16(kPicture));
    ChooseFile(kPicture);
    ASSERT_TRUE(form.Pane.PictureLoaded());
    EXPECT_EQ(form.Pane.Picture().Width(), pictureWidth);
    const std::wstring info = WindowTextW(form.labPicInfo.hWnd());
    EXPECT_EQ(info.rfind(std::to_wstring(pictureWidth) + L" x " + std::to_wstring(pictureHeight), 0), 0u) << info;
    // Open Pic hands the shell the exact path.
    Click(form.cmdOpenPic);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(Utf16(opened[0]), Utf16(kFolder + "\\" + kPicture));

    // Hung as wallpaper: the bitmap of the picture, under the registry's name of it.
    popupChoice = &form.Wallpaper_Popup_Centered;
    Click(form.cmdSetWallpaper);
    const std::string file = common::WallpaperFilePath();
    EXPECT_EQ(RegStringW(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"), Utf16(file));
    platform::Picture hung = platform::Picture::Load(file);
    EXPECT_EQ(hung.Width(), pictureWidth);
    EXPECT_EQ(hung.Height(), pictureHeight);
    hung.Release();

    // Closing writes the history as it reads.
    Close();
    EXPECT_EQ(RegStringW(HKEY_CURRENT_USER, kHistoryKey, "Folder 00"), Utf16(kFolder));
    // And the next window lists it again, at the top, and opens in it.
    auto& again = OpenOwn();
    EXPECT_EQ(ListTextW(again.cboPicFolder.hWnd(), 0, true), Utf16(kFolder));
    EXPECT_EQ(again.PicsFolder.Path(), kFolder);
    EXPECT_EQ(again.PicsFileList.ListCount(), 1);
    common::ClearWallpaper(file, true);
}

TEST_F(ForeignNames, FolderListDrawsTheNameAsTheSystemDrawsItsCharacters) {
    auto& form = OpenOwn();
    ASSERT_TRUE(form.PicsFolder.SetPath(kFolder));
    // The entry drawn into a bitmap as the list draws it, not selected.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 600, 24);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, form.PicsFolder.Font());
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTBOX;
    item.itemID = 1;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = form.PicsFolder.hWnd();
    item.hDC = dc;
    item.rcItem = RECT{0, 0, 600, 24};
    form.PicsFolder.DrawItem(item);
    // Text is grey ink on the window colour; the folder symbol beside it is coloured.
    const int drawn = testing_support::InkWidth(dc, item.rcItem, GetSysColor(COLOR_WINDOW), true);
    const int expected = testing_support::UnicodeInkWidth(form.PicsFolder.Font(), L"Fotos Caf\u00E9 \u2600", true);
    EXPECT_GT(expected, 0);
    EXPECT_NEAR(drawn, expected, 1);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
