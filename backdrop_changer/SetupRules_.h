// Small rules of the setup window that need no Windows API. Portable: no Windows headers.
#pragma once
#include <string>
#include <vector>

#include "common/FolderHistory_.h"

namespace backdrop_changer {

// Control Panel's "Background" text, "red green blue". False when it has fewer than two
// blanks; a piece that is not a number counts as 0.
bool ParseColorText(const std::string& text, int& red, int& green, int& blue);

using common::FolderFrameCaption;
using common::FolderHistorySlot;
using common::kFolderFrameCaption;
using common::kFolderListMax;

}  // namespace backdrop_changer
