// The picture file finder and the existence tests, on real folders under Wine.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "common/FFF.h"
#include "common/FileFolderExists_.h"
#include "common/FileFolderFunctions_.h"
#include "common/FolderWalk_.h"
#include "ListBoxFinder.h"
#include "platform/Form.h"
#include "platform/Seams.h"
#include "support/TestSupport.h"

using namespace common;
using testing_support::TempFolder;

namespace {

using Paths = std::vector<std::string>;

void Touch(const std::string& path) { testing_support::WriteFile(path, ""); }
void MakeFolder(const std::string& path) { ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path; }

// PicFiles without its element 0.
Paths Found() { return Paths(PicFiles.begin() + 1, PicFiles.end()); }

// The Unix side of the drive mapping, for what Windows calls cannot make: symbolic links
// and unreadable folders. Wine starts Unix programs but gives no handle to wait on, so the
// caller polls for the effect.
bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

bool RunUnixShell(const std::string& script, const std::function<bool()>& done) {
    std::string commandLine = "/bin/sh -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA("Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    for (int i = 0; i < 200 && !done(); ++i) Sleep(25);
    return done();
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// True when the folder lists any entry of its own ("." and ".." do not count).
bool CanList(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool any = false;
    do any = any || (std::string(data.cFileName) != "." && std::string(data.cFileName) != "..");
    while (!any && FindNextFileA(search, &data));
    FindClose(search);
    return any;
}

// A test folder reached through drive Z:, the Unix tree, where links and permissions are
// made; removed with Unix tools, which do not follow links.
class UnixFolder {
public:
    explicit UnixFolder(const std::string& name) {
        if (!UnderWine()) return;
        unix_ = "/tmp/sorvita-" + name + "-" + std::to_string(GetCurrentProcessId());
        path_ = "Z:" + unix_;
        for (char& c : path_)
            if (c == '/') c = '\\';
        Remove();
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~UnixFolder() { Remove(); }
    bool Usable() const { return !unix_.empty() && Exists(path_); }
    const std::string& Path() const { return path_; }
    const std::string& Unix() const { return unix_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    // ln -s target link, with the link's name relative to this folder ('/' separated).
    bool Link(const std::string& target, const std::string& link) {
        return RunUnixShell("ln -s '" + target + "' '" + unix_ + "/" + link + "'", [this, link] {
            std::string windows = link;
            for (char& c : windows)
                if (c == '/') c = '\\';
            return Exists(File(windows));
        });
    }
    bool Shell(const std::string& script, const std::function<bool()>& done) {
        return RunUnixShell("cd '" + unix_ + "' && " + script, done);
    }

private:
    void Remove() {
        if (unix_.empty() || !Exists(path_)) return;
        RunUnixShell("chmod -R u+rwx '" + unix_ + "'; rm -rf '" + unix_ + "'", [this] { return !Exists(path_); });
    }
    std::string unix_;
    std::string path_;
};

}  // namespace

TEST(FindFiles, PatternByPatternThenAsTheListHoldsThem) {
    TempFolder folder("finder-order");
    for (const char* name : {"c.jpeg", "b.gif", "a.jpg", "notes.txt", "d.png", "e.BMP", "f.jpg.txt", "g.jpe"})
        Touch(folder.File(name));
    EXPECT_EQ(FindFiles(folder.Path(), PicFileSpec(false), false, false), 5);
    EXPECT_EQ(PicFiles[0], folder.Path() + "\\*.jpg;*.jpe*;*.gif;*.bmp");
    EXPECT_EQ(Found(), (Paths{folder.File("a.jpg"), folder.File("c.jpeg"), folder.File("g.jpe"), folder.File("b.gif"),
                              folder.File("e.BMP")}));
    EXPECT_EQ(UBound(PicFiles), 5);

    // Any pattern list, in its own order; an empty part matches nothing.
    EXPECT_EQ(FindFiles(folder.Path(), "*.gif;;*.txt", false, false), 3);
    EXPECT_EQ(Found(), (Paths{folder.File("b.gif"), folder.File("f.jpg.txt"), folder.File("notes.txt")}));
}

TEST(FindFiles, MorePicTypesAddTheirPatternsAfterTheFourAndListEachFileOnce) {
    TempFolder folder("finder-more");
    for (const char* name : {"k.avif", "j.heif", "i.HEIC", "h.webp", "g.tiff", "f.tif", "e.png", "d.bmp", "c.gif",
                             "b.jpeg", "a.jpg", "l.png.txt"})
        Touch(folder.File(name));
    // Without the option, PNG and the others are not pictures: a folder of only PNGs has none.
    EXPECT_EQ(FindFiles(folder.Path(), PicFileSpec(false), false, false), 4);
    TempFolder pngs("finder-pngs");
    Touch(pngs.File("only.png"));
    EXPECT_EQ(FindFiles(pngs.Path(), PicFileSpec(false), false, false), 0);
    EXPECT_EQ(FindFiles(pngs.Path(), PicFileSpec(true), false, true), -1);

    EXPECT_EQ(FindFiles(folder.Path(), PicFileSpec(true), false, false), 11);
    EXPECT_EQ(PicFiles[0], folder.Path() + "\\*.jpg;*.jpe*;*.gif;*.bmp;*.png;*.tif;*.tiff;*.webp;*.heic;*.heif;*.avif");
    // "g.tiff" is "G~1.TIF" to "*.tif" as well, and still comes once.
    EXPECT_EQ(Found(), (Paths{folder.File("a.jpg"), folder.File("b.jpeg"), folder.File("c.gif"), folder.File("d.bmp"),
                              folder.File("e.png"), folder.File("f.tif"), folder.File("g.tiff"), folder.File("h.webp"),
                              folder.File("i.HEIC"), folder.File("j.heif"), folder.File("k.avif")}));
}

TEST(FindFiles, SubfoldersComeAfterTheStartFolderInFolderOrder) {
    TempFolder folder("finder-subs");
    const std::string r = folder.Path();
    for (const char* sub : {"\\B", "\\A", "\\A\\A2", "\\A\\A1", "\\B\\B1", "\\A\\A1\\Deep"}) MakeFolder(r + sub);
    for (const char* file : {"\\top.jpg", "\\A\\a.gif", "\\B\\b.jpg", "\\A\\A1\\a1.bmp", "\\B\\B1\\b1.jpeg",
                             "\\A\\A1\\Deep\\deep.jpg", "\\A\\A1\\Deep\\deep.gif"})
        Touch(r + file);

    EXPECT_EQ(FindFiles(r, PicFileSpec(false), false, false), 1);
    EXPECT_EQ(Found(), (Paths{r + "\\top.jpg"}));

    EXPECT_EQ(FindFiles(r, PicFileSpec(false), true, false), 7);
    EXPECT_EQ(PicFolders, (Paths{r, r + "\\A", r + "\\B", r + "\\A\\A1", r + "\\A\\A2", r + "\\A\\A1\\Deep",
                                 r + "\\B\\B1"}));
    EXPECT_EQ(Found(), (Paths{r + "\\top.jpg", r + "\\A\\a.gif", r + "\\B\\b.jpg", r + "\\A\\A1\\a1.bmp",
                              r + "\\A\\A1\\Deep\\deep.jpg", r + "\\A\\A1\\Deep\\deep.gif", r + "\\B\\B1\\b1.jpeg"}));

    // GSF_Proc on its own window: the count of folders below, PicFolders[0] as given.
    FFF form;
    form.Load();
    EXPECT_EQ(form.GSF_Proc(r + "\\A\\"), 3);
    EXPECT_EQ(PicFolders, (Paths{r + "\\A\\", r + "\\A\\A1", r + "\\A\\A2", r + "\\A\\A1\\Deep"}));
    EXPECT_EQ(form.GSF_Proc(r + "\\missing"), 0);
    EXPECT_EQ(PicFolders, (Paths{r + "\\missing"}));
}

TEST(FindFiles, TrailingBackslashGivesSingleBackslashes) {
    TempFolder folder("finder-slash");
    MakeFolder(folder.File("Sub"));
    Touch(folder.File("a.jpg"));
    Touch(folder.File("Sub\\b.gif"));
    EXPECT_EQ(FindFiles(folder.Path() + "\\", PicFileSpec(false), true, false), 2);
    EXPECT_EQ(PicFiles[0], folder.Path() + "\\*.jpg;*.jpe*;*.gif;*.bmp");
    EXPECT_EQ(Found(), (Paths{folder.File("a.jpg"), folder.File("Sub\\b.gif")}));
}

TEST(FindFiles, CheckOnlyStopsAtTheFirstMatchAndLeavesPicFilesAlone) {
    TempFolder many("finder-many");
    for (int i = 0; i < 500; ++i) Touch(many.File("pic" + std::to_string(i) + ".jpg"));
    TempFolder few("finder-few");
    Touch(few.File("one.gif"));
    MakeFolder(few.File("Empty"));
    MakeFolder(few.File("Deeper"));
    Touch(few.File("Deeper\\two.bmp"));

    ASSERT_EQ(FindFiles(few.Path(), PicFileSpec(false), true, false), 2);
    const Paths before = PicFiles;
    EXPECT_EQ(FindFiles(many.Path(), PicFileSpec(false), false, true), -1);
    EXPECT_EQ(FindFiles(few.File("Empty"), PicFileSpec(false), true, true), 0);
    EXPECT_EQ(FindFiles(few.File("Deeper"), PicFileSpec(false), false, true), -1);
    EXPECT_EQ(FindFiles(few.File("Missing"), PicFileSpec(false), true, true), 0);
    EXPECT_EQ(PicFiles, before);
}

TEST(FindFiles, MissingOrBlankFolderGivesNothing) {
    TempFolder folder("finder-missing");
    PicFiles = {"old", "old1"};
    EXPECT_EQ(FindFiles(folder.File("Missing"), PicFileSpec(false), true, false), 0);
    EXPECT_EQ(PicFiles, (Paths{folder.File("Missing") + "\\*.jpg;*.jpe*;*.gif;*.bmp"}));
    EXPECT_EQ(FindFiles("   ", PicFileSpec(false), false, false), 0);
    EXPECT_EQ(PicFiles, (Paths{"   \\*.jpg;*.jpe*;*.gif;*.bmp"}));
    EXPECT_EQ(FindFiles("", PicFileSpec(false), true, false), 0);
    EXPECT_EQ(UBound(PicFiles), 0);
}

TEST(FindFiles, LongNamesAreListedThroughTheirShortForms) {
    TempFolder folder("finder-long");
    const std::string top = folder.File("A Folder With A Rather Long Name");
    MakeFolder(top);
    MakeFolder(top + "\\Another Long Sub Folder.With Dots");
    Touch(top + "\\Holiday Picture Number One.jpeg");
    Touch(top + "\\Another Long Sub Folder.With Dots\\Second Holiday Picture.gif");
    char shortForm[512];
    ASSERT_GT(GetShortPathNameA(top.c_str(), shortForm, sizeof shortForm), 0u);
    EXPECT_STRNE(shortForm, top.c_str());  // the listing really takes another path

    EXPECT_EQ(FindFiles(top, PicFileSpec(false), true, false), 2);
    EXPECT_EQ(Found(), (Paths{top + "\\Holiday Picture Number One.jpeg",
                              top + "\\Another Long Sub Folder.With Dots\\Second Holiday Picture.gif"}));
    EXPECT_EQ(PicFolders, (Paths{top, top + "\\Another Long Sub Folder.With Dots"}));
}

TEST(FindFiles, LongSiblingsWithTheSameShortStartAreNotMixedUp) {
    // Names alike in their first letters get short forms that differ only in their tails;
    // every level must list its own folder, not a sibling's.
    TempFolder folder("finder-alike");
    const std::string r = folder.File("Holiday Pictures");
    MakeFolder(r);
    Paths expected{r + "\\top.gif"};
    Touch(expected.back());
    Paths folders{r};
    for (const char* outer : {"Holiday Summer 2001", "Holiday Summer 2002", "Holiday Summer 2003"}) {
        MakeFolder(r + "\\" + outer);
        folders.push_back(r + "\\" + outer);
    }
    for (const char* outer : {"Holiday Summer 2001", "Holiday Summer 2002", "Holiday Summer 2003"}) {
        for (const char* inner : {"Holiday Summer Beach", "Holiday Summer Boat"}) {
            const std::string sub = r + "\\" + outer + "\\" + inner;
            MakeFolder(sub);
            folders.push_back(sub);
            expected.push_back(sub + "\\" + std::string(outer).substr(15) + " " + inner + ".jpg");
            Touch(expected.back());
        }
    }
    EXPECT_EQ(FindFiles(r, PicFileSpec(false), true, false), 7);
    EXPECT_EQ(PicFolders, folders);
    EXPECT_EQ(Found(), expected);
    for (size_t k = 1; k < folders.size(); ++k) {
        char shortForm[512];
        ASSERT_GT(GetShortPathNameA(folders[k].c_str(), shortForm, sizeof shortForm), 0u);
        EXPECT_NE(shortForm, folders[k]);
    }
}

TEST(FindFiles, LinkLoopsEndAndEachFolderIsListedOnce) {
    UnixFolder folder("finder-loop");
    if (!folder.Usable()) GTEST_SKIP() << "needs Wine's drive Z:";
    const std::string r = folder.Path();
    MakeFolder(r + "\\A");
    MakeFolder(r + "\\C");
    Touch(r + "\\top.jpg");
    Touch(r + "\\A\\a.jpg");
    Touch(r + "\\C\\c.gif");
    ASSERT_TRUE(folder.Link("..", "A/Up"));     // back to the start folder
    ASSERT_TRUE(folder.Link(".", "A/Self"));    // to the folder itself
    ASSERT_TRUE(folder.Link("A", "B"));         // a second way to a folder
    ASSERT_TRUE(folder.Link("../C", "A/ToC"));  // a way to a folder met later
    ASSERT_TRUE(CanList(r + "\\A\\Up\\A\\Up\\A"));  // the loop is real

    EXPECT_EQ(FindFiles(r, PicFileSpec(false), true, false), 3);
    EXPECT_EQ(PicFolders, (Paths{r, r + "\\A", r + "\\C"}));
    EXPECT_EQ(Found(), (Paths{r + "\\top.jpg", r + "\\A\\a.jpg", r + "\\C\\c.gif"}));
    EXPECT_EQ(FindFiles(r + "\\A", PicFileSpec(false), true, true), -1);

    // A link to a folder outside the tree is walked like any folder.
    UnixFolder outside("finder-outside");
    Touch(outside.File("o.bmp"));
    ASSERT_TRUE(folder.Link(outside.Unix(), "C/Out"));
    ASSERT_EQ(FindFiles(r, PicFileSpec(false), true, false), 4);
    EXPECT_EQ(Found().back(), r + "\\C\\Out\\o.bmp");

    // Windows lists a junction or directory link with the reparse-point attribute and the file
    // id of the link itself, not of the folder it leads to (Wine gives the folder's): what the
    // listing says of a link cannot tell a loop, only opening the link can.
    const auto wineListing = common::seams::ReadFolder;
    std::map<std::pair<std::wstring, unsigned long long>, unsigned long long> ownIds;  // by name and target
    platform::ScopedSeam<decltype(common::seams::ReadFolder)> asWindows{
        common::seams::ReadFolder, [&](const std::wstring& path, std::vector<unsigned long long>& buffer) {
            std::vector<FolderEntry> entries = wineListing(path, buffer);
            for (FolderEntry& entry : entries)
                if (entry.name == L"Up" || entry.name == L"Self" || entry.name == L"B" || entry.name == L"ToC" ||
                    entry.name == L"Out") {
                    entry.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
                    unsigned long long& own = ownIds[{entry.name, entry.fileId}];
                    if (!own) own = (1ull << 40) + ownIds.size();
                    entry.fileId = own;
                }
            return entries;
        }};
    EXPECT_EQ(FindFiles(r, PicFileSpec(false), true, false), 4);
    EXPECT_EQ(PicFolders, (Paths{r, r + "\\A", r + "\\C", r + "\\C\\Out"}));
    EXPECT_EQ(Found(), (Paths{r + "\\top.jpg", r + "\\A\\a.jpg", r + "\\C\\c.gif", r + "\\C\\Out\\o.bmp"}));
    EXPECT_EQ(ownIds.size(), 5u);
}

TEST(FindFiles, UnreadableFolderAddsNothing) {
    UnixFolder folder("finder-locked");
    if (!folder.Usable()) GTEST_SKIP() << "needs Wine's drive Z:";
    const std::string r = folder.Path();
    MakeFolder(r + "\\Locked");
    MakeFolder(r + "\\Open");
    Touch(r + "\\a.jpg");
    Touch(r + "\\Locked\\hidden.jpg");
    Touch(r + "\\Open\\b.jpg");
    // Wine shows a folder without write permission as read-only.
    folder.Shell("chmod 000 Locked", [&] { return (GetFileAttributesA((r + "\\Locked").c_str()) & FILE_ATTRIBUTE_READONLY) != 0; });
    if (CanList(r + "\\Locked")) {
        // Permissions do not stop the superuser; a folder of another process's mappings does.
        folder.Shell("chmod 755 Locked && rm -rf Locked && ln -s /proc/1/map_files Locked",
                     [&] { return Exists(r + "\\Locked") && !CanList(r + "\\Locked"); });
    }
    if (CanList(r + "\\Locked")) GTEST_SKIP() << "no folder can be made unreadable here";

    EXPECT_EQ(FindFiles(r, PicFileSpec(false), true, false), 2);
    EXPECT_EQ(Found(), (Paths{r + "\\a.jpg", r + "\\Open\\b.jpg"}));
    EXPECT_EQ(FindFiles(r + "\\Locked", PicFileSpec(false), true, false), 0);
}

TEST(FindFiles, DeepTreeIsWalkedToTheBottom) {
    TempFolder folder("finder-deep");
    std::string path = folder.Path();
    for (int level = 0; level < 60; ++level) {
        path += "\\d";
        MakeFolder(path);
    }
    Touch(path + "\\bottom.gif");
    EXPECT_EQ(FindFiles(folder.Path(), PicFileSpec(false), true, false), 1);
    EXPECT_EQ(Found(), (Paths{path + "\\bottom.gif"}));
    EXPECT_EQ(UBound(PicFolders), 60);
}

TEST(FindFiles, SearchingWithoutAWindowDoesNotEndTheProgram) {
    ASSERT_TRUE(platform::Form::LoadedForms().empty());
    TempFolder folder("finder-quit");
    FindFiles(folder.Path(), PicFileSpec(false), true, false);
    EXPECT_TRUE(platform::Form::LoadedForms().empty());
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(Exists, FilesAndFolders) {
    TempFolder folder("exists");
    Touch(folder.File("file.jpg"));
    EXPECT_TRUE(FileExists(folder.File("file.jpg")));
    EXPECT_TRUE(FileExists(folder.Path()));  // a folder is an entry too
    EXPECT_FALSE(FileExists(folder.File("none.jpg")));
    EXPECT_TRUE(FileExists(folder.File("*.jpg")));  // the search takes wildcards
    EXPECT_FALSE(FileExists("   "));
    EXPECT_FALSE(FileExists(""));

    EXPECT_TRUE(FolderExists(folder.Path()));
    EXPECT_TRUE(FolderExists(folder.Path() + "\\"));
    EXPECT_TRUE(FolderExists(folder.File("file.jpg")));  // only asks whether the entry exists
    EXPECT_FALSE(FolderExists(folder.File("none")));
    EXPECT_FALSE(FolderExists("  "));
    EXPECT_FALSE(FolderExists(""));
    // A drive's root has no entry of its own to find, but it is a folder all the same.
    EXPECT_TRUE(FolderExists("C:\\"));
    EXPECT_TRUE(FolderExists("Z:\\"));
    EXPECT_FALSE(FolderExists("Q:\\"));
}

TEST(WindowsFolder, WithAndWithoutBackslash) {
    char expected[MAX_PATH];
    UINT length = GetWindowsDirectoryA(expected, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(WindowsFolder(false), std::string(expected, length));
    EXPECT_EQ(WindowsFolder(true), std::string(expected, length) + "\\");
}

// ---------------------------------------------------------------- agreement with the list box

namespace {

// Turns Unix separators into Windows ones.
std::string Backslashed(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

void TouchWide(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// Our text (UTF-8, the programs' code page) as the system's wide text.
std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(length > 0 ? length : 0));
    return wide;
}

// A folder tree drawn from a fixed seed, holding what the list box's listing treats in its
// own way: names alike but for case or punctuation, several dots, long names whose short
// forms match a pattern and long names that match only through them, hidden, system and
// read-only files, empty folders, links back up the tree and across it, and a chain of
// folders deeper than the ANSI path functions reach.
class MixedTree {
public:
    MixedTree(UnixFolder& root, unsigned seed) : root_(root), random_(seed) {
        Fill(root.Path(), 0);
        Links();
        Deep();
        CaseTwins();
    }
    bool LinksMade() const { return linksMade_; }
    const std::string& DeepTop() const { return deepTop_; }
    const std::string& EmptyFolder() const { return empty_; }

private:
    unsigned Pick(unsigned count) { return static_cast<unsigned>(random_() % count); }

    std::string FileName() {
        static const char* const stems[] = {
            "a", "B", "img_0001", "IMG_0002", "Holiday Picture Number One", "photo.2001.summer", "x",
            "Zebra crossing", "co-op", "coop", "'quoted", "10", "9", "a b", "a_b", "a-b", "\xc3\xbc" "ber",
            "\xc3\x89lan", "na\xc3\xafve caf\xc3\xa9", "r\xc3\xa9sum\xc3\xa9", ".dotfirst", "UPPER", "MiXeD CaSe NaMe",
            "A long name seen through its short form", "~tilde", "#1", "[bracketed]", "z.z.z"};
        static const char* const extensions[] = {
            ".jpg", ".JPG", ".Jpg", ".jpeg", ".JPEG", ".jpe", ".jpeg.txt", ".gif", ".GIF", ".bmp", ".BMP", ".txt",
            ".png", "", ".jpgx", ".jpg.bak", ".gifts", ".bmpfile", ".jpegs", ".Jpe2", ".gif.gif", ".jp", ".j"};
        return std::string(stems[Pick(std::size(stems))]) + extensions[Pick(std::size(extensions))];
    }

    std::string FolderName() {
        static const char* const names[] = {"Album", "album 2", "Folder.With.Dots", "A very long folder name indeed",
                                            "Sub", "sub-b", "sub_c", "2003", "Event.jpg", "Empty", "\xc3\x89t\xc3\xa9",
                                            "Nested Folder With Long Name"};
        return names[Pick(std::size(names))];
    }

    void Fill(const std::string& folder, int depth) {
        folders_.push_back(folder);
        const unsigned files = Pick(14);
        for (unsigned i = 0; i < files; ++i) {
            const std::string path = folder + "\\" + FileName();
            Touch(path);
            switch (Pick(8)) {
                case 0: SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN); break;
                case 1: SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_SYSTEM); break;
                case 2: SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); break;
                default: break;
            }
        }
        if (Pick(4) == 0) {
            // Two spellings of one accented letter, and a letter outside the code page.
            const std::wstring wide = Widen(folder);
            TouchWide(wide + L"\\e\u0301t\u00e9.jpg");
            TouchWide(wide + L"\\\u00e9t\u00e9.jpg");
            TouchWide(wide + L"\\\u03a9mega.gif");
        }
        if (depth >= 3) return;
        const unsigned subfolders = depth == 0 ? 4 : Pick(4);
        for (unsigned i = 0; i < subfolders; ++i) {
            const std::string sub = folder + "\\" + FolderName();
            if (!CreateDirectoryA(sub.c_str(), nullptr)) continue;  // the name was drawn twice
            if (Pick(6) == 0) SetFileAttributesA(sub.c_str(), FILE_ATTRIBUTE_HIDDEN);
            if (Pick(8) == 0) {
                if (empty_.empty()) empty_ = sub;
                folders_.push_back(sub);
                continue;
            }
            Fill(sub, depth + 1);
        }
    }

    void Links() {
        const std::string r = root_.Path();
        const std::string a = folders_[folders_.size() / 3], b = folders_[folders_.size() / 2],
                          c = folders_.back();
        linksMade_ = CreateSymbolicLinkA((a + "\\Back to the top").c_str(), r.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
                     CreateSymbolicLinkA((b + "\\Itself").c_str(), b.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
                     CreateSymbolicLinkA((c + "\\Across").c_str(), a.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
                     CreateSymbolicLinkA((r + "\\another way in").c_str(), b.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
        // Unix links too, the way a photo library on Linux might hold them.
        root_.Link("..", Unixed(a.substr(r.size() + 1)) + "/up");
    }

    // Deeper than 260 characters: the ANSI path functions give up on its lower part.
    void Deep() {
        std::string unix = root_.Unix() + "/Deep";
        std::string script;
        for (int level = 0; level < 14; ++level) {
            unix += "/Level " + std::to_string(level) + " of a deep chain";
            script += "mkdir -p '" + unix + "' && touch '" + unix + "/picture " + std::to_string(level) +
                      ".jpg' '" + unix + "/a long picture name " + std::to_string(level) + ".jpgx' && ";
        }
        const std::string last = Backslashed("Z:" + unix);
        RunUnixShell(script + "true", [&] { return Exists(last); });
        deepTop_ = root_.File("Deep");
    }

    // Names alike but for case, which only the Unix side can make in one folder.
    void CaseTwins() {
        const std::string r = root_.Path();
        std::string script;
        for (size_t k = 0; k < folders_.size(); k += 5) {
            const std::string unix = folders_[k] == r ? root_.Unix() : root_.Unix() + "/" + Unixed(folders_[k].substr(r.size() + 1));
            script += "cd '" + unix + "' && touch Case.jpg case.jpg CASE.JPG cASE.Jpg case.gif CASE.GIF && ";
        }
        RunUnixShell(script + "true", [&] { return Exists(r + "\\CASE.GIF"); });
    }

    static std::string Unixed(std::string path) {
        for (char& c : path)
            if (c == '\\') c = '/';
        return path;
    }

    UnixFolder& root_;
    std::mt19937 random_;
    std::vector<std::string> folders_;
    std::string deepTop_, empty_;
    bool linksMade_ = false;
};

struct Search {
    long result;
    Paths files;
    Paths folders;
};

Search RunSearch(bool listBox, const std::string& path, const std::string& patterns, bool subs, bool checkOnly) {
    PicFiles = {"from", "an earlier search"};
    PicFolders = {"from", "an earlier walk"};
    const long result = listBox ? testing_support::ListBoxFinder::FindFiles(path, patterns, subs, checkOnly)
                                : FindFiles(path, patterns, subs, checkOnly);
    return {result, PicFiles, PicFolders};
}

// Element by element, naming the first place where the lists part.
::testing::AssertionResult Same(const Paths& got, const Paths& want) {
    for (size_t i = 0; i < got.size() && i < want.size(); ++i)
        if (got[i] != want[i])
            return ::testing::AssertionFailure() << "element " << i << " is \"" << got[i] << "\", the list box's \""
                                                 << want[i] << "\"";
    if (got.size() != want.size())
        return ::testing::AssertionFailure() << got.size() << " elements, the list box's " << want.size();
    return ::testing::AssertionSuccess();
}

void ExpectSameAsListBox(const std::string& path, const std::string& patterns, bool subs, bool checkOnly) {
    SCOPED_TRACE(path + " " + patterns + (subs ? " with subfolders" : "") + (checkOnly ? " check only" : ""));
    const Search want = RunSearch(true, path, patterns, subs, checkOnly);
    const Search got = RunSearch(false, path, patterns, subs, checkOnly);
    EXPECT_EQ(got.result, want.result);
    EXPECT_TRUE(Same(got.files, want.files));
    EXPECT_TRUE(Same(got.folders, want.folders));
}

bool AnyEndsWith(const Paths& paths, const std::string& tail) {
    for (const std::string& path : paths)
        if (path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0) return true;
    return false;
}

}  // namespace

TEST(FindFilesAgreement, GeneratedTreesGiveWhatTheListBoxGave) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        UnixFolder root("finder-agree-" + std::to_string(seed));
        if (!root.Usable()) GTEST_SKIP() << "needs Wine's drive Z:";
        MixedTree tree(root, seed);
        ASSERT_TRUE(tree.LinksMade());

        // The tree really holds what the listing treats in its own way.
        const Search all = RunSearch(true, root.Path(), PicFileSpec(false), true, false);
        ASSERT_GT(all.result, 50);
        EXPECT_TRUE(AnyEndsWith(all.files, ".jpgx"));     // matched through the short form only
        EXPECT_TRUE(AnyEndsWith(all.files, "\\cASE.Jpg"));  // one of names alike but for case
        bool hidden = false;
        for (size_t i = 1; i < all.files.size() && !hidden; ++i)
            hidden = (GetFileAttributesA(all.files[i].c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0;
        EXPECT_TRUE(hidden);
        EXPECT_FALSE(AnyEndsWith(all.folders, "\\Back to the top"));

        for (bool subs : {true, false})
            for (bool checkOnly : {false, true}) ExpectSameAsListBox(root.Path(), PicFileSpec(false), subs, checkOnly);
        ExpectSameAsListBox(root.Path() + "\\", PicFileSpec(false), true, false);
        ExpectSameAsListBox(tree.DeepTop(), PicFileSpec(false), true, false);
        if (!tree.EmptyFolder().empty()) ExpectSameAsListBox(tree.EmptyFolder(), PicFileSpec(false), true, true);
        // Other patterns: stars anywhere, a pattern matching everything, an empty one, and
        // ones whose rules the system keeps (a "?", a trailing dot, no wildcard).
        for (const char* patterns : {"*.gif;;*.txt", "*a*;*.*;IMG*;*.jp?", "*e*.j*;*aa;*.jpe*;*.;Case.jpg", "*"})
            ExpectSameAsListBox(root.Path(), patterns, true, false);
    }
}
