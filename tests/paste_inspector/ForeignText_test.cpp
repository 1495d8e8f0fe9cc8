// Paste Inspector with text that another program left on the clipboard in a form of its own
// (UTF-16, its ANSI or OEM code page, rich text, a link): shown as that program meant it
// and saved without loss.
#include "InspectorHarness.h"

#include <shlobj.h>

#include "platform/Handles.h"

using namespace inspector_test;
using testing_support::Utf16;
using testing_support::WindowTextW;
namespace other = testing_support::other_program;

namespace {

const std::string kSample = "café näive €5 日本";
const LCID kEnglish = MAKELCID(0x0409, SORT_DEFAULT);
const LCID kJapanese = MAKELCID(0x0411, SORT_DEFAULT);

// A file's bytes, opened by its UTF-16 name.
std::string FileBytes(const std::string& path) {
    HANDLE file = CreateFileW(Utf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<no file>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

BOOL CALLBACK FindEdit(HWND hwnd, LPARAM data) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpiA(cls, "Edit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(data) = hwnd;
    return FALSE;
}

class ForeignText : public Inspector {
protected:
    // Saves the text box through the menu into `name` (".txt" added) and returns the bytes.
    std::string Save(const std::string& name) {
        Answer(folder.File(name));
        Click(form->mnuTextSave);
        EXPECT_EQ(boxes.Count(), 0u);
        return FileBytes(folder.File(name) + ".txt");
    }
    void Refresh() { form->RefreshFromClipboard(); }
    std::wstring Shown() { return WindowTextW(form->txtClipboard.hWnd()); }

    testing_support::TempFolder folder{"inspector-foreign"};
};

}  // namespace

TEST_F(ForeignText, UnicodeTextIsShownAndSavedExactlyUnderAnAccentedName) {
    ASSERT_TRUE(other::PutUnicodeText(kSample));
    Open();
    EXPECT_EQ(Shown(), Utf16(kSample));
    EXPECT_EQ(form->txtClipboard.Text(), kSample);
    EXPECT_TRUE(form->mnuTextSave.Enabled());
    EXPECT_TRUE(form->mnuClearClipboard.Enabled());
    // Saved in UTF-8, the code page the programs run in, with CR LF after it.
    EXPECT_EQ(Save("café crème ☀"), kSample + "\r\n");
}

TEST_F(ForeignText, AnsiAndOemTextIsReadInTheCodePagesOfItsLocale) {
    Open();
    // Western text, its euro sign in the Western code page's own place (0x80).
    ASSERT_TRUE(other::PutBytes("text", kEnglish, std::string("caf\xE9 n\xE4ive \x80" "5") + '\0'));
    Refresh();
    EXPECT_EQ(Shown(), L"caf\u00E9 n\u00E4ive \u20AC5");
    EXPECT_EQ(Save("western"), "café näive €5\r\n");
    // The locale decides: the same kind of format in the Japanese code page.
    ASSERT_TRUE(other::PutBytes("text", kJapanese, std::string("\x93\xFA\x96\x7B") + '\0'));
    Refresh();
    EXPECT_EQ(Shown(), L"\u65E5\u672C");
    EXPECT_EQ(Save("japanese"), "日本\r\n");
    // OEM text alone.
    ASSERT_TRUE(other::PutBytes("oemtext", kEnglish, std::string("caf\x82") + '\0'));
    Refresh();
    EXPECT_EQ(Shown(), L"caf\u00E9");
}

TEST_F(ForeignText, TextEndingInAnAccentedLetterSavesWithoutAStrayByte) {
    Open();
    ASSERT_TRUE(other::PutBytes("text", kEnglish, std::string("caf\xE9 cr\xE8me") + '\0'));
    Refresh();
    EXPECT_EQ(Shown(), L"caf\u00E9 cr\u00E8me");
    EXPECT_EQ(Save("creme"), "café crème\r\n");
    ASSERT_TRUE(other::PutBytes("text", kEnglish, std::string("caf\xE9") + '\0'));
    Refresh();
    EXPECT_EQ(Shown(), L"caf\u00E9");
    EXPECT_EQ(Save("cafe-ansi"), "caf\xC3\xA9\r\n");
    ASSERT_TRUE(other::PutUnicodeText("café"));
    Refresh();
    EXPECT_EQ(Save("cafe-unicode"), "caf\xC3\xA9\r\n");
    // Plain ASCII text is written byte for byte as it always was.
    ASSERT_TRUE(other::PutUnicodeText("line one\r\nline two"));
    Refresh();
    EXPECT_EQ(Save("ascii"), "line one\r\nline two\r\n");
}

TEST_F(ForeignText, RichTextAndLinksAreReadInTheirCodePages) {
    Open();
    // Rich text in the code page its header names, whatever the locale says.
    ASSERT_TRUE(other::PutBytes("Rich Text Format", kJapanese,
                                std::string("{\\rtf1\\ansi\\ansicpg1252 caf\xE9}") + '\0'));
    Refresh();
    EXPECT_EQ(Shown(), L"{\\rtf1\\ansi\\ansicpg1252 caf\u00E9}");
    // Without one, in the locale's.
    ASSERT_TRUE(other::PutBytes("Rich Text Format", kEnglish, std::string("{\\rtf1 cr\xE8me}") + '\0'));
    Refresh();
    EXPECT_EQ(Shown(), L"{\\rtf1 cr\u00E8me}");
    // A link whose topic is a file in an accented folder.
    const char link[] = "Excel\0C:\\Caf\xE9\\Book1.xls\0R1C1\0";
    ASSERT_TRUE(other::PutBytes("Link", kEnglish, std::string(link, sizeof link)));
    Refresh();
    EXPECT_EQ(Shown(), L"Excel|C:\\Caf\u00E9\\Book1.xls!R1C1");
}

TEST(PasteInspectorProgram, ShowsAnotherProgramsUnicodeTextAndRecordsAnAccentedHome) {
    const std::string exe = testing_support::WinePathFromEnv("SORVITA_INSPECTOR_EXE");
    ASSERT_FALSE(exe.empty()) << "SORVITA_INSPECTOR_EXE is not set";
    ASSERT_TRUE(other::PutUnicodeText(kSample));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    platform::UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    testing_support::TopWindows windows;
    for (int i = 0; i < 200 && !windows.mine; ++i) {
        Sleep(50);
        windows = testing_support::FindTopWindows("Sorvita Paste Inspector", process.dwProcessId);
    }
    ASSERT_TRUE(windows.mine) << "no window";
    HWND edit = nullptr;
    EnumChildWindows(windows.mine, FindEdit, reinterpret_cast<LPARAM>(&edit));
    ASSERT_TRUE(edit);
    // Shown at load, or at the next tick if another process had the clipboard open just then.
    wchar_t text[64] = {};
    for (DWORD start = GetTickCount(); GetTickCount() - start < 4000 && !text[0]; Sleep(100))
        SendMessageW(edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), Utf16(kSample));

    // A second copy started from an accented folder records where it lives, then ends; the
    // path is longer in UTF-8 than MAX_PATH characters' worth of bytes twice over.
    const std::string top = "C:\\Fotos Café ☀";
    std::string folder = top;
    for (int level = 0; level < 2; ++level) {
        folder += "\\";
        for (int i = 0; i < 80; ++i) folder += "日";
    }
    const std::string copy = folder + "\\Sorvita Paste Inspector.exe";
    ASSERT_GT(copy.size(), static_cast<size_t>(2 * MAX_PATH));
    testing_support::DeleteTree(top);
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, Utf16(folder).c_str(), nullptr), ERROR_SUCCESS);
    ASSERT_TRUE(CopyFileW(Utf16(exe).c_str(), Utf16(copy).c_str(), FALSE));
    EXPECT_EQ(testing_support::RunProgram(copy, "", 20000), 0);
    const char appPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Sorvita Paste Inspector.exe";
    EXPECT_EQ(testing_support::RegStringW(HKEY_LOCAL_MACHINE, appPaths, ""), Utf16(copy));
    EXPECT_EQ(testing_support::RegStringW(HKEY_LOCAL_MACHINE, appPaths, "Path"), Utf16(folder + "\\"));
    EXPECT_EQ(testing_support::RegStringW(HKEY_CURRENT_USER,
                                          "Software\\VB and VBA Program Settings\\Sorvita Paste Inspector\\Settings",
                                          "App Path"),
              Utf16(copy));
    PostMessageA(windows.mine, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    testing_support::DeleteTree(top);
}
