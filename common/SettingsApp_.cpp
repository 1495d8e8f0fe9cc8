#include "common/SettingsApp_.h"

#include <windows.h>

#include "common/SettingsReg_.h"
#include "platform/App.h"
#include "platform/Handles.h"
#include "platform/MsgBox.h"
#include "platform/Seams.h"

namespace common {

namespace {

void Report(const char* firstLine, LONG error) {
    platform::MsgBox(std::string(firstLine) + platform::vbCrLf + platform::vbCrLf +
                         platform::ErrorDescription(static_cast<unsigned long>(error)),
                     platform::kMsgWarning);
}

}  // namespace

std::string AppSettingsKey(const std::string& section) {
    return "Software\\VB and VBA Program Settings\\" + platform::App().Title + "\\" + section;
}

bool SaveAppSetting(const std::string& section, const std::string& key, const std::string& value, bool silent) {
    HKEY raw = nullptr;
    LONG result = platform::seams::RegCreateKeyExA(HKEY_CURRENT_USER, AppSettingsKey(section).c_str(), 0, nullptr,
                                                   REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &raw, nullptr);
    platform::RegKey handle(raw);
    if (result == ERROR_SUCCESS)
        result = platform::seams::RegSetValueExA(handle.get(), key.c_str(), 0, REG_SZ,
                                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                                 static_cast<DWORD>(value.size() + 1));
    if (result == ERROR_SUCCESS) return true;
    if (!silent) Report(kAppSaveError, result);
    return false;
}

std::string GetAppSetting(const std::string& section, const std::string& key, const std::string& defaultValue,
                          bool silent) {
    platform::RegKey handle;
    LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, AppSettingsKey(section).c_str(), 0, KEY_QUERY_VALUE, handle.put());
    if (result == ERROR_FILE_NOT_FOUND) return defaultValue;  // never written: not an error
    DWORD type = 0, size = 0;
    if (result == ERROR_SUCCESS) result = RegQueryValueExA(handle.get(), key.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND) return defaultValue;
    if (result == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ) result = ERROR_INVALID_DATA;
    std::string text(size, '\0');
    if (result == ERROR_SUCCESS && size)
        result = RegQueryValueExA(handle.get(), key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    if (result != ERROR_SUCCESS) {
        if (!silent) Report(kAppReadError, result);
        return defaultValue;
    }
    text.resize(size);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

bool DeleteAppSetting(const std::string& section, const std::string& key, bool silent) {
    platform::RegKey handle;
    LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, AppSettingsKey(section).c_str(), 0, KEY_SET_VALUE, handle.put());
    if (result == ERROR_SUCCESS) result = RegDeleteValueA(handle.get(), key.c_str());
    if (result == ERROR_SUCCESS) return true;
    if (!silent) Report(kAppDeleteError, result);
    return false;
}

void RegisterAppPath() {
    const platform::Application& app = platform::App();
    std::string folder = app.Path;
    if (folder.empty() || folder.back() != '\\') folder += "\\";
    std::string full = folder + app.EXEName + app.Extension;
    SaveAppSetting("Settings", "App Path", full, true);
    std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + app.Title + app.Extension;
    SaveRegValue(HKEY_LOCAL_MACHINE, key, "", full, true);
    SaveRegValue(HKEY_LOCAL_MACHINE, key, "Path", folder, true);
}

}  // namespace common
