// Existence tests used before touching a path.
#pragma once
#include <string>

namespace common {

// True when a file or folder of that name exists (wildcards match any entry).
bool FileExists(const std::string& path);
// As FileExists, with one trailing backslash dropped first: an existing file counts too.
bool FolderExists(const std::string& path);

}  // namespace common
