// The order and bounds of a picture folder search, and the matching and ordering rules of the
// listing it reproduces. Portable: no Windows headers.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace common {

// "*.jpg;*.jpe*" -> "*.jpg", "*.jpe*": a ";" is appended and every part before a ";" is a
// pattern, empty parts included.
std::vector<std::string> SplitFileSpec(const std::string& fileSpec);

// The picture patterns the suite searches with, in search order: the first four always, the
// rest only with the "More Pic Types" option. Every list and message is built from here.
inline constexpr const char* kPicPatterns[] = {"*.jpg",  "*.jpe*", "*.gif",  "*.bmp",  "*.png", "*.tif",
                                               "*.tiff", "*.webp", "*.heic", "*.heif", "*.avif"};
inline constexpr int kBasicPicPatterns = 4;
// The option's check box or menu item in each program, and its settings value.
inline constexpr const char* kMorePicTypesCaption = "Also use PNG, TIFF, WebP, HEIC and AVIF pictures";
inline constexpr const char* kMorePicTypesKey = "More Pic Types";
// "*.jpg;*.jpe*;*.gif;*.bmp", or the longer list with more types.
std::string PicFileSpec(bool morePicTypes);
// The same set as messages write it: "(.jpg, .jpe*, .gif, .bmp)", or the longer one.
std::string PicFileTypes(bool morePicTypes);

// The path with a backslash appended unless it already ends with one.
std::string WithBackslash(const std::string& path);

// A subfolder as its parent's listing shows it.
template <class Via>
struct Subfolder {
    std::string name;
    // The folder the path leads to, whichever links it passed; empty when unknown.
    std::string identity;
    // Whatever the lister needs to list this folder in its turn (it is handed back unchanged).
    Via via;
};

// Lists folder `folder` once and returns its subfolders in listing order. `index` is the
// folder's place in the walk's folder list (the start's is the walk's `startIndex`).
template <class Via>
using FolderLister =
    std::function<std::vector<Subfolder<Via>>(const std::string& folder, size_t index, const Via& via)>;

// Appends to `folders` every folder below `start`: a folder's direct subfolders are appended
// together when it is visited, and visits go depth first in list order. A subfolder whose
// folder was met before in this walk (a link back into the tree, or a second link to the same
// folder) is neither appended nor visited. The walk keeps its own stack, so the depth of the
// tree is bounded by memory, not by the call stack.
template <class Via>
void WalkFolders(const std::string& start, size_t startIndex, const std::string& startIdentity, Via startVia,
                 const FolderLister<Via>& list, std::vector<std::string>& folders) {
    std::unordered_set<std::string> met;
    if (!startIdentity.empty()) met.insert(startIdentity);

    struct Pending {
        std::string path;
        size_t index;
        Via via;
    };
    // Folders still to visit, the next one last: popping the last and pushing a folder's
    // subfolders in reverse visits exactly as the recursive description does.
    std::vector<Pending> pending;
    pending.push_back({start, startIndex, std::move(startVia)});
    while (!pending.empty()) {
        Pending folder = std::move(pending.back());
        pending.pop_back();
        const std::string prefix = WithBackslash(folder.path);
        std::vector<Pending> found;
        for (Subfolder<Via>& sub : list(folder.path, folder.index, folder.via)) {
            if (!sub.identity.empty() && !met.insert(sub.identity).second) continue;
            folders.push_back(prefix + sub.name);
            found.push_back({folders.back(), folders.size() - 1, std::move(sub.via)});
        }
        for (auto it = found.rbegin(); it != found.rend(); ++it) pending.push_back(std::move(*it));
    }
}

// Whether MatchesMask gives the same answer as the system's own listing for this pattern:
// only "*" wildcards, and not ending in "." (which the system treats specially). Other
// patterns are left to the system.
bool IsPlainMask(const std::wstring& mask);

// Whether `name` matches the plain `mask`, both already in upper case: "*" stands for any run
// of characters, and once the name is used up a rest of the mask made of "." and "*" still
// matches, so "*.jpe*" takes "X.JPE" and "PIC.*" takes "PIC".
bool MatchesMask(const std::wstring& mask, const std::wstring& name);

// Where a directory listing's list box puts text `added` against text `held` it already holds,
// as far as the kind of entry decides: names before "[folder]"s before "[-x-]" drives, which go
// by their letter alone (a name that merely looks like one of these is taken for it). -1, 0 or
// 1; 2 when the two are of one kind and their texts must be compared.
int ListingKindOrder(const std::wstring& added, const std::wstring& held);

// The order in which a list box holds names it was given in arrival order 0..count-1 when
// it places each new one by binary search among those already held (-1, 0, 1 from `compare`
// of a new name and a held one; on equality the new name goes before the held one). Names
// that compare equal therefore land where the search happens to meet them, not in arrival
// order, which only a replay of the insertions reproduces; that replay is done only then.
std::vector<size_t> ListBoxOrder(size_t count, const std::function<int(size_t, size_t)>& compare);

}  // namespace common
