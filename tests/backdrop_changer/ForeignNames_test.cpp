// Backdrop Changer rotating a folder with accented and non-Latin names: the information
// window names the picture as it is, "Copy Filename" hands another program the exact path,
// and Exit writes the folder history unchanged.
#include <windows.h>

#include <gtest/gtest.h>

#include "backdrop_changer/frmSSetup.h"
#include "common/WindowsWallpaper_.h"
#include "platform/App.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

using namespace backdrop_changer;
using testing_support::RegStringW;
using testing_support::Utf16;
using testing_support::WindowTextW;

namespace {

const char kKey[] = "Software\\VB and VBA Program Settings\\Sorvita Backdrop Changer\\Settings";
const std::string kFolder = "C:\\Fotos Café ☀";
const std::string kPicture = "Été à Paris ☀.jpg";

class RotatingForeignNames : public ::testing::Test {
protected:
    double now = 5000;
    platform::ScopedSeam<std::function<double()>> clock{platform::seams::Timer, [this] { return now; }};
    testing_support::MsgBoxRecorder boxes;
    std::unique_ptr<frmSSetup> window = std::make_unique<frmSSetup>();

    void SetUp() override {
        InitIdentity();
        platform::App().Title = "Sorvita Backdrop Changer";
        testing_support::RegDeleteTree(HKEY_CURRENT_USER, kKey);
        testing_support::DeleteTree(kFolder);
        ASSERT_TRUE(CreateDirectoryW(Utf16(kFolder).c_str(), nullptr));
        const std::string data = testing_support::WinePathFromEnv("SORVITA_TEST_DATA");
        ASSERT_TRUE(CopyFileW(Utf16(data + "\\quad-baseline.jpg").c_str(), Utf16(kFolder + "\\" + kPicture).c_str(),
                              FALSE));
        for (const auto& [name, value] : {std::pair<std::string, std::string>{"Pics Folder", kFolder},
                                          {"Active", "True"},
                                          {"Display Time", "True"},
                                          {"Reset Desktop", "False"},
                                          {"Pics Folder 00", kFolder},
                                          {"Pics Folder 01", "C:\\Ünter ☂ 日本"}})
            testing_support::RegSetString(HKEY_CURRENT_USER, kKey, name, value);
    }
    void TearDown() override {
        if (window->IsLoaded()) window->Unload();
        common::ClearWallpaper(common::WallpaperFilePath(), true);
        testing_support::DeleteTree(kFolder);
    }
};

}  // namespace

TEST_F(RotatingForeignNames, InfoWindowCopyFilenameAndHistoryKeepTheNames) {
    window->Load();
    testing_support::PumpMessages();
    EXPECT_EQ(window->frPicFolder.Text(), "Fo&lder containing the pic files  (1 found)");
    ASSERT_EQ(window->cboPicFolder.ListCount(), 2);
    EXPECT_EQ(window->cboPicFolder.List(0), kFolder);
    EXPECT_EQ(window->cboPicFolder.List(1), "C:\\Ünter ☂ 日本");
    // The first tick hangs the picture at once.
    ssTimer_Timer();
    EXPECT_EQ(boxes.Count(), 0u);
    const std::string path = kFolder + "\\" + kPicture;
    EXPECT_EQ(window->TrayIcon_Popup_InfoWindow.Tag, path);

    frmInfoWindow* info = window->InfoWindow();
    ASSERT_NE(info, nullptr);
    info->Timer1_Timer();
    EXPECT_EQ(WindowTextW(info->lblFileName.hWnd()), Utf16(kPicture));
    EXPECT_EQ(info->lblFileName.ToolTipText(), path);
    // The line is as wide as the system measures the name's characters.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, info->lblFileName.Font() ? info->lblFileName.Font() : platform::DefaultFont());
    const std::wstring name = Utf16(kPicture);
    SIZE size{};
    GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(info->lblFileName.Width(), platform::PixelsToTwipsX(size.cx));

    // Another program reads the copied path exactly.
    info->Form_Popup_CopyFilename.Click();
    std::wstring copied;
    ASSERT_TRUE(testing_support::other_program::ReadUnicodeText(copied));
    EXPECT_EQ(copied, Utf16(path));

    // Exit writes the history and the folder as they read.
    window->cmdOK.PerformClick();
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_EQ(RegStringW(HKEY_CURRENT_USER, kKey, "Pics Folder"), Utf16(kFolder));
    EXPECT_EQ(RegStringW(HKEY_CURRENT_USER, kKey, "Pics Folder 00"), Utf16(kFolder));
    EXPECT_EQ(RegStringW(HKEY_CURRENT_USER, kKey, "Pics Folder 01"), L"C:\\\u00DCnter \u2602 \u65E5\u672C");
    EXPECT_EQ(boxes.Count(), 0u);
}
