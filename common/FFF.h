// The hidden window whose list box lists folders: the search engine behind FindFiles.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Form.h"

namespace common {

class FFF : public platform::Form {
public:
    platform::ListBox List;

    // Fills PicFiles (unless CheckOnly) as FindFiles describes and returns its upper bound,
    // or with CheckOnly -1 at the first match and 0 when nothing matches.
    long GFF_Proc(std::string Path, const std::string& FileSpec, bool SubsToo, bool CheckOnly);
    // Fills PicFolders with `Path` and every folder below it; the outermost call returns
    // the upper bound of PicFolders, a call made while another runs returns 0.
    long GSF_Proc(std::string Path);

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;

private:
    // The names List holds after listing `pathPattern` with the LB_DIR attributes.
    std::vector<std::string> ListNames(const std::string& pathPattern, unsigned attributes);
    std::vector<std::string> Subfolders(const std::string& folder);
    // The 8.3 form of a folder path (with its backslash), which the listing takes whatever the
    // length of the long names; empty when the system cannot give it. Asked once per folder
    // and search: the subfolder walk and the file listing both need it.
    std::string ShortPath(const std::string& longPath);

    long depth_ = 0;
    std::unordered_map<std::string, std::string> shortPaths_;
};

}  // namespace common
