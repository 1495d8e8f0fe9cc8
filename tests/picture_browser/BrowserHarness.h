// A browser window under test: pictures in a temporary folder, the beep, the pop-up
// menus and the shell recorded, and the user's actions sent as real messages.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/ShellCommands_.h"
#include "picture_browser/BrowserSeams.h"
#include "picture_browser/frmWallpaper.h"
#include "platform/App.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

namespace browser_test {

inline constexpr const char* kGalleryTitle = "Sorvita Image Gallery";
inline const std::string kHistoryKey = "Software\\VB and VBA Program Settings\\Sorvita Image Gallery\\Browse Pics";

// A 24-bit bitmap file of one colour, padded with trailing bytes to `fileSize` when given.
void WriteBitmap(const std::string& path, int width, int height, COLORREF color = RGB(40, 120, 200),
                 size_t fileSize = 0);

// A form that stands for the program that hosts the browser (its setup window).
class HostForm : public platform::Form {};

struct PopupCall {
    platform::MenuItem* menu;
    POINT at;
    unsigned flags;
};

class BrowserHarness : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The browser on its own (no other window loaded) or hosted over a loaded host form.
    picture_browser::frmWallpaper& OpenOwn();
    picture_browser::frmWallpaper& OpenHosted(const std::string& hostFolder = "");
    void Close();

    // User actions, as the controls would report them to their parent.
    static void Choose(platform::ListControl& list, int index);
    static void DoubleClick(platform::ListBox& list, int index);
    static void Click(platform::CommandButton& button);
    void Menu(platform::MenuItem& item);
    // The folder list's entry with this name, entered by double-click.
    void EnterFolder(const std::string& name);
    // Selects the file list's entry with this name.
    void ChooseFile(const std::string& name);
    int FileIndex(const std::string& name);
    std::vector<std::string> HistoryItems();

    testing_support::TempFolder root{"browser"};
    std::string pics;   // root\Pics: a.bmp, b.bmp, c.bmp
    std::string empty;  // root\Empty: no pictures
    std::vector<std::string> picFiles{""};
    bool folderMode = true;
    std::unique_ptr<HostForm> host;
    std::unique_ptr<picture_browser::frmWallpaper> browser;

    int beeps = 0;
    std::vector<PopupCall> popups;
    platform::MenuItem* popupChoice = nullptr;  // run when the next pop-up menu shows
    std::vector<std::string> opened;

private:
    platform::ScopedSeam<std::function<void()>> beepSeam_{picture_browser::seams::Beep, [this] { ++beeps; }};
    platform::ScopedSeam<std::function<void(platform::MenuItem&, POINT, unsigned)>> popupSeam_{
        picture_browser::seams::ShowPopupMenu, [this](platform::MenuItem& menu, POINT at, unsigned flags) {
            popups.push_back({&menu, at, flags});
            if (popupChoice) {
                platform::MenuItem* choice = popupChoice;
                popupChoice = nullptr;
                platform::MenuCommand(choice->Id());
            }
        }};
    platform::ScopedSeam<std::function<HINSTANCE(HWND, const char*, const char*, const char*, const char*, INT)>>
        shellSeam_{common::seams::ShellExecuteA,
                   [this](HWND, const char*, const char* file, const char*, const char*, INT) {
                       opened.push_back(file);
                       return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
                   }};
    std::string savedTitle_;
    char savedDirectory_[MAX_PATH * 4] = {};
};

// Screen rectangle of a control in the form's client pixels.
RECT ClientRectOf(const platform::Control& control);

}  // namespace browser_test
