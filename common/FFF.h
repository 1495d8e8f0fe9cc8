// The hidden window of the picture search: the search engine behind FindFiles.
#pragma once
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/FolderWalk_.h"
#include "platform/Form.h"

namespace common {

// One entry of a folder's listing, as the system gives it.
struct FolderEntry {
    std::wstring name;
    std::wstring shortName;  // empty where the name is its own short form
    unsigned long attributes = 0;
    // What the listing says the entry is: for a junction or directory link, Windows gives the
    // link's own file, not the folder it leads to (Wine gives the folder's).
    unsigned long long fileId = 0;
    long long created = 0;
};

namespace seams {
// Every entry of the folder (a full path ending in a backslash) in the system's order;
// `buffer` is for the listing's own use, kept from one folder to the next. Tests give links
// the identity Windows gives them, which Wine does not.
extern std::function<std::vector<FolderEntry>(const std::wstring& folder, std::vector<unsigned long long>& buffer)>
    ReadFolder;
}  // namespace seams

class FFF : public platform::Form {
public:
    // The search reads each folder once itself, and produces what this list box's directory
    // listing would hold for every pattern: the list box still decides how names are ordered
    // (its locale) and which entries are left out (see ListBoxKeeps).
    platform::ListBox List;

    // Fills PicFiles (unless CheckOnly) as FindFiles describes and returns its upper bound,
    // or with CheckOnly -1 when a file matches and 0 when none does.
    long GFF_Proc(std::string Path, const std::string& FileSpec, bool SubsToo, bool CheckOnly);
    // Fills PicFolders with `Path` and every folder below it; the outermost call returns
    // the upper bound of PicFolders, a call made while another runs returns 0.
    long GSF_Proc(std::string Path);

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;

private:
    using Entry = FolderEntry;
    // What one search looks for in every folder; null when only folders are walked.
    struct FileSearch {
        std::vector<std::wstring> patterns;       // as given
        std::vector<std::wstring> upperPatterns;  // for MatchesMask; empty for the system's patterns
        bool checkOnly = false;
        bool onceEach = false;  // the longer picture list, whose patterns overlap
        bool matched = false;
        std::vector<std::vector<std::string>> found;  // full paths, by folder index
    };

    // How a folder is reached: the short form the list box was given (empty where the list box
    // could not be given one, and the folder is not listed), and the full path as the system
    // names it, which opens without looking up short names level by level.
    struct FolderPaths {
        std::string shortPath;
        std::wstring path;
    };

    static FolderPaths StartPaths(const std::string& Path);
    long WalkFrom(const std::string& Path, FileSearch* files);
    // Reads the folder once and adds its matching files to `files`; returns its subfolders
    // when `wantFolders`.
    std::vector<Subfolder<FolderPaths>> ListFolder(const std::string& longPath, size_t index, const FolderPaths& via,
                                                   FileSearch* files, bool wantFolders);
    void AddFiles(const std::wstring& shortPath, const std::string& longPath, const std::vector<Entry>& entries,
                  size_t index, FileSearch& files);
    // Whether the list box's own listing in `mode` (its LB_DIR attributes) shows entries with
    // these attributes. Windows' and Wine's list boxes leave out different ones, so it is
    // learnt from the list box the first time each kind of entry turns up in a search.
    bool ListBoxKeeps(unsigned mode, const std::wstring& shortPath, const std::vector<Entry>& entries,
                      const Entry& entry);
    // Entries as `mode` would list them, in the list box's order.
    std::vector<const Entry*> InListBoxOrder(std::vector<const Entry*> entries, bool folders);

    long depth_ = 0;
    unsigned long locale_ = 0;
    std::unordered_map<unsigned long long, bool> keeps_;
    std::vector<unsigned long long> buffer_;  // one folder's listing at a time
};

// Every entry of `folder` (a full path, with or without its backslash) in the system's order,
// read a block at a time into `buffer`: one system call per block instead of one per name,
// which lists a folder of 100,000 names in a fraction of the time. False when the folder
// cannot be opened.
bool ForEachFolderEntry(const std::wstring& folder, std::vector<unsigned long long>& buffer,
                        const std::function<void(const FILE_ID_BOTH_DIR_INFO&)>& visit);

// What a folder path leads to, whichever links it passed: its file index and creation time as
// text; empty when the folder cannot be opened. Two paths to one folder give the same text.
std::string FolderIdentity(const std::string& folder);

}  // namespace common
