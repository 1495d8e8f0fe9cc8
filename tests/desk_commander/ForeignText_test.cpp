// Desk Commander with accented and non-Latin text: another program's Unicode text on the
// clipboard counts, is left as it was by a look and is cleared; a sibling program is
// found at an accented path, whether a record or the user names it.
#include "CommanderHarness.h"
#include "platform/Handles.h"

using namespace commander_test;
using testing_support::Utf16;
namespace other = testing_support::other_program;

namespace {
const std::string kFolder = "C:\\Fotos Café ☀";
const char kInspectorPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Sorvita Paste Inspector.exe";
const char kInspectorSettings[] = "Software\\VB and VBA Program Settings\\Sorvita Paste Inspector";
}  // namespace

TEST_F(Commander, AnotherProgramsUnicodeTextIsCountedKeptAndCleared) {
    Load();
    const std::string path = kFolder + "\\Été à Paris ☀.jpg";
    ASSERT_TRUE(other::PutUnicodeText(path));
    window->BeforeTrayMenu();
    EXPECT_TRUE(window->TrayIcon_Popup_ClearClipboard.Enabled());
    std::wstring read;
    ASSERT_TRUE(other::ReadUnicodeText(read));
    EXPECT_EQ(read, Utf16(path));
    window->TrayIcon_Popup_ClearClipboard.Click();
    EXPECT_FALSE(other::ReadUnicodeText(read));
    // OEM text alone is text too.
    ASSERT_TRUE(other::PutBytes("oemtext", MAKELCID(0x0409, SORT_DEFAULT), std::string("caf\x82") + '\0'));
    window->BeforeTrayMenu();
    EXPECT_TRUE(window->TrayIcon_Popup_ClearClipboard.Enabled());
    window->TrayIcon_Popup_ClearClipboard.Click();
    window->BeforeTrayMenu();
    EXPECT_FALSE(window->TrayIcon_Popup_ClearClipboard.Enabled());
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Commander, SiblingAtAnAccentedPathStartsFromItsRecordOrTheFolderChosen) {
    testing_support::DeleteTree(kFolder);
    ASSERT_TRUE(CreateDirectoryW(Utf16(kFolder).c_str(), nullptr));
    const std::string exe = kFolder + "\\Sorvita Paste Inspector.exe";
    testing_support::WriteFile(exe, "MZ");
    // The record as a Unicode installer would write it.
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, kInspectorPaths);
    testing_support::RegDeleteTree(HKEY_CURRENT_USER, kInspectorSettings);
    {
        platform::RegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Utf16(kInspectorPaths).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        const std::wstring value = Utf16(exe);
        RegSetValueExW(key.get(), L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    Load();
    window->TrayIcon_Popup_RunSVPI.Click();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_NE(started[0].find(exe), std::string::npos) << started[0];
    EXPECT_EQ(boxes.Count(), 0u);
    // Without a record: the folder the user picks.
    testing_support::RegDeleteTree(HKEY_LOCAL_MACHINE, kInspectorPaths);
    {
        testing_support::FolderPickerScript picker{{kFolder}};
        window->TrayIcon_Popup_RunSVPI.Click();
        ASSERT_EQ(started.size(), 2u);
        EXPECT_NE(started[1].find(exe), std::string::npos) << started[1];
    }
    EXPECT_EQ(boxes.Count(), 0u);
    testing_support::DeleteTree(kFolder);
}
