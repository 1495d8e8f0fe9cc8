// The picture-folder list of the two setup windows (Backdrop Changer's and Slide
// Saver's): the history in a combo box, the search with its notice in the list, and the
// browse loop that asks before taking a folder without pictures.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace platform {
class ComboBox;
}

namespace common {

inline constexpr const char* kCheckingFolders = "Checking if the folder(s) contain pics...";
inline constexpr const char* kRemoveFolderQuestion = "Are you sure you want to remove the current folder?";
inline constexpr const char* kClearListQuestion = "Are you sure you want to clear the folder list?";

// The list's entries, top first.
std::vector<std::string> FolderListEntries(const platform::ComboBox& list);

// Moves `folder` to the top of the history (`add`) or takes it out, then selects the top
// entry (its click runs), or runs `click` itself when the list is left empty. A blank
// folder changes nothing.
void UpdateFolderHistory(platform::ComboBox& list, const std::string& folder, bool add,
                         const std::function<void()>& click);
// Fills the list from the 20 history keys (`key` names key i) of `section`, and selects
// the first entry.
void LoadFolderHistory(platform::ComboBox& list, const std::string& section,
                       const std::function<std::string(int)>& key);
// What the two buttons beside the history do, each after its question: item 0 removes the
// current folder from the list, item 1 empties the list but for the current folder and
// deletes the 20 history keys (`key` names key i of `section`) at once, quietly.
// `updateFolderList` is the window's UpdateFolderList.
void FolderListButtonClick(int index, platform::ComboBox& list, const std::string& section,
                           const std::function<std::string(int)>& key,
                           const std::function<void(const std::string&, bool)>& updateFolderList);

// Searches `folder` into the picture list under the hourglass; while it runs, the list
// (when given) shows a notice at the top. `morePicTypes`: the "More Pic Types" option, which
// decides the patterns. True when pictures were found.
bool SearchPicFolder(platform::ComboBox* list, const std::string& folder, bool subfolders, bool morePicTypes);

// Browses until the user takes a folder with pictures, takes an empty one after the
// question, or cancels; `search` searches a folder into the picture list. A folder taken
// becomes `picsFolder`; after a refusal and a cancel, `picsFolder` is searched again (the
// refused folder's search replaced the list). True when either happened: the window then
// shows the folder again. The prompt and the question name the types `morePicTypes` searches for.
bool BrowseForPicFolder(HWND owner, std::string& picsFolder, bool morePicTypes,
                        const std::function<bool(const std::string&)>& search);

}  // namespace common
