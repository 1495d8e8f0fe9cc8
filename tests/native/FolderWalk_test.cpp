#include <gtest/gtest.h>

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
        WalkFolders(
            start,
            [this](const std::string& folder) {
                listed.push_back(folder);
                auto it = children.find(Resolve(folder));
                return it == children.end() ? std::vector<std::string>{} : it->second;
            },
            [this, identify](const std::string& folder) { return identify ? Resolve(folder) : std::string(); },
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
    WalkFolders(
        "R",
        [&](const std::string&) {
            return ++asked <= depth ? std::vector<std::string>{""} : std::vector<std::string>{};
        },
        [&](const std::string&) { return std::to_string(++identities); }, folders);
    EXPECT_EQ(folders.size(), static_cast<size_t>(depth) + 1);
    EXPECT_EQ(asked, depth + 1);
}
