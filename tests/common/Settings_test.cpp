// The settings area and direct registry access, against Wine's real registry.
#include <gtest/gtest.h>

#include "common/SettingsApp_.h"
#include "common/SettingsReg_.h"
#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

using namespace common;
using testing_support::MsgBoxRecorder;
using testing_support::RegSetDword;
using testing_support::RegSetString;
using testing_support::RegString;

namespace {

const char kTestKey[] = "Software\\Sorvita Tests\\Settings";

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        savedTitle_ = platform::App().Title;
        platform::App().Title = "Sorvita Settings Test";
        testing_support::RegDeleteTree(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Sorvita Settings Test");
        testing_support::RegDeleteTree(HKEY_CURRENT_USER, "Software\\Sorvita Tests");
    }
    void TearDown() override { platform::App().Title = savedTitle_; }
    std::string savedTitle_;
};

std::string ExpectedFirstLineAndBlank(const char* firstLine) { return std::string(firstLine) + "\r\n\r\n"; }

}  // namespace

TEST_F(SettingsStore, AppSettingRoundTripsUnderTheProgramsTitle) {
    MsgBoxRecorder boxes;
    EXPECT_TRUE(SaveAppSetting("Settings", "Show Delay", "300", false));
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Sorvita Settings Test\\Settings",
                        "Show Delay"),
              "300");
    EXPECT_EQ(GetAppSetting("Settings", "Show Delay", "1", false), "300");
    EXPECT_TRUE(SaveAppSetting("Settings", "Empty", "", false));
    EXPECT_EQ(GetAppSetting("Settings", "Empty", "default", false), "");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SettingsStore, MissingSettingGivesTheDefaultWithoutAMessage) {
    MsgBoxRecorder boxes;
    EXPECT_EQ(GetAppSetting("Settings", "Never Written", "fallback", false), "fallback");
    SaveAppSetting("Settings", "Other", "x", true);
    EXPECT_EQ(GetAppSetting("Settings", "Never Written", "fallback", false), "fallback");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SettingsStore, DeletingAMissingSettingFailsAndReportsUnlessSilent) {
    MsgBoxRecorder boxes;
    EXPECT_FALSE(DeleteAppSetting("Settings", "Kid About", true));
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_FALSE(DeleteAppSetting("Settings", "Kid About", false));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text.rfind(ExpectedFirstLineAndBlank(kAppDeleteError), 0), 0u) << boxes.Last().text;
    EXPECT_GT(boxes.Last().text.size(), std::string(kAppDeleteError).size() + 4);
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
    EXPECT_EQ(boxes.Last().title, "Sorvita Settings Test");

    SaveAppSetting("Settings", "Kid About", "False", true);
    EXPECT_TRUE(DeleteAppSetting("Settings", "Kid About", false));
    EXPECT_EQ(GetAppSetting("Settings", "Kid About", "True", false), "True");
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST_F(SettingsStore, FailingWritesReportTheSaveMessageWithTheSystemsDescription) {
    platform::ScopedSeam failSet(platform::seams::RegSetValueExA,
                                 [](HKEY, const char*, DWORD, DWORD, const BYTE*, DWORD) -> LONG {
                                     return ERROR_ACCESS_DENIED;
                                 });
    MsgBoxRecorder boxes;
    EXPECT_FALSE(SaveAppSetting("Settings", "Active", "True", true));
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_FALSE(SaveAppSetting("Settings", "Active", "True", false));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              ExpectedFirstLineAndBlank(kAppSaveError) + platform::ErrorDescription(ERROR_ACCESS_DENIED));

    EXPECT_FALSE(SaveRegValue(HKEY_CURRENT_USER, kTestKey, "v", "x", true));
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_FALSE(SaveRegValue(HKEY_CURRENT_USER, kTestKey, "v", "x", false));
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Last().text, "An error occurred attempting to save a setting to the Windows Registry.");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
}

TEST_F(SettingsStore, AppSettingOfAnotherTypeIsAReadError) {
    RegSetDword(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Sorvita Settings Test\\Settings", "Odd", 5);
    MsgBoxRecorder boxes;
    EXPECT_EQ(GetAppSetting("Settings", "Odd", "d", true), "d");
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(GetAppSetting("Settings", "Odd", "d", false), "d");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text.rfind(ExpectedFirstLineAndBlank(kAppReadError), 0), 0u);
}

TEST_F(SettingsStore, RegValueTextsEmptyAndDefault) {
    MsgBoxRecorder boxes;
    RegSetString(HKEY_CURRENT_USER, kTestKey, "Empty", "");
    RegSetString(HKEY_CURRENT_USER, kTestKey, "Text", "C:\\Pictures");
    RegSetString(HKEY_CURRENT_USER, kTestKey, "", "the default value");
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "Empty", "dflt", false), "");
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "Text", "dflt", false), "C:\\Pictures");
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "", "dflt", false), "the default value");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SettingsStore, RegValueMissingKeyOrValueGivesTheDefaultAndTheReadMessage) {
    MsgBoxRecorder boxes;
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, "Software\\Sorvita Tests\\Nowhere", "x", "dflt", true), "dflt");
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, "Software\\Sorvita Tests\\Nowhere", "x", "dflt", false), "dflt");
    RegSetString(HKEY_CURRENT_USER, kTestKey, "Text", "t");
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "Missing", "dflt", false), "dflt");
    ASSERT_EQ(boxes.Count(), 2u);
    for (const auto& call : boxes.Calls()) {
        EXPECT_EQ(call.text, "An error occurred attempting to read a setting from the Windows Registry.");
        EXPECT_EQ(call.flags, platform::kMsgWarning);
    }
}

// The whole number comes back (at least three digits): the stored value is what a
// caller compares against, so cutting 1234 to "123" would be wrong.
TEST_F(SettingsStore, RegValueDwordIsTheWholeNumberWithAtLeastThreeDigits) {
    RegSetDword(HKEY_CURRENT_USER, kTestKey, "Seven", 7);
    RegSetDword(HKEY_CURRENT_USER, kTestKey, "Big", 1234);
    RegSetDword(HKEY_CURRENT_USER, kTestKey, "Max", 0xFFFFFFFF);
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "Seven", "", true), "007");
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "Big", "", true), "1234");
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "Max", "", true), "4294967295");
}

TEST_F(SettingsStore, RegValueOf511CharactersFitsAnd512DoNot) {
    MsgBoxRecorder boxes;
    RegSetString(HKEY_CURRENT_USER, kTestKey, "Fits", std::string(511, 'a'));
    RegSetString(HKEY_CURRENT_USER, kTestKey, "TooLong", std::string(512, 'b'));
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "Fits", "dflt", true), std::string(511, 'a'));
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "TooLong", "dflt", true), "dflt");
    EXPECT_EQ(boxes.Count(), 0u);
}

// Reading asks for query access only, so a key the user may read but not write still reads.
TEST_F(SettingsStore, RegValueReadsAKeyOpenedForQueryOnly) {
    RegSetString(HKEY_LOCAL_MACHINE, "Software\\Sorvita Tests\\ReadOnly", "Path", "C:\\Apps\\");
    EXPECT_EQ(GetRegValue(HKEY_LOCAL_MACHINE, "Software\\Sorvita Tests\\ReadOnly", "Path", "dflt", true), "C:\\Apps\\");
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, "Software\\Sorvita Tests");
}

TEST_F(SettingsStore, SaveRegValueCreatesEveryMissingKeyOnTheWay) {
    MsgBoxRecorder boxes;
    std::string deep = "Software\\Sorvita Tests\\A\\B\\C";
    EXPECT_TRUE(SaveRegValue(HKEY_CURRENT_USER, deep, "Value", "text", false));
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, deep, "Value"), "text");
    EXPECT_TRUE(SaveRegValue(HKEY_CURRENT_USER, deep, "", "default", false));
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, deep, "", "x", false), "default");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SettingsStore, RegisterAppPathWritesTheThreeRecords) {
    platform::Application& app = platform::App();
    platform::Application saved = app;
    app.Path = "C:\\Program Files\\Sorvita";
    app.EXEName = "Sorvita Settings Test";
    app.Extension = ".scr";
    RegisterAppPath();
    std::string appKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Sorvita Settings Test.scr";
    EXPECT_EQ(GetAppSetting("Settings", "App Path", "", true), "C:\\Program Files\\Sorvita\\Sorvita Settings Test.scr");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, appKey, ""), "C:\\Program Files\\Sorvita\\Sorvita Settings Test.scr");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, appKey, "Path"), "C:\\Program Files\\Sorvita\\");

    app.Path = "C:\\";  // a folder that already ends with a backslash
    RegisterAppPath();
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, appKey, "Path"), "C:\\");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, appKey, ""), "C:\\Sorvita Settings Test.scr");
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, appKey);
    app = saved;
    app.Title = "Sorvita Settings Test";
}

// Our UTF-8 text goes through the registry's ANSI functions, which convert it in our code
// page: the registry holds the real characters (UTF-16), so other programs read the same.
TEST_F(SettingsStore, AccentedAndNonLatinTextIsStoredAsItsCharacters) {
    using testing_support::RegStringW;
    using testing_support::Utf16;
    MsgBoxRecorder boxes;
    const std::string path = "C:\\Fotos Café ☀\\日本";
    const std::string appKey = "Software\\VB and VBA Program Settings\\Sorvita Settings Test\\Browse Pics";
    EXPECT_TRUE(SaveAppSetting("Browse Pics", "Folder 00", path, false));
    EXPECT_EQ(RegStringW(HKEY_CURRENT_USER, appKey, "Folder 00"), Utf16(path));
    EXPECT_EQ(GetAppSetting("Browse Pics", "Folder 00", "", false), path);
    EXPECT_TRUE(SaveRegValue(HKEY_CURRENT_USER, kTestKey, "Wallpaper", path, false));
    EXPECT_EQ(RegStringW(HKEY_CURRENT_USER, kTestKey, "Wallpaper"), Utf16(path));
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "Wallpaper", "", false), path);
    // Written by a program in UTF-16, read as ours.
    const std::wstring other = L"D:\\\u00DCnter \u2602";
    platform::RegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Utf16(appKey).c_str(), 0, KEY_SET_VALUE, key.put()), ERROR_SUCCESS);
    RegSetValueExW(key.get(), L"Folder 01", 0, REG_SZ, reinterpret_cast<const BYTE*>(other.c_str()),
                   static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(GetAppSetting("Browse Pics", "Folder 01", "", false), "D:\\Ünter ☂");
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, appKey, "Folder 01", "", false), "D:\\Ünter ☂");
    // The read limit counts characters, whatever their size in UTF-8.
    std::string fits, tooLong;
    for (int i = 0; i < 511; ++i) fits += "é";
    tooLong = fits + "é";
    RegSetString(HKEY_CURRENT_USER, kTestKey, "Fits", fits);
    RegSetString(HKEY_CURRENT_USER, kTestKey, "TooLong", tooLong);
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "Fits", "dflt", true), fits);
    EXPECT_EQ(GetRegValue(HKEY_CURRENT_USER, kTestKey, "TooLong", "dflt", true), "dflt");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SettingsStore, RegisterAppPathIsSilentWhenWritesFail) {
    platform::ScopedSeam failSet(platform::seams::RegSetValueExA,
                                 [](HKEY, const char*, DWORD, DWORD, const BYTE*, DWORD) -> LONG {
                                     return ERROR_ACCESS_DENIED;
                                 });
    MsgBoxRecorder boxes;
    RegisterAppPath();
    EXPECT_EQ(boxes.Count(), 0u);
}

// A standard user may not write under HKEY_LOCAL_MACHINE: the user's own record still is.
TEST_F(SettingsStore, RegisterAppPathKeepsTheUsersRecordWhenTheMachineKeyIsRefused) {
    platform::ScopedSeam refuseMachine(
        platform::seams::RegCreateKeyExA, [](HKEY root, const char* subKey, DWORD reserved, char* keyClass,
                                             DWORD options, REGSAM access, SECURITY_ATTRIBUTES* security, HKEY* key,
                                             DWORD* disposition) -> LONG {
            if (root == HKEY_LOCAL_MACHINE) return ERROR_ACCESS_DENIED;
            return ::RegCreateKeyExA(root, subKey, reserved, keyClass, options, access, security, key, disposition);
        });
    MsgBoxRecorder boxes;
    DeleteAppSetting("Settings", "App Path", true);
    RegisterAppPath();
    const platform::Application& app = platform::App();
    EXPECT_EQ(GetAppSetting("Settings", "App Path", "", true), app.Path + "\\" + app.EXEName + app.Extension);
    EXPECT_EQ(boxes.Count(), 0u);
}
