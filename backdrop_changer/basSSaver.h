// Backdrop Changer's start-up module and program-wide state.
#pragma once
#include <string>
#include <vector>

#include "backdrop_changer/SettingsRecord.h"

namespace backdrop_changer {

inline constexpr const char* kSettingsSection = "Settings";

// The program's settings record, read once at start-up.
extern SettingsRecord Settings;

void LoadSettings();
void SaveSettings();
// Writes the 20 folder history keys from the folder list's entries (blank past its end).
void SaveFolderHistory(const std::vector<std::string>& folderList);

// Sets the program's identity (title, version, legal notice).
void InitIdentity();

// The start-up routine; returns the process exit code.
int Main();

}  // namespace backdrop_changer
