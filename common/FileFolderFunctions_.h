// Picture searches and the Windows folder.
#pragma once
#include <string>
#include <vector>

namespace common {

// The picture list: element 0 describes the last search (folder, backslash, patterns);
// elements 1 to N are the full paths found. Its upper bound is N; 0 means empty.
extern std::vector<std::string> PicFiles;
// The folders of the last search with subfolders: element 0 the start folder as given,
// then every folder below it, without a trailing backslash.
extern std::vector<std::string> PicFolders;

// Index of the last element (the form runtime's UBound).
inline long UBound(const std::vector<std::string>& list) { return static_cast<long>(list.size()) - 1; }

// Lists the files of `Path` (and, with `SubsToo`, of every folder below it) that match one of
// the ";"-separated patterns of `FileSpec` into PicFiles and returns their number. With
// `CheckOnly`: -1 as soon as one file matches, else 0, and PicFiles is left alone.
long FindFiles(const std::string& Path, const std::string& FileSpec, bool SubsToo, bool CheckOnly);

// The Windows folder; empty when the system cannot say.
std::string WindowsFolder(bool withBackslash);
// The Windows system folder; empty when the system cannot say.
std::string SystemFolder(bool withBackslash);

}  // namespace common
