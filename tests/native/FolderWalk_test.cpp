#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "common/FolderWalk_.h"

using common::SplitFileSpec;
using common::WalkFolders;
using common::WithBackslash;

TEST(SplitFileSpec, PatternsInOrder) {
    EXPECT_EQ(SplitFileSpec("*.jpg;*.jpe*;*.gif;*.bmp"), (std::vector<std::string>{"*.jpg", "*.jpe*", "*.gif", "*.bmp"}));
    EXPECT_EQ(SplitFileSpec("*.jpg"), (std::vector<std::string>{"*.jpg"}));
    // Every part before a ";" counts, so empty parts stay (they match nothing).
    EXPECT_EQ(SplitFileSpec(""), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitFileSpec("*.gif;"), (std::vector<std::string>{"*.gif", ""}));
    EXPECT_EQ(SplitFileSpec(";;a"), (std::vector<std::string>{"", "", "a"}));
}

TEST(PicFileSpec, TodaysFourOrAllElevenInOneOrderForSearchesAndMessages) {
    EXPECT_EQ(common::PicFileSpec(false), "*.jpg;*.jpe*;*.gif;*.bmp");
    EXPECT_EQ(common::PicFileTypes(false), "(.jpg, .jpe*, .gif, .bmp)");
    EXPECT_EQ(common::PicFileSpec(true), "*.jpg;*.jpe*;*.gif;*.bmp;*.png;*.tif;*.tiff;*.webp;*.heic;*.heif;*.avif");
    EXPECT_EQ(common::PicFileTypes(true), "(.jpg, .jpe*, .gif, .bmp, .png, .tif, .tiff, .webp, .heic, .heif, .avif)");
}

TEST(WithBackslash, AddsOnlyWhenMissing) {
    EXPECT_EQ(WithBackslash("C:\\Pics"), "C:\\Pics\\");
    EXPECT_EQ(WithBackslash("C:\\Pics\\"), "C:\\Pics\\");
    EXPECT_EQ(WithBackslash("C:\\"), "C:\\");
    EXPECT_EQ(WithBackslash(""), "\\");
}

namespace {

// A folder tree on paper: path -> subfolder names in listing order; links map a path
// to the folder it leads to.
struct FakeTree {
    std::map<std::string, std::vector<std::string>> children;
    std::map<std::string, std::string> links;
    std::vector<std::string> listed;  // folders whose subfolders were asked for

    std::string Resolve(const std::string& path) const {
        // A link may sit at any level of the path: resolve the longest linked prefix.
        for (std::string::size_type at = path.size(); at != std::string::npos; at = path.rfind('\\', at - 1)) {
            auto link = links.find(path.substr(0, at));
            if (link != links.end()) return Resolve(link->second + path.substr(at));
            if (at == 0) break;
        }
        return path;
    }
    std::vector<std::string> Walk(const std::string& start, bool identify = true) {
        std::vector<std::string> folders{start};
        const auto identity = [this, identify](const std::string& folder) {
            return identify ? Resolve(folder) : std::string();
        };
        WalkFolders<std::string>(
            start, 0, identity(start), "via " + start,
            [&](const std::string& folder, size_t index, const std::string& via) {
                listed.push_back(folder);
                // What the lister said of a folder comes back with it, and its index finds it.
                EXPECT_EQ(via, "via " + folder);
                EXPECT_EQ(folders.at(index), folder);
                std::vector<common::Subfolder<std::string>> subfolders;
                auto it = children.find(Resolve(folder));
                if (it == children.end()) return subfolders;
                for (const std::string& name : it->second) {
                    const std::string path = WithBackslash(folder) + name;
                    subfolders.push_back({name, identity(path), "via " + path});
                }
                return subfolders;
            },
            folders);
        return folders;
    }
};

}  // namespace

TEST(WalkFolders, SubfoldersTogetherThenDepthFirst) {
    FakeTree tree;
    tree.children["R"] = {"A", "B"};
    tree.children["R\\A"] = {"A1", "A2"};
    tree.children["R\\B"] = {"B1"};
    tree.children["R\\A\\A1"] = {"X"};
    EXPECT_EQ(tree.Walk("R"), (std::vector<std::string>{"R", "R\\A", "R\\B", "R\\A\\A1", "R\\A\\A2",
                                                         "R\\A\\A1\\X", "R\\B\\B1"}));
    EXPECT_EQ(tree.listed, (std::vector<std::string>{"R", "R\\A", "R\\A\\A1", "R\\A\\A1\\X", "R\\A\\A2", "R\\B",
                                                      "R\\B\\B1"}));
}

TEST(WalkFolders, StartWithBackslashGivesSingleBackslashes) {
    FakeTree tree;
    tree.children["C:\\"] = {"Pics"};
    tree.children["C:\\Pics"] = {"Old"};
    EXPECT_EQ(tree.Walk("C:\\"), (std::vector<std::string>{"C:\\", "C:\\Pics", "C:\\Pics\\Old"}));
}

TEST(WalkFolders, NoSubfolders) {
    FakeTree tree;
    EXPECT_EQ(tree.Walk("R"), (std::vector<std::string>{"R"}));
}

TEST(WalkFolders, LinkLoopsAreNotFollowedAndEachFolderIsListedOnce) {
    FakeTree tree;
    tree.children["R"] = {"A", "B", "C"};
    tree.children["R\\A"] = {"Up", "Self", "A1"};
    tree.links["R\\A\\Up"] = "R";        // back to the start
    tree.links["R\\A\\Self"] = "R\\A";   // to the folder itself
    tree.links["R\\B"] = "R\\A\\A1";     // a second way to a folder met later
    tree.links["R\\C"] = "Elsewhere";    // outside the tree: walked once
    tree.children["Elsewhere"] = {"E1"};
    EXPECT_EQ(tree.Walk("R"), (std::vector<std::string>{"R", "R\\A", "R\\B", "R\\C", "R\\C\\E1"}));
}

TEST(WalkFolders, FoldersWithoutIdentityAreStillWalked) {
    FakeTree tree;
    tree.children["R"] = {"A"};
    tree.children["R\\A"] = {"B"};
    EXPECT_EQ(tree.Walk("R", false), (std::vector<std::string>{"R", "R\\A", "R\\A\\B"}));
}

TEST(WalkFolders, VeryDeepTreeDoesNotExhaustTheStack) {
    // Empty names keep every path short, so only the depth grows: a walk that recursed
    // once per level would need far more than a thread's stack.
    const int depth = 300000;
    std::vector<std::string> folders{"R"};
    int asked = 0;
    int identities = 0;
    WalkFolders<std::string>(
        "R", 0, "", "",
        [&](const std::string&, size_t, const std::string&) {
            return ++asked <= depth ? std::vector<common::Subfolder<std::string>>{{"", std::to_string(++identities), ""}}
                                    : std::vector<common::Subfolder<std::string>>{};
        },
        folders);
    EXPECT_EQ(folders.size(), static_cast<size_t>(depth) + 1);
    EXPECT_EQ(asked, depth + 1);
}

TEST(IsPlainMask, OnlyStarsAndLiteralsAreOurs) {
    for (const wchar_t* mask : {L"*.jpg", L"*.jpe*", L"*", L"*.*", L"IMG*.JPG", L"*a*b*", L"* x.gif"})
        EXPECT_TRUE(common::IsPlainMask(mask)) << mask;
    // The system's own rules: single-character and DOS wildcards, a trailing dot, no wildcard
    // at all (a lookup of one name), nothing at all.
    for (const wchar_t* mask : {L"*.jp?", L"?", L"<.jpg", L"*.jpg>", L"\"*", L"*.", L"a.jpg", L"", L"a\\*"})
        EXPECT_FALSE(common::IsPlainMask(mask)) << mask;
}

TEST(MatchesMask, StarsLiteralsAndTheTrailingDotRule) {
    using common::MatchesMask;
    EXPECT_TRUE(MatchesMask(L"*.JPG", L"A.JPG"));
    EXPECT_TRUE(MatchesMask(L"*.JPG", L".JPG"));
    EXPECT_TRUE(MatchesMask(L"*.JPG", L"A.B.C.JPG"));
    EXPECT_TRUE(MatchesMask(L"*.JPG", L"A.JPG.JPG"));
    EXPECT_FALSE(MatchesMask(L"*.JPG", L"A.JPGX"));
    EXPECT_FALSE(MatchesMask(L"*.JPG", L"A.JPG.TXT"));
    EXPECT_FALSE(MatchesMask(L"*.JPG", L"AJPG"));
    EXPECT_FALSE(MatchesMask(L"*.JPG", L"A.JP"));

    EXPECT_TRUE(MatchesMask(L"*.JPE*", L"X.JPE"));
    EXPECT_TRUE(MatchesMask(L"*.JPE*", L"X.JPEG"));
    EXPECT_TRUE(MatchesMask(L"*.JPE*", L"X.JPEG.TXT"));
    EXPECT_FALSE(MatchesMask(L"*.JPE*", L"X.JP"));
    EXPECT_FALSE(MatchesMask(L"*.JPE*", L"XJPEG"));

    // A star can take nothing, and must give back what the literal after it needs.
    EXPECT_TRUE(MatchesMask(L"*AA", L"AAA"));
    EXPECT_TRUE(MatchesMask(L"*ABA", L"ABABA"));
    EXPECT_TRUE(MatchesMask(L"A*B*C", L"AXBYBC"));
    EXPECT_FALSE(MatchesMask(L"A*B*C", L"AXCYB"));
    EXPECT_TRUE(MatchesMask(L"**.GIF", L"P.GIF"));
    EXPECT_TRUE(MatchesMask(L"IMG*", L"IMG"));
    EXPECT_FALSE(MatchesMask(L"IMG*", L"XIMG"));

    // Once the name is used up, dots and stars left in the mask still match.
    EXPECT_TRUE(MatchesMask(L"*.*", L"NODOT"));
    EXPECT_TRUE(MatchesMask(L"PIC.*", L"PIC"));
    EXPECT_TRUE(MatchesMask(L"*", L"ANYTHING.AT.ALL"));
    EXPECT_FALSE(MatchesMask(L"PIC.J*", L"PIC"));
}

namespace {

// Names as the list box compares them: case aside, with "~" letting names that differ
// only after it compare equal (as some differently written names do for the system).
int CompareLabels(const std::string& a, const std::string& b) {
    std::string x = a.substr(0, a.find('~')), y = b.substr(0, b.find('~'));
    for (char& c : x) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : y) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return x < y ? -1 : x > y ? 1 : 0;
}

std::vector<std::string> InListBox(const std::vector<std::string>& arrived, int* comparisons = nullptr) {
    std::vector<std::string> held;
    for (size_t i : common::ListBoxOrder(arrived.size(), [&](size_t a, size_t b) {
             if (comparisons) ++*comparisons;
             return CompareLabels(arrived[a], arrived[b]);
         }))
        held.push_back(arrived[i]);
    return held;
}

}  // namespace

TEST(ListBoxOrder, SortedArrivalsStayWithOneComparisonEach) {
    int comparisons = 0;
    const std::vector<std::string> names{"a", "B", "c", "d", "E"};
    EXPECT_EQ(InListBox(names, &comparisons), names);
    EXPECT_EQ(comparisons, 4);
    EXPECT_TRUE(InListBox({}).empty());
    EXPECT_EQ(InListBox({"x"}), (std::vector<std::string>{"x"}));
}

TEST(ListBoxOrder, DistinctNamesAreSorted) {
    EXPECT_EQ(InListBox({"d", "B", "e", "a", "C"}), (std::vector<std::string>{"a", "B", "C", "d", "e"}));
    EXPECT_EQ(InListBox({"b", "a"}), (std::vector<std::string>{"a", "b"}));
}

TEST(ListBoxOrder, EqualNamesLandWhereTheBinarySearchMeetsThem) {
    // As Wine's list box held names that differ only in case (arriving in the listing's order)
    // and two spellings of one accented letter.
    EXPECT_EQ(InListBox({"A.JPG", "A.jpg", "a.JPG", "a.jpg", "b.jpg", "e~1.jpg", "e~2.jpg"}),
              (std::vector<std::string>{"A.jpg", "a.jpg", "a.JPG", "A.JPG", "b.jpg", "e~2.jpg", "e~1.jpg"}));
    // Equal names among others out of order: each goes before the equal one the search meets.
    EXPECT_EQ(InListBox({"c", "x~1", "a", "x~2", "b", "x~3"}),
              (std::vector<std::string>{"a", "b", "c", "x~2", "x~3", "x~1"}));
    EXPECT_EQ(InListBox({"m~1", "a", "m~2", "z", "m~3", "b", "m~4"}),
              (std::vector<std::string>{"a", "b", "m~2", "m~4", "m~3", "m~1", "z"}));
}

TEST(ListingKindOrder, NamesThenFoldersThenDrivesByTheirLetter) {
    using common::ListingKindOrder;
    EXPECT_EQ(ListingKindOrder(L"a.jpg", L"b.jpg"), 2);
    EXPECT_EQ(ListingKindOrder(L"[Sub]", L"[Album]"), 2);
    EXPECT_EQ(ListingKindOrder(L"z.jpg", L"[Album]"), -1);
    EXPECT_EQ(ListingKindOrder(L"[Album]", L"z.jpg"), 1);
    EXPECT_EQ(ListingKindOrder(L"[bracketed].jpg", L"z.jpg"), 1);  // a file name taken for a folder
    EXPECT_EQ(ListingKindOrder(L"[-c-]", L"[Album]"), 1);
    EXPECT_EQ(ListingKindOrder(L"[Album]", L"[-c-]"), -1);
    EXPECT_EQ(ListingKindOrder(L"a.jpg", L"[-c-]"), -1);
    EXPECT_EQ(ListingKindOrder(L"[-c-]", L"[-d-]"), -1);
    EXPECT_EQ(ListingKindOrder(L"[-dog]", L"[-d-]"), 0);  // only the letter counts
    EXPECT_EQ(ListingKindOrder(L"[-", L"[-a]"), -1);
}
