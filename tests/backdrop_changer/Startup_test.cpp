// Backdrop Changer's settings record and start-up, against Wine's real registry.
#include <gtest/gtest.h>

#include "backdrop_changer/basSSaver.h"
#include "common/SettingsApp_.h"
#include "platform/App.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

using namespace backdrop_changer;
using testing_support::MsgBoxRecorder;
using testing_support::RegString;

namespace {

const char kKey[] = "Software\\VB and VBA Program Settings\\Sorvita Backdrop Changer\\Settings";

class BackdropSettings : public ::testing::Test {
protected:
    void SetUp() override {
        platform::App().Title = "Sorvita Backdrop Changer";
        testing_support::RegDeleteTree(HKEY_CURRENT_USER, kKey);
    }
};

}  // namespace

TEST_F(BackdropSettings, FirstStartGivesTheDefaults) {
    MsgBoxRecorder boxes;
    Settings.Active = true;
    LoadSettings();
    EXPECT_FALSE(Settings.Active);
    EXPECT_EQ(Settings.PicsFolder, "");
    EXPECT_EQ(Settings.ShowDelay, 300);
    EXPECT_EQ(Settings.QuickDelay, 300);
    EXPECT_EQ(Settings.TilePercent, 50);
    EXPECT_TRUE(Settings.ResetDesktop);
    EXPECT_FALSE(Settings.SkipErrors || Settings.StretchFit || Settings.TileSmall || Settings.DisplayTime ||
                 Settings.ClearWallpaper || Settings.TwoColumnMenu || Settings.DesktopText || Settings.ShowRandom);
    EXPECT_EQ(Settings.DesktopView, 0);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(BackdropSettings, StoredValuesLoadWithTheirRangesChecked) {
    auto load = [](const char* key, const char* text) {
        common::SaveAppSetting("Settings", key, text, true);
        LoadSettings();
    };
    load("Show Delay", "0");
    EXPECT_EQ(Settings.ShowDelay, 300);
    load("Show Delay", "21601");
    EXPECT_EQ(Settings.ShowDelay, 300);
    load("Show Delay", "21600");
    EXPECT_EQ(Settings.ShowDelay, 21600);
    load("Show Delay", "abc");
    EXPECT_EQ(Settings.ShowDelay, 300);
    load("Tile Percent", "100");
    EXPECT_EQ(Settings.TilePercent, 100);
    load("Tile Percent", "0");
    EXPECT_EQ(Settings.TilePercent, 50);
    load("Tile Percent", "101");
    EXPECT_EQ(Settings.TilePercent, 50);
    load("Pics Folder", "  C:\\Pictures  ");
    EXPECT_EQ(Settings.PicsFolder, "C:\\Pictures");
    load("Active", "True");
    EXPECT_TRUE(Settings.Active);
}

TEST_F(BackdropSettings, SaveWritesEveryKeyAndReportsEachFailingOne) {
    MsgBoxRecorder boxes;
    Settings = SettingsRecord{};
    Settings.PicsFolder = " C:\\Pics ";
    Settings.ShowDelay = 45;
    Settings.StretchFit = true;
    SaveSettings();
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Pics Folder"), " C:\\Pics ");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Show Delay"), "45");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Stretch Fit"), "True");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Reset Desktop"), "True");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Desktop View"), "0");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "2-Column Menu"), "False");
}

TEST_F(BackdropSettings, SaveReportsEachFailingKeyOnceAndStillWritesTheRest) {
    platform::ScopedSeam failSome(platform::seams::RegSetValueExA,
                                  [](HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data,
                                     DWORD size) -> LONG {
                                      std::string value = name;
                                      if (value == "Show Delay" || value == "Desktop View") return ERROR_ACCESS_DENIED;
                                      return ::RegSetValueExA(key, name, reserved, type, data, size);
                                  });
    MsgBoxRecorder boxes;
    Settings = SettingsRecord{};
    Settings.Active = true;
    SaveSettings();
    ASSERT_EQ(boxes.Count(), 2u);
    for (const auto& call : boxes.Calls())
        EXPECT_EQ(call.text.rfind(std::string(common::kAppSaveError) + "\r\n\r\n", 0), 0u);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Active"), "True");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Quick Delay"), "300");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "2-Column Menu"), "False");
    EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, kKey, "Show Delay"));
}

TEST_F(BackdropSettings, FolderHistoryWritesAllTwentyKeys) {
    for (int i = 0; i < 20; ++i) common::SaveAppSetting("Settings", FolderHistoryKey(i), "old", true);
    SaveFolderHistory({"C:\\A", "C:\\B", "D:\\C"});
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Pics Folder 00"), "C:\\A");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Pics Folder 01"), "C:\\B");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "Pics Folder 02"), "D:\\C");
    for (int i = 3; i < 20; ++i) EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, FolderHistoryKey(i)), "") << i;
}

// A second copy re-registers where the program lives, then ends without touching anything.
TEST_F(BackdropSettings, SecondStartRewritesThePathRecordsAndEndsSilently) {
    std::string exe = testing_support::WinePathFromEnv("SORVITA_BACKDROP_EXE");
    ASSERT_FALSE(exe.empty());
    std::string appKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Sorvita Backdrop Changer.exe";
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, appKey);
    ASSERT_FALSE(platform::App().PrevInstance()) << "this process now holds the running copy's marker";

    EXPECT_EQ(testing_support::RunProgram(exe, "", 20000), 0);

    std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kKey, "App Path"), exe);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, appKey, ""), exe);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, appKey, "Path"), folder);
    // Nothing but the path record was written.
    EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, kKey, "Active"));
    EXPECT_FALSE(testing_support::RegValueExists(HKEY_CURRENT_USER, kKey, "Pics Folder 00"));
}
