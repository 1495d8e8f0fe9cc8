// Slide Saver's setup dialog under Wine: real controls clicked with messages, the registry
// read back; message boxes, the folder picker and the clock scripted.
#include <windows.h>

#include <gtest/gtest.h>

#include "SaverHarness.h"
#include "common/About.h"
#include "common/FolderHistory_.h"
#include "common/PicFolderList_.h"
#include "common/WindowsWallpaper_.h"
#include "platform/App.h"
#include "slide_saver/frmSSetup.h"

using namespace slide_saver;
using saver_test::SaverTest;
using testing_support::RegString;

namespace {

class SetupDialogTest : public SaverTest {
protected:
    ~SetupDialogTest() override { SetupDialog.reset(); }

    frmSSetup& OpenDialog() {
        SetupDialog = std::make_unique<frmSSetup>();
        SetupDialog->Load();
        testing_support::PumpMessages();
        return *SetupDialog;
    }
    void Store(const std::string& name, const std::string& value) {
        testing_support::RegSetString(HKEY_CURRENT_USER, saver_test::SettingsKey(), name, value);
    }
    std::string Stored(const std::string& name) { return RegString(HKEY_CURRENT_USER, saver_test::SettingsKey(), name); }
    bool IsStored(const std::string& name) {
        return testing_support::RegValueExists(HKEY_CURRENT_USER, saver_test::SettingsKey(), name);
    }
    void Click(platform::Control& control) {
        SendMessageA(control.hWnd(), BM_CLICK, 0, 0);
        testing_support::PumpMessages();
    }
    std::vector<std::string> History() { return common::FolderListEntries(SetupDialog->cboPicFolder); }
};

TEST_F(SetupDialogTest, LoadsTheSettingsIntoTheControls) {
    Picture("a.bmp", 10, 10, RGB(1, 1, 1));
    Picture("b.bmp", 10, 10, RGB(1, 1, 1));
    Store("Pics Folder", folder.Path());
    Store("Show Delay", "90");
    Store("Quick Delay", "600");
    Store("Tile Small", "True");
    Store("Tile Percent", "30");
    Store("Display Name", "True");
    frmSSetup& dialog = OpenDialog();
    EXPECT_EQ(dialog.Caption(), platform::App().Title + " Setup");
    // Version 2.0, revision 1 of its own.
    EXPECT_EQ(dialog.lblVersion.Text(), "2.0");
    EXPECT_EQ(dialog.lblVersion.ToolTipText(), "Revision 1");
    EXPECT_NE(common::AboutTextOfApp().find("\r\nVersion 2.0.0.1\r\n"), std::string::npos);
    EXPECT_EQ(dialog.scrSpeed.Value(), 90);
    EXPECT_EQ(dialog.lblSpeed.Text(), "1 min 30 sec");
    EXPECT_EQ(dialog.lblQuick.Text(), "10 minutes");
    dialog.scrQuick.SetValue(1);
    EXPECT_EQ(dialog.lblQuick.Text(), "1 second");
    EXPECT_EQ(SaverSettings.QuickDelay, 1);
    // The tile bar is upside down: up means more.
    EXPECT_EQ(dialog.txtTilePicsPercent.Text(), "30");
    EXPECT_EQ(dialog.scrTilePicsPercent.Value(), 100 - 30 + 1);
    EXPECT_TRUE(dialog.scrTilePicsPercent.Enabled());
    dialog.scrTilePicsPercent.SetValue(1);
    EXPECT_EQ(SaverSettings.TilePercent, 100);
    EXPECT_EQ(dialog.txtTilePicsPercent.Text(), "100");
    Click(dialog.chkTilePics);
    EXPECT_FALSE(dialog.scrTilePicsPercent.Enabled() || dialog.txtTilePicsPercent.Enabled());
    EXPECT_EQ(dialog.chkDisplayFilename.Value(), 1);
    EXPECT_EQ(dialog.chkBestFitPics.Value(), 0);
    // Every monitor unless stored otherwise.
    EXPECT_EQ(dialog.chkAllMonitors.Text(), "Show pictures on every monitor");
    EXPECT_EQ(dialog.chkAllMonitors.Value(), 1);
    Click(dialog.chkAllMonitors);
    EXPECT_FALSE(SaverSettings.AllMonitors);
    EXPECT_EQ(dialog.frPicFolder.Text(), "Fo&lder containing the pic files  (2 found)");
    EXPECT_EQ(History(), std::vector<std::string>{folder.Path()});
    EXPECT_EQ(dialog.cboPicFolder.ToolTipText(), "") << "a short path fits";
    // Nothing is written until OK.
    EXPECT_FALSE(IsStored("Pics Folder 00"));
}

TEST_F(SetupDialogTest, OkSavesEveryKeyInOrderAndCancelNothing) {
    std::vector<std::string> written;
    platform::ScopedSeam<std::function<LONG(HKEY, const char*, DWORD, DWORD, const BYTE*, DWORD)>> writes(
        platform::seams::RegSetValueExA,
        [&](HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
            written.push_back(name);
            // Every write of "Show Random" and of the history's first key fails.
            if (std::string(name) == "Show Random" || std::string(name) == "Pics Folder 00") return ERROR_ACCESS_DENIED;
            return ::RegSetValueExA(key, name, reserved, type, data, size);
        });
    Store("Pics Folder", folder.Path());
    written.clear();
    frmSSetup& dialog = OpenDialog();
    Click(dialog.cmdCancel);
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(written.empty()) << "Cancel writes nothing";
    frmSSetup& closing = OpenDialog();
    SendMessageA(closing.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(written.empty()) << "nor does the close box";

    frmSSetup& again = OpenDialog();
    again.scrSpeed.SetValue(45);
    Click(again.cmdOK);
    EXPECT_FALSE(again.IsLoaded());
    std::vector<std::string> expected;
    for (int i = 0; i < 20; ++i) expected.push_back(FolderHistoryKey(i));
    for (const char* key : {"Pics Folder", "Pics Subfolders", "Show Delay", "Quick Delay", "Show Random", "Allow Mouse",
                            "Tile Percent", "Skip Errors", "All Monitors", "More Pic Types", "Best Fit", "Tile Small", "Random Color", "Display Time",
                            "Display Name"})
        expected.push_back(key);
    EXPECT_EQ(written, expected);
    // Only the failing setting is reported; the history is saved quietly.
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text.find("An error occurred attempting to save a setting"), 0u);
    EXPECT_EQ(Stored("Show Delay"), "45");
    EXPECT_EQ(Stored("Pics Folder"), folder.Path());
}

TEST_F(SetupDialogTest, MorePicTypesSearchesAgainNamesEveryTypeAndIsStored) {
    Picture("a.png", 10, 10, RGB(1, 1, 1));
    Picture("b.tiff", 10, 10, RGB(1, 1, 1));
    Store("Pics Folder", folder.Path());
    frmSSetup& dialog = OpenDialog();
    EXPECT_EQ(dialog.chkMorePicTypes.Text(), "Also use PNG, TIFF, WebP, HEIC and AVIF pictures");
    EXPECT_EQ(dialog.chkMorePicTypes.Value(), 0);
    EXPECT_EQ(dialog.frPicFolder.Text(), "Fo&lder containing the pic files  (0 found)");
    Click(dialog.chkMorePicTypes);
    EXPECT_TRUE(SaverSettings.MorePicTypes);
    EXPECT_EQ(dialog.frPicFolder.Text(), "Fo&lder containing the pic files  (2 found)");
    testing_support::FolderPickerScript picker{{""}};
    Click(dialog.cmdPicFolder);
    ASSERT_EQ(picker.prompts.size(), 1u);
    EXPECT_EQ(picker.prompts[0], "Select a folder containing pic files (.jpg, .jpe*, .gif, .bmp, .png, .tif, .tiff, "
                                 ".webp, .heic, .heif, .avif):");
    Click(dialog.cmdOK);
    EXPECT_EQ(Stored("More Pic Types"), "True");
    EXPECT_EQ(OpenDialog().chkMorePicTypes.Value(), 1);
    EXPECT_EQ(SetupDialog->frPicFolder.Text(), "Fo&lder containing the pic files  (2 found)");
}

TEST_F(SetupDialogTest, HistoryMovesFoldersUpAndKeepsTwenty) {
    for (int i = 0; i < 20; ++i) Store(FolderHistoryKey(i), "C:\\Folder " + std::to_string(i));
    Store("Pics Folder", "C:\\Folder 0");
    frmSSetup& dialog = OpenDialog();
    ASSERT_EQ(History().size(), 20u);
    // A folder already there, in other letters, moves to the top.
    SaverSettings.PicsFolder = "c:\\FOLDER 7";
    dialog.AfterFolderChange();
    EXPECT_EQ(History().size(), 20u);
    EXPECT_EQ(History()[0], "c:\\FOLDER 7");
    EXPECT_EQ(History()[1], "C:\\Folder 0");
    // A new one pushes out the last.
    SaverSettings.PicsFolder = folder.Path();
    dialog.AfterFolderChange();
    EXPECT_EQ(History().size(), 20u);
    EXPECT_EQ(History()[0], folder.Path());
    EXPECT_EQ(History()[19], "C:\\Folder 18");
    EXPECT_TRUE(dialog.cmdClearList[0].Enabled() && dialog.cmdClearList[1].Enabled());
}

TEST_F(SetupDialogTest, ClearingAndRemovingFolders) {
    for (int i = 0; i < 20; ++i) Store(FolderHistoryKey(i), "C:\\Folder " + std::to_string(i));
    Store("Pics Folder", "C:\\Folder 0");
    frmSSetup& dialog = OpenDialog();
    boxes.Answer(IDYES);
    Click(dialog.cmdClearList[1]);
    EXPECT_EQ(boxes.Last().text, common::kClearListQuestion);
    EXPECT_TRUE(boxes.Last().flags & MB_DEFBUTTON2);
    EXPECT_EQ(History(), std::vector<std::string>{"C:\\Folder 0"});
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(IsStored(FolderHistoryKey(i))) << i;
    Click(dialog.cmdCancel);
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(IsStored(FolderHistoryKey(i))) << "even after Cancel";

    frmSSetup& again = OpenDialog();
    Store(FolderHistoryKey(0), "C:\\Only");
    again.cboPicFolder.Clear();
    again.UpdateFolderList("C:\\Only", true);
    boxes.Answer(IDYES);
    Click(again.cmdClearList[0]);
    EXPECT_EQ(boxes.Last().text, common::kRemoveFolderQuestion);
    EXPECT_FALSE(boxes.Last().flags & MB_DEFBUTTON2) << "Yes is the default";
    EXPECT_TRUE(History().empty());
    EXPECT_FALSE(again.cmdClearList[0].Enabled() || again.cmdClearList[1].Enabled());
}

TEST_F(SetupDialogTest, BrowseAsksBeforeTakingAnEmptyFolder) {
    testing_support::TempFolder empty("empty");
    Picture("a.bmp", 10, 10, RGB(1, 1, 1));
    Store("Pics Folder", folder.Path());
    frmSSetup& dialog = OpenDialog();
    {
        // Refused, then a folder with pictures.
        testing_support::FolderPickerScript picker({empty.Path(), folder.Path()});
        boxes.Answer(IDNO);
        Click(dialog.cmdPicFolder);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, "The '" + empty.Path() +
                                         "' folder selected does not contain any pic files (.jpg, .jpe*, .gif, "
                                         ".bmp).  Do you want to select this folder anyway?");
        EXPECT_EQ(picker.prompts.size(), 2u);
        EXPECT_EQ(picker.prompts[0], "Select a folder containing pic files (.jpg, .jpe*, .gif, .bmp):");
        EXPECT_EQ(SaverSettings.PicsFolder, folder.Path());
    }
    {
        // Taken anyway.
        testing_support::FolderPickerScript picker({empty.Path()});
        boxes.Answer(IDYES);
        Click(dialog.cmdPicFolder);
        EXPECT_EQ(SaverSettings.PicsFolder, empty.Path());
        EXPECT_EQ(dialog.frPicFolder.Text(), "Fo&lder containing the pic files  (0 found)");
        EXPECT_EQ(History()[0], empty.Path());
    }
    {
        // Refused, then cancelled: the folder in force is counted again.
        SaverSettings.PicsFolder = folder.Path();
        testing_support::FolderPickerScript picker({empty.Path(), ""});
        boxes.Answer(IDNO);
        Click(dialog.cmdPicFolder);
        EXPECT_EQ(SaverSettings.PicsFolder, folder.Path());
        EXPECT_EQ(common::UBound(common::PicFiles), 1);
        EXPECT_EQ(dialog.frPicFolder.Text(), "Fo&lder containing the pic files  (1 found)");
    }
    testing_support::DeleteTree(empty.Path());
    SaverSettings.PicsFolder = empty.Path();
    dialog.AfterFolderChange();
    EXPECT_EQ(dialog.frPicFolder.Text(), "Fo&lder containing the pic files  (no longer exists)");
}

TEST_F(SetupDialogTest, LongFolderGetsItsPathAsTooltip) {
    std::string path = folder.Path();
    for (int i = 0; i < 6; ++i) {
        path += "\\a rather long folder name " + std::to_string(i);
        CreateDirectoryA(path.c_str(), nullptr);
    }
    Store("Pics Folder", path);
    frmSSetup& dialog = OpenDialog();
    EXPECT_EQ(dialog.cboPicFolder.ToolTipText(), path);
}

TEST_F(SetupDialogTest, KeyListWordForWord) {
    frmSSetup& dialog = OpenDialog();
    Click(dialog.cmdKeys);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().title, "Screen Saver Keys - " + platform::App().Title);
    EXPECT_EQ(boxes.Last().flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONINFORMATION));
    const std::string expected =
        "These keys are available when the screen saver is active:\r\n\r\n"
        "N  (or right-click)  -  Show next pic\r\n"
        "B  -  Show last displayed pic\r\n"
        "W  -  Set pic as wallpaper  (hold down Shift to tile, or Ctrl to stretch)\r\n\r\n"
        "P  -  Toggle pause mode\r\n"
        "O  -  Toggle delay between Startup and Other\r\n\r\n"
        "Esc  -  Black out the screen and pause\r\n"
        "F1  -  Restore screen saver operation\r\n\r\n"
        "F  -  Toggle best fit setting\r\n"
        "E  -  Toggle tile setting\r\n"
        "C  -  Toggle random screen colors setting\r\n"
        "I  -  Toggle display file name setting\r\n"
        "T  -  Toggle display time remaining setting\r\n\r\n"
        "The state of the above 5 settings will be remembered.\r\n\r\n"
        "When one or both scrollbars are visible, the Tab, Home/End, PageUp/PageDown, and Arrow keys can be used to "
        "access them.\r\n\r\n"
        "NOTE:   Due to the nature of Windows NT, these keys will not be available when Windows NT starts the screen "
        "saver after inactivity; however, the keys will work in Preview mode and when the screen saver is run "
        "directly.";
    EXPECT_EQ(boxes.Last().text, expected);
}

// Looks, from inside a real question box's own loop, at the dialog under it; then answers No.
struct BoxSeen {
    HWND dialog = nullptr;
    bool seen = false, dialogEnabled = true;
    HWND owner = nullptr;
} boxSeen;
VOID CALLBACK LookUnderTheBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowA("#32770", platform::App().Title.c_str());
    if (!box || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId()) return;
    KillTimer(nullptr, id);
    boxSeen.seen = true;
    boxSeen.dialogEnabled = IsWindowEnabled(boxSeen.dialog);
    boxSeen.owner = GetWindow(box, GW_OWNER);
    PostMessageA(box, WM_COMMAND, IDNO, 0);
}

TEST_F(SetupDialogTest, NoButtonTakesAClickWhileItsQuestionIsOpen) {
    Store("Pics Folder", folder.Path());
    frmSSetup& dialog = OpenDialog();
    platform::SetMsgBoxHook(nullptr);  // the real box
    boxSeen = {dialog.hWnd()};
    SetTimer(nullptr, 0, 50, LookUnderTheBox);
    Click(dialog.cmdClearList[1]);  // "Are you sure you want to clear the folder list?"
    ASSERT_TRUE(boxSeen.seen);
    EXPECT_FALSE(boxSeen.dialogEnabled) << "OK, Cancel, the list buttons and Preview were clickable";
    EXPECT_EQ(boxSeen.owner, dialog.hWnd());
    EXPECT_TRUE(IsWindowEnabled(dialog.hWnd())) << "usable again once answered";
}

// Ends the preview from inside its modal loop, as a user would: F, then a key that ends.
VOID CALLBACK PressKeysInPreview(HWND, UINT, UINT_PTR id, DWORD) {
    if (!SaverWindow || !SaverWindow->IsLoaded()) return;
    KillTimer(nullptr, id);
    SendMessageA(SaverWindow->hWnd(), WM_KEYDOWN, 'F', 0);
    SendMessageA(SaverWindow->hWnd(), WM_KEYDOWN, 'I', 0);
    PostMessageA(SaverWindow->hWnd(), WM_KEYDOWN, 'Q', 0);
}

TEST_F(SetupDialogTest, PreviewKeepsTheKeyToggledSettingsAndCancelTheRest) {
    Picture("a.bmp", 10, 10, RGB(1, 1, 1));
    Store("Pics Folder", folder.Path());
    frmSSetup& dialog = OpenDialog();
    dialog.scrSpeed.SetValue(77);
    Click(dialog.chkShowPicsRandomly);
    SetTimer(nullptr, 0, 50, PressKeysInPreview);
    Click(dialog.cmdPreview);
    EXPECT_FALSE(SaverWindow->IsLoaded());
    EXPECT_EQ(SaverWindow->Delay, 77) << "the show ran with the unsaved delay";
    EXPECT_EQ(dialog.chkBestFitPics.Value(), 1);
    EXPECT_EQ(dialog.chkDisplayFilename.Value(), 1);
    Click(dialog.cmdCancel);
    EXPECT_EQ(Stored("Best Fit"), "True");
    EXPECT_EQ(Stored("Display Name"), "True");
    EXPECT_FALSE(IsStored("Show Delay"));
    EXPECT_FALSE(IsStored("Show Random"));
}

TEST_F(SetupDialogTest, DisplayPropertiesIsDisabledWhileOpenedFromIt) {
    HWND properties = CreateWindowExA(0, "#32770", "Display Properties", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(properties);
    OpenedFromDisplayProperties = false;
    OpenDialog();
    EXPECT_TRUE(IsWindowEnabled(properties)) << "not opened from it";
    SetupDialog.reset();

    OpenedFromDisplayProperties = true;
    frmSSetup& dialog = OpenDialog();
    EXPECT_FALSE(IsWindowEnabled(properties));
    ShowWindow(dialog.hWnd(), SW_MINIMIZE);
    testing_support::PumpMessages();
    EXPECT_FALSE(IsIconic(dialog.hWnd())) << "restored at once";
    Click(dialog.cmdCancel);
    EXPECT_TRUE(IsWindowEnabled(properties));
    DestroyWindow(properties);
}

// Closes the first top-level window of this program whose caption is the timer's target.
std::string closeTarget;
int closed = 0;
VOID CALLBACK CloseWindowCaptioned(HWND, UINT, UINT_PTR id, DWORD) {
    HWND window = FindWindowA(platform::Form::WindowClass(), closeTarget.c_str());
    if (!window) return;
    KillTimer(nullptr, id);
    ++closed;
    PostMessageA(window, WM_CLOSE, 0, 0);
}

TEST_F(SetupDialogTest, BrowserAndAboutOpenModallyAndTheFolderIsCountedAgain) {
    Picture("a.bmp", 10, 10, RGB(1, 1, 1));
    Store("Pics Folder", folder.Path());
    frmSSetup& dialog = OpenDialog();
    EXPECT_EQ(dialog.frPicFolder.Text(), "Fo&lder containing the pic files  (1 found)");
    // A picture added while the browser is open is counted when it closes.
    Picture("b.bmp", 10, 10, RGB(1, 1, 1));
    closeTarget = "Browse Pics - " + platform::App().Title;
    closed = 0;
    SetTimer(nullptr, 0, 50, CloseWindowCaptioned);
    Click(dialog.cmdWallpaper);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(dialog.frPicFolder.Text(), "Fo&lder containing the pic files  (2 found)");
    EXPECT_TRUE(IsWindowEnabled(dialog.hWnd()));

    closeTarget = "About";
    closed = 0;
    SetTimer(nullptr, 0, 50, CloseWindowCaptioned);
    Click(dialog.cmdAbout);
    EXPECT_EQ(closed, 1);
}

TEST_F(SetupDialogTest, ClearWallpaperTakesTheSuitesWallpaperAway) {
    const std::string wallpaper = common::WallpaperFilePath();
    testing_support::WriteFile(wallpaper, "BM");
    frmSSetup& dialog = OpenDialog();
    Click(dialog.cmdClearWP);
    EXPECT_EQ(GetFileAttributesA(wallpaper.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"), "(None)");
    EXPECT_TRUE(boxes.Calls().empty());
}

}  // namespace
