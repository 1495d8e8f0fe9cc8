// Slide Saver's start-up module: the command line of the screen saver protocol, the
// program's settings record and flags, the check for a copy already open, and the
// opening of the slide show.
#pragma once
#include <memory>
#include <string>

#include "slide_saver/SaverRules_.h"

namespace slide_saver {

class frmSSaver;

// The program's settings record: read at start-up, changed by the setup dialog and by
// the slide show's keys.
extern SaverSettingsRecord SaverSettings;

// Program flags, all false at start.
extern bool IsWin9x;                      // the Windows 95/98 family: its password services
extern bool InPreviewPane;                // the show lives in the Display Properties preview
extern bool ShownFromSetup;               // the show was opened by the setup dialog's Preview
extern bool OpenedFromDisplayProperties;  // the switch was "/c"

inline constexpr const char* kBadPreviewHandle1 = "Screen saver could not determine the ";
inline constexpr const char* kBadPreviewHandle2 = "handle of the preview area of the Display ";
inline constexpr const char* kBadPreviewHandle3 = "Properties dialog.";
inline constexpr const char* kSetupCaptionEnd = " Setup";

// Instance kinds for EndIfAlreadyRunning.
inline constexpr int kSaverWindow = 1;
inline constexpr int kSetupDialog = 2;

void LoadSaverSettings();
void SaveSaverToggles(bool quiet);
// True when a window of that kind is open in another copy of the program: this one
// then ends at once, silently.
bool EndIfAlreadyRunning(int kind);
// Opens the slide show full screen; with `modal`, returns when it has closed.
void ShowSaver(bool modal);

// The slide-show window while it is loaded (and after, until the next show).
extern std::unique_ptr<frmSSaver> SaverWindow;

// Sets the program's identity (title, version, legal notice).
void InitIdentity();

// The start-up routine, given the command line behind the program's path; returns the
// process exit code.
int Main(const std::string& commandLine);

}  // namespace slide_saver
