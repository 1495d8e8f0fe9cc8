// The StartUp shortcut through Vb5stkit.dll in the Wine prefix, and the folder picker.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "common/BrowseForFolder_.h"
#include "common/CreateStartupLink_.h"
#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

namespace {

std::string StartupFolder() { return common::GetSpecialFolder(nullptr, CSIDL_STARTUP, true); }
std::string ProgramsFolder() { return common::GetSpecialFolder(nullptr, CSIDL_PROGRAMS, true); }
std::string StartupLink() { return StartupFolder() + "\\" + platform::App().Title + ".lnk"; }

bool FileThere(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct Link {
    std::string target, arguments;
};

Link ReadLink(const std::string& path) {
    Link link;
    platform::ComPtr<IShellLinkA> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shellLink.put_void())))
        return link;
    platform::ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.put_void()))) return link;
    std::wstring wide(path.begin(), path.end());
    if (FAILED(file->Load(wide.c_str(), STGM_READ))) return link;
    char text[MAX_PATH] = {};
    shellLink->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    link.target = text;
    text[0] = '\0';
    shellLink->GetArguments(text, MAX_PATH);
    link.arguments = text;
    return link;
}

std::string ProgramFile() { return platform::App().Path + "\\" + platform::App().EXEName + ".exe"; }

std::string LibraryMissingText(const std::string& op) {
    return "An error occurred attempting to " + op + " the " + platform::App().Title + " shortcut:\r\n\r\n" +
           platform::ErrorDescription(ERROR_MOD_NOT_FOUND) +
           "\r\n\r\nThe probable cause of this error is the Vb5stkit.dll support file does not exist in the Windows "
           "System folder.";
}

// The special folder lookup answers with the item list of `path` instead.
struct SpecialFolderIs {
    std::string path;
    platform::ScopedSeam<std::function<HRESULT(HWND, int, PIDLIST_ABSOLUTE*)>> seam{
        common::seams::SHGetSpecialFolderLocation, [this](HWND, int, PIDLIST_ABSOLUTE* list) {
            *list = path.empty() ? nullptr : ILCreateFromPathA(path.c_str());
            return *list ? S_OK : E_FAIL;
        }};
};

class StartupShortcut : public ::testing::Test {
protected:
    void TearDown() override { DeleteFileA(StartupLink().c_str()); }
    testing_support::MsgBoxRecorder boxes;
};

}  // namespace

TEST(SpecialFolder, FullPathOrLastComponent) {
    std::string full = StartupFolder();
    ASSERT_FALSE(full.empty());
    std::string last = common::GetSpecialFolder(nullptr, CSIDL_STARTUP, false);
    EXPECT_EQ(full.substr(full.size() - last.size()), last);
    EXPECT_EQ(full[full.size() - last.size() - 1], '\\');
    EXPECT_EQ(last.find('\\'), std::string::npos);

    SpecialFolderIs root{"C:\\"};
    EXPECT_EQ(common::GetSpecialFolder(nullptr, CSIDL_STARTUP, true), "C:\\");
    SpecialFolderIs none{""};
    EXPECT_EQ(common::GetSpecialFolder(nullptr, CSIDL_STARTUP, true), "");
    EXPECT_EQ(common::GetSpecialFolder(nullptr, CSIDL_STARTUP, false), "");
}

TEST_F(StartupShortcut, CreatesAndRemovesARealShortcutToTheProgram) {
    ASSERT_FALSE(FileThere(StartupLink()));
    ASSERT_TRUE(common::CreateStartupShortcut(nullptr));
    ASSERT_TRUE(FileThere(StartupLink())) << StartupLink();
    Link link = ReadLink(StartupLink());
    EXPECT_EQ(lstrcmpiA(link.target.c_str(), ProgramFile().c_str()), 0) << link.target;
    EXPECT_EQ(link.arguments, "");

    // Creating again replaces it.
    ASSERT_TRUE(common::CreateStartupShortcut(nullptr));
    ASSERT_TRUE(common::RemoveStartupShortcut(nullptr));
    EXPECT_FALSE(FileThere(StartupLink()));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(StartupShortcut, RemovingAMissingShortcutReportsTheRemoveText) {
    EXPECT_FALSE(common::RemoveStartupShortcut(nullptr));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "An error occurred attempting to remove the " + platform::App().Title +
                                     " shortcut from the StartUp program group.");
    EXPECT_EQ(boxes.Last().flags, platform::kMsgWarning);
}

TEST_F(StartupShortcut, UnknownStartupFolderFallsBackToTheStartUpGroup) {
    const std::string link = StartupLink();
    SpecialFolderIs unknown{""};
    ASSERT_TRUE(common::CreateStartupShortcut(nullptr));
    EXPECT_TRUE(FileThere(link));
    ASSERT_TRUE(common::RemoveStartupShortcut(nullptr));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(StartupShortcut, GroupThatCannotBeMadeGetsItsOwnText) {
    // A file stands where the group's folder would go.
    std::string blocker = ProgramsFolder() + "\\Sorvita Blocked Group";
    testing_support::WriteFile(blocker, "not a folder");
    testing_support::TempFolder elsewhere("blocked");
    std::string named = elsewhere.File("Sorvita Blocked Group");
    CreateDirectoryA(named.c_str(), nullptr);
    {
        SpecialFolderIs startup{named};
        EXPECT_FALSE(common::CreateStartupShortcut(nullptr));
    }
    DeleteFileA(blocker.c_str());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "An error occurred attempting to create the StartUp program group.");
}

TEST_F(StartupShortcut, MissingSupportLibraryGivesTheThirdText) {
    platform::ScopedSeam missing(common::seams::LoadLibraryA,
                                 [](const char*) { return ::LoadLibraryA("vb5stkit-not-installed"); });
    EXPECT_FALSE(common::CreateStartupShortcut(nullptr));
    EXPECT_FALSE(common::RemoveStartupShortcut(nullptr));
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Calls()[0].text, LibraryMissingText("create"));
    EXPECT_EQ(boxes.Calls()[1].text, LibraryMissingText("remove"));
    EXPECT_EQ(boxes.Calls()[0].flags, platform::kMsgWarning);
    EXPECT_FALSE(FileThere(StartupLink()));
}

TEST(Vb5stkit, MakesGroupsAndShortcutsUnderThePrograms) {
    platform::Library library(LoadLibraryA("vb5stkit"));
    ASSERT_TRUE(library) << "Vb5stkit.dll beside the tests";
    using Folder = long(WINAPI*)(const char*);
    using Create = long(WINAPI*)(const char*, const char*, const char*, const char*);
    using Remove = long(WINAPI*)(const char*, const char*);
    auto createFolder = reinterpret_cast<Folder>(reinterpret_cast<void*>(GetProcAddress(library.get(), "fCreateShellFolder")));
    auto createLink = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(library.get(), "fCreateShellLink")));
    auto removeLink = reinterpret_cast<Remove>(reinterpret_cast<void*>(GetProcAddress(library.get(), "fRemoveShellLink")));
    ASSERT_TRUE(createFolder && createLink && removeLink);

    const std::string group = ProgramsFolder() + "\\Sorvita Test Group";
    EXPECT_NE(createFolder("Sorvita Test Group"), 0);
    EXPECT_NE(createFolder("Sorvita Test Group"), 0);  // already there
    EXPECT_TRUE(FileThere(group));
    EXPECT_NE(createLink("Sorvita Test Group", "Notes", "C:\\windows\\notepad.exe", "/a b"), 0);
    Link link = ReadLink(group + "\\Notes.lnk");
    EXPECT_EQ(lstrcmpiA(link.target.c_str(), "C:\\windows\\notepad.exe"), 0) << link.target;
    EXPECT_EQ(link.arguments, "/a b");
    EXPECT_NE(removeLink("Sorvita Test Group", "Notes"), 0);
    EXPECT_EQ(removeLink("Sorvita Test Group", "Notes"), 0);  // gone already
    EXPECT_FALSE(FileThere(group + "\\Notes.lnk"));
    testing_support::DeleteTree(group);

    // The StartUp group by its usual name is the user's StartUp folder.
    EXPECT_NE(createLink("startup", "Sorvita Probe", "C:\\windows\\notepad.exe", ""), 0);
    EXPECT_TRUE(FileThere(StartupFolder() + "\\Sorvita Probe.lnk"));
    EXPECT_NE(removeLink("StartUp", "Sorvita Probe"), 0);

    EXPECT_EQ(createFolder(""), 0);
    EXPECT_EQ(createFolder("a\\..\\..\\b"), 0);
    EXPECT_EQ(createLink("No Such Group", "x", "C:\\windows\\notepad.exe", ""), 0);
    EXPECT_EQ(createLink("StartUp", "bad:name", "C:\\windows\\notepad.exe", ""), 0);
    EXPECT_EQ(createLink("StartUp", "x", "", ""), 0);
}

namespace {

// A stand-in picker window that notes the selection it is asked to make.
struct PickerWindow {
    static inline WPARAM selectionFlag = 0;
    static inline std::string selection;
    static inline int selections = 0;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == BFFM_SETSELECTIONA) {
            ++selections;
            selectionFlag = wParam;
            selection = reinterpret_cast<const char*>(lParam);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    PickerWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SorvitaTestPicker";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("SorvitaTestPicker", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        selectionFlag = 0;
        selection.clear();
        selections = 0;
    }
    ~PickerWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

// Plays the picker: opens, lets the callback select, and answers with `answer` (none: cancel).
struct ScriptedPicker {
    BROWSEINFOA seen{};
    std::string title;
    std::string startData;
    std::string answer;
    PickerWindow window;
    platform::ScopedSeam<std::function<PIDLIST_ABSOLUTE(BROWSEINFOA*)>> seam{
        common::seams::SHBrowseForFolderA, [this](BROWSEINFOA* info) -> PIDLIST_ABSOLUTE {
            seen = *info;
            title = info->lpszTitle ? info->lpszTitle : "";
            if (info->lParam) startData = reinterpret_cast<const char*>(info->lParam);
            info->lpfn(window.hwnd, BFFM_INITIALIZED, 0, info->lParam);
            return answer.empty() ? nullptr : ILCreateFromPathA(answer.c_str());
        }};
};

}  // namespace

TEST(BrowseForFolder, OpensWithTheStartFolderSelectedAndReturnsTheChoice) {
    testing_support::TempFolder start("pick-start"), chosen("pick-chosen");
    ScriptedPicker picker;
    picker.answer = chosen.Path();
    HWND owner = picker.window.hwnd;
    EXPECT_EQ(common::BrowseForFolder(owner, "Select a folder:", start.Path()), chosen.Path());
    EXPECT_EQ(picker.seen.hwndOwner, owner);
    EXPECT_EQ(picker.seen.pidlRoot, nullptr);
    EXPECT_EQ(picker.seen.pszDisplayName, nullptr);
    EXPECT_EQ(picker.title, "Select a folder:");
    EXPECT_EQ(picker.seen.ulFlags, static_cast<UINT>(BIF_RETURNONLYFSDIRS));
    EXPECT_EQ(picker.seen.iImage, 0);
    EXPECT_EQ(picker.startData, start.Path());
    EXPECT_EQ(PickerWindow::selections, 1);
    EXPECT_NE(PickerWindow::selectionFlag, 0u);  // lParam is a path
    EXPECT_EQ(PickerWindow::selection, start.Path());
}

TEST(BrowseForFolder, EmptyStartFolderOpensAtTheDesktopAndCancelGivesNothing) {
    ScriptedPicker picker;
    EXPECT_EQ(common::BrowseForFolder(nullptr, "Pick", ""), "");
    EXPECT_EQ(picker.seen.lParam, 0);
    EXPECT_EQ(PickerWindow::selections, 0);
}

namespace {
// Presses OK in the real picker once it is up and shows the expected folder selected
// (the picker fills its tree as it opens), or after about three seconds regardless.
struct RealPickerOk {
    static inline std::string expected;
    static inline int ticks = 0;
    static inline bool sawSelection = false;
    static std::string SelectedName(HWND picker) {
        HWND tree = FindWindowExA(picker, nullptr, "SysTreeView32", nullptr);
        if (!tree) return "";
        HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        if (!item) return "";
        char text[MAX_PATH] = {};
        TVITEMA info{};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text;
        info.cchTextMax = MAX_PATH;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
        return text;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        ++ticks;
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
             w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(w)) continue;
            sawSelection = lstrcmpiA(SelectedName(w).c_str(), expected.c_str()) == 0;
            if (!sawSelection && ticks < 60) return;
            KillTimer(nullptr, id);
            PostMessageA(w, WM_COMMAND, IDOK, 0);
            return;
        }
    }
};
}  // namespace

TEST(BrowseForFolder, RealPickerOpensAtTheStartFolder) {
    const std::string name = "Real Picker Start " + std::to_string(GetCurrentProcessId());
    // Not under the temporary folder: the picker's tree there now and then comes up
    // without a folder just made.
    const std::string start = "C:\\" + name;
    ASSERT_TRUE(CreateDirectoryA(start.c_str(), nullptr)) << start;
    RealPickerOk::expected = name;
    RealPickerOk::ticks = 0;
    RealPickerOk::sawSelection = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, &RealPickerOk::Tick);
    std::string chosen = common::BrowseForFolder(nullptr, "Select a folder:", start);
    KillTimer(nullptr, timer);
    RemoveDirectoryA(start.c_str());
    EXPECT_TRUE(RealPickerOk::sawSelection);
    EXPECT_EQ(lstrcmpiA(chosen.c_str(), start.c_str()), 0) << chosen;
}

namespace {

// A folder whose path takes more bytes in UTF-8 than the ANSI path functions have room for
// (MAX_PATH), though fewer characters.
class LongAccentedFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name;
        for (int i = 0; i < 85; ++i) name += "日";
        testing_support::DeleteTree(parent);
        ASSERT_TRUE(CreateDirectoryW(testing_support::Utf16(parent).c_str(), nullptr));
        path = parent + "\\" + name;
        ASSERT_TRUE(CreateDirectoryW(testing_support::Utf16(path).c_str(), nullptr));
        ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH));
    }
    void TearDown() override { testing_support::DeleteTree(parent); }
    const std::string parent = "C:\\Fotos Café ☀";
    std::string path;
};

}  // namespace

TEST_F(LongAccentedFolder, ChosenOrSpecialItComesBackWhole) {
    ScriptedPicker picker;
    picker.answer = path;
    EXPECT_EQ(common::BrowseForFolder(nullptr, "Select a folder:", parent), path);
    SpecialFolderIs special{path};
    EXPECT_EQ(common::GetSpecialFolder(nullptr, CSIDL_STARTUP, true), path);
    EXPECT_EQ(common::GetSpecialFolder(nullptr, CSIDL_STARTUP, false), path.substr(parent.size() + 1));
}
