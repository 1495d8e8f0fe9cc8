// Read access to the old-style initialization files ("system.ini").
#pragma once
#include <string>

namespace desk_commander {

// The key's text in the section of the file; `defaultValue` when it is not there. A file
// name without a folder is looked up in the Windows folder. Reading cannot fail in a way
// worth a message, so `quiet` only keeps the shape of the suite's other readers.
std::string ReadIniSetting(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue, bool quiet);

}  // namespace desk_commander
