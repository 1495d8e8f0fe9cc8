// The order and bounds of a picture folder search. Portable: no Windows headers.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace common {

// "*.jpg;*.jpe*" -> "*.jpg", "*.jpe*": a ";" is appended and every part before a ";" is a
// pattern, empty parts included.
std::vector<std::string> SplitFileSpec(const std::string& fileSpec);

// The path with a backslash appended unless it already ends with one.
std::string WithBackslash(const std::string& path);

// Appends to `folders` every folder below `start`: a folder's direct subfolders are appended
// together when it is visited, and visits go depth first in list order. `subfolders` gives a
// folder's subfolder names in listing order. `identity` names the folder a path leads to
// (empty when unknown); a subfolder whose folder was met before in this walk (a link back into
// the tree, or a second link to the same folder) is neither appended nor visited. The walk
// keeps its own stack, so the depth of the tree is bounded by memory, not by the call stack.
void WalkFolders(const std::string& start,
                 const std::function<std::vector<std::string>(const std::string& folder)>& subfolders,
                 const std::function<std::string(const std::string& folder)>& identity,
                 std::vector<std::string>& folders);

}  // namespace common
