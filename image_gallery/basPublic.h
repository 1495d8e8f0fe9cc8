// Image Gallery's start-up module and program-wide state: the picture browser run as a
// program of its own.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "picture_browser/frmWallpaper.h"

namespace image_gallery {

// What the browser window reads from its program: no picture list of its own (element 0
// only), folder mode, and no picture folder.
extern std::vector<std::string> PicFiles;
extern bool FolderMode;
extern const std::string PicsFolder;

// The program's only window; empty before start-up and after it has unloaded.
extern std::unique_ptr<picture_browser::frmWallpaper> Browser;

// Sets the program's identity (version, legal notice).
void InitIdentity();

// The start-up routine: registers the program, ends a second copy at once, shows the
// browser. The program then runs on the window's events.
void Main();

}  // namespace image_gallery
