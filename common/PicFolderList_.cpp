#include "common/PicFolderList_.h"

#include "common/BrowseForFolder_.h"
#include "common/FileFolderFunctions_.h"
#include "common/FolderHistory_.h"
#include "common/FolderWalk_.h"
#include "common/SettingsApp_.h"
#include "platform/App.h"
#include "platform/Form.h"
#include "platform/Format.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"

namespace common {

namespace {

constexpr const char* kFolderPrompt1 = "Select a folder containing ";
constexpr const char* kFolderPrompt2 = "pic files ";
constexpr const char* kEmptyFolder1 = "The '";
constexpr const char* kEmptyFolder2 = "' folder selected does not ";
constexpr const char* kEmptyFolder3 = "contain any pic files ";
constexpr const char* kEmptyFolder4 = ".  ";
constexpr const char* kEmptyFolder5 = "Do you want to select this folder anyway?";

}  // namespace

std::vector<std::string> FolderListEntries(const platform::ComboBox& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.ListCount(); ++i) entries.push_back(list.List(i));
    return entries;
}

void UpdateFolderHistory(platform::ComboBox& list, const std::string& folder, bool add,
                         const std::function<void()>& click) {
    if (platform::Trim(folder).empty()) return;
    const int slot = FolderHistorySlot(FolderListEntries(list), folder);
    if (slot < list.ListCount()) list.RemoveItem(slot);
    if (add) list.AddItem(folder, 0);
    if (list.ListCount() > 0)
        list.SetListIndex(0);
    else if (click)
        click();
}

void LoadFolderHistory(platform::ComboBox& list, const std::string& section,
                       const std::function<std::string(int)>& key) {
    for (int i = 0; i < kFolderListMax; ++i) {
        const std::string folder = platform::Trim(GetAppSetting(section, key(i), "", true));
        if (!folder.empty()) list.AddItem(folder);
    }
    if (list.ListCount() > 0) list.SetListIndex(0);
}

void FolderListButtonClick(int index, platform::ComboBox& list, const std::string& section,
                           const std::function<std::string(int)>& key,
                           const std::function<void(const std::string&, bool)>& updateFolderList) {
    const int selected = list.ListIndex();
    const std::string current = selected < 0 ? std::string() : list.List(selected);
    if (index == 0) {
        if (platform::MsgBox(kRemoveFolderQuestion, platform::kMsgQuestion) == IDYES) updateFolderList(current, false);
        return;
    }
    if (platform::MsgBox(kClearListQuestion, platform::kMsgQuestion | MB_DEFBUTTON2) != IDYES) return;
    list.Clear();
    updateFolderList(current, true);
    for (int i = 0; i < kFolderListMax; ++i) DeleteAppSetting(section, key(i), true);
}

bool SearchPicFolder(platform::ComboBox* list, const std::string& folder, bool subfolders, bool morePicTypes) {
    const bool showChecking = list && list->hWnd() && !folder.empty();
    int selected = -1;
    if (showChecking) {
        selected = list->ListIndex();
        list->AddItem(kCheckingFolders, 0);
        list->SetListIndex(0);
        RedrawWindow(list->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    platform::SetBusyPointer(true);
    const bool found = FindFiles(folder, PicFileSpec(morePicTypes), subfolders, false) > 0;
    platform::SetBusyPointer(false);
    if (showChecking) {
        list->RemoveItem(0);
        list->SetListIndex(selected);
    }
    return found;
}

bool BrowseForPicFolder(HWND owner, std::string& picsFolder, bool morePicTypes,
                        const std::function<bool(const std::string&)>& search) {
    const std::string types = PicFileTypes(morePicTypes);
    const std::string prompt = std::string(kFolderPrompt1) + kFolderPrompt2 + types + ":";
    bool refused = false;
    for (;;) {
        const std::string folder = BrowseForFolder(owner, prompt, picsFolder);
        if (folder.empty()) break;
        RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        platform::DoEvents();
        if (search(folder)) {
            picsFolder = folder;
            return true;
        }
        const std::string question = kEmptyFolder1 + folder + kEmptyFolder2 + kEmptyFolder3 + types + kEmptyFolder4 +
                                     kEmptyFolder5;
        if (platform::MsgBox(question, platform::kMsgQuestion | MB_DEFBUTTON2) == IDYES) {
            picsFolder = folder;
            return true;
        }
        refused = true;
    }
    if (refused) search(picsFolder);
    return refused;
}

}  // namespace common
