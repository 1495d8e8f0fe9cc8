#include "common/SettingsReg_.h"

#include "common/SettingsText_.h"
#include "platform/Handles.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"
#include "platform/Text.h"

namespace common {

std::string GetRegValue(HKEY root, const std::string& subKey, const std::string& valueName,
                        const std::string& defaultValue, bool silent) {
    // Query access only: reading must work for a user who may not write the key.
    platform::RegKey key;
    bool read = false;
    DWORD type = 0;
    // Room for 511 characters of text and its terminator, however many bytes our UTF-8 gives
    // a character (three at most for each UTF-16 unit); other data keeps the 512 bytes.
    constexpr DWORD kLimit = 512;
    BYTE data[kLimit * 3];
    DWORD length = sizeof data;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS) {
        read = RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, data, &length) == ERROR_SUCCESS;
        key.reset();
    }
    if (read) {
        const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
        read = text ? platform::Wide(std::string_view(reinterpret_cast<const char*>(data), length)).size() <= kLimit
                    : length <= kLimit;
    }
    if (!read) {
        if (!silent) platform::MsgBox(kRegReadError, platform::kMsgWarning);
        return defaultValue;
    }
    if (length <= 1) return "";
    if (type == REG_DWORD && length == 4) {
        unsigned long number = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<unsigned long>(data[3]) << 24);
        return DwordText(number);
    }
    return std::string(reinterpret_cast<const char*>(data), length - 1);
}

bool SaveRegValue(HKEY root, const std::string& subKey, const std::string& valueName, const std::string& value,
                  bool silent) {
    HKEY raw = nullptr;
    LONG result = platform::seams::RegCreateKeyExA(root, subKey.c_str(), 0, const_cast<char*>(""),
                                                   REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &raw, nullptr);
    platform::RegKey key(raw);
    if (result == ERROR_SUCCESS)
        result = platform::seams::RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ,
                                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                                 static_cast<DWORD>(value.size() + 1));
    if (result == ERROR_SUCCESS) return true;
    if (!silent) platform::MsgBox(kRegSaveError, platform::kMsgWarning);
    return false;
}

}  // namespace common
