#include "image_gallery/basPublic.h"

#include "common/SettingsApp_.h"
#include "platform/App.h"

namespace image_gallery {

std::vector<std::string> PicFiles{""};
bool FolderMode = true;
const std::string PicsFolder;
std::unique_ptr<picture_browser::frmWallpaper> Browser;

void InitIdentity() { platform::SetAppVersion(SORVITA_VERSION_MAJOR, SORVITA_VERSION_MINOR, SORVITA_VERSION_REVISION, "Copyright (C) 2026 Sorvita. Free to use and share."); }

void Main() {
    InitIdentity();
    // 1. where the program lives, refreshed even by a start that ends at once
    common::RegisterAppPath();
    // 2. one copy at a time, silently
    if (platform::App().PrevInstance()) return;
    // 3. no host list: folder mode
    PicFiles.assign(1, "");
    FolderMode = true;
    // 4. the browser, on its own
    Browser = std::make_unique<picture_browser::frmWallpaper>(PicFiles, FolderMode, PicsFolder);
    Browser->Show();
}

}  // namespace image_gallery
