#include "common/FolderWalk_.h"

#include <unordered_set>

namespace common {

std::vector<std::string> SplitFileSpec(const std::string& fileSpec) {
    std::vector<std::string> patterns;
    const std::string terminated = fileSpec + ";";
    std::string::size_type from = 0;
    for (std::string::size_type at = terminated.find(';'); at != std::string::npos; at = terminated.find(';', from)) {
        patterns.push_back(terminated.substr(from, at - from));
        from = at + 1;
    }
    return patterns;
}

std::string WithBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path;
    return path + "\\";
}

void WalkFolders(const std::string& start,
                 const std::function<std::vector<std::string>(const std::string& folder)>& subfolders,
                 const std::function<std::string(const std::string& folder)>& identity,
                 std::vector<std::string>& folders) {
    std::unordered_set<std::string> met;
    const std::string startIdentity = identity(start);
    if (!startIdentity.empty()) met.insert(startIdentity);

    // Folders still to visit, the next one last: popping the last and pushing a folder's
    // subfolders in reverse visits exactly as the recursive description does.
    std::vector<std::string> pending{start};
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        const std::string prefix = WithBackslash(folder);
        std::vector<std::string> found;
        for (const std::string& name : subfolders(folder)) {
            std::string path = prefix + name;
            const std::string id = identity(path);
            if (!id.empty() && !met.insert(id).second) continue;
            folders.push_back(path);
            found.push_back(std::move(path));
        }
        for (auto it = found.rbegin(); it != found.rend(); ++it) pending.push_back(std::move(*it));
    }
}

}  // namespace common
