#include "desk_commander/SettingsIni_.h"

#include <windows.h>

namespace desk_commander {

namespace {
constexpr DWORD kIniBufferLength = 512;
}

std::string ReadIniSetting(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue, bool /*quiet*/) {
    char buffer[kIniBufferLength] = {};
    const DWORD count = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                                 kIniBufferLength, file.c_str());
    return std::string(buffer, count);
}

}  // namespace desk_commander
