// The picture search as it was before it read each folder once: one list box listing per
// folder and pattern, and one more per folder for its subfolders. Kept as the reference the
// search must agree with, and as the "before" figure of the picture benchmark.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Form.h"

namespace testing_support {

class ListBoxFinder : public platform::Form {
public:
    platform::ListBox List;

    // As FFF's: fill PicFiles and PicFolders.
    long GFF_Proc(std::string Path, const std::string& FileSpec, bool SubsToo, bool CheckOnly);
    long GSF_Proc(std::string Path);

    // A search on a fresh window, as FindFiles makes one.
    static long FindFiles(const std::string& Path, const std::string& FileSpec, bool SubsToo, bool CheckOnly);

protected:
    platform::FormStyle Style() const override;
    void Form_Load() override;

private:
    std::vector<std::string> ListNames(const std::string& pathPattern, unsigned attributes);
    std::vector<std::string> Subfolders(const std::string& folder);
    std::string ShortPath(const std::string& longPath);

    long depth_ = 0;
    std::unordered_map<std::string, std::string> shortPaths_;
};

}  // namespace testing_support
