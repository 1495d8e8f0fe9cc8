// Direct access to any registry value, as text.
#pragma once
#include <windows.h>
#include <string>

namespace common {

inline constexpr const char* kRegReadError = "An error occurred attempting to read a setting from the Windows Registry.";
inline constexpr const char* kRegSaveError = "An error occurred attempting to save a setting to the Windows Registry.";

// The value's data as text; `defaultValue` when the key or value cannot be read.
std::string GetRegValue(HKEY root, const std::string& subKey, const std::string& valueName,
                        const std::string& defaultValue, bool silent);

// Stores `value` as REG_SZ, creating every missing key on the way.
bool SaveRegValue(HKEY root, const std::string& subKey, const std::string& valueName, const std::string& value,
                  bool silent);

}  // namespace common
