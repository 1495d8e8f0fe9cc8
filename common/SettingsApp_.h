// The calling program's own settings area under HKEY_CURRENT_USER, and the records
// that tell other programs where the program lives.
#pragma once
#include <string>

namespace common {

inline constexpr const char* kAppSaveError = "An error occurred attempting to save a setting to the Windows Registry:";
inline constexpr const char* kAppReadError = "An error occurred attempting to read a setting from the Windows Registry:";
inline constexpr const char* kAppDeleteError =
    "An error occurred attempting to delete a setting from the Windows Registry:";

// "Software\VB and VBA Program Settings\" + title + "\" + section.
std::string AppSettingsKey(const std::string& section);

bool SaveAppSetting(const std::string& section, const std::string& key, const std::string& value, bool silent);
std::string GetAppSetting(const std::string& section, const std::string& key, const std::string& defaultValue,
                          bool silent);
bool DeleteAppSetting(const std::string& section, const std::string& key, bool silent);

// Records the executable's full path for the program's title; silent, done at every start.
void RegisterAppPath();

}  // namespace common
